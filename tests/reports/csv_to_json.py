#!/usr/bin/env python3
# Reads a CSV file with Python's own csv module and prints its rows as one
# JSON array of arrays of strings: the tests' independent CSV reader.
import csv
import json
import sys

with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    json.dump(list(csv.reader(f)), sys.stdout, ensure_ascii=False)
