#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;

// The wait box of an open: what is being read (file i of n, megabytes read of the file's),
// a progress bar over all bytes, and a button that stops the open.
class CRdfOpenProgress : public QDialog {
    Q_OBJECT
public:
    explicit CRdfOpenProgress(QWidget* parent);

    void SetProgress(int fileIndex, int fileCount, std::uint64_t done, std::uint64_t total);
    // The same box for other long work: a detail line and the bar at fraction 0..1.
    void SetFraction(double fraction, const QString& detail);
    QString Detail() const;
    QPushButton* CancelButton() const { return m_cancel; }

signals:
    void CancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_detail;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};
