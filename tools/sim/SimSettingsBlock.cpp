// The simulated device's settings block: range checks of written values, the apply
// command and the write faults.
#include "SimSettingsBlock.h"

#include <algorithm>

#include "SimDevice.h"
#include "device/DeviceInterface.h"
#include "devsettings/MyPropertyDouble.h"
#include "devsettings/MyPropertyFSize.h"
#include "devsettings/ParameterDefinition.h"
#include "devsettings/RegisterCodec.h"
#include "devsettings/SourceCode.h"
#include "devsettings/SourceLimits.h"

namespace {

namespace DI = DeviceInterface;

bool Touches(uint16_t first, uint16_t count, const SimExceptionRule& rule) {
    const int last = first + count - 1;
    return first <= rule.last && last >= rule.first;
}

// The event a threshold row belongs to, or -1.
int EventOfThreshold(const ParameterDefinition& s) {
    for (int n = 0; n < kEventCount; ++n) {
        if (s.address == EventUpThresholdAddress(n) || s.address == EventDownThresholdAddress(n)) {
            return n;
        }
    }
    return -1;
}

bool InRawRange(int64_t v, double minimum, double maximum, double step) {
    const uint32_t factor = CMyPropertyDouble::FactorOfStep(step);
    return v >= CMyPropertyDouble::ToRaw(factor, minimum) && v <= CMyPropertyDouble::ToRaw(factor, maximum);
}

// Whether the device takes this value for the row; block is the settings block as it
// would be after the write. A threshold's range is its event source's. List indexes are
// left to the program: their options are language texts.
bool Accepts(const ParameterDefinition& s, int64_t v, const uint16_t* block) {
    switch (s.kind) {
        case EK_INT:
        case EK_TIMELEN:
            return v >= static_cast<int64_t>(s.minimum) && v <= static_cast<int64_t>(s.maximum);
        case EK_DOUBLE: {
            const int event = EventOfThreshold(s);
            if (event < 0) {
                return InRawRange(v, s.minimum, s.maximum, s.step);
            }
            const int64_t source = RegisterCodec::DecodeInteger(
                RT_UINT32, block + (EventSourceAddress(event) - DI::kSettingsFirst));
            SourceThresholdRange range;
            // A source the device could not have taken leaves nothing to check against.
            return !ThresholdRangeOf(static_cast<SourceCode>(source), &range) ||
                   InRawRange(v, range.minimum, range.maximum, range.step);
        }
        case EK_FSIZE:
            for (int i = 0; i < CMyPropertyFSize::kSizeCount; ++i) {
                if (v == CMyPropertyFSize::SizeBytes(i)) {
                    return true;
                }
            }
            return false;
        case EK_SOURCE: {
            SourceThresholdRange range;
            return ThresholdRangeOf(static_cast<SourceCode>(v), &range);
        }
        default:
            return true;
    }
}

}  // namespace

uint8_t SettingsWriteFault(const SimFaults& faults, uint16_t first, uint16_t count, bool& keepOld) {
    for (const SimExceptionRule& rule : faults.refuseWrites) {
        if (Touches(first, count, rule)) {
            return rule.code;
        }
    }
    keepOld = std::any_of(faults.keepOldWrites.begin(), faults.keepOldWrites.end(),
                          [&](const SimExceptionRule& rule) { return Touches(first, count, rule); });
    return 0;
}

uint8_t CSimDevice::CheckSettingsWriteLocked(uint16_t first, uint16_t count, const uint16_t* values) const {
    // The block as it would be after the write, so a row written in part is checked whole.
    std::array<uint16_t, kSettingsWords> block;
    std::copy(m_regs.begin() + DI::kSettingsFirst, m_regs.begin() + DI::kSettingsFirst + kSettingsWords,
              block.begin());
    std::copy(values, values + count, block.begin() + (first - DI::kSettingsFirst));
    const int last = first + count - 1;
    for (const ParameterGroupDefinition& group : ParameterGroupDefinitions()) {
        for (const ParameterDefinition& s : group.rows) {
            const int rowLast = s.address + RegisterCountOf(s.type) - 1;
            if (s.kind == EK_PASSWASCII || rowLast < first || s.address > last) {
                continue;
            }
            const int64_t v =
                RegisterCodec::DecodeInteger(s.type, block.data() + (s.address - DI::kSettingsFirst));
            if (!Accepts(s, v, block.data())) {
                return DI::kExceptionIllegalValue;
            }
        }
    }
    return 0;
}

void CSimDevice::ApplySettingsLocked() {
    std::copy(m_regs.begin() + DI::kSettingsFirst, m_regs.begin() + DI::kSettingsFirst + kSettingsWords,
              m_applied.begin());
}

uint16_t CSimDevice::AppliedRegister(uint16_t address) const {
    std::lock_guard guard(m_lock);
    return address >= DI::kSettingsFirst && address <= DI::kSettingsLast
               ? m_applied[address - DI::kSettingsFirst]
               : 0;
}

void CSimDevice::MirrorAppliedLocked(uint16_t address) {
    if (address >= DI::kSettingsFirst && address <= DI::kSettingsLast) {
        m_applied[address - DI::kSettingsFirst] = m_regs[address];
    }
}

uint32_t CSimDevice::Applied32(uint16_t address) const {
    const size_t i = address - DI::kSettingsFirst;
    return (uint32_t{m_applied[i]} << 16) | m_applied[i + 1];
}

// Events (2022..2071), sources (2073..2112), period and file limit (2113..2116) and event
// recording (2117..2121): what the recorder works from.
void CSimDevice::SwapRecordingSettingsLocked() {
    constexpr int kFirst = 2022;
    constexpr int kLast = 2121;
    std::swap_ranges(m_regs.begin() + kFirst, m_regs.begin() + kLast + 1,
                     m_applied.begin() + (kFirst - DI::kSettingsFirst));
}
