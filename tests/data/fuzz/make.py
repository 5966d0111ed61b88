#!/usr/bin/env python3
# Writes the seed inputs of the fuzz programs (scripts/fuzz.sh): one small sound example of each
# reader's input and the damaged fixtures of tests/data/broken. The files are committed.
import os
import shutil
import struct

here = os.path.dirname(os.path.abspath(__file__))
broken = os.path.join(here, "..", "broken")


def put(target, name, data):
    os.makedirs(os.path.join(here, target), exist_ok=True)
    with open(os.path.join(here, target, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("cp1251"))


def copy(target, name):
    os.makedirs(os.path.join(here, target), exist_ok=True)
    shutil.copy(os.path.join(broken, name), os.path.join(here, target, name))


def draw(no, nums, extra, date):
    d = date.encode("cp1251")[:16]
    return struct.pack("<i", no) + bytes(nums) + bytes([extra, len(d)]) + d + bytes(18 - len(d))


put("archive", "two.ldr", draw(1, [3, 7, 1, 15, 9, 20, 11, 4], 2, "12.03.2021 10:05")
    + draw(2, [1, 2, 3, 4, 5, 6, 7, 8], 4, "13.03.2021 10:05"))
copy("archive", "archive-damaged.ldr")
copy("archive", "truncated-archive.ldr")
for name in ("stakes-partial.lsk", "stakes-huge-count.lsk"):
    copy("stakes", name)
put("stakes", "stray.lsk", open(os.path.join(broken, "stakes-stray-byte.lsk"), "rb").read()[:312 * 2 + 1])
for name in ("ratings-partial.lrt", "ratings-at-limits.lrt"):
    copy("ratings", name)
for name in ("regulars-badstep.ltb", "regulars-count-limit.ltb"):
    copy("regulars", name)
rec = lambda key, count: struct.pack("<4Hi", *key, count)
put("prefetch", "three.dfc", rec((1, 0, 0, 0), 5) + rec((2, 0, 0, 0), 9) + rec((3, 1, 0, 0), 7) + struct.pack("<3i", 5, 9, 0))
put("ini", "settings.ini", "; comment\r\n[GLOBAL]\r\nCost=10.5\r\nFlag=true\r\nHex=$FF\r\n[FILTERS]\r\n"
    "Favorites=NUMS,EVEN,XYZ\r\nOrdered=1\r\n[STRINGS_RUS]\r\nNUMS=Числа тиража\r\n")
put("ini", "utf8.ini", "[A]\r\nName=Имя\r\n".encode("utf-8"))
put("ini", "cp98.ini", b"[A]\r\nX=a\x98b\r\n")
copy("ini", "damaged.frm")
put("combs", "list.lcv", "1,2,3,4,5,6,7,8\r\n13;14;15;16;17;18;19;20\r\n")
put("combs", "clipboard.txt", "01 05 07 11 12 14 18 20\r\n02 04 06 08 10 12 14 16\r\n")
copy("csv", "draws-invalid.csv")
put("csv", "good.csv", '1024;"12.03.2021 10:05";3;7;1;15;9;20;11;4;2\r\n"13.03.2021 10:05";1;2;3;4;5;6;7;8;1\r\n')
put("scenario", "steps.lsc", "EXCL:5#ALL#CLR#NEX|TSD1#NUMS:10#LNO:#SF:1#1.5:-0.25:1E-5:1:0|BMF19#POS3:10#PXR:4,5#SP:2| |"
    " | | | |Шаг 1\r\n\r\nEXCL:0|TMF1#NUMS:1#LNO:#SF:1|\r\n")
put("evaluator", "formula.txt", "(n1+n2*2-p3/4)^2+sqrt(t4)+ln(5)-abs(-3)")
put("evaluator", "broken.txt", "((1/0")
put("format", "template.txt", "%d %s %.2f %1:s %*d %-10.3e %g %n %m %x %u %p %% %5")
put("systems", "8-10-3_0001.dat", "1 2 3 4 5 6 7 8\r\n3-4-5-6-7-8-9-10\r\n1,2,3\r\n")
