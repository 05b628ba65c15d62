#!/usr/bin/env python3
"""The fleet summary against hostile reports: /summary under Wine over folders of them.

    summary_cases.py WINE EXE WORK CEILING_MB

Each case is a folder of reports under WORK (a Linux folder Wine reaches as Z:), the
exit code, what standard error must name and what the CSV must hold. The memory cases
fill folders with hard links to one file, so that 200 reports cost the disk one, and
check the largest resident set of the program's process against CEILING_MB. Prints
each case's peak and exits 1 with its faults when a case fails.
"""
import csv
import io
import json
import os
import shutil
import subprocess
import sys

REPORT_LIMIT = 4 * 1024 * 1024  # the largest report the summary reads
COLUMN_LIMIT = 1000  # the check-id columns at most
FIXED = ["computer", "user", "generated_utc", "version"]
FORMULA_STARTS = "=+-@\t\r"


def report(computer="WS1", user="jdoe", checks=(("settings_tree", "found", "C:\\x"),),
           size=None):
    """A report as the program writes it; with `size`, its last check's value padded
    so that the file has exactly that many bytes."""
    document = {"tool": "tarnwell_env", "version": "1.0.0", "computer": computer,
                "user": user, "windows": "10.0.19045",
                "generated_utc": "2026-12-09T11:00:00Z", "text": "", "messages": [],
                "checks": [{"id": i, "status": s, "value": v, "line": ""} for i, s, v in checks]}
    if size is not None:
        document["checks"][-1]["value"] = document["checks"][-1]["value"] or ""
    data = json.dumps(document, ensure_ascii=False).encode("utf-8")
    if size is None:
        return data
    document["checks"][-1]["value"] += "v" * (size - len(data))
    data = json.dumps(document, ensure_ascii=False).encode("utf-8")
    assert len(data) == size, len(data)
    return data


def numbered(count):
    return [("id%d" % i, "found", None) for i in range(count)]


# A cell may hold a value of megabytes.
csv.field_size_limit(sys.maxsize)


def records(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data.startswith(b"\xef\xbb\xbf"), "no BOM"
    return list(csv.reader(io.StringIO(data[3:].decode("utf-8"), newline="")))


def every_field_safe(rows):
    for row in rows:
        for field in row:
            if field and field[0] in FORMULA_STARTS:
                return "a field starts as a formula: %r" % field
    return None


def formula_faults(rows):
    fault = every_field_safe(rows)
    if fault:
        return fault
    header, body = rows[0], rows[1:]
    fields = {field for row in body for field in row} | set(header)
    for text in FORMULAS:
        if "'" + text not in fields:
            return "%r is not in the table as %r" % (text, "'" + text)
    return None


def rows_of_computers(*computers):
    def check(rows):
        found = [row[0] for row in rows[1:]]
        return None if found == list(computers) else "rows of %r, not %r" % (found, computers)
    return check


def fixed_columns_once(rows):
    header = rows[0]
    if header[:4] != FIXED or any(header.count(name) != 1 for name in FIXED):
        return "header %r" % header[:8]
    return rows_of_computers("WS2")(rows)


def columns(count):
    def check(rows):
        if any(len(row) != count for row in rows):
            return "records of %r fields, not %d" % (sorted({len(row) for row in rows}), count)
        return None
    return check


FORMULAS = ["=1+2", "+1", "-1", "@SUM(1)", "\tx", "\rx"]

# Formulas arrive from the computer's and the user's names, a status and a check id.
formula_reports = {}
for n, text in enumerate(FORMULAS):
    formula_reports["c%d.json" % n] = report(computer=text)
    formula_reports["u%d.json" % n] = report(user=text)
    formula_reports["s%d.json" % n] = report(checks=[("settings_tree", text, None)])
    formula_reports["i%d.json" % n] = report(checks=[(text, "found", None)])

CASES = [
    # name, the folder's reports, exit code, what standard error names, the CSV's check
    ("formulas", formula_reports, 0, [], formula_faults),
    ("nul_in_a_name", {"a.json": report(computer="a\0b"), "b.json": report(computer="WS2")}, 1,
     ['a.json: not a report: "computer" holds a NUL character'], rows_of_computers("WS2")),
    ("duplicate_id",
     {"a.json": report(checks=[("x", "found", None), ("x", "missing", None)]),
      "b.json": report(computer="WS2")}, 1,
     ["a.json: not a report: checks[1] repeats the id of checks[0]"], rows_of_computers("WS2")),
    ("id_named_computer",
     {"a.json": report(checks=[("computer", "found", "=evil")]),
      "b.json": report(computer="WS2")}, 1,
     ['a.json: not a report: checks[0] has the id "computer" of a fixed column'],
     fixed_columns_once),
    ("too_many_ids", {"a.json": report(checks=numbered(COLUMN_LIMIT + 500))}, 1,
     ["a.json: 500 checks left out of its row: the table has 1000 check columns at most"],
     columns(len(FIXED) + COLUMN_LIMIT)),
    ("oversize", {"a.json": report(size=16 * 1024 * 1024),
                  "b.json": report(computer="WS2", size=REPORT_LIMIT)}, 1,
     ["a.json: File too large to read: 16777216 bytes, more than the limit of 4194304 bytes"],
     rows_of_computers("WS2")),
]

# name, one report, how many links to it, exit code, what standard error names
MEMORY_CASES = [
    # Every report at the limit, one value filling it: the table fills up and the rest
    # are named.
    ("200_at_the_limit", report(size=REPORT_LIMIT), 200, 1,
     "left out: the table holds 128 MB at most"),
    ("200_of_16_mb", report(size=16 * 1024 * 1024), 200, 1,
     "File too large to read: 16777216 bytes, more than the limit of 4194304 bytes"),
    ("300000_ids", report(checks=numbered(300000)), 1, 1, "File too large to read"),
    ("ids_filling_the_limit", report(checks=numbered(60000), size=REPORT_LIMIT), 1, 1,
     "checks left out of its row: the table has 1000 check columns at most"),
]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def run_summary(wine, exe, folder, output):
    """The exit code, standard error and largest resident set (KB) of one /summary.
    GNU time measures it: a process started from this one would count this one's own
    resident set, inherited at the fork, as its own."""
    peak = output + ".peak"
    with open(output + ".stderr", "wb") as err:
        code = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", peak, "--quiet", wine, exe,
                                "/summary", windows_path(folder), windows_path(output)],
                               stdout=subprocess.DEVNULL, stderr=err)
    with open(output + ".stderr", "rb") as f:
        stderr = f.read().decode("utf-8", "replace")
    with open(peak) as f:
        peak_kb = int(f.read().split()[-1])
    os.remove(peak)
    os.remove(output + ".stderr")
    return code, stderr, peak_kb


