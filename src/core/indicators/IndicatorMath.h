#pragma once

#include <QtGlobal>

// Arithmetic shared by the drawn indicator controls. Colours are stored values: red in
// the low byte, then green, then blue.
namespace IndicatorMath {

// Each channel multiplied by percent / 100 in whole numbers (the shading of bars and tubes).
quint32 ScaleColor(quint32 ref, int percent);
// Each channel changed by channel * delta / 100 and limited to 0..255 (delta -20 darkens by 20 %).
quint32 ShiftColor(quint32 ref, int deltaPercent);

// Pixels per unit of a progress bar: 1.0 for an empty or reversed range, otherwise the
// client width spread over the range.
float ProgressScale(int lower, int upper, int clientWidth);
// Width of the filled part. Counted from the lower bound, so a range that does not start
// at 0 still starts empty, and kept inside the control.
int ProgressFillWidth(int lower, int position, float scale, int clientWidth);

// Where the two texts of a label start: both centred together, 5 pixels apart.
struct LabelTextPlacement {
    int firstX = 0;
    int secondX = 0;
};
LabelTextPlacement PlaceLabelTexts(int rectWidth, int firstWidth, int secondWidth, bool hasSecond);

}  // namespace IndicatorMath
