#!/usr/bin/env python3
"""Cross-checks the "annotations" of `quenmar-cli cast --json` against a second implementation of
the expert chart written here from the charting rules alone.

The chart each cast should give comes from engine_reference.py (itself checked against the CLI by
check_engine.py); the solar terms from PyEphem through check_expert.py. Everything the annotations
add is derived here afresh: the void branches by walking the sixty-day cycle, clashes as branches
six apart, the combining pairs as the almanacs list them, the relations by the generating and
controlling cycles of the elements, the hexagram names of 互/错/综 from the received order's
table rather than the palace table.

Random casts of all three methods (check_engine.py's generator) and casts at the edges of the
years that have pillars, reproducible from the seed. Moments within one minute of a term do not
judge the year and month pillars, the 节 or the month breaks. Exit status 1 on any mismatch.
"""

import argparse
import bisect
import datetime
import os
import random
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_engine  # noqa: E402
import check_expert as solar  # noqa: E402  (exits when python3-ephem is missing)
import engine_reference as ref  # noqa: E402

FIRST_YEAR, LAST_YEAR = 1900, 2100  # the years whose moments get year and month pillars
RECORDED_KEYS = ["title", "primaryLabel", "changedLabel", "grid", "report", "chart", "numberBasis",
                 "rawPicks", "picks", "prediction"]
ANNOTATION_KEYS = ["yearPillar", "monthPillar", "dayPillar", "hourPillar", "solarTerm", "voidBranches",
                   "primaryKind", "changedKind", "guaShen", "nuclear", "opposite", "reversed", "lines",
                   "changedLines", "changedRelationsByPrimaryPalace"]
LINE_KEYS = ["void", "monthBreak", "dayClash", "hidden"]
# The term's local minute is rounded (30 s) and the two ephemerides differ by under a minute.
TERM_MOMENT_TOLERANCE_MS = 90_000

SIXTY = [ref.STEMS[n % 10] + ref.BRANCHES[n % 12] for n in range(60)]
COMBINING = {frozenset(pair) for pair in ("子丑", "寅亥", "卯戌", "辰酉", "巳申", "午未")}
GENERATES = {"金": "水", "水": "木", "木": "火", "火": "土", "土": "金"}
CONTROLS = {"金": "木", "木": "土", "土": "水", "水": "火", "火": "金"}
KING_WEN = ref.king_wen_names()


def clash(a, b):
    return (ref.BRANCHES.index(a) - ref.BRANCHES.index(b)) % 12 == 6


def void_branches(day_pillar):
    """The two branches that the ten days of the day's decade, from its 甲 day on, do not reach."""
    first = SIXTY.index(day_pillar) // 10 * 10
    reached = {SIXTY[(first + k) % 60][1] for k in range(10)}
    lacking = [ref.BRANCHES[(first + 10 + k) % 12] for k in range(2)]
    assert set(ref.BRANCHES) - reached == set(lacking)
    return lacking


def kind(branches):
    pairs = [(branches[k], branches[k + 3]) for k in range(3)]
    if all(clash(a, b) for a, b in pairs):
        return "六冲"
    if all(frozenset(p) in COMBINING for p in pairs):
        return "六合"
    return ""


def relation(palace_element, line_element):
    if line_element == palace_element:
        return "兄弟"
    if GENERATES[palace_element] == line_element:
        return "子孙"
    if GENERATES[line_element] == palace_element:
        return "父母"
    if CONTROLS[palace_element] == line_element:
        return "妻财"
    return "官鬼"


def hexagram_name(bits):
    """Name of the hexagram of six bits, line 1 first."""
    lower, upper = "".join(bits[:3]), "".join(bits[3:])
    return KING_WEN[(ref.TRIGRAM_LINES.index(upper) + 1, ref.TRIGRAM_LINES.index(lower) + 1)]


class Terms:
    """The 节 of a span of years by PyEphem, in time order, as check_expert.py finds them."""

    def __init__(self, first, last):
        self.terms = sorted(solar.ephem_term(y, i)[0:1] + (y, i) for y in range(first, last + 1)
                            for i in range(12))
        self.instants = [t[0] for t in self.terms]

    def pillars(self, instant):
        """(year pillar, month pillar, term name, term instant), or None within a minute of a term."""
        found = solar.reference_pillars(instant, self.instants, self.terms)
        if found is None:
            return None
        year_pillar, month_pillar, _, index = found.split()
        at = bisect.bisect_right(self.instants, instant) - 1
        return year_pillar, month_pillar, solar.TERM_NAMES[int(index)], self.instants[at]


