#include "controls/WaitDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>

#include "controls/ControlDrawing.h"
#include "controls/DialogUnits.h"
#include "controls/IconIds.h"
#include "language/Language.h"

CWaitDlg::CWaitDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_icon(new QLabel(this)),
      m_text(new QLabel(this)) {
    setModal(false);
    setWindowTitle(QApplication::applicationDisplayName());
    const DialogUnits du = DialogUnits::ForDialogFont();
    setFixedSize(du.Size(141, 35));
    m_icon->setGeometry(QRect(du.Point(13, 7), QSize(kIconSize, kIconSize)));
    m_icon->setPixmap(ControlDrawing::SvgPixmap(IconPath(IDI_WAIT), QSize(kIconSize, kIconSize), devicePixelRatioF()));
    const QRect textRect = du.Rect(57, 13, 141 - 57 - 4, 10);
    m_text->setGeometry(textRect);
    m_text->setText(GetText(LNG_WAIT_TEXT1));
    m_text->setObjectName(QStringLiteral("1227"));
}

QString CWaitDlg::Text() const { return m_text->text(); }

void CWaitDlg::Show(QWidget* parent) {
    if (parent && parent != parentWidget()) setParent(parent, windowFlags());
    QWidget* over = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    const QRect area = over ? over->frameGeometry()
                            : (QApplication::primaryScreen() ? QApplication::primaryScreen()->availableGeometry()
                                                             : QRect(0, 0, width(), height()));
    QRect r(QPoint(0, 0), size());
    r.moveCenter(area.center());
    move(r.topLeft());
    show();
    raise();
    repaint();
    // Let the window system put it on screen before the caller blocks.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CWaitDlg::Hide() { hide(); }

void CWaitDlg::closeEvent(QCloseEvent* event) {
    event->accept();
    accept();
}
