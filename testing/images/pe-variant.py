#!/usr/bin/env python3
"""pe-variant IN OUT CHANGE: a copy of the module IN with one change, for the cases that need a
jvm.dll no launcher can use.
  machine=0xAA64  the file header's Machine field set to that number (an ARM64 build, to the
                  header; its code stays what it was, and nothing ever loads it)
  missing-import  its import of KERNEL32.dll renamed to a module no system has, so that it is a
                  complete image of its machine that still fails to load
"""
import struct
import sys

src, dst, change = sys.argv[1:4]
data = bytearray(open(src, "rb").read())
if change.startswith("machine="):
    nt = struct.unpack_from("<I", data, 0x3C)[0]
    if data[nt:nt + 4] != b"PE\0\0":
        sys.exit(f"{src}: not a PE image")
    struct.pack_into("<H", data, nt + 4, int(change.split("=", 1)[1], 0))
elif change == "missing-import":
    at = data.find(b"KERNEL32.dll")
    if at < 0:
        sys.exit(f"{src}: no KERNEL32.dll import")
    data[at:at + 12] = b"MISSING9.dll"
else:
    sys.exit(f"unknown change {change}")
open(dst, "wb").write(data)
