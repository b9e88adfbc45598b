#pragma once

#include "app/app_settings.h"
#include "data/storage.h"
#include "files/save_file.h"

#include <wx/string.h>

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The job file (".kvr"): the whole record set as text. Written in the 480000 layout; read in
// that layout, in 460000, 430000, 410000 and in the oldest layout without a version line.
//
// Wiring in the main window:
//   open:  path = dialog path; records cleared; r = jobfile::Load(path);
//          !r                -> wxLogError "Cannot open File for Reading", empty record set;
//          else records = r->records, jobfile::ApplySettings(r->settings, AppSettings),
//          SyncFlowUnitItems() if r->settings.syncFlowUnitMarks, RefreshRecordList();
//          r->damaged        -> wxLogError naming the file and r->problem, savedFlag stays false;
//          otherwise savedFlag = true.
//   save:  jobfile::Save(path, records, AppSettings.flowUnit); savedFlag = true only on Ok;
//          CannotOpen -> "Cannot open File for Writing", WriteFailed -> "Error writing File".
//   save as: path = jobfile::PathWithExtension(dialog path), then save.
namespace jobfile {

inline constexpr int Layout480 = 480000;
inline constexpr int Layout460 = 460000;
inline constexpr int Layout430 = 430000;
inline constexpr int Layout410 = 410000;
inline constexpr int LayoutOldest = 0;  // no version line: the first number is the record count

// Longest title, date or subtitle line, without its line end.
inline constexpr std::size_t MaxTextLine = 198;

// What reading a file does to the application settings. They follow the records that were read
// completely: a file without any leaves the units and the flow unit alone.
struct Settings {
    bool flowUnitSet = false;  // take flowUnit as the flow unit setting
    int flowUnit = 0;
    bool unitsSet = false;  // take unitSystem and pressureUnit (those of the last record)
    int unitSystem = 1;
    int pressureUnit = 98;
    bool syncFlowUnitMarks = false;  // refresh the flow unit check marks (SyncFlowUnitItems)
};

struct ReadResult {
    int layout = LayoutOldest;
    std::vector<Storage> records;  // every record read completely, numbered 1, 2, … by default
    Settings settings;
    bool damaged = false;  // the file broke off or held something no writer produces
    std::string problem;   // what and where, UTF-8, for the error message ("line 12: …")
};

// Reads a job file from a stream opened in binary mode; CR LF and LF line ends are both accepted.
// Never reads past the stream, never allocates more than the stream can fill, always ends.
// Records are built with flow unit 0, so the stored values pass unchanged.
ReadResult Read(std::istream& in);

// Opens and reads the file at path; nothing when it cannot be opened.
std::optional<ReadResult> Load(const wxString& path);

// Sets the flow unit, unit system and pressure unit of the application as the file prescribes.
void ApplySettings(const Settings& s, SettingsRecord& app);

// Writes the 480000 layout; flowUnitSetting is the application's flow unit, stored with every
// record. Titles that are empty or only blanks are written as "-" (a blank title line would be
// skipped as white space on reading); characters beyond ISO 8859-1 in the text lines become "?";
// text lines are cut to MaxTextLine characters. Returns false when the stream failed.
bool Write(std::ostream& out, const std::vector<Storage>& records, int flowUnitSetting);

// Writes the file at path without ever destroying the previous one (see SaveFileSafely).
SaveResult Save(const wxString& path, const std::vector<Storage>& records, int flowUnitSetting);

// The save-as name: ".kvr" appended unless the chosen name contains ".kvr" anywhere.
wxString PathWithExtension(const wxString& chosen);

}  // namespace jobfile
