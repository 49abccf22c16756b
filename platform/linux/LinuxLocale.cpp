#include "platform/linux/LinuxLocale.h"

#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <string_view>

namespace platform::linux_impl {

namespace {

struct TLocaleEntry {
  std::string_view Name; // language_TERRITORY; the first entry of a language is its default
  std::uint32_t Lcid;
  std::uint32_t CodePage;
};

// clang-format off
constexpr TLocaleEntry kLocales[] = {
  {"ja_JP", 0x0411, 932},
  {"en_US", 0x0409, 1252}, {"en_GB", 0x0809, 1252}, {"en_AU", 0x0C09, 1252},
  {"en_CA", 0x1009, 1252}, {"en_NZ", 0x1409, 1252}, {"en_IE", 0x1809, 1252},
  {"en_ZA", 0x1C09, 1252}, {"en_IN", 0x4009, 1252}, {"en_SG", 0x4809, 1252},
  {"en_PH", 0x3409, 1252},
  {"de_DE", 0x0407, 1252}, {"de_CH", 0x0807, 1252}, {"de_AT", 0x0C07, 1252},
  {"de_LU", 0x1007, 1252}, {"de_LI", 0x1407, 1252},
  {"fr_FR", 0x040C, 1252}, {"fr_BE", 0x080C, 1252}, {"fr_CA", 0x0C0C, 1252},
  {"fr_CH", 0x100C, 1252}, {"fr_LU", 0x140C, 1252},
  {"es_ES", 0x0C0A, 1252}, {"es_MX", 0x080A, 1252}, {"es_AR", 0x2C0A, 1252},
  {"es_CL", 0x340A, 1252}, {"es_CO", 0x240A, 1252}, {"es_PE", 0x280A, 1252},
  {"es_VE", 0x200A, 1252}, {"es_US", 0x540A, 1252},
  {"it_IT", 0x0410, 1252}, {"it_CH", 0x0810, 1252},
  {"pt_BR", 0x0416, 1252}, {"pt_PT", 0x0816, 1252},
  {"nl_NL", 0x0413, 1252}, {"nl_BE", 0x0813, 1252},
  {"sv_SE", 0x041D, 1252}, {"sv_FI", 0x081D, 1252},
  {"da_DK", 0x0406, 1252}, {"nb_NO", 0x0414, 1252}, {"nn_NO", 0x0814, 1252},
  {"no_NO", 0x0414, 1252}, {"fi_FI", 0x040B, 1252}, {"is_IS", 0x040F, 1252},
  {"ca_ES", 0x0403, 1252}, {"eu_ES", 0x042D, 1252}, {"gl_ES", 0x0456, 1252},
  {"ga_IE", 0x083C, 1252}, {"af_ZA", 0x0436, 1252}, {"id_ID", 0x0421, 1252},
  {"ms_MY", 0x043E, 1252}, {"sw_KE", 0x0441, 1252},
  {"zh_CN", 0x0804, 936},  {"zh_SG", 0x1004, 936},  {"zh_TW", 0x0404, 950},
  {"zh_HK", 0x0C04, 950},  {"zh_MO", 0x1404, 950},
  {"ko_KR", 0x0412, 949},
  {"pl_PL", 0x0415, 1250}, {"cs_CZ", 0x0405, 1250}, {"sk_SK", 0x041B, 1250},
  {"hu_HU", 0x040E, 1250}, {"sl_SI", 0x0424, 1250}, {"hr_HR", 0x041A, 1250},
  {"ro_RO", 0x0418, 1250}, {"sq_AL", 0x041C, 1250}, {"bs_BA", 0x141A, 1250},
  {"ru_RU", 0x0419, 1251}, {"uk_UA", 0x0422, 1251}, {"be_BY", 0x0423, 1251},
  {"bg_BG", 0x0402, 1251}, {"mk_MK", 0x042F, 1251}, {"sr_RS", 0x281A, 1251},
  {"kk_KZ", 0x043F, 1251},
  {"el_GR", 0x0408, 1253},
  {"tr_TR", 0x041F, 1254}, {"az_AZ", 0x042C, 1254},
  {"he_IL", 0x040D, 1255},
  {"ar_SA", 0x0401, 1256}, {"ar_EG", 0x0C01, 1256}, {"fa_IR", 0x0429, 1256},
  {"et_EE", 0x0425, 1257}, {"lv_LV", 0x0426, 1257}, {"lt_LT", 0x0427, 1257},
  {"th_TH", 0x041E, 874},
  {"vi_VN", 0x042A, 1258},
};
// clang-format on

constexpr TWindowsLocale kEnglishUs{0x0409, 1252};

// A conversion descriptor closed with its scope.
class TIconv {
public:
  TIconv(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
  ~TIconv() {
    if (ok())
      iconv_close(cd_);
  }
  TIconv(const TIconv &) = delete;
  TIconv &operator=(const TIconv &) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns the errno that stopped it, 0 when
  // all input was taken.
  int Convert(const char *&in, size_t &inLeft, std::string &out) {
    char buffer[256];
    while (true) {
      char *inPtr = const_cast<char *>(in);
      char *outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t rc = iconv(cd_, inLeft > 0 ? &inPtr : nullptr, &inLeft, &outPtr, &outLeft);
      const int err = rc == static_cast<size_t>(-1) ? errno : 0;
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      in = inPtr;
      if (err != E2BIG)
        return err;
    }
  }

private:
  iconv_t cd_;
};

std::string CodePageName(std::uint32_t codePage) { return "CP" + std::to_string(codePage); }

void AppendUtf16Le(std::string &out, char16_t c) {
  out += static_cast<char>(c & 0xFF);
  out += static_cast<char>(c >> 8);
}

} // namespace

std::optional<TWindowsLocale> WindowsLocaleOf(const std::string &localeName) {
  // language[_territory][.codeset][@modifier]
  std::string_view name(localeName);
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX")
    return kEnglishUs;
  const std::string_view language = name.substr(0, name.find('_'));
  const TLocaleEntry *firstOfLanguage = nullptr;
  for (const auto &entry : kLocales) {
    if (entry.Name == name)
      return TWindowsLocale{entry.Lcid, entry.CodePage};
    if (firstOfLanguage == nullptr && entry.Name.substr(0, entry.Name.find('_')) == language)
      firstOfLanguage = &entry;
  }
  if (firstOfLanguage != nullptr)
    return TWindowsLocale{firstOfLanguage->Lcid, firstOfLanguage->CodePage};
  return std::nullopt;
}

std::string EnvironmentLocale() {
  for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char *value = std::getenv(name);
    if (value != nullptr && *value != '\0')
      return value;
  }
  return "C";
}

TLinuxLocale::TLinuxLocale() : TLinuxLocale(EnvironmentLocale()) {}

TLinuxLocale::TLinuxLocale(const std::string &localeName) {
  const auto windows = WindowsLocaleOf(localeName).value_or(kEnglishUs);
  lcid_ = windows.Lcid;
  codePage_ = windows.CodePage;
}

std::string TLinuxLocale::ToAnsi(std::u16string_view text) const {
  std::string input;
  input.reserve(text.size() * 2);
  for (const char16_t c : text)
    AppendUtf16Le(input, c);
  TIconv conv(CodePageName(codePage_).c_str(), "UTF-16LE");
  std::string out;
  const char *in = input.data();
  size_t left = input.size();
  while (left > 0) {
    if (conv.ok() && conv.Convert(in, left, out) == 0)
      break;
    // A character the code page lacks (or a broken surrogate) becomes "?":
    // skip that one character and go on. Without iconv only ASCII passes.
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                            (static_cast<unsigned char>(in[1]) << 8));
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && left >= 4 &&
                      (static_cast<unsigned char>(in[3]) & 0xFC) == 0xDC;
    out += !conv.ok() && unit < 0x80 ? static_cast<char>(unit) : '?';
    const size_t skip = pair ? 4 : 2;
    in += skip;
    left -= skip;
  }
  if (conv.ok())
    conv.Convert(in, left, out); // ends a stateful code page's pending output
  return out;
}

std::u16string TLinuxLocale::FromAnsi(std::string_view bytes) const {
  TIconv conv("UTF-16LE", CodePageName(codePage_).c_str());
  std::string utf16;
  const char *in = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    if (conv.ok() && conv.Convert(in, left, utf16) == 0)
      break;
    // An invalid byte, or a lead byte cut off at the end.
    const auto byte = static_cast<unsigned char>(in[0]);
    AppendUtf16Le(utf16, !conv.ok() && byte < 0x80 ? char16_t{byte} : u'\uFFFD');
    ++in;
    --left;
  }
  if (conv.ok())
    conv.Convert(in, left, utf16);
  std::u16string out;
  out.reserve(utf16.size() / 2);
  for (size_t i = 0; i + 1 < utf16.size(); i += 2)
    out += static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                 (static_cast<unsigned char>(utf16[i + 1]) << 8));
  return out;
}

} // namespace platform::linux_impl
