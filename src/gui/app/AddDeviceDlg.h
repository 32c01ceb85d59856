#pragma once

#include <QDialog>

#include "settings/DeviceList.h"

class CIpAddressCtrl;
class QLabel;
class QLineEdit;
class QPushButton;

// The small dialog that adds a device to the list or edits one: address, port, name,
// Modbus unit identifier and password, with the rules applied while the user types.
class CAddDeviceDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode { Add = 0, Edit = 1 };
    static constexpr int IDC_IPADDRESS = 1003;
    static constexpr int IDC_NAME = 1004;
    static constexpr int IDC_PASSWORD = 1005;
    static constexpr int IDC_UNITID = 1010;
    static constexpr int IDC_PORT = 1026;

    // Add mode starts from the defaults; edit mode from the given values.
    CAddDeviceDlg(Mode mode, const DeviceFields& values, QWidget* parent = nullptr);
    explicit CAddDeviceDlg(Mode mode, QWidget* parent = nullptr) : CAddDeviceDlg(mode, DeviceFields(), parent) {}

    // The values the user confirmed (valid after the dialog closed with OK).
    const DeviceFields& Values() const { return m_values; }

    CIpAddressCtrl* AddressCtrl() const { return m_address; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* PortEdit() const { return m_port; }
    QLineEdit* PasswordEdit() const { return m_password; }
    QLineEdit* UnitIdEdit() const { return m_unitId; }
    QPushButton* OkButton() const { return m_ok; }

    // The prompt shown when a port or unit identifier is not a positive whole number.
    static QString PositiveIntegerPrompt();

private:
    void BuildControls(Mode mode);
    void ShowValues();
    // Takes every value from the controls in the order address, name, port, password, unit
    // identifier; stops at a port or unit identifier that is not a number, prompts and puts
    // the focus there. False then.
    bool ReadValues();
    bool ReadNumber(QLineEdit* edit, quint32& value);
    void OnAddressEdited();
    void OnNameEdited();
    void OnPasswordEdited();
    void OnOk();

    DeviceFields m_values;
    CIpAddressCtrl* m_address = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_unitId = nullptr;
    QPushButton* m_ok = nullptr;
};
