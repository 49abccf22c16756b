#include "platform/linux/LinuxEspeak.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <espeak-ng/speak_lib.h>

#include "Lib/uStrUtils.h"
#include "platform/linux/LinuxSpeechMarkup.h"

namespace platform::linux_impl {

// The library is one global synthesiser: it is initialised once per process
// and used by one thread at a time.
struct TEspeakCallback {
  static int OnSamples(short *samples, int count, espeak_EVENT *events) {
    auto *engine = static_cast<TLinuxEspeakEngine *>(events->user_data);
    if (engine == nullptr || samples == nullptr || count <= 0)
      return 0;
    return engine->TakeSamples(samples, count) ? 0 : 1;
  }
};

namespace {

std::mutex &LibraryLock() {
  static std::mutex lock;
  return lock;
}

int InitialiseLibrary() {
  static std::once_flag once;
  static int sampleRate = 0;
  std::call_once(once, [] {
    // 20 ms buffers: the first samples leave soon after a sentence starts.
    sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 20, nullptr, 0);
    if (sampleRate > 0)
      espeak_SetSynthCallback(TEspeakCallback::OnSamples);
  });
  return sampleRate;
}

// "en-us" -> "en-US": the region in upper case, as language tags write it.
std::string LanguageTag(std::string language) {
  const size_t dash = language.find('-');
  if (dash != std::string::npos && language.size() - dash == 3)
    for (size_t k = dash + 1; k < language.size(); ++k)
      language[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(language[k])));
  return language;
}

// 0 for a voice of the locale's language and region ("en-US" for
// "en_US.UTF-8"), 1 for its language, 2 for any other. The C locale reads as
// American English, as the locale service maps it.
int LocaleRank(const std::string &voiceTag, std::string locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale.empty() || locale == "C" || locale == "POSIX")
    locale = "en_US";
  const std::string language = locale.substr(0, locale.find('_'));
  std::string tag = locale;
  std::replace(tag.begin(), tag.end(), '_', '-');
  if (voiceTag == tag)
    return 0;
  return voiceTag == language || voiceTag.rfind(language + "-", 0) == 0 ? 1 : 2;
}

// eSpeak reads U+0001 followed by a command as an inline command (loudness,
// speed, voice): chat text must not reach it, so control codes other than
// tab and line breaks become blanks.
std::u16string WithoutControlCodes(std::u16string text) {
  for (auto &c : text)
    if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0x7F)
      c = u' ';
  return text;
}

} // namespace

int TLinuxEspeakEngine::WordsPerMinute(int rate) {
  // As on the desktop speech API: 10 is three times the normal speed, -10 a
  // third; eSpeak itself speaks from 80 to 450 words a minute.
  const double words = 175.0 * std::pow(3.0, std::clamp(rate, -10, 10) / 10.0);
  return std::clamp(static_cast<int>(std::lround(words)), 80, 450);
}

TLinuxEspeakEngine::TLinuxEspeakEngine(std::shared_ptr<IAudioDevices> audio,
                                       const std::string &userLocale)
    : audio_(std::move(audio)) {
  std::lock_guard library(LibraryLock());
  sampleRate_ = InitialiseLibrary();
  if (sampleRate_ > 0) {
    for (const espeak_VOICE **voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
      const char *languages = (*voice)->languages;
      const std::string language =
          languages != nullptr && languages[0] != 0 ? LanguageTag(languages + 1) : "";
      const std::string name = (*voice)->name != nullptr ? (*voice)->name : "";
      voices_.push_back(
          {name,
           {Utf8ToUtf16(name), Utf8ToUtf16("eSpeak NG - " + name + " (" + language + ")")},
           LocaleRank(language, userLocale)});
    }
    std::stable_sort(voices_.begin(), voices_.end(),
                     [](const TVoiceInfo &a, const TVoiceInfo &b) { return a.Rank < b.Rank; });
  }
  worker_ = std::thread([this] { Run(); });
}

TLinuxEspeakEngine::~TLinuxEspeakEngine() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
    ++generation_;
  }
  changed_.notify_all();
  worker_.join();
}

std::vector<TSpeechEngineVoice> TLinuxEspeakEngine::Voices() {
  std::vector<TSpeechEngineVoice> shown;
  for (const TVoiceInfo &voice : voices_)
    shown.push_back(voice.Shown);
  return shown;
}

std::vector<std::u16string> TLinuxEspeakEngine::AudioOutputs() {
  std::vector<std::u16string> descriptions;
  for (const TAudioSink &sink : audio_->Sinks())
    descriptions.push_back(sink.Description);
  return descriptions;
}

