#!/usr/bin/env python3
"""Runs every worked example of the user manual through `quorv apply`.

An example in a help page looks like this:

    <div class="example" [data-mtime=...] [data-mp3=...] [data-picture=...]
                         [data-favorite=...]>
    <pre class="rules">RULE LINE
    RULE LINE</pre>
    <table class="files">
    <tr><th>...</th></tr>
    <tr><td class="rule">RULE</td><td class="n">12</td>
        <td class="in">photo.jpg</td><td class="out">012photo.jpg</td></tr>
    </table>
    </div>

Each row is one check: the rules of the <pre> (if any) followed by the row's
own rule cell (if any) are applied to the "in" name as file number "n"
(1 when the row has no number cell), and the printed path must equal "out".

Without a fixture attribute the name is passed as it stands (no folder), so
the result does not depend on any file. The attributes make real files in a
fresh folder, and then only the name part of the result is compared:
  data-mtime="YYYY-MM-DD HH:MM:SS"  the file's modification time (local time)
  data-mp3="key=value;..."          an MP3 file (128 kbit/s, 44.1 kHz) made by
                                    lame and tagged by id3v2: artist, title,
                                    album, year, track, genre, comment, any
                                    four-letter frame id (TCOM=...), and
                                    v1only=1 for an ID3v1 tag alone
  data-picture="WxH"                a picture of that size in the format of
                                    the name's extension (a .txt name gets a
                                    text file); read by the Windows imaging
                                    library only, so these rows run under Wine
  data-favorite="Name"              the <pre> rules must be exactly the lines
                                    of the shipped favourite Name

Usage:
  help_examples.py --help-dir D --favorites-src D [--wine WINE_RUN] QUORV
Prints one line per check and "N passed, N failed" (with ", N skipped").
"""
import argparse
import html.parser
import os
import shutil
import subprocess
import sys
import tempfile
import time


class Example:
    def __init__(self, page, attrs):
        self.page = page
        self.attrs = dict(attrs)
        self.rules = None        # lines of the <pre class="rules">, or None
        self.rows = []           # dicts with keys rule, n, in, out
        self.problems = []


class PageParser(html.parser.HTMLParser):
    """Collects the examples of one page."""

    def __init__(self, page):
        super().__init__(convert_charrefs=True)
        self.page = page
        self.examples = []
        self.div_depth = 0       # depth of <div> inside the current example
        self.current = None
        self.row = None
        self.capture = None      # (target dict, key) while inside a cell / pre
        self.text = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        classes = (a.get("class") or "").split()
        if tag == "div":
            if self.current is not None:
                self.div_depth += 1
            elif "example" in classes:
                self.current = Example(self.page, attrs)
                self.div_depth = 1
            return
        if self.current is None:
            if "example" in classes or tag == "td" and set(classes) & {"in", "out", "rule", "n"}:
                # An example cell outside an example block would go unchecked.
                self.examples.append(self._orphan(tag))
            return
        if tag == "pre" and "rules" in classes:
            self.capture = ("rules", None)
            self.text = []
        elif tag == "tr":
            self.row = {}
        elif tag == "td" and self.row is not None:
            for key in ("rule", "n", "in", "out"):
                if key in classes:
                    self.capture = ("cell", key)
                    self.text = []

    def _orphan(self, tag):
        e = Example(self.page, [])
        e.problems.append("example markup <%s> outside a <div class=\"example\">" % tag)
        return e

    def handle_endtag(self, tag):
        if self.current is None:
            return
        if tag == "pre" and self.capture and self.capture[0] == "rules":
            text = "".join(self.text)
            self.current.rules = [line for line in text.split("\n") if line.strip() != ""]
            self.capture = None
        elif tag == "td" and self.capture and self.capture[0] == "cell":
            self.row[self.capture[1]] = "".join(self.text)
            self.capture = None
        elif tag == "tr" and self.row is not None:
            if self.row:
                self.current.rows.append(self.row)
            self.row = None
        elif tag == "div":
            self.div_depth -= 1
            if self.div_depth == 0:
                self.examples.append(self.current)
                self.current = None

    def handle_data(self, data):
        if self.capture is not None:
            self.text.append(data)


