#pragma once
// The system's render endpoints as the WASAPI output sees them: listed, the default, opened by
// id, and watched for changes. The output goes through this and nothing else, so the tests can
// put endpoints that vanish and come back, or a default that moves, underneath it.
// Every member is called from a thread in the multithreaded COM apartment.

#include <windows.h>
#include <audioclient.h>

#include <memory>
#include <string>
#include <vector>

namespace audiolib {

class SystemEndpoints {
public:
    struct Listed {
        std::wstring id;
        std::string name; // ANSI code page
    };
    // Stops the watch when it goes.
    class Watch {
    public:
        virtual ~Watch() = default;
    };

    virtual ~SystemEndpoints() = default;
    // Active endpoints, the default first when it is active, then the others in the system's order.
    virtual std::vector<Listed> list() = 0;
    // Empty when there is none.
    virtual std::wstring default_id() = 0;
    // A fresh client on the endpoint; a failure (AUDCLNT_E_DEVICE_INVALIDATED, E_NOTFOUND) once it is gone.
    virtual HRESULT activate(const std::wstring& id, IAudioClient** client) = 0;
    // Sets event whenever an endpoint comes, goes, changes state or becomes the default; null
    // when the system cannot tell.
    virtual std::unique_ptr<Watch> watch(HANDLE event) = 0;
};

std::shared_ptr<SystemEndpoints> make_system_endpoints();

} // namespace audiolib
