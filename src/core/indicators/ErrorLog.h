#pragma once

#include <QString>
#include <QTime>
#include <deque>

// The device error log: one row for every change of a bit of the device's 32-bit error
// mask, newest first, at most kMaxRows rows.
class CErrorLog {
public:
    static constexpr int kMaxRows = 50;
    static constexpr quint32 kSetBackColor = 0x00B2AFFF;    // RGB (255, 175, 178): an error came
    static constexpr quint32 kClearBackColor = 0x00C6FFAF;  // RGB (175, 255, 198): an error went

    struct Row {
        int bit = 0;       // 1..32
        bool set = false;  // the error came (true) or went (false)
        QTime time;        // local time of the change

        int Image() const { return set ? 1 : 0; }  // 0 the tick, 1 the cross
        quint32 BackColor() const { return set ? kSetBackColor : kClearBackColor; }
        QString CodeText() const;  // "1".."31", "--" for bit 32
        int TextId() const;        // the language key of the error's text
        QString TimeText() const;  // "hh:mm:ss"
    };

    // Adds a row for every bit of mask that differs from the stored mask, lowest bit first,
    // each on top of the list; returns the number of rows added.
    int Update(quint32 mask, const QTime& now);
    void Clear();

    quint32 Mask() const { return m_mask; }
    const std::deque<Row>& Rows() const { return m_rows; }

    // Column widths of the list: shares 5, 10, 65 and 20 % of (client width - 15).
    static void ColumnWidths(int clientWidth, int widths[4]);

private:
    quint32 m_mask = 0;
    std::deque<Row> m_rows;
};
