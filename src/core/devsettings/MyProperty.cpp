#include "devsettings/MyProperty.h"

namespace {
constexpr int kMaxOptionChars = 127;
}

CMyProperty::CMyProperty(QString name, QString description, RegisterBinding binding)
    : m_name(std::move(name)), m_description(std::move(description)), m_binding(binding) {}

void CMyProperty::SetName(const QString& name) {
    if (name == m_name)
        return;
    m_name = name;
    NotifyRowUpdated();
}

void CMyProperty::NotifyParameterChanged() {
    m_modifiedMark = IsModified();
    if (m_notifier) {
        m_notifier->ParameterChanged(*this);
        m_notifier->RowUpdated(*this);
    }
}

void CMyProperty::ClearMark() {
    m_modifiedMark = false;
    NotifyRowUpdated();
}

void CMyProperty::NotifyRowUpdated() {
    if (m_notifier)
        m_notifier->RowUpdated(*this);
}

void CMyProperty::AfterSetValue(bool changed) {
    // A value that went back to its baseline must lose its mark too, and an event source
    // that went back must re-range its thresholds; so a real change always reports.
    if (changed || IsModified())
        NotifyParameterChanged();
    else
        NotifyRowUpdated();
}

QStringList CMyProperty::SplitOptions(const QString& text) {
    QStringList parts = text.split(u'|');
    for (QString& p : parts)
        p.truncate(kMaxOptionChars);
    return parts;
}

bool CMyProperty::AddOption(const QString& text) {
    if (m_options.contains(text, Qt::CaseSensitive))
        return false;
    m_options.append(text);
    return true;
}

int CMyProperty::MatchOption(const QString& text) const {
    const QString wanted = text.trimmed();
    for (int i = 0; i < m_options.size(); ++i)
        if (m_options[i].compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
