#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class CRdfGraphDlg;

// Owns the recorded-data window for the main window: at most one exists; the view command
// brings it forward (restored, raised, activated) or makes it; the close sequence closes
// it with a bounded wait. The window is a top-level window of its own (no parent).
class CRdfWindowHost : public QObject {
    Q_OBJECT
public:
    // How long Close waits for the window to go: 500 checks, 20 ms apart.
    static constexpr int kCloseChecks = 500;
    static constexpr int kCloseCheckMs = 20;

    explicit CRdfWindowHost(QObject* parent = nullptr);
    ~CRdfWindowHost() override;

    // The window, or null while none is open.
    CRdfGraphDlg* Window() const;
    // Makes the window when there is none, then shows it in front.
    CRdfGraphDlg* Show();
    // Shows the window and opens the file into its set.
    void OpenFile(const QString& path);
    // Asks the window to close and waits for it, dispatching events meanwhile; true when
    // it went within the wait.
    bool Close();

private:
    QPointer<CRdfGraphDlg> m_window;
};
