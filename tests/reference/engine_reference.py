"""A second, independent implementation of the chart engine, used to cross-check quenmar-cli.

It is written from the program's documented rules alone and shares no code with src/engine/: the
tables are spelled out again, the calendar runs on integer milliseconds and the standard library's
proleptic Gregorian date arithmetic, and every text is assembled here once more. Moments are kept
as the program keeps them (days since 1899-12-30 00:00 local time, as a float), but every rule
that depends on the time of day works on whole milliseconds so that boundaries such as
00:00:00.500 are decided exactly rather than by floating-point luck.
"""

import datetime

# ---------------------------------------------------------------------------------------------
# Tables

STEMS = "甲乙丙丁戊己庚辛壬癸"
BRANCHES = "子丑寅卯辰巳午未申酉戌亥"
STEM_DIGITS = "3827504916"
BRANCH_DIGITS = "103857204956"
ELEMENT_NAMES = "金木水火土"
BRANCH_ELEMENTS = "水土木木土火火土金金土水"
TRIGRAM_NAMES = "乾兑离震巽坎艮坤"
TRIGRAM_LINES = ["111", "110", "101", "100", "011", "010", "001", "000"]
TRIGRAM_ELEMENTS = "金金火木木水土土"
RELATION_NAMES = ["兄弟", "父母", "妻财", "官鬼", "子孙"]
SPIRIT_ROWS = {
    "甲乙": "青龙朱雀勾陈腾蛇白虎玄武",
    "丙丁": "朱雀勾陈腾蛇白虎玄武青龙",
    "戊": "勾陈腾蛇白虎玄武青龙朱雀",
    "己": "腾蛇白虎玄武青龙朱雀勾陈",
    "庚辛": "白虎玄武青龙朱雀勾陈腾蛇",
}
SPIRIT_DEFAULT_ROW = "玄武青龙朱雀勾陈腾蛇白虎"
INNER_STEMS = "甲丁己庚辛戊丙乙"
OUTER_STEMS = "壬丁己庚辛戊丙癸"
INNER_START_BRANCHES = "子巳卯子丑寅辰未"
OUTER_START_BRANCHES = "午亥酉午未申戌丑"
YANG_BRANCH_RUN = "子寅辰午申戌"
YIN_BRANCH_RUN = "亥酉未巳卯丑"
GENERATING_CYCLE = [1, 3, 2, 4, 5]
CONTROLLING_CYCLE = [1, 2, 5, 3, 4]
SOUL_TEXTS = {0: "", 1: "游魂", 2: "归魂"}
LINE_LABELS = ["初爻:", "二爻:", "三爻:", "四爻:", "五爻:", "六爻:"]
HEXAGRAM_NAMES = (
    "乾为天,天风姤,天山遁,天地否,风地观,山地剥,火地晋,火天大有,"
    "兑为泽,泽水困,泽地萃,泽山咸,水山蹇,地山谦,雷山小过,雷泽归妹,"
    "离为火,火山旅,火风鼎,火水未济,山水蒙,风水涣,天水讼,天火同人,"
    "震为雷,雷地豫,雷水解,雷风恒,地风升,水风井,泽风大过,泽雷随,"
    "巽为风,风天小畜,风火家人,风雷益,天雷无妄,火雷噬嗑,山雷颐,山风蛊,"
    "坎为水,水泽节,水雷屯,水火既济,泽火革,雷火丰,地火明夷,地水师,"
    "艮为山,山火贲,山天大畜,山泽损,火泽睽,天泽履,风泽中孚,风山渐,"
    "坤为地,地雷复,地泽临,地天泰,雷天大壮,泽天夬,水天需,水地比"
).split(",")

NOTICE = (
    "----------以下各种名词为周易专业术语，请以代名词去理解，切勿以字面意义理解而迷信-----------"
)

# The images the trigrams stand for, as hexagram names spell them.
TRIGRAM_IMAGES = {"乾": "天", "兑": "泽", "离": "火", "震": "雷", "巽": "风", "坎": "水", "艮": "山", "坤": "地"}

