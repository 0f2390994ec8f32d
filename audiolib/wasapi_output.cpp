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
        if (!stop_event_) return false;
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

private:
    bool open(ComPtr<IAudioClient>& client, ComPtr<IAudioRenderClient>& renderer, HANDLE buffer_event) {
        ComPtr<IMMDeviceEnumerator> enumerator;
        ComPtr<IMMDevice> device;
        if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                    enumerator.put_void())) ||
            FAILED(enumerator->GetDevice(endpoint_.c_str(), device.put())) ||
            FAILED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, client.put_void())))
            return false;
        WAVEFORMATEX* raw_format = nullptr;
        if (FAILED(client->GetMixFormat(&raw_format))) return false;
        CoTaskMemPtr<WAVEFORMATEX> mix(raw_format);
        encoding_ = encoding_of(*mix);
        if (encoding_ == 0 || mix->nChannels == 0) return false;
        format_ = {static_cast<long>(mix->nSamplesPerSec), static_cast<int>(mix->nChannels)};
        frame_bytes_ = mix->nBlockAlign;
        if (FAILED(client->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK | AUDCLNT_STREAMFLAGS_NOPERSIST,
                                      buffer_duration, 0, mix.get(), nullptr)) ||
            FAILED(client->SetEventHandle(buffer_event)) || FAILED(client->GetBufferSize(&buffer_frames_)) ||
            FAILED(client->GetService(__uuidof(IAudioRenderClient), renderer.put_void())))
            return false;
        mix_.resize(static_cast<size_t>(buffer_frames_) * static_cast<size_t>(format_.channels));
        return fill(client.get(), renderer.get()) && SUCCEEDED(client->Start());
    }

    // Hands the device as many frames as it has room for.
    bool fill(IAudioClient* client, IAudioRenderClient* renderer) {
        UINT32 padding = 0;
        if (FAILED(client->GetCurrentPadding(&padding))) return false;
        UINT32 frames = buffer_frames_ - padding;
        if (frames == 0) return true;
        BYTE* data = nullptr;
        if (FAILED(renderer->GetBuffer(frames, &data))) return false;
        try {
            render_(mix_.data(), frames, format_.channels);
        } catch (...) {
            // Out of memory while mixing: this period stays silent, the next one tries again.
            return SUCCEEDED(renderer->ReleaseBuffer(frames, AUDCLNT_BUFFERFLAGS_SILENT));
        }
        size_t samples = static_cast<size_t>(frames) * static_cast<size_t>(format_.channels);
        if (encoding_ == MPG123_ENC_FLOAT_32) {
            syn123_clip(mix_.data(), MPG123_ENC_FLOAT_32, samples);
            std::memcpy(data, mix_.data(), samples * sizeof(float));
        } else {
            syn123_conv(data, encoding_, static_cast<size_t>(frames) * frame_bytes_, mix_.data(), MPG123_ENC_FLOAT_32,
                        samples * sizeof(float), nullptr, nullptr, nullptr);
        }
        return SUCCEEDED(renderer->ReleaseBuffer(frames, 0));
    }

    void run() {
        ComApartment apartment;
        EventHandle buffer_event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        ComPtr<IAudioClient> client;
        ComPtr<IAudioRenderClient> renderer;
        bool ok = apartment.ok() && buffer_event && open(client, renderer, buffer_event.get());
        opened_.set_value(ok);
        if (!ok) return;
        DWORD task = 0;
        HANDLE mmcss = AvSetMmThreadCharacteristicsW(L"Audio", &task);
        HANDLE waits[2] = {stop_event_.get(), buffer_event.get()};
        bool device_ok = true;
        for (;;) {
            DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 1000);
            if (woke == WAIT_OBJECT_0) break;
            // A device that went away is not retried; the thread only waits to be stopped.
            if (woke == WAIT_OBJECT_0 + 1 && device_ok) device_ok = fill(client.get(), renderer.get());
            if (!device_ok) waits[1] = stop_event_.get();
        }
        client->Stop();
        if (mmcss) AvRevertMmThreadCharacteristics(mmcss);
    }

    std::wstring endpoint_;
    RenderCallback render_;
    OutputFormat format_;
    int encoding_ = 0;
    size_t frame_bytes_ = 0;
    UINT32 buffer_frames_ = 0;
    std::vector<float> mix_;
    EventHandle stop_event_;
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
