#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

// What the memory card chart shows: the pie's angles (degrees, clockwise from twelve
// o'clock), the legend and size texts, and where everything goes in a client rectangle.
struct CardAmount {
    double value = 0;  // the amount after the divisions
    int divisions = 0; // 0 bytes, 1 KB, 2 MB, 3 GB, 4 TB, more: no unit
};

struct CardChartLabel {
    QString text;  // "75%"
    QPoint center;
};

class CCardChartModel {
public:
    static constexpr int kStartAngle = 33;
    // Sectors this narrow or narrower carry no percentage.
    static constexpr int kMinLabelledAngle = 25;

    // Sizes in bytes. A size of 0 (or less) and free space above the size draw a sound
    // picture: the used angle is 0 without a size and always within 0..360.
    void SetValues(double size, double free);

    int StartAngle() const { return kStartAngle; }
    int UsedAngle() const { return m_usedAngle; }
    int FreeAngle() const { return m_freeAngle; }
    const QString& SizeText() const { return m_sizeText; }
    const QString& FreeText() const { return m_freeText; }
    const QString& UsedText() const { return m_usedText; }

    // Divides by 1024 as long as the amount exceeds 1048576.
    static CardAmount ScaleAmount(double bytes);
    // "label: amount unit" with the unit text of the divisions.
    static QString AmountText(int labelId, double bytes);

    // The pie square inside the client rectangle, leaving two legend lines above and the
    // size line below; lineHeight is the height of one legend text line.
    static QRect PieSquare(const QRect& client, int lineHeight);
    // The point at angle a on the circle of the pie square, at factor (1 or 3/5) of the radius.
    static QPoint CirclePoint(const QRect& square, int angle, int numerator = 1, int denominator = 1);
    // The percentages written into the sectors wide enough for them.
    std::vector<CardChartLabel> PercentLabels(const QRect& square) const;

private:
    int m_usedAngle = 0;
    int m_freeAngle = 360;
    QString m_sizeText;
    QString m_freeText;
    QString m_usedText;
};
