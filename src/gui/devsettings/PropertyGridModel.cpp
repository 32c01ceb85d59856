#include "devsettings/PropertyGridModel.h"

#include <QFont>

#include "devsettings/ParameterTable.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"

CPropertyGridModel::CPropertyGridModel(CParameterTable& table, QObject* parent)
    : QAbstractItemModel(parent), m_table(table) {
    m_table.SetObserver(this);
    Reindex();
}

CPropertyGridModel::~CPropertyGridModel() {
    m_table.SetObserver(nullptr);
}

void CPropertyGridModel::Reset() {
    beginResetModel();
    Reindex();
    endResetModel();
}

void CPropertyGridModel::Reindex() {
    m_where.clear();
    const auto& groups = m_table.Groups();
    for (int g = 0; g < int(groups.size()); ++g)
        for (int r = 0; r < int(groups[size_t(g)].rows.size()); ++r)
            m_where.insert(groups[size_t(g)].rows[size_t(r)].get(), {g, r});
}

void CPropertyGridModel::Freeze() {
    if (m_frozen)
        return;
    m_snapshot.clear();
    for (const ParameterGroup& group : m_table.Groups()) {
        QVector<Shown> rows;
        for (const auto& row : group.rows)
            rows.append({row->Name(), row->FormatValue(), row->ModifiedMark()});
        m_snapshot.append(rows);
    }
    m_frozen = true;
}

void CPropertyGridModel::Thaw() {
    if (!m_frozen)
        return;
    m_frozen = false;
    m_snapshot.clear();
    // The rows changed behind the model's back: every row is shown anew.
    for (int g = 0; g < rowCount(); ++g) {
        const QModelIndex group = index(g, 0);
        const int n = rowCount(group);
        if (n > 0)
            emit dataChanged(index(0, 0, group), index(n - 1, 1, group));
    }
}

CMyProperty* CPropertyGridModel::RowAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == 0)
        return nullptr;
    const auto& groups = m_table.Groups();
    const size_t g = size_t(index.internalId() - 1);
    if (g >= groups.size() || size_t(index.row()) >= groups[g].rows.size())
        return nullptr;
    return groups[g].rows[size_t(index.row())].get();
}

bool CPropertyGridModel::IsGroup(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == 0;
}

QModelIndex CPropertyGridModel::IndexOf(const CMyProperty* row, int column) const {
    const auto it = m_where.constFind(row);
    if (it == m_where.constEnd())
        return {};
    return createIndex(it->second, column, GroupTag(it->first));
}

QString CPropertyGridModel::NameAt(const QModelIndex& index) const {
    if (IsGroup(index))
        return data(index.siblingAtColumn(0), Qt::DisplayRole).toString();
    return ShownOf(index).name;
}

QString CPropertyGridModel::DescriptionAt(const QModelIndex& index) const {
    // Descriptions never change after a row is made, so they are read even while frozen.
    const CMyProperty* row = RowAt(index);
    return row ? row->Description() : QString();
}

QModelIndex CPropertyGridModel::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column > 1 || row < 0)
        return {};
    const auto& groups = m_table.Groups();
    if (!parent.isValid()) {
        if (size_t(row) >= groups.size())
            return {};
        return createIndex(row, column, quintptr(0));
    }
    if (!IsGroup(parent) || size_t(parent.row()) >= groups.size())
        return {};
    if (size_t(row) >= groups[size_t(parent.row())].rows.size())
        return {};
    return createIndex(row, column, GroupTag(parent.row()));
}

QModelIndex CPropertyGridModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int CPropertyGridModel::rowCount(const QModelIndex& parent) const {
    const auto& groups = m_table.Groups();
    if (!parent.isValid())
        return int(groups.size());
    if (!IsGroup(parent) || parent.column() != 0 || size_t(parent.row()) >= groups.size())
        return 0;
    return int(groups[size_t(parent.row())].rows.size());
}

int CPropertyGridModel::columnCount(const QModelIndex&) const {
    return 2;
}

CPropertyGridModel::Shown CPropertyGridModel::ShownOf(const QModelIndex& index) const {
    if (m_frozen) {
        const qsizetype g = qsizetype(index.internalId() - 1);
        if (g < m_snapshot.size() && index.row() < m_snapshot[g].size())
            return m_snapshot[g][index.row()];
        return {};
    }
    const CMyProperty* row = RowAt(index);
    if (!row)
        return {};
    return {row->Name(), row->FormatValue(), row->ModifiedMark()};
}

QVariant CPropertyGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (IsGroup(index)) {
        const auto& groups = m_table.Groups();
        if (size_t(index.row()) >= groups.size())
            return {};
        switch (role) {
            case Qt::DisplayRole:
                return index.column() == kNameColumn ? groups[size_t(index.row())].title : QVariant();
            case Qt::BackgroundRole:
                return m_colors.groupBackground;
            case Qt::ForegroundRole:
                return m_colors.groupText;
            case Qt::FontRole: {
                QFont font;
                font.setBold(true);
                return font;
            }
            default:
                return {};
        }
    }
    switch (role) {
        case Qt::DisplayRole: {
            const Shown shown = ShownOf(index);
            return index.column() == kNameColumn ? shown.name : shown.value;
        }
        case Qt::EditRole: {
            if (index.column() != kValueColumn || m_frozen)
                return {};
            const CMyProperty* row = RowAt(index);
            return row ? row->EditText() : QVariant();
        }
        case Qt::ToolTipRole:
            return DescriptionAt(index);
        case Qt::FontRole: {
            if (!ShownOf(index).bold)
                return {};
            QFont font;
            font.setBold(true);
            return font;
        }
        case Qt::BackgroundRole:
            return m_colors.background;
        case Qt::ForegroundRole:
            return m_colors.text;
        default:
            return {};
    }
}

bool CPropertyGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != kValueColumn || m_frozen)
        return false;
    CMyProperty* row = RowAt(index);
    if (!row)
        return false;
    // The row reports a real change itself; an unreadable or unchanged text leaves it be,
    // and the shown text is refreshed either way.
    if (!row->ParseText(value.toString()))
        emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags CPropertyGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!IsGroup(index) && index.column() == kValueColumn && !m_frozen)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant CPropertyGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return GetText(section == kNameColumn ? LNG_SETTDEV_PROPERTY : LNG_SETTDEV_VALUE);
}

void CPropertyGridModel::ParameterChanged(CMyProperty&) {
    // The row follows with RowUpdated; thresholds renamed by an event source report their own.
}

void CPropertyGridModel::RowUpdated(CMyProperty& row) {
    // Rows change on the transfer thread while the model is frozen: nothing is touched then.
    if (m_frozen)
        return;
    const QModelIndex name = IndexOf(&row, kNameColumn);
    if (!name.isValid())
        return;
    // One signal per cell, so an open in-place editor of the value is refilled.
    emit dataChanged(name, name);
    const QModelIndex value = name.siblingAtColumn(kValueColumn);
    emit dataChanged(value, value);
}
