#pragma once

#include <QString>
#include <QtGlobal>

#include "settings/Settings.h"

// The values of the add/edit device dialog and the rules it applies while the user types.
struct DeviceFields {
    quint32 Address = 0xC0A80002;  // 192.168.0.2
    QString Name = QStringLiteral("192.168.0.2");
    quint32 Port = 502;
    QString Password = QStringLiteral("vexor");
    quint32 UnitId = 0;

    static DeviceFields FromRecord(const DeviceRecord& record);
    // A zeroed record holding these values (name cut to 26 units, password to 13).
    DeviceRecord ToRecord() const;
    // False when a value is missing: empty name, port 0 or empty password.
    bool IsComplete() const { return !Name.isEmpty() && Port != 0 && !Password.isEmpty(); }
};

namespace DeviceRules {
// "a.b.c.d" of an address whose first octet is the top byte.
QString AddressText(quint32 address);
// Reads "a.b.c.d" (each 0..255); false for anything else.
bool ParseAddress(const QString& text, quint32& address);
// The name cut to 26 characters.
QString CutName(const QString& name);
// The password cut to 13 characters, then stripped of everything but Latin letters and digits.
QString FilterPassword(const QString& password);
// A decimal unsigned 32-bit number, blanks around it allowed; false for anything else.
bool ParseUnsigned(const QString& text, quint32& value);
}  // namespace DeviceRules

// Changes of the device list. Each one saves the whole store; the records are moved under
// the device-list lock so a polling thread never reads one half-moved.
namespace DeviceList {
// The first free slot, or -1 when all ten are used.
int FirstFreeSlot(const CSettings& settings);
enum class Result { Saved, NotSaved, Refused };
// Stores a new record in the first free slot and saves. When saving fails the slot is
// cleared again (NotSaved); Refused when the list is full. slot receives the index used.
Result Add(CSettings& settings, const DeviceFields& fields, int& slot);
// Rebuilds record i and saves; on NotSaved the change stays in memory.
Result Edit(CSettings& settings, int index, const DeviceFields& fields);
// Clears record i, closes the gap and saves; on NotSaved the change stays in memory.
// Refused for an unused index and for the last remaining device.
Result Remove(CSettings& settings, int index);
}  // namespace DeviceList
