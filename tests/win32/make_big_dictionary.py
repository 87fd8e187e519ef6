#!/usr/bin/env python3
"""Writes a cedict_ts.uni of many lines (the bundled entries over and over) into a folder, so
that a load runs long enough to show progress and to be cancelled.

Usage: make_big_dictionary.py DATADIR OUTDIR LINES"""
import sys
from pathlib import Path

data, out, count = Path(sys.argv[1]), Path(sys.argv[2]), int(sys.argv[3])
out.mkdir(parents=True, exist_ok=True)
lines = (data / 'cedict_ts.uni').read_bytes().decode('utf-16-le').split('\r\n')
header, entries = lines[0], [line for line in lines[1:] if line]
body = [entries[i % len(entries)] for i in range(count)]
(out / 'cedict_ts.uni').write_bytes(('\r\n'.join([header] + body) + '\r\n').encode('utf-16-le'))
