#!/usr/bin/env python3
"""vormi-sweep's cases: sweep_test.py CASE SWEEP VORMI CORPUS

matches_vormi_c  sizes, ratios and halvings equal what vormi c reports
formats_agree    table, CSV, JSON and Markdown give the same figures; the SVG
                 is well-formed, one line per file, the same bytes every time
bad_input        each kind of bad input gets its message and exit code, and
                 the other files are still measured
"""
import csv
import io
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

case, SWEEP, VORMI, CORPUS = sys.argv[1:5]
LIMITS = [1280, 5000, 65536, 2147482623]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def sweep(*args, cwd=None):
    run = subprocess.run([SWEEP, *args], capture_output=True, text=True, cwd=cwd, stdin=subprocess.DEVNULL)
    return run.returncode, run.stdout, run.stderr


def sample_files(folder):
    """Corpus prefixes when the corpus is there, else generated text and bytes; and an empty and a one-byte file."""
    rng = random.Random(27)
    files = {}
    prefixes = {"text.txt": 300000, "binary.bin": 200000, "zeros.bin": 70000, "random.bin": 100000}
    if all(os.path.exists(os.path.join(CORPUS, name)) for name in prefixes):
        for name, size in prefixes.items():
            with open(os.path.join(CORPUS, name), "rb") as f:
                files[name] = f.read(size)
    else:
        words = ["".join(rng.choice("etaoinshrdlu") for _ in range(rng.randint(1, 9))).encode() for _ in range(500)]
        files["text.txt"] = b" ".join(rng.choice(words) for _ in range(60000))
        files["skewed.bin"] = bytes(min(255, int(rng.expovariate(0.05))) for _ in range(150000))
        files["random.bin"] = rng.randbytes(100000)
    files["empty.txt"] = b""
    files["one.txt"] = b"x"
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return sorted(files)


def vormi_c(folder, name, limit):
    """vormi c's report: (packed bytes, size ratio, coding ratio, halvings) as printed."""
    # Under LC_ALL=C vormi writes code page 866, whatever the caller's locale.
    out = subprocess.run([VORMI, "c", "/0:" + os.path.join(folder, name), "/1:" + os.path.join(folder, "out.zk"),
                          "/h:%d" % limit], capture_output=True, stdin=subprocess.DEVNULL,
                         env=dict(os.environ, LC_ALL="C")).stdout.decode("cp866")
    size_ratio = re.search(r"\(Размер исходного\): *(\S+)", out).group(1)
    coding_ratio = re.search(r"\(исходные\): *(\S+)", out).group(1)
    halvings = re.search(r"Ополовиниваний счетчиков: *(\d+)", out).group(1)
    return os.path.getsize(os.path.join(folder, "out.zk")), size_ratio, coding_ratio, int(halvings)


def csv_rows(text):
    return list(csv.DictReader(io.StringIO(text)))


def matches_vormi_c(folder):
    names = sample_files(folder)
    code, out, err = sweep("--no-time", "--format", "csv", "--limits", ",".join(map(str, LIMITS)),
                           *[os.path.join(folder, n) for n in names])
    check(code == 0, "sweep exits 0, not %d: %s" % (code, err))
    rows = {(os.path.basename(r["file"]), int(r["limit"])): r for r in csv_rows(out)}
    check(len(rows) == len(names) * len(LIMITS), "one row per file and limit")
    for name in names:
        for limit in LIMITS:
            row = rows.get((name, limit))
            if row is None:
                check(False, "a row for %s at %d" % (name, limit))
                continue
            packed, size_ratio, coding_ratio, halvings = vormi_c(folder, name, limit)
            what = "%s at %d" % (name, limit)
            check(int(row["packed_bytes"]) == packed, "%s: packed bytes %s, vormi c wrote %d" % (what, row["packed_bytes"], packed))
            check(int(row["source_bytes"]) == os.path.getsize(os.path.join(folder, name)), what + ": source bytes")
            # vormi c prints a word where the size ratio of an empty source would divide by zero.
            expected_ratio = size_ratio if re.match(r"\d", size_ratio) else ""
            check(row["size_ratio"] == expected_ratio, "%s: size ratio %s, vormi c %s" % (what, row["size_ratio"], size_ratio))
            check(row["coding_ratio"] == coding_ratio, "%s: coding ratio %s, vormi c %s" % (what, row["coding_ratio"], coding_ratio))
            check(int(row["halvings"]) == halvings, "%s: halvings %s, vormi c %d" % (what, row["halvings"], halvings))


