#pragma once

#include <QFont>
#include <QRect>

// Converts the dialog units of our window layouts to pixels the way the desktop platform
// does: base units from the dialog font (baseX from the average width of A..Z a..z, baseY
// the font's cell height), x = MulDiv(dlu, baseX, 4), y = MulDiv(dlu, baseY, 8).
class DialogUnits {
public:
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}
    explicit DialogUnits(const QFont& font);
    // The units of the program's dialog font (the system UI font).
    static DialogUnits ForDialogFont();

    int X(int dlu) const { return MulDiv(dlu, m_baseX, 4); }
    int Y(int dlu) const { return MulDiv(dlu, m_baseY, 8); }
    QPoint Point(int x, int y) const { return QPoint(X(x), Y(y)); }
    QRect Rect(int x, int y, int w, int h) const;
    QSize Size(int w, int h) const { return QSize(X(w), Y(h)); }
    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

    // a * b / c rounded to the nearest integer, halves away from zero.
    static int MulDiv(int a, int b, int c);

private:
    int m_baseX;
    int m_baseY;
};
