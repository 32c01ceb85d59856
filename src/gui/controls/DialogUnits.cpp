#include "controls/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>
#include <cstdlib>

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (w / 26 + 1) / 2;
    m_baseY = fm.height();
    if (m_baseX < 1) m_baseX = 1;
    if (m_baseY < 1) m_baseY = 1;
}

DialogUnits DialogUnits::ForDialogFont() { return DialogUnits(QApplication::font()); }

QRect DialogUnits::Rect(int x, int y, int w, int h) const {
    // Edges are converted, not sizes, so that neighbouring controls meet exactly.
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + w) - left, Y(y + h) - top);
}

int DialogUnits::MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long p = static_cast<long long>(a) * b;
    const long long q = c;
    long long r = (std::llabs(p) * 2 + std::llabs(q)) / (2 * std::llabs(q));
    if ((p < 0) != (q < 0)) r = -r;
    return static_cast<int>(r);
}
