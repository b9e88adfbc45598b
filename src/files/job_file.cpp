#include "files/job_file.h"
#include "data/translate.h"

#include "files/file_text.h"

#include "app/atomic_file.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace jobfile {

namespace {

// ---------------------------------------------------------------------------------------------
// Reading

constexpr std::size_t kChunk = 1 << 20;
// A number longer than this is not one any writer produces; it ends the reading.
constexpr std::size_t kMaxToken = 4096;
// Unknown stream length: samples are reserved at most this many ahead.
constexpr std::size_t kBlindReserve = 1 << 16;
// The shortest sample line, "0 0 0 0", bounds how many samples the rest of a file can hold.
constexpr std::size_t kShortestSample = 7;

enum class Got { Ok, End, NotANumber, OutOfRange, NotFinite, TooLong };

inline bool IsSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The file seen through a window of up to kChunk bytes, with scanf- and fgets-like reads.
class Source {
public:
    explicit Source(std::istream& in) : in_(in) {
        const auto start = in_.tellg();
        if (start != std::streampos(-1) && in_.seekg(0, std::ios::end)) {
            const auto end = in_.tellg();
            in_.seekg(start);
            if (end != std::streampos(-1) && end >= start)
                unread_ = static_cast<long long>(end - start);
        }
        in_.clear();
        // A small file gets a small window; the window always holds the longest number.
        const long long want = unread_ < 0 ? static_cast<long long>(kChunk) : unread_ + 1;
        buf_.resize(static_cast<std::size_t>(
            std::clamp(want, static_cast<long long>(2 * kMaxToken), static_cast<long long>(kChunk))));
    }

    long line() const { return line_; }

    // Bytes the rest of the file may still hold; -1 when the stream does not tell.
    long long Remaining() const { return unread_ < 0 ? -1 : unread_ + static_cast<long long>(end_ - pos_); }

    // "%d" followed by white space skipping.
    Got ReadInt(int& v) { return ReadNumber(v); }
    // "%f" followed by white space skipping.
    Got ReadFloat(float& v) { return ReadNumber(v); }

