#include "device/LinkClock.h"

#include <chrono>
#include <thread>

namespace {
class SteadyLinkClock final : public ILinkClock {
public:
    uint32_t NowMs() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void SleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};
}  // namespace

ILinkClock& SystemLinkClock() {
    static SteadyLinkClock clock;
    return clock;
}
