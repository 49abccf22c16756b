#include "platform/linux/LinuxSpeechMarkup.h"

#include <map>
#include <sstream>
#include <string_view>

#include "Lib/uStrUtils.h"

namespace platform::linux_impl {

namespace {

// Phones of the American English phone set and the eSpeak NG English
// phonemes that sound the same.
const std::map<std::string, std::string> &PhoneTable() {
  static const std::map<std::string, std::string> table = {
      {"aa", "A:"}, {"ae", "a"},  {"ah", "V"},  {"ao", "O:"}, {"aw", "aU"}, {"ax", "@"},
      {"ay", "aI"}, {"b", "b"},   {"ch", "tS"}, {"d", "d"},   {"dh", "D"},  {"eh", "E"},
      {"er", "3:"}, {"ey", "eI"}, {"f", "f"},   {"g", "g"},   {"h", "h"},   {"ih", "I"},
      {"iy", "i:"}, {"jh", "dZ"}, {"k", "k"},   {"l", "l"},   {"m", "m"},   {"n", "n"},
      {"ng", "N"},  {"ow", "oU"}, {"oy", "OI"}, {"p", "p"},   {"r", "r"},   {"s", "s"},
      {"sh", "S"},  {"t", "t"},   {"th", "T"},  {"uh", "U"},  {"uw", "u:"}, {"v", "v"},
      {"w", "w"},   {"y", "j"},   {"z", "z"},   {"zh", "Z"}};
  return table;
}

// The phones in eSpeak notation; empty when one is unknown. Stress digits and
// boundary marks are left to eSpeak's own stress rules.
std::string PhonesToEspeak(const std::string &sym) {
  std::istringstream phones(sym);
  std::string phone, result;
  while (phones >> phone) {
    if (phone == "!" || phone == "-" || phone == "&" || phone == "1" || phone == "2")
      continue;
    const auto found = PhoneTable().find(phone);
    if (found == PhoneTable().end())
      return {};
    result += found->second;
  }
  return result;
}

struct TElement {
  size_t Start = 0, End = 0; // the whole element, [Start, End)
  std::u16string Sym, Text;
};

// Finds the next <pron sym="...">text</pron> at or after from.
bool NextPron(const std::u16string &text, size_t from, TElement &element) {
  for (size_t open = text.find(u"<pron", from); open != std::u16string::npos;
       open = text.find(u"<pron", open + 1)) {
    const size_t tagEnd = text.find(u'>', open);
    const size_t close = text.find(u"</pron>", open);
    if (tagEnd == std::u16string::npos || close == std::u16string::npos || close < tagEnd)
      return false;
    const std::u16string tag = text.substr(open, tagEnd - open);
    const size_t symAt = tag.find(u"sym=\"");
    const size_t symEnd = symAt == std::u16string::npos ? symAt : tag.find(u'"', symAt + 5);
    element.Start = open;
    element.End = close + 7;
    element.Text = text.substr(tagEnd + 1, close - tagEnd - 1);
    element.Sym = symEnd == std::u16string::npos ? u"" : tag.substr(symAt + 5, symEnd - symAt - 5);
    return true;
  }
  return false;
}

// Keeps a reader's "[[" from switching eSpeak into phoneme input.
std::u16string NoPhonemeBrackets(std::u16string text) {
  for (size_t at = text.find(u"[["); at != std::u16string::npos; at = text.find(u"[[", at))
    text.replace(at, 2, u"[ [");
  return text;
}

template <typename ElementText>
std::u16string Convert(const std::u16string &text, ElementText elementText) {
  std::u16string result;
  size_t from = 0;
  TElement element;
  while (NextPron(text, from, element)) {
    result += RemoveTags(std::u16string_view(text).substr(from, element.Start - from));
    result += elementText(element);
    from = element.End;
  }
  return result + RemoveTags(std::u16string_view(text).substr(from));
}

} // namespace

std::u16string MarkupPlainText(const std::u16string &text) {
  return Convert(text, [](const TElement &element) { return RemoveTags(element.Text); });
}

std::u16string MarkupToEspeak(const std::u16string &text) {
  return Convert(NoPhonemeBrackets(text), [](const TElement &element) {
    const std::string phonemes = PhonesToEspeak(Utf16ToUtf8(element.Sym));
    if (phonemes.empty())
      return RemoveTags(element.Text);
    return u" [[" + Utf8ToUtf16(phonemes) + u"]] ";
  });
}

} // namespace platform::linux_impl