    // One text line as fgets reads it, without its LF or CR LF, cut to MaxTextLine bytes
    // (cut tells). End when not a single byte is left.
    Got ReadLine(std::string& out, bool& cut) {
        out.clear();
        cut = false;
        std::size_t total = 0;
        char last = 0;
        for (;;) {
            if (pos_ == end_ && Ensure(1) == 0) {
                if (total == 0)
                    return Got::End;
                break;
            }
            const char* s = buf_.data() + pos_;
            const std::size_t avail = end_ - pos_;
            const void* nl = std::memchr(s, '\n', avail);
            const std::size_t len = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - s) : avail;
            const std::size_t keep = std::min(len, MaxTextLine + 1 - out.size());
            out.append(s, keep);
            if (len > 0)
                last = s[len - 1];
            total += len;
            pos_ += len;
            if (nl) {
                ++pos_;
                ++line_;
                break;
            }
        }
        const std::size_t length = total - (last == '\r' ? 1 : 0);
        if (length > MaxTextLine) {
            cut = true;
            out.resize(MaxTextLine);
        } else {
            out.resize(length);
        }
        return Got::Ok;
    }

private:
    // At least n bytes in the window unless the stream ends first; returns what is there.
    std::size_t Ensure(std::size_t n) {
        if (end_ - pos_ >= n || eof_)
            return end_ - pos_;
        std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
        while (end_ < n && !eof_) {
            std::size_t want = buf_.size() - end_;
            // Where the length is known, nothing past it is read (a device may never end).
            if (unread_ >= 0)
                want = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(want), unread_));
            if (want > 0)
                in_.read(buf_.data() + end_, static_cast<std::streamsize>(want));
            const auto got = want > 0 ? static_cast<std::size_t>(in_.gcount()) : 0;
            end_ += got;
            if (unread_ >= 0)
                unread_ -= static_cast<long long>(got);
            if (!in_ || got == 0 || unread_ == 0)
                eof_ = true;  // end of file or a read error: either way nothing more comes
        }
        return end_ - pos_;
    }

    void SkipSpace() {
        for (;;) {
            while (pos_ < end_) {
                const char c = buf_[pos_];
                if (!IsSpace(c))
                    return;
                if (c == '\n')
                    ++line_;
                ++pos_;
            }
            if (Ensure(1) == 0)
                return;
        }
    }

    template <typename T>
    Got ReadNumber(T& v) {
        SkipSpace();
        if (Ensure(kMaxToken) == 0)
            return Got::End;
        const char* p = buf_.data() + pos_;
        const char* end = buf_.data() + end_;
        const char* e = std::min(end, p + kMaxToken);
        // scanf takes one "+" and from_chars none.
        if (*p == '+') {
            ++p;
            if (p == e || *p == '-')
                return Got::NotANumber;
        }
        auto [q, ec] = std::from_chars(p, e, v);
        if (ec == std::errc::invalid_argument)
            return Got::NotANumber;
        // The end of the file ends a number as scanf reads it; a number that fills the whole window
        // is none that any writer makes.
        if (q == e && !(e == end && eof_))
            return Got::TooLong;
        if (ec == std::errc::result_out_of_range) {
            if constexpr (std::is_floating_point_v<T>) {
                if (!TinyValue(p, q, v))
                    return Got::OutOfRange;
            } else {
                return Got::OutOfRange;
            }
        }
        if constexpr (std::is_floating_point_v<T>) {
            if (!std::isfinite(v))  // "nan", "inf": no measurement is either
                return Got::NotFinite;
        }
        pos_ = static_cast<std::size_t>(q - buf_.data());
        SkipSpace();
        return Got::Ok;
    }

    // A number below the smallest float reads as scanf reads it: zero or the nearest tiny value.
    // False when it is beyond the largest float instead.
    static bool TinyValue(const char* p, const char* q, float& v) {
        double d = 0;
        const auto [r, ec] = std::from_chars(p, q, d);
        if (ec == std::errc() && r == q) {
            if (std::fabs(d) > FLT_MAX)
                return false;
            v = static_cast<float>(d);
            return true;
        }
        // Beyond a double too: tiny when its exponent is negative, or when it has none and no
        // digit before the point other than 0.
        const char* x = std::find_if(p, q, [](char c) { return c == 'e' || c == 'E'; });
        const bool tiny =
            x != q ? x + 1 < q && x[1] == '-'
                   : std::all_of(p, std::find(p, q, '.'), [](char c) { return c == '0' || c == '-'; });
        if (!tiny)
            return false;
        v = *p == '-' ? -0.0f : 0.0f;
        return true;
    }

    std::istream& in_;
    std::vector<char> buf_;
    std::size_t pos_ = 0, end_ = 0;
    bool eof_ = false;
    long long unread_ = -1;
    long line_ = 1;
};

bool IsVersion(int v) {
    return v == Layout410 || v == Layout430 || v == Layout460 || v == Layout480;
}

// What is wrong with a field, in the words of the damage message (UTF-8).
std::string Why(Got g) {
    switch (g) {
        case Got::End:
            return Tr8("fehlt, die Datei endet");
        case Got::NotANumber:
            return Tr8("ist keine Zahl");
        case Got::OutOfRange:
            return Tr8("liegt außerhalb des Wertebereichs");
        case Got::NotFinite:
            return Tr8("ist keine endliche Zahl");
        case Got::TooLong:
            return Tr8("ist zu lang");
        case Got::Ok:
            break;
    }
    return std::string();
}

// The 16-bit character codes of a text box back into text; a lone surrogate becomes U+FFFD.
wxString FromUtf16(const std::vector<std::uint16_t>& units) {
    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t u = units[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            text.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00)));
            ++i;
        } else if (u >= 0xD800 && u < 0xE000) {
            text.push_back(static_cast<wchar_t>(0xFFFD));
        } else {
            text.push_back(static_cast<wchar_t>(u));
        }
    }
    return wxString(text);
}

class Reader {
public:
    explicit Reader(std::istream& in) : src_(in) {}

