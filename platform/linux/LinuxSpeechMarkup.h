#pragma once

#include <string>

namespace platform::linux_impl {

// The greeting's markup carries one kind of element the engines must not read
// out: <pron sym="phonemes">text</pron>, with phonemes in the desktop speech
// API's American English phone set.

// The text with every tag removed; a pronunciation element becomes its text.
std::u16string MarkupPlainText(const std::u16string &text);

// eSpeak NG input: text outside elements as it is, each pronunciation element
// as "[[phonemes]]" in eSpeak's own notation, or its text when a phoneme is
// unknown. Tags are removed; "[[" in the plain text is broken up so that only
// our phonemes are read as phonemes.
std::u16string MarkupToEspeak(const std::u16string &text);

} // namespace platform::linux_impl
