// Puts an emulated logger on the USB bus as the unmodified program sees it (libusb 0.1 through
// umockdev) and runs the program against it: four events in memory, the second oldest with a
// damaged directory entry (its end address lies below the sample area, as a half-written entry
// may). The flows of every intact event go to EXPECTED, one event a line, for the journey to find
// in what the program saved.
//   umockdev-wrapper logger_on_usb EXPECTED PROGRAM [ARGS...]
// The program inherits the preload and the testbed's folder; this process answers its transfers
// until it ends, and ends with its status.
#include "emulator/emulated_usb_bus.h"
#include "usb_testbed.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s EXPECTED PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    if (!UsbTestbed::InMockEnvironment()) {
        std::fprintf(stderr, "%s: not under umockdev-wrapper\n", argv[0]);
        return 2;
    }
    emu::ManualClock clock;
    emu::EmulatedUsbBus factory;
    emu::EmulatedLogger& logger = factory.AddLogger(clock);
    const int sizes[4] = {40, 25, 60, 33};  // oldest first
    std::ofstream expected(argv[1]);
    for (int e = 0; e < 4; ++e) {
        std::vector<RawSample> samples;
        for (int k = 0; k < sizes[e]; ++k)
            samples.push_back({static_cast<std::uint16_t>(1000 * (e + 1) + 7 * k % 500), 300});
        if (!logger.AddEvent({2023, 3, 20 + e, 9, 15, 0}, samples)) {
            std::fprintf(stderr, "%s: the logger's memory is full\n", argv[0]);
            return 2;
        }
        if (e == 1)
            continue;  // its entry is damaged below
        for (std::size_t k = 0; k < samples.size(); ++k)
            expected << (k ? " " : "") << samples[k].flow;
        expected << '\n';
    }
    expected.close();
    logger.CorruptEndAddress(2, 40);  // directory order: newest first
    UsbTestbed::Instance().Plug(logger);

    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return 2;
    UsbTestbed::Instance().RemoveAll();
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