    ReadResult Run() {
        int first = 0;
        if (Got g = src_.ReadInt(first); g != Got::Ok) {
            Fail(g == Got::End ? Tr8("die Datei ist leer") : Tr8("die erste Zeile ") + Why(g));
            return Finish();
        }
        int count = first;
        if (IsVersion(first)) {
            r_.layout = first;
            if (!Int(count, wxTRANSLATE("die Anzahl der Messungen")))
                return Finish();
        }
        const int layout = r_.layout;
        r_.settings.syncFlowUnitMarks = layout == LayoutOldest || layout >= Layout460;
        if (count < 0) {
            Fail(Tr8("die Anzahl der Messungen ") + std::to_string(count) + Tr8(" ist negativ"));
            return Finish();
        }
        count_ = count;
        for (int i = 0; i < count; ++i) {
            record_ = i + 1;
            if (!ReadRecord(i))
                break;
        }
        return Finish();
    }

private:
    // Records what is wrong; line 0 means the line the reader stands on.
    void Fail(const std::string& what, long line = 0) {
        r_.damaged = true;
        std::string text = Tr8("Zeile ") + std::to_string(line > 0 ? line : src_.line()) + ": ";
        if (record_ > 0)
            text += Tr8("Messung ") + std::to_string(record_) + Tr8(" von ") + std::to_string(count_) + ": ";
        problems_.push_back(text + what);
    }

    // The message stays short: the first few problems and the one that ended the reading.
    ReadResult Finish() {
        constexpr std::size_t kShown = 4;
        for (std::size_t i = 0; i < problems_.size(); ++i) {
            if (i >= kShown && i + 1 < problems_.size()) {
                r_.problem += "; … " + std::to_string(problems_.size() - kShown - 1) + Tr8(" weitere");
                i = problems_.size() - 2;
                continue;
            }
            if (!r_.problem.empty())
                r_.problem += "; ";
            r_.problem += problems_[i];
        }
        return std::move(r_);
    }

    bool Int(int& v, const char* field) {
        const Got g = src_.ReadInt(v);
        if (g != Got::Ok)
            Fail(Tr8(field) + " " + Why(g));
        return g == Got::Ok;
    }

    bool Line(std::string& text, const char* field) {
        bool cut = false;
        const long line = src_.line();
        if (src_.ReadLine(text, cut) == Got::End) {
            Fail(Tr8(field) + " " + Why(Got::End));
            return false;
        }
        if (cut)
            Fail(Tr8(field) + Tr8(" ist länger als 198 Zeichen und wurde gekürzt"), line);
        return true;
    }

    bool ReadRecord(int index) {
        const int layout = r_.layout;
        std::string title, date, subtitle;
        if (!Line(title, wxTRANSLATE("der Titel")))
            return false;
        if (layout >= Layout410 &&
            !(Line(date, wxTRANSLATE("das Datum")) && Line(subtitle, wxTRANSLATE("der Untertitel"))))
            return false;
        int serial = 0;
        if (layout >= Layout430 && !Int(serial, wxTRANSLATE("die Seriennummer")))
            return false;

        wxString note;
        int noteX = 0, noteY = 0;
        float target = 0.0f;
        if (layout == Layout480) {
            std::vector<std::uint16_t> units;
            for (;;) {
                int code = 0;
                if (!Int(code, wxTRANSLATE("ein Zeichen des Textfelds")))
                    return false;
                if (code == 0)
                    break;
                if (code < 0 || code > 0xFFFF) {
                    Fail(Tr8("der Zeichencode ") + std::to_string(code) +
                         Tr8(" des Textfelds ist kein 16-Bit-Code"));
                    return false;
                }
                units.push_back(static_cast<std::uint16_t>(code));
            }
            note = FromUtf16(units);
            if (!Int(noteX, wxTRANSLATE("die Position des Textfelds")) ||
                !Int(noteY, wxTRANSLATE("die Position des Textfelds")))
                return false;
            if (Got g = src_.ReadFloat(target); g != Got::Ok) {
                Fail(Tr8("der Zielfluss ") + Why(g));
                return false;
            }
        }

        int interval = 0, pressureCode = 0, unitSystem = 0, flowUnit = 0, spare = 0, samples = 0;
        if (!Int(interval, wxTRANSLATE("das Messintervall")) ||
            !Int(pressureCode, wxTRANSLATE("die Druckeinheit")))
            return false;
        if (!Int(unitSystem, wxTRANSLATE("das Einheitensystem")))
            return false;
        if (layout >= Layout460 && !Int(flowUnit, wxTRANSLATE("die Durchflusseinheit")))
            return false;
        if (!Int(spare, wxTRANSLATE("das Reservekennzeichen")) ||
            !Int(samples, wxTRANSLATE("die Anzahl der Messpunkte")))
            return false;
        if (samples < 0) {
            Fail(Tr8("die Anzahl der Messpunkte ") + std::to_string(samples) + Tr8(" ist negativ"));
            return false;
        }

        Storage rec(filetext::FromLatin1(date.data(), date.size()), interval,
                    layout >= Layout460 ? unitSystem : 1, spare != 0, 0, index + 1);
        if (layout == Layout480) {
            rec.SetNoteText(note);
            rec.SetNotePosition(noteX, noteY);
            rec.SetTargetFlow(target);
        }
        const auto pressureUnit = static_cast<std::uint8_t>(pressureCode);
        rec.SetPressureUnit(pressureUnit);
        rec.SetTitle(filetext::FromLatin1(title.data(), title.size()));
        if (layout >= Layout410)
            rec.SetSubtitle(filetext::FromLatin1(subtitle.data(), subtitle.size()));
        if (layout >= Layout430)
            rec.SetSerialNumber(serial);

        // Reserve no more than the rest of the file can fill.
        const long long remaining = src_.Remaining();
        const std::size_t room =
            remaining < 0 ? kBlindReserve : static_cast<std::size_t>(remaining) / kShortestSample + 1;
        rec.Reserve(std::min(static_cast<std::size_t>(samples), room));
        for (int j = 0; j < samples; ++j) {
            float t, f, p, v;
            Got g;
            if ((g = src_.ReadFloat(t)) != Got::Ok || (g = src_.ReadFloat(f)) != Got::Ok ||
                (g = src_.ReadFloat(p)) != Got::Ok || (g = src_.ReadFloat(v)) != Got::Ok) {
                Fail(Tr8("Messpunkt ") + std::to_string(j + 1) + Tr8(" von ") + std::to_string(samples) +
                     " " + Why(g));
                return false;
            }
            rec.AddSample(t, f, p, v);
        }
        // The values stay as stored; they are in the flow unit the record's line names.
        if (layout >= Layout460)
            rec.SetFlowUnit(flowUnit);

        r_.records.push_back(std::move(rec));
        Settings& s = r_.settings;
        if (layout >= Layout460) {
            // The writer stores the flow unit setting as it is, and the settings file may hold any
            // code up to 255. A code no menu item offers would zero every later recording, so only
            // the four known ones become the setting; the records keep their values either way,
            // and the file is not damaged by it.
            if (flowUnit >= 0 && flowUnit <= 3) {
                s.flowUnitSet = true;
                s.flowUnit = flowUnit;
            }
        } else {
            s.flowUnitSet = true;
            s.flowUnit = 0;
        }
        s.unitsSet = true;
        s.unitSystem = unitSystem;
        s.pressureUnit = pressureUnit;
        return true;
    }

