#pragma once

#include <QImage>
#include <QWidget>

#include "rdf/RdfPrintLayout.h"

// The preview area of the print dialog: the page bitmap shrunk onto the sheet's place,
// with its frame, its shadow and, when asked for, the margin lines.
class CRdfPrintPreview : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kShadow{149, 149, 149};
    static constexpr int kShadowWidth = 5;
    static constexpr int kInset = 5;

    explicit CRdfPrintPreview(QWidget* parent = nullptr);

    // No sheet (no printer held): nothing is drawn.
    void SetSheet(std::optional<QSize> sheetTenths);
    void SetPage(const QImage& page);
    void SetMargins(const RdfPrintMargins& margins, bool show);
    // Where the sheet is drawn now.
    QRect SheetRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& Shrunk(QSize size);

    std::optional<QSize> m_sheet;
    QImage m_page;
    QImage m_shrunk;  // m_page at the size last drawn
    RdfPrintMargins m_margins;
    bool m_showMargins = true;
};

// A monochrome page averaged down to grey: every pixel of the result is the share of white
// in the part of the page it covers, so thin lines stay visible as grey.
QImage ShrinkMonoPage(const QImage& page, QSize size);
