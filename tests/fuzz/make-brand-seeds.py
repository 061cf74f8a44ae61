#!/usr/bin/env python3
# make-brand-seeds.py CORPUS-FOLDER: writes the seeds of the branding fuzz targets, small images
# made here rather than whole launchers: brand_resources/x86 and x64 (headers, .text, .rsrc with
# the resources a launcher has and a named one, .reloc), and brand_version/launcher and fixed (a
# version resource with its texts, and one with only its fixed part).
import os, struct, sys

def utf16(text):
    return text.encode('utf-16-le')

def block(key, value=b'', children=(), text=False, value_length=None):
    out = bytearray(struct.pack('<HHH', 0, len(value) // 2 if text else len(value), 1 if text else 0))
    if value_length is not None:
        struct.pack_into('<H', out, 2, value_length)
    out += utf16(key) + b'\0\0'
    out += b'\0' * (-len(out) % 4) + value
    for child in children:
        out += b'\0' * (-len(out) % 4) + child
    struct.pack_into('<H', out, 0, len(out))
    return bytes(out)

def version():
    fixed = struct.pack('<13I', 0xFEEF04BD, 0x10000, 0x10002, 0x30000, 0x10002, 0x30000, 0x3F, 0, 0x40004, 1, 0, 0, 0)
    strings = [block(k, utf16(v + '\0'), text=True) for k, v in
               [('CompanyName', 'Example'), ('FileVersion', '1.2.3'), ('ProductName', 'Launcher')]]
    table = block('040904B0', children=strings, text=True)
    translation = block('Translation', struct.pack('<HH', 0x409, 1200))
    return block('VS_VERSION_INFO', fixed, [block('StringFileInfo', children=[table], text=True),
                                            block('VarFileInfo', children=[translation], text=True)])

def resource_section(resources, rva):
    # resources: (type, name, language, data); a str type or name is a named entry. Sorted as the
    # loader wants them: named first.
    key = lambda k: (0, k, 0) if isinstance(k, str) else (1, '', k)
    resources = sorted(resources, key=lambda r: (key(r[0]), key(r[1]), r[2]))
    types = {}
    for t, n, lang, data in resources:
        types.setdefault(t, {}).setdefault(n, []).append((lang, data))
    size = 16 + 8 * len(types) + sum(16 + 8 * len(ns) + sum(16 + 8 * len(ls) for ls in ns.values()) for ns in types.values())
    names, names_at = {}, size
    for t, n, _, _ in resources:
        for k in (t, n):
            if isinstance(k, str) and k not in names:
                names[k] = names_at
                names_at += 2 + 2 * len(k)
    entries = (names_at + 3) // 4 * 4
    data_at = (entries + 16 * len(resources) + 7) // 8 * 8
    out = bytearray(data_at + sum((len(r[3]) + 7) // 8 * 8 for r in resources))
    for text, at in names.items():
        out[at:at + 2 + 2 * len(text)] = struct.pack('<H', len(text)) + utf16(text)
    field = lambda k: 0x80000000 | names[k] if isinstance(k, str) else k
    def directory(at, keys):
        named = sum(isinstance(k, str) for k in keys)
        struct.pack_into('<IIHHHH', out, at, 0, 0, 0, 0, named, len(keys) - named)
    directory(0, list(types))
    following, leaf = 16 + 8 * len(types), 0
    for ti, (t, ns) in enumerate(types.items()):
        struct.pack_into('<II', out, 16 + 8 * ti, field(t), 0x80000000 | following)
        name_dir, following = following, following + 16 + 8 * len(ns)
        directory(name_dir, list(ns))
        for ni, (n, ls) in enumerate(ns.items()):
            struct.pack_into('<II', out, name_dir + 16 + 8 * ni, field(n), 0x80000000 | following)
            lang_dir, following = following, following + 16 + 8 * len(ls)
            directory(lang_dir, [lang for lang, _ in ls])
            for li, (lang, data) in enumerate(ls):
                struct.pack_into('<II', out, lang_dir + 16 + 8 * li, lang, entries + 16 * leaf)
                struct.pack_into('<III', out, entries + 16 * leaf, rva + data_at, len(data), 0)
                out[data_at:data_at + len(data)] = data
                data_at += (len(data) + 7) // 8 * 8
                leaf += 1
    return bytes(out)

def image(is64, resources):
    optional_size = 240 if is64 else 224
    rsrc = resource_section(resources, 0x2000)
    rsrc_raw = (len(rsrc) + 0x1FF) // 0x200 * 0x200
    reloc = struct.pack('<II', 0x1000, 12) + b'\0' * 4
    out = bytearray(0x200)
    out[0:2] = b'MZ'
    struct.pack_into('<I', out, 60, 0x40)
    struct.pack_into('<IHHIIIHH', out, 0x40, 0x4550, 0x8664 if is64 else 0x14C, 3, 0, 0, 0, optional_size, 0x22)
    opt = 0x58
    struct.pack_into('<H', out, opt, 0x20B if is64 else 0x10B)
    struct.pack_into('<II', out, opt + 32, 0x1000, 0x200)
    struct.pack_into('<III', out, opt + 56, 0x2000 + (rsrc_raw + 0xFFF) // 0x1000 * 0x1000 + 0x1000, 0x200, 0)
    struct.pack_into('<H', out, opt + 68, 2)
    dirs = opt + (112 if is64 else 96)
    struct.pack_into('<I', out, dirs - 4, 16)
    reloc_rva = 0x2000 + (rsrc_raw + 0xFFF) // 0x1000 * 0x1000
    struct.pack_into('<II', out, dirs + 2 * 8, 0x2000, len(rsrc))
    struct.pack_into('<II', out, dirs + 5 * 8, reloc_rva, len(reloc))
    table = opt + optional_size
    for i, (name, va, vsize, raw, size, flags) in enumerate([
            (b'.text', 0x1000, 0x10, 0x200, 0x200, 0x60000020), (b'.rsrc', 0x2000, len(rsrc), 0x400, rsrc_raw, 0x40000040),
            (b'.reloc', reloc_rva, len(reloc), 0x400 + rsrc_raw, 0x200, 0x42000040)]):
        struct.pack_into('<8sIIIIIIHHI', out, table + 40 * i, name, vsize, va, size, raw, 0, 0, 0, 0, flags)
    out += b'\xC3' + b'\0' * 0x1FF
    out += rsrc + b'\0' * (rsrc_raw - len(rsrc))
    out += reloc + b'\0' * (0x200 - len(reloc))
    return bytes(out)

folder = sys.argv[1]
strings = b''.join(struct.pack('<H', len(t)) + utf16(t) for t in ['', 'Text %ls', 'Two'] + [''] * 13)
resources = [(5, 201, 0x409, b'\1' * 8), (5, 231, 0x409, b'\2' * 8), (6, 14, 0x409, strings),
             (16, 1, 0x409, version()), ('CUSTOM', 'NAMED', 0x407, b'custom data')]
os.makedirs(f'{folder}/brand_resources', exist_ok=True)
os.makedirs(f'{folder}/brand_version', exist_ok=True)
open(f'{folder}/brand_resources/x86', 'wb').write(image(False, resources))
open(f'{folder}/brand_resources/x64', 'wb').write(image(True, resources))
open(f'{folder}/brand_version/launcher', 'wb').write(version())
open(f'{folder}/brand_version/fixed', 'wb').write(block('VS_VERSION_INFO', version()[40:92]))
