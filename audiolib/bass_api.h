#pragma once
// The calls bass.dll exports, as its callers declare them. Handles are 32-bit, positions and
// lengths 64-bit byte counts of the decoded format (16-bit samples at the source's rate and
// channels). Failures: FALSE, handle 0, or all bits set for counts and positions.

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#define BASS_CALL WINAPI
#ifdef SB_BUILDING_BASS
#define BASS_EXPORT __declspec(dllexport)
#else
#define BASS_EXPORT __declspec(dllimport)
#endif
#else
#define BASS_CALL
#define BASS_EXPORT
#endif

extern "C" {

typedef uint32_t BassHandle;
typedef uint64_t BassQword;

struct BassDeviceInfo {
    const char* name;   // ANSI code page, owned by the library, valid until the process ends
    const char* driver;
    uint32_t flags;     // bass_device_*
};

enum : uint32_t {
    bass_device_enabled = 1,
    bass_device_default = 2,
    bass_device_init = 4,
    bass_pos_byte = 0,
    bass_attrib_vol = 2,
    bass_data_fft256 = 0x80000000u,
    bass_active_stopped = 0,
    bass_active_playing = 1,
    bass_active_stalled = 2,
    bass_active_paused = 3,
};

BASS_EXPORT int BASS_CALL BASS_Init(int device, uint32_t freq, uint32_t flags, void* window, const void* clsid);
BASS_EXPORT int BASS_CALL BASS_Free(void);
BASS_EXPORT uint32_t BASS_CALL BASS_GetDevice(void);
BASS_EXPORT int BASS_CALL BASS_GetDeviceInfo(uint32_t device, BassDeviceInfo* info);
BASS_EXPORT BassHandle BASS_CALL BASS_StreamCreateFile(int mem, const void* file, BassQword offset, BassQword length,
                                                      uint32_t flags);
BASS_EXPORT BassHandle BASS_CALL BASS_StreamCreateURL(const char* url, uint32_t offset, uint32_t flags, void* proc,
                                                     void* user);
BASS_EXPORT int BASS_CALL BASS_StreamFree(BassHandle handle);
BASS_EXPORT int BASS_CALL BASS_ChannelPlay(BassHandle handle, int restart);
BASS_EXPORT int BASS_CALL BASS_ChannelPause(BassHandle handle);
BASS_EXPORT int BASS_CALL BASS_ChannelStop(BassHandle handle);
BASS_EXPORT uint32_t BASS_CALL BASS_ChannelIsActive(BassHandle handle);
BASS_EXPORT BassQword BASS_CALL BASS_ChannelGetPosition(BassHandle handle, uint32_t mode);
BASS_EXPORT int BASS_CALL BASS_ChannelSetPosition(BassHandle handle, BassQword position, uint32_t mode);
BASS_EXPORT BassQword BASS_CALL BASS_ChannelGetLength(BassHandle handle, uint32_t mode);
BASS_EXPORT double BASS_CALL BASS_ChannelBytes2Seconds(BassHandle handle, BassQword bytes);
BASS_EXPORT BassQword BASS_CALL BASS_ChannelSeconds2Bytes(BassHandle handle, double seconds);
BASS_EXPORT const char* BASS_CALL BASS_ChannelGetTags(BassHandle handle, uint32_t tags);
BASS_EXPORT uint32_t BASS_CALL BASS_ChannelGetData(BassHandle handle, void* buffer, uint32_t length);
BASS_EXPORT int BASS_CALL BASS_ChannelSetAttribute(BassHandle handle, uint32_t attribute, float value);
BASS_EXPORT int BASS_CALL BASS_ChannelGetAttribute(BassHandle handle, uint32_t attribute, float* value);
BASS_EXPORT int BASS_CALL BASS_SetVolume(float volume);
BASS_EXPORT float BASS_CALL BASS_GetVolume(void);

} // extern "C"
