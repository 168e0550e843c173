#!/usr/bin/env python3
"""Cross-checks `quenmar-cli cast --json` against the independent implementation in
engine_reference.py.

Three kinds of checks, all reproducible from the seed:
  * tables: the reference's hexagram names against a second table in the received order, and the
    reference's day pillars against the Julian day number for every day from 1950 to 2100;
  * calendar: the CLI's day pillar on sampled days at noon, just after midnight and on the
    half-second boundary, against the Julian day number;
  * casts: random casts of all three methods, every output field compared with the reference.

The first mismatches are printed with a command line that reproduces them; the exit status is 1
when anything differs.
"""

import argparse
import concurrent.futures
import datetime
import json
import os
import random
import shlex
import subprocess
import sys
import time

# The check runs from the source tree, which must stay free of byte-code caches.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import engine_reference as ref  # noqa: E402

CLI_ENV_OVERRIDES = {"TZ": "Asia/Shanghai", "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"}
OUTPUT_KEYS = ("title", "primaryLabel", "changedLabel", "grid", "report")
# A moment is a float day count; two sound computations may differ in the last bit, which is
# far below a millisecond (1 ms is about 1.2e-8 days).
MOMENT_TOLERANCE = 1e-9


class Checker:
    def __init__(self, cli, jobs, max_shown):
        self.cli = cli
        self.jobs = jobs
        self.max_shown = max_shown
        self.env = dict(os.environ, **CLI_ENV_OVERRIDES)
        self.failures = 0
        self.compared = 0
        self.calls = 0
        self.moment_bit_differences = 0
        self.extra_chart_keys = set()

    def repro(self, args):
        return "TZ=Asia/Shanghai quenmar-cli " + shlex.join(args)

    def fail(self, what, args, field, expected, actual):
        self.failures += 1
        if self.failures <= self.max_shown:
            print("MISMATCH (%s) in %s" % (what, field))
            if args is not None:
                print("  command:  " + self.repro(args))
            print("  expected: " + json.dumps(expected, ensure_ascii=False))
            print("  actual:   " + json.dumps(actual, ensure_ascii=False))
        elif self.failures == self.max_shown + 1:
            print("(further mismatches are counted but not shown)")

    def call(self, args):
        proc = subprocess.run([self.cli] + args, env=self.env, capture_output=True, timeout=60)
        return proc.returncode, proc.stdout, proc.stderr

    def run_all(self, arg_lists):
        """Runs the CLI on every argument list, in parallel, results in order."""
        self.calls += len(arg_lists)
        with concurrent.futures.ThreadPoolExecutor(max_workers=self.jobs) as pool:
            return list(pool.map(self.call, arg_lists))

    def parse(self, what, args, result):
        rc, out, err = result
        if rc != 0:
            self.fail(what, args, "exit status", 0,
                      "%d, stderr %s" % (rc, err.decode("utf-8", "replace").strip()))
            return None
        try:
            return json.loads(out.decode("utf-8"))
        except (UnicodeDecodeError, json.JSONDecodeError) as e:
            self.fail(what, args, "JSON output", "a JSON object", str(e))
            return None

    def compare_cast(self, req, result):
        args = req.argv()
        actual = self.parse("cast", args, result)
        if actual is None:
            return
        self.compared += 1
        expected = ref.run(req)
        for key in OUTPUT_KEYS:
            if actual.get(key) != expected[key]:
                if key == "report":
                    self.fail("cast", args, "report, first differing line",
                              *first_line_difference(expected[key], actual.get(key)))
                else:
                    self.fail("cast", args, key, expected[key], actual.get(key))
        chart = actual.get("chart")
        if not isinstance(chart, dict):
            self.fail("cast", args, "chart", "an object", chart)
            return
        self.extra_chart_keys.update(set(chart) - set(expected["chart"]))
        for key, want in expected["chart"].items():
            got = chart.get(key)
            if key == "moment":
                if not isinstance(got, (int, float)) or abs(got - want) > MOMENT_TOLERANCE:
                    self.fail("cast", args, "chart.moment", want, got)
                elif got != want:
                    self.moment_bit_differences += 1
            elif got != want or type(got) is not type(want):
                self.fail("cast", args, "chart." + key, want, got)


