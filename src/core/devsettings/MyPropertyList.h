#pragma once

#include "devsettings/MyProperty.h"

// A choice among language-given options; the register holds the option index.
class CMyPropertyList final : public CMyProperty {
  public:
    // options: "|"-separated; an empty text gives one empty option.
    CMyPropertyList(const QString& name, int defaultIndex, const QString& options, const QString& description,
                    RegisterBinding binding);

    QString FormatValue() const override;
    bool ParseText(const QString& text) override;
    bool IsModified() const override { return m_index != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;
    int64_t Value() const override { return m_index; }
    int64_t BaselineValue() const override { return m_baseline; }
    // Any 16-bit index is kept; one beyond the options shows as an empty text.
    void SetValue(int64_t v) override;

    int Index() const { return m_index; }

  private:
    int m_index = 0;
    int m_baseline = 0;
};
