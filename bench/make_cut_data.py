#!/usr/bin/env python3
"""Makes a Shift-JIS log and a cut procedure file for timing the string-line cut.

usage: make_cut_data.py OUTDIR [--size-mb MB] [--strings N] [--seed S]

OUTDIR/app.log      about MB x 1,000,000 bytes of application log lines in code page 932 with
                    CR LF ends: time stamps, levels, threads, ASCII and Japanese messages (with
                    second bytes such as 0x5C and 0x7C), about 1% long lines of 1-4 KB and 1%
                    empty lines. About 5% of the lines begin with a cut string, 1% hold backspace
                    codes before their last byte and 1% hold 0x05 codes; no other line begins with
                    a cut string.
OUTDIR/cutlist.txt  the procedure file: N strings (1..512), line beginnings such as "DEBUG",
                    "[trace]" and time stamps of hours that the kept lines never have.
The same arguments always give the same bytes.
"""
import argparse
import os
import random

LEVELS = ["INFO ", "WARN ", "ERROR", "NOTICE"]
THREADS = ["main", "worker-1", "worker-2", "http-8080-exec-3", "scheduler", "db-pool-7"]
MODULES = ["OrderService", "AuthFilter", "FileTransfer", "SessionManager", "受注管理", "帳票出力", "ソケット監視"]
KEYWORDS = ["DEBUG", "[trace]", "TRACE ", "[debug]", "<D> ", "SQL> ", "--- ", "■監視", "【デバッグ】",
            "ping ", "GC ", "Polling ", "ポーリング", "接続確認", "定期監視", "##", "dump:", "Caused by: "]
MESSAGES = ["Request completed id=%d status=200 time=%dms",
            "User u%05d logged in (session %d)",
            "Wrote %d records to C:\\Logs\\out_%d.csv",
            "受注データを登録しました (件数=%d, 伝票番号=%d)",
            "ファイル転送が完了しました: \\\\server\\表示用_%d.dat (%d バイト)",
            "ソケット接続がタイムアウトしました。再接続します (%d/%d)",
            "帳票「月次売上」を出力しました ページ数=%d 所要時間=%d秒"]
WORDS = ["OK", "顧客コード", "ソフト名", "表示区分", "null", "x|y", "[a]", "予定"]


def stamp(day, ms):
    s, ms = divmod(ms, 1000)
    m, s = divmod(s, 60)
    h, m = divmod(m, 60)
    return "2026/12/%02d %02d:%02d:%02d.%03d" % (day, h % 24, m, s, ms)


def message(rng):
    return rng.choice(MESSAGES) % (rng.randrange(1000), rng.randrange(100000))


def kept_line(rng, ms):
    r = rng.random()
    if r < 0.80:  # kept lines are stamped from the 5th on; the cut's time stamps name the 1st to 4th
        return "%s %s [%s] %s: %s" % (stamp(5 + ms // 86400000, ms), rng.choice(LEVELS), rng.choice(THREADS),
                                      rng.choice(MODULES), message(rng))
    if r < 0.97:
        return rng.choice(["\t", "    ", "　"]) + message(rng)
    if r < 0.98:
        return "%s INFO  dump: %s" % (stamp(5, ms), " ".join(rng.choice(WORDS) for _ in range(rng.randrange(150, 600))))
    if r < 0.99:
        return "＊＊＊ 日次バッチ %s ＊＊＊" % rng.choice(["開始", "終了"])
    return ""


def with_controls(rng, text, start):
    """Adds 0x05 or backspace codes after position start, so that a cut string stays whole."""
    r = rng.random()
    if r < 0.01:
        p = rng.randint(start, len(text))
        text = text[:p] + "\x05" + text[p:]
    elif r < 0.02 and len(text) > start:
        p = rng.randrange(start, len(text))  # text follows, so the BS is never the last byte
        text = text[:p] + rng.choice(["xy\b\b", "q\b", "\b", "あ\b\b"]) + text[p:]
    return text


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("outdir")
    ap.add_argument("--size-mb", type=float, default=100)
    ap.add_argument("--strings", type=int, default=100)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    if not 1 <= a.strings <= 512:
        ap.error("--strings must be 1..512")
    rng = random.Random(a.seed)
    hours = ["2026/12/%02d %02d:" % (d, h) for d in range(1, 5) for h in range(24)]
    minutes = ["2026/12/%02d %02d:%d" % (d, h, t) for d in range(1, 5) for h in range(24) for t in range(6)]
    rng.shuffle(hours)
    rng.shuffle(minutes)
    strings = (KEYWORDS + hours + minutes)[:a.strings]
    os.makedirs(a.outdir, exist_ok=True)
    with open(os.path.join(a.outdir, "cutlist.txt"), "wb") as f:
        f.write(b"".join(s.encode("cp932") + b"\r\n" for s in strings))

    encoded = [s.encode("cp932") for s in strings]
    lengths = sorted({len(s) for s in encoded})
    cut_set = set(encoded)
    target, total, ms, batch = int(a.size_mb * 1000000), 0, 0, []
    with open(os.path.join(a.outdir, "app.log"), "wb") as f:
        while total < target:
            ms += rng.randrange(40)
            if rng.random() < 0.05:
                s = strings[min(int(rng.expovariate(0.3)), len(strings) - 1)]  # a few strings cut most lines
                tail = stamp(1, ms)[len(s):] if s.startswith("2026/") else " "
                line = with_controls(rng, s + tail + " " + message(rng), len(s)).encode("cp932")
            else:
                line = with_controls(rng, kept_line(rng, ms), 0).encode("cp932")
                if any(line[:k] in cut_set for k in lengths):
                    continue
            batch.append(line)
            total += len(line) + 2
            if len(batch) == 10000:
                f.write(b"\r\n".join(batch) + b"\r\n")
                batch = []
        if batch:
            f.write(b"\r\n".join(batch) + b"\r\n")


if __name__ == "__main__":
    main()
