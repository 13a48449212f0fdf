// Whether a sound file is one the system's sound call plays: a RIFF WAVE file
// whose format the system plays itself or through the codecs it ships with.
#pragma once

#include <string>

#include "check/FileBytes.h"

namespace check {

enum class WaveVerdict { Playable, NotWave, NoFormat, NoSound, UnknownFormat, BadFormat };

struct WaveFacts {
  WaveVerdict verdict = WaveVerdict::NotWave;
  unsigned formatTag = 0;  // 1 PCM, 3 floating point, 0xFFFE extensible, ...
  unsigned channels = 0, bitsPerSample = 0;
  unsigned long sampleRate = 0;
};

WaveFacts ExamineWave(const FileBytes& file);

}  // namespace check
