#!/usr/bin/env python3
"""Writes the decoder tests' streams as a C++ source: an older and a newer
file made here from a fixed seed, the newer one compressed and as a patch
from the older, and an empty file compressed, all by the zstd command line
(the same library the publisher's tool uses). Usage: make_fixtures.py ZSTD OUT.cpp"""
import os
import random
import subprocess
import sys
import tempfile

WORDS = ("price volume close open high low MA EMA MACD KDJ RSI BOLL CROSS REF SUM "
         "IF AND OR HHV LLV COUNT BARSLAST DRAWTEXT STICKLINE").split()


def older_file(rng):
    lines = []
    for number in range(3000):
        words = " ".join(rng.choice(WORDS) for _ in range(rng.randint(3, 12)))
        lines.append("%05d %s := %d;\r\n" % (number, words, rng.randint(0, 99999)))
    return "".join(lines).encode("ascii")


def newer_file(rng, older):
    lines = older.split(b"\r\n")
    for _ in range(40):
        at = rng.randrange(len(lines))
        lines[at] = b"%d changed %s" % (at, rng.choice(WORDS).encode("ascii"))
    lines[1000:1000] = [b"inserted %d" % i for i in range(50)]
    return b"\r\n".join(lines)


def literal(name, data):
    # Octal escapes are always three digits, so no escape runs into the next byte.
    out = ["const char %s[] =\n" % name]
    for start in range(0, len(data), 64):
        piece = "".join(chr(b) if 0x20 <= b < 0x7f and chr(b) not in '"\\?' else "\\%03o" % b
                        for b in data[start:start + 64])
        out.append('    "%s"\n' % piece)
    out.append("    ;\n")
    return "".join(out)


def main():
    zstd, output = sys.argv[1], sys.argv[2]
    rng = random.Random(20240603)
    older = older_file(rng)
    newer = newer_file(rng, older)
    with tempfile.TemporaryDirectory() as work:
        def path(name):
            return os.path.join(work, name)
        for name, data in (("older", older), ("newer", newer), ("empty", b"")):
            with open(path(name), "wb") as f:
                f.write(data)
        run = lambda *args: subprocess.run([zstd, "-q", "-f", *args], check=True, stderr=subprocess.PIPE)
        run("-19", path("newer"), "-o", path("newer.zst"))
        run("-19", "--patch-from=" + path("older"), path("newer"), "-o", path("newer.zpatch"))
        run(path("empty"), "-o", path("empty.zst"))
        streams = {}
        for name in ("newer.zst", "newer.zpatch", "empty.zst"):
            with open(path(name), "rb") as f:
                streams[name] = f.read()
    text = ["// Made by make_fixtures.py at build time.\n#include \"DeltaFixtures.h\"\n\nnamespace {\n"]
    for name, data in (("kOlder", older), ("kNewer", newer), ("kNewerZst", streams["newer.zst"]),
                       ("kNewerPatch", streams["newer.zpatch"]), ("kEmptyZst", streams["empty.zst"])):
        text.append(literal(name, data))
    text.append("}  // namespace\n\n")
    for function, name in (("OlderFile", "kOlder"), ("NewerFile", "kNewer"), ("NewerCompressed", "kNewerZst"),
                           ("NewerPatchFromOlder", "kNewerPatch"), ("EmptyCompressed", "kEmptyZst")):
        text.append("std::string %s() { return std::string(%s, sizeof %s - 1); }\n" % (function, name, name))
    with open(output, "w") as f:
        f.write("".join(text))


if __name__ == "__main__":
    main()
