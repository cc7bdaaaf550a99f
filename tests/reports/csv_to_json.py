#!/usr/bin/env python3
# The tests' independent CSV reader: the rows as one JSON array of arrays.
import csv
import json
import sys

with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    json.dump(list(csv.reader(f)), sys.stdout, ensure_ascii=False)
