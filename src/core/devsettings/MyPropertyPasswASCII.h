#pragma once

#include "devsettings/MyProperty.h"

// A password of at most 13 or 6 characters, one per register. A text read from the device
// holds one character per register, zero characters included; the visible text ends at
// the first zero, and only the visible text counts as the row's value.
class CMyPropertyPasswASCII final : public CMyProperty {
  public:
    CMyPropertyPasswASCII(const QString& name, const QString& defaultText, int maxLength,
                          const QString& description, RegisterBinding binding);

    // Digits, Latin letters and Cyrillic letters (without Ё), both cases.
    static const QString& Characters();
    QString EditCharacters() const override { return Characters(); }
    QString EditText() const override { return VisibleText(m_text); }

    QString FormatValue() const override;
    bool ParseText(const QString& text) override;
    bool IsModified() const override;
    void AcceptValue() override;
    void RevertToBaseline() override;
    QString Text() const override { return m_text; }
    QString BaselineText() const override { return m_baseline; }
    // Trimmed and cut to the maximum length.
    void SetText(const QString& text) override;

    int MaxLength() const { return m_maxLength; }
    static QString VisibleText(const QString& held);

  private:
    QString Fit(const QString& text) const;

    int m_maxLength;
    QString m_text;
    QString m_baseline;
};
