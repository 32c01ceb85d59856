#include "app/AddDeviceDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Colors.h"
#include "app/IpAddressCtrl.h"
#include "app/MessageBox.h"
#include "controls/DialogUnits.h"
#include "language/Language.h"

CAddDeviceDlg::CAddDeviceDlg(Mode mode, const DeviceFields& values, QWidget* parent)
    : QDialog(parent), m_values(mode == Add ? DeviceFields() : values) {
    BuildControls(mode);
    ShowValues();
}

QString CAddDeviceDlg::PositiveIntegerPrompt() { return QString::fromUtf8("Введите положительное целое число."); }

void CAddDeviceDlg::BuildControls(Mode mode) {
    setWindowTitle(GetText(mode == Add ? LNG_ADDDEV_TITLE : LNG_EDITDEV_TITLE));
    ApplySharedDialogColors(this);
    const DialogUnits du = DialogUnits::ForDialogFont();

    auto label = [&](int id, int key, int x, int y, int w) {
        auto* l = new QLabel(GetText(key), this);
        l->setObjectName(QString::number(id));
        l->setGeometry(du.Rect(x, y, w, 9));
        return l;
    };
    label(1006, LNG_ADDDEV_STATIC_IP, 7, 7, 100);
    label(1008, LNG_ADDDEV_STATIC_PORT, 118, 7, 38);
    label(1007, LNG_ADDDEV_STATIC_NAME, 7, 36, 108);
    label(1011, LNG_ADDDEV_STATIC_ID, 120, 36, 36);
    label(1009, LNG_ADDDEV_STATIC_CODE, 7, 64, 144);

    auto edit = [&](int id, int x, int y, int w, int h) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::number(id));
        e->setGeometry(du.Rect(x, y, w, h));
        return e;
    };
    m_address = new CIpAddressCtrl(this);
    m_address->setObjectName(QString::number(IDC_IPADDRESS));
    m_address->setGeometry(du.Rect(13, 17, 100, 15));
    m_port = edit(IDC_PORT, 115, 17, 34, 14);
    m_name = edit(IDC_NAME, 13, 47, 102, 15);
    m_unitId = edit(IDC_UNITID, 118, 47, 33, 15);
    m_password = edit(IDC_PASSWORD, 13, 74, 138, 15);

    m_ok = new QPushButton(GetText(mode == Add ? LNG_ADDDEV_BUT_ADD : LNG_ADDDEV_BUT_EDIT), this);
    m_ok->setGeometry(du.Rect(14, 95, 61, 14));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(GetText(LNG_ADDDEV_BUT_CANCEL), this);
    cancel->setGeometry(du.Rect(84, 95, 61, 14));
    setFixedSize(du.Size(159, 114));

    connect(m_address, &CIpAddressCtrl::AddressEdited, this, &CAddDeviceDlg::OnAddressEdited);
    connect(m_name, &QLineEdit::textEdited, this, &CAddDeviceDlg::OnNameEdited);
    connect(m_password, &QLineEdit::textEdited, this, &CAddDeviceDlg::OnPasswordEdited);
    connect(m_port, &QLineEdit::textEdited, this, [this] { ReadValues(); });
    connect(m_unitId, &QLineEdit::textEdited, this, [this] { ReadValues(); });
    connect(m_ok, &QPushButton::clicked, this, &CAddDeviceDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CAddDeviceDlg::ShowValues() {
    m_address->SetAddress(m_values.Address);
    m_name->setText(m_values.Name);
    m_port->setText(QString::number(m_values.Port));
    m_password->setText(m_values.Password);
    m_unitId->setText(QString::number(m_values.UnitId));
}

bool CAddDeviceDlg::ReadNumber(QLineEdit* edit, quint32& value) {
    if (DeviceRules::ParseUnsigned(edit->text(), value)) return true;
    // Prompt after the current keystroke has been handled, then put the user back there.
    MessageBox::Show(this, PositiveIntegerPrompt(), GetText(LNG_MAIN_TITLE), MessageBox::Icon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CAddDeviceDlg::ReadValues() {
    m_values.Address = m_address->Address();
    m_values.Name = m_name->text();
    if (!ReadNumber(m_port, m_values.Port)) return false;
    m_values.Password = m_password->text();
    return ReadNumber(m_unitId, m_values.UnitId);
}

void CAddDeviceDlg::OnAddressEdited() {
    ReadValues();
    // A new address renames the device after it; a name typed afterwards stays.
    m_values.Name = DeviceRules::AddressText(m_address->Address());
    m_name->setText(m_values.Name);
}

void CAddDeviceDlg::OnNameEdited() {
    ReadValues();
    const QString cut = DeviceRules::CutName(m_name->text());
    if (cut != m_name->text()) {
        m_name->setText(cut);
        m_values.Name = cut;
    }
}

void CAddDeviceDlg::OnPasswordEdited() {
    const int cursor = m_password->cursorPosition();
    const int selStart = m_password->selectionStart();
    const int selLength = m_password->selectionLength();
    ReadValues();
    const QString kept = DeviceRules::FilterPassword(m_password->text());
    if (kept != m_password->text()) {
        m_password->setText(kept);
        m_values.Password = kept;
        // Put the caret or selection back; a position past the end means the end.
        if (selStart >= 0 && selLength > 0)
            m_password->setSelection(qMin(selStart, int(kept.size())), qMin(selLength, int(kept.size()) - qMin(selStart, int(kept.size()))));
        else
            m_password->setCursorPosition(qMin(cursor, int(kept.size())));
    }
}

void CAddDeviceDlg::OnOk() {
    if (!ReadValues()) return;
    if (!m_values.IsComplete()) {
        MessageBox::ShowKeys(this, LNG_ADDDEV_ADDERR, LNG_GLOB_ERROR, MessageBox::Icon::Error);
        return;
    }
    accept();
}
