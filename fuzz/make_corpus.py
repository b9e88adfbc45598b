#!/usr/bin/env python3
"""Writes the seed corpus of the job file and database import fuzzers.

Every job file layout (480000, 460000, 430000, 410000 and the oldest one without a version
line), with LF and CR LF line ends and the odd corners of the format (white space, signs,
exponents, nan and inf, 16-bit text box codes, long lines); and database files of complete
blocks and broken tails. Run it from anywhere; it rewrites fuzz/corpus/<target>/gen_*.
Inputs that once broke a reader live beside them as crash_* and are kept.
"""
import os
import struct
import glob

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def latin1(s):
    return s.encode("latin-1", "replace")


def fmt_f(v):
    return "%f" % v


def samples(n, step=1.0):
    lines = []
    for i in range(n):
        t = (i + 1) * step
        lines.append("%s %s %s %s\n" % (fmt_f(t), fmt_f(10.5 + i % 7), fmt_f(1.25 - i * 0.01), fmt_f(t * 0.2)))
    return "".join(lines)


def note_codes(text):
    units = []
    for ch in text:
        cp = ord(ch)
        if cp > 0xFFFF:
            cp -= 0x10000
            units += [0xD800 + (cp >> 10), 0xDC00 + (cp & 0x3FF)]
        else:
            units.append(cp)
    return "".join("%d " % u for u in units) + "0 \n"


def record(layout, title, date="24/03/2023 14:05:09", subtitle="Pumpe 1", serial=4711, note="",
           pos=(10, 20), target=0.5, interval=1000, pressure=98, unit_system=1, flow_unit=0, spare=0, n=3):
    out = title + "\n"
    if layout >= 410000:
        out += date + "\n" + subtitle + "\n"
    if layout >= 430000:
        out += "%d\n" % serial
    if layout == 480000:
        out += note_codes(note) + "%d %d\n" % pos + fmt_f(target) + "\n"
    out += "%d\n%d\n" % (interval, pressure)
    if layout >= 460000:
        out += "%d %d\n" % (unit_system, flow_unit)
    else:
        out += "%d\n" % unit_system
    out += "%d\n%d\n" % (spare, n) + samples(n, interval / 1000.0)
    return out


def job(layout, records):
    head = "" if layout == 0 else "%d\n" % layout
    return head + "%d\n" % len(records) + "".join(records)


def job_seeds():
    seeds = {}
    for layout in (480000, 460000, 430000, 410000, 0):
        name = "oldest" if layout == 0 else str(layout)
        recs = [record(layout, "Messung 1"),
                record(layout, "Speicher 2", subtitle="", note="Zeile 1\nZeile 2", pressure=112,
                       unit_system=0, flow_unit=2, spare=1, n=0),
                record(layout, "Verbunden 3 S\u00fcd", note="\u00e4\u20ac\U0001F600", pressure=8, n=5)]
        text = job(layout, recs)
        seeds["gen_%s_lf" % name] = latin1(text)
        seeds["gen_%s_crlf" % name] = latin1(text.replace("\n", "\r\n"))
        seeds["gen_%s_empty" % name] = latin1(job(layout, []))
    seeds["gen_480000_long"] = latin1(job(480000, [record(480000, "Lang", n=150, interval=100)]))
    seeds["gen_480000_long_title"] = latin1(job(480000, [record(480000, "T" * 198, subtitle="s" * 198)]))
    seeds["gen_480000_units"] = latin1(job(480000, [
        record(480000, "Fluss %d" % fu, flow_unit=fu, pressure=p, unit_system=us, n=1)
        for fu, p, us in ((0, 98, 1), (1, 112, 1), (2, 8, 0), (3, 16, 1))]))
    seeds["gen_scanf_corners"] = latin1(
        "  480000 \n\n 1\n   Titel  \r\nDatum\n\n 12\n65 +66 0\n 3\t4\n+0.5\n100\n98\n1\t0\n0\n3\n"
        "1 2 3 4\n\n  5e-1 -2.5E+1   +3 -0\nnan -nan inf -inf\n")
    seeds["gen_oldest_three"] = latin1(
        "3\nErste\n1000\n98\n1\n0\n1\n1 2 3 4\n  Zweite\n\n\n500\n112\n1\n0\n0\n"
        "Dritte\n250\n8\n0\n1\n2\n1 1 1 1\n2 2 2 2\n")
    seeds["gen_truncated"] = latin1(job(480000, [record(480000, "Abgeschnitten", n=4)])[:-9])
    seeds["gen_count_beyond_file"] = latin1("480000\n9\n" + record(480000, "Einer"))
    seeds["gen_negative_counts"] = latin1("1\nA\n1000\n98\n1\n0\n-5\n")
    return seeds


def block(lengths):
    head = b"".join(struct.pack(">I", n)[1:] for n in lengths)
    body = b"".join(bytes([0x41 + i]) * n for i, n in enumerate(lengths))
    return head + body


def import_seeds():
    one = block([1, 2, 3, 4, 5])
    return {
        "gen_empty": b"",
        "gen_zero_block": bytes(15),
        "gen_one_block": one,
        "gen_two_blocks": one + block([256, 0, 17, 0, 3]),
        "gen_tail_2": one + b"\x01\x02",
        "gen_tail_5": one + bytes(5),
        "gen_short_fbuf": one[:-1],
        "gen_short_toc": block([40, 0, 0, 0, 0])[:30],
        "gen_largest_length": b"\xff\xff\xff" + bytes(12) + b"x",
    }


def write(target, seeds):
    d = os.path.join(ROOT, target)
    os.makedirs(d, exist_ok=True)
    for old in glob.glob(os.path.join(d, "gen_*")):
        os.remove(old)
    for name, data in seeds.items():
        with open(os.path.join(d, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write("job_file", job_seeds())
    write("database_import", import_seeds())
