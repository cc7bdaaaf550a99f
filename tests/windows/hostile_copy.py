#!/usr/bin/env python3
"""Copies an image and overwrites the middle of every run of 16 or more
printable ASCII bytes with hostile text of the same length: broken and
overlong UTF-8, encoded surrogates, code points past U+10FFFF, C0 and C1
controls, bidi overrides, ignorables, private use and emoji. Record cells keep
their shape, so their text columns carry the samples into every export."""
import re
import sys

SAMPLES = [
    b"\xf0\x9f\x98\x80", b"\xe2\x80\x8d", b"\x80", b"\xed\xa0\x80", b"\xee\x80\x80",
    b"\xf4\x90\x80\x80", b"\xc2\x85", b"\xc2\xad", b"\xef\xbb\xbf", b"\xc0\xaf",
    b"\xe2\x80\xae", b"\xff", b"\x1b[31m", b"\xef\xb8\x8f", b"\xf3\xa0\x80\x81",
    b"\xe4\xb8", b"%s%n", b"\xe9\xbe\x98",
]

source, target = sys.argv[1], sys.argv[2]
data = bytearray(open(source, "rb").read())
count = 0
for run in re.finditer(rb"[\x20-\x7e]{16,}", bytes(data)):
    sample = SAMPLES[count % len(SAMPLES)]
    at = run.start() + (run.end() - run.start() - len(sample)) // 2
    data[at:at + len(sample)] = sample
    count += 1
open(target, "wb").write(data)
print(f"{count} text runs made hostile")
