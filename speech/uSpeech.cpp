#include "speech/uSpeech.h"

TSpeechItems SpeechItems;
