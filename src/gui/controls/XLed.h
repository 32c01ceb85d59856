#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QSize>
#include <QWidget>

// A lamp: a resting picture (the second icon, mode 0) and an active one (the first icon).
// Mode 1 shows the active picture, blinking 500 ms / 500 ms while blinking is enabled;
// mode 2 shows it with a short flash of the resting picture once a second.
class CXLed : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimerId = 257;
    static constexpr int kTickMs = 100;

    explicit CXLed(QWidget* parent = nullptr);

    // Icons by number (see IconIds.h); 0 for none.
    void SetIcons(int firstId, int firstWidth, int firstHeight, int secondId, int secondWidth, int secondHeight);
    void SetMode(int mode);
    int Mode() const { return m_mode; }
    void EnableBlinking(bool enable);
    bool IsBlinking() const { return m_blinking; }

    // Which picture a paint shows now: 1 the first icon, 2 the second, 0 none.
    int ShownIcon() const;
    // One step of the blink timer.
    void Tick();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    struct Icon {
        int id = 0;
        QSize size;
        QPixmap pixmap;  // rendered for the last pixel ratio painted at
    };
    const QPixmap& PixmapFor(Icon& icon, qreal dpr);

    int m_mode = 0;
    int m_blinkTicks = 0;
    int m_flashTicks = 0;
    Icon m_first;
    Icon m_second;
    bool m_blinking = false;
    bool m_blinkPhase = false;
    bool m_flashPhase = false;
    QBasicTimer m_timer;
};
