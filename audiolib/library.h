#pragma once
// The library's state behind the exported calls: the device list, the open output with its
// mixer, and the stream handles. Every member is safe to call from any thread; none waits on
// the device except opening and closing it.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "byte_source.h"
#include "mixer.h"
#include "output.h"
#include "stream.h"

namespace audiolib {

constexpr uint32_t device_enabled = 1;
constexpr uint32_t device_default = 2;
constexpr uint32_t device_open = 4;

// The system's outputs; on Windows WASAPI, in tests a fake.
class Backend {
public:
    struct Endpoint {
        std::string name;   // texts in the code page callers read them in
        std::string driver;
    };
    virtual ~Backend() = default;
    // Active outputs, the system's default first, then the others in the system's order.
    virtual std::vector<Endpoint> endpoints() = 0;
    // Opens the endpoint at this index of the last endpoints() list; null when it cannot.
    virtual std::unique_ptr<Output> open(size_t index, long frequency, RenderCallback render) = 0;
    // Tag texts arrive as UTF-8; callers get them in their own code page.
    virtual std::string local_text(const std::string& utf8) const = 0;
};

struct DeviceInfo {
    const char* name = nullptr;
    const char* driver = nullptr;
    uint32_t flags = 0;
};

class Library {
public:
    explicit Library(std::unique_ptr<Backend> backend);
    ~Library();

    // device -1 is the default output (1); 0 is the silent output.
    bool init(int device, long frequency);
    bool free();
    int current_device() const; // -1 when closed
    // Texts stay valid for the library's lifetime.
    bool device_info(int device, DeviceInfo& info);

    uint32_t create_stream(std::unique_ptr<ByteSource> source); // 0 on failure
    bool free_stream(uint32_t handle);
    std::shared_ptr<Stream> stream(uint32_t handle) const;

    bool set_master_volume(float volume);
    float master_volume() const; // -1 when closed

private:
    struct Session;
    void refresh_devices_locked(bool force);
    const char* keep(const std::string& text);

    mutable std::mutex mutex_;
    std::unique_ptr<Backend> backend_;
    std::set<std::string> texts_; // never shrinks, so handed-out names stay valid
    struct DeviceRecord {
        const char* name;
        const char* driver;
    };
    std::vector<DeviceRecord> devices_; // device 1 at index 0
    std::chrono::steady_clock::time_point devices_read_ {};
    bool devices_known_ = false;
    std::unique_ptr<Session> session_;
    std::map<uint32_t, std::shared_ptr<Stream>> streams_;
    uint32_t next_handle_ = 0x10000; // handles only grow, so a stale one never names a newer stream
};

} // namespace audiolib
