#include "system_endpoints.h"

#include <initguid.h>
#include <functiondiscoverykeys_devpkey.h>
#include <mmdeviceapi.h>

#include <atomic>
#include <new>

#include "text_win32.h"
#include "win32_owners.h"

namespace audiolib {
namespace {

struct PropVariantOwner {
    PROPVARIANT value;
    PropVariantOwner() { PropVariantInit(&value); }
    ~PropVariantOwner() { PropVariantClear(&value); }
};

std::wstring id_of(IMMDevice* device) {
    LPWSTR raw = nullptr;
    if (FAILED(device->GetId(&raw))) return {};
    CoTaskMemPtr<wchar_t> id(raw);
    return id.get();
}

std::string name_of(IMMDevice* device) {
    ComPtr<IPropertyStore> properties;
    PropVariantOwner name;
    if (FAILED(device->OpenPropertyStore(STGM_READ, properties.put())) ||
        FAILED(properties->GetValue(PKEY_Device_FriendlyName, &name.value)) || name.value.vt != VT_LPWSTR)
        return "Output";
    return ansi_from_wide(name.value.pwszVal);
}

HRESULT make_enumerator(ComPtr<IMMDeviceEnumerator>& enumerator) {
    return CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                            enumerator.put_void());
}

// Called by the system on a thread of its own; it only sets the event.
class ChangeListener final : public IMMNotificationClient {
public:
    explicit ChangeListener(HANDLE event) : event_(event) {}
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this; // COM's own reference counting owns this object
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMMNotificationClient)) {
            *out = static_cast<IMMNotificationClient*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return changed(); }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return changed(); }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return changed(); }
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
        return flow == eRender && role == eConsole ? changed() : S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

private:
    HRESULT changed() {
        SetEvent(event_);
        return S_OK;
    }
    HANDLE event_;
    std::atomic<ULONG> references_{1};
};

class Registration final : public SystemEndpoints::Watch {
public:
    Registration(ComPtr<IMMDeviceEnumerator>&& enumerator, IMMNotificationClient* listener)
        : enumerator_(std::move(enumerator)), listener_(listener) {}
    ~Registration() override {
        enumerator_->UnregisterEndpointNotificationCallback(listener_);
        listener_->Release();
    }

private:
    ComPtr<IMMDeviceEnumerator> enumerator_;
    IMMNotificationClient* listener_;
};

class Endpoints final : public SystemEndpoints {
public:
    std::vector<Listed> list() override {
        std::vector<Listed> listed;
        ComPtr<IMMDeviceEnumerator> enumerator;
        ComPtr<IMMDeviceCollection> collection;
        UINT count = 0;
        if (FAILED(make_enumerator(enumerator)) ||
            FAILED(enumerator->EnumAudioEndpoints(eRender, DEVICE_STATE_ACTIVE, collection.put())) ||
            FAILED(collection->GetCount(&count)))
            return listed;
        std::wstring default_endpoint = default_id();
        for (UINT i = 0; i < count; ++i) {
            ComPtr<IMMDevice> device;
            if (FAILED(collection->Item(i, device.put()))) continue;
            std::wstring id = id_of(device.get());
            if (id.empty()) continue;
            Listed entry{id, name_of(device.get())};
            if (id == default_endpoint) listed.insert(listed.begin(), std::move(entry));
            else listed.push_back(std::move(entry));
        }
        return listed;
    }

    std::wstring default_id() override {
        ComPtr<IMMDeviceEnumerator> enumerator;
        ComPtr<IMMDevice> device;
        if (FAILED(make_enumerator(enumerator)) ||
            FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.put())))
            return {};
        return id_of(device.get());
    }

    HRESULT activate(const std::wstring& id, IAudioClient** client) override {
        ComPtr<IMMDeviceEnumerator> enumerator;
        ComPtr<IMMDevice> device;
        HRESULT result = make_enumerator(enumerator);
        if (SUCCEEDED(result)) result = enumerator->GetDevice(id.c_str(), device.put());
        if (SUCCEEDED(result)) {
            DWORD state = 0;
            if (SUCCEEDED(device->GetState(&state)) && state != DEVICE_STATE_ACTIVE) return AUDCLNT_E_DEVICE_INVALIDATED;
            result = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(client));
        }
        return result;
    }

    std::unique_ptr<Watch> watch(HANDLE event) override {
        ComPtr<IMMDeviceEnumerator> enumerator;
        if (FAILED(make_enumerator(enumerator))) return nullptr;
        auto* listener = new (std::nothrow) ChangeListener(event);
        if (!listener) return nullptr;
        if (FAILED(enumerator->RegisterEndpointNotificationCallback(listener))) {
            listener->Release();
            return nullptr;
        }
        return std::make_unique<Registration>(std::move(enumerator), listener);
    }
};

} // namespace

std::shared_ptr<SystemEndpoints> make_system_endpoints() { return std::make_shared<Endpoints>(); }

} // namespace audiolib