# The sixty-four hexagrams in the received (King Wen) order, as upper trigram, lower trigram and
# the short name. Kept apart from HEXAGRAM_NAMES on purpose: it is a second source for the names.
KING_WEN = [
    ("乾", "乾", "乾"), ("坤", "坤", "坤"), ("坎", "震", "屯"), ("艮", "坎", "蒙"),
    ("坎", "乾", "需"), ("乾", "坎", "讼"), ("坤", "坎", "师"), ("坎", "坤", "比"),
    ("巽", "乾", "小畜"), ("乾", "兑", "履"), ("坤", "乾", "泰"), ("乾", "坤", "否"),
    ("乾", "离", "同人"), ("离", "乾", "大有"), ("坤", "艮", "谦"), ("震", "坤", "豫"),
    ("兑", "震", "随"), ("艮", "巽", "蛊"), ("坤", "兑", "临"), ("巽", "坤", "观"),
    ("离", "震", "噬嗑"), ("艮", "离", "贲"), ("艮", "坤", "剥"), ("坤", "震", "复"),
    ("乾", "震", "无妄"), ("艮", "乾", "大畜"), ("艮", "震", "颐"), ("兑", "巽", "大过"),
    ("坎", "坎", "坎"), ("离", "离", "离"), ("兑", "艮", "咸"), ("震", "巽", "恒"),
    ("乾", "艮", "遁"), ("震", "乾", "大壮"), ("离", "坤", "晋"), ("坤", "离", "明夷"),
    ("巽", "离", "家人"), ("离", "兑", "睽"), ("坎", "艮", "蹇"), ("震", "坎", "解"),
    ("艮", "兑", "损"), ("巽", "震", "益"), ("兑", "乾", "夬"), ("乾", "巽", "姤"),
    ("兑", "坤", "萃"), ("坤", "巽", "升"), ("兑", "坎", "困"), ("坎", "巽", "井"),
    ("兑", "离", "革"), ("离", "巽", "鼎"), ("震", "震", "震"), ("艮", "艮", "艮"),
    ("巽", "艮", "渐"), ("震", "兑", "归妹"), ("震", "离", "丰"), ("离", "艮", "旅"),
    ("巽", "巽", "巽"), ("兑", "兑", "兑"), ("巽", "坎", "涣"), ("坎", "兑", "节"),
    ("巽", "兑", "中孚"), ("震", "艮", "小过"), ("坎", "离", "既济"), ("离", "坎", "未济"),
]


def king_wen_names():
    """Full names keyed by (upper, lower) trigram number: "X为Y" for the pure hexagrams, else the
    two images followed by the short name."""
    names = {}
    for upper, lower, short in KING_WEN:
        if upper == lower:
            full = upper + "为" + TRIGRAM_IMAGES[upper]
        else:
            full = TRIGRAM_IMAGES[upper] + TRIGRAM_IMAGES[lower] + short
        names[(TRIGRAM_NAMES.index(upper) + 1, TRIGRAM_NAMES.index(lower) + 1)] = full
    return names


# ---------------------------------------------------------------------------------------------
# Lookups


def stem_number(stem):
    if stem == "":
        return 1
    pos = STEMS.find(stem) if len(stem) == 1 else -1
    return pos + 1


def stem_digit(stem):
    if stem == "":
        return 3
    n = stem_number(stem)
    return int(STEM_DIGITS[n - 1]) if n > 0 else 0


def branch_digit(branch):
    if branch == "":
        return 1
    pos = BRANCHES.find(branch) if len(branch) == 1 else -1
    return int(BRANCH_DIGITS[pos]) if pos >= 0 else 0


def branch_element(branch):
    if branch == "":
        return "水"
    pos = BRANCHES.find(branch) if len(branch) == 1 else -1
    return BRANCH_ELEMENTS[pos] if pos >= 0 else ""


def element_number(element):
    if element == "":
        return 1
    pos = ELEMENT_NAMES.find(element) if len(element) == 1 else -1
    return pos + 1


def branch_text(n):
    return BRANCHES[n - 1] if 1 <= n <= 12 else ""


def trigram_name(n):
    return TRIGRAM_NAMES[n - 1] if 1 <= n <= 8 else ""


