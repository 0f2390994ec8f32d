#include "wasapi_output.h"

#include <initguid.h>
#include <audioclient.h>
#include <avrt.h>
#include <functiondiscoverykeys_devpkey.h>
#include <mmdeviceapi.h>
#include <mmreg.h>

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

// Twice the usual 10 ms period: room for one late wake-up without a gap.
constexpr REFERENCE_TIME buffer_duration = 200000;

struct PropVariantOwner {
    PROPVARIANT value;
    PropVariantOwner() { PropVariantInit(&value); }
    ~PropVariantOwner() { PropVariantClear(&value); }
};

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

class WasapiOutput final : public Output {
public:
    WasapiOutput(std::wstring endpoint, RenderCallback render) : endpoint_(std::move(endpoint)), render_(std::move(render)) {}

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

private:
    // The endpoint and its mix format; the audio client itself is opened only while something plays.
    bool find_device() {
        ComPtr<IMMDeviceEnumerator> enumerator;
        ComPtr<IAudioClient> client;
        if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                    enumerator.put_void())) ||
            FAILED(enumerator->GetDevice(endpoint_.c_str(), device_.put())) ||
            FAILED(device_->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, client.put_void())))
            return false;
        WAVEFORMATEX* raw_format = nullptr;
        if (FAILED(client->GetMixFormat(&raw_format))) return false;
        mix_format_.reset(raw_format);
        encoding_ = encoding_of(*mix_format_);
        if (encoding_ == 0 || mix_format_->nChannels == 0) return false;
        format_ = {static_cast<long>(mix_format_->nSamplesPerSec), static_cast<int>(mix_format_->nChannels)};
        frame_bytes_ = mix_format_->nBlockAlign;
        return true;
    }

    // A client on the endpoint, its buffer filled and started.
    bool open_client() {
        if (FAILED(device_->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, client_.put_void())) ||
            FAILED(client_->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK | AUDCLNT_STREAMFLAGS_NOPERSIST,
                                       buffer_duration, 0, mix_format_.get(), nullptr)) ||
            FAILED(client_->SetEventHandle(buffer_event_.get())) || FAILED(client_->GetBufferSize(&buffer_frames_)) ||
            FAILED(client_->GetService(__uuidof(IAudioRenderClient), renderer_.put_void()))) {
            close_client();
            return false;
        }
        mix_.resize(static_cast<size_t>(buffer_frames_) * static_cast<size_t>(format_.channels));
        silent_frames_ = 0;
        if (!fill() || FAILED(client_->Start())) {
            close_client();
            return false;
        }
        return true;
    }

    // Releasing the client, not only stopping it, ends the system's own periodic work for it too.
    void close_client() {
        if (client_) client_->Stop();
        renderer_.reset();
        client_.reset();
    }

    // Hands the device as many frames as it has room for.
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

    void run() {
        ComApartment apartment;
        buffer_event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        // Opening a client once tells the caller at once whether the device can play at all.
        bool ok = apartment.ok() && buffer_event_ && find_device() && open_client();
        opened_.set_value(ok);
        if (!ok) {
            device_.reset(); // COM objects go on the thread whose apartment made them
            return;
        }
        DWORD task = 0;
        HANDLE mmcss = AvSetMmThreadCharacteristicsW(L"Audio", &task);
        bool device_ok = true;
        for (;;) {
            if (client_ && drained()) close_client();
            HANDLE waits[3] = {stop_event_.get(), wake_event_.get(), buffer_event_.get()};
            // No timeout: with the client closed nothing wakes this thread but a play or the end.
            DWORD woke = WaitForMultipleObjects(client_ ? 3 : 2, waits, FALSE, INFINITE);
            if (woke == WAIT_OBJECT_0) break;
            // A device that went away is not retried; the thread only waits to be stopped.
            if (!device_ok) continue;
            if (client_) device_ok = fill();
            else if (woke == WAIT_OBJECT_0 + 1) device_ok = open_client();
            if (!device_ok) close_client();
        }
        close_client();
        device_.reset();
        if (mmcss) AvRevertMmThreadCharacteristics(mmcss);
    }

    std::wstring endpoint_;
    RenderCallback render_;
    OutputFormat format_;
    int encoding_ = 0;
    size_t frame_bytes_ = 0;
    UINT32 buffer_frames_ = 0;
    UINT32 silent_frames_ = 0; // handed over since the last block in which something played
    std::vector<float> mix_;
    ComPtr<IMMDevice> device_;
    CoTaskMemPtr<WAVEFORMATEX> mix_format_;
    ComPtr<IAudioClient> client_;
    ComPtr<IAudioRenderClient> renderer_;
    EventHandle buffer_event_;
    EventHandle stop_event_;
    EventHandle wake_event_;
    std::promise<bool> opened_;
    std::thread thread_;
};

