#include "device/RegisterImage.h"

#include <algorithm>

#include "common/Check.h"

namespace {
struct Block {
    int first;
    int count;
    int index;
};
constexpr Block kBlocks[] = {
    {DeviceInterface::kStatusFirst, DeviceInterface::kStatusCount, RegisterImage::kStatusIndex},
    {DeviceInterface::kMeasureFirst, DeviceInterface::kMeasureCount, RegisterImage::kMeasureIndex},
    {DeviceInterface::kSettingsFirst, DeviceInterface::kSettingsCount, RegisterImage::kSettingsIndex},
};

const Block* BlockOf(int reg) {
    for (const Block& b : kBlocks)
        if (reg >= b.first && reg < b.first + b.count) return &b;
    return nullptr;
}
}  // namespace

int RegisterImage::IndexOf(int reg) {
    const Block* b = BlockOf(reg);
    return b ? b->index + (reg - b->first) : -1;
}

bool RegisterImage::Holds(int first, int count) {
    const Block* b = BlockOf(first);
    return b && count > 0 && first + count <= b->first + b->count;
}

uint16_t RegisterImage::Read16(int reg) const {
    const int i = IndexOf(reg);
    if (i < 0) {
        TRV730_PROGRAMMING_ERROR("register outside the register image");
        return 0;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    return m_regs[i];
}

uint32_t RegisterImage::ReadU32(int reg) const {
    if (!Holds(reg, 2)) {
        TRV730_PROGRAMMING_ERROR("two-register value outside the register image");
        return 0;
    }
    const int i = IndexOf(reg);
    std::lock_guard<std::mutex> guard(m_lock);
    return (uint32_t(m_regs[i]) << 16) | m_regs[i + 1];
}

bool RegisterImage::Write(int first, int count, const uint16_t* values) {
    if (!values || !Holds(first, count)) return false;
    const int i = IndexOf(first);
    std::lock_guard<std::mutex> guard(m_lock);
    std::copy(values, values + count, m_regs + i);
    return true;
}

void RegisterImage::Clear() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::fill(std::begin(m_regs), std::end(m_regs), uint16_t(0));
}
