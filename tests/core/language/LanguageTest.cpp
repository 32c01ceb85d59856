#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "language/Language.h"
#include "support/TestSupport.h"

namespace {

class LanguageFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("language.dat"); }
    CLanguage Load(const QByteArray& bytes) {
        EXPECT_TRUE(WriteFileBytes(path(), bytes));
        CLanguage lang;
        EXPECT_TRUE(lang.LoadFile(path()));
        return lang;
    }
};

TEST(LanguageKeys, TableHas753KeysInTheirFixedPlaces) {
    EXPECT_STREQ(CLanguage::KeyName(0), "LNG_SYS_INFO_LANGUAGE");
    EXPECT_STREQ(CLanguage::KeyName(LNG_MENU_FILE), "LNG_MENU_FILE");
    EXPECT_EQ(LNG_MENU_FILE, 1);
    EXPECT_EQ(LNG_DEV_ERROR_32, 79);
    EXPECT_EQ(LNG_SRC_F_UNCNOWN_TEST, 198);
    EXPECT_EQ(LNG_SETDEV_G15_CH10_SENS_LIST_V14, 453);
    EXPECT_EQ(LNG_ABOUT_TITLE, 519);
    EXPECT_EQ(LNG_MAIN_OPNDB_ERR_MSG, 530);
    EXPECT_EQ(LNG_DEVICE_CONNECT_ERROR, 655);
    EXPECT_EQ(LNG_SETDEV_WRITE_ERROR, 710);
    EXPECT_EQ(LNG_WAIT_TEXT1, 752);
    EXPECT_EQ(CLanguage::KeyName(753), nullptr);
    EXPECT_EQ(CLanguage::KeyName(-1), nullptr);
    for (int id = 0; id < LNG_COUNT; ++id) {
        const QString name = QString::fromLatin1(CLanguage::KeyName(id));
        EXPECT_TRUE(name.startsWith("LNG_")) << id;
        EXPECT_LE(name.size(), 37) << id;
    }
}

TEST_F(LanguageFile, OnlyTheSectionLineGivesEveryKeyItsName) {
    const CLanguage lang = Load("[language]\r\n");
    ASSERT_TRUE(lang.IsLoaded());
    EXPECT_EQ(lang.GetText(LNG_MENU_FILE), "LNG_MENU_FILE");
    EXPECT_EQ(lang.GetText(LNG_WAIT_TEXT1), "LNG_WAIT_TEXT1");
}

TEST_F(LanguageFile, NoLanguageSectionStillLoads) {
    const CLanguage lang = Load("[other]\nLNG_MENU_FILE=x\n");
    EXPECT_EQ(lang.GetText(LNG_MENU_FILE), "LNG_MENU_FILE");
}

TEST_F(LanguageFile, ValuesFollowTheLineBreakQuoteCaseAndLengthRules) {
    const QString long1500(1500, u'Ж');
    const QByteArray file = "[language]\n"
                            "LNG_GLOB_ERROR=\n"
                            "LNG_GLOB_WARNING=first\\nsecond\n"
                            "LNG_GLOB_SYSTEM=C:\\new\\folder\n"
                            "LNG_GLOB_CODE=ends in backslash\\\n"
                            "LNG_GLOB_TEXT=ends in pair\\n\n"
                            "lng_glob_time=lower-case key\n"
                            "LNG_GLOB_DATE=\"  quoted  \"\n"
                            "LNG_ABOUT_TEXT1=" + long1500.toUtf8() + "\n";
    const CLanguage lang = Load(file);
    EXPECT_EQ(lang.GetText(LNG_GLOB_ERROR), "LNG_GLOB_ERROR");
    EXPECT_EQ(lang.GetText(LNG_GLOB_WARNING), "first\nsecond");
    EXPECT_EQ(lang.GetText(LNG_GLOB_SYSTEM), "C:\new\\folder");  // the n after the backslash is lost
    EXPECT_EQ(lang.GetText(LNG_GLOB_CODE), "ends in backslash\\");
    EXPECT_EQ(lang.GetText(LNG_GLOB_TEXT), "ends in pair\n");
    EXPECT_EQ(lang.GetText(LNG_GLOB_TIME), "lower-case key");
    EXPECT_EQ(lang.GetText(LNG_GLOB_DATE), "  quoted  ");
    EXPECT_EQ(lang.GetText(LNG_ABOUT_TEXT1), long1500.left(1022));
}

TEST_F(LanguageFile, Utf16LittleEndianFileWithMark) {
    const QString text = QString::fromUtf8("[language]\r\nLNG_MENU_FILE=Файл\r\n");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const CLanguage lang = Load(bytes);
    EXPECT_EQ(lang.GetText(LNG_MENU_FILE), QString::fromUtf8("Файл"));
}

TEST_F(LanguageFile, MissingFileFailsAndLeavesTheTableAsItWas) {
    CLanguage lang;
    EXPECT_FALSE(lang.LoadFile(dir.filePath("absent.dat")));
    EXPECT_FALSE(lang.IsLoaded());
}

TEST_F(LanguageFile, AFileInTheCurrentFolderButNotBesideTheProgramIsNotUsed) {
    ASSERT_TRUE(WriteFileBytes(path(), "[language]\n"));
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    CLanguage lang;
    const bool loaded = lang.Load();  // the test program's folder has no language.dat
    QDir::setCurrent(old);
    EXPECT_FALSE(loaded);
}

TEST(LanguageLookup, IdOutsideTheTableIsAProgrammingError) {
    CLanguage lang;
    lang.UseKeyNames();
    EXPECT_DEBUG_DEATH(lang.GetText(753), "out of range");
    EXPECT_DEBUG_DEATH(lang.GetText(-1), "out of range");
    CLanguage unloaded;
    EXPECT_DEBUG_DEATH(unloaded.GetText(0), "before loading");
}

}  // namespace