int TLinuxEspeakEngine::AudioOutput() { return output_; }

void TLinuxEspeakEngine::SetAudioOutput(int position) {
  const std::vector<TAudioSink> sinks = audio_->Sinks();
  if (position < 0 || static_cast<size_t>(position) >= sinks.size()) {
    output_ = -1;
    outputSink_.clear();
    return;
  }
  output_ = position;
  outputSink_ = sinks[static_cast<size_t>(position)].Name;
}

void TLinuxEspeakEngine::SetVoice(int position) {
  if (position < 0 || static_cast<size_t>(position) >= voices_.size())
    throw std::out_of_range("no such eSpeak NG voice");
  voice_ = position;
}

int TLinuxEspeakEngine::Volume() { return volume_; }
void TLinuxEspeakEngine::SetVolume(int volume) { volume_ = std::clamp(volume, 0, 100); }
int TLinuxEspeakEngine::Rate() { return rate_; }
void TLinuxEspeakEngine::SetRate(int rate) { rate_ = std::clamp(rate, -10, 10); }

bool TLinuxEspeakEngine::Speak(const std::u16string &text, TSpeakMode mode) {
  if (mode == TSpeakMode::PurgeText) {
    std::lock_guard lock(mutex_);
    queue_.clear();
    ++generation_;
  }
  if (sampleRate_ <= 0 || voices_.empty())
    return false;
  // Without a sound server nothing could be heard: refuse rather than queue.
  if (!streamWorks_ && !audio_->Reachable())
    return false;
  TJob job;
  job.Phonemes = mode == TSpeakMode::Markup;
  const std::u16string safe = WithoutControlCodes(text);
  job.Text = Utf16ToUtf8(job.Phonemes ? MarkupToEspeak(safe) : safe);
  job.Voice = voices_[static_cast<size_t>(voice_)].Id;
  job.Volume = volume_;
  job.Rate = rate_;
  job.Sink = outputSink_;
  {
    std::lock_guard lock(mutex_);
    job.Generation = generation_;
    queue_.push_back(std::move(job));
  }
  changed_.notify_all();
  return true;
}

size_t TLinuxEspeakEngine::Queued() {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

bool TLinuxEspeakEngine::WaitIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return queue_.empty() && !busy_; });
}

void TLinuxEspeakEngine::Run() {
  std::unique_ptr<IPcmStream> stream;
  std::string openSink;
  std::uint64_t lastGeneration = 0;
  for (;;) {
    TJob job;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_)
        break;
      job = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
    }
    if (!stream || openSink != job.Sink) {
      stream.reset();
      stream = audio_->Open(job.Sink, sampleRate_);
      openSink = job.Sink;
    } else if (job.Generation != lastGeneration) {
      stream->Discard(); // what a purge cut off may still sit in the buffer
    }
    lastGeneration = job.Generation;
    if (stream) {
      Synthesise(job, stream, openSink);
    }
    streamWorks_ = stream != nullptr;
    {
      std::lock_guard lock(mutex_);
      busy_ = false;
    }
    changed_.notify_all();
  }
}

void TLinuxEspeakEngine::Synthesise(const TJob &job, std::unique_ptr<IPcmStream> &stream,
                                    std::string &openSink) {
  if (job.Generation != generation_)
    return;
  std::lock_guard library(LibraryLock());
  espeak_SetVoiceByName(job.Voice.c_str());
  espeak_SetParameter(espeakVOLUME, job.Volume, 0);
  espeak_SetParameter(espeakRATE, WordsPerMinute(job.Rate), 0);
  current_ = stream.get();
  currentGeneration_ = job.Generation;
  writeFailed_ = false;
  const unsigned flags = espeakCHARS_UTF8 | espeakENDPAUSE | (job.Phonemes ? espeakPHONEMES : 0);
  espeak_Synth(job.Text.c_str(), job.Text.size() + 1, 0, POS_CHARACTER, 0, flags, nullptr, this);
  current_ = nullptr;
  if (writeFailed_) { // the sound server went away; reopen for the next text
    stream.reset();
    openSink.clear();
  }
}

bool TLinuxEspeakEngine::TakeSamples(const short *samples, int count) {
  if (current_ == nullptr || generation_ != currentGeneration_)
    return false;
  if (!current_->Write(samples, static_cast<size_t>(count))) {
    writeFailed_ = true;
    return false;
  }
  return generation_ == currentGeneration_;
}

} // namespace platform::linux_impl
