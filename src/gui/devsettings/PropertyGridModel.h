#pragma once

#include <QAbstractItemModel>
#include <QColor>
#include <QHash>
#include <QVector>

#include "devsettings/PropertyNotifier.h"

class CParameterTable;
class CMyProperty;

// The colours of the settings grid.
struct PropertyGridColors {
    QColor background{255, 255, 255};
    QColor text{0, 0, 0};
    QColor groupBackground{214, 219, 233};  // also the description area and the grid lines
    QColor groupText{5, 33, 106};           // also the description text
};

// The parameter table as a two-level tree: groups at the top, their rows below, two
// columns (name, value). The table stays the owner of the rows; the model shows them,
// hands edited texts to ParseText and hears every change of a row through the table.
//
// While a transfer runs on another thread the model is frozen: it shows what the rows
// held when it froze, refuses edits and does not touch the rows until it thaws.
class CPropertyGridModel final : public QAbstractItemModel, private IPropertyNotifier {
    Q_OBJECT
  public:
    enum Column { kNameColumn = 0, kValueColumn = 1 };

    explicit CPropertyGridModel(CParameterTable& table, QObject* parent = nullptr);
    ~CPropertyGridModel() override;

    // The table was rebuilt: every row is new.
    void Reset();
    void Freeze();
    void Thaw();
    bool IsFrozen() const { return m_frozen; }

    // nullptr for a group row or an invalid index.
    CMyProperty* RowAt(const QModelIndex& index) const;
    bool IsGroup(const QModelIndex& index) const;
    QModelIndex IndexOf(const CMyProperty* row, int column = kNameColumn) const;
    QModelIndex GroupIndex(int group) const { return index(group, 0); }
    // The name and description shown under the grid for a row (group rows: the title alone).
    QString NameAt(const QModelIndex& index) const;
    QString DescriptionAt(const QModelIndex& index) const;

    const PropertyGridColors& Colors() const { return m_colors; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    struct Shown {
        QString name;
        QString value;
        bool bold = false;
    };
    // Internal id of a row index: its group + 1; group rows carry 0.
    static quintptr GroupTag(int group) { return quintptr(group) + 1; }

    void ParameterChanged(CMyProperty& row) override;
    void RowUpdated(CMyProperty& row) override;
    void Reindex();
    Shown ShownOf(const QModelIndex& index) const;

    CParameterTable& m_table;
    PropertyGridColors m_colors;
    QHash<const CMyProperty*, QPair<int, int>> m_where;  // row -> group, row in group
    bool m_frozen = false;
    QVector<QVector<Shown>> m_snapshot;  // per group, per row, while frozen
};
