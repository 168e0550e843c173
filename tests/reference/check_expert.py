#!/usr/bin/env python3
"""Cross-checks the expert layer's solar terms and its year and month pillars against PyEphem
(Debian's python3-ephem), an astronomy implementation of its own: libastro's VSOP87 Sun, IAU 1980
nutation and its own ΔT, where the C++ layer uses ERFA with the IAU 2006/2000A models.

  * terms: every 节 from 1900 to 2100, found as the instant the Sun's apparent ecliptic longitude
    reaches 315° + 30°·k, compared with expert_probe's instants twice: on the civil clock (each
    side with its own ΔT, the figure the almanacs compare) and in TT (the astronomy alone).
  * pillars: thousands of random moments from 1950 to 2100 and moments a few minutes either side
    of every term, in two time zones; year pillar by 立春 and month pillar by the 节 in force with
    the 五虎遁 stems, by rules written here afresh. Moments within one minute of a term are not
    judged.

Reproducible from the seed; prints the largest differences; exit status 1 on any failure.
"""

import argparse
import bisect
import math
import random
import subprocess
import sys

try:
    import ephem
except ImportError:
    sys.exit("check_expert: python3-ephem is missing (scripts/bootstrap installs it)")

STEMS = "甲乙丙丁戊己庚辛壬癸"
BRANCHES = "子丑寅卯辰巳午未申酉戌亥"
MONTH_BRANCHES = "寅卯辰巳午未申酉戌亥子丑"  # the months from 立春 on
YIN_MONTH_STEM = dict(zip("甲乙丙丁戊己庚辛壬癸", "丙戊庚壬甲丙戊庚壬甲"))  # 五虎遁
TERM_NAMES = ["小寒", "立春", "惊蛰", "清明", "立夏", "芒种", "小暑", "立秋", "白露", "寒露", "立冬", "大雪"]

MS_PER_DAY = 86_400_000
DUBLIN_JD = 2415020.0   # ephem.Date(0) as a Julian date
UNIX_EPOCH_DJD = 25567.5  # 1970-01-01 00:00 as an ephem.Date
CIVIL_LIMIT_S = 60.0    # the accuracy: within one minute of the almanacs
# In TT the two differ by up to 18 s over 1900-2100, in two parts: a yearly swing of about ±8 s
# (the reference's Sun lags in January and leads in July, as an aberration taken constant rather
# than varying with the Sun's distance would make it) and a drift of some 7 s a century (the size
# of the IAU 2000 correction to the precession rate, 0.3" a century, which ERFA has).
TT_LIMIT_S = 30.0
NOT_JUDGED_MS = 60_000


def longitude(date):
    sun = ephem.Sun()
    sun.compute(date)
    return float(ephem.Ecliptic(ephem.Equatorial(sun.g_ra, sun.g_dec, epoch=date), epoch=date).lon)


def ephem_term(year, index):
    """The UT instant (ms since 1970) of 节 `index` of civil year `year`, and ephem's ΔT there."""
    target = math.radians((285 + 30 * index) % 360)
    new_year = ephem.Date("%d/1/1" % year)
    # The mean Sun, about 280° on 1 January, gives a guess within two days.
    mean = math.radians(280.46646 + 0.98564736 * (float(new_year) + DUBLIN_JD - 2451545.0))
    guess = float(new_year) + ((target - mean) % (2 * math.pi)) / math.radians(0.98564736)

    def gap(d):
        return (longitude(ephem.Date(d)) - target + math.pi) % (2 * math.pi) - math.pi

    d = ephem.newton(gap, guess, guess + 0.01)
    return (float(d) - UNIX_EPOCH_DJD) * MS_PER_DAY, ephem.delta_t(ephem.Date(d))


def run_probe(probe, args, stdin=None):
    done = subprocess.run([probe] + args, input=stdin, capture_output=True, text=True, check=False)
    if done.returncode != 0:
        sys.exit("expert_probe %s failed: %s" % (" ".join(args), done.stderr.strip()))
    return done.stdout.splitlines()


