#include "devsettings/SourceLimits.h"

#include "device/DeviceInterface.h"

namespace DI = DeviceInterface;

bool ThresholdRangeOf(SourceCode code, SourceThresholdRange* range) {
    if (code == kNoSource) {
        *range = {};
        return true;
    }
    // The catalogue offers exactly the items a device measures: a channel's variant of its kind.
    const unsigned channel = ChannelIndexOf(code);
    const unsigned variant = VariantIndexOf(code);
    const unsigned kind = KindOf(code);
    if (channel >= unsigned(DI::kChannelCount) || variant >= unsigned(DI::kItemsPerChannel) || kind == 0 ||
        DI::kMeasureKinds[channel][variant] != kind)
        return false;
    switch (kind) {
        case 2:
            *range = {-42257.7, 42257.7, 0.1};
            break;
        case 4:
            *range = {-42257.7, -5.0, 0.1};
            break;
        case 1:
        case 3:
        case 24:
        case 25:
        case 26:
        case 27:
        case 28:
        case 29:
            *range = {5.0, 42257.7, 0.1};
            break;
        case 5:
        case 7:
            *range = {0.05, 4000.0, 0.01};
            break;
        case 6:
            *range = {-4000.0, 4000.0, 0.01};
            break;
        case 8:
            *range = {-4000.0, -0.05, 0.01};
            break;
        case 9:
            *range = {25.0, 70.0, 0.01};
            break;
        case 10:
            *range = {0.0, 100.0, 1.0};
            break;
        case 11:
            *range = {-50.0, 250.0, 0.1};
            break;
        case 12:
            *range = {0.05, 12.0, 0.01};
            break;
        case 13:
            *range = {0.05, 22.0, 0.01};
            break;
        case 14:
            *range = {0.0, 1.0, 1.0};
            break;
        case 15:
        case 16:
        case 17:
            *range = {2.5, 169030800.0, 0.1};
            break;
        case 18:
            *range = {0.001, 1.0, 0.001};
            break;
        case 19:
        case 20:
            *range = {0.0, 99999999.9, 0.1};
            break;
        case 21:
            *range = {-999.9, 3000.0, 0.1};
            break;
        case 22:
            *range = {0.0, 999999.9, 0.1};
            break;
        case 23:
            *range = {0.0, 999999999.0, 1.0};
            break;
        default:
            return false;
    }
    return true;
}
