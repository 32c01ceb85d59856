#pragma once

#include <QString>
#include <initializer_list>
#include <variant>

// Formatting of texts that use printf-style placeholders. Language texts are user-editable,
// so a template is never handed to printf: its placeholders are parsed, checked against
// the arguments the caller passes, and each one is rendered from its own checked argument.
// A template whose placeholders do not match its arguments is shown as it stands with the
// arguments appended, so nothing is read that was not passed.
class FormatArg {
public:
    FormatArg(int v) : m_value(qint64(v)) {}
    FormatArg(long v) : m_value(qint64(v)) {}
    FormatArg(long long v) : m_value(qint64(v)) {}
    FormatArg(unsigned v) : m_value(quint64(v)) {}
    FormatArg(unsigned long v) : m_value(quint64(v)) {}
    FormatArg(unsigned long long v) : m_value(quint64(v)) {}
    FormatArg(double v) : m_value(v) {}
    FormatArg(const QString& v) : m_value(v) {}
    FormatArg(const char16_t* v) : m_value(QString::fromUtf16(v)) {}

    // Signature letter: 'd' signed integer, 'u' unsigned integer, 'f' floating, 's' text.
    char Kind() const;
    const std::variant<qint64, quint64, double, QString>& Value() const { return m_value; }
    QString PlainText() const;

private:
    std::variant<qint64, quint64, double, QString> m_value;
};

// Formats templ with args. When ok is given it tells whether the template matched.
QString FormatText(const QString& templ, std::initializer_list<FormatArg> args, bool* ok = nullptr);

// The signature of a template's placeholders ("sdd" for "%s v%d.%d"), or an empty optional
// text in *valid = false when a placeholder is malformed or unsupported.
QString PlaceholderSignature(const QString& templ, bool* valid);

// Formats the language text of id, whose expected placeholders are listed in the format table.
QString FormatLng(int id, std::initializer_list<FormatArg> args, bool* ok = nullptr);
