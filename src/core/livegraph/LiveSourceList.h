#pragma once

#include <QtGlobal>
#include <array>

#include "devsettings/SourceCode.h"

// The sources the live graph window offers, shared by its six rows: every source that the
// device page has fed, in the order it first arrived, and each row's chosen entry.
class CLiveSourceList {
public:
    static constexpr int kCapacity = 251;
    static constexpr int kRows = 6;

    CLiveSourceList();

    // Only the kinds 1..29 (the low 16 bits of the code) are plottable quantities.
    static bool IsPlottable(SourceCode code);

    struct OfferResult {
        int index = -1;      // the code's entry, -1 when it is not plottable or there is no room
        bool added = false;  // the entry is new: every row's list grows by it
    };
    // Finds the code's entry and appends one when it is new and there is room. Row k with
    // no entry chosen takes entry k when it arrives, so the first rows show the first
    // sources (three phases, not one phase three times).
    OfferResult Offer(SourceCode code);

    int Count() const { return m_count; }
    SourceCode Code(int index) const { return SourceCode(m_codes[size_t(index)]); }

    int Selection(int row) const { return m_selection[size_t(row)]; }
    // Chooses entry `index` (-1 for none) for a row; false when nothing changed or the
    // index is not an entry.
    bool Select(int row, int index);
    // The row's chosen entry is this code.
    bool RowShows(int row, SourceCode code) const;

private:
    std::array<qint32, kCapacity> m_codes;
    int m_count = 0;
    std::array<int, kRows> m_selection;
};
