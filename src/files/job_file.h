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
//          otherwise savedFlag = true. After damage (or a file that is there but cannot be read)
//          save goes through save as, proposing the same name.
//   save:  jobfile::Save(path, records); savedFlag = true only on Ok;
//          CannotOpen -> "Cannot open File for Writing", WriteFailed -> "Error writing File".
//   save as: path = jobfile::PathWithExtension(dialog path), asking before replacing a file that
//          only the appended extension names; then save.
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
    std::string problem;   // what and where, German, UTF-8 ("Zeile 12: Messung 2 von 3: …")
};

// Reads a job file from a stream opened in binary mode; CR LF and LF line ends are both accepted.
// Numbers are read as scanf reads them, the last one also without its line end; "nan", "inf" and
// numbers beyond the float range are damage. A flow unit other than 0 to 3 is taken for the
// records but not for the setting. Never reads past the stream, never allocates more than the
// stream can fill, always ends. The stored values pass unchanged; each record is in the flow unit
// its own line names (l/min for layouts without one).
ReadResult Read(std::istream& in);

// Opens and reads the file at path; nothing when it cannot be opened or is no regular file (a FIFO,
// a directory or a device is refused at once).
std::optional<ReadResult> Load(const wxString& path);

// Sets the flow unit, unit system and pressure unit of the application as the file prescribes.
void ApplySettings(const Settings& s, SettingsRecord& app);

// Writes the 480000 layout; each record's line holds its own flow unit. What is written reads back without
// damage and writes again to the same bytes: titles lose leading blanks and an empty one is written as "-"
// (the reader skips white space before a title); characters beyond ISO 8859-1 in the text lines become "?";
// text lines are cut to MaxTextLine characters; "nan" is written as 0 and an infinite value as the largest
// float. Returns false when the stream failed.
// `values`: what the series show (smoothed where a filter is on) or what was measured.
enum class Values { AsShown, Measured };
bool Write(std::ostream& out, const std::vector<Storage>& records, Values values = Values::AsShown);

// Writes the file at path without ever destroying the previous one (see SaveFileSafely).
SaveResult Save(const wxString& path, const std::vector<Storage>& records, Values values = Values::AsShown);

// The save-as name: ".kvr" appended unless the chosen name contains ".kvr" anywhere.
wxString PathWithExtension(const wxString& chosen);

}  // namespace jobfile
