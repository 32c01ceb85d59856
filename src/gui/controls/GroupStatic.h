#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A titled group frame: a rounded frame whose top line is interrupted by the centred
// title. It lies behind its neighbours and lets the mouse through to them.
class CGroupStatic : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTitleFontHeight = 16;

    explicit CGroupStatic(QWidget* parent = nullptr, const QString& title = QString());

    // Each returns the previous colour.
    QColor SetBackColor(const QColor& color);
    QColor SetTextColor(const QColor& color);
    QColor SetThirdColor(const QColor& color);  // kept with the others, not drawn
    void SetTitle(const QString& title);
    const QString& Title() const { return m_title; }

    // The frame's rectangle and the title box (which interrupts the frame's top line).
    QRect FrameRect() const;
    QRect TitleRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backColor;
    QColor m_textColor;
    QColor m_thirdColor;
    QString m_title;
};
