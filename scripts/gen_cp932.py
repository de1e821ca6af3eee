#!/usr/bin/env python3
"""Generates src/model/cp932_tables.inc, the tables of the portable CP932 codec.

Regenerate (from the repository root) with:

    python3 scripts/gen_cp932.py            # writes src/model/cp932_tables.inc
    python3 scripts/gen_cp932.py --check    # exits 1 if the committed file is out of date

The output depends only on Python's own "cp932" codec (stable across Python 3 versions) and on
the Windows rules below, so it is the same on every machine. tests/win/cp932_win_test.cpp checks
the result against Windows' MultiByteToWideChar / WideCharToMultiByte for every byte sequence
and every UTF-16 unit.

Where Windows' conversion (code page 932, flags 0) differs from Python's codec, Windows wins:

* Decoding: Python raises on bytes it cannot map; Windows writes U+30FB (KATAKANA MIDDLE DOT,
  the code page's default character). The tables store U+30FB for every unmapped double-byte
  sequence; the decoder applies the same default to truncated and malformed sequences.
* Encoding is the inverse of the decoding table, so characters that Python's encoder accepts
  but no CP932 sequence decodes to (U+2016, U+2212, U+301C) become '?' as on Windows.
* A character with several sequences encodes to the lowest one outside the NEC-selected IBM
  extensions (lead bytes ED and EE): JIS X 0208 first, then NEC row 13, then the IBM
  extensions FA-FC. Python prefers ED/EE over FA-FC; Windows never writes ED/EE.
* Windows applies best-fit mappings to characters that CP932 cannot hold (Latin-1 letters to
  their base letter, the yen sign to 0x5C, ...). BEST_FIT lists all of them, as recorded from
  WideCharToMultiByte(932, 0, ...).
"""

import argparse
import os
import sys

# Windows' best-fit mappings for code page 932: UTF-16 unit -> CP932 bytes.
BEST_FIT = {
    0x00A1: b"\x21", 0x00A2: b"\x81\x91", 0x00A3: b"\x81\x92", 0x00A5: b"\x5c",
    0x00A6: b"\x7c", 0x00A9: b"\x63", 0x00AA: b"\x61", 0x00AB: b"\x81\xe1",
    0x00AC: b"\x81\xca", 0x00AD: b"\x2d", 0x00AE: b"\x52", 0x00AF: b"\x81\x50",
    0x00B2: b"\x32", 0x00B3: b"\x33", 0x00B5: b"\x83\xca", 0x00B7: b"\x81\x45",
    0x00B8: b"\x81\x43", 0x00B9: b"\x31", 0x00BA: b"\x6f", 0x00BB: b"\x81\xe2",
    0x00C0: b"A", 0x00C1: b"A", 0x00C2: b"A", 0x00C3: b"A", 0x00C4: b"A", 0x00C5: b"A",
    0x00C6: b"A", 0x00C7: b"C", 0x00C8: b"E", 0x00C9: b"E", 0x00CA: b"E", 0x00CB: b"E",
    0x00CC: b"I", 0x00CD: b"I", 0x00CE: b"I", 0x00CF: b"I", 0x00D0: b"D", 0x00D1: b"N",
    0x00D2: b"O", 0x00D3: b"O", 0x00D4: b"O", 0x00D5: b"O", 0x00D6: b"O", 0x00D8: b"O",
    0x00D9: b"U", 0x00DA: b"U", 0x00DB: b"U", 0x00DC: b"U", 0x00DD: b"Y", 0x00DE: b"T",
    0x00DF: b"s", 0x00E0: b"a", 0x00E1: b"a", 0x00E2: b"a", 0x00E3: b"a", 0x00E4: b"a",
    0x00E5: b"a", 0x00E6: b"a", 0x00E7: b"c", 0x00E8: b"e", 0x00E9: b"e", 0x00EA: b"e",
    0x00EB: b"e", 0x00EC: b"i", 0x00ED: b"i", 0x00EE: b"i", 0x00EF: b"i", 0x00F0: b"d",
    0x00F1: b"n", 0x00F2: b"o", 0x00F3: b"o", 0x00F4: b"o", 0x00F5: b"o", 0x00F6: b"o",
    0x00F8: b"o", 0x00F9: b"u", 0x00FA: b"u", 0x00FB: b"u", 0x00FC: b"u", 0x00FD: b"y",
    0x00FE: b"t", 0x00FF: b"y",
    0x3094: b"\x83\x94",  # HIRAGANA LETTER VU -> KATAKANA LETTER VU
}

DEFAULT_CHAR = 0x30FB  # what Windows decodes an unmapped sequence to
UNMAPPED_BYTE = 0x3F  # '?', what Windows encodes an unmappable character to

LEAD_BYTES = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAIL_BYTES = [t for t in range(0x40, 0xFD) if t != 0x7F]  # 188 trail bytes


def decode_one(seq):
    try:
        text = seq.decode("cp932")
    except UnicodeDecodeError:
        return None
    assert len(text) == 1, seq
    return ord(text)


