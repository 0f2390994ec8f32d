#pragma once
// AudioPlayer: the board's thin, stateless player over BASS. Every operation works on its
// arguments alone and calls BASS through the runtime's DLL-command table, so bass.dll is bound
// at the first call and a missing library or function ends in the runtime's fatal report.
// Called from the GUI thread only, like the rest of the board.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "audio/bass_commands.h"
#include "audio/level_bars.h"
#include "runtime/dll_command_table.h"
#include "runtime/values/array_block.h"
#include "runtime/values/byte_set.h"
#include "runtime/values/text_value.h"

namespace audio {

class AudioPlayer {
 public:
  // The process-wide table unless a test hands in its own.
  AudioPlayer();
  explicit AudioPlayer(runtime::DllCommandTable& table) : table_(&table) {}

  // Housekeeping, as every class of the board has: destroy, then copy (a new object of the class).
  ~AudioPlayer() = default;
  std::unique_ptr<AudioPlayer> Copy() const { return std::make_unique<AudioPlayer>(*table_); }

  // 1. Opens an output; device -1 is the default one, 0 plays nothing.
  bool Init(int device = -1, int frequency = 44100, int flags = 0, HWND window = nullptr);
  // 2.
  bool Free();
  // 3. From the file when it exists, else from the bytes, else from the URL; 0 when none serves.
  StreamHandle CreateStream(runtime::TextRef fileName, runtime::ByteSetRef bytes, runtime::TextRef url,
                            std::int64_t offset = 0);
  // 4. Handle 0 calls nothing and gives false.
  bool Play(StreamHandle handle, bool restart = true);
  // 5.-6.
  bool Pause(StreamHandle handle);
  bool Stop(StreamHandle handle);
  // 7.-9. Byte positions; the results keep only their low 32 bits.
  std::int32_t GetPosition(StreamHandle handle);
  bool SetPosition(StreamHandle handle, std::int64_t position);
  std::int32_t GetLength(StreamHandle handle);
  // 10. A copy of the title text; empty when there is none.
  runtime::TextValue GetTags(StreamHandle handle);
  // 11. 0 stopped, 1 playing, 2 stalled, 3 paused.
  std::int32_t IsActive(StreamHandle handle);
  // 12.
  bool FreeStream(StreamHandle handle);
  // 13. Puts a new array of 128 FFT magnitudes in place of the caller's; BASS's byte count.
  std::int32_t GetSpectrum(StreamHandle handle, runtime::Array<float>& spectrum);
  // 14.-15. The level of the whole output.
  bool SetMasterVolume(float volume);
  float GetMasterVolume();
  // 16.-17. The level of one stream, 0 to 1.
  bool SetChannelVolume(StreamHandle handle, float volume);
  bool GetChannelVolume(StreamHandle handle, float& volume);
  // 18.-19.
  double BytesToSeconds(StreamHandle handle, std::int64_t bytes);
  std::int32_t SecondsToBytes(StreamHandle handle, double seconds);
  // 20. 1 red, 2 green, 3 blue of a COLORREF value; 0 for anything else.
  static std::int32_t ColourComponent(std::int32_t colour, std::int32_t which);
  // 21. The stream's spectrum as bars over the whole client area of a drawing board. The peak
  // marks of each board are kept between calls (GUI thread only) and forgotten with the window.
  void DrawSpectrum(HWND board, StreamHandle handle, const SpectrumLook& look = {});

 private:
  template <class Command, class... Args>
  auto Call(const Command& command, Args&&... args) {
    return table_->Call(command, std::forward<Args>(args)...);
  }

  runtime::DllCommandTable* table_;
};

}  // namespace audio
