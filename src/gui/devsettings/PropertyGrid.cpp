#include "devsettings/PropertyGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "devsettings/PropertyGridDelegate.h"
#include "devsettings/PropertyGridModel.h"

CPropertyTreeView::CPropertyTreeView(QWidget* parent) : QTreeView(parent) {
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
}

void CPropertyTreeView::CommitOpenEdit() {
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    QWidget* editor = indexWidget(current.siblingAtColumn(CPropertyGridModel::kValueColumn));
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool CPropertyTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const QModelIndex target = index.isValid() && index.parent().isValid()
                                   ? index.siblingAtColumn(CPropertyGridModel::kValueColumn)
                                   : index;
    if (!QTreeView::edit(target, trigger, event))
        return false;
    // A click on a choice opens its list at once, as a drop-down cell does.
    if (trigger == DoubleClicked || trigger == SelectedClicked) {
        if (auto* combo = qobject_cast<QComboBox*>(indexWidget(target)))
            combo->showPopup();
    }
    return true;
}

void CPropertyTreeView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && !current.parent().isValid()) {
            setExpanded(current.siblingAtColumn(0), !isExpanded(current.siblingAtColumn(0)));
            event->accept();
            return;
        }
        if (current.isValid() && edit(current, EditKeyPressed, event)) {
            event->accept();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CPropertyTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    if (const auto* grid = qobject_cast<const CPropertyGridModel*>(model()))
        painter->fillRect(rect, grid->Colors().groupBackground);
    QTreeView::drawBranches(painter, rect, index);
}

void CPropertyTreeView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    header()->resizeSection(CPropertyGridModel::kNameColumn,
                            viewport()->width() * CPropertyGrid::kNameColumnPercent / 100);
}

CPropertyDescription::CPropertyDescription(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CPropertyDescription::SetTexts(const QString& name, const QString& description) {
    if (name == m_name && description == m_description)
        return;
    m_name = name;
    m_description = description;
    update();
}

void CPropertyDescription::SetColors(const QColor& back, const QColor& text) {
    m_back = back;
    m_text = text;
    update();
}

QSize CPropertyDescription::sizeHint() const {
    return QSize(100, fontMetrics().lineSpacing() * kRows + 8);
}

void CPropertyDescription::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_back);
    const QRect inner = rect().adjusted(4, 3, -4, -3);
    QFont bold = font();
    bold.setBold(true);
    p.setPen(m_text);
    p.setFont(bold);
    const int line = QFontMetrics(bold).lineSpacing();
    p.drawText(QRect(inner.left(), inner.top(), inner.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
               m_name);
    p.setFont(font());
    p.drawText(inner.adjusted(0, line, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_description);
}

CPropertyGrid::CPropertyGrid(CParameterTable& table, QWidget* parent)
    : QWidget(parent),
      m_model(new CPropertyGridModel(table, this)),
      m_delegate(new CPropertyGridDelegate(*m_model, this)),
      m_view(new CPropertyTreeView(this)),
      m_description(new CPropertyDescription(this)) {
    const PropertyGridColors& colors = m_model->Colors();
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    QPalette pal = m_view->palette();
    pal.setColor(QPalette::Base, colors.background);
    pal.setColor(QPalette::Text, colors.text);
    m_view->setPalette(pal);
    m_description->SetColors(colors.groupBackground, colors.groupText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_description);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentChanged(current); });
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this] { OnCurrentChanged(m_view->currentIndex()); });
    SpanGroups();
}

CPropertyGrid::~CPropertyGrid() {
    // The view and the model go after this object: they must not call back into it.
    disconnect(m_view->selectionModel(), nullptr, this, nullptr);
    disconnect(m_model, nullptr, this, nullptr);
}

void CPropertyGrid::Reset() {
    m_model->Reset();
    SpanGroups();
    m_description->SetTexts({}, {});
}

void CPropertyGrid::SpanGroups() {
    for (int g = 0; g < m_model->rowCount(); ++g)
        m_view->setFirstColumnSpanned(g, QModelIndex(), true);
}

void CPropertyGrid::ExpandAll() {
    m_view->expandAll();
}
void CPropertyGrid::CollapseAll() {
    m_view->collapseAll();
}

void CPropertyGrid::Freeze() {
    m_view->CommitOpenEdit();
    m_model->Freeze();
}

void CPropertyGrid::Thaw() {
    m_model->Thaw();
    OnCurrentChanged(m_view->currentIndex());
}

void CPropertyGrid::OnCurrentChanged(const QModelIndex& current) {
    if (!current.isValid()) {
        m_description->SetTexts({}, {});
        return;
    }
    m_description->SetTexts(m_model->NameAt(current), m_model->DescriptionAt(current));
}
