#include "controls/XListCtrl.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "controls/ColorRef.h"
#include "controls/ControlDrawing.h"
#include "controls/IconIds.h"
#include "language/Language.h"
#include "settings/Settings.h"
#include "indicators/IndicatorMath.h"

namespace {

Qt::Alignment ColumnAlignment(int column) {
    return column == CXListCtrl::kColumnText ? Qt::AlignLeft : Qt::AlignHCenter;
}

// Draws each cell the way the log wants it: the row's own colours, the state icon centred,
// texts single-line in Arial 14 with 4 pixels of padding.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QColor back = index.data(Qt::BackgroundRole).value<QBrush>().color();
        if (option.state & QStyle::State_Selected)
            back = ColorFromRef(IndicatorMath::ShiftColor(RefFromColor(back), -15));
        p->fillRect(option.rect, back);
        if (index.column() == CXListCtrl::kColumnIcon) {
            const int image = index.data(CXListCtrl::kImageRole).toInt();
            const qreal dpr = ControlDrawing::PaintRatio(p->device());
            const QPixmap& pm = Icon(image, dpr);
            const QSize s(CXListCtrl::kIconSize, CXListCtrl::kIconSize);
            const QRect r(option.rect.center() - QPoint(s.width() / 2 - 1, s.height() / 2 - 1), s);
            p->drawPixmap(r.topLeft(), pm);
            return;
        }
        p->setFont(ControlDrawing::ArialFont(CXListCtrl::kRowFontHeight));
        p->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
        const QRect r = option.rect.adjusted(4, 0, -4, 0);
        p->drawText(r, int(ColumnAlignment(index.column()) | Qt::AlignVCenter | Qt::TextSingleLine),
                    index.data(Qt::DisplayRole).toString());
    }

private:
    const QPixmap& Icon(int image, qreal dpr) const {
        QPixmap& pm = m_icons[image ? 1 : 0];
        if (pm.isNull() || pm.devicePixelRatio() != dpr)
            pm = ControlDrawing::SvgPixmap(IconPath(image ? IDI_LIST_ERROR : IDI_LIST_OK),
                                           QSize(CXListCtrl::kIconSize, CXListCtrl::kIconSize), dpr);
        return pm;
    }
    mutable QPixmap m_icons[2];
};

}  // namespace

CXListCtrl::CXListCtrl(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(kColumnCount);
    setItemDelegate(new RowDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kIconSize + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const int titles[kColumnCount] = {-1, LNG_GLOB_CODE, LNG_GLOB_TEXT, LNG_GLOB_TIME};
    for (int c = 0; c < kColumnCount; ++c) {
        auto* header = new QTableWidgetItem(titles[c] < 0 ? QString() : GetText(titles[c]));
        header->setTextAlignment(ColumnAlignment(c) | Qt::AlignVCenter);
        setHorizontalHeaderItem(c, header);
    }

    SetColors(palette().color(QPalette::Base), m_textColor);
    SizeColumns();
}

void CXListCtrl::SetColors(const QColor& back, const QColor& text) {
    m_textColor = text;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
    ShowRows();
}

void CXListCtrl::UpdateErrors(quint32 mask) { UpdateErrors(mask, QTime::currentTime()); }

void CXListCtrl::UpdateErrors(quint32 mask, const QTime& now) {
    if (m_log.Update(mask, now) > 0) ShowRows();
}

void CXListCtrl::Clear() {
    m_log.Clear();
    setRowCount(0);
}

int CXListCtrl::RowImage(int row) const {
    const QTableWidgetItem* it = item(row, kColumnIcon);
    return it ? it->data(kImageRole).toInt() : -1;
}

QColor CXListCtrl::RowBackColor(int row) const {
    const QTableWidgetItem* it = item(row, kColumnIcon);
    return it ? it->background().color() : QColor();
}

QColor CXListCtrl::RowTextColor(int row) const {
    const QTableWidgetItem* it = item(row, kColumnIcon);
    return it ? it->foreground().color() : QColor();
}

void CXListCtrl::ShowRows() {
    // At most 50 rows: refilling them all is cheaper than keeping two lists in step.
    const auto& rows = m_log.Rows();
    setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const CErrorLog::Row& row = rows[size_t(r)];
        const QString texts[kColumnCount] = {QString(), row.CodeText(), GetText(row.TextId()), row.TimeText()};
        const QBrush back(ColorFromRef(row.BackColor()));
        const QBrush fore(m_textColor);
        for (int c = 0; c < kColumnCount; ++c) {
            QTableWidgetItem* it = item(r, c);
            if (!it) {
                it = new QTableWidgetItem;
                setItem(r, c, it);
            }
            it->setText(texts[c]);
            it->setBackground(back);
            it->setForeground(fore);
            if (c == kColumnIcon) it->setData(kImageRole, row.Image());
            if (c == kColumnText) it->setToolTip(texts[c]);
        }
    }
}

void CXListCtrl::SizeColumns() {
    int widths[kColumnCount];
    CErrorLog::ColumnWidths(width(), widths);
    for (int c = 0; c < kColumnCount; ++c) setColumnWidth(c, widths[c]);
}

void CXListCtrl::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    SizeColumns();
}
