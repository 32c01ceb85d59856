#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SimConfig.h"
#include "SimDevice.h"
#include "SimRecorder.h"

struct _modbus;
struct _modbus_mapping_t;

// The simulated device's Modbus TCP server: one thread that accepts any number of
// clients, answers them through libmodbus and applies the configured faults. The
// device's registers live in CSimDevice; this class only moves requests and answers.
class CSimServer {
  public:
    explicit CSimServer(SimConfig config);
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Binds, listens and starts the server thread; false with a reason when it cannot.
    bool Start(std::string* error = nullptr);
    void Stop();
    int Port() const { return m_port; }

    CSimDevice& Device() { return m_device; }
    // The memory card writer; nullptr without a card folder.
    CSimRecorder* Recorder() { return m_recorder.get(); }
    void SetFaults(const SimFaults& faults);
    SimFaults Faults() const;

    // Seen by the server so far; for tests.
    uint64_t RequestCount() const { return m_requests.load(); }
    int LastUnitId() const { return m_lastUnitId.load(); }
    int OpenConnections() const { return m_openConnections.load(); }

  private:
    using SteadyTime = std::chrono::steady_clock::time_point;
    struct Pending {
        SteadyTime due;
        std::vector<uint8_t> bytes;
    };
    struct Client {
        int fd = -1;
        int requests = 0;
        std::deque<Pending> pending;  // answers waiting for their time, in order
    };

    bool Listen(std::string* error);
    void Run();
    void Accept();
    // False when the client has to go.
    bool Serve(Client& client, SteadyTime now);
    static bool StopsAnswering(const SimFaults& faults, const Client& client);
    // Carries out one request on the device; 0 or the exception code to answer with.
    uint8_t Handle(const uint8_t* query, int length, const SimFaults& faults, SteadyTime now, bool& restart);
    void Flush(Client& client, SteadyTime now);
    void Answer(Client& client, const uint8_t* query, int length, uint8_t exception, const SimFaults& faults,
                SteadyTime now);
    void DropClient(Client& client, bool reset);
    void GoDown(SteadyTime now);
    void Wake();

    SimConfig m_config;
    CSimDevice m_device;
    std::unique_ptr<CSimRecorder> m_recorder;  // hooked into m_device's ticks
    mutable std::mutex m_faultLock;
    SimFaults m_faults;

    _modbus* m_ctx = nullptr;
    _modbus_mapping_t* m_mapping = nullptr;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    int m_capture[2] = {-1, -1};  // answers with faults are built here first
    int m_port = 0;
    std::vector<Client> m_clients;
    SteadyTime m_downUntil{};
    bool m_down = false;
    SteadyTime m_lastTick{};

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<uint64_t> m_requests{0};
    std::atomic<int> m_lastUnitId{-1};
    std::atomic<int> m_openConnections{0};
};
