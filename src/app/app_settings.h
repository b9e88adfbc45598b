#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

// The application settings record. One instance, AppSettings, lives for the whole run; the
// connection code and the settings dialog copy it in and out by value.
struct SettingsRecord {
    std::uint8_t unitSystem = 1;       // 1 metric logger, 0 US logger (gallons)
    std::uint8_t pressureUnit = 98;    // 98 bar, 112 psi, 8 metres of water, 16 kPa
    std::int32_t firmwareVersion = 0;  // 0x0403 (1027) = firmware with the long settings block
    std::int32_t serialNumber = 0;     // never persisted
    bool showTips = true;
    std::uint8_t flowUnit = 0;  // 0 l/min, 1 l/s, 2 m³/h, 3 US gal/min
    bool flowUnitFixed = false;
    bool absoluteTime = false;

    bool operator==(const SettingsRecord&) const = default;
};

extern SettingsRecord AppSettings;

// The settings file "zpmv48.ini": seven decimal integers, one a line, no keys.
namespace settingsfile {

inline constexpr const char* FileName = "zpmv48.ini";

// Reads up to seven integers across any white space. A value that is missing or unreadable takes
// its default, as does every value after it.
SettingsRecord Parse(std::istream& in);
void Format(std::ostream& out, const SettingsRecord& s);

// Path in the desktop's per-user configuration folder: $XDG_CONFIG_HOME/zpm/zpmv48.ini
// (~/.config/zpm/zpmv48.ini).
std::string DefaultPath();
// Where versions before this one kept the file: directly in the home folder.
std::string LegacyPath();

// Missing or unreadable file, or something other than a regular file: the defaults, silently.
SettingsRecord Load(const std::string& path);
// The file at path; while nothing is there yet (not even a link), the one an earlier version left
// at legacyPath. That one is only read: the next write goes to path.
SettingsRecord Load(const std::string& path, const std::string& legacyPath);
// Written through a temporary file in the same directory and renamed over the old one, so a crash
// or a full disk leaves the previous file intact. A symbolic link stays a link (its target is
// written); a write-protected file is left alone. A missing folder is made. Returns false when
// nothing could be written.
bool Save(const std::string& path, const SettingsRecord& s);

}  // namespace settingsfile
