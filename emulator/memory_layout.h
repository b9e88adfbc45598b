#pragma once

#include "device/protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The bytes the logger itself lays down: its settings block, a sample in memory or in a live
// reply, an entry of its event directory. Written from the logger's description, field by field,
// apart from the program's own decoders, so that a layout error on the program's side shows in
// every download and live test instead of being made the same way on both sides.
namespace emu::layout {

// `length` bytes of the settings block (21 for the short block, 41 for the long one).
std::vector<std::uint8_t> SettingsBlockBytes(const SettingsBlock& block, std::size_t length);
std::array<std::uint8_t, 3> SampleBytes(const RawSample& sample);
std::array<std::uint8_t, 9> EventEntryBytes(const EventEntry& entry);

}  // namespace emu::layout
