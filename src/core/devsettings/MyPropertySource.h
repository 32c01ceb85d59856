#pragma once

#include <vector>

#include "devsettings/MyPropertyChoice.h"
#include "devsettings/SourceCatalogue.h"

// A recording or event source chosen from the source catalogue. The row holds the option
// index; the registers hold the option's source code.
class CMyPropertySource final : public CMyPropertyChoice {
  public:
    CMyPropertySource(const QString& name, SourceCode defaultCode, const QString& description,
                      RegisterBinding binding);

    int64_t Value() const override { return Code(); }
    int64_t BaselineValue() const override { return TableValue(BaselineIndex()); }
    // A code in no option selects the no-source row.
    void SetValue(int64_t code) override;

    SourceCode Code() const { return TableValue(Index()); }
    const SourceCatalogue& Catalogue() const { return m_catalogue; }

  private:
    SourceCode TableValue(int index) const;
    int IndexOf(int64_t code) const;

    SourceCatalogue m_catalogue;
    std::vector<SourceCode> m_codes;  // parallel to the options
};
