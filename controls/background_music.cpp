#include "controls/background_music.h"

#include <mmsystem.h>

#include <cstring>

namespace controls {
namespace {

// The owner whose sound the system plays now.
const BackgroundMusic* current = nullptr;

// The system reads only WAV files from memory, and checks them after the call has returned.
bool IsWaveFile(const std::vector<std::uint8_t>& bytes) {
  return bytes.size() > 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 && std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
}

}  // namespace

bool BackgroundMusic::Play(const std::vector<std::uint8_t>& bytes) {
  Stop();
  if (!IsWaveFile(bytes)) return false;
  bytes_ = bytes;
  if (!PlaySoundA(reinterpret_cast<LPCSTR>(bytes_.data()), nullptr,
                  SND_MEMORY | SND_ASYNC | SND_LOOP | SND_NODEFAULT)) {
    bytes_.clear();
    return false;
  }
  current = this;
  return true;
}

void BackgroundMusic::Stop() {
  if (current == this) {
    // Synchronous: the system is done with the bytes once this returns.
    PlaySoundA(nullptr, nullptr, 0);
    current = nullptr;
  }
  bytes_.clear();
}

bool BackgroundMusic::Playing() const { return current == this; }

}  // namespace controls
