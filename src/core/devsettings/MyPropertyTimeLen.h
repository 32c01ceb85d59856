#pragma once

#include "devsettings/MyProperty.h"

// A duration in base units: milliseconds (unit set 0: ms, s, min) or seconds (unit set 1:
// s, min). Shown in the largest unit that keeps it readable, typed with an optional unit.
class CMyPropertyTimeLen final : public CMyProperty {
  public:
    CMyPropertyTimeLen(const QString& name, int32_t defaultValue, int32_t minimum, int32_t maximum,
                       int unitSet, const QString& description, RegisterBinding binding);

    QString FormatValue() const override;
    bool ParseText(const QString& text) override;
    bool IsModified() const override { return m_value != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;
    int64_t Value() const override { return m_value; }
    int64_t BaselineValue() const override { return m_baseline; }
    void SetValue(int64_t v) override;

    int32_t Minimum() const { return m_minimum; }
    int32_t Maximum() const { return m_maximum; }
    int UnitSet() const { return m_unitSet; }
    // The unit words of the row's set, smallest first.
    const QStringList& UnitWords() const { return m_units; }

  private:
    int32_t Clamp(int64_t v) const;

    int32_t m_value;
    int32_t m_minimum;
    int32_t m_maximum;
    int32_t m_baseline;
    int m_unitSet;
    QStringList m_units;
};
