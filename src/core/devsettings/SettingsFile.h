#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "devsettings/RegisterBinding.h"

class CMyProperty;
class CParameterTable;

// What a load found, for callers that want to be stricter than the settings window
// (which loads any file and gives every row it cannot read its baseline).
struct SettingsLoadReport {
    bool hasInformation = false;
    QString version;  // empty when the file names none
    bool hasSettings = false;
    QStringList missingKeys;     // rows whose key was absent or empty (baseline or empty text used)
    QStringList unreadableKeys;  // rows whose value could not be read (baseline used)
};

// `.trv730` files: an INI text with an `Information` section (Version, DateTime) and a
// `Settings` section of one "kind:type:address" key per parameter row.
namespace SettingsFile {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 4;
// Values longer than this many UTF-16 units are cut, as the platform's reader did.
inline constexpr int kValueBufferUnits = 128;
// Settings files are a few kilobytes; anything far larger is refused unread.
inline constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

QString Key(const RegisterBinding& binding);
// The row's current value as the file holds it.
QString ValueText(const CMyProperty& row);
// The whole file for a table, with the save time in the Information section.
QByteArray Build(const CParameterTable& table, const QDateTime& localTime);
// "ddMMyyyy.trv730".
QString DefaultFileName(const QDate& localDate);

// Writes the whole file beside the target and puts it in place only when complete, so a
// failed save leaves any earlier file as it was. On success every row is accepted (its
// baseline becomes the saved value); on failure nothing is.
bool Save(CParameterTable& table, const QString& path, const QDateTime& localTime, QString* error = nullptr);

// Loads file bytes into the table: every row's value goes through its SetValue, event
// sources before their thresholds. Takes any bytes. Never accepts. Always true for the
// program's own table; false only for a row the file format has no form for.
bool LoadBytes(CParameterTable& table, const QByteArray& bytes, SettingsLoadReport* report = nullptr);
// The same from a file; false with a reason when it cannot be read.
bool Load(CParameterTable& table, const QString& path, SettingsLoadReport* report = nullptr,
          QString* error = nullptr);

// A password value: four hexadecimal digits per character, read up to the end or a zero
// character. A group that is not all hexadecimal digits makes the whole value unreadable
// (nullopt-like: ok = false), so no half-read password is ever used.
QString DecodePassword(const QString& value, bool* ok);

}  // namespace SettingsFile