def first_line_difference(expected, actual):
    if not isinstance(actual, str):
        return expected, actual
    exp_lines = expected.split("\n")
    act_lines = actual.split("\n")
    for i in range(max(len(exp_lines), len(act_lines))):
        e = exp_lines[i] if i < len(exp_lines) else None
        a = act_lines[i] if i < len(act_lines) else None
        if e != a:
            return "line %d: %r" % (i + 1, e), "line %d: %r" % (i + 1, a)
    return expected, actual


# ---------------------------------------------------------------------------------------------
# Static checks of the reference itself


def check_tables(checker):
    names = ref.king_wen_names()
    places = set()
    for upper in range(1, 9):
        for lower in range(1, 9):
            g = ref.derive(upper, lower)
            places.add((g.palace, g.generation))
            got = ref.hexagram_name(g.palace, g.generation)
            if got != names[(upper, lower)]:
                checker.fail("table", None, "hexagram %s over %s" % (ref.trigram_name(upper),
                             ref.trigram_name(lower)), names[(upper, lower)], got)
    if len(places) != 64:
        checker.fail("table", None, "distinct (palace, generation) pairs", 64, len(places))

    day = datetime.date(1950, 1, 1)
    last = datetime.date(2100, 12, 31)
    one = datetime.timedelta(days=1)
    while day <= last:
        want = ref.jdn_day_pillar(day)
        before = ref.jdn_day_pillar(day - one)
        for hms, expect in (((12, 0, 0, 0), want), ((0, 0, 0, 600), want), ((0, 0, 0, 500), want),
                            ((0, 0, 0, 499), before), ((23, 59, 59, 999), want)):
            m = ref.Moment.from_fields(day.year, day.month, day.day, *hms)
            if ref.day_pillar(m) != expect:
                checker.fail("reference calendar", None, "day pillar of " + m.text(), expect,
                             ref.day_pillar(m))
        day += one


# ---------------------------------------------------------------------------------------------
# The CLI against the Julian day number and the second hexagram table


def check_cli_hexagram_table(checker):
    """Every upper/lower pair cast by hand with still lines must carry the received name."""
    names = ref.king_wen_names()
    line_char = {"1": "7", "0": "8"}
    cases = []
    for upper in range(1, 9):
        for lower in range(1, 9):
            bits = ref.trigram_lines(lower) + ref.trigram_lines(upper)
            lines = "".join(line_char[b] for b in bits)
            req = ref.Request(2, 1, ref.Moment.parse("2024-05-01 10:00:00"), lines=lines)
            cases.append((names[(upper, lower)], req))
    results = checker.run_all([req.argv() for _, req in cases])
    for (name, req), result in zip(cases, results):
        actual = checker.parse("hexagram table", req.argv(), result)
        if actual is None:
            continue
        for key in ("primaryName", "changedName"):
            got = actual["chart"][key]
            for soul in ("游魂", "归魂"):
                if got.endswith(soul):
                    got = got[: -len(soul)]
            if got != name:
                checker.fail("hexagram table", req.argv(), "chart." + key, name, got)


def calendar_days(rng, step, extra):
    first = datetime.date(1950, 1, 1)
    last = datetime.date(2100, 12, 31)
    span = (last - first).days
    days = {first + datetime.timedelta(days=i) for i in range(0, span + 1, step)}
    days.update(first + datetime.timedelta(days=rng.randrange(span + 1)) for _ in range(extra))
    days.update({first, last, datetime.date(1970, 1, 1), datetime.date(2000, 2, 29),
                 datetime.date(2022, 11, 6), datetime.date(2022, 11, 7), datetime.date(2022, 11, 8),
                 datetime.date(2100, 2, 28), datetime.date(2100, 3, 1)})
    return sorted(days)


def check_cli_day_pillars(checker, rng, step, extra):
    cases = []
    for day in calendar_days(rng, step, extra):
        times = [(12, 0, 0, 0), (0, 0, 0, 600)]
        if rng.random() < 0.1:
            times += [(0, 0, 0, 500), (0, 0, 0, 499), (23, 59, 59, 999)]
        for hms in times:
            m = ref.Moment.from_fields(day.year, day.month, day.day, *hms)
            cal_day = day - datetime.timedelta(days=1) if hms == (0, 0, 0, 499) else day
            req = ref.Request(1, 1, m, number="1")
            cases.append((ref.jdn_day_pillar(cal_day), req))
    results = checker.run_all([req.argv() for _, req in cases])
    for (want, req), result in zip(cases, results):
        actual = checker.parse("day pillar", req.argv(), result)
        if actual is not None and actual["chart"].get("dayPillar") != want:
            checker.fail("day pillar by Julian day number", req.argv(), "chart.dayPillar", want,
                         actual["chart"].get("dayPillar"))
    return len(cases)


