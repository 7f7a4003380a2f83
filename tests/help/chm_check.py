#!/usr/bin/env python3
"""Checks the compiled user manual against its sources.

  chm_check.py CHM HELP_DIR

Reads the compiled help file's own directory (the ITSF/ITSP/PMGL listing) and
its #SYSTEM record, and checks that
  - every page of the contents tree (toc.hhc), of the index (index.hhk) and
    of the project's [FILES] list is inside the compiled file;
  - every page of the help folder is listed in [FILES] and in the contents
    tree, and every link between pages leads to a page that exists;
  - the compiled file names toc.hhc as its contents, index.hhk as its index
    and index.html as its first page, and holds the compiled index.
Prints one line per check and "N passed, N failed".
"""
import html.parser
import os
import re
import struct
import sys


def encint(data, pos):
    value = 0
    while True:
        b = data[pos]
        pos += 1
        value = (value << 7) | (b & 0x7F)
        if b < 0x80:
            return value, pos


def chm_directory(data):
    """Name -> (section, offset, length) of every entry of the compiled file."""
    if data[:4] != b"ITSF":
        raise ValueError("no ITSF signature")
    version, header_len = struct.unpack_from("<II", data, 4)
    dir_offset, dir_length = struct.unpack_from("<QQ", data, 0x48)
    if version >= 3 and header_len >= 0x60:
        content_offset = struct.unpack_from("<Q", data, 0x58)[0]
    else:
        content_offset = dir_offset + dir_length
    if data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ValueError("no ITSP directory")
    itsp_len, _, chunk_size = struct.unpack_from("<III", data, dir_offset + 8)
    chunk_count = struct.unpack_from("<I", data, dir_offset + 0x2C)[0]
    entries = {}
    first_chunk = dir_offset + itsp_len
    for i in range(chunk_count):
        chunk = data[first_chunk + i * chunk_size:first_chunk + (i + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue  # index chunks (PMGI) repeat names of the listing chunks
        free = struct.unpack_from("<I", chunk, 4)[0]
        pos, end = 0x14, chunk_size - free
        while pos < end:
            n, pos = encint(chunk, pos)
            name = chunk[pos:pos + n].decode("utf-8")
            pos += n
            section, pos = encint(chunk, pos)
            offset, pos = encint(chunk, pos)
            length, pos = encint(chunk, pos)
            entries[name] = (section, offset, length)
    return entries, content_offset


def system_record(data, entries, content_offset):
    """Code -> text of the uncompressed #SYSTEM entry."""
    section, offset, length = entries["/#SYSTEM"]
    if section != 0:
        raise ValueError("#SYSTEM is not in the uncompressed section")
    blob = data[content_offset + offset:content_offset + offset + length]
    codes = {}
    pos = 4  # version
    while pos + 4 <= len(blob):
        code, size = struct.unpack_from("<HH", blob, pos)
        pos += 4
        codes[code] = blob[pos:pos + size].split(b"\0")[0].decode("cp1252", "replace")
        pos += size
    return codes


class SitemapParser(html.parser.HTMLParser):
    """The "Local" values of a sitemap (contents tree or index)."""

    def __init__(self):
        super().__init__()
        self.locals = []
        self.names = []

    def handle_starttag(self, tag, attrs):
        if tag == "param":
            a = dict(attrs)
            if (a.get("name") or "").lower() == "local":
                self.locals.append(a.get("value") or "")
            elif (a.get("name") or "").lower() == "name":
                self.names.append(a.get("value") or "")


class LinkParser(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.links = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "a" and a.get("href"):
            self.links.append(a["href"])
        if tag == "link" and a.get("href"):
            self.links.append(a["href"])


def sitemap(path):
    p = SitemapParser()
    with open(path, encoding="cp1252") as f:
        p.feed(f.read())
    return p


def project_files(hhp):
    files, options, in_files = [], {}, False
    section = None
    with open(hhp, encoding="cp1252") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("["):
                section = line
                continue
            if section == "[FILES]":
                files.append(line)
            elif section == "[OPTIONS]" and "=" in line:
                k, _, v = line.partition("=")
                options[k.strip()] = v.strip()
    return files, options


class Checks:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
            print("ok   " + what)
        else:
            self.failed += 1
            print("FAIL " + what + (": " + detail if detail else ""))


def main():
    if len(sys.argv) != 3:
        print("usage: chm_check.py CHM HELP_DIR", file=sys.stderr)
        return 2
    chm, help_dir = sys.argv[1], sys.argv[2]
    c = Checks()
    with open(chm, "rb") as f:
        data = f.read()
    try:
        entries, content_offset = chm_directory(data)
    except (ValueError, struct.error, IndexError) as e:
        c.check("the compiled file has a readable directory", False, str(e))
        print("%d passed, %d failed" % (c.passed, c.failed))
        return 1
    inside = {name.lstrip("/").lower() for name in entries}

    files, options = project_files(os.path.join(help_dir, "quorv2.hhp"))
    toc = sitemap(os.path.join(help_dir, options.get("Contents file", "toc.hhc")))
    index = sitemap(os.path.join(help_dir, options.get("Index file", "index.hhk")))

    c.check("the contents tree has pages", len(toc.locals) > 0)
    for page in toc.locals:
        c.check("contents page %s is in the compiled file" % page, page.lower() in inside)
    for page in sorted(set(index.locals)):
        c.check("index page %s is in the compiled file" % page, page.lower() in inside)
    for name in files:
        c.check("project file %s is in the compiled file" % name, name.lower() in inside)

    pages = sorted(n for n in os.listdir(help_dir) if n.endswith(".html"))
    listed = {n.lower() for n in files}
    in_toc = {n.lower() for n in toc.locals}
    for page in pages:
        c.check("%s is in the project's file list" % page, page.lower() in listed)
        c.check("%s is in the contents tree" % page, page.lower() in in_toc)
        links = LinkParser()
        with open(os.path.join(help_dir, page), encoding="cp1252") as f:
            links.feed(f.read())
        broken = [l for l in links.links
                  if not re.match(r"^[a-z]+:", l) and not os.path.isfile(os.path.join(help_dir, l.split("#")[0]))]
        c.check("%s links only to pages that exist" % page, not broken, ", ".join(broken))

    try:
        system = system_record(data, entries, content_offset)
    except (KeyError, ValueError, struct.error) as e:
        system = {}
        c.check("the compiled file has its #SYSTEM record", False, str(e))
    c.check("the compiled contents file is toc.hhc", system.get(0, "").lower() == "toc.hhc", repr(system.get(0)))
    c.check("the compiled index file is index.hhk", system.get(1, "").lower() == "index.hhk", repr(system.get(1)))
    c.check("the first page is index.html", system.get(2, "").lower() == "index.html", repr(system.get(2)))
    c.check("the title names the manual", "Quorvane 2" in system.get(3, ""), repr(system.get(3)))
    c.check("the index is compiled", "$wwkeywordlinks/btree" in inside)
    c.check("the full-text search is compiled", "$fiftimain" in inside)

    print("%d passed, %d failed" % (c.passed, c.failed))
    return 0 if c.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
