#include "devsettings/PropertyGridDelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "devsettings/MyProperty.h"
#include "devsettings/PropertyGridModel.h"

CPropertyGridDelegate::CPropertyGridDelegate(CPropertyGridModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

QWidget* CPropertyGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                             const QModelIndex& index) const {
    const CMyProperty* row = m_model.RowAt(index);
    if (!row || index.column() != CPropertyGridModel::kValueColumn)
        return nullptr;
    if (!row->Options().isEmpty()) {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("optionEditor"));
        combo->addItems(row->Options());
        // A choice counts the moment it is made, as in any drop-down.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            auto* self = const_cast<CPropertyGridDelegate*>(this);
            emit self->commitData(combo);
        });
        return combo;
    }
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("textEditor"));
    edit->setFrame(false);
    const QString characters = row->EditCharacters();
    if (!characters.isEmpty()) {
        const QRegularExpression allowed(QStringLiteral("[%1]*").arg(QRegularExpression::escape(characters)));
        edit->setValidator(new QRegularExpressionValidator(allowed, edit));
    }
    return edit;
}

void CPropertyGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const CMyProperty* row = m_model.RowAt(index);
    if (!row)
        return;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(int(row->Options().indexOf(row->FormatValue())));
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        const QString text = row->EditText();
        if (edit->text() != text)
            edit->setText(text);
    }
}

void CPropertyGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() >= 0)
            model->setData(index, combo->currentText(), Qt::EditRole);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, edit->text(), Qt::EditRole);
    }
}

void CPropertyGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(m_model.Colors().groupBackground);
    const QRect r = option.rect;
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (index.column() == CPropertyGridModel::kNameColumn && !m_model.IsGroup(index))
        painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}
