#include "tests/fakes/FakeLocale.h"

std::string FakeLocale::ToAnsi(std::u16string_view text) const {
  std::string out;
  for (const char16_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::u16string FakeLocale::FromAnsi(std::string_view bytes) const {
  std::u16string out;
  for (const char c : bytes)
    out += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\uFFFD';
  return out;
}
