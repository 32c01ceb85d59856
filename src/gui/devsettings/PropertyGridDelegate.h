#pragma once

#include <QStyledItemDelegate>

class CPropertyGridModel;

// Makes the in-place editor a row asks for: a drop-down for rows with options, a line
// edit that takes only the row's characters where it names them, a plain line edit
// otherwise. Also draws the grid lines.
class CPropertyGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit CPropertyGridDelegate(CPropertyGridModel& model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    CPropertyGridModel& m_model;
};
