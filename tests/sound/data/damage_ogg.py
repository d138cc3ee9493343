#!/usr/bin/env python3
"""Two damaged copies of an Ogg Vorbis file for the sound tests and the fuzz
corpus. Usage: damage_ogg.py IN.ogg FOREIGN_LINK.ogg BAD_CODEBOOK.ogg

FOREIGN_LINK: a copy of the first page under another serial number, put
before the audio: a link the file's directory does not list.
BAD_CODEBOOK: every code word of the first code book one bit long, a tree
that cannot be built; the headers still parse, and libvorbisfile's first
read answers OV_EBADLINK."""
import sys


def crc(data):
    c = 0
    for b in data:
        c ^= b << 24
        for _ in range(8):
            c = ((c << 1) ^ 0x04C11DB7) & 0xFFFFFFFF if c & 0x80000000 else (c << 1) & 0xFFFFFFFF
    return c


def pages(d):
    out, i = [], 0
    while i < len(d):
        n = d[i + 26]
        segs = list(d[i + 27:i + 27 + n])
        out.append((i, 27 + n + sum(segs), n, segs))
        i += 27 + n + sum(segs)
    return out


def seal(d, off, size):
    d[off + 22:off + 26] = bytes(4)
    d[off + 22:off + 26] = crc(bytes(d[off:off + size])).to_bytes(4, 'little')


def foreign_link(d):
    p = pages(d)
    bos = bytearray(d[:p[0][1]])
    bos[14:18] = (0x5EED).to_bytes(4, 'little')
    seal(bos, 0, len(bos))
    split = p[2][0]
    return d[:split] + bos + d[split:]


def bad_codebook(d):
    d = bytearray(d)
    starts, cur = [], None
    for off, size, n, segs in pages(d):
        pos = off + 27 + n
        for s in segs:
            cur = pos if cur is None else cur
            pos += s
            if s < 255:
                starts.append(cur)
                cur = None
    setup = starts[2]
    assert d[setup:setup + 7] == b'\x05vorbis'
    bit = [(setup + 7) * 8]

    def read(n):
        v = 0
        for k in range(n):
            v |= ((d[bit[0] >> 3] >> (bit[0] & 7)) & 1) << k
            bit[0] += 1
        return v

    read(8)  # book count
    assert read(24) == 0x564342
    read(16)
    entries = read(24)
    assert read(1) == 0 and read(1) == 0  # neither ordered nor sparse
    for _ in range(entries):  # length - 1 = 0
        for _ in range(5):
            d[bit[0] >> 3] &= ~(1 << (bit[0] & 7)) & 0xFF
            bit[0] += 1
    for off, size, n, segs in pages(d):
        if off <= setup < off + size:
            seal(d, off, size)
    return bytes(d)


data = open(sys.argv[1], 'rb').read()
open(sys.argv[2], 'wb').write(foreign_link(data))
open(sys.argv[3], 'wb').write(bad_codebook(data))