def read_examples(help_dir):
    examples = []
    for name in sorted(os.listdir(help_dir)):
        if not name.endswith(".html"):
            continue
        with open(os.path.join(help_dir, name), encoding="cp1252") as f:
            parser = PageParser(name)
            parser.feed(f.read())
            parser.close()
        if parser.current is not None:
            parser.current.problems.append("example block is not closed")
            parser.examples.append(parser.current)
        examples.extend(parser.examples)
    return examples


class Runner:
    def __init__(self, quorv, wine_run):
        self.quorv = quorv
        self.wine_run = wine_run
        self.work = tempfile.mkdtemp(prefix="quorv-help.")
        self.serial = 0
        self.passed = 0
        self.failed = 0
        self.skipped = 0

    # --- paths as the program sees them
    def program_path(self, path):
        if self.wine_run:
            return "Z:" + path.replace("/", "\\")
        return path

    def apply(self, rules, number, path):
        args = ["apply"]
        for r in rules:
            args += ["--rule", r]
        args += ["--first", str(number), "--", path]
        cmd = ([self.wine_run] if self.wine_run else []) + [self.quorv] + args
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)
        out = p.stdout.decode("cp1252", "replace").replace("\r", "")
        lines = out.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        err = [l for l in p.stderr.decode("cp1252", "replace").replace("\r", "").split("\n")
               if l and "wine32" not in l and "multiarch" not in l and "dpkg --add-architecture" not in l
               and "apt-get install" not in l]
        return p.returncode, lines, err

    # --- fixtures
    def fresh_folder(self):
        self.serial += 1
        d = os.path.join(self.work, "f%d" % self.serial)
        os.mkdir(d)
        return d

    def make_mtime_file(self, folder, name, stamp):
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(b"sample\n")
        t = time.mktime(time.strptime(stamp, "%Y-%m-%d %H:%M:%S"))
        os.utime(path, (t, t))
        return path

    def make_mp3(self, folder, name, tags):
        for tool in ("lame", "id3v2"):
            if shutil.which(tool) is None:
                return None, "%s is not installed" % tool
        path = os.path.join(folder, name)
        silence = b"\0" * 88200  # one second of 16-bit mono at 44.1 kHz
        subprocess.run(["lame", "--quiet", "-r", "-s", "44.1", "--bitwidth", "16", "-m", "m", "-b", "128",
                        "-", path], input=silence, check=True, stderr=subprocess.DEVNULL)
        options = {"artist": "-a", "title": "-t", "album": "-A", "year": "-y", "track": "-T",
                   "genre": "-g", "comment": "-c"}
        args = ["id3v2"]
        for item in tags.split(";"):
            key, _, value = item.partition("=")
            key = key.strip()
            if key == "v1only":
                args.append("-1")
            elif key in options:
                args += [options[key], value]
            elif len(key) == 4 and key.isupper():
                args += ["--" + key, value]
            else:
                raise ValueError("unknown MP3 tag key %r" % key)
        subprocess.run(args + [path], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path, None

    def make_picture(self, folder, name, size):
        path = os.path.join(folder, name)
        if name.lower().endswith(".txt"):
            with open(path, "w") as f:
                f.write("no picture\n")
            return path, None
        im = "/usr/bin/convert"
        if not os.path.exists(im):
            return None, "ImageMagick is not installed"
        subprocess.run([im, "-size", size, "gradient:skyblue-navy", path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path, None

    # --- reporting
    def ok(self, what):
        self.passed += 1
        print("ok   " + what)

    def fail(self, what, detail):
        self.failed += 1
        print("FAIL " + what)
        for line in detail:
            print("     " + line)

    def skip(self, what, why):
        self.skipped += 1
        print("skip %s (%s)" % (what, why))


def favourite_lines(src_dir, name):
    path = os.path.join(src_dir, name + ".rules")
    if not os.path.isfile(path):
        return None
    with open(path, encoding="cp1252") as f:
        return [line.rstrip("\r\n") for line in f if line.strip() != ""]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--help-dir", required=True)
    ap.add_argument("--favorites-src", required=True)
    ap.add_argument("--wine", dest="wine_run", default=None,
                    help="the wrapper that runs a Windows executable under Wine")
    ap.add_argument("quorv")
    opts = ap.parse_args()

    runner = Runner(opts.quorv, opts.wine_run)
    try:
        examples = read_examples(opts.help_dir)
        if not examples:
            runner.fail("the manual has examples", ["no <div class=\"example\"> found in " + opts.help_dir])

        documented = set()
        for ex in examples:
            where = ex.page
            for problem in ex.problems:
                runner.fail(where + ": well-formed example", [problem])
            if ex.problems:
                continue
            if not ex.rows:
                runner.fail(where + ": example has files", ["an example without rows checks nothing"])
                continue

            fav = ex.attrs.get("data-favorite")
            if fav is not None:
                documented.add(fav)
                lines = favourite_lines(opts.favorites_src, fav)
                if lines is None:
                    runner.fail("%s: favourite %r exists" % (where, fav), ["no %s.rules in %s" % (fav, opts.favorites_src)])
                elif lines != (ex.rules or []):
                    runner.fail("%s: favourite %r matches the manual" % (where, fav),
                                ["manual:    %r" % (ex.rules,), "favourite: %r" % (lines,)])
                else:
                    runner.ok("%s: favourite %r matches the manual" % (where, fav))

            folder = None
            for row in ex.rows:
                if "in" not in row or "out" not in row:
                    runner.fail(where + ": example row", ["a row needs an in and an out cell: %r" % (row,)])
                    continue
                rules = list(ex.rules or [])
                if "rule" in row:
                    rules.append(row["rule"])
                if not rules:
                    runner.fail(where + ": example row", ["no rule for %r" % (row["in"],)])
                    continue
                try:
                    number = int(row.get("n", "1"))
                except ValueError:
                    runner.fail(where + ": example row", ["file number %r is no number" % (row["n"],)])
                    continue
                what = "%s: %s | %s #%d -> %s" % (where, " / ".join(rules), row["in"], number, row["out"])

                name = row["in"]
                fixture = None
                if "data-mtime" in ex.attrs:
                    folder = runner.fresh_folder()
                    fixture = runner.make_mtime_file(folder, name, ex.attrs["data-mtime"])
                elif "data-mp3" in ex.attrs:
                    folder = runner.fresh_folder()
                    fixture, why = runner.make_mp3(folder, name, ex.attrs["data-mp3"])
                    if fixture is None:
                        runner.skip(what, why)
                        continue
                elif "data-picture" in ex.attrs:
                    if not opts.wine_run:
                        runner.skip(what, "pictures are read by the Windows build only")
                        continue
                    folder = runner.fresh_folder()
                    fixture, why = runner.make_picture(folder, name, ex.attrs["data-picture"])
                    if fixture is None:
                        runner.skip(what, why)
                        continue

                path = runner.program_path(fixture) if fixture else name
                status, lines, err = runner.apply(rules, number, path)
                got = lines[0] if len(lines) == 1 else None
                if got is not None and fixture:
                    # Only the name is compared: the folder is the test's own.
                    cut = max(got.rfind("/"), got.rfind("\\"))
                    expected_folder = path[:max(path.rfind("/"), path.rfind("\\")) + 1]
                    if not got.startswith(expected_folder):
                        got = "(another folder) " + got
                    else:
                        got = got[cut + 1:]
                if status == 0 and got == row["out"]:
                    runner.ok(what)
                else:
                    runner.fail(what, ["exit status %d" % status, "printed: %r" % (lines,), "expected: %r" % (row["out"],)]
                                + ["stderr: " + e for e in err])

        # Every favourite that ships is shown in the manual.
        if os.path.isdir(opts.favorites_src):
            for name in sorted(os.listdir(opts.favorites_src)):
                if name.endswith(".rules"):
                    fav = name[:-len(".rules")]
                    if fav in documented:
                        runner.ok("favourite %r has an example in the manual" % fav)
                    else:
                        runner.fail("favourite %r has an example in the manual" % fav,
                                    ["no <div class=\"example\" data-favorite=%r>" % fav])
        else:
            runner.fail("favourites folder", [opts.favorites_src + " is missing"])
    finally:
        shutil.rmtree(runner.work, ignore_errors=True)

    line = "%d passed, %d failed" % (runner.passed, runner.failed)
    if runner.skipped:
        line += ", %d skipped" % runner.skipped
    print(line)
    return 0 if runner.failed == 0 and runner.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
