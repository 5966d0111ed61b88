#!/usr/bin/env python3
# Writes the damaged data files of this folder field by field, independently of the program's
# own writers, so that the tests read bytes the program did not make. Run it from anywhere; the
# files are committed, the tests never run it.
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def short_string(text, capacity=255):
    data = text.encode("cp1251")[:capacity]
    return bytes([len(data)]) + data + bytes(capacity - len(data))


def stake(version, origin, draw_no, checked, sample, count, nums, draw_nums, matched_count, matched,
          profit_raw, comment_field):
    r = bytearray(312)
    r[0] = version
    r[1] = origin
    r[4:8] = struct.pack("<i", draw_no)
    r[8] = checked
    r[12:16] = struct.pack("<i", sample)
    r[16:20] = struct.pack("<i", count)
    r[20:28] = bytes(nums)
    r[28:36] = bytes(draw_nums)
    r[36:40] = struct.pack("<i", matched_count)
    r[40:48] = bytes(matched)
    r[48:56] = struct.pack("<q", profit_raw)
    r[56:312] = comment_field
    return bytes(r)


def rating(name, hits, profit_raw):
    r = bytearray(312)
    r[0:256] = short_string(name)
    r[256:260] = struct.pack("<i", sum(hits))
    r[260:264] = struct.pack("<i", sum(h * n for h, n in enumerate(hits)))
    for h, n in enumerate(hits):
        r[264 + 4 * h:268 + 4 * h] = struct.pack("<i", n)
    r[304:312] = struct.pack("<q", profit_raw)
    return bytes(r)


def regular(name, use_draw, start, current, step, count):
    r = bytearray(284)
    r[0:256] = short_string(name)
    r[256] = use_draw
    r[257:265] = bytes(start)
    r[265:273] = bytes(current)
    r[276:280] = struct.pack("<i", step)
    r[280:284] = struct.pack("<i", count)
    return bytes(r)


def write(name, data):
    with open(os.path.join(here, name), "wb") as f:
        f.write(data)


# A stakes file: a fresh manual stake, a stake with fields out of every range (origin 9, a
# negative sample, 40 numbers of which two are outside 1..20, a full-length comment of 0xFF),
# a checked stake, and 100 bytes of a record that was never finished.
write("stakes-partial.lsk",
      stake(2, 1, 101, 0, 10, 8, [1, 2, 3, 4, 5, 6, 7, 8], [0] * 8, -1, [0] * 8, -100000,
            short_string("Тест"))
      + stake(2, 9, 102, 0, -5, 40, [0, 25, 3, 4, 5, 6, 7, 8], [0] * 8, -1, [0] * 8, 0,
              bytes([255]) + b"\xff" * 255)
      + stake(2, 3, 101, 1, 125970, 8, [1, 3, 5, 7, 9, 11, 13, 15], [3, 7, 1, 15, 9, 20, 11, 4], 6,
              [1, 3, 7, 9, 11, 15, 0, 0], 990000, short_string("01.001: Исходный список"))
      + b"\x07" * 100)

# A rating file of two consistent rows and one byte of a third.
write("ratings-partial.lrt",
      rating("Один", [0, 2], 0) + rating("Два", [0, 0, 3], 0) + b"x")

# A regulars file whose third record has a step no dialog allows (99), followed by two more
# good records that the reader must not take.
good = regular("a", 0, [1, 2, 3, 4, 5, 6, 7, 8], [1, 2, 3, 4, 5, 6, 7, 8], 3, 0) \
    + regular("b", 0, [1, 2, 3, 4, 5, 6, 7, 8], [1, 2, 3, 4, 5, 6, 7, 8], -3, 0)
write("regulars-badstep.ltb",
      good + regular("c", 0, [1, 2, 3, 4, 5, 6, 7, 8], [1, 2, 3, 4, 5, 6, 7, 8], 99, 0) + good)


def draw(draw_no, nums, extra, date):
    data = date.encode("cp1251")[:16]
    return struct.pack("<i", draw_no) + bytes(nums) + bytes([extra, len(data)]) + data + bytes(16 - len(data)) + bytes(2)


# Stakes whose counts no record can hold: 2147483647 numbers (the check used to spend seconds
# in a factorial and store a wrong profit) and 300 numbers (the price overflowed), then a sound
# due stake for draw 102.
write("stakes-huge-count.lsk",
      stake(2, 1, 101, 0, 10, 2147483647, [1, 2, 3, 4, 5, 6, 7, 8], [0] * 8, -1, [0] * 8, 0,
            short_string("огромная"))
      + stake(2, 1, 101, 0, 10, 300, [1, 2, 3, 4, 5, 6, 7, 8], [0] * 8, -1, [0] * 8, 0,
              short_string("300 чисел"))
      + stake(2, 1, 102, 0, 10, 8, [1, 2, 3, 4, 5, 6, 7, 8], [0] * 8, -1, [0] * 8, -100000,
              short_string("целая")))

