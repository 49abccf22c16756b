// A 1,000-rule dictionary applied to a 120-character chat line: with the
// compiled rules kept (ApplyDictionary), and compiling every rule on every
// call, in the same run.

#include <string>

#include <benchmark/benchmark.h>

#include "Lib/uRegEx.h"
#include "Lib/uStrUtils.h"
#include "text/uTransList.h"
#include "text/uTransRules.h"

namespace {

// Mostly plain words, as users teach them, with some classes, groups and
// Japanese words among them.
TTransLists MakeRules(const std::u16string &suffix) {
  TTransLists rules;
  for (int i = 0; i < 1000; ++i) {
    const std::u16string n = IntToStr(i);
    switch (i % 10) {
    case 0:
      rules.push_back({u"\\bw" + n + u"\\b", u"word " + n + suffix});
      break;
    case 1:
      rules.push_back({u"(?i)abbr" + n, u"abbreviation" + suffix});
      break;
    case 2:
      rules.push_back({u"(\\d+)x" + n, u"$1 times " + n + suffix});
      break;
    case 3:
      rules.push_back({u"猫" + n, u"ねこ" + suffix});
      break;
    default:
      rules.push_back({u"name" + n, u"reading" + n + suffix});
      break;
    }
  }
  return rules;
}

// 120 characters; a few rules match it.
const std::u16string Line = u"[21:05] Bob: hi all, w10 and name15 say 3x2 lol, 猫3 is here "
                            u"and abbr1 too; see you later at the sandbox near name998!!!!";

void BM_ApplyDictionaryCached(benchmark::State &state) {
  Dictionary = MakeRules(u"");
  ApplyDictionary(Line);
  for (auto _ : state)
    benchmark::DoNotOptimize(ApplyDictionary(Line));
  state.counters["chars"] = static_cast<double>(Line.size());
}

void BM_ApplyDictionaryCompileEveryCall(benchmark::State &state) {
  const TTransLists rules = MakeRules(u"");
  for (auto _ : state) {
    TRuleRun run(Line);
    for (const TTransList &rule : rules) {
      try {
        if (!run.Apply(TCompiledRule(rule.src, rule.dst, false)))
          break;
      } catch (const ERegExError &) {
      }
    }
    benchmark::DoNotOptimize(run.Text());
  }
}

// The first text after the rules changed pays for compiling them all.
void BM_ApplyDictionaryAfterRebuild(benchmark::State &state) {
  const TTransLists a = MakeRules(u"");
  const TTransLists b = MakeRules(u" ");
  bool flip = false;
  for (auto _ : state) {
    Dictionary = (flip = !flip) ? a : b;
    benchmark::DoNotOptimize(ApplyDictionary(Line));
  }
}

} // namespace

BENCHMARK(BM_ApplyDictionaryCached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyDictionaryCompileEveryCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyDictionaryAfterRebuild)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
