#!/usr/bin/env python3
"""Writes data/places/towns.csv, the towns of every city of Japan with their readings, from the
postal town list (Japan Post's KEN_ALL) as the npm package yubin carries it.

    npm pack yubin@0.2.2
    tools/places/towns-from-yubin.py yubin-0.2.2.tgz data/places/towns.csv

The package holds the list in its code as base64 chunks of raw deflate, one per three-digit
postal area, each a CSV whose rows start with "k" for a town: k, postal code, area, city code,
prefecture, its reading, city, its reading, town, its reading, and four flags.
"""
import base64
import collections
import json
import re
import sys
import tarfile
import zlib

HEADER = """\
# The towns of every city of Japan with their readings, from Japan Post's postal town list
# (KEN_ALL, as the npm package yubin 0.2.2 carries it; made by tools/places/towns-from-yubin.py).
# First one "city code,city" a line, then one "town,reading,city codes" a line; the codes are
# the five digits of JIS X 0401/0402, split by spaces.
"""


def town_rows(tarball):
    with tarfile.open(tarball) as tar:
        code = tar.extractfile("package/dist/index.mjs").read().decode("utf-8")
    chunks = json.loads(re.search(r"const chunks = (\{.*?\});", code, re.S).group(1))
    for chunk in chunks.values():
        for line in zlib.decompress(base64.b64decode(chunk), -15).decode("utf-8").split("\n"):
            fields = line.split(",")
            if len(fields) >= 10 and fields[0] == "k":
                yield fields[3], fields[6], fields[8], fields[9]


def main(tarball, out):
    cities = collections.defaultdict(set)
    names = {}
    for city, city_name, town, reading in town_rows(tarball):
        names[city] = city_name
        # A note in brackets is which blocks of the town the code is for: "大通西（１〜１９丁目）".
        town = re.sub(r"（.*", "", town)
        reading = re.sub(r"（.*", "", reading)
        # Rows that are no town: the city's catch-all, "the number comes next", a whole village.
        if not town or "以下に掲載" in town or "の次に" in town or town.endswith("一円"):
            continue
        if not re.fullmatch(r"[ァ-ヺー]+", reading):
            continue
        cities[(town, reading)].add(city)
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write(HEADER)
        for city, name in sorted(names.items()):
            f.write(f"{city},{name}\n")
        for (town, reading), codes in sorted(cities.items()):
            f.write(f"{town},{reading},{' '.join(sorted(codes))}\n")


if __name__ == "__main__":
    main(*sys.argv[1:3])
