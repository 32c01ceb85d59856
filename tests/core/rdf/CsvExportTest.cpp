#include <gtest/gtest.h>

#include <QDir>

#include "RdfFixtures.h"
#include "language/Language.h"
#include "rdf/CsvExport.h"
#include "rdf/RecordingSet.h"

namespace {
class CsvExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseKeyNameLanguage();
        table = CQuantityTable::Build();
    }
    void Add(const char* name, const RdfHeaderFields& fields, const std::vector<RdfRec>& records) {
        auto f = std::make_unique<CFileRdf>();
        ASSERT_TRUE(f->Open(scratch.Write(QString::fromLatin1(name), RdfBytes(fields, records))));
        ASSERT_EQ(set.Add(std::move(f)), RdfAddResult::Added);
    }
    QByteArray Export(TimeRange view) {
        const QString path = scratch.Path(QStringLiteral("out.csv"));
        const CsvExportResult r = ExportCsv(set, view, table, path);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        return ReadFileBytes(path);
    }

    RdfScratch scratch;
    CRecordingSet set;
    CQuantityTable table;
};

// 2024-02-29 12:00:00 in milliseconds.
constexpr std::int64_t kNoon = 1393675200LL * 1000;

TEST_F(CsvExportTest, WritesFilesInSetOrderWithNullForMissingSources) {
    // Added out of order: the file with key 2 lacks the cos source and records an unknown
    // kind; the file with key 1 has its data record at noon replaced by an event.
    Add("b", RdfFields(2, {0x00000001, 0x0001001F}), {{0, kNoon + 61000, {-12345, -7}}});
    Add("a", RdfFields(1, {0x00070012, 0x00000001}),
        {{0, kNoon - 1, {1, 1}}, {0, kNoon, {987, 2301}}, {2, kNoon, {5, 2302}}, {0, kNoon + 999, {-5, -3}}});

    const QByteArray expected =
        "\"LNG_GLOB_DATE\";\"LNG_GLOB_TIME\";\"LNG_SRC_F_CHANNEL 1: LNG_SRC_F_PowerCos\";"
        "\"LNG_SRC_F_CHANNEL 1: LNG_SRC_F_VoltageRMS\";\"LNG_SRC_F_UNCNOWN\";\r\n"
        "\"29.02.2024\";\"12:00:00.000\";0.005;230.2;null;\r\n"
        "\"29.02.2024\";\"12:00:00.999\";-0.005;-0.3;null;\r\n"
        "\"29.02.2024\";\"12:01:01.000\";null;-1234.5;-7;\r\n";
    // Both ends of the view are included; the record a millisecond before is not.
    EXPECT_EQ(Export({kNoon, kNoon + 61000}), expected);
}

TEST_F(CsvExportTest, EmptyViewGivesTheHeaderOnly) {
    Add("a", RdfFields(1, {0x00000001}), {{0, 1000, {1}}});
    EXPECT_EQ(Export({2000, 3000}),
              QByteArray("\"LNG_GLOB_DATE\";\"LNG_GLOB_TIME\";\"LNG_SRC_F_CHANNEL 1: LNG_SRC_F_VoltageRMS\";\r\n"));
}

TEST_F(CsvExportTest, SharedSourcesShareColumnsAndNoSourceIsDropped) {
    // Two files recording the same five sources: five columns.
    Add("a", RdfFields(1, {1, 2, 3, 4, 5}), {{0, 1000, {1, 2, 3, 4, 5}}});
    Add("b", RdfFields(2, {5, 4, 3, 2, 1}), {{0, 2000, {5, 4, 3, 2, 1}}});
    QList<QByteArray> rows = Export({0, 9999}).split('\n');
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].count(';'), 7);
    EXPECT_TRUE(rows[1].endsWith(";0.1;0.2;0.3;0.4;0.05;\r"));
    EXPECT_TRUE(rows[2].endsWith(";0.1;0.2;0.3;0.4;0.05;\r"));

    // Six files of twenty sources each: every one of the 120 gets its column.
    set.Reset();
    for (std::uint32_t file = 0; file < 6; ++file) {
        RdfHeaderFields f = RdfFields(file);
        f.deviceId = {1, 2, 3, 4, 5, 6};
        for (std::uint32_t s = 0; s < 20; ++s) f.slotCodes[s] = MakeSourceCode(file * 20 + s, 0, QK_THD);
        std::vector<std::int32_t> values(20, std::int32_t(file));
        Add(std::to_string(file).c_str(), f, {{0, 1000 * (file + 1), values}});
    }
    rows = Export({0, 9999}).split('\n');
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[0].count(';'), 122);
    EXPECT_EQ(rows[6].count(';'), 122);
    EXPECT_TRUE(rows[6].endsWith(QByteArray("5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;5;\r")));
}

TEST_F(CsvExportTest, LongAndQuotedNamesStayWholeCells) {
    // A language whose channel caption is long and quoted.
    const QString longName = QString(200, u'\u0416') + QStringLiteral(" \"K\"");
    const QString lang = scratch.Write(QStringLiteral("language.dat"),
                                       "[language]\r\nLNG_SRC_F_CHANNEL=" + longName.toUtf8() + "\r\n");
    CLanguage language;
    ASSERT_TRUE(language.LoadFile(lang));
    CLanguage::SetCurrent(&language);
    table = CQuantityTable::Build();
    Add("a", RdfFields(1, {0x00000001}), {{0, 1000, {1}}});
    const QByteArray csv = Export({0, 9999});
    UseKeyNameLanguage();

    QByteArray cell = longName.toUtf8();
    cell.replace("\"", "\"\"");
    EXPECT_TRUE(csv.contains(";\"" + cell + " 1: LNG_SRC_F_VoltageRMS\";\r\n")) << csv.left(120).toStdString();
    EXPECT_TRUE(csv.endsWith(";0.1;\r\n"));
}

TEST_F(CsvExportTest, FailureLeavesTheOldFile) {
    Add("a", RdfFields(1, {0x00000001}), {{0, 1000, {1}}});
    const QString path = scratch.Write(QStringLiteral("old.csv"), "old");
    std::atomic<bool> cancel{true};
    CsvExportOptions options;
    options.cancel = &cancel;
    const CsvExportResult r = ExportCsv(set, {0, 9999}, table, path, options);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(ReadFileBytes(path), QByteArray("old"));

    const CsvExportResult noFolder = ExportCsv(set, {0, 9999}, table, scratch.Path(QStringLiteral("none/x.csv")));
    EXPECT_FALSE(noFolder.ok);
    EXPECT_FALSE(noFolder.error.isEmpty());
    EXPECT_EQ(QDir(scratch.Path(QString())).entryList(QDir::Files).filter(QStringLiteral("csv")), QStringList{"old.csv"});
}

TEST(CsvFileNameTest, NamesTheViewStart) {
    EXPECT_EQ(DefaultCsvFileName(kNoon + 3723004), QStringLiteral("29022024@130203"));
    EXPECT_EQ(DefaultCsvFileName(0), QStringLiteral("01011980@000000"));
}
}  // namespace
