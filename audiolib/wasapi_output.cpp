#include "wasapi_output.h"

#include <initguid.h>
#include <audioclient.h>
#include <avrt.h>
#include <ksmedia.h>
#include <mmreg.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <mutex>
#include <string>
#include <syn123.h>
#include <thread>
#include <vector>

#include "text_win32.h"
#include "win32_owners.h"

namespace audiolib {
namespace {

using clock_type = std::chrono::steady_clock;

// Where the engine's period cannot be chosen: twice the usual 10 ms period, room for one late
// wake-up without a gap.
constexpr REFERENCE_TIME buffer_duration = 200000;
// While the endpoint is gone: how often the streams' clock ticks, and how often it is tried again.
constexpr DWORD clock_period_ms = 10;
constexpr auto retry_interval = std::chrono::milliseconds(500);

// The sample encoding the endpoint's mix format asks for; 0 when we cannot write it.
int encoding_of(const WAVEFORMATEX& format) {
    WORD tag = format.wFormatTag;
    if (tag == WAVE_FORMAT_EXTENSIBLE && format.cbSize >= 22) {
        const auto& extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format);
        if (IsEqualGUID(extensible.SubFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT)) tag = WAVE_FORMAT_IEEE_FLOAT;
        else if (IsEqualGUID(extensible.SubFormat, KSDATAFORMAT_SUBTYPE_PCM)) tag = WAVE_FORMAT_PCM;
    }
    if (tag == WAVE_FORMAT_IEEE_FLOAT && format.wBitsPerSample == 32) return MPG123_ENC_FLOAT_32;
    if (tag == WAVE_FORMAT_PCM) {
        switch (format.wBitsPerSample) {
        case 16: return MPG123_ENC_SIGNED_16;
        case 24: return MPG123_ENC_SIGNED_24;
        case 32: return MPG123_ENC_SIGNED_32;
        }
    }
    return 0;
}

// The output's own format as float, for an endpoint whose mix format is another one.
WAVEFORMATEXTENSIBLE float_format(OutputFormat format) {
    WAVEFORMATEXTENSIBLE own {};
    own.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    own.Format.nChannels = static_cast<WORD>(format.channels);
    own.Format.nSamplesPerSec = static_cast<DWORD>(format.rate);
    own.Format.wBitsPerSample = 32;
    own.Format.nBlockAlign = static_cast<WORD>(format.channels * 4);
    own.Format.nAvgBytesPerSec = own.Format.nSamplesPerSec * own.Format.nBlockAlign;
    own.Format.cbSize = sizeof own - sizeof own.Format;
    own.Samples.wValidBitsPerSample = 32;
    own.dwChannelMask = format.channels == 1 ? SPEAKER_FRONT_CENTER
                        : format.channels == 2 ? SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT
                                               : 0;
    own.SubFormat = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
    return own;
}

class WasapiOutput final : public Output {
public:
    // follow_default: the system's default endpoint, whichever it is at the time (endpoint when there is none).
    WasapiOutput(std::shared_ptr<SystemEndpoints> endpoints, std::wstring endpoint, bool follow_default,
                 RenderCallback render)
        : endpoints_(std::move(endpoints)), endpoint_(std::move(endpoint)), follow_default_(follow_default),
          render_(std::move(render)) {}

    // Opening happens on the output thread, so the caller's COM apartment is never touched.
    bool start() {
        stop_event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        wake_event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!stop_event_ || !wake_event_) return false;
        std::future<bool> opened = opened_.get_future();
        thread_ = std::thread([this] { run(); });
        if (opened.get()) return true;
        thread_.join();
        return false;
    }

    ~WasapiOutput() override {
        if (thread_.joinable()) {
            SetEvent(stop_event_.get());
            thread_.join();
        }
    }

