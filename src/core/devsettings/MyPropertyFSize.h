#pragma once

#include <vector>

#include "devsettings/MyPropertyChoice.h"

// The size limit of a recorded file: fifteen sizes from 32 KB to 512 MB. The row holds
// the option index; the register holds the option's byte count.
class CMyPropertyFSize final : public CMyPropertyChoice {
  public:
    CMyPropertyFSize(const QString& name, uint32_t defaultBytes, const QString& description,
                     RegisterBinding binding);

    int64_t Value() const override { return TableValue(Index()); }
    int64_t BaselineValue() const override { return TableValue(BaselineIndex()); }
    // A byte count; one that is no option selects the first (32 KB).
    void SetValue(int64_t bytes) override { Select(IndexOf(bytes)); }

    static constexpr int kSizeCount = 15;
    static uint32_t SizeBytes(int i) { return uint32_t(32768) << i; }

  private:
    uint32_t TableValue(int index) const;
    int IndexOf(int64_t bytes) const;

    std::vector<uint32_t> m_bytes;  // parallel to the options
};
