#!/usr/bin/env python3
"""Adds or replaces entries of a language module's .ts file from tab-separated lines
(Russian source, translation; "\\n" and "\\t" stand for line breaks and tabs) and writes
the file back with one context and its entries sorted by source, so that merges stay easy.

    scripts/ts-merge.py translations/Kvanta_8x20_ENU.ts new-texts.tsv
"""
import html
import re
import sys


def read_ts(path):
    text = open(path, encoding="utf-8").read()
    entries = {}
    for m in re.finditer(r"<message>\s*<source>(.*?)</source>\s*<translation>(.*?)</translation>\s*</message>",
                         text, re.S):
        entries[html.unescape(m.group(1))] = html.unescape(m.group(2))
    return entries


def escape(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def write_ts(path, entries):
    out = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
           '<TS version="2.1" language="en_US" sourcelanguage="ru_RU">', "<context>", "    <name>Kvanta</name>"]
    for source in sorted(entries):
        out += ["    <message>", "        <source>%s</source>" % escape(source),
                "        <translation>%s</translation>" % escape(entries[source]), "    </message>"]
    out += ["</context>", "</TS>", ""]
    open(path, "w", encoding="utf-8").write("\n".join(out))


def unescape_tsv(s):
    return s.replace("\\n", "\n").replace("\\t", "\t")


def main():
    ts, tsv = sys.argv[1], sys.argv[2]
    entries = read_ts(ts)
    for number, line in enumerate(open(tsv, encoding="utf-8"), 1):
        line = line.rstrip("\n")
        if not line.strip():
            continue
        parts = line.split("\t")
        if len(parts) != 2 or not parts[1]:
            sys.exit("%s:%d: expected 'source<TAB>translation'" % (tsv, number))
        entries[unescape_tsv(parts[0])] = unescape_tsv(parts[1])
    write_ts(ts, entries)


if __name__ == "__main__":
    main()
