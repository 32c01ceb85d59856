#include "devsettings/SettingsTransferJob.h"

#include "device/LinkClock.h"
#include "devsettings/LocalClock.h"
#include "devsettings/ParameterTable.h"

int CSettingsTransferJob::GuardedClient::ReadHoldingRegisters(uint16_t first, uint16_t count,
                                                              uint16_t* registers, int timeoutMs) {
    if (m_aborted.load())
        return -1;
    return m_client.ReadHoldingRegisters(first, count, registers, timeoutMs);
}

int CSettingsTransferJob::GuardedClient::WriteMultipleRegisters(uint16_t first, uint16_t count,
                                                                uint16_t* registers, int timeoutMs) {
    if (m_aborted.load())
        return -1;
    return m_client.WriteMultipleRegisters(first, count, registers, timeoutMs);
}

CSettingsTransferJob::CSettingsTransferJob(QObject* parent) : QObject(parent) {
    qRegisterMetaType<CSettingsTransferJob::Question>("CSettingsTransferJob::Question");
}

CSettingsTransferJob::~CSettingsTransferJob() {
    Abort();
    Join();
}

bool CSettingsTransferJob::Start(Kind kind, CParameterTable& table, const DeviceAccess& access,
                                 ILocalClock& localClock, ILinkClock& linkClock) {
    if (IsRunning())
        return false;
    m_kind = kind;
    m_result = {};
    m_clock = {};
    m_aborted.store(false);
    m_answer.reset();
    DeviceAccess guarded = access;
    m_client.reset();
    if (access.client) {
        m_client.emplace(*access.client, m_aborted);
        guarded.client = &*m_client;
    }

    TransferCallbacks callbacks;
    callbacks.progress = [this](int percent) { emit Progress(percent); };
    callbacks.retryRead = [this](int address, int count) { return Ask(Question::RetryRead, address, count); };
    callbacks.retryWrite = [this](int address, int count) {
        return Ask(Question::RetryWrite, address, count);
    };
    callbacks.retryClock = [this] { return Ask(Question::RetryClock, 0, 0); };

    m_thread = std::thread([this, kind, &table, guarded, callbacks, &localClock, &linkClock] {
        switch (kind) {
            case Kind::Read:
                m_result = SettingsTransfer::ReadAll(table, guarded, callbacks);
                break;
            case Kind::Write:
                m_result = SettingsTransfer::WriteAll(table, guarded, callbacks);
                break;
            case Kind::Clock:
                m_clock = SettingsTransfer::SynchroniseClock(guarded, localClock, linkClock, callbacks);
                break;
        }
        emit Finished();
    });
    return true;
}

bool CSettingsTransferJob::Ask(Question question, int address, int count) {
    std::unique_lock lock(m_lock);
    if (m_aborted.load())
        return false;
    m_answer.reset();
    emit Asked(question, address, count);
    m_answered.wait(lock, [this] { return m_answer.has_value() || m_aborted.load(); });
    return !m_aborted.load() && m_answer.value_or(false);
}

void CSettingsTransferJob::Answer(bool retry) {
    {
        std::lock_guard lock(m_lock);
        m_answer = retry;
    }
    m_answered.notify_all();
}

void CSettingsTransferJob::Abort() {
    {
        std::lock_guard lock(m_lock);
        m_aborted.store(true);
    }
    m_answered.notify_all();
}

void CSettingsTransferJob::Join() {
    if (m_thread.joinable())
        m_thread.join();
}
