#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The user's locale as a Windows system would see it, and the ANSI code page
// that goes with it. Chat logs written in the "ANSI" encoding and the text
// sent to the Bouyomi-chan reader use that code page.
class ILocale {
public:
  virtual ~ILocale() = default;

  // Windows locale identifier of the user's locale: 0x0411 for ja_JP,
  // 0x0409 for en_US and for the C/POSIX locale, each other locale its own.
  virtual std::uint32_t UserLcid() const = 0;

  // The ANSI code page of that locale: 932 Japanese, 1252 Western European...
  virtual std::uint32_t AnsiCodePage() const = 0;

  // Encodes in the ANSI code page; a character the code page lacks becomes
  // the code page's default character ("?"). Never throws for any input.
  virtual std::string ToAnsi(std::u16string_view text) const = 0;

  // Decodes bytes of the ANSI code page; invalid bytes become U+FFFD.
  virtual std::u16string FromAnsi(std::string_view bytes) const = 0;
};

} // namespace platform
