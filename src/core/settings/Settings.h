#pragma once

#include <QString>
#include <QtGlobal>
#include <mutex>

// One entry of the device list. In the file the name keeps 26 and the password 13 UTF-16
// units; the in-memory arrays keep room for a terminator.
struct DeviceRecord {
    static constexpr int kNameUnits = 26;
    static constexpr int kPasswordUnits = 13;

    char16_t Name[28] = {};
    quint32 IpAddress = 0;  // first octet in the top byte
    char16_t Password[14] = {};
    qint32 Port = 0;
    qint32 UnitId = 0;

    bool IsFree() const { return Name[0] == 0; }
    QString NameText() const;
    QString PasswordText() const;
    void SetName(const QString& name);          // cut to 26 units
    void SetPassword(const QString& password);  // cut to 13 units
    void Clear() { *this = DeviceRecord(); }
};

// The program's preferences and device list, kept in the per-user file settings.bin,
// a fixed 1076-byte little-endian record written in full after every change.
class CSettings {
public:
    static constexpr int kDeviceCount = 10;
    static constexpr int kSeriesCount = 6;
    static constexpr int kFileSize = 1076;
    static constexpr quint32 kVersion = 0x1003;

    CSettings() { SetDefaults(); }
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    qint32 SpareSetting;
    DeviceRecord Devices[kDeviceCount];
    quint32 WindowBackColor;
    quint32 CaptionTextColor;
    quint32 ValueBackColor;
    quint32 ValueTextColor;
    quint32 UnitTextColor;
    double LiveCoef[kSeriesCount];
    quint32 LiveColor[kSeriesCount];
    qint32 LiveSeriesOn[kSeriesCount];
    qint32 LiveGraphTopmost;
    quint32 RdfColor[kSeriesCount];
    qint32 RdfLineWidth;
    qint32 RdfMarkerSize;
    qint32 RdfDataMarkers;
    qint32 RdfEventMarkers;

    bool SetDefaults();

    // settings.bin in the per-user configuration folder ($XDG_CONFIG_HOME, default ~/.config).
    bool Load();
    bool Save();
    static QString FilePath();  // empty when the configuration folder cannot be determined

    bool LoadFrom(const QString& path);
    // Writes a complete new file and replaces the old one in one step; the old file survives
    // any failure. Saves from different threads never overlap.
    bool SaveTo(const QString& path);

    // The file image of the whole store.
    QByteArray ToBytes() const;
    // Reads a file image field by field. False on a wrong magic or version or when the bytes
    // end before the last field; the fields read up to there stay in the object.
    bool FromBytes(const QByteArray& bytes);

    // Number of used records: the list ends at the first free one.
    int DeviceCount() const;

    // A copy of record i taken under the device-list lock, for polling threads that read their
    // record while the user may be editing the list (an empty record outside 0..9).
    DeviceRecord DeviceAt(int i) const;
    // Held by whoever changes or moves device records, and by DeviceAt().
    std::mutex& DeviceListLock() const { return m_deviceLock; }

private:
    std::mutex m_saveLock;
    mutable std::mutex m_deviceLock;
};
