#pragma once

#include "devsettings/MyPropertyRanged.h"

// A duration in base units: milliseconds (unit set 0: ms, s, min) or seconds (unit set 1:
// s, min). Shown in the largest unit that keeps it readable, typed with an optional unit.
class CMyPropertyTimeLen final : public CMyPropertyRanged {
  public:
    CMyPropertyTimeLen(const QString& name, int32_t defaultValue, int32_t minimum, int32_t maximum,
                       int unitSet, const QString& description, RegisterBinding binding);

    QString FormatValue() const override;
    bool ParseText(const QString& text) override;

    int UnitSet() const { return m_unitSet; }
    // The unit words of the row's set, smallest first.
    const QStringList& UnitWords() const { return m_units; }

  private:
    int m_unitSet;
    QStringList m_units;
};
