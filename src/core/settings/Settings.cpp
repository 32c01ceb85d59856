#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'T', 'R', 'V', '7', '3', '0', 'D', 'A'};
constexpr quint32 kDefaultSeriesColors[CSettings::kSeriesCount] = {0x000000FF, 0x0000FFFF, 0x0000FF00,
                                                                   0x00FF00FF, 0x00FF9E03, 0x00FF8080};

class Writer {
public:
    explicit Writer(QByteArray& out) : m_out(out) {}
    void Bytes(const void* p, int n) { m_out.append(static_cast<const char*>(p), n); }
    void U32(quint32 v) {
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        m_out.append(b, 4);
    }
    void I32(qint32 v) { U32(quint32(v)); }
    void F64(double v) {
        quint64 bits;
        std::memcpy(&bits, &v, 8);
        U32(quint32(bits));
        U32(quint32(bits >> 32));
    }
    void Units(const char16_t* s, int n) {
        for (int i = 0; i < n; ++i) {
            const char b[2] = {char(s[i] & 0xFF), char(s[i] >> 8)};
            m_out.append(b, 2);
        }
    }

private:
    QByteArray& m_out;
};

class Reader {
public:
    explicit Reader(const QByteArray& in) : m_in(in) {}
    bool Has(qsizetype n) const { return m_pos + n <= m_in.size(); }
    bool U32(quint32& v) {
        if (!Has(4)) return false;
        const auto* p = reinterpret_cast<const uchar*>(m_in.constData()) + m_pos;
        v = quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
        m_pos += 4;
        return true;
    }
    bool I32(qint32& v) {
        quint32 u;
        if (!U32(u)) return false;
        v = qint32(u);
        return true;
    }
    bool F64(double& v) {
        quint32 lo = 0, hi = 0;
        if (!Has(8)) return false;
        U32(lo);
        U32(hi);
        const quint64 bits = quint64(lo) | (quint64(hi) << 32);
        std::memcpy(&v, &bits, 8);
        return true;
    }
    bool Units(char16_t* s, int n) {
        if (!Has(2 * n)) return false;
        const auto* p = reinterpret_cast<const uchar*>(m_in.constData()) + m_pos;
        for (int i = 0; i < n; ++i) s[i] = char16_t(p[2 * i] | (p[2 * i + 1] << 8));
        m_pos += 2 * n;
        return true;
    }
    bool Bytes(char* p, int n) {
        if (!Has(n)) return false;
        std::memcpy(p, m_in.constData() + m_pos, size_t(n));
        m_pos += n;
        return true;
    }

private:
    const QByteArray& m_in;
    qsizetype m_pos = 0;
};

void CopyUnits(char16_t* dst, int capacity, int maxUnits, const QString& src) {
    std::fill(dst, dst + capacity, char16_t(0));
    const int n = int(std::min<qsizetype>(src.size(), maxUnits));
    for (int i = 0; i < n; ++i) dst[i] = src[i].unicode();
}

QString UnitsText(const char16_t* s, int maxUnits) {
    int n = 0;
    while (n < maxUnits && s[n]) ++n;
    return QString::fromUtf16(s, n);
}

}  // namespace

QString DeviceRecord::NameText() const { return UnitsText(Name, kNameUnits); }
QString DeviceRecord::PasswordText() const { return UnitsText(Password, kPasswordUnits); }
void DeviceRecord::SetName(const QString& name) { CopyUnits(Name, 28, kNameUnits, name); }
void DeviceRecord::SetPassword(const QString& password) {
    CopyUnits(Password, 14, kPasswordUnits, password);
}

bool CSettings::SetDefaults() {
    SpareSetting = 50;
    for (DeviceRecord& r : Devices) r.Clear();
    Devices[0].SetName(QStringLiteral("192.168.0.105"));
    Devices[0].IpAddress = 0xC0A80069;
    Devices[0].SetPassword(QStringLiteral("vexor"));
    Devices[0].Port = 502;
    Devices[0].UnitId = 0;
    WindowBackColor = 0x00D3D3C6;
    CaptionTextColor = 0x009D0095;
    ValueBackColor = 0x00D3D3C6;
    ValueTextColor = 0x00FF6F00;
    UnitTextColor = 0x00959575;
    for (int i = 0; i < kSeriesCount; ++i) {
        LiveCoef[i] = 1.0;
        LiveColor[i] = kDefaultSeriesColors[i];
        LiveSeriesOn[i] = i < 3 ? 1 : 0;
        RdfColor[i] = kDefaultSeriesColors[i];
    }
    LiveGraphTopmost = 0;
    RdfLineWidth = 1;
    RdfMarkerSize = 2;
    RdfDataMarkers = 1;
    RdfEventMarkers = 1;
    return true;
}

