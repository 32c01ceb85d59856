#include "rdf/RdfWindowHost.h"

#include <QCoreApplication>
#include <QThread>

#include "rdf/RdfGraphDlg.h"

CRdfWindowHost::CRdfWindowHost(QObject* parent) : QObject(parent) {}

CRdfWindowHost::~CRdfWindowHost() {
    if (m_window) delete m_window.data();
}

CRdfGraphDlg* CRdfWindowHost::Window() const { return m_window.data(); }

CRdfGraphDlg* CRdfWindowHost::Show() {
    if (!m_window) {
        m_window = new CRdfGraphDlg(nullptr);
        // Closing the window ends it; the next command makes a fresh one.
        m_window->setAttribute(Qt::WA_DeleteOnClose, true);
    }
    CRdfGraphDlg* w = m_window;
    // Restored from minimised or maximised, in front, where it was.
    w->setWindowState(w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void CRdfWindowHost::OpenFile(const QString& path) {
    CRdfGraphDlg* w = Show();
    if (w->IsOpening()) return;  // the window takes no command while it reads files
    w->OpenFiles({path});
}

bool CRdfWindowHost::Close() {
    if (!m_window) return true;
    m_window->close();
    for (int i = 0; i < kCloseChecks && m_window; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, kCloseCheckMs);
        if (m_window) QThread::msleep(kCloseCheckMs);
    }
    return !m_window;
}
