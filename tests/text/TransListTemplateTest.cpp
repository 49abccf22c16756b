#include <string>

#include <gtest/gtest.h>

#include "Lib/uRegEx.h"
#include "Lib/uStrUtils.h"
#include "text/uTransTemplate.h"

namespace {

struct TTemplateCase {
  const char16_t *Pattern;
  const char16_t *Template;
  const char16_t *Subject;
  const char16_t *Expected;
};

std::u16string ReplaceWith(const TTemplateCase &c) {
  const TRegEx regex(c.Pattern);
  const TReplaceTemplate templ(c.Template, regex);
  return regex.Replace(c.Subject, [&templ](const TRegExMatch &match, std::u16string &out) {
    templ.Expand(match, out);
  });
}

class TransListTemplateTest : public ::testing::TestWithParam<TTemplateCase> {};

} // namespace

TEST_P(TransListTemplateTest, ExpandsAsTheTableSays) {
  EXPECT_EQ(Utf16ToUtf8(ReplaceWith(GetParam())), Utf16ToUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TransListTemplateTest,
    ::testing::Values(
        // Escapes of the two special characters.
        TTemplateCase{u"b", u"\\\\", u"abc", u"a\\c"}, TTemplateCase{u"b", u"\\$", u"abc", u"a$c"},
        TTemplateCase{u"b", u"$$", u"abc", u"a$c"},
        // One digit, and a second digit only when the pattern has that group.
        TTemplateCase{u"(a)(b)", u"$2\\1", u"ab", u"ba"},
        TTemplateCase{u"(a)(b)", u"$0|\\0", u"ab", u"ab|ab"},
        TTemplateCase{u"(a)(b)", u"$10", u"ab", u"a0"},
        TTemplateCase{u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"$10", u"abcdefghij", u"j"},
        TTemplateCase{u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"\\10", u"abcdefghij", u"j"},
        TTemplateCase{u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"$11", u"abcdefghij", u"a1"},
        // Braces and names.
        TTemplateCase{u"(a)(b)", u"${2}${1}", u"ab", u"ba"},
        TTemplateCase{u"(?<x>a)(?<y>b)", u"${y}\\g<x>", u"ab", u"ba"},
        TTemplateCase{u"(?<x>a)", u"${9}${zz}\\g<zz>.", u"a", u"."},
        TTemplateCase{u"(?J)(?<n>a)|(?<n>b)", u"[${n}]", u"ab", u"[a][b]"},
        // Whole match, before, after, last group, whole subject.
        TTemplateCase{u"b", u"<$&\\&>", u"abc", u"a<bb>c"},
        TTemplateCase{u"b", u"[$`\\`]", u"abc", u"a[aa]c"},
        TTemplateCase{u"b", u"[$'\\']", u"abc", u"a[cc]c"},
        TTemplateCase{u"(a)(b)", u"$+\\+", u"ab", u"bb"},
        TTemplateCase{u"ab", u"[$+]", u"ab", u"[]"},
        TTemplateCase{u"b", u"[$_]", u"abc", u"a[abc]c"},
        // Letter case of a group; ASCII letters only.
        TTemplateCase{u"(\\S+) (\\S+)", u"\\U1 \\l2", u"héllo WORLD", u"HéLLO world"},
        TTemplateCase{u"(.+)", u"\\F1", u"hello world", u"Hello world"},
        TTemplateCase{u"(.+)", u"\\i1", u"hello big-world 2day", u"Hello Big-World 2day"},
        TTemplateCase{u"(a)", u"\\U9", u"a", u""},
        // Missing and unset groups insert nothing.
        TTemplateCase{u"(a)|(b)", u"[$2]", u"ab", u"[][b]"},
        TTemplateCase{u"a", u"[$5${7}]", u"a", u"[]"},
        // Anything else after a backslash or dollar stays as it is.
        TTemplateCase{u"b", u"\\n$x\\_${a b}${}$", u"b", u"\\n$x\\_${a b}${}$"},
        TTemplateCase{u"b", u"${1", u"b", u"${1"}, TTemplateCase{u"b", u"\\U", u"b", u"\\U"},
        TTemplateCase{u"b", u"\\", u"b", u"\\"}, TTemplateCase{u"(b)", u"\\g<1", u"b", u"\\g<1"},
        // Japanese text, and a reading that is just text.
        TTemplateCase{u"猫", u"ねこ", u"黒猫と猫", u"黒ねことねこ"}));