def check_terms(probe, first, last):
    ours = {}
    for line in run_probe(probe, ["terms", str(first), str(last)]):
        year, index, ms, tt_minus_civil = line.split()
        ours[(int(year), int(index))] = (int(ms), float(tt_minus_civil))
    worst_civil = (0.0, None)
    worst_tt = (0.0, None)
    terms = []
    for year in range(first, last + 1):
        for index in range(12):
            theirs_ms, their_delta_t = ephem_term(year, index)
            our_ms, our_delta_t = ours[(year, index)]
            civil = (our_ms - theirs_ms) / 1000.0
            tt = civil + our_delta_t - their_delta_t
            if abs(civil) > abs(worst_civil[0]):
                worst_civil = (civil, (year, index))
            if abs(tt) > abs(worst_tt[0]):
                worst_tt = (tt, (year, index))
            terms.append((theirs_ms, year, index))

    def named(worst):
        return "%+.1f s (%d %s)" % (worst[0], worst[1][0], TERM_NAMES[worst[1][1]])

    print("terms %d-%d: %d compared; largest difference on the civil clock %s, in TT %s"
          % (first, last, len(terms), named(worst_civil), named(worst_tt)))
    ok = abs(worst_civil[0]) < CIVIL_LIMIT_S and abs(worst_tt[0]) < TT_LIMIT_S
    if not ok:
        print("FAIL: a term lies further from the reference than %g s (civil) or %g s (TT)"
              % (CIVIL_LIMIT_S, TT_LIMIT_S))
    return ok, terms


def reference_pillars(instant, term_instants, terms):
    """Year and month pillars at an instant from the reference's terms; None near a term."""
    at = bisect.bisect_right(term_instants, instant) - 1
    nearest = min(abs(instant - term_instants[k]) for k in (at, at + 1) if 0 <= k < len(term_instants))
    if at < 0 or nearest < NOT_JUDGED_MS:
        return None
    _, year, index = terms[at]
    solar_year = year if index >= 1 else year - 1   # 小寒 still belongs to the year before 立春
    cycle = (solar_year - 1984) % 60                # 1984 was a 甲子 year
    year_stem = STEMS[cycle % 10]
    month = (index - 1) % 12                        # 0 the 寅 month from 立春
    month_stem = STEMS[(STEMS.index(YIN_MONTH_STEM[year_stem]) + month) % 10]
    return "%s%s %s%s %d %d" % (year_stem, BRANCHES[cycle % 12], month_stem, MONTH_BRANCHES[month], year, index)


def epoch_ms(moment, bias):
    # The program's rule: half-up rounding of the local milliseconds, then the standard bias.
    return math.floor((moment - 25569.0) * MS_PER_DAY + 0.5) + bias * 60_000


def check_pillars(probe, terms, seed, count, first_year, last_year):
    rng = random.Random(seed)
    term_instants = [t[0] for t in terms]
    start = (ephem.Date("%d/1/1" % first_year) - UNIX_EPOCH_DJD) * MS_PER_DAY
    end = (ephem.Date("%d/1/1" % (last_year + 1)) - UNIX_EPOCH_DJD) * MS_PER_DAY
    failures = judged = skipped = 0
    for bias in (-480, 0):
        instants = [rng.uniform(start, end) for _ in range(count)]
        instants += [t + side * rng.uniform(61_000, 600_000)
                     for t in term_instants if start <= t < end for side in (-1, 1)]
        moments = [(t - bias * 60_000) / MS_PER_DAY + 25569.0 for t in instants]
        lines = run_probe(probe, ["pillars", str(bias)], "".join(repr(m) + "\n" for m in moments))
        for moment, line in zip(moments, lines):
            expected = reference_pillars(epoch_ms(moment, bias), term_instants, terms)
            if expected is None:
                skipped += 1
                continue
            judged += 1
            if line != expected:
                failures += 1
                if failures <= 10:
                    print("MISMATCH at moment %r bias %d: expected %s, got %s" % (moment, bias, expected, line))
    print("pillars %d-%d: %d moments judged, %d within a minute of a term not judged, %d mismatches"
          % (first_year, last_year, judged, skipped, failures))
    return failures == 0 and judged > 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--probe", required=True, help="the built expert_probe")
    parser.add_argument("--seed", type=int, default=20240204)
    parser.add_argument("--moments", type=int, default=3000, help="random moments per time zone")
    args = parser.parse_args()

    terms_ok, terms = check_terms(args.probe, 1900, 2100)
    pillars_ok = check_pillars(args.probe, terms, args.seed, args.moments, 1950, 2100)
    return 0 if terms_ok and pillars_ok else 1


if __name__ == "__main__":
    sys.exit(main())
