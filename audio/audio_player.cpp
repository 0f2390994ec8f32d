#include "audio/audio_player.h"

#include <map>

#include "controls/gdi_owners.h"
#include "runtime/services/program_files_win.h"
#include "runtime/time_marks_win.h"

namespace audio {

namespace {
std::int32_t Low32(Qword value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

// Falling peaks need memory between drawings; the player itself has none, so they live here,
// one set per board window.
std::map<HWND, SpectrumPeaks>& PeaksOfBoards() {
  static std::map<HWND, SpectrumPeaks> peaks;
  return peaks;
}

}  // namespace

AudioPlayer::AudioPlayer() : table_(&runtime::DllCommands()) {}

bool AudioPlayer::Init(int device, int frequency, int flags, HWND window) {
  const runtime::marks::Span span("output-open");
  return Call(bass::kInit, device, static_cast<DWORD>(frequency), static_cast<DWORD>(flags), window, nullptr) != FALSE;
}

bool AudioPlayer::Free() { return Call(bass::kFree) != FALSE; }

StreamHandle AudioPlayer::CreateStream(runtime::TextRef fileName, runtime::ByteSetRef bytes, runtime::TextRef url,
                                       std::int64_t offset) {
  if (fileName.empty() && bytes.empty() && url.empty()) return 0;
  const Qword start = static_cast<Qword>(offset);
  // Copies, because a borrowed text need not end in a zero byte.
  const std::string name(fileName.view());
  if (!name.empty() && services::FileExists(name)) return Call(bass::kStreamCreateFile, FALSE, name.c_str(), start, Qword{0}, DWORD{0});
  if (!bytes.empty())
    return Call(bass::kStreamCreateMemory, TRUE, static_cast<const void*>(bytes.data()), start,
                static_cast<Qword>(bytes.size()), DWORD{0});
  if (!url.empty()) {
    const std::string address(url.view());
    return Call(bass::kStreamCreateUrl, address.c_str(), static_cast<DWORD>(offset), DWORD{0}, nullptr, nullptr);
  }
  return 0;
}

bool AudioPlayer::Play(StreamHandle handle, bool restart) {
  if (handle == 0) return false;
  return Call(bass::kChannelPlay, handle, restart ? TRUE : FALSE) != FALSE;
}

bool AudioPlayer::Pause(StreamHandle handle) { return Call(bass::kChannelPause, handle) != FALSE; }

bool AudioPlayer::Stop(StreamHandle handle) { return Call(bass::kChannelStop, handle) != FALSE; }

std::int32_t AudioPlayer::GetPosition(StreamHandle handle) {
  return Low32(Call(bass::kChannelGetPosition, handle, kBassPosByte));
}

bool AudioPlayer::SetPosition(StreamHandle handle, std::int64_t position) {
  return Call(bass::kChannelSetPosition, handle, static_cast<Qword>(position), kBassPosByte) != FALSE;
}

std::int32_t AudioPlayer::GetLength(StreamHandle handle) {
  return Low32(Call(bass::kChannelGetLength, handle, kBassPosByte));
}

runtime::TextValue AudioPlayer::GetTags(StreamHandle handle) {
  const char* tags = Call(bass::kChannelGetTags, handle, DWORD{0});
  return tags ? runtime::TextValue(tags) : runtime::TextValue();
}

std::int32_t AudioPlayer::IsActive(StreamHandle handle) {
  return static_cast<std::int32_t>(Call(bass::kChannelIsActive, handle));
}

bool AudioPlayer::FreeStream(StreamHandle handle) { return Call(bass::kStreamFree, handle) != FALSE; }

std::int32_t AudioPlayer::GetSpectrum(StreamHandle handle, runtime::Array<float>& spectrum) {
  const std::int32_t size = 128;
  auto fresh = runtime::Array<float>::WithSizes(std::span<const std::int32_t>(&size, 1));
  const DWORD bytes = Call(bass::kChannelGetData, handle, static_cast<void*>(fresh.untyped().MutableMember(1)), kBassDataFft256);
  spectrum = std::move(fresh);
  return static_cast<std::int32_t>(bytes);
}

bool AudioPlayer::SetMasterVolume(float volume) { return Call(bass::kSetVolume, volume) != FALSE; }

float AudioPlayer::GetMasterVolume() { return Call(bass::kGetVolume); }

bool AudioPlayer::SetChannelVolume(StreamHandle handle, float volume) {
  return Call(bass::kChannelSetAttribute, handle, kBassAttribVolume, volume) != FALSE;
}

bool AudioPlayer::GetChannelVolume(StreamHandle handle, float& volume) {
  return Call(bass::kChannelGetAttribute, handle, kBassAttribVolume, &volume) != FALSE;
}

double AudioPlayer::BytesToSeconds(StreamHandle handle, std::int64_t bytes) {
  return Call(bass::kChannelBytes2Seconds, handle, static_cast<Qword>(bytes));
}

std::int32_t AudioPlayer::SecondsToBytes(StreamHandle handle, double seconds) {
  return Low32(Call(bass::kChannelSeconds2Bytes, handle, seconds));
}

void AudioPlayer::DrawSpectrum(HWND board, StreamHandle handle, const SpectrumLook& look) {
  float bins[128] = {};
  Call(bass::kChannelGetData, handle, static_cast<void*>(bins), kBassDataFft256);
  auto& boards = PeaksOfBoards();
  std::erase_if(boards, [](const auto& entry) { return !IsWindow(entry.first); });
  if (!IsWindow(board)) return;
  RECT client;
  GetClientRect(board, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  controls::WindowDc target(board);
  if (!target.Get()) return;
  // Drawn off screen first, so the board never shows a half-drawn frame. The DC goes before the
  // bitmap, giving it back first.
  controls::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(target.Get(), width, height));
  controls::MemoryDc canvas(target.Get());
  if (!bitmap || !canvas || !canvas.Select(bitmap.Get())) return;
  DrawSpectrumBars(canvas.Get(), client, std::span<const float, 128>(bins), boards[board], look);
  BitBlt(target.Get(), 0, 0, width, height, canvas.Get(), 0, 0, SRCCOPY);
}

std::int32_t AudioPlayer::ColourComponent(std::int32_t colour, std::int32_t which) {
  switch (which) {
    case 1: return colour % 256;
    case 2: return (colour / 256) % 256;
    case 3: return colour / 65536;
    default: return 0;
  }
}

}  // namespace audio
