#pragma once

#include "platform/Locale.h"

// A locale chosen by the test. The code page is simulated: ASCII passes both
// ways, every other character becomes "?" (encoding) or U+FFFD (decoding).
class FakeLocale final : public platform::ILocale {
public:
  explicit FakeLocale(std::uint32_t lcid = 0x0409, std::uint32_t codePage = 1252)
      : Lcid(lcid), CodePage(codePage) {}

  std::uint32_t UserLcid() const override { return Lcid; }
  std::uint32_t AnsiCodePage() const override { return CodePage; }
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view bytes) const override;

  std::uint32_t Lcid;
  std::uint32_t CodePage;
};
