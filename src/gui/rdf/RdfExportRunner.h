#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

#include "devsettings/QuantityTable.h"
#include "rdf/CsvExport.h"
#include "rdf/ViewWindow.h"

class CRdfOpenProgress;
class CRecordingSet;
class QWidget;

// The export command of the recorded-data window: proposes a name from the view start, asks
// where to save, writes the records of the view on a thread of its own while a wait box shows
// the progress and offers to stop, then says how it went and offers to open the file. The
// window keeps painting meanwhile; it must keep the set as it is until Finished.
class CRdfExportRunner : public QObject {
    Q_OBJECT
public:
    // The save dialog: the path chosen for the proposed one, or empty when cancelled.
    using ChooseFile = std::function<QString(QWidget* parent, const QString& proposed)>;
    // Opens a written file in the program the desktop has for it.
    using OpenFile = std::function<void(const QString& path)>;
    // Tests and benchmarks stand in for the dialog and the desktop; empty restores them.
    static void SetChooseFileHook(ChooseFile hook);
    static void SetOpenFileHook(OpenFile hook);
    // Called on the exporting thread with every progress report, so a test can act at a
    // known point of the work.
    using ProgressHook = std::function<void(CRdfExportRunner& runner, std::uint64_t done, std::uint64_t total)>;
    static void SetProgressHook(ProgressHook hook);

    explicit CRdfExportRunner(QWidget* window);
    ~CRdfExportRunner() override;

    // The whole command: false when nothing was started (the save dialog was cancelled, or
    // no thread could be made, which is said).
    bool Run(const CRecordingSet& set, TimeRange view, const CQuantityTable& table, const QString& folder);
    // Writes to this path without asking where.
    bool Start(const CRecordingSet& set, TimeRange view, const CQuantityTable& table, const QString& path);

    bool IsRunning() const { return m_running; }
    // Asks the thread to stop; the file is then not written.
    void Cancel() { m_cancel.store(true, std::memory_order_relaxed); }
    // Stops and waits for the thread without any message (the window is going).
    void Abandon();

    const CsvExportResult& LastResult() const { return m_result; }
    const QString& LastPath() const { return m_path; }
    CRdfOpenProgress* Progress() const { return m_progress; }

signals:
    // The export has ended and its messages have been answered.
    void Finished();

private:
    void OnProgress(std::uint64_t done, std::uint64_t total);
    void OnDone();

    QWidget* m_window;
    CRdfOpenProgress* m_progress = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
    QString m_path;
    CsvExportResult m_result;
};
