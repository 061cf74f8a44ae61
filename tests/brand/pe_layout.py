#!/usr/bin/env python3
# pe_layout.py EXE: checks, independently of the branding command, the header fields a loader and
# signing tools read: sections in order, aligned and without gaps or overlaps in the file,
# SizeOfImage, the resource and relocation directories, the checksum, nothing after the last
# section. Prints one line per fault and exits 1 when there is any.
import struct, sys

data = open(sys.argv[1], 'rb').read()
faults = []
pe = struct.unpack_from('<I', data, 60)[0]
count, opt_size = struct.unpack_from('<H', data, pe + 6)[0], struct.unpack_from('<H', data, pe + 20)[0]
opt = pe + 24
magic = struct.unpack_from('<H', data, opt)[0]
sect_align, file_align = struct.unpack_from('<II', data, opt + 32)
size_of_image, size_of_headers, checksum = struct.unpack_from('<III', data, opt + 56)
dirs = opt + (112 if magic == 0x20B else 96)
directory = lambda i: struct.unpack_from('<II', data, dirs + 8 * i)
sections = []
for i in range(count):
    at = opt + opt_size + 40 * i
    name = data[at:at + 8].rstrip(b'\0').decode()
    vsize, va, rawsize, rawptr = struct.unpack_from('<IIII', data, at + 8)
    sections.append((name, vsize, va, rawsize, rawptr))
next_va, next_raw = None, size_of_headers
for name, vsize, va, rawsize, rawptr in sections:
    if va % sect_align or (next_va is not None and va != next_va):
        faults.append(f'{name}: virtual address {va:#x}, expected {next_va:#x}')
    next_va = (va + max(vsize, rawsize) + sect_align - 1) // sect_align * sect_align
    if rawsize and (rawptr % file_align or rawptr != next_raw or rawsize % file_align):
        faults.append(f'{name}: file offset {rawptr:#x} size {rawsize:#x}, expected offset {next_raw:#x}')
    if rawsize:
        next_raw = rawptr + rawsize
if size_of_image != next_va:
    faults.append(f'SizeOfImage {size_of_image:#x}, expected {next_va:#x}')
if next_raw != len(data):
    faults.append(f'{len(data) - next_raw} bytes after the last section')
rsrc = [s for s in sections if s[0] == '.rsrc']
if not rsrc or directory(2) != (rsrc[0][2], rsrc[0][1]):
    faults.append(f'resource directory {directory(2)} is not the .rsrc section')
reloc_rva, reloc_size = directory(5)
if reloc_rva and not any(va <= reloc_rva and reloc_rva + reloc_size <= va + vsize for _, vsize, va, _, _ in sections):
    faults.append('the relocation directory lies outside every section')
if checksum:
    total = 0
    padded = data + b'\0' * (len(data) % 2)
    for i in range(0, len(padded), 2):
        if i in (opt + 64, opt + 66):
            continue
        total += padded[i] | padded[i + 1] << 8
        total = (total & 0xFFFF) + (total >> 16)
    total = ((total & 0xFFFF) + (total >> 16)) + len(data)
    if total != checksum:
        faults.append(f'checksum {checksum:#x}, computed {total:#x}')
for fault in faults:
    print('FAIL:', fault)
print('ok: headers consistent' if not faults else '')
sys.exit(1 if faults else 0)
