#include "devsettings/ParameterTable.h"

#include "devsettings/MyPropertyDouble.h"
#include "devsettings/MyPropertyFSize.h"
#include "devsettings/MyPropertyIP.h"
#include "devsettings/MyPropertyInt.h"
#include "devsettings/MyPropertyList.h"
#include "devsettings/MyPropertyPasswASCII.h"
#include "devsettings/MyPropertySource.h"
#include "devsettings/MyPropertyTimeLen.h"
#include "devsettings/ParameterDefinition.h"
#include "language/Language.h"

namespace {

// A unit added to a threshold's name earlier is recognised by its comma near the end.
constexpr int kUnitSuffixLimit = 10;

std::unique_ptr<CMyProperty> MakeRow(const ParameterDefinition& s) {
    const RegisterBinding binding(s.kind, s.type, s.address);
    const QString& name = GetText(s.nameKey);
    const QString& description = GetText(s.descriptionKey);
    switch (s.kind) {
        case EK_LIST:
            return std::make_unique<CMyPropertyList>(name, int(s.defaultValue), GetText(s.extra), description,
                                                     binding);
        case EK_IP:
            return std::make_unique<CMyPropertyIP>(name, uint32_t(s.defaultValue), description, binding);
        case EK_TIMELEN:
            return std::make_unique<CMyPropertyTimeLen>(name, int32_t(s.defaultValue), int32_t(s.minimum),
                                                        int32_t(s.maximum), s.extra, description, binding);
        case EK_FSIZE:
            return std::make_unique<CMyPropertyFSize>(name, uint32_t(s.defaultValue), description, binding);
        case EK_PASSWASCII:
            return std::make_unique<CMyPropertyPasswASCII>(name, QString::fromLatin1(s.text), binding.count,
                                                           description, binding);
        case EK_INT:
            return std::make_unique<CMyPropertyInt>(name, int32_t(s.defaultValue), int32_t(s.minimum),
                                                    int32_t(s.maximum), description, binding);
        case EK_DOUBLE:
            return std::make_unique<CMyPropertyDouble>(name, s.defaultValue, s.minimum, s.maximum, s.step,
                                                       description, binding);
        case EK_SOURCE:
            return std::make_unique<CMyPropertySource>(name, SourceCode(s.defaultValue), description,
                                                       binding);
        default:
            return nullptr;
    }
}

}  // namespace

void CParameterTable::BuildParameterTable() {
    m_groups.clear();
    for (const ParameterGroupDefinition& g : ParameterGroupDefinitions()) {
        ParameterGroup group;
        group.titleKey = g.titleKey;
        group.title = GetText(g.titleKey);
        for (const ParameterDefinition& s : g.rows) {
            std::unique_ptr<CMyProperty> row = MakeRow(s);
            if (!row)
                continue;
            row->SetNotifier(this);
            group.rows.push_back(std::move(row));
        }
        m_groups.push_back(std::move(group));
    }
}

std::vector<CMyProperty*> CParameterTable::Rows() const {
    std::vector<CMyProperty*> rows;
    rows.reserve(size_t(RowCount()));
    for (const ParameterGroup& g : m_groups)
        for (const auto& r : g.rows)
            rows.push_back(r.get());
    return rows;
}

int CParameterTable::RowCount() const {
    int n = 0;
    for (const ParameterGroup& g : m_groups)
        n += int(g.rows.size());
    return n;
}

CMyProperty* CParameterTable::FindByAddress(int address) const {
    for (const ParameterGroup& g : m_groups)
        for (const auto& r : g.rows)
            if (r->Binding().address == address)
                return r.get();
    return nullptr;
}

void CParameterTable::AcceptAll() {
    for (const ParameterGroup& g : m_groups)
        for (const auto& r : g.rows)
            r->AcceptValue();
}

void CParameterTable::ApplySourceToThreshold(const CMyPropertySource* source, CMyPropertyDouble* threshold) {
    if (!source || !threshold)
        return;
    const SourceInfo_t* info = FindSource(source->Catalogue(), source->Code());
    if (!info)
        return;
    const uint32_t factor = CMyPropertyDouble::FactorOfStep(info->step);
    threshold->SetRange(CMyPropertyDouble::ToRaw(factor, info->minimum),
                        CMyPropertyDouble::ToRaw(factor, info->maximum), factor);
    QString name = threshold->Name();
    const qsizetype comma = name.lastIndexOf(u',');
    if (comma >= 0 && name.size() - comma < kUnitSuffixLimit)
        name.truncate(comma);
    if (!info->unit.isEmpty())
        name += QStringLiteral(", ") + info->unit;
    threshold->SetName(name);
    threshold->SetValue(threshold->Value());
}

void CParameterTable::OnParameterChanged(CMyProperty& row) {
    if (row.Kind() != EK_SOURCE)
        return;
    for (int n = 0; n < kEventCount; ++n) {
        if (row.Binding().address != EventSourceAddress(n))
            continue;
        const auto* source = static_cast<const CMyPropertySource*>(&row);
        for (const int address : {EventUpThresholdAddress(n), EventDownThresholdAddress(n)}) {
            CMyProperty* threshold = FindByAddress(address);
            if (threshold && threshold->Kind() == EK_DOUBLE)
                ApplySourceToThreshold(source, static_cast<CMyPropertyDouble*>(threshold));
        }
    }
}

void CParameterTable::ParameterChanged(CMyProperty& row) {
    OnParameterChanged(row);
    if (m_observer)
        m_observer->ParameterChanged(row);
}

void CParameterTable::RowUpdated(CMyProperty& row) {
    if (m_observer)
        m_observer->RowUpdated(row);
}