    OutputFormat format() const override { return format_; }
    void wake() override { SetEvent(wake_event_.get()); }
    long period_frames() const override { return period_frames_; }

private:
    std::wstring target() const {
        if (!follow_default_) return endpoint_;
        std::wstring id = endpoints_->default_id();
        return id.empty() ? endpoint_ : id;
    }

    // A client on the target endpoint, its buffer filled and started. The first opening sets the
    // output's format for good: the streams convert to it.
    bool open_client() {
        std::wstring id = target();
        ComPtr<IAudioClient> client;
        ComPtr<IAudioRenderClient> renderer;
        WAVEFORMATEX* raw_format = nullptr;
        if (id.empty() || FAILED(endpoints_->activate(id, client.put())) || FAILED(client->GetMixFormat(&raw_format)))
            return false;
        CoTaskMemPtr<WAVEFORMATEX> mix(raw_format);
        if (format_.rate == 0) format_ = {static_cast<long>(mix->nSamplesPerSec), static_cast<int>(mix->nChannels)};
        DWORD flags = AUDCLNT_STREAMFLAGS_EVENTCALLBACK | AUDCLNT_STREAMFLAGS_NOPERSIST;
        const WAVEFORMATEX* chosen = mix.get();
        int encoding = encoding_of(*mix);
        WAVEFORMATEXTENSIBLE own;
        if (encoding == 0 || static_cast<long>(mix->nSamplesPerSec) != format_.rate || mix->nChannels != format_.channels) {
            // Another endpoint than the first (the default moved), or its setting changed: the system converts.
            own = float_format(format_);
            chosen = &own.Format;
            encoding = MPG123_ENC_FLOAT_32;
            flags |= AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM | AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY;
        }
        UINT32 frames = 0;
        long period = 0;
        // The engine's smallest shared period where the system offers a choice (Windows 10 on);
        // only for the mix format itself, which that way of opening requires.
        if (chosen == mix.get()) period = initialize_at_smallest_period(client, id, chosen);
        if (period == 0) {
            REFERENCE_TIME usual = 0, least = 0;
            if (!client || FAILED(client->Initialize(AUDCLNT_SHAREMODE_SHARED, flags, buffer_duration, 0, chosen, nullptr)))
                return false;
            if (SUCCEEDED(client->GetDevicePeriod(&usual, &least))) period = static_cast<long>(usual * format_.rate / 10000000);
        }
        if (FAILED(client->SetEventHandle(buffer_event_.get())) || FAILED(client->GetBufferSize(&frames)) ||
            FAILED(client->GetService(__uuidof(IAudioRenderClient), renderer.put_void())))
            return false;
        period_frames_ = period;
        client_ = std::move(client);
        renderer_ = std::move(renderer);
        open_id_ = std::move(id);
        encoding_ = encoding;
        frame_bytes_ = chosen->nBlockAlign;
        buffer_frames_ = frames;
        // Sized here, so filling never allocates.
        mix_.resize(static_cast<size_t>(buffer_frames_) * static_cast<size_t>(format_.channels));
        silent_frames_ = 0;
        if (!fill() || FAILED(client_->Start())) {
            close_client();
            return false;
        }
        return true;
    }

    // Opens client at the engine's smallest period; that period in frames, or 0 when the system
    // offers no choice, in which case client is a fresh one for the usual way of opening.
    long initialize_at_smallest_period(ComPtr<IAudioClient>& client, const std::wstring& id, const WAVEFORMATEX* format) {
        ComPtr<IAudioClient3> client3;
        UINT32 usual = 0, step = 0, least = 0, most = 0;
        if (FAILED(client->QueryInterface(__uuidof(IAudioClient3), client3.put_void())) ||
            FAILED(client3->GetSharedModeEnginePeriod(format, &usual, &step, &least, &most)) || least == 0)
            return 0;
        if (SUCCEEDED(client3->InitializeSharedAudioStream(AUDCLNT_STREAMFLAGS_EVENTCALLBACK, least, format, nullptr)))
            return static_cast<long>(least);
        // A client whose initialisation failed cannot be initialised again.
        client3.reset();
        if (FAILED(endpoints_->activate(id, client.put()))) client.reset();
        return 0;
    }