# 50 sound stakes and one stray byte: the stakes must all survive the start-up.
write("stakes-stray-byte.lsk",
      b"".join(stake(2, 1, 100 + i, 0, 10, 8, [1, 2, 3, 4, 5, 6, 7, 8], [0] * 8, -1, [0] * 8, -100000,
                     short_string("ставка %d" % i)) for i in range(50)) + b"\x00")

# A rating row standing at the counters' limits: one more stake must not wrap it round.
write("ratings-at-limits.lrt",
      rating("Предел", [0, 2147483647], 0)[:304]
      + struct.pack("<q", 9223372036854775807))

# A regular stake advanced 2147483647 times.
write("regulars-count-limit.ltb",
      regular("предел", 0, [1, 2, 3, 4, 5, 6, 7, 8], [1, 2, 3, 4, 5, 6, 7, 8], 1, 2147483647))

# Two sound draws around damaged ones: numbers above 20, a repeated number, an extra number 9,
# draw number 0 and a negative one, then 33 random bytes (one more garbage record and one byte).
write("archive-damaged.ldr",
      draw(1, [1, 2, 3, 4, 5, 6, 7, 8], 1, "01.01.2026 10:00")
      + draw(2, [21, 2, 3, 4, 5, 6, 7, 28], 1, "02.01.2026 10:00")
      + draw(3, [1, 1, 3, 4, 5, 6, 7, 8], 1, "03.01.2026 10:00")
      + draw(4, [1, 2, 3, 4, 5, 6, 7, 8], 9, "04.01.2026 10:00")
      + draw(0, [1, 2, 3, 4, 5, 6, 7, 8], 1, "05.01.2026 10:00")
      + draw(-7, [1, 2, 3, 4, 5, 6, 7, 8], 1, "06.01.2026 10:00")
      + draw(8, [9, 10, 11, 12, 13, 14, 15, 16], 4, "08.01.2026 10:00")
      + bytes.fromhex("e1f5fd79a53c9911ee03bb7c5f0a6d2e98c4a1b27d3e8f90c5d6e7f8091a2b3c4d"))

# An archive of one draw numbered 2147483647: nothing comes after it.
write("archive-last-number.ldr", draw(2147483647, [1, 2, 3, 4, 5, 6, 7, 8], 1, "01.01.2026 10:00"))

# A draws text file for the import: one sound draw among lines that must each be refused with
# their line number, and a garbage tail that pushes the refusals past the ten that are listed.
lines = [
    '2003;"10.12.2026 10:00";1;2;3;4;5;6;7;25;2',
    '2004;"10.12.2026 10:00";1;2;3;4;5;6;7;8;9',
    '2005;"10.12.2026 10:00";1;2;3;4;5;6;7;8;2',
    '2005;"11.12.2026 10:00";1;2;3;4;5;6;7;9;2',
    '2006;"32.12.2026 10:00";1;2;3;4;5;6;7;8;2',
    '2007;"12.12.2026 10:00";1;1;3;4;5;6;7;8;2',
    '',
    '2147483647;"12.12.2026 10:00";1;2;3;4;5;6;7;8;2',
    '3;"12.12.2026 10:00";1;2;3;4;5;6;7;8;2',
] + ["мусор %d" % i for i in range(4)]
write("draws-invalid.csv", "\r\n".join(lines).encode("cp1251") + b"\r\n")
write("draws-garbage.csv", bytes(range(256)) * 2)

# A settings file an editor saved as UTF-8 without a byte-order mark ("И" is D0 98), and one in
# CP1251 holding the byte 0x98, which names no character.
write("settings-utf8.ini", "[GLOBAL]\r\nName=Иван\r\nCount=1\r\n".encode("utf-8"))
write("settings-98.ini", b"[GLOBAL]\r\nName=a\x98b\r\nCount=1\r\n")

# A favourites list naming only methods this program does not know.
write("favorites-unknown.flt", b"[FILTERS]\r\nFavorites=XNEW1,XNEW2\r\nOrdered=0\r\n")
# A byte-order mark in front of CP1251 text (found by fuzzing): the bytes after it survive.
write("settings-bom-cp1251.ini", b"\xef\xbb\xbf[GLOBAL]\r\nName=\xc8\xe2\x98\r\nCount=1\r\n")
