#!/usr/bin/env python3
"""Holds `quenmar-cli history check --json` to an independent recomputation of 对奖.

In a history of its own, the check saves calculations of all three methods with `cast --save`
(their picks are what `cast --json` printed when saving them), writes kept 快乐8 draws as a CSV
file and imports it with `draws import`, and then recomputes from the rules alone, sharing no
code with the program:

  * the target draw: the first kept draw dated on or after the date of the record's moment, a
    moment at 22:00 or later counting from the next day; none ("未开奖") when no draw is late
    enough;
  * the hits of each of the ten bets and of the 20 pre-selected numbers, and the prize of each
    bet by the 选十 table of the draw's issue (8 hits: 800 元 before issue 2025350, 720 元 from
    it; 10 hits floating);
  * the summary: bets by hits for k = 0..10, the chance C(20,k)·C(60,10−k)/C(80,10), the stake
    and the prizes.

Moments are chosen around the rules' edges (21:30 draw-time casts, 21:59:59.999, 22:00, the day
before the first draw, after the last); some draws are built from a record's own bet so that
the rare prizes (8, 9, 10 hits) and both prize tables are met. Exit status 1 on any difference.

  check_tally.py --cli PATH [--seed N] [--records N]
"""

import argparse
import datetime
import json
import math
import os
import random
import shlex
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from engine_reference import Moment  # noqa: E402  (whole-millisecond local moments)

ENV = {"TZ": "Asia/Shanghai", "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"}
MS_PER_DAY = 86_400_000
BASE_ORDINAL = datetime.date(1899, 12, 30).toordinal()
FIRST_DRAW = datetime.date(2025, 11, 20)
LAST_DRAW = datetime.date(2026, 1, 10)
MISSED_DRAW_HOUR = 22
PRIZE_CHANGE_ISSUE = 2025350
STAKE = 2


def prize(issue, hits):
    """(yuan, floating) of a 选十 bet."""
    table = {0: 2, 5: 3, 6: 5, 7: 80, 8: 720 if issue >= PRIZE_CHANGE_ISSUE else 800, 9: 8000}
    if hits == 10:
        return 0, True
    return table.get(hits, 0), False


def chance(k):
    return math.comb(20, k) * math.comb(60, 10 - k) / math.comb(80, 10)


def issue_of(day):
    # The fake issues count the draws of a year by its days, so 2025350 falls on 2025-12-16.
    return day.year * 1000 + day.timetuple().tm_yday


