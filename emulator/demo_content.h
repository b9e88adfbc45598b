#pragma once

#include "emulator/emulated_logger.h"

namespace emu {

// The recorded events of a logger after a morning of hydrant flow tests: flow ramping up to a
// plateau of several hundred l/min with noise and back down, pressure falling from the static to
// the residual value and recovering. Deterministic.
std::vector<RawSample> HydrantTest(int samples, int plateauFlow, int staticPressure, int residualPressure,
                                   unsigned seed);

// The demo logger: long settings block with serial number, one-second interval, bar, several
// recorded events of different lengths, battery and memory status, and a live signal that moves.
void FillDemoContent(EmulatedLogger& logger);

// The live signal of the demo: a hydrant test repeating every two minutes, with noise.
RawSample DemoSignal(double seconds);

// The computer's local time, for the demo logger's clock.
CivilTime LocalTimeNow();

}  // namespace emu
