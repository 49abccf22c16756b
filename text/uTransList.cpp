#include "text/uTransList.h"

#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>

#include "Lib/uFileUtils.h"
#include "Lib/uRegEx.h"
#include "Lib/uStrUtils.h"
#include "platform/AppInfo.h"
#include "platform/Platform.h"
#include "text/uMessages.h"
#include "text/uTransRules.h"

TTransLists Dictionary;

namespace {

// The compiled form of Dictionary, rule for rule. An entry that no longer
// equals its rule is compiled again, so the cache cannot go stale.
struct TCacheEntry {
  std::u16string src;
  std::u16string dst;
  std::optional<TCompiledRule> Rule; // empty when src does not compile
};

std::vector<TCacheEntry> RuleCache;
std::set<std::u16string> ReportedSources;
std::vector<TSkippedRule> UnreportedRules;

// Dictionary.txt was there at start but not ours to read: it is kept as
// Dictionary.txt.bak before the first save replaces it.
bool KeepForeignFile = false;

TCacheEntry CompileEntry(const TTransList &rule) {
  TCacheEntry entry{rule.src, rule.dst, std::nullopt};
  try {
    entry.Rule.emplace(rule.src, rule.dst, true);
  } catch (const ERegExError &error) {
    if (ReportedSources.insert(rule.src).second)
      UnreportedRules.push_back({rule.src, rule.dst, error.Message()});
  }
  return entry;
}

void RefreshRuleCache() {
  if (RuleCache.size() > Dictionary.size())
    RuleCache.erase(RuleCache.begin() + static_cast<std::ptrdiff_t>(Dictionary.size()),
                    RuleCache.end());
  for (std::size_t i = 0; i < Dictionary.size(); ++i) {
    if (i == RuleCache.size())
      RuleCache.push_back(CompileEntry(Dictionary[i]));
    else if (RuleCache[i].src != Dictionary[i].src || RuleCache[i].dst != Dictionary[i].dst)
      RuleCache[i] = CompileEntry(Dictionary[i]);
  }
}

// Removes rule i and its compiled form; a word taught again is reported
// again if its pattern is still bad.
void DeleteRule(std::size_t i) {
  ReportedSources.erase(Dictionary[i].src);
  Dictionary.erase(Dictionary.begin() + static_cast<std::ptrdiff_t>(i));
  if (i < RuleCache.size())
    RuleCache.erase(RuleCache.begin() + static_cast<std::ptrdiff_t>(i));
}

struct TCommandPatterns {
  TRegEx Study{u"^(教育|Study|study)[(（](.*)[=＝](.*)[)）]$", true};
  TRegEx Forget{u"^(忘却|Forget|forget)[(（](.*)[)）]$", true};
};

const TCommandPatterns &CommandPatterns() {
  static const TCommandPatterns patterns;
  return patterns;
}

// An error while matching counts as no match.
bool MatchCommand(const TRegEx &regex, const std::u16string &text, TRegExMatch &match) {
  try {
    return regex.Match(text, 0, match,
                       GuardedMatchOptions(std::chrono::steady_clock::now() + RuleTimeBudget));
  } catch (const ERegExMatchError &) {
    return false;
  }
}

} // namespace

std::u16string DictionaryPath() { return platform::AppInfo().ProgramFolder() + u"/Dictionary.txt"; }

void LoadDictionary() {
  Dictionary.clear();
  RuleCache.clear();
  ReportedSources.clear();
  UnreportedRules.clear();
  KeepForeignFile = false;
  const std::u16string path = DictionaryPath();
  if (!FileExists(path))
    return;
  try {
    const std::vector<std::u16string> lines = ReadTextLines(path);
    if (lines.size() < 2 || lines[0] != DictionaryHeader) {
      KeepForeignFile = !lines.empty() && lines[0] != DictionaryHeader;
      return;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const std::size_t tab = lines[i].find(u'\t');
      if (tab == std::u16string::npos || tab == 0)
        continue;
      std::u16string dst = lines[i].substr(tab + 1);
      Dictionary.push_back({lines[i].substr(0, tab), dst.empty() ? u"-" : std::move(dst)});
    }
  } catch (const std::exception &) {
    // Unreadable now, perhaps not for good: its rules must not be lost to
    // the next save, which first copies it aside (and fails while it cannot
    // be read).
    Dictionary.clear();
    KeepForeignFile = true;
  }
}

void SaveDictionary() {
  std::vector<std::u16string> lines{std::u16string(DictionaryHeader)};
  for (TTransList &rule : Dictionary) {
    if (rule.dst.empty())
      rule.dst.push_back(u'-'); // it was empty
    lines.push_back(rule.src + u"\t" + rule.dst);
  }
  const std::u16string path = DictionaryPath();
  if (KeepForeignFile && FileExists(path)) {
    std::error_code ec;
    std::filesystem::copy_file(ToPath(path), ToPath(path + u".bak"),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
      throw std::runtime_error("Cannot keep a copy of \"" + Utf16ToUtf8(path) +
                               "\": " + ec.message());
  }
  WriteUtf8BomLines(path, lines);
  KeepForeignFile = false;
}

int FindDictionaryEntry(const std::u16string &word) {
  for (std::size_t i = 0; i < Dictionary.size(); ++i)
    if (Dictionary[i].src == word)
      return static_cast<int>(i);
  return -1;
}

bool StudyWord(const std::u16string &word, const std::u16string &reading) {
  try {
    const int i = FindDictionaryEntry(word);
    if (i >= 0)
      DeleteRule(static_cast<std::size_t>(i));
    ReportedSources.erase(word);
    Dictionary.push_back({word, reading});
    SaveDictionary();
    return true;
  } catch (const std::exception &) {
    return false;
  }
}

bool ForgetWord(const std::u16string &word) {
  const int i = FindDictionaryEntry(word);
  if (i < 0)
    return false;
  try {
    DeleteRule(static_cast<std::size_t>(i));
    SaveDictionary();
    return true;
  } catch (const std::exception &) {
    return false;
  }
}

std::u16string HandleDictionaryCommand(const std::u16string &text) {
  const std::u16string s = Trim(text);
  const TCommandPatterns &patterns = CommandPatterns();
  TRegExMatch match;
  if (MatchCommand(patterns.Study, s, match)) {
    const std::u16string word = Trim(match.Group(2));
    const std::u16string reading = Trim(match.Group(3));
    // The file separates word and reading by the first TAB: a word holding
    // one would come back as another rule. Such a line is no command.
    if (word.find(u'\t') == std::u16string::npos) {
      StudyWord(word, reading);
      return StudiedMessage(word, reading);
    }
    return s;
  }
  if (MatchCommand(patterns.Forget, s, match)) {
    const std::u16string word = Trim(match.Group(2));
    ForgetWord(word);
    return ForgotMessage(word);
  }
  return s;
}

std::u16string ApplyDictionary(const std::u16string &text) {
  RefreshRuleCache();
  TRuleRun run(text);
  for (const TCacheEntry &entry : RuleCache)
    if (entry.Rule && !run.Apply(*entry.Rule))
      break;
  return std::move(run.Text());
}

std::vector<TSkippedRule> TakeSkippedDictionaryRules() {
  RefreshRuleCache();
  return std::exchange(UnreportedRules, {});
}