    // Releasing the client, not only stopping it, ends the system's own periodic work for it too.
    void close_client() {
        if (client_) client_->Stop();
        renderer_.reset();
        client_.reset();
    }

    // Hands the device as many frames as it has room for; false when the device failed.
    bool fill() {
        UINT32 padding = 0;
        if (FAILED(client_->GetCurrentPadding(&padding))) return false;
        UINT32 frames = buffer_frames_ - padding;
        if (frames == 0) return true;
        BYTE* data = nullptr;
        if (FAILED(renderer_->GetBuffer(frames, &data))) return false;
        bool playing = false;
        try {
            playing = render_(mix_.data(), frames, format_.channels);
        } catch (...) {
            // Out of memory while mixing: this period stays silent, the next one tries again.
            return SUCCEEDED(renderer_->ReleaseBuffer(frames, AUDCLNT_BUFFERFLAGS_SILENT));
        }
        silent_frames_ = playing ? 0 : silent_frames_ + frames;
        size_t samples = static_cast<size_t>(frames) * static_cast<size_t>(format_.channels);
        if (encoding_ == MPG123_ENC_FLOAT_32) {
            syn123_clip(mix_.data(), MPG123_ENC_FLOAT_32, samples);
            std::memcpy(data, mix_.data(), samples * sizeof(float));
        } else {
            syn123_conv(data, encoding_, static_cast<size_t>(frames) * frame_bytes_, mix_.data(), MPG123_ENC_FLOAT_32,
                        samples * sizeof(float), nullptr, nullptr, nullptr);
        }
        return SUCCEEDED(renderer_->ReleaseBuffer(frames, 0));
    }

    // Once a whole buffer of silence went out, everything that sounded has been heard.
    bool drained() const { return silent_frames_ >= buffer_frames_; }

    // The endpoint cannot be had: from now on the streams go on by the clock.
    void start_clock() {
        clocked_ = true;
        clock_start_ = clock_type::now();
        clock_taken_ = 0;
        last_retry_ = clock_start_;
    }

    // On the clock: the frames due by now are rendered and dropped, so positions move in real
    // time; the endpoint is tried again every so often. Once nothing plays the clock stops, and
    // the next play tries the endpoint first.
    void tick() {
        auto now = clock_type::now();
        auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(now - clock_start_).count();
        int64_t due = elapsed * format_.rate / 1000000 - clock_taken_;
        bool playing = true;
        while (due > 0) {
            size_t frames = std::min<size_t>(static_cast<size_t>(due), mix_.size() / static_cast<size_t>(format_.channels));
            try {
                playing = render_(mix_.data(), frames, format_.channels);
            } catch (...) {
            }
            clock_taken_ += static_cast<int64_t>(frames);
            due -= static_cast<int64_t>(frames);
        }
        if (!playing) {
            clocked_ = false;
            return;
        }
        if (now - last_retry_ >= retry_interval) {
            last_retry_ = now;
            if (open_client()) clocked_ = false;
        }
    }

    // Endpoints came or went, or the default moved.
    void changed() {
        if (client_) {
            if (follow_default_ && target() != open_id_) {
                close_client(); // what the old endpoint still held is not heard: the move is immediate
                if (!open_client()) start_clock();
            }
        } else if (clocked_ && open_client()) {
            clocked_ = false;
        }
    }

