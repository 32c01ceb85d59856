#include "device/DeviceCommandRunner.h"

#include <system_error>

DeviceCommandRunner::DeviceCommandRunner(IRegisterClient& client, Done done)
    : m_client(client), m_done(std::move(done)), m_receiver(std::make_unique<QObject>()) {}

DeviceCommandRunner::~DeviceCommandRunner() { Wait(); }

bool DeviceCommandRunner::Start(DeviceCommand command) {
    if (m_busy) return false;
    if (m_thread.joinable()) m_thread.join();  // finished; its outcome was delivered
    QObject* receiver = m_receiver.get();
    try {
        m_thread = std::thread([this, receiver, command] {
            const CommandOutcome outcome = DeviceCommands::Run(m_client, command);
            // Queued to the owner's thread; dropped with the receiver if the runner ends first.
            QMetaObject::invokeMethod(receiver, [this, outcome] { Finish(outcome); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        return false;
    }
    m_busy = true;
    return true;
}

void DeviceCommandRunner::Wait() {
    if (m_thread.joinable()) m_thread.join();
    // An outcome already queued is dropped with the old receiver.
    if (m_busy) m_receiver = std::make_unique<QObject>();
    m_busy = false;
}

void DeviceCommandRunner::Finish(const CommandOutcome& outcome) {
    if (m_thread.joinable()) m_thread.join();
    m_busy = false;
    if (m_done) m_done(outcome);
}
