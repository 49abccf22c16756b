#include "tests/fakes/TempFolder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

#include "Lib/uStrUtils.h"

TempFolder::TempFolder() {
  auto base = std::filesystem::temp_directory_path() / "murmelo-test-XXXXXX";
  std::string name = base.string();
  if (mkdtemp(name.data()) == nullptr)
    throw std::runtime_error("cannot create a temporary folder");
  path_ = name;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Restore write permission first so a test's read-only folder can go.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::u16string TempFolder::File(const std::string &name) const {
  return FromPath(path_ / name);
}

std::u16string TempFolder::Write(const std::string &name, const std::string &bytes) const {
  std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
  out << bytes;
  return File(name);
}

std::string TempFolder::Read(const std::string &name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
