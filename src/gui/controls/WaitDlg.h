#pragma once

#include <QDialog>

class QLabel;

// The small "please wait" box shown while the program does something that keeps it busy
// (closing every device link at exit). It has nothing to click: it only says why the
// program does not react.
class CWaitDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIconSize = 32;

    explicit CWaitDlg(QWidget* parent = nullptr);

    // Shows the box centred over the parent (the given one, else the one it was made with,
    // else the active window) and paints it at once, before the caller gets busy.
    void Show(QWidget* parent = nullptr);
    void Hide();

    QString Text() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_icon;
    QLabel* m_text;
};