# ---------------------------------------------------------------------------------------------
# Random casts


def random_moment(rng):
    day = datetime.date(1950, 1, 1) + datetime.timedelta(days=rng.randrange(31412))  # to 2035
    kind = rng.random()
    if kind < 0.30:
        h, mi, s, ms = rng.randrange(24), rng.randrange(60), rng.randrange(60), rng.randrange(1000)
    elif kind < 0.50:  # the late 子 hour, which belongs to the next day's hour count
        h, mi, s, ms = 23, rng.randrange(60), rng.randrange(60), rng.randrange(1000)
    elif kind < 0.65:  # the first second of the day, around the half-second day turn
        h, mi, s = 0, 0, 0
        ms = rng.choice([0, 1, 250, 499, 500, 501, 600, 999, rng.randrange(1000)])
        if rng.random() < 0.1:
            s = 1
            ms = 0
    elif kind < 0.78:  # the draw deadline at 22:00
        h, mi, s, ms = rng.choice([(21, 59, 59, 999), (22, 0, 0, 0), (22, 0, 0, 1),
                                   (21, rng.randrange(60), rng.randrange(60), rng.randrange(1000)),
                                   (22, rng.randrange(60), rng.randrange(60), rng.randrange(1000))])
    elif kind < 0.90:  # every hour's first and last millisecond
        h = rng.randrange(24)
        mi, s, ms = rng.choice([(0, 0, 0), (59, 59, 999), (0, 0, 999)])
    else:  # whole seconds, minutes and hours, for the date text's three forms
        h, mi, s, ms = rng.randrange(24), rng.choice([0, rng.randrange(60)]), 0, 0
        if rng.random() < 0.5:
            mi = 0
    if rng.random() < 0.5 and ms:
        ms = 0 if rng.random() < 0.5 else ms
    return ref.Moment.from_fields(day.year, day.month, day.day, h, mi, s, ms)


SPECIAL_NUMBERS = ["0", "00", "000", "0000", "00000", "000000", "1", "5", "9", "10", "01", "99",
                   "100", "010", "001", "105", "120", "012", "123", "900", "090", "009", "1234",
                   "12345", "1733542541123", "0038", "00038", "0000000000000",
                   "99999999999999999999",
                   "1000000000000", "1000000000001"]


def random_number_text(rng):
    if rng.random() < 0.12:
        return rng.choice(SPECIAL_NUMBERS)
    length = rng.choice(list(range(1, 21)) + [1, 2, 3, 3, 3, 4, 5, 13, 13])
    zero_share = rng.choice([0.0, 0.1, 0.3, 0.6, 0.9, 1.0])
    return "".join("0" if rng.random() < zero_share else str(rng.randrange(1, 10))
                   for _ in range(length))


GAME_CODES = [100, 100, 100, 101, 101, 101, 106, 106, 106, 102, 103, 104, 105]


def random_requests(rng, count):
    hand_patterns = ["".join(p) for p in _all_hand_patterns()]
    rng.shuffle(hand_patterns)
    hand_next = 0
    requests = []
    for _ in range(count):
        zodiac = rng.randrange(1, 13)
        moment = random_moment(rng)
        pick = rng.random()
        if pick < 0.34:
            number = random_number_text(rng)
            if rng.random() < 0.04:
                number = " " + number + "  "
            requests.append(ref.Request(1, zodiac, moment, number=number))
        elif pick < 0.67:
            lines = hand_patterns[hand_next % len(hand_patterns)]
            hand_next += 1
            requests.append(ref.Request(2, zodiac, moment, lines=lines))
        else:
            time_choice = "draw" if rng.random() < 0.6 else "current"
            game = rng.choice(GAME_CODES)
            number = None
            if rng.random() < 0.2:
                number = rng.choice([random_number_text(rng), str(rng.randrange(10**12, 10**13))])
            requests.append(ref.Request(3, zodiac, moment, number=number, time_choice=time_choice,
                                        game=game))
    return requests


