#!/usr/bin/env python3
# damage.py LAUNCHER KIND OUT [N]: writes a copy of LAUNCHER damaged in one way that the branding
# command must refuse.
#   extra-section   one more section header, at the resource section's address, without raw data
#   shared-tree N   the resource tree reuses one directory per level and one data entry, N entries
#                   at each level: N*N*N resources of one 4 KB leaf (N=60: 216,000 of them)
import struct, sys

data = bytearray(open(sys.argv[1], 'rb').read())
kind = sys.argv[2]
pe = struct.unpack_from('<I', data, 60)[0]
count, opt_size = struct.unpack_from('<H', data, pe + 6)[0], struct.unpack_from('<H', data, pe + 20)[0]
opt = pe + 24
magic = struct.unpack_from('<H', data, opt)[0]
size_of_headers = struct.unpack_from('<I', data, opt + 60)[0]
dirs = opt + (112 if magic == 0x20B else 96)
resource_rva = struct.unpack_from('<I', data, dirs + 2 * 8)[0]
table = opt + opt_size
sections = [struct.unpack_from('<8sIIII', data, table + 40 * i) for i in range(count)]
rsrc = [i for i, s in enumerate(sections) if s[2] == resource_rva]
assert len(rsrc) == 1, 'the launcher should have one resource section'
name, vsize, va, rawsize, rawptr = sections[rsrc[0]]

if kind == 'extra-section':
    at = table + 40 * count
    assert at + 40 <= size_of_headers and not any(data[at:at + 40]), 'no room for another section header'
    struct.pack_into('<8sIIIIIIHHI', data, at, b'.rsrc2', vsize, va, 0, 0, 0, 0, 0, 0, 0x40000040)
    struct.pack_into('<H', data, pe + 6, count + 1)
elif kind == 'shared-tree':
    fan = int(sys.argv[4])
    directory = 16 + 8 * fan
    leaf_at, leaf_size = 3 * directory + 16, 4096
    assert leaf_at + leaf_size <= min(vsize, rawsize), 'the resource section is too small'
    tree = bytearray()
    for level in range(3):
        tree += struct.pack('<IIHHHH', 0, 0, 0, 0, 0, fan)
        target = 0x80000000 | (level + 1) * directory if level < 2 else 3 * directory
        for entry in range(fan):
            tree += struct.pack('<II', entry + 1, target)
    tree += struct.pack('<IIII', va + leaf_at, leaf_size, 0, 0)
    data[rawptr:rawptr + len(tree)] = tree
else:
    sys.exit(f'unknown kind {kind}')
open(sys.argv[3], 'wb').write(data)
