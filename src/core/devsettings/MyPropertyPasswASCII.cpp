#include "devsettings/MyPropertyPasswASCII.h"

CMyPropertyPasswASCII::CMyPropertyPasswASCII(const QString& name, const QString& defaultText, int maxLength,
                                             const QString& description, RegisterBinding binding)
    : CMyProperty(name, description, binding), m_maxLength(maxLength < 0 ? 0 : maxLength) {
    m_text = m_baseline = defaultText.left(m_maxLength);
}

const QString& CMyPropertyPasswASCII::Characters() {
    static const QString kChars = QStringLiteral(
        "0123456789QWERTYUIOPASDFGHJKLZXCVBNMqwertyuiopasdfghjklzxcvbnm"
        "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮйцукенгшщзхъфывапролджэячсмитьбю");
    return kChars;
}

QString CMyPropertyPasswASCII::VisibleText(const QString& held) {
    const qsizetype zero = held.indexOf(QChar(0));
    return zero < 0 ? held : held.left(zero);
}

QString CMyPropertyPasswASCII::FormatValue() const {
    return QStringLiteral("\"%1\"").arg(VisibleText(m_text));
}

QString CMyPropertyPasswASCII::Fit(const QString& text) const {
    return text.trimmed().left(m_maxLength);
}

bool CMyPropertyPasswASCII::IsModified() const {
    return VisibleText(m_text) != VisibleText(m_baseline);
}

bool CMyPropertyPasswASCII::ParseText(const QString& text) {
    const QString fitted = Fit(text);
    if (fitted == m_text)
        return false;
    m_text = fitted;
    NotifyParameterChanged();
    return true;
}

void CMyPropertyPasswASCII::AcceptValue() {
    m_baseline = m_text;
    ClearMark();
}

void CMyPropertyPasswASCII::RevertToBaseline() {
    m_text = m_baseline;
    ClearMark();
}

void CMyPropertyPasswASCII::SetText(const QString& text) {
    const QString fitted = Fit(text);
    const bool changed = VisibleText(fitted) != VisibleText(m_text);
    m_text = fitted;
    AfterSetValue(changed);
}