    void run() {
        ComApartment apartment;
        buffer_event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        changed_event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        // Opening a client once tells the caller at once whether the device can play at all.
        bool ok = apartment.ok() && buffer_event_ && changed_event_ && open_client();
        opened_.set_value(ok);
        if (!ok) return;
        auto watch = endpoints_->watch(changed_event_.get());
        DWORD task = 0;
        HANDLE mmcss = AvSetMmThreadCharacteristicsW(L"Audio", &task);
        for (;;) {
            if (client_ && drained()) close_client();
            HANDLE waits[4] = {stop_event_.get(), wake_event_.get(), changed_event_.get(), buffer_event_.get()};
            // No timeout unless the clock runs: with the client closed and nothing on the clock
            // this thread sleeps until a play, a change of endpoints or the end.
            DWORD woke = WaitForMultipleObjects(client_ ? 4 : 3, waits, FALSE, clocked_ ? clock_period_ms : INFINITE);
            if (woke == WAIT_OBJECT_0) break;
            if (woke == WAIT_OBJECT_0 + 2) {
                changed();
            } else if (woke == WAIT_OBJECT_0 + 3) {
                if (!fill()) {
                    close_client(); // invalidated: the device went away, or its format was changed
                    start_clock();
                }
            } else if (woke == WAIT_OBJECT_0 + 1 && !client_ && !clocked_ && !open_client()) {
                start_clock();
            }
            if (clocked_) tick();
        }
        close_client();
        watch.reset();
        if (mmcss) AvRevertMmThreadCharacteristics(mmcss);
    }

    std::shared_ptr<SystemEndpoints> endpoints_;
    std::wstring endpoint_;
    bool follow_default_;
    RenderCallback render_;
    OutputFormat format_;
    int encoding_ = 0;
    size_t frame_bytes_ = 0;
    UINT32 buffer_frames_ = 0;
    std::atomic<long> period_frames_{0};
    UINT32 silent_frames_ = 0; // handed over since the last block in which something played
    std::vector<float> mix_;
    std::wstring open_id_;
    ComPtr<IAudioClient> client_;
    ComPtr<IAudioRenderClient> renderer_;
    bool clocked_ = false;
    clock_type::time_point clock_start_, last_retry_;
    int64_t clock_taken_ = 0;
    EventHandle buffer_event_;
    EventHandle changed_event_;
    EventHandle stop_event_;
    EventHandle wake_event_;
    std::promise<bool> opened_;
    std::thread thread_;
};

class WasapiBackend final : public Backend {
public:
    explicit WasapiBackend(std::shared_ptr<SystemEndpoints> endpoints) : endpoints_(std::move(endpoints)) {}

    std::vector<Endpoint> endpoints() override {
        std::vector<SystemEndpoints::Listed> listed;
        // On a thread of our own, so the caller's COM apartment stays as it was.
        std::thread([&] {
            ComApartment apartment;
            if (apartment.ok()) listed = endpoints_->list();
        }).join();
        std::vector<Endpoint> list;
        std::vector<std::wstring> ids;
        for (auto& entry : listed) {
            list.push_back({std::move(entry.name), ansi_from_wide(entry.id.c_str())});
            ids.push_back(std::move(entry.id));
        }
        std::lock_guard lock(mutex_);
        ids_ = std::move(ids);
        return list;
    }

    std::unique_ptr<Output> open(size_t index, long, RenderCallback render) override {
        std::wstring id;
        {
            std::lock_guard lock(mutex_);
            if (index >= ids_.size()) return nullptr;
            id = ids_[index];
        }
        // Device 1 is the default output: whichever endpoint that is at the time.
        auto output = std::make_unique<WasapiOutput>(endpoints_, std::move(id), index == 0, std::move(render));
        if (!output->start()) return nullptr;
        return output;
    }

    std::string local_text(const std::string& utf8) const override { return ansi_from_utf8(utf8); }

private:
    std::shared_ptr<SystemEndpoints> endpoints_;
    std::mutex mutex_;
    std::vector<std::wstring> ids_;
};

} // namespace

std::unique_ptr<Backend> make_wasapi_backend(std::shared_ptr<SystemEndpoints> endpoints) {
    return std::make_unique<WasapiBackend>(std::move(endpoints));
}

} // namespace audiolib
