#!/usr/bin/env python3
"""Checks the files a workstation's collection gave against the report its window shows.

    check_fleet_files.py report PANE TXT JSON
        PANE: the text Copy Text gave; TXT and JSON: /report FILE and /report FILE
        /format:json on the same workstation. The text file is the pane's text with
        CR LF line ends; the JSON's text is the pane's text; every report line, but the
        header, the empty lines and the headings, is one check's line, in order; the
        report was generated within a minute of now.
    check_fleet_files.py summary CSV JSON...
        CSV: /summary over a folder holding the JSON files. One row per report, in the
        order given, each cell the report's check as status or "status: value".

Prints each fault and exits 1 when there is one (the schema is checked apart, by
validate_report.py).
"""
import csv
import datetime
import io
import json
import sys

HEADINGS = {"Saved Form Sizes", "Sondrix Settings", "Sondrinv Settings"}


def without_header(text):
    return text.split("\r", 1)[1] if "\r" in text else ""


def report_faults(pane_path, txt_path, json_path):
    pane = open(pane_path, "rb").read().decode("cp1252")
    txt = open(txt_path, "rb").read()
    report = json.loads(open(json_path, "rb").read().decode("utf-8"))
    text = report["text"]
    if b"\r" in txt.replace(b"\r\n", b"") or b"\n" in txt.replace(b"\r\n", b""):
        yield f"{txt_path}: a line does not end in CR LF"
    if without_header(txt.decode("cp1252").replace("\r\n", "\r")) != without_header(pane):
        yield f"{txt_path}: not the pane's lines"
    if without_header(text) != without_header(pane):
        yield f"{json_path}: its text is not the pane's text"
    lines = [line for line in without_header(text).split("\r")
             if line and line not in HEADINGS]
    check_lines = [check["line"] for check in report["checks"]]
    if check_lines != lines:
        yield f"{json_path}: the checks' lines are not the report's lines:\n  {check_lines}\n  {lines}"
    made = datetime.datetime.strptime(report["generated_utc"], "%Y-%m-%dT%H:%M:%SZ")
    late = abs((datetime.datetime.utcnow() - made).total_seconds())
    if late > 60:
        yield f"{json_path}: generated_utc {report['generated_utc']} is {late:.0f} s from now"


def cell_of(check):
    value = check["value"]
    return check["status"] if value is None else f"{check['status']}: {value}"


def summary_faults(csv_path, json_paths):
    data = open(csv_path, "rb").read()
    if not data.startswith(b"\xef\xbb\xbf"):
        yield f"{csv_path}: no UTF-8 byte order mark"
    rows = list(csv.reader(io.StringIO(data[3:].decode("utf-8"), newline="")))
    header, rows = rows[0], rows[1:]
    if header[:4] != ["computer", "user", "generated_utc", "version"]:
        yield f"{csv_path}: header {header[:4]}"
    if len(rows) != len(json_paths):
        yield f"{csv_path}: {len(rows)} rows for {len(json_paths)} reports"
    for row, path in zip(rows, json_paths):
        report = json.loads(open(path, "rb").read().decode("utf-8"))
        cells = dict(zip(header, row))
        for field in header[:4]:
            if cells[field] != report[field]:
                yield f"{csv_path}: {path}: {field} is {cells[field]!r}"
        ids = {check["id"]: check for check in report["checks"]}
        for column in header[4:]:
            wanted = cell_of(ids[column]) if column in ids else ""
            if cells[column] != wanted:
                yield f"{csv_path}: {path}: {column} is {cells[column]!r}, not {wanted!r}"


def main(argv):
    if len(argv) >= 5 and argv[1] == "report":
        found = list(report_faults(*argv[2:5]))
    elif len(argv) >= 4 and argv[1] == "summary":
        found = list(summary_faults(argv[2], argv[3:]))
    else:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    for fault in found:
        print(fault)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