def table_rows(text):
    """The rows of the plain table's first part: file, limit, ..., and whether marked best."""
    lines = text.split("\n\n")[1].strip().split("\n")[1:]
    return [(line.split()[0:9], line.rstrip().endswith("*")) for line in lines]


def markdown_rows(text):
    table = text.split("\n\n")[1].strip().split("\n")[2:]
    return [([c.strip() for c in line.strip("|").split("|")][0:9], line.rstrip().endswith("| * |")) for line in table]


def formats_agree(folder):
    names = sample_files(folder)
    paths = [os.path.join(folder, n) for n in names]
    limits = ["--limits", "1280,4096..65536x4"]
    base = ["--no-time", "-j", "2", *limits, *paths]
    code, out, err = sweep("--format", "csv", "-o", "a.csv", "--svg", "a.svg", "--html", "a.html", *base, cwd=folder)
    check(code == 0 and out == "", "with -o nothing goes to standard output, exit 0: %d %r %s" % (code, out, err))
    with open(os.path.join(folder, "a.csv")) as f:
        rows = csv_rows(f.read())
    fields = ["file", "limit", "source_bytes", "packed_bytes", "size_ratio", "coding_ratio", "halvings",
              "pack_mbps", "unpack_mbps"]
    check(list(rows[0].keys())[:9] == fields, "the CSV's field names")
    expected = [([r[k] if r[k] != "" else ("-" if k.endswith("mbps") else "n/a") for k in fields], r["best"] == "1")
                for r in rows]
    check(len(rows) == len(names) * 4, "CSV: one row per file and limit")

    code, out, _ = sweep(*base)
    check(code == 0 and table_rows(out) == expected, "the table agrees with the CSV")
    check("2 at a time" in out.split("\n")[0], "the table says how many ran at once")
    code, out, _ = sweep("--format", "markdown", *base)
    check(code == 0 and markdown_rows(out) == expected, "Markdown agrees with the CSV")
    code, out, _ = sweep("--format", "json", *base)
    doc = json.loads(out)
    check(doc["concurrency"] == 2, "JSON: concurrency")
    as_text = lambda v, k: ("-" if k.endswith("mbps") else "n/a") if v is None else (
        "%.4f" % v if k.endswith("ratio") else str(v))
    check([([as_text(r[k], k) for k in fields], r["best"]) for r in doc["rows"]] == expected, "JSON agrees with the CSV")
    for f in doc["files"]:
        mine = [r for r in doc["rows"] if r["file"] == f["file"]]
        best = min(mine, key=lambda r: (r["packed_bytes"], r["limit"]))
        check(f["best_limit"] == best["limit"], "JSON: the best limit of %s packs smallest" % f["file"])
        check(0 <= f["entropy_ratio"] <= 1, "JSON: the entropy ratio of %s" % f["file"])

    svg = ET.parse(os.path.join(folder, "a.svg")).getroot()
    ns = "{http://www.w3.org/2000/svg}"
    coding = [e for e in svg.iter(ns + "polyline") if e.get("class") == "coding"]
    best = [e for e in svg.iter(ns + "circle") if e.get("class") == "best"]
    check(len(coding) == len(names) and len(best) == len(names), "the SVG has one line and one best point per file")
    check(all(e.tag not in (ns + "script", ns + "image") for e in svg.iter()), "the SVG holds no script or image")
    sweep("--svg", "b.svg", *base, cwd=folder)
    check(open(os.path.join(folder, "a.svg"), "rb").read() == open(os.path.join(folder, "b.svg"), "rb").read(),
          "the same figures give the same SVG bytes")
    html = open(os.path.join(folder, "a.html")).read()
    check("<svg" in html and html.count("<tr>") == len(rows) + 1 + len(names) + 1, "the page holds the chart and both tables")

    # Timed: every speed a positive number, and the speed panel drawn.
    code, out, _ = sweep("--repeat", "1", "--format", "json", "--svg", "t.svg", "--limits", "1280", *paths, cwd=folder)
    doc = json.loads(out)
    check(all((r["pack_mbps"] or 0) > 0 and (r["unpack_mbps"] or 0) > 0 for r in doc["rows"] if r["source_bytes"] > 0),
          "timed rows carry both speeds")
    check(doc["concurrency"] == 1, "timing measures one pair at a time by default")
    svg = ET.parse(os.path.join(folder, "t.svg")).getroot()
    check(len([e for e in svg.iter(ns + "polyline") if e.get("class") == "pack"]) == len(names) - 1,
          "the speed panel has a pack line per file that has bytes")


