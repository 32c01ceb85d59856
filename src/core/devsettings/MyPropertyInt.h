#pragma once

#include "devsettings/MyPropertyRanged.h"

// A whole number within a range; values outside are clamped silently.
class CMyPropertyInt final : public CMyPropertyRanged {
  public:
    CMyPropertyInt(const QString& name, int32_t defaultValue, int32_t minimum, int32_t maximum,
                   const QString& description, RegisterBinding binding);

    static const QString& Characters();
    QString EditCharacters() const override { return Characters(); }

    QString FormatValue() const override { return QString::number(Current()); }
    bool ParseText(const QString& text) override;
};
