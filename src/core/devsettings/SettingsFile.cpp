#include "devsettings/SettingsFile.h"

#include <QFile>
#include <QSaveFile>

#include "devsettings/MyProperty.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/TextScan.h"
#include "language/IniFile.h"

namespace SettingsFile {

namespace {

const QString kInformation = QStringLiteral("Information");
const QString kSettings = QStringLiteral("Settings");

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// One number the way "%d", "%u", "%ld" or "%lu" reads it into a 32-bit variable.
bool ReadOne(const QString& text, uint32_t* value) {
    CTextScan scan(text);
    int64_t n = 0;
    if (!scan.ReadInteger(&n))
        return false;
    *value = Low32(n);
    return true;
}

bool ReadAddress(const QString& text, uint32_t* value) {
    CTextScan scan(text);
    uint32_t address = 0;
    for (int i = 0; i < 4; ++i) {
        int64_t n = 0;
        if (i > 0 && !scan.Expect(u'.'))
            return false;
        if (!scan.ReadInteger(&n))
            return false;
        // Combined as the file says, without clamping: an octet above 255 runs into the next.
        address |= Low32(n) << (8 * i);
    }
    *value = address;
    return true;
}

void LoadRow(CMyProperty& row, const QString& value, SettingsLoadReport* report, const QString& key) {
    const int kind = row.Binding().kind;
    if (value.isEmpty() && report)
        report->missingKeys.append(key);
    if (kind == EK_PASSWASCII) {
        bool ok = true;
        const QString text = DecodePassword(value, &ok);
        if (ok) {
            row.SetText(text);
        } else {
            if (report)
                report->unreadableKeys.append(key);
            row.SetText(row.BaselineText());
        }
        return;
    }
    uint32_t v = 0;
    const bool ok = kind == EK_IP ? ReadAddress(value, &v) : ReadOne(value, &v);
    if (!ok) {
        if (report && !value.isEmpty())
            report->unreadableKeys.append(key);
        row.SetValue(row.BaselineValue());
        return;
    }
    switch (kind) {
        case EK_LIST:
        case EK_INT:
        case EK_DOUBLE:
            row.SetValue(int32_t(v));  // read as signed
            break;
        default:
            row.SetValue(int64_t(v));  // unsigned: addresses, durations, byte counts, source codes
            break;
    }
}

}  // namespace

QString Key(const RegisterBinding& b) {
    return QStringLiteral("%1:%2:%3").arg(uint32_t(b.kind)).arg(b.type).arg(uint32_t(b.address));
}

QString ValueText(const CMyProperty& row) {
    const int kind = row.Binding().kind;
    const int64_t v = row.Value();
    switch (kind) {
        case EK_IP: {
            const uint32_t a = Low32(v);
            return QStringLiteral("%1.%2.%3.%4")
                .arg(a & 0xFF)
                .arg((a >> 8) & 0xFF)
                .arg((a >> 16) & 0xFF)
                .arg(a >> 24);
        }
        case EK_PASSWASCII: {
            QString out;
            for (const QChar c : row.Text())
                out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
            return out;
        }
        case EK_INT:
        case EK_DOUBLE:
            return QString::number(int32_t(Low32(v)));
        default:
            return QString::number(Low32(v));
    }
}

QByteArray Build(const CParameterTable& table, const QDateTime& localTime) {
    const QDate d = localTime.date();
    const QTime t = localTime.time();
    QString text;
    text += QStringLiteral("[Information]\r\nVersion=%1.%2\r\n").arg(kVersionMajor).arg(kVersionMinor);
    text += QStringLiteral("DateTime=%1.%2.%3 %4:%5:%6\r\n")
                .arg(d.day(), 2, 10, QLatin1Char('0'))
                .arg(d.month(), 2, 10, QLatin1Char('0'))
                .arg(d.year(), 4, 10, QLatin1Char('0'))
                .arg(t.hour(), 2, 10, QLatin1Char('0'))
                .arg(t.minute(), 2, 10, QLatin1Char('0'))
                .arg(t.second(), 2, 10, QLatin1Char('0'));
    text += QStringLiteral("[Settings]\r\n");
    for (const CMyProperty* row : table.Rows())
        text += Key(row->Binding()) + u'=' + ValueText(*row) + QStringLiteral("\r\n");
    return text.toUtf8();
}

QString DefaultFileName(const QDate& d) {
    return QStringLiteral("%1%2%3.trv730")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

bool Save(CParameterTable& table, const QString& path, const QDateTime& localTime, QString* error) {
    const QByteArray bytes = Build(table, localTime);
    QSaveFile file(path);
    // Unbuffered, so a disk that fills up shows as a short write here: a buffered QSaveFile
    // commits a file cut short at the first short write as if all went well.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = QStringLiteral("the file could not be written whole (is the disk full?)");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    table.AcceptAll();
    return true;
}

QString DecodePassword(const QString& value, bool* ok) {
    *ok = true;
    const qsizetype zero = value.indexOf(QChar(0));
    const QString text = zero < 0 ? value : value.left(zero);
    QString out;
    for (qsizetype i = 0; i < text.size(); i += 4) {
        const QString group = text.mid(i, 4);
        uint32_t code = 0;
        for (const QChar c : group) {
            if (!IsHexDigit(c)) {
                *ok = false;
                return {};
            }
            code = code * 16 + uint32_t(QString(c).toUInt(nullptr, 16));
        }
        out += QChar(char16_t(code));
    }
    return out;
}

bool LoadBytes(CParameterTable& table, const QByteArray& bytes, SettingsLoadReport* report) {
    const CIniFile ini = CIniFile::FromBytes(bytes);
    if (report) {
        *report = {};
        report->hasInformation = ini.HasSection(kInformation);
        report->version = ini.GetString(kInformation, QStringLiteral("Version"), kValueBufferUnits);
        report->hasSettings = ini.HasSection(kSettings);
    }
    // Grid order puts each event source before its thresholds, so a threshold is clamped
    // against the range of the source the file gives.
    for (CMyProperty* row : table.Rows()) {
        const int kind = row->Binding().kind;
        if (kind < EK_LIST || kind > EK_SOURCE)
            return false;
        const QString key = Key(row->Binding());
        LoadRow(*row, ini.GetString(kSettings, key, kValueBufferUnits), report, key);
    }
    return true;
}

bool Load(CParameterTable& table, const QString& path, SettingsLoadReport* report, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        if (error)
            *error = QStringLiteral("the file is too large to be a settings file");
        return false;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        if (error)
            *error = QStringLiteral("the file is too large to be a settings file");
        return false;
    }
    return LoadBytes(table, bytes, report);
}

}  // namespace SettingsFile
