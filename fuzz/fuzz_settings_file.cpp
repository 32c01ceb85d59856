// The .trv730 settings-file loader: any bytes load without touching the baselines (a load
// marks rows, it never accepts them), and what a load left in the table saves to a file
// that loads back to exactly the same rows.

#include <QDateTime>

#include "FuzzSupport.h"
#include "devsettings/MyProperty.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/SettingsFile.h"
#include "language/Language.h"

namespace {

struct RowState {
    QString value;
    QString baseline;
    bool modified;
};

std::vector<RowState> States(const CParameterTable& table) {
    std::vector<RowState> states;
    for (const CMyProperty* row : table.Rows())
        states.push_back({row->FormatValue(), row->BaselineText() + QString::number(row->BaselineValue()),
                          row->IsModified()});
    return states;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Rows take their names and option lists from the language: the key names serve.
    static CLanguage language = [] {
        CLanguage l;
        l.UseKeyNames();
        return l;
    }();
    CLanguage::SetCurrent(&language);
    static const std::vector<RowState> factory = [] {
        CParameterTable t;
        t.BuildParameterTable();
        return States(t);
    }();

    CParameterTable table;
    table.BuildParameterTable();
    SettingsLoadReport report;
    FUZZ_CHECK(SettingsFile::LoadBytes(table, FuzzBytes(data, size), &report));
    const std::vector<RowState> loaded = States(table);
    FUZZ_CHECK(loaded.size() == factory.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) FUZZ_CHECK(loaded[i].baseline == factory[i].baseline);

    // What the table holds now is what a save writes and a load gives back.
    const QByteArray file = SettingsFile::Build(table, QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    CParameterTable again;
    again.BuildParameterTable();
    SettingsLoadReport againReport;
    FUZZ_CHECK(SettingsFile::LoadBytes(again, file, &againReport));
    FUZZ_CHECK(againReport.hasSettings && againReport.unreadableKeys.isEmpty());
    const std::vector<RowState> reloaded = States(again);
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        FUZZ_CHECK(reloaded[i].value == loaded[i].value);
        FUZZ_CHECK(reloaded[i].modified == loaded[i].modified);
    }
    return 0;
}
