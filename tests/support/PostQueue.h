#pragma once

#include <condition_variable>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

#include "device/DevicePoster.h"

// Collects what a device link posts, in order, from any thread.
class PostQueue : public IDevicePoster {
public:
    struct Message {
        int message;
        int wParam;
        int64_t lParam;
        bool operator==(const Message&) const = default;
    };

    void Post(int message, int wParam, int64_t lParam) override {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_messages.push_back({message, wParam, lParam});
        }
        m_signal.notify_all();
    }
    std::vector<Message> Take() {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<Message> out;
        out.swap(m_messages);
        return out;
    }
    size_t Count() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_messages.size();
    }
    // Waits (at most a generous guard time, so a broken build fails instead of hanging)
    // until at least count messages are queued.
    bool WaitForCount(size_t count) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_signal.wait_for(lock, std::chrono::seconds(20), [&] { return m_messages.size() >= count; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_signal;
    std::vector<Message> m_messages;
};
