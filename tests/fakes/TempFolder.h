#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;

  const std::filesystem::path &Path() const { return path_; }
  // The UTF-16 path of a file in the folder.
  std::u16string File(const std::string &name) const;
  // Writes bytes to a file in the folder and returns its UTF-16 path.
  std::u16string Write(const std::string &name, const std::string &bytes) const;
  std::string Read(const std::string &name) const;

private:
  std::filesystem::path path_;
};