def bad_input(folder):
    good = os.path.join(folder, "good.txt")
    with open(good, "wb") as f:
        f.write(b"a good file, measured whatever else fails\n" * 100)
    empty = os.path.join(folder, "empty")
    os.mkdir(empty)
    mixed = os.path.join(folder, "mixed")
    os.mkdir(mixed)
    with open(os.path.join(mixed, "inner.txt"), "wb") as f:
        f.write(b"inside a folder\n" * 50)
    os.mkfifo(os.path.join(mixed, "pipe"))
    os.symlink(good, os.path.join(mixed, "link.txt"))
    huge = os.path.join(folder, "huge.bin")
    with open(huge, "wb") as f:
        f.truncate(4 << 30)  # sparse: 4 GiB that take no room
    named_pipe = os.path.join(folder, "named-pipe")
    os.mkfifo(named_pipe)
    before = sorted(os.listdir(folder))

    code, out, err = sweep("--no-time", "--limits", "1280", "--svg", os.path.join(folder, "no-such-folder", "c.svg"),
                           good, os.path.join(folder, "missing.txt"), empty, mixed, huge, named_pipe)
    check(code == 1, "skipped files give exit code 1, not %d" % code)
    for message in ["cannot read '%s': No such file or directory" % os.path.join(folder, "missing.txt"),
                    "the folder '%s' holds no regular file" % empty,
                    "skipping '%s': a pipe" % os.path.join(mixed, "pipe"),
                    "skipping '%s': a symbolic link (links are not followed)" % os.path.join(mixed, "link.txt"),
                    "'%s' is 4294967296 bytes: the compressed format records sizes in 32 bits" % huge,
                    "'%s' is a pipe, not a regular file" % named_pipe,
                    "cannot write '%s': the folder" % os.path.join(folder, "no-such-folder", "c.svg")]:
        check("vormi-sweep: " + message in err, "the message: " + message)
    measured = [line.split()[0] for line in out.split("\n\n")[1].strip().split("\n")[1:]]
    check(measured == [good, os.path.join(mixed, "inner.txt")], "the other files are still measured: %s" % measured)
    check(sorted(os.listdir(folder)) == before, "no file is written but those named")

    for args, message in [(["--limits", "1000"], "--limits: 1000 is outside the halving limits 1280 to 2147482623"),
                          (["--limits", "2147482624"], "is outside the halving limits"),
                          (["--limits", "1280,,4096"], "an empty item"),
                          (["--limits", "12x80"], "'12x80' is not a whole number"),
                          (["--limits", "1280..5000"], "has no factor"),
                          (["--limits", "1280..5000x1"], "must be a whole number of at least 2"),
                          (["--frobnicate"], "frobnicate"),
                          (["--repeat", "0"], "repeat")]:
        code, out, err = sweep(*args, good)
        check(code == 2 and message in err and out == "", "%s: exit 2 and '%s', got %d %r" % (args, message, code, err))
    code, out, _ = sweep("--help")
    check(code == 0 and "--limits" in out, "--help")
    code, _, _ = sweep("--no-time", good)
    check(code == 0, "all measured: exit 0")


with tempfile.TemporaryDirectory() as folder:
    {"matches_vormi_c": matches_vormi_c, "formats_agree": formats_agree, "bad_input": bad_input}[case](folder)
print("%s: %s" % (case, "%d failed" % len(failures) if failures else "passed"))
sys.exit(1 if failures else 0)
