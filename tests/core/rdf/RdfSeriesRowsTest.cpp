#include <gtest/gtest.h>

#include "RdfFixtures.h"
#include "rdf/RdfDialogFilter.h"
#include "rdf/RdfSeriesRows.h"
#include "rdf/RecordingSet.h"

namespace {

constexpr SourceCode kA = MakeSourceCode(0, 0, QK_VOLTAGE_RMS);
constexpr SourceCode kB = MakeSourceCode(1, 0, QK_VOLTAGE_RMS);
constexpr SourceCode kC = MakeSourceCode(2, 0, QK_CURRENT_RMS);
constexpr SourceCode kD = MakeSourceCode(0, 0, QK_FREQUENCY);

std::unique_ptr<CFileRdf> Open(RdfScratch& scratch, const QString& name, std::uint32_t key,
                               std::initializer_list<SourceCode> sources, std::int64_t t0) {
    const QString path = scratch.Write(
        name, RdfBytes(RdfFields(key, sources), {{0, t0, {1, 2, 3}}, {0x02, t0 + 500, {4, 5, 6}}, {0, t0 + 1000, {7, 8, 9}}}));
    auto file = std::make_unique<CFileRdf>();
    EXPECT_TRUE(file->Open(path));
    return file;
}

TEST(RdfSeriesRowsTest, EntryIOfRowIAfterEveryOpen) {
    RdfScratch scratch;
    CRdfSeriesRows rows;
    // Three sources: rows 1 to 3 on, 4 to 6 off with their check boxes disabled.
    auto first = Open(scratch, QStringLiteral("1.rdf"), 1, {kA, kNoSource, kB, kA, kC}, 0);
    EXPECT_EQ(rows.Offer(*first), (std::vector<SourceCode>{kA, kB, kC}));
    rows.SelectAfterOpen();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rows.At(i).on, i < 3) << i;
        EXPECT_EQ(rows.At(i).checkEnabled, i < 3) << i;
        EXPECT_EQ(rows.At(i).selection, i < 3 ? i : -1) << i;
    }
    EXPECT_EQ(rows.SourceOf(2), kC);
    EXPECT_EQ(rows.SourceOf(4), kNoSource);

    // The user changes rows; a second open selects entries 1.. again, keeping coefficients.
    rows.At(0).selection = 2;
    rows.At(1).on = false;
    rows.At(1).coefficient = 2.5;
    auto second = Open(scratch, QStringLiteral("2.rdf"), 2, {kD, kA}, 5000);
    EXPECT_EQ(rows.Offer(*second), (std::vector<SourceCode>{kD}));
    rows.SelectAfterOpen();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(rows.At(i).on) << i;
        EXPECT_EQ(rows.At(i).selection, i) << i;
    }
    EXPECT_FALSE(rows.At(4).on);
    EXPECT_EQ(rows.At(1).coefficient, 2.5);

    rows.Reset();
    EXPECT_TRUE(rows.Entries().empty());
    EXPECT_FALSE(rows.At(0).on || rows.At(0).checkEnabled);
    EXPECT_EQ(rows.At(1).coefficient, 1.0);
}

TEST(RdfSeriesRowsTest, StatisticsAndCaptionFollowTheSet) {
    const std::array<QString, 5> labels = {QStringLiteral("Files:"), QStringLiteral("Records:"),
                                           QStringLiteral("Events:"), QStringLiteral("Start:"), QStringLiteral("End:")};
    CRecordingSet set;
    EXPECT_EQ(RdfStatisticsLines(set, labels),
              (QStringList{"Files: 0", "Records: 0", "Events: 0", "Start: 0", "End: 0"}));
    RdfScratch scratch;
    // Keys 7 then 5: the set, and so the caption, holds 5 first.
    set.Add(Open(scratch, QStringLiteral("seven.rdf"), 7, {kA}, 86400000 + 3600000));
    set.Add(Open(scratch, QStringLiteral("five.rdf"), 5, {kA}, 0));
    EXPECT_EQ(RdfWindowCaption(QStringLiteral("Title"), set), QStringLiteral("Title [five.rdf] [seven.rdf]"));
    EXPECT_EQ(RdfStatisticsLines(set, labels),
              (QStringList{"Files: 2", "Records: 6", "Events: 2", "Start: 01.01.1980 00:00:00",
                           "End: 02.01.1980 01:00:01"}));
    // An equal key joins after.
    set.Add(Open(scratch, QStringLiteral("five-b.rdf"), 5, {kA, kB}, 1));  // another header
    EXPECT_EQ(RdfWindowCaption(QStringLiteral("T"), set), QStringLiteral("T [five.rdf] [five-b.rdf] [seven.rdf]"));
}

TEST(RdfSeriesRowsTest, DialogFiltersFindUpperAndLowerCaseNames) {
    EXPECT_EQ(RdfDialogFilters(QStringLiteral("TRV-730 data files (*.rdf)|*.rdf|All files (*.*)|*.*||")),
              (QStringList{"TRV-730 data files (*.rdf *.RDF)", "All files (*)"}));
    EXPECT_EQ(RdfDialogFilters(QStringLiteral("Daten|*.Rdf;*.x||")), (QStringList{"Daten (*.Rdf *.rdf *.RDF *.x *.X)"}));
    EXPECT_EQ(RdfDialogFilters(QString()), (QStringList{"* (*)"}));
}

}  // namespace
