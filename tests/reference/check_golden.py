#!/usr/bin/env python3
"""Holds `quenmar-cli cast` to the outputs recorded in tests/data/cli/golden_casts.txt.

Every line of that file is one cast: the digest of its JSON document (the keys recorded when the
file was written, re-serialised canonically, so that a key added later does not count), the
digest of its text form, and the command line. A refactoring must leave all of them unchanged.

  check_golden.py --cli PATH            compare (exit status 1 on any difference)
  check_golden.py --cli PATH --write    record the file anew from this build
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import random
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_engine  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
GOLDEN = os.path.join(HERE, "..", "data", "cli", "golden_casts.txt")
ENV = dict(os.environ, TZ="Asia/Shanghai", LANG="C.UTF-8", LC_ALL="C.UTF-8")
# The document as it stood when the file was recorded; keys added since are not judged here.
RECORDED_KEYS = ("title", "primaryLabel", "changedLabel", "grid", "report", "chart", "numberBasis",
                 "rawPicks", "picks", "prediction")
# The text form may gain sections after the report, each one block set off by a blank line
# before and after it; only what it printed then counts.
TEXT_SECTIONS_ADDED_LATER = ("\n\n详细排盘:",)


def digest(data):
    return hashlib.sha256(data.encode("utf-8")).hexdigest()[:32]


def json_digest(stdout):
    doc = json.loads(stdout)
    kept = {key: doc[key] for key in RECORDED_KEYS if key in doc}
    return digest(json.dumps(kept, ensure_ascii=False, sort_keys=True))


def text_digest(stdout):
    for marker in TEXT_SECTIONS_ADDED_LATER:
        start = stdout.find(marker)
        if start >= 0:
            # The section and the blank line before it go; it runs up to the next blank line,
            # and what follows that was there before.
            end = stdout.find("\n\n", start + len(marker))
            stdout = stdout[:start + 1] + (stdout[end + 1:] if end >= 0 else "")
    return digest(stdout)


def run(cli, args):
    out = [subprocess.run([cli] + a, env=ENV, capture_output=True, text=True) for a in
           (args, [x for x in args if x != "--json"])]
    for result in out:
        if result.returncode != 0:
            return "exit-%d" % result.returncode, "exit-%d" % result.returncode
    return json_digest(out[0].stdout), text_digest(out[1].stdout)


def requests(seed, count):
    rng = random.Random(seed)
    return [r.argv() for r in check_engine.fixed_requests() + check_engine.random_requests(rng, count)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--write", action="store_true")
    parser.add_argument("--count", type=int, default=400)
    parser.add_argument("--seed", type=int, default=20241206)
    parser.add_argument("--jobs", type=int, default=4)
    opts = parser.parse_args()

    if opts.write:
        arg_lists = requests(opts.seed, opts.count)
    else:
        with open(GOLDEN, encoding="utf-8") as f:
            rows = [json.loads(line) for line in f if line.strip() and not line.startswith("#")]
        arg_lists = [row["args"] for row in rows]

    with concurrent.futures.ThreadPoolExecutor(opts.jobs) as pool:
        results = list(pool.map(lambda a: run(opts.cli, a), arg_lists))

    if opts.write:
        os.makedirs(os.path.dirname(GOLDEN), exist_ok=True)
        with open(GOLDEN, "w", encoding="utf-8") as f:
            f.write("# quenmar-cli cast outputs: JSON digest, text digest, command line (check_golden.py)\n")
            for args, (j, t) in zip(arg_lists, results):
                f.write(json.dumps({"json": j, "text": t, "args": args}, ensure_ascii=False) + "\n")
        print("recorded %d casts" % len(arg_lists))
        return 0

    failures = 0
    for row, (j, t) in zip(rows, results):
        for form, got in (("json", j), ("text", t)):
            if row[form] != got:
                failures += 1
                if failures <= 10:
                    print("DIFFERS (%s): quenmar-cli %s" % (form, " ".join(row["args"])))
    print("casts compared: %d, differences: %d" % (len(rows), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
