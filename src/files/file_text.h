#pragma once

#include <wx/string.h>

#include <cstddef>
#include <string>

// Byte-level helpers shared by the job file and the CSV export: numbers exactly as printf writes
// them in the C locale, and the one-byte (ISO 8859-1) text lines.
namespace filetext {

// Room FormatFixed needs: the longest float in fixed notation with nine decimals.
inline constexpr std::size_t FixedBufferSize = 64;

// Writes v like printf("%.*f", decimals, (double)v) in the C locale ("." whatever the locale,
// round half to even on the exact binary value, "-0.000000", "nan", "-inf"), without a
// terminating zero. decimals 0..9; out must hold FixedBufferSize bytes. Returns the end.
char* FormatFixed(char* out, float v, int decimals);

// A text for a one-byte text line: every character above U+00FF becomes "?", CR and LF become
// blanks (a line break would split the line), and at most maxChars characters are kept.
std::string ToLatin1Line(const wxString& text, std::size_t maxChars = std::string::npos);

// Widens every byte to the character with the same code.
wxString FromLatin1(const char* bytes, std::size_t count);

}  // namespace filetext
