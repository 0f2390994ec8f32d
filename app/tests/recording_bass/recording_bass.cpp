// A bass.dll that plays nothing and writes one line per call to the file named by SB_BASS_LOG,
// so a test can compare the board's calls with the order it relies on. Lines look like
//   BASS_Init -1 44100 0 0 0
//   BASS_StreamCreateFile 0 C:\board\data\music\群众笑声.mp3 0 0 0
// (texts as the caller passed them, floats in %g, pointers as 0 or "ptr").
// Its answers come from the environment:
//   SB_BASS_DEVICE      what BASS_GetDevice returns (default 1; 0 makes the board use its fixed list)
//   SB_BASS_DEVICES     names of devices 1..5 joined by "|"; an empty name makes that device fail
//                       (default "Speakers|Line out")
//   SB_BASS_INIT_FAIL   devices whose BASS_Init fails, joined by "," (default none)
// Stream handles count up from 1; a file that does not exist gives 0.
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define EXPORT extern "C" __declspec(dllexport)

namespace {

using Qword = std::uint64_t;

std::string Environment(const char* name, const char* fallback) {
  char value[1024];
  const DWORD size = GetEnvironmentVariableA(name, value, sizeof value);
  if (size == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return fallback;
  if (size >= sizeof value) return fallback;
  return std::string(value, size);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

void Log(const std::string& line) {
  const std::string path = Environment("SB_BASS_LOG", "");
  if (path.empty()) return;
  // Opened per line: the board may be killed by a failing test, the log must still be whole.
  if (FILE* file = std::fopen(path.c_str(), "ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

std::string Number(long long value) { return std::to_string(value); }
std::string Unsigned(Qword value) { return std::to_string(value); }
std::string Float(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}
std::string Pointer(const void* pointer) { return pointer ? "ptr" : "0"; }

DWORD nextStream = 1;
std::array<std::string, 5> deviceNames;

}  // namespace

EXPORT BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD flags, HWND window, const void* clsid) {
  Log("BASS_Init " + Number(device) + " " + Unsigned(freq) + " " + Unsigned(flags) + " " +
      Unsigned(reinterpret_cast<std::uintptr_t>(window)) + " " + Pointer(clsid));
  for (const std::string& failing : Split(Environment("SB_BASS_INIT_FAIL", ""), ',')) {
    if (!failing.empty() && std::atoi(failing.c_str()) == device) return FALSE;
  }
  return TRUE;
}

EXPORT BOOL WINAPI BASS_Free() {
  Log("BASS_Free");
  return TRUE;
}

EXPORT DWORD WINAPI BASS_GetDevice() {
  Log("BASS_GetDevice");
  return static_cast<DWORD>(std::atoi(Environment("SB_BASS_DEVICE", "1").c_str()));
}

struct DeviceInfo {
  const char* name;
  const char* driver;
  DWORD flags;
};

EXPORT BOOL WINAPI BASS_GetDeviceInfo(DWORD device, DeviceInfo* info) {
  Log("BASS_GetDeviceInfo " + Unsigned(device) + " " + Pointer(info));
  const std::vector<std::string> names = Split(Environment("SB_BASS_DEVICES", "Speakers|Line out"), '|');
  if (device < 1 || device > 5 || device > names.size() || names[device - 1].empty() || !info) return FALSE;
  // The board keeps the name pointer, so it has to outlive the call.
  deviceNames[device - 1] = names[device - 1];
  info->name = deviceNames[device - 1].c_str();
  info->driver = "";
  info->flags = 1;
  return TRUE;
}

EXPORT DWORD WINAPI BASS_StreamCreateFile(BOOL memory, const void* file, Qword offset, Qword length, DWORD flags) {
  const std::string source = memory ? Pointer(file) : (file ? static_cast<const char*>(file) : "(null)");
  Log("BASS_StreamCreateFile " + Number(memory) + " " + source + " " + Unsigned(offset) + " " + Unsigned(length) +
      " " + Unsigned(flags));
  if (!memory && (!file || GetFileAttributesA(static_cast<const char*>(file)) == INVALID_FILE_ATTRIBUTES)) return 0;
  return nextStream++;
}

EXPORT DWORD WINAPI BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, void* proc, void* user) {
  Log("BASS_StreamCreateURL " + std::string(url ? url : "(null)") + " " + Unsigned(offset) + " " + Unsigned(flags) +
      " " + Pointer(proc) + " " + Pointer(user));
  return 0;
}

EXPORT BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart) {
  Log("BASS_ChannelPlay " + Unsigned(handle) + " " + Number(restart));
  return handle != 0;
}

EXPORT BOOL WINAPI BASS_ChannelPause(DWORD handle) {
  Log("BASS_ChannelPause " + Unsigned(handle));
  return handle != 0;
}

EXPORT BOOL WINAPI BASS_ChannelStop(DWORD handle) {
  Log("BASS_ChannelStop " + Unsigned(handle));
  return handle != 0;
}

EXPORT Qword WINAPI BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
  Log("BASS_ChannelGetPosition " + Unsigned(handle) + " " + Unsigned(mode));
  return 0;
}

EXPORT BOOL WINAPI BASS_ChannelSetPosition(DWORD handle, Qword position, DWORD mode) {
  Log("BASS_ChannelSetPosition " + Unsigned(handle) + " " + Unsigned(position) + " " + Unsigned(mode));
  return handle != 0;
}

EXPORT BOOL WINAPI BASS_StreamFree(DWORD handle) {
  Log("BASS_StreamFree " + Unsigned(handle));
  return handle != 0;
}

EXPORT Qword WINAPI BASS_ChannelGetLength(DWORD handle, DWORD mode) {
  Log("BASS_ChannelGetLength " + Unsigned(handle) + " " + Unsigned(mode));
  return 0;
}

EXPORT const char* WINAPI BASS_ChannelGetTags(DWORD handle, DWORD tags) {
  Log("BASS_ChannelGetTags " + Unsigned(handle) + " " + Unsigned(tags));
  return nullptr;
}

EXPORT DWORD WINAPI BASS_ChannelIsActive(DWORD handle) {
  Log("BASS_ChannelIsActive " + Unsigned(handle));
  return 0;
}

EXPORT DWORD WINAPI BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
  Log("BASS_ChannelGetData " + Unsigned(handle) + " " + Pointer(buffer) + " " + Unsigned(length));
  return static_cast<DWORD>(-1);
}