def build():
    single = []
    for b in range(256):
        single.append(0 if b in LEAD_BYTES else decode_one(bytes([b])))
    assert None not in single

    double = []
    sequences = {}  # character -> every sequence that decodes to it
    for b in range(256):
        if b not in LEAD_BYTES:
            sequences.setdefault(single[b], []).append(bytes([b]))
    for lead in LEAD_BYTES:
        row = []
        for trail in TRAIL_BYTES:
            seq = bytes([lead, trail])
            ch = decode_one(seq)
            if ch is None:
                row.append(DEFAULT_CHAR)
            else:
                row.append(ch)
                sequences.setdefault(ch, []).append(seq)
        double.append(row)

    # Guards against a reference codec that differs from the one these tables were made from.
    mapped = sum(1 for row in double for ch in row if ch != DEFAULT_CHAR) + 1  # + 8145 itself
    assert mapped == 9604, mapped
    assert double[LEAD_BYTES.index(0xF0)][0] == 0xE000  # user-defined area F040-F9FC
    assert double[LEAD_BYTES.index(0xF9)][187] == 0xE757
    assert single[0x80] == 0x80 and single[0xA0] == 0xF8F0 and single[0xFF] == 0xF8F3

    encode = [UNMAPPED_BYTE] * 0x10000
    for ch, seqs in sequences.items():
        preferred = [s for s in seqs if not (len(s) == 2 and s[0] in (0xED, 0xEE))]
        best = min(preferred or seqs)
        encode[ch] = best[0] if len(best) == 1 else (best[0] << 8) | best[1]
    for ch, seq in BEST_FIT.items():
        assert ch not in sequences, hex(ch)
        encode[ch] = seq[0] if len(seq) == 1 else (seq[0] << 8) | seq[1]

    # Two-level encode table: 256 pages of 256 units, identical pages shared; page 0 of the
    # block array is the all-'?' page.
    blocks = [[UNMAPPED_BYTE] * 256]
    page_index = []
    for page in range(256):
        block = encode[page * 256:(page + 1) * 256]
        if block not in blocks:
            blocks.append(block)
        page_index.append(blocks.index(block))
    assert len(blocks) < 256
    return single, double, page_index, blocks


def hex_rows(values, width, per_line, indent):
    lines = []
    for i in range(0, len(values), per_line):
        chunk = values[i:i + per_line]
        lines.append(indent + " ".join("0x%0*X," % (width, v) for v in chunk))
    return lines


def render():
    single, double, page_index, blocks = build()
    out = [
        "// Generated by scripts/gen_cp932.py. Do not edit; run the script to regenerate.",
        "// Tables of the CP932 codec with Windows' mapping; included by cp932.cpp.",
        "// clang-format off",
        "",
        "// Byte -> character for bytes that are not lead bytes (0 for lead bytes).",
        "constexpr char16_t kSingleByte[256] = {",
    ]
    out += hex_rows(single, 4, 16, "    ")
    out += [
        "};",
        "",
        "// [lead row][trail index] -> character; rows are lead bytes 81-9F then E0-FC, trail indexes",
        "// are trail bytes 40-7E then 80-FC. Unmapped sequences hold U+30FB.",
        "constexpr char16_t kDoubleByte[%d][%d] = {" % (len(double), len(TRAIL_BYTES)),
    ]
    for lead, row in zip(LEAD_BYTES, double):
        out.append("    { // lead %02X" % lead)
        out += hex_rows(row, 4, 16, "        ")
        out.append("    },")
    out += [
        "};",
        "",
        "// High byte of a UTF-16 unit -> block of kEncodeBlock.",
        "constexpr unsigned char kEncodePage[256] = {",
    ]
    out += hex_rows(page_index, 2, 16, "    ")
    out += [
        "};",
        "",
        "// [block][low byte of the unit] -> CP932: a value below 0x100 is one byte, otherwise the",
        "// lead byte is the high byte and the trail byte the low byte. Unmappable units hold '?'.",
        "constexpr unsigned short kEncodeBlock[%d][256] = {" % len(blocks),
    ]
    for i, block in enumerate(blocks):
        pages = [p for p in range(256) if page_index[p] == i]
        label = "U+%02Xxx" % pages[0] if len(pages) == 1 else "%d pages without mappings" % len(pages)
        out.append("    { // %s" % label)
        out += hex_rows(block, 4, 16, "        ")
        out.append("    },")
    out += ["};", ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--output", default=os.path.join(root, "src", "model", "cp932_tables.inc"))
    parser.add_argument("--check", action="store_true", help="compare with the existing file instead of writing")
    args = parser.parse_args()
    text = render()
    if args.check:
        with open(args.output, encoding="ascii", newline="\n") as f:
            if f.read() != text:
                print("%s is out of date; run scripts/gen_cp932.py" % args.output, file=sys.stderr)
                return 1
        return 0
    with open(args.output, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
