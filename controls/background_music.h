#pragma once
// A window's background sound: the stored sound file played over and over from memory while its
// owner lives. The system plays one such sound for the whole process, so a newer one replaces an
// older one, and an owner stops only the sound it started.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace controls {

class BackgroundMusic {
 public:
  BackgroundMusic() = default;
  BackgroundMusic(const BackgroundMusic&) = delete;
  BackgroundMusic& operator=(const BackgroundMusic&) = delete;
  ~BackgroundMusic() { Stop(); }

  // Starts `bytes` (a WAV file); empty bytes or another kind of file leave it silent.
  // True when the sound plays.
  bool Play(const std::vector<std::uint8_t>& bytes);
  void Stop();
  bool Playing() const;

 private:
  std::vector<std::uint8_t> bytes_;  // the system reads the sound from here while it plays
};

}  // namespace controls