EXPORT BOOL WINAPI BASS_SetVolume(float volume) {
  Log("BASS_SetVolume " + Float(volume));
  return TRUE;
}

EXPORT float WINAPI BASS_GetVolume() {
  Log("BASS_GetVolume");
  return 1.0f;
}

EXPORT BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attribute, float value) {
  Log("BASS_ChannelSetAttribute " + Unsigned(handle) + " " + Unsigned(attribute) + " " + Float(value));
  return handle != 0;
}

EXPORT BOOL WINAPI BASS_ChannelGetAttribute(DWORD handle, DWORD attribute, float* value) {
  Log("BASS_ChannelGetAttribute " + Unsigned(handle) + " " + Unsigned(attribute) + " " + Pointer(value));
  if (value) *value = 1.0f;
  return handle != 0;
}

EXPORT double WINAPI BASS_ChannelBytes2Seconds(DWORD handle, Qword bytes) {
  Log("BASS_ChannelBytes2Seconds " + Unsigned(handle) + " " + Unsigned(bytes));
  return 0.0;
}

EXPORT Qword WINAPI BASS_ChannelSeconds2Bytes(DWORD handle, double seconds) {
  Log("BASS_ChannelSeconds2Bytes " + Unsigned(handle) + " " + Float(seconds));
  return 0;
}
