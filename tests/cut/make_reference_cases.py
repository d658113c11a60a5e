#!/usr/bin/env python3
"""Random cut cases with the bytes cut_reference.py expects for them.

usage: make_reference_cases.py OUTDIR COUNT SEED
Writes OUTDIR/NNNNN.cut (procedure file), NNNNN.log and NNNNN.exp (the log after the cut).
"""
import io
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cut_reference  # noqa: E402

JAPANESE = ["ソフト", "表示", "機能", "予定", "【デバッグ】", "接続確認", "ー", "＃＃", "死活監視"]
WORDS = ["ERROR", "WARN", "INFO", "DEBUG", "[trace]", "at ", "x", "\\", "|", "ab"] + JAPANESE
ENDS_BY_STYLE = {"crlf": [b"\r\n"], "lf": [b"\n"], "cr": [b"\r"], "mixed": [b"\r\n", b"\n", b"\r"]}


def sjis(text):
    return text.encode("cp932")


def piece(rng):
    r = rng.random()
    if r < 0.6:
        return sjis(rng.choice(WORDS))
    if r < 0.75:
        return bytes([rng.choice([8, 5])])
    if r < 0.85:
        return bytes([rng.choice([9, 0x1b, 0x20, 0x5c, 0x81, 0x83])])
    return bytes(rng.randrange(0x20, 0x7f) for _ in range(rng.randrange(1, 8)))


def line(rng, strings):
    parts = []
    if strings and rng.random() < 0.3:
        s = rng.choice(strings)
        parts.append(s[: rng.randrange(1, len(s) + 1)] if rng.random() < 0.3 else s)
    for _ in range(rng.randrange(0, 8)):
        parts.append(piece(rng))
    if rng.random() < 0.02:
        parts.append(b"L" * rng.randrange(500, 6000))
    return b"".join(parts)


def cut_list(rng):
    strings = []
    for _ in range(rng.randrange(0, 12)):
        s = b"".join(piece(rng) for _ in range(rng.randrange(1, 3)))
        s = s.replace(b"\r", b"").replace(b"\n", b"")
        if s:
            strings.append(s)
    ends = ENDS_BY_STYLE[rng.choice(list(ENDS_BY_STYLE))]
    text = b""
    for s in strings:
        text += s + rng.choice(ends)
        if rng.random() < 0.1:
            text += rng.choice(ends)  # a stray empty line
    if strings and rng.random() < 0.3:
        text = text.rstrip(b"\r\n")  # the last line without its line end
    return strings, text


def main():
    out, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    os.makedirs(out, exist_ok=True)
    rng = random.Random(seed)
    for i in range(count):
        strings, cut_text = cut_list(rng)
        ends = ENDS_BY_STYLE[rng.choice(list(ENDS_BY_STYLE))]
        log = b"".join(line(rng, strings) + rng.choice(ends) for _ in range(rng.randrange(0, 40)))
        if rng.random() < 0.2:
            log += line(rng, strings)  # no line end at the end
        if i % 1000 == 999:
            log += b"H" * (2 * 1024 * 1024 + 3) + b"\x08\r\n" + log  # lines beyond the 1 MB block
        name = os.path.join(out, "%05d" % i)
        with open(name + ".cut", "wb") as f:
            f.write(cut_text)
        with open(name + ".log", "wb") as f:
            f.write(log)
        groups = cut_reference.load_cut_strings(name + ".cut")
        dst = io.BytesIO()
        n = cut_reference.cut(groups, io.BytesIO(log), dst)
        changed = n["cut"] + n["BS"] + n["Ctrl"] > 0
        with open(name + ".exp", "wb") as f:
            f.write(dst.getvalue() if changed else log)


if __name__ == "__main__":
    main()
