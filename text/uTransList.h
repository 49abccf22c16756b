#pragma once

#include <string>
#include <string_view>
#include <vector>

// The pronunciation dictionary: rewrite rules that every spoken text passes
// through, taught and removed from the chat with 'study(word=reading)' and
// 'forget(word)', kept in Dictionary.txt beside the program.

// One rule: a pattern as it was typed and the replacement template.
struct TTransList {
  std::u16string src;
  std::u16string dst;
};

using TTransLists = std::vector<TTransList>;

// The rules in file order, then in the order they were taught. Used only on
// the main thread.
extern TTransLists Dictionary;

inline constexpr std::u16string_view DictionaryHeader = u"# VELTRA MURMELO Dictionary Format V 1.0";

std::u16string DictionaryPath();

// Reads Dictionary.txt; a missing, unreadable or foreign file leaves the
// dictionary empty. Called once at start-up.
void LoadDictionary();
// Rewrites Dictionary.txt atomically; throws when it cannot be written.
void SaveDictionary();

// Index of the first rule whose src is word exactly, or -1.
int FindDictionaryEntry(const std::u16string &word);
// Adds the rule at the end, replacing the old rule of word; false when it
// could not be saved (the change stays in memory).
bool StudyWord(const std::u16string &word, const std::u16string &reading);
// Removes the rule of word; false when there was none or it could not be
// saved.
bool ForgetWord(const std::u16string &word);

// The trimmed text, or the spoken confirmation of the study or forget
// command it held.
std::u16string HandleDictionaryCommand(const std::u16string &text);

// The text rewritten through every rule in order. A rule whose pattern does
// not compile is skipped (TakeSkippedDictionaryRules tells of it); a rule
// that runs too long counts as not matching; a text that would grow past
// 64 Ki code units stops growing, with the rules after it left out.
std::u16string ApplyDictionary(const std::u16string &text);

// A rule ApplyDictionary skips, with the engine's reason.
struct TSkippedRule {
  std::u16string src;
  std::u16string dst;
  std::u16string Message;
};

// The skipped rules not returned before, each once (again after it was
// taught anew). For the main window to tell the user.
std::vector<TSkippedRule> TakeSkippedDictionaryRules();