NOT_JUDGED = "not judged"  # a field the comparison leaves out


def expected_annotations(chart, grid, terms, bias):
    """The annotations of a chart as the CLI should print them. "solarTerm" holds (name, instant
    in ms) for a tolerant comparison; fields near a term are NOT_JUDGED."""
    day_pillar = chart["dayPillar"]
    year = ref.Moment(round(chart["moment"] * ref.MS_PER_DAY)).fields()[0]
    # Outside the years with pillars: empty pillars, a null term and no month to break a line.
    year_pillar, month_pillar, term, month_branch = "", "", None, None
    if FIRST_YEAR <= year <= LAST_YEAR:
        found = terms.pillars(solar.epoch_ms(chart["moment"], bias))
        if found is None:
            year_pillar = month_pillar = term = month_branch = NOT_JUDGED
        else:
            year_pillar, month_pillar, term, month_branch = found[0], found[1], found[2:], found[1][1]

    voids = void_branches(day_pillar)
    primary, changed = chart["primaryBranches"], chart["changedBranches"]

    palace = ref.TRIGRAM_NAMES.index(chart["primaryPalaceName"]) + 1
    pure = ref.derive(palace, palace)
    missing = set(ref.RELATION_NAMES) - set(chart["primaryRelations"])
    bits = [row[4] for row in reversed(grid)]

    def line(branch, hidden):
        month_break = month_branch is not None and month_branch is not NOT_JUDGED and clash(branch, month_branch)
        return {"void": branch in voids, "monthBreak": NOT_JUDGED if month_branch is NOT_JUDGED else month_break,
                "dayClash": clash(branch, day_pillar[1]), "hidden": hidden}

    hidden = [{"relation": pure.relations[i], "ganzhi": pure.ganzhi[i], "element": pure.elements[i]}
              if pure.relations[i] in missing else None for i in range(6)]
    shi = chart["shiIndex"] + 1
    body = ref.BRANCHES[((0 if bits[shi - 1] == "1" else 6) + shi - 1) % 12]  # from 子 or 午 at line 1
    palace_element = ref.TRIGRAM_ELEMENTS[palace - 1]
    flipped = ["0" if b == "1" else "1" for b in bits]
    return {
        "yearPillar": year_pillar,
        "monthPillar": month_pillar,
        "dayPillar": day_pillar,
        "hourPillar": chart["hourPillar"],
        "solarTerm": term,
        "voidBranches": voids,
        "primaryKind": kind(primary),
        "changedKind": kind(changed),
        "guaShen": {"branch": body, "lines": [i + 1 for i in range(6) if primary[i] == body]},
        "nuclear": hexagram_name(bits[1:4] + bits[2:5]),
        "opposite": hexagram_name(flipped),
        "reversed": hexagram_name(bits[::-1]),
        "lines": [line(primary[i], hidden[i]) for i in range(6)],
        "changedLines": [line(changed[i], None) for i in range(6)],
        "changedRelationsByPrimaryPalace": [relation(palace_element, e) for e in chart["changedElements"]],
    }


def term_moment_ms(text, bias):
    local = datetime.datetime.strptime(text, "%Y-%m-%d %H:%M")
    since = local - datetime.datetime(1970, 1, 1)
    return (since.days * 86_400 + since.seconds) * 1000 + bias * 60_000


def same_term(expected, actual, bias):
    if expected is None:
        return actual is None
    if not isinstance(actual, dict) or list(actual) != ["name", "moment"]:
        return False
    name, instant = expected
    return actual["name"] == name and abs(term_moment_ms(actual["moment"], bias) - instant) <= TERM_MOMENT_TOLERANCE_MS


