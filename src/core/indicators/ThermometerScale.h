#pragma once

#include <QRect>
#include <vector>

// Geometry of the thermometer: the tube, the scale ticks with their labels and the level
// of the value, for a client rectangle and a range.
struct ThermometerTick {
    int y = 0;
    bool isLong = false;  // long ticks carry a label
    int label = 0;
};

struct ThermometerScale {
    QRect tube;        // the tube, 12 pixels wide at the left edge
    int level = 0;     // y of the value's level inside the tube
    int step = 1;      // scale step: 1, 2, 5 or 10
    int axisX = 0;     // x of the scale's axis
    std::vector<ThermometerTick> ticks;

    static ThermometerScale Compute(const QRect& client, float lower, float upper, float value);
    // 1 below a span of 21, 2 below 51, 5 below 101, else 10.
    static int StepFor(int span);
    // The value limited to lower..upper.
    static float Clamp(float value, float lower, float upper);
};
