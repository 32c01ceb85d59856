#pragma once

#include "devsettings/MyProperty.h"

// A whole number within a range; values outside are clamped silently.
class CMyPropertyInt final : public CMyProperty {
  public:
    CMyPropertyInt(const QString& name, int32_t defaultValue, int32_t minimum, int32_t maximum,
                   const QString& description, RegisterBinding binding);

    static const QString& Characters();
    QString EditCharacters() const override { return Characters(); }

    QString FormatValue() const override { return QString::number(m_value); }
    bool ParseText(const QString& text) override;
    bool IsModified() const override { return m_value != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;
    int64_t Value() const override { return m_value; }
    int64_t BaselineValue() const override { return m_baseline; }
    void SetValue(int64_t v) override;

    int32_t Minimum() const { return m_minimum; }
    int32_t Maximum() const { return m_maximum; }

  private:
    int32_t Clamp(int64_t v) const;

    int32_t m_value;
    int32_t m_minimum;
    int32_t m_maximum;
    int32_t m_baseline;
};