int CSettings::DeviceCount() const {
    int n = 0;
    while (n < kDeviceCount && !Devices[n].IsFree()) ++n;
    return n;
}

DeviceRecord CSettings::DeviceAt(int i) const {
    if (i < 0 || i >= kDeviceCount) return DeviceRecord();
    std::lock_guard<std::mutex> guard(m_deviceLock);
    return Devices[i];
}

QByteArray CSettings::ToBytes() const {
    QByteArray out;
    out.reserve(kFileSize);
    Writer w(out);
    w.Bytes(kMagic, 8);
    w.U32(kVersion);
    w.I32(SpareSetting);
    for (const DeviceRecord& r : Devices) {
        w.Units(r.Name, DeviceRecord::kNameUnits);
        w.U32(r.IpAddress);
        w.Units(r.Password, DeviceRecord::kPasswordUnits);
        w.I32(r.Port);
        w.I32(r.UnitId);
    }
    for (quint32 c : {WindowBackColor, CaptionTextColor, ValueBackColor, ValueTextColor, UnitTextColor}) w.U32(c);
    for (double c : LiveCoef) w.F64(c);
    for (quint32 c : LiveColor) w.U32(c);
    for (qint32 on : LiveSeriesOn) w.I32(on);
    w.I32(LiveGraphTopmost);
    for (quint32 c : RdfColor) w.U32(c);
    w.I32(RdfLineWidth);
    w.I32(RdfMarkerSize);
    w.I32(RdfDataMarkers);
    w.I32(RdfEventMarkers);
    return out;
}

bool CSettings::FromBytes(const QByteArray& bytes) {
    Reader r(bytes);
    char magic[8];
    if (!r.Bytes(magic, 8) || std::memcmp(magic, kMagic, 8) != 0) return false;
    quint32 version = 0;
    if (!r.U32(version) || version != kVersion) return false;
    if (!r.I32(SpareSetting)) return false;
    for (DeviceRecord& d : Devices) {
        if (!r.Units(d.Name, DeviceRecord::kNameUnits) || !r.U32(d.IpAddress) ||
            !r.Units(d.Password, DeviceRecord::kPasswordUnits) || !r.I32(d.Port) || !r.I32(d.UnitId))
            return false;
    }
    for (quint32* c : {&WindowBackColor, &CaptionTextColor, &ValueBackColor, &ValueTextColor, &UnitTextColor})
        if (!r.U32(*c)) return false;
    for (double& c : LiveCoef)
        if (!r.F64(c)) return false;
    for (quint32& c : LiveColor)
        if (!r.U32(c)) return false;
    for (qint32& on : LiveSeriesOn)
        if (!r.I32(on)) return false;
    if (!r.I32(LiveGraphTopmost)) return false;
    for (quint32& c : RdfColor)
        if (!r.U32(c)) return false;
    return r.I32(RdfLineWidth) && r.I32(RdfMarkerSize) && r.I32(RdfDataMarkers) && r.I32(RdfEventMarkers);
}

QString CSettings::FilePath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) return QString();
    return base + QStringLiteral("/Tamsin-Grid/TRV-730/settings.bin");
}

bool CSettings::Load() {
    const QString path = FilePath();
    return !path.isEmpty() && LoadFrom(path);
}

bool CSettings::Save() {
    const QString path = FilePath();
    return !path.isEmpty() && SaveTo(path);
}

bool CSettings::LoadFrom(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.read(kFileSize);
    if (file.error() != QFileDevice::NoError) return false;
    return FromBytes(bytes);
}

bool CSettings::SaveTo(const QString& path) {
    std::lock_guard<std::mutex> guard(m_saveLock);
    // The file holds the devices' passwords: it and the folder made for it are the user's alone.
    const QFileInfo dir(QFileInfo(path).absolutePath());
    if (!dir.isDir()) {
        if (!QDir().mkpath(dir.absolutePath()) ||
            !QDir().mkdir(dir.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
    }
    QSaveFile file(path);
    // Unbuffered, so a disk that fills up shows as a short write here. Through the buffer
    // the part that fits was flushed at commit without an error and a cut file replaced
    // the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    // Set on the new file before it takes the name, so a reader never sees it more open.
    if (!file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    const QByteArray bytes = ToBytes();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
