#!/usr/bin/env python3
# make-icon.py OUT.ico SIZE...: an icon file with one 32-bit image per SIZE (256 as a PNG image,
# as icon editors write it), each filled with one colour.
import struct, sys, zlib

def bitmap(size):
    pixels = bytes([0x30, 0x60, 0xC0, 0xFF]) * (size * size)
    mask = bytes(((size + 31) // 32 * 4) * size)
    return struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0) + pixels + mask

def png(size):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    rows = b''.join(b'\0' + bytes([0x30, 0x60, 0xC0, 0xFF]) * size for _ in range(size))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))

sizes = [int(s) for s in sys.argv[2:]]
images = [png(s) if s >= 256 else bitmap(s) for s in sizes]
out = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, image in zip(sizes, images):
    out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
    offset += len(image)
open(sys.argv[1], 'wb').write(out + b''.join(images))
