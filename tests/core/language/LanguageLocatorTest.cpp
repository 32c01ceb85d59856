#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "language/Language.h"
#include "language/LanguageLocator.h"
#include "support/TestSupport.h"

namespace {

// An installed program: <prefix>/bin and <prefix>/share/trv730/{ru,en}/language.dat.
class Locator : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString bin() const { return dir.filePath("prefix/bin"); }
    QString installed(const QString& lang) const {
        return dir.filePath("prefix/share/trv730/" + lang + "/language.dat");
    }
    void SetUp() override {
        QDir().mkpath(bin());
        ASSERT_TRUE(WriteFileBytes(installed("ru"), "[language]\n"));
        ASSERT_TRUE(WriteFileBytes(installed("en"), "[language]\n"));
        ASSERT_TRUE(WriteFileBytes(dir.filePath("prefix/share/trv730/de/help.html"), "no texts here"));
    }
};

TEST_F(Locator, AnInstalledProgramTakesTheLanguageOfItsLocaleOrTheOneAskedFor) {
    struct Case {
        const char* requested;
        const char* locale;
        const char* language;
    } cases[] = {
        {"", "ru_RU.UTF-8", "ru"},
        {"", "ru", "ru"},
        {"", "RU_ua", "ru"},
        {"", "en_GB.UTF-8", "en"},
        {"", "de_DE.UTF-8", "en"},
        {"", "C", "en"},
        {"", "", "en"},
        {"en", "ru_RU.UTF-8", "en"},
        {"ru", "C", "ru"},
        // Not a language that is installed, or not a plain name: the locale decides.
        {"de", "ru_RU", "ru"},
        {"../../share/trv730/en", "ru_RU", "ru"},
        {"..", "C", "en"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageLocator::FindLanguageFile(bin(), c.requested, c.locale),
                  QDir::cleanPath(installed(c.language)))
            << c.requested << " / " << c.locale;
    }
}

TEST_F(Locator, ALanguageFileBesideTheProgramWins) {
    const QString beside = QDir(bin()).filePath("language.dat");
    ASSERT_TRUE(WriteFileBytes(beside, "[language]\n"));
    EXPECT_EQ(LanguageLocator::FindLanguageFile(bin(), "en", "ru_RU"), beside);
}

TEST_F(Locator, NothingInstalledFindsNothing) {
    QTemporaryDir empty;
    EXPECT_TRUE(LanguageLocator::FindLanguageFile(empty.path(), "ru", "ru_RU").isEmpty());
    EXPECT_TRUE(LanguageLocator::FindLanguageFile(QString(), "ru", "ru_RU").isEmpty());
}

TEST(LanguageLocatorEnv, MessagesLocaleFollowsThePosixOrder) {
    ScopedEnv all("LC_ALL", "");
    ScopedEnv messages("LC_MESSAGES", "");
    ScopedEnv lang("LANG", "en_US.UTF-8");
    EXPECT_EQ(LanguageLocator::MessagesLocaleName(), "en_US.UTF-8");
    {
        ScopedEnv m("LC_MESSAGES", "ru_RU.UTF-8");
        EXPECT_EQ(LanguageLocator::MessagesLocaleName(), "ru_RU.UTF-8");
        ScopedEnv a("LC_ALL", "C");
        EXPECT_EQ(LanguageLocator::MessagesLocaleName(), "C");
    }
}

TEST(LanguageLocatorHelp, TheHelpPageLiesBesideTheLanguageInUse) {
    QTemporaryDir dir;
    const QString file = dir.filePath("share/trv730/en/language.dat");
    ASSERT_TRUE(WriteFileBytes(file, "[language]\n"));
    CLanguage language;
    ASSERT_TRUE(language.LoadFile(file));
    const CLanguage* before = CLanguage::Current();
    CLanguage::SetCurrent(&language);
    EXPECT_EQ(LanguageLocator::HelpPage(), dir.filePath("share/trv730/en/help.html"));
    CLanguage::SetCurrent(before);
}

}  // namespace
