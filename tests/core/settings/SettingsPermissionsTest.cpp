// settings.bin holds the devices' passwords: the file and the folder made for it are
// readable by the user alone, whatever the umask, and every save keeps the file so.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sys/stat.h>

#include "settings/Settings.h"
#include "support/TestSupport.h"

namespace {

mode_t ModeOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

class UmaskZero {
public:
    UmaskZero() : m_old(::umask(0)) {}
    ~UmaskZero() { ::umask(m_old); }

private:
    mode_t m_old;
};

TEST(SettingsPermissions, TheFileAndItsNewFolderAreTheUsersAlone) {
    QTemporaryDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.path());
    const UmaskZero open;
    CSettings s;
    s.Devices[0].SetPassword(QStringLiteral("secret"));
    ASSERT_TRUE(s.Save());
    const QString file = CSettings::FilePath();
    EXPECT_EQ(ModeOf(file), mode_t(0600));
    EXPECT_EQ(ModeOf(QFileInfo(file).absolutePath()), mode_t(0700));

    // A file opened up by hand is closed again by the next save.
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0644), 0);
    ASSERT_TRUE(s.Save());
    EXPECT_EQ(ModeOf(file), mode_t(0600));
}

}  // namespace
