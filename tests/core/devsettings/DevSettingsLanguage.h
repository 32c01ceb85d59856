#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "language/Language.h"
#include "support/TestSupport.h"

inline void LoadTestLanguage(CLanguage& language, const QByteArray& text) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("language.dat"));
    ASSERT_TRUE(WriteFileBytes(path, text));
    ASSERT_TRUE(language.LoadFile(path));
}

// A language whose unit words and units are short real words; every other text is its key
// name, so rows and options stay recognisable in the tests.
inline void UseDevSettingsLanguage() {
    static CLanguage language;
    static bool loaded = false;
    if (!loaded) {
        LoadTestLanguage(language,
                         "[language]\r\n"
                         "LNG_GLOB_TIMELIST1=ms|s|min\r\n"
                         "LNG_GLOB_TIMELIST2=s|min\r\n"
                         "LNG_DEVICE_PREFIX_KB=KB\r\n"
                         "LNG_DEVICE_PREFIX_MB=MB\r\n"
                         "LNG_DEVICE_PREFIX_V=V\r\n"
                         "LNG_DEVICE_PREFIX_HZ=Hz\r\n"
                         "LNG_DEVICE_PREFIX_A=A\r\n"
                         "LNG_SRC_S_NULL=None\r\n"
                         "LNG_SETDEV_G3_EVT1UPVAL=Upper 1\r\n"
                         "LNG_SETDEV_G3_EVT1DWVAL=Lower threshold of event 1\r\n"
                         "LNG_SETDEV_G1_DISP_LIST=Off|Dim|On\r\n");
        loaded = true;
    }
    CLanguage::SetCurrent(&language);
}
