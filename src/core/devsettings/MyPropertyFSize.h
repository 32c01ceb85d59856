#pragma once

#include <vector>

#include "devsettings/MyProperty.h"

// The size limit of a recorded file: fifteen sizes from 32 KB to 512 MB. The row holds
// the option index; the register holds the option's byte count.
class CMyPropertyFSize final : public CMyProperty {
  public:
    CMyPropertyFSize(const QString& name, uint32_t defaultBytes, const QString& description,
                     RegisterBinding binding);

    QString FormatValue() const override;
    bool ParseText(const QString& text) override;
    bool IsModified() const override { return m_index != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;
    int64_t Value() const override { return TableValue(m_index); }
    int64_t BaselineValue() const override { return TableValue(m_baseline); }
    // A byte count; one that is no option selects the first (32 KB).
    void SetValue(int64_t bytes) override;

    int Index() const { return m_index; }
    static constexpr int kSizeCount = 15;
    static uint32_t SizeBytes(int i) { return uint32_t(32768) << i; }

  private:
    uint32_t TableValue(int index) const;
    int IndexOf(int64_t bytes) const;

    std::vector<uint32_t> m_bytes;  // parallel to the options
    int m_index = 0;
    int m_baseline = 0;
};
