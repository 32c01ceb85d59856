#pragma once

#include <QFrame>
#include <array>

class QLineEdit;

// An IPv4 address typed as four octets, 0..255 each. Typing a dot or a third digit moves on
// to the next octet; Backspace in an empty octet goes back to the previous one.
class CIpAddressCtrl : public QFrame {
    Q_OBJECT
public:
    explicit CIpAddressCtrl(QWidget* parent = nullptr);

    // First octet in the top byte; an empty octet counts as 0.
    quint32 Address() const;
    void SetAddress(quint32 address);
    QLineEdit* Octet(int i) const { return m_octets[size_t(i)]; }

signals:
    // Any octet was changed by the user.
    void AddressEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<QLineEdit*, 4> m_octets{};
};
