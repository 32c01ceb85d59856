#pragma once

#include "devsettings/MyProperty.h"

// A decimal value kept as a raw integer: raw = shown value x factor, factor = 1 / step.
// Conversions truncate toward zero, as the device's own arithmetic does.
class CMyPropertyDouble final : public CMyProperty {
  public:
    CMyPropertyDouble(const QString& name, double defaultValue, double minimum, double maximum, double step,
                      const QString& description, RegisterBinding binding);

    static const QString& Characters();
    QString EditCharacters() const override { return Characters(); }

    QString FormatValue() const override;
    bool ParseText(const QString& text) override;
    bool IsModified() const override { return m_raw != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;
    int64_t Value() const override { return m_raw; }
    int64_t BaselineValue() const override { return m_baseline; }
    // A raw value, clamped to the raw range.
    void SetValue(int64_t raw) override;

    // A new raw range and factor (0 stands for 1); the value is clamped into it.
    void SetRange(int32_t minimumRaw, int32_t maximumRaw, uint32_t factor);

    int32_t MinimumRaw() const { return m_minimum; }
    int32_t MaximumRaw() const { return m_maximum; }
    uint32_t Factor() const { return m_factor; }

    // The integer part of 1 / step for a positive step, else 1.
    static uint32_t FactorOfStep(double step);
    // trunc(factor x value), kept inside the 32-bit range.
    static int32_t ToRaw(uint32_t factor, double value);
    // raw / factor with as many decimals as the factor has zeros (none for other factors).
    static QString RawText(int64_t raw, uint32_t factor);

  private:
    int32_t Clamp(int64_t v) const;

    int32_t m_raw;
    int32_t m_minimum;
    int32_t m_maximum;
    uint32_t m_factor;
    int32_t m_baseline;
};
