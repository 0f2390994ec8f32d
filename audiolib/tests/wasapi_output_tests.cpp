// The WASAPI output under Wine: it sleeps while nothing plays and wakes for a play; endpoints
// that vanish, come back or become the default, put under it by a fault-injecting endpoint list.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "capture.h"
#include "library.h"
#include "test_support.h"
#include "wasapi_output.h"
#include "win32_owners.h"

namespace audiolib {
namespace {

using namespace std::chrono_literals;
using clock_type = std::chrono::steady_clock;

// WASAPI underneath; counts the blocks the output thread asks for and notes the first that sounded.
class CountingBackend final : public Backend {
public:
    explicit CountingBackend(std::unique_ptr<Backend> inner = make_wasapi_backend()) : inner_(std::move(inner)) {}
    std::vector<Endpoint> endpoints() override { return inner_->endpoints(); }
    std::unique_ptr<Output> open(size_t index, long frequency, RenderCallback render) override {
        auto output = inner_->open(index, frequency, [this, render](float* out, size_t frames, int channels) {
            bool playing = render(out, frames, channels);
            ++blocks;
            for (size_t i = 0; i < frames * static_cast<size_t>(channels) && !sounded; ++i)
                if (out[i] != 0.0f) sounded = true;
            return playing;
        });
        last_output = output.get();
        return output;
    }
    std::string local_text(const std::string& utf8) const override { return inner_->local_text(utf8); }

