#pragma once

#include <optional>
#include <string>

#include "platform/Locale.h"

namespace platform::linux_impl {

// The user's locale mapped to the Windows locale identifier and ANSI code page
// the program's files and peers expect; code-page conversion through iconv.
class TLinuxLocale final : public ILocale {
public:
  // The locale of the environment as the C library resolves it (LC_ALL, then
  // LC_MESSAGES, then LANG).
  TLinuxLocale();
  // A given locale name such as "ja_JP.UTF-8", "de_DE@euro" or "C".
  explicit TLinuxLocale(const std::string &localeName);

  std::uint32_t UserLcid() const override { return lcid_; }
  std::uint32_t AnsiCodePage() const override { return codePage_; }
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view bytes) const override;

private:
  std::uint32_t lcid_ = 0x0409;
  std::uint32_t codePage_ = 1252;
};

// The Windows locale identifier and ANSI code page of a POSIX locale name;
// nullopt for a name the table does not know.
struct TWindowsLocale {
  std::uint32_t Lcid;
  std::uint32_t CodePage;
};
std::optional<TWindowsLocale> WindowsLocaleOf(const std::string &localeName);

// The user's locale name as the C library resolves it: LC_ALL, then
// LC_MESSAGES, then LANG; "C" when none is set.
std::string EnvironmentLocale();

} // namespace platform::linux_impl