    Source src_;
    ReadResult r_;
    std::vector<std::string> problems_;
    int record_ = 0;
    int count_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Writing

// "nan" or "inf" would make the file unreadable: no value is written as 0, an infinite one as
// the largest float of its sign.
inline float Finite(float v) {
    if (std::isnan(v))
        return 0.0f;
    if (std::isinf(v))
        return v > 0 ? FLT_MAX : -FLT_MAX;
    return v;
}

// Collects the output in a block and hands it to the stream in large writes.
class Sink {
public:
    explicit Sink(std::ostream& out) : out_(out), buf_(1 << 16) {}

    // Room for n more bytes; Commit with the end of what was written there.
    char* Reserve(std::size_t n) {
        if (used_ + n > buf_.size())
            Flush();
        if (n > buf_.size())
            buf_.resize(n);
        return buf_.data() + used_;
    }
    void Commit(char* end) { used_ = static_cast<std::size_t>(end - buf_.data()); }

    void Append(std::string_view s) {
        char* p = Reserve(s.size());
        std::memcpy(p, s.data(), s.size());
        Commit(p + s.size());
    }
    void Int(long long v, char after) {
        char* p = Reserve(24);
        p = std::to_chars(p, p + 22, v).ptr;
        *p++ = after;
        Commit(p);
    }
    void Fixed(float v, char after) {
        char* p = Reserve(filetext::FixedBufferSize + 1);
        p = filetext::FormatFixed(p, Finite(v), 6);
        *p++ = after;
        Commit(p);
    }