    std::atomic<int> blocks{0};
    std::atomic<bool> sounded{false};
    Output* last_output = nullptr;

private:
    std::unique_ptr<Backend> inner_;
};

// What the tests do to one endpoint, and what its clients saw.
struct EndpointState {
    std::atomic<bool> gone{false};
    std::atomic<int> fills{0};             // buffer questions answered while present
    std::atomic<UINT32> least_period{0};   // offered through IAudioClient3; 0: that interface is not offered
    std::atomic<bool> refuse_period{false}; // opening at an engine period fails
    std::atomic<UINT32> asked_period{0};   // what the client was opened at through IAudioClient3
};

// A real client that fails as an unplugged device's does once its endpoint is gone.
class FaultyClient final : public IAudioClient3 {
public:
    FaultyClient(IAudioClient* real, std::shared_ptr<EndpointState> state) : real_(real), state_(std::move(state)) {}
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this; // COM reference counting owns it
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IAudioClient) ||
            (state_->least_period && (iid == __uuidof(IAudioClient2) || iid == __uuidof(IAudioClient3)))) {
            *out = static_cast<IAudioClient3*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Initialize(AUDCLNT_SHAREMODE mode, DWORD flags, REFERENCE_TIME duration,
                                         REFERENCE_TIME periodicity, const WAVEFORMATEX* format, LPCGUID session) override {
        return gone() ? invalidated : real_->Initialize(mode, flags, duration, periodicity, format, session);
    }
    HRESULT STDMETHODCALLTYPE GetBufferSize(UINT32* frames) override { return real_->GetBufferSize(frames); }
    HRESULT STDMETHODCALLTYPE GetStreamLatency(REFERENCE_TIME* latency) override { return real_->GetStreamLatency(latency); }
    HRESULT STDMETHODCALLTYPE GetCurrentPadding(UINT32* padding) override {
        if (gone()) return invalidated;
        ++state_->fills;
        return real_->GetCurrentPadding(padding);
    }
    HRESULT STDMETHODCALLTYPE IsFormatSupported(AUDCLNT_SHAREMODE mode, const WAVEFORMATEX* format,
                                                WAVEFORMATEX** closest) override {
        return real_->IsFormatSupported(mode, format, closest);
    }
    HRESULT STDMETHODCALLTYPE GetMixFormat(WAVEFORMATEX** format) override { return real_->GetMixFormat(format); }
    HRESULT STDMETHODCALLTYPE GetDevicePeriod(REFERENCE_TIME* usual, REFERENCE_TIME* least) override {
        return real_->GetDevicePeriod(usual, least);
    }
    HRESULT STDMETHODCALLTYPE Start() override { return gone() ? invalidated : real_->Start(); }
    HRESULT STDMETHODCALLTYPE Stop() override { return real_->Stop(); }
    HRESULT STDMETHODCALLTYPE Reset() override { return real_->Reset(); }
    HRESULT STDMETHODCALLTYPE SetEventHandle(HANDLE event) override { return real_->SetEventHandle(event); }
    HRESULT STDMETHODCALLTYPE GetService(REFIID iid, void** out) override {
        return gone() ? invalidated : real_->GetService(iid, out);
    }
    // The engine periods a newer system offers: the usual 10 ms, down to least_period frames.
    HRESULT STDMETHODCALLTYPE IsOffloadCapable(AUDIO_STREAM_CATEGORY, BOOL* capable) override {
        *capable = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetClientProperties(const AudioClientProperties*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetBufferSizeLimits(const WAVEFORMATEX*, BOOL, REFERENCE_TIME*, REFERENCE_TIME*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSharedModeEnginePeriod(const WAVEFORMATEX* format, UINT32* usual, UINT32* step,
                                                        UINT32* least, UINT32* most) override {
        *usual = *most = format->nSamplesPerSec / 100;
        *step = *least = state_->least_period;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentSharedModeEnginePeriod(WAVEFORMATEX**, UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitializeSharedAudioStream(DWORD flags, UINT32 period, const WAVEFORMATEX* format,
                                                          LPCGUID session) override {
        if (state_->refuse_period) return AUDCLNT_E_ENGINE_PERIODICITY_LOCKED;
        state_->asked_period = period;
        return real_->Initialize(AUDCLNT_SHAREMODE_SHARED, flags, 0, 0, format, session);
    }

private:
    static constexpr HRESULT invalidated = AUDCLNT_E_DEVICE_INVALIDATED;
    ~FaultyClient() { real_->Release(); }
    bool gone() const { return state_->gone; }
    IAudioClient* real_;
    std::shared_ptr<EndpointState> state_;
    std::atomic<ULONG> references_{1};
};

// The system's endpoints, except that the test can take one away, bring it back, or make another the default.
class FaultyEndpoints final : public SystemEndpoints {
public:
    std::vector<Listed> list() override {
        std::vector<Listed> listed;
        std::wstring first = default_id();
        for (auto& entry : real_->list()) {
            if (state(entry.id)->gone) continue;
            if (entry.id == first) listed.insert(listed.begin(), std::move(entry));
            else listed.push_back(std::move(entry));
        }
        return listed;
    }
    std::wstring default_id() override {
        std::lock_guard lock(mutex_);
        return default_.empty() ? real_->default_id() : default_;
    }
    HRESULT activate(const std::wstring& id, IAudioClient** client) override {
        auto endpoint = state(id);
        if (endpoint->gone) return AUDCLNT_E_DEVICE_INVALIDATED;
        IAudioClient* real = nullptr;
        HRESULT result = real_->activate(id, &real);
        if (FAILED(result)) return result;
        *client = new FaultyClient(real, endpoint); // released by the output like any client
        return S_OK;
    }
    std::unique_ptr<Watch> watch(HANDLE event) override {
        std::lock_guard lock(mutex_);
        watchers_.push_back(event);
        return std::make_unique<Unwatch>(*this, event);
    }

    std::shared_ptr<EndpointState> state(const std::wstring& id) {
        std::lock_guard lock(mutex_);
        auto& entry = states_[id];
        if (!entry) entry = std::make_shared<EndpointState>();
        return entry;
    }
    // tell: whether the watchers hear of it (a system may not tell).
    void set_gone(const std::wstring& id, bool gone, bool tell) {
        state(id)->gone = gone;
        if (tell) notify();
    }
    void make_default(const std::wstring& id) {
        {
            std::lock_guard lock(mutex_);
            default_ = id;
        }
        notify();
    }

private:
    struct Unwatch final : Watch {
        Unwatch(FaultyEndpoints& owner, HANDLE event) : owner(owner), event(event) {}
        ~Unwatch() override {
            std::lock_guard lock(owner.mutex_);
            std::erase(owner.watchers_, event);
        }
        FaultyEndpoints& owner;
        HANDLE event;
    };
    void notify() {
        std::lock_guard lock(mutex_);
        for (HANDLE event : watchers_) SetEvent(event);
    }

    std::shared_ptr<SystemEndpoints> real_ = make_system_endpoints();
    std::mutex mutex_;
    std::map<std::wstring, std::shared_ptr<EndpointState>> states_;
    std::vector<HANDLE> watchers_;
    std::wstring default_;
};

// The endpoint ids, default first, as the library's device list holds them (device n's driver text).
std::vector<std::wstring> endpoint_ids(SystemEndpoints& endpoints) {
    std::vector<std::wstring> ids;
    std::thread([&] {
        ComApartment apartment;
        for (auto& entry : endpoints.list()) ids.push_back(entry.id);
    }).join();
    return ids;
}

// Blocks asked for over a stretch in which nothing should wake the output.
int blocks_while_waiting(const CountingBackend& backend, std::chrono::milliseconds time) {
    const int before = backend.blocks;
    std::this_thread::sleep_for(time);
    return backend.blocks - before;
}

bool wait_for(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    for (auto until = clock_type::now() + timeout; clock_type::now() < until; std::this_thread::sleep_for(1ms))
        if (done()) return true;
    return done();
}

TEST(WasapiOutput, SleepsWhileNothingPlaysWakesForAPlayAndLetsTheEndBeHeard) {
    auto owned = std::make_unique<CountingBackend>();
    CountingBackend& backend = *owned;
    Library library(std::move(owned));
    ASSERT_TRUE(library.init(1, 44100));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(blocks_while_waiting(backend, 500ms), 0) << "open, nothing played yet";

    uint32_t handle = library.create_stream(open_file_source(test::fixture("s16_44100_stereo.wav").c_str(), 0, 0));
    auto stream = library.stream(handle);
    ASSERT_TRUE(stream);
    ASSERT_TRUE(stream->play(false));
    EXPECT_TRUE(wait_for([&] { return backend.sounded.load(); }, 100ms)) << "the play woke the output";
    ASSERT_TRUE(wait_for([&] { return stream->state() == ChannelState::stopped; }, 2000ms));
    EXPECT_EQ(stream->position_bytes(), stream->length_bytes());
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(blocks_while_waiting(backend, 500ms), 0) << "asleep again after the end";

    // Stopped half way: asleep again, and the position stays where the stop left it.
    ASSERT_TRUE(stream->play(true));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(stream->stop());
    const int64_t stopped_at = stream->position_bytes();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(blocks_while_waiting(backend, 500ms), 0) << "asleep after a stop";
    EXPECT_EQ(stream->position_bytes(), stopped_at);
    EXPECT_EQ(stream->state(), ChannelState::stopped);

    // Played on from there: the device hears the rest, to its last frame, before the client goes.
    ASSERT_TRUE(stream->play(false));
    ASSERT_TRUE(wait_for([&] { return stream->state() == ChannelState::stopped; }, 2000ms));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(library.free());
    test::Capture capture = test::read_capture(test::capture_path("SOUNDBOARD_CAPTURE"));
    ASSERT_GT(capture.rate, 0);
    const double rest = 1.0 - static_cast<double>(stopped_at) / (44100.0 * 4);
    EXPECT_NEAR(static_cast<double>(test::sounding_part(capture, 0.1f).size()) / capture.rate, rest, 0.012);
}

double seconds_of(const Stream& stream, int64_t bytes) { return stream.bytes_to_seconds(bytes); }

struct DeviceChanges : ::testing::Test {
    DeviceChanges() {
        auto owned = std::make_unique<CountingBackend>(make_wasapi_backend(endpoints));
        backend = owned.get();
        library = std::make_unique<Library>(std::move(owned));
    }
    std::shared_ptr<Stream> play_long_tone() { // 3 s
        uint32_t handle = library->create_stream(open_file_source(test::fixture("s16_48000_long.wav").c_str(), 0, 0));
        auto stream = library->stream(handle);
        if (stream) stream->play(false);
        return stream;
    }
    std::shared_ptr<FaultyEndpoints> endpoints = std::make_shared<FaultyEndpoints>();
    CountingBackend* backend;
    std::unique_ptr<Library> library;
};

TEST_F(DeviceChanges, AnEndpointGoneMidStreamKeepsTheStreamsInTimeAndReopensWhenItReturns) {
    const std::vector<std::wstring> ids = endpoint_ids(*endpoints);
    ASSERT_FALSE(ids.empty());
    const std::wstring& first = ids[0];
    ASSERT_TRUE(library->init(1, 44100));
    auto stream = play_long_tone();
    ASSERT_TRUE(stream);
    std::this_thread::sleep_for(300ms);

    endpoints->set_gone(first, true, true);
    std::this_thread::sleep_for(100ms);
    auto gone_at = clock_type::now();
    const int64_t position_gone = stream->position_bytes();
    std::this_thread::sleep_for(500ms);
    // The caller is never held up by the missing device.
    auto calls = clock_type::now();
    const int64_t position_later = stream->position_bytes();
    DeviceInfo info;
    EXPECT_TRUE(library->device_info(0, info));
    uint32_t other = library->create_stream(open_file_source(test::fixture("s16_44100_stereo.wav").c_str(), 0, 0));
    EXPECT_NE(other, 0u);
    EXPECT_TRUE(library->free_stream(other));
    EXPECT_LT(clock_type::now() - calls, 100ms);
    EXPECT_EQ(stream->state(), ChannelState::playing);
    const double waited = std::chrono::duration<double>(calls - gone_at).count();
    EXPECT_NEAR(seconds_of(*stream, position_later - position_gone), waited, 0.05) << "positions go on in real time";

    // Back without a word from the system: the output finds it by itself.
    auto state = endpoints->state(first);
    const int fills = state->fills;
    endpoints->set_gone(first, false, false);
    ASSERT_TRUE(wait_for([&] { return state->fills > fills; }, 1500ms)) << "reopened on the same endpoint";
    const double rest = 3.0 - seconds_of(*stream, stream->position_bytes());
    ASSERT_TRUE(wait_for([&] { return stream->state() == ChannelState::stopped; }, 4000ms));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(library->free());
    // Each opening makes the capture file anew: it holds what the reopened client played.
    test::Capture capture = test::read_capture(test::capture_path("SOUNDBOARD_CAPTURE"));
    ASSERT_GT(capture.rate, 0);
    EXPECT_NEAR(static_cast<double>(test::sounding_part(capture, 0.1f).size()) / capture.rate, rest, 0.05);

    endpoints->set_gone(first, true, true);
    EXPECT_FALSE(library->init(1, 44100)) << "a device that is gone does not open";
    EXPECT_EQ(library->current_device(), -1);
}

TEST_F(DeviceChanges, DeviceOneMovesWithTheDefault) {
    const std::vector<std::wstring> ids = endpoint_ids(*endpoints);
    ASSERT_GE(ids.size(), 2u) << "the second ALSA output is listed";
    ASSERT_TRUE(library->init(1, 44100));
    auto stream = play_long_tone();
    ASSERT_TRUE(stream);
    std::this_thread::sleep_for(300ms);
    auto second = endpoints->state(ids[1]);
    endpoints->make_default(ids[1]);
    ASSERT_TRUE(wait_for([&] { return second->fills > 0; }, 500ms)) << "playback moved without a call";
    const double rest = 3.0 - seconds_of(*stream, stream->position_bytes());
    ASSERT_TRUE(wait_for([&] { return stream->state() == ChannelState::stopped; }, 4000ms));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(library->free());
    test::Capture capture = test::read_capture(test::capture_path("SOUNDBOARD_CAPTURE2"));
    ASSERT_GT(capture.rate, 0);
    EXPECT_NEAR(static_cast<double>(test::sounding_part(capture, 0.1f).size()) / capture.rate, rest, 0.05);
}

struct PeriodCase {
    UINT32 least;  // 0: no IAudioClient3
    bool refused;
    bool engine_period_expected;
};

class EnginePeriod : public DeviceChanges, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(EnginePeriod, TheSmallestIsTakenWhereOfferedAndTheUsualWayOtherwise) {
    const PeriodCase& c = GetParam();
    const std::vector<std::wstring> ids = endpoint_ids(*endpoints);
    ASSERT_FALSE(ids.empty());
    auto state = endpoints->state(ids[0]);
    state->least_period = c.least;
    state->refuse_period = c.refused;
    ASSERT_TRUE(library->init(1, 44100));
    ASSERT_TRUE(backend->last_output);
    const long period = backend->last_output->period_frames();
    if (c.engine_period_expected) {
        EXPECT_EQ(state->asked_period, c.least);
        EXPECT_EQ(period, static_cast<long>(c.least));
    } else {
        EXPECT_EQ(state->asked_period, 0u);
        EXPECT_GT(period, static_cast<long>(c.least)) << "the device's own period";
    }
    // Whichever way it opened, the sound arrives whole.
    uint32_t handle = library->create_stream(open_file_source(test::fixture("s16_44100_stereo.wav").c_str(), 0, 0));
    auto stream = library->stream(handle);
    ASSERT_TRUE(stream && stream->play(false));
    ASSERT_TRUE(wait_for([&] { return stream->state() == ChannelState::stopped; }, 2000ms));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(library->free());
    test::Capture capture = test::read_capture(test::capture_path("SOUNDBOARD_CAPTURE"));
    ASSERT_GT(capture.rate, 0);
    // The same allowance as above: on a loaded machine Wine's mixer may repeat a block of its own.
    EXPECT_NEAR(static_cast<double>(test::sounding_part(capture, 0.1f).size()) / capture.rate, 1.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Offers, EnginePeriod,
                         ::testing::Values(PeriodCase{144, false, true},   // Windows 10 on: 3 ms at 48 kHz
                                           PeriodCase{144, true, false},   // offered, but the engine refuses
                                           PeriodCase{0, false, false}));  // older systems

} // namespace
} // namespace audiolib
