#pragma once

#include <QObject>
#include <QString>

class CInstanceChannel;
class CTRV730DataAnalysisDlg;
class QSocketNotifier;
class QWidget;

// Opens in the running program the files that later starts hand over (a double click on a
// recording or a settings file while the program runs).
class CFileHandoff : public QObject {
public:
    // Watches channel (which must be listening) for as long as this object lives.
    CFileHandoff(CInstanceChannel& channel, CTRV730DataAnalysisDlg& window);

    // Opens path by its kind: a recording in the recorded-data window, a settings file in the
    // settings window. Anything else, or a file that is gone, is left alone.
    static void Open(CTRV730DataAnalysisDlg& window, const QString& path);

private:
    void OnReadable();

    CInstanceChannel& m_channel;
    CTRV730DataAnalysisDlg& m_window;
    QSocketNotifier* m_notifier = nullptr;
};

// Restores a minimised window and puts it in front of the others, with the keyboard focus.
void BringToFront(QWidget* window);
