#pragma once

#include "bus_fixture.h"

#include <memory>

// The bus a transport test runs on: the emulated bus directly, or libusb 0.1 talking to the
// same emulated loggers through umockdev. Each test binary provides MakeHarness().
class Harness {
public:
    virtual ~Harness() = default;
    // False when this harness cannot run here (the test is skipped).
    virtual bool Available() { return true; }
    virtual void Install() = 0;
    virtual void Uninstall() = 0;
    virtual emu::EmulatedLogger& AddLogger(int firmwareWord = 0x0403, int busNumber = 1) = 0;
    virtual void AddOtherDevice(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // The cable is pulled / plugged back in (under a new device number).
    virtual void Unplug(emu::EmulatedLogger& logger) = 0;
    virtual void Replug(emu::EmulatedLogger& logger) = 0;
    // Handles (or file descriptors) open now beyond those open at installation.
    virtual int OpenHandles() = 0;
    virtual emu::LoggerClock& Clock() = 0;
};

std::unique_ptr<Harness> MakeHarness();

class TransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness = MakeHarness();
        if (!harness->Available())
            GTEST_SKIP() << "this bus is not available here";
        harness->Install();
    }
    void TearDown() override {
        if (!harness->Available())
            return;
        EXPECT_EQ(harness->OpenHandles(), 0) << "a handle was left open";
        harness->Uninstall();
    }

    std::unique_ptr<Harness> harness;
    CapturedLog log;
};
