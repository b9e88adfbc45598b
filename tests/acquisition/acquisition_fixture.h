#pragma once

#include "support/gui_testing.h"

#include "acquisition/progress.h"
#include "app/command_ids.h"
#include "device/usb_bus.h"
#include "emulator/emulated_usb_bus.h"
#include "emulator/logger_clock.h"
#include "mainframe/main_frame.h"

#include <wx/panel.h>

#include <memory>

// A main window whose USB link talks to an emulated logger on a clock the test moves.
class AcquisitionTest : public MainFrameTest {
protected:
    void SetUp() override {
        logger = &bus.AddLogger(clock);
        logger->SetClock({2023, 3, 24, 13, 5, 9});
        SetCurrentUsbBus(&bus);
        MainFrameTest::SetUp();
        // The tests poll the status themselves. The window's own 5-second poll would otherwise
        // slip a status request into the middle of a long (sanitizer) run.
        frame->StatusTimer().Stop();
        frame->SetProgressFactory([this] {
            ++progressOpened;
            return std::make_unique<CountingProgress>(*this);
        });
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        SetCurrentUsbBus(nullptr);
    }
    void StatusTick() {
        wxTimerEvent tick(frame->StatusTimer());
        frame->GetEventHandler()->ProcessEvent(tick);
    }
    void LiveTick() {
        wxTimerEvent tick(frame->LiveTimer());
        frame->GetEventHandler()->ProcessEvent(tick);
    }
    void Button(int id) { Command(id, wxEVT_BUTTON); }
    bool Enabled(int id) { return frame->Panel()->FindWindow(id)->IsEnabled(); }
    // A metric logger in bar with the calibration of the demo's, sampling at register `rate`
    // (0xFE67: 100 ms, ten samples a tick).
    void SetLoggerRate(std::uint16_t rate, int serialNumber = 0) {
        SettingsBlock b = logger->Settings();
        b.sampleRateRegister = rate;
        b.stateFlags = 1;
        b.pressureZero = 104;
        b.pressureScale = 2;
        b.pressureScaleFine = 26;
        b.pressureUnit = 98;
        if (serialNumber)
            b.serialNumber = static_cast<std::uint16_t>(serialNumber);
        logger->SetSettings(b);
    }

    struct CountingProgress : ProgressIndicator {
        explicit CountingProgress(AcquisitionTest& t) : test(t) { ++test.progressOpen; }
        ~CountingProgress() override { --test.progressOpen; }
        void Pulse() override { ++test.pulses; }
        AcquisitionTest& test;
    };

    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    emu::EmulatedLogger* logger = nullptr;
    int progressOpened = 0;
    int progressOpen = 0;
    int pulses = 0;
};
