// The settings store's file image: a file is taken exactly when it has the right signature
// and version and all 1076 bytes, and what was taken is written back byte for byte.

#include <cstring>

#include "FuzzSupport.h"
#include "settings/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    static const QByteArray defaults = [] {
        CSettings s;
        return s.ToBytes();
    }();
    FUZZ_CHECK(defaults.size() == CSettings::kFileSize);

    CSettings settings;
    const bool ok = settings.FromBytes(bytes);
    const bool wellFormed = size >= std::size_t(CSettings::kFileSize) && std::memcmp(data, defaults.constData(), 12) == 0;
    FUZZ_CHECK(ok == wellFormed);

    const QByteArray image = settings.ToBytes();
    FUZZ_CHECK(image.size() == CSettings::kFileSize);
    if (ok) FUZZ_CHECK(image == bytes.left(CSettings::kFileSize));

    FUZZ_CHECK(settings.DeviceCount() >= 0 && settings.DeviceCount() <= CSettings::kDeviceCount);
    for (int i = 0; i < CSettings::kDeviceCount; ++i) {
        const DeviceRecord r = settings.DeviceAt(i);
        FUZZ_CHECK(r.NameText().size() <= DeviceRecord::kNameUnits);
        FUZZ_CHECK(r.PasswordText().size() <= DeviceRecord::kPasswordUnits);
        // The in-memory arrays keep their terminators whatever the file held.
        FUZZ_CHECK(r.Name[DeviceRecord::kNameUnits] == 0 && r.Password[DeviceRecord::kPasswordUnits] == 0);
    }
    FUZZ_CHECK(settings.DeviceAt(-1).IsFree() && settings.DeviceAt(CSettings::kDeviceCount).IsFree());

    // What a file gave is what a save writes, and that loads to the same again.
    CSettings again;
    FUZZ_CHECK(again.FromBytes(image));
    FUZZ_CHECK(again.ToBytes() == image);

    // The file path: a partial or oversized file goes through the same reading.
    if (size > 0 && (data[0] & 1)) {
        const QString& path = FuzzScratchPath("-settings.bin");
        FuzzWriteFile(path, bytes);
        CSettings fromFile;
        FUZZ_CHECK(fromFile.LoadFrom(path) == ok);
        if (ok) FUZZ_CHECK(fromFile.ToBytes() == image);
    }
    return 0;
}