def compare(checker, req, actual, expected, bias, seen):
    args = req.argv()
    if list(actual) != RECORDED_KEYS + ["annotations"]:
        checker.fail("document", args, "top-level keys", RECORDED_KEYS + ["annotations"], list(actual))
        return
    got = actual["annotations"]
    if list(got) != ANNOTATION_KEYS:
        checker.fail("annotations", args, "keys", ANNOTATION_KEYS, list(got))
        return
    for key, want in expected.items():
        have = got[key]
        if want is NOT_JUDGED:
            ok = True
        elif key == "solarTerm":
            ok = same_term(want, have, bias)
        elif key in ("lines", "changedLines"):
            ok = len(have) == 6 and all(list(h) == LINE_KEYS for h in have)
            for w, h in zip(want, have):
                ok = ok and all(w[k] is NOT_JUDGED or w[k] == h[k] for k in LINE_KEYS)
        else:
            ok = want == have
        if not ok:
            checker.fail("annotations", args, key, want, have)
    both = expected["lines"] + expected["changedLines"]
    seen["hidden"] += any(x["hidden"] for x in expected["lines"])
    seen["two relations hidden"] += len({x["hidden"]["relation"] for x in expected["lines"] if x["hidden"]}) >= 2
    seen["六冲"] += "六冲" in (expected["primaryKind"], expected["changedKind"])
    seen["六合"] += "六合" in (expected["primaryKind"], expected["changedKind"])
    seen["void"] += any(x["void"] for x in both)
    seen["monthBreak"] += any(x["monthBreak"] is True for x in both)
    seen["dayClash"] += any(x["dayClash"] for x in both)
    seen["body off the chart"] += not expected["guaShen"]["lines"]
    seen["no pillars"] += expected["yearPillar"] == ""
    seen["not judged"] += expected["yearPillar"] is NOT_JUDGED


def edge_requests():
    """Either side of the first and last moments with pillars, and of 立春 2024 (Beijing
    2024-02-04 16:27), by number, by hand and by milliseconds."""
    m = ref.Moment.parse
    texts = ("1850-06-01 12:00:00", "1899-12-31 23:59:59.999", "1900-01-01 00:00:00", "1900-01-06 12:00:00",
             "2024-02-04 16:25:00", "2024-02-04 16:29:00", "2100-12-31 23:59:59.999", "2101-01-01 00:00:00",
             "2200-07-01 08:00:00")
    reqs = []
    for k, text in enumerate(texts):
        reqs.append(ref.Request(1, 1 + k, m(text), number=str(100 + 37 * k)))
        reqs.append(ref.Request(2, 12 - k, m(text), lines="697877"[k % 6:] + "697877"[:k % 6]))
        reqs.append(ref.Request(3, 6, m(text), time_choice="current"))
    return reqs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, help="path of quenmar-cli")
    parser.add_argument("--count", type=int, default=2000, help="random casts (default 2000)")
    parser.add_argument("--seed", type=int, default=20241206)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--show", type=int, default=10, help="mismatches shown in full")
    opts = parser.parse_args()

    started = time.monotonic()
    bias = ref.SHANGHAI_BIAS
    checker = check_engine.Checker(opts.cli, opts.jobs, opts.show)
    requests = (edge_requests() + check_engine.fixed_requests()
                + check_engine.random_requests(random.Random(opts.seed), opts.count))
    charts = [ref.run(req) for req in requests]
    years = [ref.Moment(round(c["chart"]["moment"] * ref.MS_PER_DAY)).fields()[0] for c in charts]
    in_range = [y for y in years if FIRST_YEAR <= y <= LAST_YEAR]
    terms = Terms(min(in_range) - 1, max(in_range) + 1)

    seen = dict.fromkeys(["hidden", "two relations hidden", "六冲", "六合", "void", "monthBreak", "dayClash",
                          "body off the chart", "no pillars", "not judged"], 0)
    compared = 0
    for start in range(0, len(requests), 500):
        batch = requests[start:start + 500]
        for k, result in enumerate(checker.run_all([r.argv() for r in batch])):
            req, chart = batch[k], charts[start + k]
            actual = checker.parse("cast", req.argv(), result)
            if actual is not None:
                compared += 1
                compare(checker, req, actual, expected_annotations(chart["chart"], chart["grid"], terms, bias),
                        bias, seen)

    print("casts compared: %d, %.1f s; casts with %s" % (
        compared, time.monotonic() - started, ", ".join("%s %d" % kv for kv in seen.items())))
    unseen = [k for k, n in seen.items() if n == 0 and k != "not judged"]
    if unseen:
        print("FAILED: the sample never had " + ", ".join(unseen))
        return 1
    if checker.failures:
        print("FAILED: %d mismatches" % checker.failures)
        return 1
    print("all annotations agree")
    return 0


if __name__ == "__main__":
    sys.exit(main())