class Tally:
    def __init__(self, cli, seed, records):
        self.cli = cli
        self.rng = random.Random(seed)
        self.count = records
        self.home = tempfile.mkdtemp(prefix="tally-reference-")
        self.env = dict(os.environ, QUENMAR_HOME=self.home, **ENV)
        self.failures = 0

    def run(self, args, check=True):
        done = subprocess.run([self.cli] + args, env=self.env, capture_output=True, text=True)
        if check and done.returncode != 0:
            raise SystemExit("quenmar-cli %s failed: %s" % (shlex.join(args), done.stderr))
        return done

    def differ(self, what, expected, actual):
        self.failures += 1
        if self.failures <= 20:
            print("MISMATCH %s\n  expected: %s\n  actual:   %s" % (what, json.dumps(expected, ensure_ascii=False),
                                                                   json.dumps(actual, ensure_ascii=False)))

    # ---- the saved calculations ---------------------------------------------------------------

    def moment(self):
        """A moment between a few days before the first draw and a few days after the last, often
        on the edges of the rules."""
        day = FIRST_DRAW + datetime.timedelta(days=self.rng.randint(-4, (LAST_DRAW - FIRST_DRAW).days + 4))
        edge = self.rng.random()
        if edge < 0.12:
            hms = (21, 59, 59, 999)
        elif edge < 0.24:
            hms = (22, 0, 0, 0)
        elif edge < 0.32:
            hms = (0, 0, 0, 0)
        elif edge < 0.40:
            hms = (23, 59, 59, 999)
        else:
            hms = (self.rng.randint(0, 23), self.rng.randint(0, 59), self.rng.randint(0, 59), self.rng.randint(0, 999))
        return Moment.from_fields(day.year, day.month, day.day, *hms).text()

    def cast_args(self, i):
        zodiac = str(self.rng.randint(1, 12))
        method = i % 3
        if method == 0:
            number = str(self.rng.randint(0, 10 ** self.rng.randint(1, 12)))
            return ["--method", "number", "--number", number, "--zodiac", zodiac, "--moment", self.moment()]
        if method == 1:
            lines = "".join(self.rng.choice("6789") for _ in range(6))
            return ["--method", "hand", "--lines", lines, "--zodiac", zodiac, "--moment", self.moment()]
        time = self.rng.choice(["draw", "draw", "current"])  # draw time: 21:30 and some seconds
        return ["--method", "ms", "--time", time, "--zodiac", zodiac, "--moment", self.moment()]

    def save_records(self):
        records = []
        for i in range(self.count):
            args = ["cast"] + self.cast_args(i) + ["--json", "--save", "r%d" % i]
            cast = json.loads(self.run(args).stdout)
            records.append({"id": i + 1, "args": args, "picks": cast["picks"]})
        for record in records:
            shown = json.loads(self.run(["history", "show", str(record["id"]), "--json"]).stdout)
            record["title"] = shown["ysname"]
            record["moment"] = Moment(round(shown["ysday"] * MS_PER_DAY))
        return records

    # ---- the kept draws -------------------------------------------------------------------------

    def first_day(self, record):
        fields = record["moment"].fields()
        return datetime.date(*fields[:3]) + datetime.timedelta(days=1 if fields[3] >= MISSED_DRAW_HOUR else 0)

    def draws(self, records):
        """A draw for most days from FIRST_DRAW to LAST_DRAW. Half of them are built around the first
        bet of a record that meets that draw, with a chosen number of its numbers, so that every
        prize turns up."""
        days = [FIRST_DRAW + datetime.timedelta(days=n) for n in range((LAST_DRAW - FIRST_DRAW).days + 1)]
        days = [d for d in days if d in (FIRST_DRAW, LAST_DRAW) or self.rng.random() > 0.15]
        meeting = {}
        for record in records:
            later = [d for d in days if d >= self.first_day(record)]
            if later and record["picks"][0].count(",") == 9:
                meeting.setdefault(later[0], []).append([int(n) for n in record["picks"][0].split(",")])
        draws = {}
        for day in days:
            if day in meeting and self.rng.random() < 0.5:
                bet = self.rng.choice(meeting[day])
                hits = self.rng.choice([0, 5, 6, 7, 8, 8, 9, 10])
                chosen = set(self.rng.sample(bet, hits))
                others = [n for n in range(1, 81) if n not in bet]
                numbers = chosen | set(self.rng.sample(others, 20 - hits))
            else:
                numbers = set(self.rng.sample(range(1, 81), 20))
            order = list(numbers)
            self.rng.shuffle(order)  # kept in draw order, not sorted
            draws[day] = order
        return draws

    def import_draws(self, draws):
        lines = ["code,issue,date,numbers"]
        for day, numbers in sorted(draws.items()):
            lines.append("100,%d,%s,%s" % (issue_of(day), day.isoformat(), " ".join("%02d" % n for n in numbers)))
        path = os.path.join(self.home, "draws.csv")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
        self.run(["draws", "import", path])

    # ---- the recomputation ----------------------------------------------------------------------

    def expected(self, record, draws):
        days = sorted(d for d in draws if d >= self.first_day(record))
        entry = {"_id": record["id"], "title": record["title"], "problem": ""}
        bets = [[int(n) for n in pick.split(",")] if pick else [] for pick in record["picks"][:10]]
        preselection = [int(n) for n in record["picks"][10].split(",")] if record["picks"][10] else []
        if not days:
            entry["status"] = "未开奖"
            entry["bets"] = [{"numbers": b, "playable": len(b) == 10} for b in bets]
            entry["preselection"] = {"numbers": preselection}
            return entry, None
        day = days[0]
        drawn = set(draws[day])
        issue = issue_of(day)
        entry["status"] = "已开奖"
        entry["target"] = {"issue": str(issue), "date": day.isoformat()}
        entry["bets"] = []
        for b in bets:
            hits = sorted(n for n in b if n in drawn)
            bet = {"numbers": b, "playable": len(b) == 10, "hits": hits, "hitCount": len(hits)}
            if len(b) == 10:
                bet["prize"], bet["floating"] = prize(issue, len(hits))
            entry["bets"].append(bet)
        entry["preselection"] = {"numbers": preselection, "hitCount": len(drawn & set(preselection))}
        return entry, issue

    def summary(self, entries):
        by_hits = [0] * 11
        stake = won = floating = drawn = undrawn = 0
        for entry in entries:
            if entry["status"] != "已开奖":
                undrawn += 1
                continue
            drawn += 1
            for bet in entry["bets"]:
                if not bet["playable"]:
                    continue
                by_hits[bet["hitCount"]] += 1
                stake += STAKE
                floating += bet["floating"]
                won += bet["prize"]
        bets = sum(by_hits)
        return {"records": drawn, "undrawn": undrawn, "uncomputed": 0, "bets": bets, "betsByHits": by_hits,
                "chance": [chance(k) for k in range(11)], "expectedBets": [bets * chance(k) for k in range(11)],
                "stakeYuan": stake, "prizeYuan": won, "floatingPrizes": floating}

    def compare_summary(self, expected, actual):
        for key, value in expected.items():
            got = actual.get(key)
            if isinstance(value, list) and value and isinstance(value[0], float):
                if len(got or []) != len(value) or any(abs(a - b) > 1e-9 * max(1.0, abs(b)) for a, b in zip(got, value)):
                    self.differ("summary." + key, value, got)
            elif got != value:
                self.differ("summary." + key, value, got)

    def check(self):
        records = self.save_records()
        draws = self.draws(records)
        self.import_draws(draws)
        actual = json.loads(self.run(["history", "check", "--json"]).stdout)
        expected = []
        issues = set()
        for record in reversed(records):  # the history lists newest first
            entry, issue = self.expected(record, draws)
            expected.append(entry)
            issues.add(issue)
        if len(actual["records"]) != len(expected):
            self.differ("number of records", len(expected), len(actual["records"]))
        for want, got in zip(expected, actual["records"]):
            if want != got:
                self.differ("record %d (%s)" % (want["_id"], want["title"]), want, got)
        self.compare_summary(self.summary(expected), actual["summary"])
        # A few records named on the command line give the same entries, in the order named.
        named = [str(r["id"]) for r in self.rng.sample(records, min(5, len(records)))]
        some = json.loads(self.run(["history", "check"] + named + ["--json"]).stdout)["records"]
        by_id = {e["_id"]: e for e in expected}
        for word, got in zip(named, some):
            if got != by_id[int(word)]:
                self.differ("record %s named alone" % word, by_id[int(word)], got)

        s = actual["summary"]
        undrawn = sum(e["status"] == "未开奖" for e in expected)
        late = sum(r["moment"].fields()[3] >= MISSED_DRAW_HOUR for r in records)
        rare = sum(s["betsByHits"][8:])
        both_tables = any(i is not None and i < PRIZE_CHANGE_ISSUE for i in issues) and \
            any(i is not None and i >= PRIZE_CHANGE_ISSUE for i in issues)
        print("tally reference: %d records (%d 未开奖, %d at or after 22:00), %d bets, %d with 8+ hits, "
              "%d draws, both prize tables: %s, stake %d, prize %d (+%d floating)"
              % (len(records), undrawn, late, s["bets"], rare, len(draws), both_tables, s["stakeYuan"],
                 s["prizeYuan"], s["floatingPrizes"]))
        # The run must have met every rule it checks, or it proves less than it says.
        for what, met in (("未开奖", undrawn > 0), ("22:00", late > 0), ("8+ hits", rare > 0),
                          ("both prize tables", both_tables)):
            if not met:
                self.differ("coverage: no record met " + what, True, False)
        return self.failures == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--seed", type=int, default=14)
    parser.add_argument("--records", type=int, default=240)
    args = parser.parse_args()
    tally = Tally(args.cli, args.seed, args.records)
    try:
        ok = tally.check()
    finally:
        shutil.rmtree(tally.home, ignore_errors=True)
    print("tally reference: " + ("all agree" if ok else "DIFFERENCES FOUND"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
