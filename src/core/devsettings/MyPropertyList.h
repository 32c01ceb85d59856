#pragma once

#include "devsettings/MyPropertyChoice.h"

// A choice among language-given options; the register holds the option index.
class CMyPropertyList final : public CMyPropertyChoice {
  public:
    // options: "|"-separated; an empty text gives one empty option.
    CMyPropertyList(const QString& name, int defaultIndex, const QString& options, const QString& description,
                    RegisterBinding binding);

    int64_t Value() const override { return Index(); }
    int64_t BaselineValue() const override { return BaselineIndex(); }
    // Any 16-bit index is kept; one beyond the options shows as an empty text.
    void SetValue(int64_t v) override { Select(int(v & 0xFFFF)); }
};
