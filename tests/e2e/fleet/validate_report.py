#!/usr/bin/env python3
"""Checks JSON reports against the report schema.

    validate_report.py SCHEMA FILE...

Prints one line per fault ("FILE: where: what") and exits 1 when any file has one, 0
when all are valid, 2 on a wrong command line. Besides the schema it checks what a
schema cannot say: the file is UTF-8 without a byte order mark, no object holds a key
twice, and no check id appears twice in a report.
"""
import json
import sys

from jsonschema import Draft202012Validator


def unique_keys(pairs):
    keys = [key for key, _ in pairs]
    twice = sorted({key for key in keys if keys.count(key) > 1})
    if twice:
        raise ValueError(f"the key {twice[0]} appears twice in an object")
    return dict(pairs)


def document_order(error):
    # Item numbers before names, so that the two never meet in one comparison.
    return [(0, p, "") if isinstance(p, int) else (1, 0, p) for p in error.absolute_path]


def faults(validator, path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        yield f"cannot be read: {e.strerror}"
        return
    if data.startswith(b"\xef\xbb\xbf"):
        yield "starts with a byte order mark"
        return
    try:
        document = json.loads(data.decode("utf-8"), object_pairs_hook=unique_keys)
    except (UnicodeDecodeError, ValueError) as e:
        yield f"not JSON: {e}"
        return
    for error in sorted(validator.iter_errors(document), key=document_order):
        where = "/".join(str(p) for p in error.absolute_path) or "(top)"
        yield f"{where}: {error.message}"
    checks = document.get("checks") if isinstance(document, dict) else None
    seen = set()
    for check in checks if isinstance(checks, list) else []:
        check_id = check.get("id") if isinstance(check, dict) else None
        if isinstance(check_id, str):
            if check_id in seen:
                yield f"checks: the id {check_id} appears twice"
            seen.add(check_id)


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    Draft202012Validator.check_schema(schema)
    # No format checker: the patterns in the schema say what the strings look like.
    validator = Draft202012Validator(schema)
    bad = 0
    for path in argv[2:]:
        found = list(faults(validator, path))
        for fault in found:
            print(f"{path}: {fault}")
        bad += bool(found)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
