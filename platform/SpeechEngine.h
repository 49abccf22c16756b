#pragma once

#include <string>
#include <vector>

namespace platform {

// One voice an engine offers. Name is the voice's short name, Description a
// longer text naming the engine and the language ("... - English (America)
// (en-US)"); the device list shows one or the other.
struct TSpeechEngineVoice {
  std::u16string Name;
  std::u16string Description;
};

// How Speak treats its text.
enum class TSpeakMode {
  Plain,    // the text as it stands
  Markup,   // may carry a pronunciation element <pron sym="...">text</pron>,
            // which is never spoken as tags
  PurgeText // first stop the current sentence and empty the queue
};

// A text-to-speech engine with a current voice, volume, rate and audio
// output. Every call comes from the main thread; the engine speaks on its own
// thread.
class ISpeechEngine {
public:
  virtual ~ISpeechEngine() = default;

  // The voices, in the engine's own stable order; positions are what
  // SetVoice takes.
  virtual std::vector<TSpeechEngineVoice> Voices() = 0;

  // Descriptions of the audio outputs this engine can be sent to, in a
  // stable order; may be empty.
  virtual std::vector<std::u16string> AudioOutputs() = 0;
  // The chosen output: a position in AudioOutputs, or -1 for the desktop's
  // default output (which follows the desktop when it changes).
  virtual int AudioOutput() = 0;
  // -1, or a position that is out of range, selects the default output.
  virtual void SetAudioOutput(int position) = 0;

  // Throws std::out_of_range for a position that names no voice.
  virtual void SetVoice(int position) = 0;
  // 0..100; 100 is the engine's normal loudness. Out-of-range values are
  // clamped.
  virtual int Volume() = 0;
  virtual void SetVolume(int volume) = 0;
  // -10..10; 0 is the engine's normal speed, 10 about three times as fast,
  // -10 about a third. Out-of-range values are clamped.
  virtual int Rate() = 0;
  virtual void SetRate(int rate) = 0;

  // Queues the text with the current voice, volume and rate and returns at
  // once; texts are spoken in order. Returns false when the engine refuses
  // it, for example when no audio output can be reached. PurgeText first
  // stops the sentence being spoken and empties the queue.
  virtual bool Speak(const std::u16string &text, TSpeakMode mode) = 0;
};

// The two engines the program offers voices of. Either may be missing
// (nullptr); a missing engine contributes no voices.
class ISpeechEngines {
public:
  virtual ~ISpeechEngines() = default;
  // The system's speech service (speech-dispatcher on Linux).
  virtual ISpeechEngine *FirstEngine() = 0;
  // The in-process synthesiser (eSpeak NG on Linux).
  virtual ISpeechEngine *SecondEngine() = 0;
};

} // namespace platform
