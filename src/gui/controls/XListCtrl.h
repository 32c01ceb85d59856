#pragma once

#include <QColor>
#include <QTableWidget>
#include <QTime>

#include "indicators/ErrorLog.h"

// The device's error log: a row for every error that came (red, cross) or went (green,
// tick), newest on top, at most 50 rows, with code, text and local time.
class CXListCtrl : public QTableWidget {
    Q_OBJECT
public:
    enum Column { kColumnIcon = 0, kColumnCode, kColumnText, kColumnTime, kColumnCount };
    // Per-row data kept on the icon cell.
    static constexpr int kImageRole = Qt::UserRole + 1;
    static constexpr int kRowFontHeight = 14;
    static constexpr int kIconSize = 16;

    explicit CXListCtrl(QWidget* parent = nullptr);

    // The list's background and the text colour of its rows; the owner's choice.
    void SetColors(const QColor& back, const QColor& text);

    void UpdateErrors(quint32 mask);
    void UpdateErrors(quint32 mask, const QTime& now);
    void Clear();
    quint32 Mask() const { return m_log.Mask(); }
    const CErrorLog& Log() const { return m_log; }

    // The image (0 tick, 1 cross) and colours of a shown row.
    int RowImage(int row) const;
    QColor RowBackColor(int row) const;
    QColor RowTextColor(int row) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowRows();
    void SizeColumns();

    CErrorLog m_log;
    QColor m_textColor{0, 0, 0};
};
