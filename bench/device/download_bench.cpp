// Reading the logger's whole 128 KiB through VextUSB against the emulated logger: the link's own
// cost per control transfer, and a download with a realistic 0.25 ms per transfer.
#include "device/protocol.h"
#include "device/vext_usb.h"
#include "emulator/demo_content.h"
#include "emulator/emulated_usb_bus.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

}  // namespace

int main() {
    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    emu::FillDemoContent(logger);
    logger.KeepTransferLog(false);
    SetCurrentUsbBus(&bus);

    VextUSB usb;
    std::vector<std::uint8_t> memory(logger::MemorySize);
    const int transfers = logger::MemorySize / VextUSB::MemoryChunk;  // 1024
    if (!usb.ReadMemory(0, logger::MemorySize, memory.data())) {
        std::printf("download failed\n");
        return 1;
    }

    // 1. No latency: what the link and the emulator cost per transfer.
    const int rounds = 200;
    auto start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        usb.ReadMemory(0, logger::MemorySize, memory.data());
    double all = Seconds(Clock::now() - start) / (rounds * double(transfers));

    // The emulator alone answering the same chunks, to take its share out.
    std::uint8_t chunk[VextUSB::MemoryChunk];
    start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        for (std::uint32_t a = 0; a < logger::MemorySize; a += VextUSB::MemoryChunk)
            logger.HandleControl(0xC0, logger::ReqReadMemory, a & 0xFFFF, (128 << 8) | (a >> 16), chunk, 128,
                                 1000);
    }
    double device = Seconds(Clock::now() - start) / (rounds * double(transfers));
    std::printf("whole memory, no latency: %.3f us per transfer (emulated logger %.3f us, link %.3f us)\n",
                all * 1e6, device * 1e6, (all - device) * 1e6);

    // 2. A logger that takes 0.25 ms per control transfer.
    logger.SetTransferLatency(std::chrono::microseconds(250));
    const int downloads = 5;
    double best = 1e9, sum = 0;
    for (int i = 0; i < downloads; ++i) {
        start = Clock::now();
        usb.ReadMemory(0, logger::MemorySize, memory.data());
        double t = Seconds(Clock::now() - start);
        best = std::min(best, t);
        sum += t;
    }
    // The wait alone, as the emulated logger spends it, without the link around it: on a busy
    // machine the waits themselves overrun.
    emu::ManualClock idle;
    emu::EmulatedLogger alone(idle);
    alone.SetTransferLatency(std::chrono::microseconds(250));
    alone.KeepTransferLog(false);
    start = Clock::now();
    for (std::uint32_t a = 0; a < logger::MemorySize; a += VextUSB::MemoryChunk)
        alone.HandleControl(0xC0, logger::ReqReadMemory, a & 0xFFFF, (128 << 8) | (a >> 16), chunk, 128,
                            1000);
    double waits = Seconds(Clock::now() - start);
    double target = transfers * 0.25e-3;
    std::printf(
        "whole memory, 0.25 ms per transfer: %.1f ms (best %.1f ms; %d x 0.25 ms = %.1f ms; %+.2f %%)\n",
        sum / downloads * 1e3, best * 1e3, transfers, target * 1e3, (sum / downloads / target - 1) * 100);
    std::printf("  the emulated logger alone, same 1024 transfers: %.1f ms; the link adds %+.2f %%\n",
                waits * 1e3, (best / waits - 1) * 100);
    // The program's own share of a download, beyond the waits of the logger.
    std::printf("result: download_overhead_pct %.2f %%\n", (best / waits - 1) * 100);
    SetCurrentUsbBus(nullptr);
    return 0;
}