    bool Flush() {
        if (used_ > 0)
            out_.write(buf_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
        return out_.good();
    }

private:
    std::ostream& out_;
    std::vector<char> buf_;
    std::size_t used_ = 0;
};

void WriteTextLine(Sink& sink, const std::string& bytes) {
    sink.Append(bytes);
    sink.Append("\n");
}

void WriteRecord(Sink& sink, const Storage& rec, Values values) {
    std::string title = filetext::ToLatin1Line(rec.Title(), MaxTextLine);
    // The reader skips white space before a title: leading blanks would be lost on reading (and a
    // second save would differ), and a blank title would swallow the next line.
    title.erase(0,
                std::find_if(title.begin(), title.end(), [](char c) { return !IsSpace(c); }) - title.begin());
    if (title.empty())
        title = "-";
    WriteTextLine(sink, title);
    WriteTextLine(sink, filetext::ToLatin1Line(rec.DateText(), MaxTextLine));
    WriteTextLine(sink, filetext::ToLatin1Line(rec.Subtitle(), MaxTextLine));
    sink.Int(rec.SerialNumber(), '\n');

    // The text box as 16-bit character codes; a code 0 would end the list early, and what is no
    // character (a lone surrogate, beyond U+10FFFF) is written as the replacement character that
    // reading would make of it.
    for (wxUniChar c : rec.NoteText()) {
        std::uint32_t code = c.GetValue();
        if (code == 0)
            code = '?';
        else if ((code >= 0xD800 && code < 0xE000) || code > 0x10FFFF)
            code = 0xFFFD;
        if (code > 0xFFFF) {
            code -= 0x10000;
            sink.Int(0xD800 + (code >> 10), ' ');
            sink.Int(0xDC00 + (code & 0x3FF), ' ');
        } else {
            sink.Int(code, ' ');
        }
    }
    sink.Append("0 \n");
    sink.Int(rec.NoteX(), ' ');
    sink.Int(rec.NoteY(), '\n');
    sink.Fixed(rec.TargetFlow(), '\n');
    sink.Int(rec.IntervalMs(), '\n');
    sink.Int(rec.PressureUnit(), '\n');
    sink.Int(rec.UnitSystem(), ' ');
    sink.Int(rec.FlowUnit(), '\n');
    sink.Int(rec.SpareFlag() ? 1 : 0, '\n');

    const std::size_t n = rec.Times().size();
    sink.Int(static_cast<long long>(n), '\n');
    const float* t = rec.Times().data();
    const bool measured = values == Values::Measured;
    const float* f = (measured ? rec.MeasuredFlows() : rec.Flows()).data();
    const float* p = (measured ? rec.MeasuredPressures() : rec.Pressures()).data();
    const float* v = (measured ? rec.MeasuredVolumes() : rec.Volumes()).data();
    for (std::size_t i = 0; i < n; ++i) {
        char* out = sink.Reserve(4 * (filetext::FixedBufferSize + 1));
        out = filetext::FormatFixed(out, Finite(t[i]), 6);
        *out++ = ' ';
        out = filetext::FormatFixed(out, Finite(f[i]), 6);
        *out++ = ' ';
        out = filetext::FormatFixed(out, Finite(p[i]), 6);
        *out++ = ' ';
        out = filetext::FormatFixed(out, Finite(v[i]), 6);
        *out++ = '\n';
        sink.Commit(out);
    }
}

}  // namespace

ReadResult Read(std::istream& in) {
    return Reader(in).Run();
}

std::optional<ReadResult> Load(const wxString& path) {
    RegularFileReader file(FileSystemPath(path));
    if (!file.IsOpen())
        return std::nullopt;
    return Read(file.Stream());
}

void ApplySettings(const Settings& s, SettingsRecord& app) {
    if (s.flowUnitSet)
        app.flowUnit = static_cast<std::uint8_t>(s.flowUnit);
    if (s.unitsSet) {
        app.unitSystem = static_cast<std::uint8_t>(s.unitSystem);
        app.pressureUnit = static_cast<std::uint8_t>(s.pressureUnit);
    }
}

bool Write(std::ostream& out, const std::vector<Storage>& records, Values values) {
    Sink sink(out);
    sink.Int(Layout480, '\n');
    sink.Int(static_cast<long long>(records.size()), '\n');
    for (const Storage& rec : records)
        WriteRecord(sink, rec, values);
    return sink.Flush();
}

SaveResult Save(const wxString& path, const std::vector<Storage>& records, Values values) {
    return SaveFileSafely(path, [&](std::ostream& out) { return Write(out, records, values); });
}

wxString PathWithExtension(const wxString& chosen) {
    const wxString ext = wxString::FromAscii(".kvr");
    return chosen.Contains(ext) ? chosen : chosen + ext;
}

}  // namespace jobfile
