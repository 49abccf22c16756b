#include "Lib/uVTUtils.Base.h"

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'A' && c <= u'F')
    return c - u'A' + 10;
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  return -1;
}

} // namespace

std::u16string BytesToHex(const std::uint8_t *bytes, size_t count) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out;
  out.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

bool HexToBytes(const std::u16string &text, std::vector<std::uint8_t> &sink) {
  for (size_t i = 0; i < text.size(); i += 2) {
    int value = 0;
    for (size_t j = i; j < i + 2 && j < text.size(); ++j) {
      const int digit = HexDigit(text[j]);
      if (digit < 0)
        return false;
      value = value * 16 + digit;
    }
    sink.push_back(static_cast<std::uint8_t>(value));
  }
  return true;
}
