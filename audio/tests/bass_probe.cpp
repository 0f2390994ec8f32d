// A stand-in bass.dll for the player's tests: it records every call it gets and answers with
// values that show what the player does with them. Built twice; the "partial" one lacks
// BASS_ChannelPause, like an older library would.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {
std::string calls;

void Record(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  calls += line;
  calls += '\n';
}
}  // namespace

#define PROBE_EXPORT extern "C" __declspec(dllexport)
using Qword = std::uint64_t;

PROBE_EXPORT const char* ProbeCalls() { return calls.c_str(); }
PROBE_EXPORT void ProbeReset() { calls.clear(); }

PROBE_EXPORT BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD flags, HWND window, const void* clsid) {
  Record("Init(%d,%lu,%lu,%p,%p)", device, freq, flags, static_cast<void*>(window), clsid);
  return device != 99;
}
PROBE_EXPORT BOOL WINAPI BASS_Free() {
  Record("Free()");
  return TRUE;
}
PROBE_EXPORT DWORD WINAPI BASS_GetDevice() { return 1; }
PROBE_EXPORT BOOL WINAPI BASS_GetDeviceInfo(DWORD, void*) { return FALSE; }
PROBE_EXPORT DWORD WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, Qword offset, Qword length, DWORD flags) {
  if (mem) {
    std::string head(static_cast<const char*>(file), length < 4 ? static_cast<size_t>(length) : 4);
    Record("StreamCreateFile(1,%s,%llx,%llu,%lu)", head.c_str(), offset, length, flags);
    return 0x1002;
  }
  Record("StreamCreateFile(0,%s,%llx,%llu,%lu)", static_cast<const char*>(file), offset, length, flags);
  return 0x1001;
}
PROBE_EXPORT DWORD WINAPI BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, void* proc, void* user) {
  Record("StreamCreateURL(%s,%lu,%lu,%p,%p)", url, offset, flags, proc, user);
  return 0x1003;
}
PROBE_EXPORT BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart) {
  Record("ChannelPlay(%lx,%d)", handle, restart);
  return handle == 0x1001;
}
#ifndef PROBE_PARTIAL
PROBE_EXPORT BOOL WINAPI BASS_ChannelPause(DWORD handle) {
  Record("ChannelPause(%lx)", handle);
  return TRUE;
}
#endif
PROBE_EXPORT BOOL WINAPI BASS_ChannelStop(DWORD handle) {
  Record("ChannelStop(%lx)", handle);
  return TRUE;
}
PROBE_EXPORT Qword WINAPI BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
  Record("ChannelGetPosition(%lx,%lu)", handle, mode);
  return 0x0000000500000007ull;
}
PROBE_EXPORT BOOL WINAPI BASS_ChannelSetPosition(DWORD handle, Qword position, DWORD mode) {
  Record("ChannelSetPosition(%lx,%llx,%lu)", handle, position, mode);
  return TRUE;
}
PROBE_EXPORT Qword WINAPI BASS_ChannelGetLength(DWORD handle, DWORD mode) {
  Record("ChannelGetLength(%lx,%lu)", handle, mode);
  return 0xFFFFFFFF80000010ull;
}
PROBE_EXPORT const char* WINAPI BASS_ChannelGetTags(DWORD handle, DWORD tags) {
  Record("ChannelGetTags(%lx,%lu)", handle, tags);
  return handle == 0x1001 ? "群众笑声" : nullptr;
}
PROBE_EXPORT DWORD WINAPI BASS_ChannelIsActive(DWORD handle) {
  Record("ChannelIsActive(%lx)", handle);
  return 3;
}
PROBE_EXPORT BOOL WINAPI BASS_StreamFree(DWORD handle) {
  Record("StreamFree(%lx)", handle);
  return handle != 0;
}
PROBE_EXPORT DWORD WINAPI BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
  Record("ChannelGetData(%lx,%lx)", handle, length);
  auto* bins = static_cast<float*>(buffer);
  for (int i = 0; i < 128; ++i) bins[i] = static_cast<float>(i) / 128.0f;
  return 512;
}
PROBE_EXPORT BOOL WINAPI BASS_SetVolume(float volume) {
  Record("SetVolume(%.2f)", volume);
  return TRUE;
}
PROBE_EXPORT float WINAPI BASS_GetVolume() { return 0.25f; }
PROBE_EXPORT BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attribute, float value) {
  Record("ChannelSetAttribute(%lx,%lu,%.2f)", handle, attribute, value);
  return TRUE;
}
PROBE_EXPORT BOOL WINAPI BASS_ChannelGetAttribute(DWORD handle, DWORD attribute, float* value) {
  Record("ChannelGetAttribute(%lx,%lu)", handle, attribute);
  *value = 0.75f;
  return TRUE;
}
PROBE_EXPORT double WINAPI BASS_ChannelBytes2Seconds(DWORD handle, Qword bytes) {
  Record("ChannelBytes2Seconds(%lx,%llu)", handle, bytes);
  return static_cast<double>(bytes) / 1000.0;
}
PROBE_EXPORT Qword WINAPI BASS_ChannelSeconds2Bytes(DWORD handle, double seconds) {
  Record("ChannelSeconds2Bytes(%lx,%.3f)", handle, seconds);
  return 0x300000000ull + static_cast<Qword>(seconds * 1000.0);
}
