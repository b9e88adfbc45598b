#include "emulator/memory_layout.h"

namespace emu::layout {

namespace {

// One field of a block: where it starts, how many bytes it takes (least significant first).
struct Field {
    std::size_t offset;
    std::size_t size;
    std::uint32_t value;
};

void Lay(std::vector<std::uint8_t>& out, const Field& f) {
    for (std::size_t i = 0; i < f.size && f.offset + i < out.size(); ++i)
        out[f.offset + i] = static_cast<std::uint8_t>(f.value >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> SettingsBlockBytes(const SettingsBlock& b, std::size_t length) {
    std::vector<std::uint8_t> out(length, 0);
    const Field shortBlock[] = {
        {0, 2, b.sampleRateRegister},  {2, 2, b.eventCount},     {4, 1, b.stateFlags},
        {5, 2, b.flowOnThreshold},     {7, 2, b.flowOnDelay},    {9, 2, b.flowOffThreshold},
        {11, 2, b.flowOffDelay},       {13, 1, b.pressureScale}, {14, 1, b.pressureZero},
        {15, 1, b.pressureScaleFine},  {16, 1, b.filterMedian},  {17, 1, b.flowClamp},
        {18, 1, b.displayAlternation}, {19, 1, b.pressureUnit},  {20, 1, b.volumeRange},
    };
    for (const Field& f : shortBlock)
        Lay(out, f);
    if (length < 41)
        return out;  // the short block ends after offset 20
    const Field longPart[] = {
        {21, 2, b.serialNumber},       {23, 1, b.manufactureDate[0]}, {24, 1, b.manufactureDate[1]},
        {25, 1, b.manufactureDate[2]}, {33, 1, b.flowUnitMarker},     {34, 1, b.flowUnitCode},
    };
    for (const Field& f : longPart)
        Lay(out, f);
    return out;
}

std::array<std::uint8_t, 3> SampleBytes(const RawSample& s) {
    // 14 bits of flow and 10 of pressure: byte 0 the flow's low eight bits; byte 1 the flow's bits
    // 8 to 13 below the pressure's bits 8 and 9; byte 2 the pressure's low eight bits.
    const unsigned flowHigh = (s.flow / 256u) % 64u;
    const unsigned pressureHigh = (s.pressure / 256u) % 4u;
    return {static_cast<std::uint8_t>(s.flow % 256u),
            static_cast<std::uint8_t>(flowHigh + 64u * pressureHigh),
            static_cast<std::uint8_t>(s.pressure % 256u)};
}

std::array<std::uint8_t, 9> EventEntryBytes(const EventEntry& e) {
    // Start second, minute, hour, day, month, year (BCD as the clock gives them), then the end
    // address of the event's samples, 24 bits, least significant byte first.
    return {e.seconds,
            e.minutes,
            e.hours,
            e.day,
            e.month,
            e.year,
            static_cast<std::uint8_t>(e.endAddress % 256u),
            static_cast<std::uint8_t>(e.endAddress / 256u % 256u),
            static_cast<std::uint8_t>(e.endAddress / 65536u % 256u)};
}

}  // namespace emu::layout
