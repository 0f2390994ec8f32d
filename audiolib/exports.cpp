// The exported calls. Every one may be called from any thread at any time; each takes the
// library's lock only briefly and never waits on the device, except BASS_Init and BASS_Free,
// which open and close it. No exception leaves this file: a failure is the call's failure value.
#define SB_BUILDING_BASS
#include "bass_api.h"

#include <cstring>
#include <limits>
#include <memory>
#include <mutex>

#include "byte_source.h"
#include "library.h"
#include "wasapi_output.h"

namespace {

constexpr BassQword failed_count = ~BassQword{0};

std::once_flag created;
std::unique_ptr<audiolib::Library> instance;

audiolib::Library& library() {
    std::call_once(created, [] { instance = std::make_unique<audiolib::Library>(audiolib::make_wasapi_backend()); });
    return *instance;
}

template <class Result, class Call>
Result guarded(Result failure, Call call) noexcept {
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

std::shared_ptr<audiolib::Stream> stream_of(BassHandle handle) { return library().stream(handle); }

// Once an output thread may exist, the library must stay mapped until the process ends.
void pin_module() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&pin_module), &module);
}

BassQword count_or_failed(int64_t value) { return value < 0 ? failed_count : static_cast<BassQword>(value); }

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
    // At process exit our threads are already gone and joining them would hang: let the OS reclaim.
    if (reason == DLL_PROCESS_DETACH && reserved) (void)instance.release();
    return TRUE;
}

extern "C" {

// Opens device (-1 = 1, the default output; 0 = silent). Fails while a device is open.
// Any thread; waits while the device opens.
BASS_EXPORT int BASS_CALL BASS_Init(int device, uint32_t freq, uint32_t, void*, const void*) {
    return guarded(FALSE, [&] {
        long frequency = freq > 384000 ? 0 : static_cast<long>(freq);
        if (!library().init(device, frequency)) return FALSE;
        pin_module();
        return TRUE;
    });
}

// Closes the output and frees every stream; their handles fail from now on.
// Any thread; waits for the output thread to end (one period at most).
BASS_EXPORT int BASS_CALL BASS_Free(void) {
    return guarded(FALSE, [] { return library().free() ? TRUE : FALSE; });
}

// Any thread; never waits on the device.
BASS_EXPORT uint32_t BASS_CALL BASS_GetDevice(void) {
    return guarded(0xFFFFFFFFu, [] { return static_cast<uint32_t>(library().current_device()); });
}

// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_GetDeviceInfo(uint32_t device, BassDeviceInfo* info) {
    return guarded(FALSE, [&] {
        audiolib::DeviceInfo found;
        if (!info || device > 0x7FFFFFFFu || !library().device_info(static_cast<int>(device), found)) return FALSE;
        info->name = found.name;
        info->driver = found.driver;
        info->flags = found.flags;
        return TRUE;
    });
}

// From a file (name in the ANSI code page; length 0 = to its end) or from memory, which is
// copied, so the caller's block may go as soon as this returns.
// Any thread; never waits on the device.
BASS_EXPORT BassHandle BASS_CALL BASS_StreamCreateFile(int mem, const void* file, BassQword offset, BassQword length,
                                                      uint32_t) {
    return guarded(BassHandle{0}, [&]() -> BassHandle {
        constexpr BassQword most = static_cast<BassQword>(std::numeric_limits<int64_t>::max());
        if (!file || offset > most || length > most || library().current_device() < 0) return 0;
        std::unique_ptr<audiolib::ByteSource> source;
        if (mem) {
            if (length == 0 || length > std::numeric_limits<size_t>::max()) return 0;
            source = audiolib::make_memory_source(static_cast<const char*>(file) + offset, static_cast<size_t>(length));
        } else {
            source = audiolib::open_file_source(static_cast<const char*>(file), static_cast<int64_t>(offset),
                                                static_cast<int64_t>(length));
        }
        return library().create_stream(std::move(source));
    });
}

// Internet streams are not offered.
// Any thread; never waits on the device.
BASS_EXPORT BassHandle BASS_CALL BASS_StreamCreateURL(const char*, uint32_t, uint32_t, void*, void*) { return 0; }

// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_StreamFree(BassHandle handle) {
    return guarded(FALSE, [&] { return library().free_stream(handle) ? TRUE : FALSE; });
}

// restart: from the start; otherwise on from where it was stopped or paused.
// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_ChannelPlay(BassHandle handle, int restart) {
    return guarded(FALSE, [&] {
        auto stream = stream_of(handle);
        return stream && stream->play(restart != 0) ? TRUE : FALSE;
    });
}

// Fails when the channel is not playing.
// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_ChannelPause(BassHandle handle) {
    return guarded(FALSE, [&] {
        auto stream = stream_of(handle);
        return stream && stream->pause() ? TRUE : FALSE;
    });
}

// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_ChannelStop(BassHandle handle) {
    return guarded(FALSE, [&] {
        auto stream = stream_of(handle);
        return stream && stream->stop() ? TRUE : FALSE;
    });
}

// Any thread; never waits on the device.
BASS_EXPORT uint32_t BASS_CALL BASS_ChannelIsActive(BassHandle handle) {
    return guarded(uint32_t{bass_active_stopped}, [&] {
        auto stream = stream_of(handle);
        return stream ? static_cast<uint32_t>(stream->state()) : uint32_t{bass_active_stopped};
    });
}

// Any thread; never waits on the device.
BASS_EXPORT BassQword BASS_CALL BASS_ChannelGetPosition(BassHandle handle, uint32_t mode) {
    return guarded(failed_count, [&] {
        auto stream = stream_of(handle);
        return stream && mode == bass_pos_byte ? count_or_failed(stream->position_bytes()) : failed_count;
    });
}

// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_ChannelSetPosition(BassHandle handle, BassQword position, uint32_t mode) {
    return guarded(FALSE, [&] {
        auto stream = stream_of(handle);
        return stream && mode == bass_pos_byte && position <= static_cast<BassQword>(std::numeric_limits<int64_t>::max()) &&
                       stream->set_position_bytes(static_cast<int64_t>(position))
                   ? TRUE
                   : FALSE;
    });
}

// Any thread; never waits on the device.
BASS_EXPORT BassQword BASS_CALL BASS_ChannelGetLength(BassHandle handle, uint32_t mode) {
    return guarded(failed_count, [&] {
        auto stream = stream_of(handle);
        return stream && mode == bass_pos_byte ? count_or_failed(stream->length_bytes()) : failed_count;
    });
}

// Any thread; never waits on the device.
BASS_EXPORT double BASS_CALL BASS_ChannelBytes2Seconds(BassHandle handle, BassQword bytes) {
    return guarded(-1.0, [&] {
        auto stream = stream_of(handle);
        return stream ? stream->bytes_to_seconds(static_cast<int64_t>(bytes & 0x7FFFFFFFFFFFFFFFull)) : -1.0;
    });
}

// Any thread; never waits on the device.
BASS_EXPORT BassQword BASS_CALL BASS_ChannelSeconds2Bytes(BassHandle handle, double seconds) {
    return guarded(failed_count, [&] {
        auto stream = stream_of(handle);
        return stream ? count_or_failed(stream->seconds_to_bytes(seconds)) : failed_count;
    });
}

// tags 0: the title text (ANSI code page), valid while the stream exists; NULL without one.
// Any thread; never waits on the device.
BASS_EXPORT const char* BASS_CALL BASS_ChannelGetTags(BassHandle handle, uint32_t tags) {
    return guarded(static_cast<const char*>(nullptr), [&]() -> const char* {
        auto stream = stream_of(handle);
        if (!stream || tags != 0 || stream->title().empty()) return nullptr;
        return stream->title().c_str();
    });
}

// Only the 256-point FFT: 128 magnitudes of the last samples played; the result is the byte count written.
// Any thread; never waits on the device.
BASS_EXPORT uint32_t BASS_CALL BASS_ChannelGetData(BassHandle handle, void* buffer, uint32_t length) {
    return guarded(0xFFFFFFFFu, [&] {
        auto stream = stream_of(handle);
        if (!stream || !buffer || length != bass_data_fft256) return 0xFFFFFFFFu;
        auto bins = stream->spectrum();
        std::memcpy(buffer, bins.data(), sizeof bins);
        return static_cast<uint32_t>(sizeof bins);
    });
}

// Only the volume: 0 silent, 1 as recorded.
// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_ChannelSetAttribute(BassHandle handle, uint32_t attribute, float value) {
    return guarded(FALSE, [&] {
        auto stream = stream_of(handle);
        return stream && attribute == bass_attrib_vol && stream->set_volume(value) ? TRUE : FALSE;
    });
}

// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_ChannelGetAttribute(BassHandle handle, uint32_t attribute, float* value) {
    return guarded(FALSE, [&] {
        auto stream = stream_of(handle);
        if (!stream || attribute != bass_attrib_vol || !value) return FALSE;
        *value = stream->volume();
        return TRUE;
    });
}

// The level of everything this library plays on the open output, 0..1.
// Any thread; never waits on the device.
BASS_EXPORT int BASS_CALL BASS_SetVolume(float volume) {
    return guarded(FALSE, [&] { return library().set_master_volume(volume) ? TRUE : FALSE; });
}

// Any thread; never waits on the device.
BASS_EXPORT float BASS_CALL BASS_GetVolume(void) {
    return guarded(-1.0f, [] { return library().master_volume(); });
}

} // extern "C"