def trigram_lines(n):
    return TRIGRAM_LINES[n - 1] if 1 <= n <= 7 else "000"


def trigram_number(lines):
    for i, entry in enumerate(TRIGRAM_LINES):
        if entry == lines:
            return i + 1
    return 8


def flip_lines(lines):
    return "".join("1" if c == "0" else "0" for c in lines)


def hexagram_name(palace, generation):
    return HEXAGRAM_NAMES[(palace - 1) * 8 + generation - 1]


def spirit_order(day_stem_number):
    row = SPIRIT_DEFAULT_ROW
    if 1 <= day_stem_number <= 10:
        stem = STEMS[day_stem_number - 1]
        for stems, text in SPIRIT_ROWS.items():
            if stem in stems:
                row = text
    return [row[2 * i : 2 * i + 2] for i in range(6)]


def relation_of(palace_element, line_element):
    if palace_element == line_element:
        return 0
    a = GENERATING_CYCLE.index(palace_element)
    b = GENERATING_CYCLE.index(line_element)
    if (a == 4 and b == 0) or b - a == 1:
        return 4
    if (a == 0 and b == 4) or a - b == 1:
        return 1
    g = CONTROLLING_CYCLE.index(palace_element)
    l = CONTROLLING_CYCLE.index(line_element)
    if (g == 4 and l == 0) or l - g == 1:
        return 2
    return 3


# ---------------------------------------------------------------------------------------------
# Moments: float days since 1899-12-30 00:00 local time. Internally whole milliseconds.

MS_PER_DAY = 86_400_000
BASE_ORDINAL = datetime.date(1899, 12, 30).toordinal()


