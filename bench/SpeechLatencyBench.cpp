// Time from SpeakText to the first audio sample for a ten-word English line,
// through the dispatcher and the real eSpeak NG engine into a recording
// output. Reports the median and the 99th percentile over 100 runs.

#include <algorithm>
#include <chrono>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/linux/LinuxEspeak.h"
#include "platform/linux/LinuxSpeechEngines.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/ScopedServices.h"

namespace {

using platform::linux_impl::TLinuxEspeakEngine;
using platform::linux_impl::TLinuxSpeechEngines;
using platform::linux_impl::TRecordingAudio;

void BM_SpeakTextToFirstSample(benchmark::State &state) {
  auto audio = std::make_shared<TRecordingAudio>();
  TLinuxSpeechEngines engines(audio, false);
  FakeLocale locale;
  platform::TServices services;
  services.SpeechEngines = &engines;
  services.Locale = &locale;
  ScopedServices installed(services);
  SapiLoadVoices();
  BuildSpeechItems();
  std::int32_t device = 0;
  for (size_t k = 0; k < SpeechItems.size(); ++k)
    if (SpeechItems[k].Name == u"eSpeak NG - English (America) (en-US)")
      device = static_cast<std::int32_t>(k);
  auto &espeak = dynamic_cast<TLinuxEspeakEngine &>(*engines.SecondEngine());
  const std::u16string line = u"The quick brown fox jumps over the lazy dog every morning.";

  std::vector<double> latencies;
  for (auto _ : state) {
    latencies.clear();
    for (int run = 0; run < 100; ++run) {
      audio->Take();
      const auto start = std::chrono::steady_clock::now();
      SpeakText(device, 100, 0, line);
      audio->WaitForSamples(std::chrono::seconds(5));
      const auto first = audio->FirstSample();
      latencies.push_back(std::chrono::duration<double, std::milli>(first - start).count());
      espeak.WaitIdle(std::chrono::seconds(10));
    }
  }
  std::sort(latencies.begin(), latencies.end());
  state.counters["median_ms"] = latencies[latencies.size() / 2];
  state.counters["p99_ms"] = latencies[latencies.size() * 99 / 100];
  state.counters["max_ms"] = latencies.back();
  SpeechItems.clear();
  SapiReleaseVoices();
}

BENCHMARK(BM_SpeakTextToFirstSample)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
