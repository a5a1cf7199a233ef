#!/usr/bin/env python3
"""kaveldef texts against string databases made and read here by a program of
its own: odd layouts go through dump and build and come back with every entry's
id and whole text, laid out as the README says, byte for byte; the CSV shows
each text with the escapes the README defines.

    texts_layouts_test.py KAVELDEF
"""
import os
import struct
import subprocess
import sys
import tempfile

kaveldef = sys.argv[1]
UNDEFINED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}


def entries_of(data):
    """Every entry as the game reads it: slot bytes past the end are 0, a text
    runs from its offset to a NUL or the end of the file."""
    count = struct.unpack_from('<I', data)[0] if len(data) >= 4 else 0
    entries = []
    for i in range(count):
        slot = data[8 + 8 * i:16 + 8 * i].ljust(8, b'\0')
        ident, offset = struct.unpack('<iI', slot)
        text = data[offset:].split(b'\0')[0] if offset < len(data) else b''
        entries.append((ident, text))
    return entries


def laid_out(header, entries):
    """The file as the README lays it out: the table, then the texts in table order."""
    table, texts = b'', b''
    start = 8 + 8 * len(entries)
    for ident, text in entries:
        table += struct.pack('<iI', ident, start + len(texts))
        texts += text + b'\0'
    return struct.pack('<I', len(entries)) + header + table + texts


def shown(text):
    """A text as the dump shows it."""
    out = ''
    for byte in text:
        if byte == 0x5C:
            out += '\\\\'
        elif byte < 0x20 or byte == 0x7F or byte in UNDEFINED:
            out += '\\x%02X' % byte
        else:
            out += bytes([byte]).decode('cp1252')
    return out


def run(*arguments):
    done = subprocess.run([kaveldef, *arguments], capture_output=True)
    if done.returncode != 0:
        sys.exit('FAIL: kaveldef %s: %s' % (' '.join(arguments), done.stderr.decode()))


def database(count, header, table, texts):
    return struct.pack('<I', count) + header + b''.join(
        struct.pack('<iI', ident, offset) for ident, offset in table) + texts


odd_texts = b'Shared\0' + b'L' * 150 + b'\0' + bytes(range(1, 256)).replace(b'\0', b'') + b'\0End'
base = 8 + 8 * 7
databases = {
    # Laid out as written: comes back byte for byte.
    'written': laid_out(b'\x01\xEF\xCD\xAB', [(7, b'Stra\xDFe \x80'), (-2, b'a\tb\\c, "q"'),
                                           (7, b' padded '), (9, b'L' * 140), (0, b'')]),
    # Shared texts, a text inside another, one in the table, one past the end,
    # one cut by the end of the file, every byte, a count beyond the table.
    'odd': database(9, b'HDR!', [(1, base), (2, base), (3, base + 2), (4, 12), (5, 99999),
                                 (6, base + len(odd_texts) - 3), (7, base + 158)], odd_texts),
    'short': b'\x03\x00',
}
failed = False
with tempfile.TemporaryDirectory() as folder:
    for name, data in databases.items():
        path = os.path.join(folder, name + '.def')
        with open(path, 'wb') as file:
            file.write(data)
        header = data[4:8].ljust(4, b'\0')
        expected = laid_out(header, entries_of(data))
        for form in ('csv', 'json'):
            dump = os.path.join(folder, '%s.%s' % (name, form))
            built = os.path.join(folder, '%s.%s.def' % (name, form))
            run('texts', 'dump', path, '-o', dump)
            run('texts', 'build', dump, '-o', built)
            with open(built, 'rb') as file:
                back = file.read()
            if back != expected or (name == 'written' and back != data):
                print('FAIL: %s through %s: %r' % (name, form, back[:80]))
                failed = True
        with open(os.path.join(folder, name + '.csv'), encoding='utf-8') as file:
            lines = file.read().split('\n')
        if lines[0] != 'headerBytes,' + header.hex().upper():
            print('FAIL: %s: header line %r' % (name, lines[0]))
            failed = True
        for index, (ident, text) in enumerate(entries_of(data)):
            cell = shown(text)
            if ',' in cell or '"' in cell or cell[:1] in (' ', '\xA0') or cell[-1:] in (' ', '\xA0'):
                cell = '"' + cell.replace('"', '""') + '"'
            if lines[2 + index] != '%d,%d,%s' % (index, ident, cell):
                print('FAIL: %s: line %r' % (name, lines[2 + index]))
                failed = True
sys.exit(1 if failed else 0)
