#pragma once
// The BASS functions the program declares, bound by name from "bass.dll" at their first call
// (looked for in the DLL search directory, "plugins", first). They take the table's indices
// 500 to 522.
#include <windows.h>

#include <cstdint>

#include "runtime/dll_command_table.h"

namespace audio {

using StreamHandle = DWORD;
using Qword = std::uint64_t;

// What BASS_GetDeviceInfo fills; the board reads only the name.
struct BassDeviceInfo {
  const char* name;
  const char* driver;
  DWORD flags;
};

inline constexpr DWORD kBassPosByte = 0;
inline constexpr DWORD kBassAttribVolume = 2;
inline constexpr DWORD kBassDataFft256 = 0x80000000u;

namespace bass {
using runtime::DllCommand;
inline constexpr char kLibrary[] = "bass.dll";

inline constexpr DllCommand<BOOL(int, DWORD, DWORD, HWND, const void*)> kInit{500, kLibrary, "BASS_Init"};
inline constexpr DllCommand<BOOL()> kFree{501, kLibrary, "BASS_Free"};
// The device number, or -1 when no output is open: read signed, as the channel list compares it.
inline constexpr DllCommand<int()> kGetDevice{502, kLibrary, "BASS_GetDevice"};
inline constexpr DllCommand<BOOL(DWORD, BassDeviceInfo*)> kGetDeviceInfo{503, kLibrary, "BASS_GetDeviceInfo"};
// Declared twice: once for a file name, once for a block of memory.
inline constexpr DllCommand<StreamHandle(BOOL, const char*, Qword, Qword, DWORD)> kStreamCreateFile{
    504, kLibrary, "BASS_StreamCreateFile"};
inline constexpr DllCommand<StreamHandle(BOOL, const void*, Qword, Qword, DWORD)> kStreamCreateMemory{
    505, kLibrary, "BASS_StreamCreateFile"};
inline constexpr DllCommand<StreamHandle(const char*, DWORD, DWORD, void*, void*)> kStreamCreateUrl{
    506, kLibrary, "BASS_StreamCreateURL"};
inline constexpr DllCommand<BOOL(DWORD, BOOL)> kChannelPlay{507, kLibrary, "BASS_ChannelPlay"};
inline constexpr DllCommand<BOOL(DWORD)> kChannelPause{508, kLibrary, "BASS_ChannelPause"};
inline constexpr DllCommand<BOOL(DWORD)> kChannelStop{509, kLibrary, "BASS_ChannelStop"};
inline constexpr DllCommand<Qword(DWORD, DWORD)> kChannelGetPosition{510, kLibrary, "BASS_ChannelGetPosition"};
inline constexpr DllCommand<BOOL(DWORD, Qword, DWORD)> kChannelSetPosition{511, kLibrary, "BASS_ChannelSetPosition"};
inline constexpr DllCommand<BOOL(StreamHandle)> kStreamFree{512, kLibrary, "BASS_StreamFree"};
inline constexpr DllCommand<Qword(DWORD, DWORD)> kChannelGetLength{513, kLibrary, "BASS_ChannelGetLength"};
inline constexpr DllCommand<const char*(DWORD, DWORD)> kChannelGetTags{514, kLibrary, "BASS_ChannelGetTags"};
inline constexpr DllCommand<DWORD(DWORD)> kChannelIsActive{515, kLibrary, "BASS_ChannelIsActive"};
inline constexpr DllCommand<DWORD(DWORD, void*, DWORD)> kChannelGetData{516, kLibrary, "BASS_ChannelGetData"};
inline constexpr DllCommand<BOOL(float)> kSetVolume{517, kLibrary, "BASS_SetVolume"};
inline constexpr DllCommand<float()> kGetVolume{518, kLibrary, "BASS_GetVolume"};
inline constexpr DllCommand<BOOL(DWORD, DWORD, float)> kChannelSetAttribute{519, kLibrary, "BASS_ChannelSetAttribute"};
inline constexpr DllCommand<BOOL(DWORD, DWORD, float*)> kChannelGetAttribute{520, kLibrary, "BASS_ChannelGetAttribute"};
inline constexpr DllCommand<double(DWORD, Qword)> kChannelBytes2Seconds{521, kLibrary, "BASS_ChannelBytes2Seconds"};
inline constexpr DllCommand<Qword(DWORD, double)> kChannelSeconds2Bytes{522, kLibrary, "BASS_ChannelSeconds2Bytes"};
}  // namespace bass

}  // namespace audio
