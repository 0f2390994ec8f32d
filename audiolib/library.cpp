#include "library.h"

#include <cmath>
#include <new>

#include "decoder.h"

namespace audiolib {

struct Library::Session {
    ~Session() { wakeup->connect(nullptr); } // before the output goes: streams may outlive it
    int device = 0;
    Mixer mixer;                    // before output: the output thread renders from it until it is joined
    std::unique_ptr<Output> output;
    OutputFormat format;
    std::shared_ptr<Wakeup> wakeup = std::make_shared<Wakeup>();
};

Library::Library(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {}

Library::~Library() { free(); }

const char* Library::keep(const std::string& text) { return texts_.insert(text).first->c_str(); }

void Library::refresh_devices_locked(bool force) {
    auto now = std::chrono::steady_clock::now();
    // A device list is asked for device by device; one look at the system serves a burst of calls.
    if (!force && devices_known_ && now - devices_read_ < std::chrono::seconds(1)) return;
    std::vector<DeviceRecord> devices;
    for (const auto& endpoint : backend_->endpoints()) devices.push_back({keep(endpoint.name), keep(endpoint.driver)});
    devices_ = std::move(devices);
    devices_read_ = now;
    devices_known_ = true;
}

bool Library::init(int device, long frequency) {
    std::lock_guard lock(mutex_);
    if (session_) return false;
    if (device == -1) device = 1;
    if (device < 0) return false;
    if (frequency <= 0) frequency = 44100;
    auto session = std::make_unique<Session>();
    session->device = device;
    Mixer* mixer = &session->mixer;
    RenderCallback render = [mixer](float* out, size_t frames, int channels) { return mixer->render(out, frames, channels); };
    if (device == 0) {
        session->output = open_null_output(frequency, 2, std::move(render));
    } else {
        refresh_devices_locked(true);
        if (static_cast<size_t>(device) > devices_.size()) return false;
        session->output = backend_->open(static_cast<size_t>(device - 1), frequency, std::move(render));
    }
    if (!session->output) return false;
    session->format = session->output->format();
    session->wakeup->connect(session->output.get());
    session_ = std::move(session);
    return true;
}

bool Library::free() {
    std::unique_ptr<Session> session;
    std::map<uint32_t, std::shared_ptr<Stream>> streams;
    {
        std::lock_guard lock(mutex_);
        if (!session_) return false;
        session = std::move(session_);
        streams.swap(streams_);
    }
    // Joined and released outside the lock, so other threads' calls fail fast meanwhile.
    session.reset();
    return true;
}

int Library::current_device() const {
    std::lock_guard lock(mutex_);
    return session_ ? session_->device : -1;
}

bool Library::device_info(int device, DeviceInfo& info) {
    std::lock_guard lock(mutex_);
    int open = session_ ? session_->device : -1;
    if (device == 0) {
        info = {keep("No sound"), keep(""), device_enabled | (open == 0 ? device_open : 0u)};
        return true;
    }
    if (device < 0) return false;
    refresh_devices_locked(false);
    if (static_cast<size_t>(device) > devices_.size()) return false;
    const DeviceRecord& record = devices_[static_cast<size_t>(device - 1)];
    info = {record.name, record.driver,
            device_enabled | (device == 1 ? device_default : 0u) | (open == device ? device_open : 0u)};
    return true;
}

uint32_t Library::create_stream(std::unique_ptr<ByteSource> source) {
    if (!source) return 0;
    std::lock_guard lock(mutex_);
    if (!session_) return 0;
    auto decoder = open_decoder(std::move(source));
    if (!decoder) return 0;
    std::string title = backend_->local_text(decoder->title());
    auto stream = std::make_shared<Stream>(std::move(decoder), session_->format.rate, session_->format.channels,
                                           std::move(title), session_->wakeup);
    if (++next_handle_ == 0) ++next_handle_;
    uint32_t handle = next_handle_;
    streams_.emplace(handle, stream);
    session_->mixer.add(std::move(stream));
    return handle;
}

bool Library::free_stream(uint32_t handle) {
    std::shared_ptr<Stream> stream;
    {
        std::lock_guard lock(mutex_);
        auto found = streams_.find(handle);
        if (found == streams_.end()) return false;
        stream = std::move(found->second);
        streams_.erase(found);
        session_->mixer.remove(stream.get());
    }
    return true; // the decoder and its file close here, outside the lock
}

std::shared_ptr<Stream> Library::stream(uint32_t handle) const {
    std::lock_guard lock(mutex_);
    auto found = streams_.find(handle);
    return found == streams_.end() ? nullptr : found->second;
}

bool Library::set_master_volume(float volume) {
    if (!std::isfinite(volume) || volume < 0.0f || volume > 1.0f) return false;
    std::lock_guard lock(mutex_);
    if (!session_) return false;
    session_->mixer.set_gain(volume);
    return true;
}

float Library::master_volume() const {
    std::lock_guard lock(mutex_);
    return session_ ? session_->mixer.gain() : -1.0f;
}

} // namespace audiolib
