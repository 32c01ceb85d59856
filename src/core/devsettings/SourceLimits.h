#pragma once

#include "devsettings/SourceCode.h"

// The threshold range of a source as the catalogue gives it, without building the
// catalogue or looking up any text: for the simulated device, which checks written
// thresholds as a device does. The catalogue test keeps the two in step.
struct SourceThresholdRange {
    double minimum = 0.0;
    double maximum = 0.0;
    double step = 1.0;
};

// False for a code that is in no catalogue row. No source gives 0..0, step 1.
bool ThresholdRangeOf(SourceCode code, SourceThresholdRange* range);