def _all_hand_patterns():
    patterns = [""]
    for _ in range(6):
        patterns = [p + c for p in patterns for c in "6789"]
    return patterns


def fixed_requests():
    """Casts with a known outcome (the worked example and the day-turn corners), and the corners of
    the draw schedule."""
    m = ref.Moment.parse
    reqs = [ref.Request(1, 1, m("2022-11-07 12:00:00"), number="38"),
            ref.Request(1, 1, m("2022-11-07 23:30:00"), number="5"),
            ref.Request(1, 12, m("2022-11-08 00:00:00.000"), number="1733542541123"),
            ref.Request(1, 12, m("2022-11-08 00:00:00.500"), number="105"),
            ref.Request(1, 12, m("2022-11-08 00:00:00.499"), number="120"),
            ref.Request(2, 5, m("2024-05-01 00:00:00"), lines="777777"),
            ref.Request(2, 5, m("2024-05-01 21:30:05"), lines="666666"),
            ref.Request(2, 5, m("2024-05-01 21:30:00"), lines="999999")]
    # A week of draws for every scheduled code, on time and late, and one unscheduled code.
    for day in range(5, 12):  # 2024-05-05 is a Sunday
        for clock in ("21:59:59.999", "22:00:00.000"):
            for game in (100, 101, 106):
                moment = m("2024-05-%02d %s" % (day, clock))
                reqs.append(ref.Request(3, 7, moment, time_choice="draw", game=game))
        moment = m("2024-05-%02d 23:59:59.999" % day)
        reqs.append(ref.Request(3, 7, moment, time_choice="draw", game=100 + day % 7))
    # Before 1970 the millisecond number is negative; in the summers of 1986-1991 the zone
    # observed daylight saving, which the millisecond number must ignore.
    for text in ("1950-01-01 00:00:00.000", "1969-12-31 23:59:59.999", "1970-01-01 08:00:00.000",
                 "1988-07-01 12:00:00.123", "1991-09-14 23:59:59.999"):
        for choice in ("current", "draw"):
            reqs.append(ref.Request(3, 2, m(text), time_choice=choice, game=100))
    return reqs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", help="path of quenmar-cli (default: $QUENMAR_BIN_DIR/quenmar-cli)")
    parser.add_argument("--count", type=int, default=300, help="random casts (default 300)")
    parser.add_argument("--seed", type=int, default=20221107)
    parser.add_argument("--day-step", type=int, default=0,
                        help="check the CLI's day pillar on every Nth day from 1950 to 2100 "
                             "(default: about count / 2 days in all)")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--show", type=int, default=10, help="mismatches shown in full")
    opts = parser.parse_args()

    cli = opts.cli
    if not cli:
        bin_dir = os.environ.get("QUENMAR_BIN_DIR")
        if not bin_dir:
            parser.error("give --cli or set QUENMAR_BIN_DIR")
        cli = os.path.join(bin_dir, "quenmar-cli")
    if not os.access(cli, os.X_OK):
        parser.error("not an executable: " + cli)

    started = time.monotonic()
    rng = random.Random(opts.seed)
    checker = Checker(cli, opts.jobs, opts.show)

    check_tables(checker)
    check_cli_hexagram_table(checker)
    step = opts.day_step or max(7, 55152 // max(1, opts.count // 4))
    day_calls = check_cli_day_pillars(checker, rng, step, max(20, opts.count // 10))

    requests = fixed_requests() + random_requests(rng, opts.count)
    for start in range(0, len(requests), 500):
        batch = requests[start : start + 500]
        for req, result in zip(batch, checker.run_all([r.argv() for r in batch])):
            checker.compare_cast(req, result)

    elapsed = time.monotonic() - started
    print("casts compared: %d, day pillars checked through the CLI: %d (every %d days + samples), "
          "CLI calls: %d, %.1f s" % (checker.compared, day_calls, step, checker.calls, elapsed))
    if checker.moment_bit_differences:
        print("note: %d moments differ from the reference in the last bits only"
              % checker.moment_bit_differences)
    if checker.extra_chart_keys:
        print("note: chart members not modelled here: "
              + ", ".join(sorted(checker.extra_chart_keys)))
    if checker.failures:
        print("FAILED: %d mismatches" % checker.failures)
        return 1
    print("all outputs agree")
    return 0


if __name__ == "__main__":
    sys.exit(main())
