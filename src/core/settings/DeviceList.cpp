#include "settings/DeviceList.h"

#include <QStringList>
#include <mutex>

DeviceFields DeviceFields::FromRecord(const DeviceRecord& record) {
    DeviceFields f;
    f.Address = record.IpAddress;
    f.Name = record.NameText();
    f.Port = quint32(record.Port);
    f.Password = record.PasswordText();
    f.UnitId = quint32(record.UnitId);
    return f;
}

DeviceRecord DeviceFields::ToRecord() const {
    DeviceRecord r;
    r.SetName(Name);
    r.IpAddress = Address;
    r.SetPassword(Password);
    r.Port = qint32(Port);
    r.UnitId = qint32(UnitId);
    return r;
}

namespace DeviceRules {

QString AddressText(quint32 a) {
    return QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 0xFF).arg((a >> 8) & 0xFF).arg(a & 0xFF);
}

bool ParseAddress(const QString& text, quint32& address) {
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.size() != 4) return false;
    quint32 a = 0;
    for (const QString& p : parts) {
        quint32 octet = 0;
        if (p.size() > 3 || !ParseUnsigned(p, octet) || p != p.trimmed() || octet > 255) return false;
        a = (a << 8) | octet;
    }
    address = a;
    return true;
}

QString CutName(const QString& name) { return name.left(DeviceRecord::kNameUnits); }

QString FilterPassword(const QString& password) {
    QString out;
    for (QChar c : password.left(DeviceRecord::kPasswordUnits)) {
        const char16_t u = c.unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9')) out += c;
    }
    return out;
}

bool ParseUnsigned(const QString& text, quint32& value) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    quint64 v = 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9') return false;
        v = v * 10 + (c.unicode() - u'0');
        if (v > 0xFFFFFFFFull) return false;
    }
    value = quint32(v);
    return true;
}

}  // namespace DeviceRules

namespace DeviceList {

int FirstFreeSlot(const CSettings& settings) {
    for (int i = 0; i < CSettings::kDeviceCount; ++i)
        if (settings.Devices[i].IsFree()) return i;
    return -1;
}

Result Add(CSettings& settings, const DeviceFields& fields, int& slot) {
    slot = FirstFreeSlot(settings);
    if (slot < 0) return Result::Refused;
    {
        std::lock_guard<std::mutex> guard(settings.DeviceListLock());
        settings.Devices[slot] = fields.ToRecord();
    }
    if (settings.Save()) return Result::Saved;
    std::lock_guard<std::mutex> guard(settings.DeviceListLock());
    settings.Devices[slot].Clear();
    return Result::NotSaved;
}

Result Edit(CSettings& settings, int index, const DeviceFields& fields) {
    if (index < 0 || index >= CSettings::kDeviceCount) return Result::Refused;
    {
        std::lock_guard<std::mutex> guard(settings.DeviceListLock());
        settings.Devices[index] = fields.ToRecord();
    }
    return settings.Save() ? Result::Saved : Result::NotSaved;
}

Result Remove(CSettings& settings, int index) {
    // The list is never emptied: the last device stays.
    if (index < 0 || index >= settings.DeviceCount() || settings.DeviceCount() < 2) return Result::Refused;
    {
        std::lock_guard<std::mutex> guard(settings.DeviceListLock());
        settings.Devices[index].Clear();
        // Close the gap: every later record moves down by one, as the tabs do.
        int to = 0;
        for (int from = 0; from < CSettings::kDeviceCount; ++from) {
            if (settings.Devices[from].IsFree()) continue;
            if (from != to) {
                settings.Devices[to] = settings.Devices[from];
                settings.Devices[from].Clear();
            }
            ++to;
        }
    }
    return settings.Save() ? Result::Saved : Result::NotSaved;
}

}  // namespace DeviceList
