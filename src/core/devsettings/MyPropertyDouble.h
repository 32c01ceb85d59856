#pragma once

#include "devsettings/MyPropertyRanged.h"

// A decimal value kept as a raw integer: raw = shown value x factor, factor = 1 / step.
// Conversions truncate toward zero, as the device's own arithmetic does.
class CMyPropertyDouble final : public CMyPropertyRanged {
  public:
    CMyPropertyDouble(const QString& name, double defaultValue, double minimum, double maximum, double step,
                      const QString& description, RegisterBinding binding);

    static const QString& Characters();
    QString EditCharacters() const override { return Characters(); }

    QString FormatValue() const override;
    bool ParseText(const QString& text) override;

    // A new raw range and factor (0 stands for 1); the value is clamped into it.
    void SetRange(int32_t minimumRaw, int32_t maximumRaw, uint32_t factor);

    uint32_t Factor() const { return m_factor; }

    // The integer part of 1 / step for a positive step, else 1.
    static uint32_t FactorOfStep(double step);
    // trunc(factor x value), kept inside the 32-bit range.
    static int32_t ToRaw(uint32_t factor, double value);
    // raw / factor with as many decimals as the factor has zeros (none for other factors).
    static QString RawText(int64_t raw, uint32_t factor);

  private:
    uint32_t m_factor;
};
