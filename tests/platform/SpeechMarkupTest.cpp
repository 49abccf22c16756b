#include <gtest/gtest.h>

#include "platform/linux/LinuxSpeechMarkup.h"

namespace {

using platform::linux_impl::MarkupPlainText;
using platform::linux_impl::MarkupToEspeak;

const std::u16string kGreeting =
    u"Thank you for using <pron sym=\"m uh r ! m eh l ow\">MURMELO</pron>..";

TEST(SpeechMarkupTest, PronunciationBecomesEspeakPhonemes) {
  EXPECT_EQ(MarkupToEspeak(kGreeting), u"Thank you for using  [[mUrmEloU]] ..");
  EXPECT_EQ(MarkupPlainText(kGreeting), u"Thank you for using MURMELO..");
}

TEST(SpeechMarkupTest, UnknownPhonesOrBrokenElementsFallBackToText) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"a <pron sym=\"m qq\">Word</pron> b", u"a Word b"},
      {u"a <pron>Word</pron> b", u"a Word b"},
      {u"a <pron sym=\"m\">Word b", u"a Word b"},
      {u"<b>bold</b> [[text]]", u"bold [ [text]]"},
      {u"plain", u"plain"},
  };
  for (const auto &[markup, espeak] : cases)
    EXPECT_EQ(MarkupToEspeak(markup), espeak);
}

} // namespace