def main(wine, exe, work, ceiling_mb):
    faults = []
    for name, reports, code, named, check in CASES:
        folder = os.path.join(work, name)
        os.makedirs(folder)
        for file_name, data in reports.items():
            with open(os.path.join(folder, file_name), "wb") as f:
                f.write(data)
        output = folder + ".csv"
        got, stderr, _ = run_summary(wine, exe, folder, output)
        fault = None
        if got != code:
            fault = "exit code %d, not %d: %s" % (got, code, stderr)
        elif any(text not in stderr for text in named):
            fault = "standard error does not name %r: %s" % (named, stderr)
        elif b"\0" in open(output, "rb").read():
            fault = "a NUL in the CSV"
        else:
            fault = check(records(output))
        print("%s: %s" % (name, fault or "ok"))
        if fault:
            faults.append(name + ": " + fault)
        shutil.rmtree(folder)
        os.remove(output)

    for name, data, links, code, named in MEMORY_CASES:
        folder = os.path.join(work, name)
        os.makedirs(folder)
        first = os.path.join(folder, "r000.json")
        with open(first, "wb") as f:
            f.write(data)
        for n in range(1, links):
            os.link(first, os.path.join(folder, "r%03d.json" % n))
        output = folder + ".csv"
        got, stderr, peak_kb = run_summary(wine, exe, folder, output)
        table_mb = os.path.getsize(output) // (1024 * 1024) if os.path.exists(output) else 0
        print("%s: %d reports of %d bytes, exit %d, a table of %d MB, peak resident set %d MB"
              % (name, links, len(data), got, table_mb, peak_kb // 1024))
        if got != code or named not in stderr:
            faults.append("%s: exit code %d, not %d, or %r not named: %s"
                          % (name, got, code, named, stderr[:300]))
        if peak_kb > int(ceiling_mb) * 1024:
            faults.append("%s: peak resident set %d MB, above %s MB"
                          % (name, peak_kb // 1024, ceiling_mb))
        shutil.rmtree(folder)
        if os.path.exists(output):
            os.remove(output)

    for fault in faults:
        print("FAIL: " + fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
