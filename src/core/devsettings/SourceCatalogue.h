#pragma once

#include <QString>
#include <vector>

#include "devsettings/SourceCode.h"

// One source the device can record or watch, as a source editor offers it. The texts are
// looked up in the language loaded when the catalogue is built.
struct SourceInfo_t {
    SourceCode code = kNoSource;
    QString name;
    QString unit;      // unit of the thresholds; may be empty
    double minimum = 0.0;  // lowest threshold, in shown units
    double maximum = 0.0;  // highest threshold, in shown units
    double step = 1.0;     // threshold resolution; its reciprocal is the raw factor
};

using SourceCatalogue = std::vector<SourceInfo_t>;

inline constexpr int kSourceCatalogueRows = 85;

// The 85 rows in their fixed order: row 0 is "no source", then channel by channel and,
// within a channel, variant by variant. Each caller builds and keeps its own copy.
SourceCatalogue BuildSourceCatalogue();

// Index of the first row with this code, or -1.
int FindSourceRow(const SourceCatalogue& catalogue, SourceCode code);
// The first row with this code, or nullptr.
const SourceInfo_t* FindSource(const SourceCatalogue& catalogue, SourceCode code);
