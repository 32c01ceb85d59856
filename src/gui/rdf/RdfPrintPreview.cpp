#include "rdf/RdfPrintPreview.h"

#include <QPainter>
#include <bit>
#include <vector>

QImage ShrinkMonoPage(const QImage& page, QSize size) {
    if (page.isNull() || size.isEmpty() || page.depth() != 1) return {};
    const QImage mono = page.format() == QImage::Format_Mono ? page : page.convertToFormat(QImage::Format_Mono);
    const int sw = mono.width();
    const int sh = mono.height();
    const int ow = size.width();
    const int oh = size.height();
    const bool whiteIsOne = qGray(mono.color(1)) > qGray(mono.color(0));
    std::vector<int> column(size_t(sw) + 8);
    std::vector<std::int64_t> area(static_cast<size_t>(ow));
    for (int x = 0; x < sw; ++x) {
        column[size_t(x)] = int(std::int64_t(x) * ow / sw);
        ++area[size_t(column[size_t(x)])];
    }
    for (int x = sw; x < sw + 8; ++x) column[size_t(x)] = ow;  // the padding bits of a row
    std::vector<std::int64_t> white(size_t(ow) + 1);
    QImage out(size, QImage::Format_Grayscale8);
    int sy = 0;
    for (int oy = 0; oy < oh; ++oy) {
        std::fill(white.begin(), white.end(), 0);
        const int rowEnd = int(std::int64_t(oy + 1) * sh / oh);
        const int rows = std::max(1, rowEnd - sy);
        for (; sy < rowEnd; ++sy) {
            const uchar* line = mono.constScanLine(sy);
            for (int b = 0; b < (sw + 7) / 8; ++b) {
                const unsigned byte = whiteIsOne ? line[b] : unsigned(~line[b]) & 0xFFu;
                const int x0 = 8 * b;
                if (column[size_t(x0)] == column[size_t(x0 + 7)]) {
                    white[size_t(column[size_t(x0)])] += std::popcount(byte);
                    continue;
                }
                for (int bit = 0; bit < 8; ++bit)
                    if (byte & (0x80u >> bit)) ++white[size_t(column[size_t(x0 + bit)])];
            }
        }
        uchar* o = out.scanLine(oy);
        for (int ox = 0; ox < ow; ++ox) {
            const std::int64_t cells = std::max<std::int64_t>(1, area[size_t(ox)] * rows);
            o[ox] = uchar(std::min<std::int64_t>(255, white[size_t(ox)] * 255 / cells));
        }
    }
    return out;
}

CRdfPrintPreview::CRdfPrintPreview(QWidget* parent) : QWidget(parent) {}

void CRdfPrintPreview::SetSheet(std::optional<QSize> sheetTenths) {
    m_sheet = sheetTenths;
    update();
}

void CRdfPrintPreview::SetPage(const QImage& page) {
    m_page = page;
    m_shrunk = QImage();
    update();
}

void CRdfPrintPreview::SetMargins(const RdfPrintMargins& margins, bool show) {
    m_margins = margins;
    m_showMargins = show;
    update();
}

QRect CRdfPrintPreview::SheetRect() const {
    if (!m_sheet) return {};
    // Room for the shadow on the right and at the bottom.
    const QRect area = rect().adjusted(kInset, kInset, -kInset - kShadowWidth, -kInset - kShadowWidth);
    return RdfPreviewRect(area, *m_sheet);
}

const QImage& CRdfPrintPreview::Shrunk(QSize size) {
    if (m_shrunk.size() != size) m_shrunk = ShrinkMonoPage(m_page, size);
    return m_shrunk;
}

void CRdfPrintPreview::paintEvent(QPaintEvent*) {
    const QRect sheet = SheetRect();
    if (sheet.isEmpty()) return;
    QPainter p(this);
    p.fillRect(QRect(sheet.left() + kShadowWidth, sheet.bottom() + 1, sheet.width(), kShadowWidth), kShadow);
    p.fillRect(QRect(sheet.right() + 1, sheet.top() + kShadowWidth, kShadowWidth, sheet.height()), kShadow);
    const QImage& shrunk = Shrunk(sheet.size());
    if (shrunk.isNull())
        p.fillRect(sheet, Qt::white);
    else
        p.drawImage(sheet.topLeft(), shrunk);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(sheet.adjusted(-1, -1, 0, 0));
    if (!m_showMargins) return;
    const RdfEdges lines = RdfPreviewMarginLines(sheet, m_margins);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawLine(sheet.left(), lines.top, sheet.right(), lines.top);
    p.drawLine(sheet.left(), lines.bottom, sheet.right(), lines.bottom);
    p.drawLine(lines.left, sheet.top(), lines.left, sheet.bottom());
    p.drawLine(lines.right, sheet.top(), lines.right, sheet.bottom());
}