class Moment:
    """A local moment held as whole milliseconds since 1899-12-30 00:00 local time."""

    __slots__ = ("ms",)

    def __init__(self, ms):
        self.ms = ms

    @staticmethod
    def from_fields(year, month, day, hour=0, minute=0, second=0, millisecond=0):
        days = datetime.date(year, month, day).toordinal() - BASE_ORDINAL
        return Moment(days * MS_PER_DAY + ((hour * 60 + minute) * 60 + second) * 1000 + millisecond)

    @staticmethod
    def parse(text):
        """"YYYY-MM-DD HH:MM:SS[.mmm]" as the command line takes it."""
        date_part, time_part = text.split(" ")
        y, mo, d = (int(x) for x in date_part.split("-"))
        hms, _, frac = time_part.partition(".")
        h, mi, s = (int(x) for x in hms.split(":"))
        ms = int(frac) if frac else 0
        return Moment.from_fields(y, mo, d, h, mi, s, ms)

    @property
    def days(self):
        """The float day count the program stores."""
        return self.ms / MS_PER_DAY

    def date(self):
        return datetime.date.fromordinal(BASE_ORDINAL + self.ms // MS_PER_DAY)

    def fields(self):
        d = self.date()
        rest = self.ms % MS_PER_DAY
        return (d.year, d.month, d.day, rest // 3_600_000, rest // 60_000 % 60, rest // 1000 % 60,
                rest % 1000)

    def hour(self):
        return self.ms % MS_PER_DAY // 3_600_000

    def text(self):
        y, mo, d, h, mi, s, ms = self.fields()
        if ms:
            return "%04d-%02d-%02d %02d:%02d:%02d.%03d" % (y, mo, d, h, mi, s, ms)
        return "%04d-%02d-%02d %02d:%02d:%02d" % (y, mo, d, h, mi, s)


CHART_EPOCH = Moment.from_fields(2022, 11, 7, 0, 0, 1)
UNIX_EPOCH_DAYS = 25569
SHANGHAI_BIAS = -480


def date_time_text(moment):
    y, mo, d, h, mi, s, _ = moment.fields()
    text = "%d年%d月%d日" % (y, mo, d)
    if s != 0:
        text += "%d时%d分%d秒" % (h, mi, s)
    elif mi != 0:
        text += "%d时%d分" % (h, mi)
    elif h != 0:
        text += "%d时" % h
    return text


def epoch_ms(moment, bias_minutes):
    """Milliseconds since 1970-01-01 00:00 UTC with the zone's standard bias (UTC = local + bias).
    The moment already is whole milliseconds, so the half-up rounding has nothing to do."""
    return moment.ms - UNIX_EPOCH_DAYS * MS_PER_DAY + bias_minutes * 60_000


def day_count(moment):
    # floor(moment - CHART_EPOCH + 0.5 s) for every moment, on whole milliseconds.
    return (moment.ms - CHART_EPOCH.ms + 500) // MS_PER_DAY


def day_pillar(moment):
    n = day_count(moment)
    return STEMS[n % 10] + BRANCHES[n % 12]


def hour_index(moment):
    return (moment.hour() + 1) // 2 % 12


def hour_number(moment):
    return (moment.hour() + 1) // 2


def hour_pillar(moment, day_stem):
    s = stem_number(day_stem)
    shift = s - 1 if s - 1 <= 4 else s - 6
    idx = hour_index(moment)
    return STEMS[(idx + 2 * shift) % 10] + BRANCHES[idx]


def jdn_day_pillar(date):
    """The sexagenary day from the Julian day number alone: (JDN - 11) mod 60, 0 being 甲子."""
    jdn = date.toordinal() + 1_721_425
    n = (jdn - 11) % 60
    return STEMS[n % 10] + BRANCHES[n % 12]


# ---------------------------------------------------------------------------------------------
# Casting

GAME_SCHEDULES = {
    # code: (draw time, {isoweekday: (days on time, days when late)})
    100: ((21, 30), {w: (0, 0) for w in range(1, 8)}),
    101: ((21, 15), {7: (0, 2), 2: (0, 2), 4: (0, 3), 1: (1, 1), 3: (1, 1), 6: (1, 1), 5: (2, 2)}),
    106: ((21, 25), {7: (0, 2), 5: (0, 2), 2: (0, 3), 1: (1, 1), 4: (1, 1), 6: (1, 1), 3: (2, 2)}),
}


def draw_moment(t0, game_code):
    if game_code not in GAME_SCHEDULES:
        return t0
    (hh, mm), table = GAME_SCHEDULES[game_code]
    _, _, _, h, _, s, _ = t0.fields()
    on_time, late = table[t0.date().isoweekday()]
    days = late if h >= 22 else on_time
    d = t0.date() + datetime.timedelta(days=days)
    return Moment.from_fields(d.year, d.month, d.day, hh, mm, s, 0)


def mod8(x):
    return x % 8 or 8


def mod6(x):
    return x % 6 or 6


def text_value(text):
    if text != "" and all("0" <= c <= "9" for c in text):
        return int(text)
    return 0


def digit_sum(text):
    return sum(ord(c) - 48 for c in text if "0" <= c <= "9")


def cast_by_number(text, hour_num):
    """(upper, lower, movingLine), or None when nothing is cast."""
    n = len(text)
    if n == 0:
        return None
    if n == 1:
        upper, lower = mod8(text_value(text)), mod8(hour_num)
        return upper, lower, mod6(upper + lower)
    if n == 2:
        a, b = text_value(text[0]), text_value(text[1])
        return mod8(a), mod8(b), mod6(a + b)
    if n == 3:
        zero = text.find("0")
        if zero == -1:
            return mod8(text_value(text[0])), mod8(text_value(text[1])), mod6(text_value(text[2]))
        if zero == 1:
            t = text_value(text[:2])
            return mod8(t), mod8(t), mod6(text_value(text[2]))
        a, r = text_value(text[0]), text_value(text[1:])
        return mod8(a), mod8(r), mod6(a + r)
    k = n // 2
    if n % 2 == 0:
        return mod8(digit_sum(text[:k])), mod8(digit_sum(text[k:])), mod6(digit_sum(text))
    tail = text[k:]
    return mod8(digit_sum(text[:k])), mod8(digit_sum(tail)), mod6(digit_sum(tail))


def flip_char(c):
    return "1" if c == "0" else "0"


def changed_by_moving_line(upper_lines, lower_lines, moving_line):
    if moving_line <= 3:
        i = moving_line - 1
        return upper_lines, lower_lines[:i] + flip_char(lower_lines[i]) + lower_lines[i + 1 :]
    i = moving_line - 4
    return upper_lines[:i] + flip_char(upper_lines[i]) + upper_lines[i + 1 :], lower_lines


def changed_by_flags(upper_lines, lower_lines, flags):
    lower = "".join(flip_char(c) if flags[i] != 0 else c for i, c in enumerate(lower_lines))
    upper = "".join(flip_char(c) if flags[i + 3] != 0 else c for i, c in enumerate(upper_lines))
    return upper, lower


# ---------------------------------------------------------------------------------------------
# Derivation


class Gua:
    def __init__(self, upper, lower):
        self.upper = upper
        self.lower = lower
        self.upper_lines = trigram_lines(upper)
        self.lower_lines = trigram_lines(lower)
        self.line_bits = list(self.lower_lines + self.upper_lines)
        self.spirits = []
        self.relations = []
        self.ganzhi = []
        self.elements = []
        self.shi = self.ying = self.soul = 0
        self.palace = self.generation = 0


def derive(upper, lower, day_stem=None):
    g = Gua(upper, lower)
    up, lo = g.upper_lines, g.lower_lines

    def same(k):
        return up[k - 1] == lo[k - 1]

    if up == lo:
        g.shi, g.ying = 6, 3
    elif same(3) and not same(1) and not same(2):
        g.shi, g.ying = 2, 5
    elif not same(3) and same(1) and same(2):
        g.shi, g.ying = 5, 2
    elif same(1) and not same(2) and not same(3):
        g.shi, g.ying = 4, 1
    elif not same(1) and same(2) and same(3):
        g.shi, g.ying = 1, 4
    elif not same(1) and not same(2) and not same(3):
        g.shi, g.ying = 3, 6
    elif same(2) and not same(1) and not same(3):
        g.shi, g.ying, g.soul = 4, 1, 1
    else:
        g.shi, g.ying, g.soul = 3, 6, 2

    if g.shi in (1, 2, 6) or (g.shi == 3 and g.soul != 2):
        g.palace = trigram_number(up)
    elif g.shi == 3:
        g.palace = trigram_number(lo)
    else:
        g.palace = trigram_number(flip_lines(lo))

    if g.soul == 1:
        g.generation = 7
    elif g.soul == 2:
        g.generation = 8
    else:
        g.generation = {1: 2, 2: 3, 3: 4, 4: 5, 5: 6}.get(g.shi, 1)

    if day_stem is not None:
        g.spirits = spirit_order(stem_number(day_stem))

    for stem, first in ((INNER_STEMS[lower - 1], INNER_START_BRANCHES[lower - 1]),
                        (OUTER_STEMS[upper - 1], OUTER_START_BRANCHES[upper - 1])):
        run = YIN_BRANCH_RUN if stem_number(stem) % 2 == 0 else YANG_BRANCH_RUN
        p = run.index(first)
        for j in range(3):
            branch = run[(p + j) % 6]
            g.ganzhi.append(stem + branch)
            g.elements.append(branch_element(branch))

    palace_element = element_number(TRIGRAM_ELEMENTS[g.palace - 1])
    g.relations = [RELATION_NAMES[relation_of(palace_element, element_number(e))] for e in g.elements]
    return g


# ---------------------------------------------------------------------------------------------
# The run


class Request:
    """What one `quenmar-cli cast` invocation asks for."""

    def __init__(self, method, zodiac, moment, number=None, lines=None, time_choice="draw",
                 game=100):
        self.method = method  # 1 number, 2 hand, 3 milliseconds
        self.zodiac = zodiac
        self.moment = moment  # Moment: the clock reading (--moment)
        self.number = number  # --number, or None
        self.lines = lines  # --lines, six characters of 6/7/8/9
        self.time_choice = time_choice  # "current" or "draw"
        self.game = game

    def argv(self):
        names = {1: "number", 2: "hand", 3: "ms"}
        args = ["cast", "--method", names[self.method], "--zodiac", str(self.zodiac),
                "--moment", self.moment.text()]
        if self.number is not None:
            args += ["--number", self.number]
        if self.lines is not None:
            args += ["--lines", self.lines]
        if self.method == 3:
            args += ["--time", self.time_choice, "--game", str(self.game)]
        return args + ["--json"]


HAND_LINES = {"6": ("0", -1), "7": ("1", 0), "8": ("0", 0), "9": ("1", 1)}


def run(req, bias_minutes=SHANGHAI_BIAS):
    """The outcome of one cast as the command line's JSON gives it: title, labels, grid, report
    and the chart's fields."""
    moment = req.moment
    number_text = ""
    upper_req = lower_req = ""
    flags = None
    time_choice = 0
    if req.method == 1:
        number_text = req.number.strip(" ")
    elif req.method == 2:
        bits = [HAND_LINES[c][0] for c in req.lines]
        flags = [HAND_LINES[c][1] for c in req.lines]
        lower_req, upper_req = "".join(bits[:3]), "".join(bits[3:])
    else:
        time_choice = 2 if req.time_choice == "draw" else 1
        if req.number is not None:
            number_text = req.number
        else:
            n = epoch_ms(moment, bias_minutes)
            if time_choice == 2:
                moment = draw_moment(moment, req.game)
                number_text = str(epoch_ms(moment, bias_minutes) + n % 1000)
            else:
                number_text = str(n)

    pillar = day_pillar(moment)
    hpillar = hour_pillar(moment, pillar[0])
    zbranch = branch_text(req.zodiac)
    chart = {
        "method": req.method,
        "numberText": number_text,
        "upperLines": upper_req,
        "lowerLines": lower_req,
        "timeChoice": time_choice,
        "moment": moment.days,
        "zodiac": req.zodiac,
        "zodiacBranch": zbranch,
        "zodiacDigit": branch_digit(zbranch),
        "zodiacElement": branch_element(zbranch),
        "dayPillar": pillar,
        "dayStem": pillar[0],
        "dayBranch": pillar[1],
        "dayStemDigit": stem_digit(pillar[0]),
        "dayBranchDigit": branch_digit(pillar[1]),
        "hourPillar": hpillar,
        "hourStem": hpillar[0],
        "hourBranch": hpillar[1],
        "hourStemDigit": stem_digit(hpillar[0]),
        "hourBranchDigit": branch_digit(hpillar[1]),
    }
    label = {1: "数字x起卦", 2: "自己装卦", 3: "超时空毫秒起卦"}[req.method]
    label = label.replace("x", number_text if req.method == 1 else "")
    title = "以" + label + ",卦主生肖:" + zbranch + ",日主:" + pillar + ",时辰:" + hpillar

    if req.method == 2:
        primary = derive(trigram_number(upper_req), trigram_number(lower_req), pillar[0])
        cu, cl = changed_by_flags(upper_req, lower_req, flags)
        marks = list(flags)
    else:
        upper, lower, moving = cast_by_number(number_text, hour_number(moment))
        primary = derive(upper, lower, pillar[0])
        cu, cl = changed_by_moving_line(primary.upper_lines, primary.lower_lines, moving)
        marks = [0] * 6
        marks[moving - 1] = 1 if primary.line_bits[moving - 1] == "1" else -1
    changed = derive(trigram_number(cu), trigram_number(cl))

    def name_label(prefix, g):
        return (prefix + " " + trigram_name(g.palace) + "宫 (" + str(g.generation) + ") "
                + hexagram_name(g.palace, g.generation) + " " + SOUL_TEXTS[g.soul])

    chart.update({
        "primaryName": hexagram_name(primary.palace, primary.generation) + SOUL_TEXTS[primary.soul],
        "primaryPalaceName": trigram_name(primary.palace),
        "primaryGeneration": primary.generation,
        "changedName": hexagram_name(changed.palace, changed.generation) + SOUL_TEXTS[changed.soul],
        "changedPalaceName": trigram_name(changed.palace),
        "changedGeneration": changed.generation,
        "primarySpirits": list(primary.spirits),
        "primaryRelations": list(primary.relations),
        "primaryStems": [gz[0] for gz in primary.ganzhi],
        "primaryBranches": [gz[1] for gz in primary.ganzhi],
        "primaryStemDigits": [stem_digit(gz[0]) for gz in primary.ganzhi],
        "primaryBranchDigits": [branch_digit(gz[1]) for gz in primary.ganzhi],
        "primaryElements": list(primary.elements),
        "shiIndex": primary.shi - 1,
        "yingIndex": primary.ying - 1,
        "movingMarks": marks,
        "changedRelations": list(changed.relations),
        "changedStems": [gz[0] for gz in changed.ganzhi],
        "changedBranches": [gz[1] for gz in changed.ganzhi],
        "changedStemDigits": [stem_digit(gz[0]) for gz in changed.ganzhi],
        "changedBranchDigits": [branch_digit(gz[1]) for gz in changed.ganzhi],
        "changedElements": list(changed.elements),
        "changedShiIndex": changed.shi - 1,
        "changedYingIndex": changed.ying - 1,
    })

    def shi_ying(g, line):
        return "世" if line == g.shi else ("应" if line == g.ying else "")

    rows = []
    for i in range(6):
        mark = {1: "○", 0: ""}.get(marks[i], "×")
        rows.append([primary.spirits[i], primary.relations[i], primary.ganzhi[i], primary.elements[i],
                     primary.line_bits[i], shi_ying(primary, i + 1), mark, changed.relations[i],
                     changed.ganzhi[i], changed.elements[i], changed.line_bits[i],
                     shi_ying(changed, i + 1)])
    grid = rows[::-1]

    return {
        "title": title,
        "primaryLabel": name_label("本卦:", primary),
        "changedLabel": name_label("变卦", changed),
        "grid": grid,
        "report": report_text(chart, moment),
        "chart": chart,
    }


def report_text(r, moment):
    s, y, y2 = r["shiIndex"], r["yingIndex"], r["changedYingIndex"]

    def line_text(i, role, j):
        motion = "发动而变>" if r["movingMarks"][i] != 0 else "不动而变>"
        return (r["primarySpirits"][i] + "," + r["primaryRelations"][i] + ",五行属"
                + r["primaryElements"][i] + role + r["primaryStems"][i] + "->"
                + str(r["primaryStemDigits"][i]) + "," + r["primaryBranches"][i] + "->"
                + str(r["primaryBranchDigits"][i]) + ";" + motion + r["changedRelations"][j]
                + ",五行属" + r["changedElements"][j] + "," + r["changedStems"][j] + "->"
                + str(r["changedStemDigits"][j]) + "," + r["changedBranches"][j] + "->"
                + str(r["changedBranchDigits"][j]))

    lines = [
        " " * 12 + "在" + date_time_text(moment) + "日主:" + r["dayPillar"] + ",时辰:"
        + r["hourPillar"] + ",属" + r["zodiacBranch"] + "的卦主测得:",
        " " * 11 + "(" + r["primaryPalaceName"] + "宫第" + str(r["primaryGeneration"]) + "卦)"
        + r["primaryName"] + "变卦为:(" + r["changedPalaceName"] + "宫第"
        + str(r["changedGeneration"]) + "卦)" + r["changedName"],
        NOTICE,
        "",
        "卦基数:",
        "日主:" + r["dayStem"] + "->" + str(r["dayStemDigit"]) + "," + r["dayBranch"] + "->"
        + str(r["dayBranchDigit"]),
        "卦主:" + r["zodiacBranch"] + "->" + str(r["zodiacDigit"]),
        "时辰:" + r["hourStem"] + "->" + str(r["hourStemDigit"]) + "," + r["hourBranch"] + "->"
        + str(r["hourBranchDigit"]),
        "",
        "爻基数:",
        line_text(s, "持世,", s),
        line_text(y, "应爻,", y2),
        "",
    ]
    for d in range(6):
        if d in (s, y):
            continue
        mark = "化世" if d == r["changedShiIndex"] else ("化应" if d == r["changedYingIndex"] else "")
        lines.append(LINE_LABELS[d] + line_text(d, ",", d) + mark)
    return "卦解:" + "".join(line + "\r\n" for line in lines)
