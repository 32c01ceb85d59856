#include "rdf/RdfOpenProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "controls/ControlDrawing.h"
#include "controls/DialogUnits.h"
#include "controls/IconIds.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"

CRdfOpenProgress::CRdfOpenProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("173"));
    setWindowTitle(QApplication::applicationDisplayName());
    // The window behind keeps painting but takes no command until the open ends.
    setWindowModality(Qt::WindowModal);
    const DialogUnits du = DialogUnits::ForDialogFont();
    setFixedSize(du.Size(200, 74));
    auto* icon = new QLabel(this);
    icon->setGeometry(QRect(du.Point(8, 7), QSize(32, 32)));
    icon->setPixmap(ControlDrawing::SvgPixmap(IconPath(IDI_WAIT), QSize(32, 32), devicePixelRatioF()));
    auto* text = new QLabel(GetText(LNG_WAIT_TEXT1), this);
    text->setObjectName(QStringLiteral("1227"));
    text->setGeometry(du.Rect(40, 8, 152, 10));
    m_detail = new QLabel(this);
    m_detail->setGeometry(du.Rect(40, 20, 152, 10));
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 1000);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_bar->setGeometry(du.Rect(8, 36, 184, 10));
    m_cancel = new QPushButton(GetText(LNG_SRDF_CANCEL_BUT), this);
    m_cancel->setGeometry(du.Rect(134, 54, 58, 14));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancel->setEnabled(false);
        emit CancelRequested();
    });
}

void CRdfOpenProgress::SetProgress(int fileIndex, int fileCount, std::uint64_t done, std::uint64_t total) {
    constexpr double kMiB = 1024.0 * 1024.0;
    m_detail->setText(QStringLiteral("%1 / %2:  %3 / %4 MB")
                          .arg(fileIndex + 1)
                          .arg(fileCount)
                          .arg(double(done) / kMiB, 0, 'f', 1)
                          .arg(double(total) / kMiB, 0, 'f', 1));
    // Each file has its equal share of the bar.
    const double part = total ? double(done) / double(total) : 1.0;
    const double all = fileCount > 0 ? (fileIndex + part) / fileCount : 1.0;
    m_bar->setValue(int(all * 1000));
}

void CRdfOpenProgress::SetFraction(double fraction, const QString& detail) {
    m_detail->setText(detail);
    m_bar->setValue(int(std::clamp(fraction, 0.0, 1.0) * 1000));
}

QString CRdfOpenProgress::Detail() const { return m_detail->text(); }

void CRdfOpenProgress::closeEvent(QCloseEvent* event) {
    // The close box stops the open like the button; the box goes when the open has ended.
    event->ignore();
    if (m_cancel->isEnabled()) m_cancel->click();
}

void CRdfOpenProgress::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (m_cancel->isEnabled()) m_cancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
