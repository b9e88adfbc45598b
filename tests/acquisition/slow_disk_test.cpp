// A live recording on a disk whose syncs take half a second (the slow-sync library is preloaded
// into this test): the window never waits for the disk, and no sample is lost.
#include "acquisition_fixture.h"

#include "acquisition/recovery_journal.h"
#include "device/protocol.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class SlowDiskTest : public AcquisitionTest {};

}  // namespace

TEST_F(SlowDiskTest, TheWindowNeverWaitsForTheDisk) {
    ASSERT_NE(std::getenv("ZPM_SYNC_DELAY_MS"), nullptr) << "run with the slow-sync library preloaded";
    {
        // The disk is slow indeed.
        const std::string probe = TestHome() + "/probe";
        const int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        const auto t0 = Clock::now();
        ::fdatasync(fd);
        EXPECT_GE(Ms(Clock::now() - t0), 400.0);
        ::close(fd);
    }
    SettingsBlock b = logger->Settings();
    b.sampleRateRegister = 0xFE67;  // 100 ms: ten samples a tick
    b.stateFlags = 1;
    logger->SetSettings(b);
    logger->SetSignal([](double t) { return RawSample{static_cast<std::uint16_t>(100 + 10 * t), 300}; });

    auto t0 = Clock::now();
    Button(ID_RECORD);
    // Half a sync: a command or tick that waited for one would take longer.
    EXPECT_LT(Ms(Clock::now() - t0), 250.0) << "the record command waited for the disk";
    ASSERT_EQ(frame->Records().size(), 1u);
    // Ticks four times a second for longer than the journal's sync period: it syncs meanwhile.
    int ticks = 0;
    double slowest = 0;
    const auto until = Clock::now() + recovery::Journal::SyncPeriod + std::chrono::milliseconds(1500);
    while (Clock::now() < until) {
        clock.Advance(1.0);
        t0 = Clock::now();
        LiveTick();
        slowest = std::max(slowest, Ms(Clock::now() - t0));
        ++ticks;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_LT(slowest, 250.0) << "a live tick waited for the disk";
    t0 = Clock::now();
    Button(ID_STOP);
    EXPECT_LT(Ms(Clock::now() - t0), 250.0) << "the stop waited for the disk";
    EXPECT_EQ(frame->Records()[0].SampleCount(), 10 * ticks);

    // Every sample is in the journal once the writer is through.
    namespace fs = std::filesystem;
    std::string journal;
    for (const auto& e : fs::directory_iterator(JournalFolderPath()))
        journal = e.path().string();
    recovery::Content c;
    for (const auto end = Clock::now() + std::chrono::seconds(10); Clock::now() < end;) {
        c = recovery::Parse(ReadTextFile(journal));
        if (c.record && c.record->SampleCount() == 10 * ticks)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(c.record);
    EXPECT_EQ(c.record->SampleCount(), 10 * ticks);
}
