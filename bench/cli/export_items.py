#!/usr/bin/env python3
"""The reference an export of an item file is measured against: the same file read and
deciphered, and the same CSV written (ID, name, the 29 fields, Raw in hexadecimal), the way a
careful Python script would do it: the whole file deciphered at once by bytes.translate,
the records unpacked by struct.iter_unpack, the rows written by the csv module.

Usage: export_items.py stditem.dat out.csv [key]
"""
import csv
import struct
import sys

RECORD = 184
# ID, 32 bytes the columns do not show, 29 fields, the name's length byte and its 31 bytes.
LAYOUT = struct.Struct("<i32x29iB31s")
TITLES = ("ItemID,ItemName,Stdmode,Shape,Weight,CharLooks,Anicount,Source,Reserved,Throw,Looks,"
          "DuraMax,Ac,Ac2,MacType,Mac,Mac2,Dc,Dc2,McType,Mc,Mc2,FuncType,Need,WZ1,WZ2,WZ3,WZ4,"
          "NeedLevel,Price,Stock,Raw").split(",")


def main():
    source, target = sys.argv[1], sys.argv[2]
    key = int(sys.argv[3]) if len(sys.argv) > 3 else 173
    with open(source, "rb") as f:
        data = f.read()
    count = min(struct.unpack_from("<i", data)[0], (len(data) - 4) // RECORD)
    records = data[4:4 + count * RECORD].translate(bytes(b ^ key for b in range(256)))
    with open(target, "w", encoding="utf-8", newline="") as out:
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(TITLES)
        at = 0
        rows = []
        for values in LAYOUT.iter_unpack(records):
            name = values[31][:values[30]].split(b"\0", 1)[0].decode("gbk", "replace")
            rows.append((values[0], name, *values[1:30], records[at:at + RECORD].hex()))
            at += RECORD
            if len(rows) == 4096:
                writer.writerows(rows)
                rows.clear()
        writer.writerows(rows)


if __name__ == "__main__":
    main()
