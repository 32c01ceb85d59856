#include "app/IpAddressCtrl.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kDotWidth = 6;
}

CIpAddressCtrl::CIpAddressCtrl(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignCenter);
        edit->setMaxLength(3);
        edit->setValidator(new QIntValidator(0, 255, edit));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (text.size() == 3 && i < 3) {
                m_octets[size_t(i + 1)]->setFocus();
                m_octets[size_t(i + 1)]->selectAll();
            }
            emit AddressEdited();
        });
        m_octets[size_t(i)] = edit;
        if (i < 3) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            dot->setObjectName(QStringLiteral("dot%1").arg(i));
        }
    }
    setFocusProxy(m_octets[0]);
}

quint32 CIpAddressCtrl::Address() const {
    quint32 a = 0;
    for (QLineEdit* e : m_octets) a = (a << 8) | quint32(qBound(0, e->text().toInt(), 255));
    return a;
}

void CIpAddressCtrl::SetAddress(quint32 address) {
    for (int i = 0; i < 4; ++i) m_octets[size_t(i)]->setText(QString::number((address >> (24 - 8 * i)) & 0xFF));
}

bool CIpAddressCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (int i = 0; i < 4; ++i) {
            QLineEdit* e = m_octets[size_t(i)];
            if (watched != e) continue;
            if ((key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma) && i < 3) {
                if (!e->text().isEmpty()) {
                    m_octets[size_t(i + 1)]->setFocus();
                    m_octets[size_t(i + 1)]->selectAll();
                }
                return true;
            }
            if (key->key() == Qt::Key_Backspace && e->cursorPosition() == 0 && !e->hasSelectedText() && i > 0) {
                m_octets[size_t(i - 1)]->setFocus();
                m_octets[size_t(i - 1)]->end(false);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void CIpAddressCtrl::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QRect area = contentsRect();
    const int w = (area.width() - 3 * kDotWidth) / 4;
    int x = area.x();
    const QList<QLabel*> dots = findChildren<QLabel*>();
    for (int i = 0; i < 4; ++i) {
        m_octets[size_t(i)]->setGeometry(x, area.y(), w, area.height());
        x += w;
        if (i < 3) {
            for (QLabel* d : dots)
                if (d->objectName() == QStringLiteral("dot%1").arg(i)) d->setGeometry(x, area.y(), kDotWidth, area.height());
            x += kDotWidth;
        }
    }
}
