#pragma once

// The numeric rules of the device settings dialog and the service dialog, kept apart from the
// windows so they can be checked without a display: interval stepping, clock register stepping,
// delays in seconds and samples, the threshold checks of "Download", the filter and calibration
// checks of the service dialog and its settings dump.

#include "device/protocol.h"

#include <wx/string.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace dialogrules {

inline constexpr int MinIntervalTenths = 1;
inline constexpr int MaxIntervalTenths = 159;

// --- device settings dialog

// One step of the interval spin (+1 or -1) inside 1 to 159; at either end the value stays.
int StepInterval(int tenths, int step);
// The interval field: tenths of a second shown as seconds, "%.1f".
wxString FormatInterval(int tenths);

// One step (+1 or -1) of a BCD clock register with wrap-around in 0 to maxValue (59 for minutes
// and seconds, 23 for hours). None when the register holds no decimal digits or a value beyond
// maxValue: such a reading from the logger is not stepped.
std::optional<std::uint8_t> StepClockRegister(std::uint8_t bcd, int step, int maxValue);
// A time field: the BCD register as hexadecimal digits, with a leading zero below 0x10 when
// asked (the minutes).
wxString FormatClockField(std::uint8_t bcd, bool leadingZero);

struct CivilDate {
    int day = 1;
    int month = 1;
    int year = 2011;
    bool operator==(const CivilDate&) const = default;
};
// The date of clock registers 4 to 6 (day, month, two-digit year of 20yy); none when the
// registers do not hold a real calendar date.
std::optional<CivilDate> DateFromClock(std::uint8_t day, std::uint8_t month, std::uint8_t year);
// Clock registers 4 to 6 for a date; none outside the years 2000 to 2099 that the logger keeps.
std::optional<std::array<std::uint8_t, 3>> ClockDateRegisters(const CivilDate& date);

// A delay in samples shown in seconds: trunc(tenths x samples / 10).
int DelaySeconds(int tenths, int samples);
// A delay in seconds sent as samples: trunc(seconds x 10 / tenths). The logger counts in 16 bits;
// a longer delay is held at 65535 samples rather than wrapped round to a short one.
std::uint16_t DelaySamples(unsigned seconds, int tenths);

// A threshold or delay field read as an unsigned decimal number of 16 bits (blanks around it
// allowed). None for an empty, non-numeric or negative entry and for one above 65535.
std::optional<std::uint16_t> ReadThresholdField(const wxString& text);

struct MessageBoxText {
    wxString message;
    wxString caption;
    bool operator==(const MessageBoxText&) const = default;
};

struct ThresholdFields {
    wxString flowOn, flowOff, delayOn, delayOff;
};

// The checks of "Download" before the thresholds are written.
struct ThresholdPlan {
    bool write = false;                 // false: the writing of the thresholds stops after the boxes
    std::vector<MessageBoxText> boxes;  // the message boxes to show, in order
    std::uint16_t flowOn = 0, flowOff = 0;
    std::uint16_t delayOnSamples = 0, delayOffSamples = 0;
    int delayOnSeconds = 0, delayOffSeconds = 0;  // the delays as the logger will apply them
};
ThresholdPlan PlanThresholds(const ThresholdFields& fields, int intervalTenths);

// "Geräteeinstellungen     Serial No: %d" followed directly by "Firmware Version: %.1f", the
// version being the firmware word's high byte plus its low byte in tenths (0x0403 is 4.3).
wxString DeviceInfoText(int serialNumber, int firmwareWord);

// --- service dialog

// A service field as the logger's service tools read it: its leading decimal digits (after
// blanks), 0 when it has none. A negative entry counts as too big; huge ones saturate.
unsigned long LeadingNumber(const wxString& text);

// Outcome of the filter or the calibration button: the informational messages in order and
// whether the values go to the logger.
struct ServicePlan {
    bool send = false;
    std::vector<wxString> messages;
    unsigned long first = 0, second = 0, third = 0;  // median, clamp / zero, fine, rough
};
ServicePlan PlanMedianAndClamp(const wxString& median, const wxString& clamp);
ServicePlan PlanPressureCalibration(const wxString& zero, const wxString& fine, const wxString& rough);

// The text of "Read all Settings": the firmware line always; the block lines when the block was
// read; the clock and clock configuration lines when the logger answered them.
wxString SettingsDump(int firmwareWord, const std::optional<SettingsBlock>& block,
                      const std::optional<ClockRegisters>& clock,
                      const std::optional<std::array<std::uint8_t, 2>>& clockConfig);

}  // namespace dialogrules
