#pragma once

#include "device/vext_usb.h"
#include "emulator/emulated_usb_bus.h"

#include <gtest/gtest.h>
#include <wx/log.h>

#include <string>
#include <vector>

// Collects wxLog messages of a headless test instead of printing them.
class CapturedLog : public wxLog {
public:
    CapturedLog() : previous(wxLog::SetActiveTarget(this)) {}
    ~CapturedLog() override { wxLog::SetActiveTarget(previous); }
    std::vector<std::string> errors;
    std::vector<std::string> others;

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&) override {
        (level == wxLOG_Error ? errors : others).push_back(msg.utf8_string());
    }

private:
    wxLog* previous;
};

// An emulated bus installed as the process-wide bus for the length of a test.
class BusTest : public ::testing::Test {
protected:
    void SetUp() override { SetCurrentUsbBus(&bus); }
    void TearDown() override {
        SetCurrentUsbBus(nullptr);
        EXPECT_EQ(bus.OpenHandles(), 0) << "a handle was left open";
        EXPECT_EQ(bus.Opens(), bus.Closes());
    }

    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    CapturedLog log;
};
