#pragma once

#include <QString>
#include <cstdint>

// Reads numbers from the front of a text the way the C library's scanf conversions do
// ("%d", "%u", "%lf", "%s"), without its locale and without undefined results: white
// space before a number is skipped, an overlong number saturates instead of overflowing.
class CTextScan {
  public:
    explicit CTextScan(const QString& text) : m_text(text) {}

    // Optional sign and decimal digits. False (nothing consumed) without a digit.
    bool ReadInteger(int64_t* value);
    // A decimal number with optional fraction and exponent; never inf or nan.
    bool ReadDouble(double* value);
    // Up to maxChars characters that are not white space; false when none.
    bool ReadWord(int maxChars, QString* word);
    // The literal character c, exactly at the cursor.
    bool Expect(QChar c);
    void SkipSpace();
    bool AtEnd() const { return m_pos >= m_text.size(); }

  private:
    const QString& m_text;
    qsizetype m_pos = 0;
};

// The 32-bit pattern of an integer that saturated at the 64-bit limits, as a C conversion
// into a 32-bit variable keeps it.
inline uint32_t Low32(int64_t v) {
    return uint32_t(uint64_t(v));
}
