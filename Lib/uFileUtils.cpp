#include "Lib/uFileUtils.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "Lib/uStrUtils.h"

namespace {

[[noreturn]] void Fail(const std::string &what, const std::u16string &path, int err) {
  throw std::runtime_error(what + " \"" + Utf16ToUtf8(path) + "\": " + std::strerror(err));
}

} // namespace

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
  }
  return out;
}

std::string ReadFileBytes(const std::u16string &path) {
  std::ifstream in(ToPath(path), std::ios::binary);
  if (!in)
    Fail("Cannot open file", path, errno);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    Fail("Cannot read file", path, errno);
  return bytes;
}

std::u16string DecodeText(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
    return Utf8ToUtf16(bytes.substr(3));
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE")
    return DecodeUtf16(bytes.substr(2), false);
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF")
    return DecodeUtf16(bytes.substr(2), true);
  return Utf8ToUtf16(bytes);
}

void WriteFileAtomic(const std::u16string &path, std::string_view bytes) {
  auto target = ToPath(path);
  std::error_code ec;
  // A user who links Setup.ini elsewhere keeps the link: the file it points
  // to is the one replaced.
  if (std::filesystem::is_symlink(target, ec))
    if (auto real = std::filesystem::canonical(target, ec); !ec)
      target = real;
  if (target.has_parent_path())
    std::filesystem::create_directories(target.parent_path(), ec);
  auto temp = target;
  temp += ".tmp-XXXXXX";
  std::string name = temp.string();
  const int fd = mkstemp(name.data());
  if (fd < 0)
    Fail("Cannot write file", path, errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      const int err = errno;
      close(fd);
      unlink(name.c_str());
      Fail("Cannot write file", path, err);
    }
    done += static_cast<size_t>(n);
  }
  // Keep the permissions of the file we replace; a new file gets 0644.
  struct stat st {};
  fchmod(fd, stat(target.c_str(), &st) == 0 ? st.st_mode & 07777 : 0644);
  const int syncError = fsync(fd) == 0 ? 0 : errno;
  const int closeError = close(fd) == 0 ? 0 : errno;
  if (syncError != 0 || closeError != 0) {
    unlink(name.c_str());
    Fail("Cannot write file", path, syncError != 0 ? syncError : closeError);
  }
  if (rename(name.c_str(), target.c_str()) != 0) {
    const int err = errno;
    unlink(name.c_str());
    Fail("Cannot write file", path, err);
  }
}

std::vector<std::u16string> ReadTextLines(const std::u16string &path) {
  return SplitLines(DecodeText(ReadFileBytes(path)));
}

void WriteUtf8BomLines(const std::u16string &path, const std::vector<std::u16string> &lines) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const auto &line : lines) {
    bytes += Utf16ToUtf8(line);
    bytes += "\r\n";
  }
  WriteFileAtomic(path, bytes);
}

bool FileExists(const std::u16string &path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(ToPath(path), ec);
}
