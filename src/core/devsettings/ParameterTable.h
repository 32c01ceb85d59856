#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "devsettings/MyProperty.h"
#include "devsettings/PropertyNotifier.h"

class CMyPropertyDouble;
class CMyPropertySource;

// One collapsible group of the settings grid.
struct ParameterGroup {
    int titleKey = -1;
    QString title;
    std::vector<std::unique_ptr<CMyProperty>> rows;
};

// The device's settings block as the settings grid shows it: twenty groups of editor
// rows, each bound to its registers. The table owns the rows and hears every row's
// ParameterChanged first (an event source re-ranges its thresholds), then passes it on
// to the observer, which is the settings window when there is one.
class CParameterTable final : private IPropertyNotifier {
  public:
    CParameterTable() = default;
    CParameterTable(const CParameterTable&) = delete;
    CParameterTable& operator=(const CParameterTable&) = delete;

    // Drops every row and makes all groups and rows anew with their factory values.
    void BuildParameterTable();
    void Clear() { m_groups.clear(); }

    const std::vector<ParameterGroup>& Groups() const { return m_groups; }
    // Every row in grid order (groups in order, rows in order).
    std::vector<CMyProperty*> Rows() const;
    int RowCount() const;

    // The first row, in grid order, whose binding starts at address; nullptr when none.
    CMyProperty* FindByAddress(int address) const;

    // AcceptValue on every row (the "*" command).
    void AcceptAll();

    // The window that draws the rows; nullptr for none. Not owned.
    void SetObserver(IPropertyNotifier* observer) { m_observer = observer; }

    // Gives the threshold the range, factor and unit of the source's current catalogue row
    // and clamps its value into it. Does nothing when either is missing or the source's
    // code is in no catalogue row.
    static void ApplySourceToThreshold(const CMyPropertySource* source, CMyPropertyDouble* threshold);

    // The grid's change handler: an event source re-ranges its two thresholds. Other rows
    // are left alone.
    void OnParameterChanged(CMyProperty& row);

  private:
    void ParameterChanged(CMyProperty& row) override;
    void RowUpdated(CMyProperty& row) override;

    std::vector<ParameterGroup> m_groups;
    IPropertyNotifier* m_observer = nullptr;
};
