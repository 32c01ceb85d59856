#include "rdf/RdfExportRunner.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMetaObject>
#include <QPushButton>
#include <QUrl>
#include <system_error>

#include "app/MessageBox.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "language/TextFormat.h"
#include "rdf/RdfDialogFilter.h"
#include "rdf/RdfOpenProgress.h"
#include "rdf/RecordingSet.h"

namespace {
CRdfExportRunner::ChooseFile& ChooseHook() {
    static CRdfExportRunner::ChooseFile hook;
    return hook;
}
CRdfExportRunner::ProgressHook& WorkerHook() {
    static CRdfExportRunner::ProgressHook hook;
    return hook;
}
CRdfExportRunner::OpenFile& OpenHook() {
    static CRdfExportRunner::OpenFile hook;
    return hook;
}

QString AskForFile(QWidget* parent, const QString& proposed) {
    if (ChooseHook()) return ChooseHook()(parent, proposed);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(RdfDialogFilters(GetText(LNG_RDF_EXPORT_FILTER)));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}
}  // namespace

void CRdfExportRunner::SetChooseFileHook(ChooseFile hook) { ChooseHook() = std::move(hook); }
void CRdfExportRunner::SetOpenFileHook(OpenFile hook) { OpenHook() = std::move(hook); }
void CRdfExportRunner::SetProgressHook(ProgressHook hook) { WorkerHook() = std::move(hook); }

CRdfExportRunner::CRdfExportRunner(QWidget* window) : QObject(window), m_window(window) {}

CRdfExportRunner::~CRdfExportRunner() { Abandon(); }

void CRdfExportRunner::Abandon() {
    Cancel();
    if (m_thread.joinable()) m_thread.join();
    // The thread's last report may still be queued; it finds nothing running and says nothing.
    if (m_running) {
        m_running = false;
        if (m_progress) m_progress->hide();
    }
}

bool CRdfExportRunner::Run(const CRecordingSet& set, TimeRange view, const CQuantityTable& table,
                           const QString& folder) {
    if (m_running) return false;
    const QString name = DefaultCsvFileName(view.start);
    const QString proposed = folder.isEmpty() ? name : QDir(folder).filePath(name);
    const QString path = AskForFile(m_window, proposed);
    if (path.isEmpty()) return false;
    return Start(set, view, table, path);
}

bool CRdfExportRunner::Start(const CRecordingSet& set, TimeRange view, const CQuantityTable& table,
                             const QString& path) {
    if (m_running) return false;
    m_path = path;
    m_result = {};
    m_cancel.store(false);
    if (!m_progress) {
        m_progress = new CRdfOpenProgress(m_window);
        connect(m_progress, &CRdfOpenProgress::CancelRequested, this, [this] { Cancel(); });
    }
    m_progress->SetFraction(0.0, QString());
    m_progress->CancelButton()->setEnabled(true);
    try {
        // The set and the table outlive the thread: the window keeps them until Finished,
        // and waits for the thread before it lets them go.
        m_thread = std::thread([this, &set, view, &table, path] {
            CsvExportOptions options;
            options.cancel = &m_cancel;
            options.progress = [this, hook = WorkerHook()](std::uint64_t done, std::uint64_t total) {
                if (hook) hook(*this, done, total);
                QMetaObject::invokeMethod(this, [this, done, total] { OnProgress(done, total); }, Qt::QueuedConnection);
            };
            CsvExportResult result = ExportCsv(set, view, table, path, options);
            QMetaObject::invokeMethod(
                this, [this, result = std::move(result)]() mutable {
                    m_result = std::move(result);
                    OnDone();
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        MessageBox::ShowKeys(m_window, LNG_GLOB_NO_MEMORY, LNG_GLOB_SYSTEM, MessageBox::Icon::Error);
        return false;
    }
    m_running = true;
    QRect r(QPoint(0, 0), m_progress->size());
    r.moveCenter(m_window->frameGeometry().center());
    m_progress->move(r.topLeft());
    m_progress->show();
    return true;
}

void CRdfExportRunner::OnProgress(std::uint64_t done, std::uint64_t total) {
    if (!m_running || !m_progress) return;
    const double fraction = total ? double(done) / double(total) : 1.0;
    m_progress->SetFraction(fraction, QStringLiteral("%1 %").arg(int(fraction * 100)));
}

void CRdfExportRunner::OnDone() {
    if (m_thread.joinable()) m_thread.join();
    if (!m_running) return;
    m_running = false;
    if (m_progress) m_progress->hide();
    const QString shown = QDir::toNativeSeparators(m_path);
    if (!m_result.cancelled) {
        if (!m_result.ok) {
            MessageBox::Show(m_window, FormatLng(LNG_RDF_EXPORT_ERROR, {shown}), GetText(LNG_GLOB_SYSTEM),
                             MessageBox::Icon::Error);
        } else if (MessageBox::Show(m_window, FormatLng(LNG_RDF_EXPORT_SUCCESS, {shown}), GetText(LNG_GLOB_SYSTEM),
                                    MessageBox::Icon::Information, QMessageBox::Yes | QMessageBox::No) ==
                   QMessageBox::Yes) {
            if (OpenHook())
                OpenHook()(m_path);
            else
                QDesktopServices::openUrl(QUrl::fromLocalFile(m_path));
        }
    }
    emit Finished();
}
