#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "device/RegisterClient.h"
#include "devsettings/SettingsTransfer.h"

class CParameterTable;
class ILinkClock;
class ILocalClock;

// Runs one transfer of the settings window (read all, write all, or the clock) on a thread
// of its own, so the window keeps painting while a slow device answers 126 requests. The
// table belongs to the transfer until Finished: the window freezes its grid meanwhile.
//
// Progress and questions come back as queued signals. A question holds the transfer until
// Answer() is called; Abort() answers every question with no and fails the requests not yet
// sent, so the transfer ends within one request's time-out.
class CSettingsTransferJob final : public QObject {
    Q_OBJECT
  public:
    enum class Kind { Read, Write, Clock };
    enum class Question { RetryRead, RetryWrite, RetryClock };

    explicit CSettingsTransferJob(QObject* parent = nullptr);
    ~CSettingsTransferJob() override;

    // False when a transfer is still running.
    bool Start(Kind kind, CParameterTable& table, const DeviceAccess& access, ILocalClock& localClock,
               ILinkClock& linkClock);
    bool IsRunning() const { return m_thread.joinable(); }
    void Answer(bool retry);
    void Abort();
    // Waits for the thread; the results are valid after Finished.
    void Join();

    Kind LastKind() const { return m_kind; }
    const TransferResult& Result() const { return m_result; }
    const ClockResult& Clock() const { return m_clock; }

  signals:
    void Progress(int percent);
    void Asked(CSettingsTransferJob::Question question, int address, int count);
    void Finished();

  private:
    // The page's client as the transfer sees it: once aborted, nothing more is sent.
    class GuardedClient final : public IRegisterClient {
      public:
        GuardedClient(IRegisterClient& client, const std::atomic<bool>& aborted)
            : m_client(client), m_aborted(aborted) {}
        bool IsConnected() const override { return m_client.IsConnected(); }
        int ReadHoldingRegisters(uint16_t first, uint16_t count, uint16_t* registers, int timeoutMs) override;
        int WriteMultipleRegisters(uint16_t first, uint16_t count, uint16_t* registers,
                                   int timeoutMs) override;

      private:
        IRegisterClient& m_client;
        const std::atomic<bool>& m_aborted;
    };

    bool Ask(Question question, int address, int count);

    std::thread m_thread;
    std::atomic<bool> m_aborted{false};
    std::mutex m_lock;
    std::condition_variable m_answered;
    std::optional<bool> m_answer;
    std::optional<GuardedClient> m_client;
    Kind m_kind = Kind::Read;
    TransferResult m_result;
    ClockResult m_clock;
};
