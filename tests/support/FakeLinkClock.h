#pragma once

#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "device/LinkClock.h"

// A clock that moves only when the code under test sleeps or a test advances it.
class FakeLinkClock : public ILinkClock {
public:
    explicit FakeLinkClock(uint32_t start = 0) : m_now(start) {}

    uint32_t NowMs() override {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_now;
    }
    void SleepMs(uint32_t ms) override {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_now += ms;
            m_sleeps.push_back(ms);
        }
        std::this_thread::yield();  // a polling thread under test must not starve the test
    }
    void Advance(uint32_t ms) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_now += ms;
    }
    std::vector<uint32_t> TakeSleeps() {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<uint32_t> out;
        out.swap(m_sleeps);
        return out;
    }

private:
    std::mutex m_lock;
    uint32_t m_now;
    std::vector<uint32_t> m_sleeps;
};