class WasapiBackend final : public Backend {
public:
    std::vector<Endpoint> endpoints() override {
        std::vector<Endpoint> list;
        std::vector<std::wstring> ids;
        // On a thread of our own, so the caller's COM apartment stays as it was.
        std::thread([&] {
            ComApartment apartment;
            ComPtr<IMMDeviceEnumerator> enumerator;
            if (!apartment.ok() || FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                                           __uuidof(IMMDeviceEnumerator), enumerator.put_void())))
                return;
            std::wstring default_id;
            ComPtr<IMMDevice> default_device;
            if (SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, default_device.put())))
                default_id = id_of(default_device.get());
            ComPtr<IMMDeviceCollection> collection;
            UINT count = 0;
            if (FAILED(enumerator->EnumAudioEndpoints(eRender, DEVICE_STATE_ACTIVE, collection.put())) ||
                FAILED(collection->GetCount(&count)))
                return;
            std::vector<Endpoint> others;
            std::vector<std::wstring> other_ids;
            for (UINT i = 0; i < count; ++i) {
                ComPtr<IMMDevice> device;
                if (FAILED(collection->Item(i, device.put()))) continue;
                std::wstring id = id_of(device.get());
                if (id.empty()) continue;
                Endpoint endpoint{name_of(device.get()), ansi_from_wide(id.c_str())};
                if (id == default_id) {
                    list.insert(list.begin(), std::move(endpoint));
                    ids.insert(ids.begin(), id);
                } else {
                    others.push_back(std::move(endpoint));
                    other_ids.push_back(id);
                }
            }
            // Without an active default the first other endpoint becomes device 1.
            list.insert(list.end(), others.begin(), others.end());
            ids.insert(ids.end(), other_ids.begin(), other_ids.end());
        }).join();
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
        auto output = std::make_unique<WasapiOutput>(std::move(id), std::move(render));
        if (!output->start()) return nullptr;
        return output;
    }

    std::string local_text(const std::string& utf8) const override { return ansi_from_utf8(utf8); }

private:
    static std::wstring id_of(IMMDevice* device) {
        LPWSTR raw = nullptr;
        if (FAILED(device->GetId(&raw))) return {};
        CoTaskMemPtr<wchar_t> id(raw);
        return id.get();
    }
    static std::string name_of(IMMDevice* device) {
        ComPtr<IPropertyStore> properties;
        PropVariantOwner name;
        if (FAILED(device->OpenPropertyStore(STGM_READ, properties.put())) ||
            FAILED(properties->GetValue(PKEY_Device_FriendlyName, &name.value)) || name.value.vt != VT_LPWSTR)
            return "Output";
        return ansi_from_wide(name.value.pwszVal);
    }

    std::mutex mutex_;
    std::vector<std::wstring> ids_;
};

} // namespace

std::unique_ptr<Backend> make_wasapi_backend() { return std::make_unique<WasapiBackend>(); }

} // namespace audiolib
