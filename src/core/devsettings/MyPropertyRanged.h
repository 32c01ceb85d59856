#pragma once

#include "devsettings/MyProperty.h"

// A 32-bit whole number within a range, with its baseline: what the number rows (plain
// numbers, durations, decimals kept as raw integers) share. Values from outside the range
// are clamped silently.
class CMyPropertyRanged : public CMyProperty {
  public:
    bool IsModified() const override { return m_value != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;
    int64_t Value() const override { return m_value; }
    int64_t BaselineValue() const override { return m_baseline; }
    void SetValue(int64_t v) override;

    // The range of the stored integer.
    int32_t MinimumRaw() const { return m_minimum; }
    int32_t MaximumRaw() const { return m_maximum; }

  protected:
    CMyPropertyRanged(const QString& name, int32_t defaultValue, int32_t minimum, int32_t maximum,
                      const QString& description, RegisterBinding binding);

    int32_t Current() const { return m_value; }
    // A typed number: clamped, taken and announced; false when it leaves the value as it was.
    bool TakeTyped(int64_t v);
    // A new range; the value is clamped into it.
    void SetLimits(int32_t minimum, int32_t maximum);

  private:
    int32_t Clamp(int64_t v) const;

    int32_t m_value;
    int32_t m_minimum;
    int32_t m_maximum;
    int32_t m_baseline;
};
