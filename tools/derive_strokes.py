#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Derive the name-analysis stroke table (data/strokes.txt).

Every Chinese ideograph that GBK (code page 936) encodes, and every CJK
unified ideograph of the other blocks (Extension A onwards) that Unihan gives
a stroke count for, gets one stroke count in the traditional (Kangxi
dictionary) convention used for five-grid name analysis:

  * the character is counted in its traditional form: simplified characters
    are mapped with OpenCC's simplified-to-traditional character table,
    taking the first candidate;
  * the count is the stroke count of the full Kangxi radical (氵 counts as
    水 4, 艹 as 艸 6, 阝 as 阜 8 or 邑 7, flesh 月 as 肉 6, ...) plus the
    residual strokes recorded in Unihan (kRSKangXi, else kRSUnicode);
  * a radical character counts as the radical (骨 10); a variant form of a
    radical (residual 0 or less, as 王 under 玉) counts its own strokes;
  * the count is never below the character's own total (kTotalStrokes),
    which repairs the few dictionary residuals that undercount the glyph;
  * a compatibility ideograph counts as its unified equivalent;
  * the numerals 一..十, 百, 千, 万 are counted by their value;
  * a hand-kept list of name-use overrides wins over everything;
  * a count above 64 is left out: the store takes 1 to 64 (two characters
    of Extension G count more).

Inputs: the Debian packages unicode-data (Unihan bz2 files under
/usr/share/unicode/) and opencc (opencc_dict and STCharacters.ocd2).

Usage:
  python3 tools/derive_strokes.py > data/strokes.txt
  python3 tools/derive_strokes.py data/strokes.txt

The script checks a list of well-known values and exits non-zero if any of
them does not come out as expected.
"""

import bz2
import os
import subprocess
import sys
import tempfile
import unicodedata

UNICODE_DIR = "/usr/share/unicode"
UNIHAN_IRG = os.path.join(UNICODE_DIR, "Unihan_IRGSources.txt.bz2")
UNIHAN_RS = os.path.join(UNICODE_DIR, "Unihan_RadicalStrokeCounts.txt.bz2")
BLOCKS = os.path.join(UNICODE_DIR, "Blocks.txt")
CJK_RADICALS = os.path.join(UNICODE_DIR, "CJKRadicals.txt")
OPENCC_ST = "/usr/share/opencc/STCharacters.ocd2"

# Stroke count of each of the 214 Kangxi radicals in its full form, by
# radical number.  The radicals are numbered in ascending stroke order, so
# the table is a list of (first radical number, strokes) runs.
_RADICAL_RUNS = [
    (1, 1),     # 一 丨 丶 丿 乙 亅
    (7, 2),     # 二 .. 十 卜 卩 厂 厶 又
    (30, 3),    # 口 .. 彳 (心 starts the 4-stroke run)
    (61, 4),    # 心 手 支 .. 犬
    (95, 5),    # 玄 玉 瓜 .. 立
    (118, 6),   # 竹 米 糸 .. 肉 .. 艸 .. 衣 襾
    (147, 7),   # 見 角 言 .. 辵 邑 酉 釆 里
    (167, 8),   # 金 長 門 阜 隶 隹 雨 靑 非
    (176, 9),   # 面 革 韋 韭 音 頁 風 飛 食 首 香
    (187, 10),  # 馬 骨 高 髟 鬥 鬯 鬲 鬼
    (195, 11),  # 魚 鳥 鹵 鹿 麥 麻
    (201, 12),  # 黃 黍 黑 黹
    (205, 13),  # 黽 鼎 鼓 鼠
    (209, 14),  # 鼻 齊
    (211, 15),  # 齒
    (212, 16),  # 龍 龜
    (214, 17),  # 龠
]


def _radical_strokes_table():
    table = {}
    for i, (start, strokes) in enumerate(_RADICAL_RUNS):
        end = _RADICAL_RUNS[i + 1][0] if i + 1 < len(_RADICAL_RUNS) else 215
        for number in range(start, end):
            table[number] = strokes
    return table


RADICAL_STROKES = _radical_strokes_table()

# Radicals whose dictionary count differs from the modern count that Unihan
# gives as kTotalStrokes (radical number: modern count).  Any other
# disagreement means the table above is wrong.
MODERN_RADICAL_COUNTS = {
    54: 2,    # 廴
    98: 4,    # 瓦
    114: 4,   # 禸
    188: 9,   # 骨
    194: 9,   # 鬼
    206: 12,  # 鼎
    213: 17,  # 龜
}

# Numerals are counted by the number they stand for.
NUMERALS = {
    "一": 1, "二": 2, "三": 3, "四": 4, "五": 5,
    "六": 6, "七": 7, "八": 8, "九": 9, "十": 10,
    "百": 6, "千": 3, "万": 15,
}

# Name-use overrides; these win over everything else.
#
# Surnames and name characters that keep their own form, although the
# simplified-to-traditional table would turn them into another word
# (于→於, 余→餘, 沈→瀋, 范→範, 后→後, 干→幹, 胡→鬍, 党→黨, 栗→慄, ...).
# Each value must equal the derivation of the character itself.
_KEEP_OWN_FORM = {
    "于": 3, "余": 7, "沈": 8, "范": 11, "后": 6, "干": 3, "胡": 11,
    "郁": 13, "涂": 11, "游": 13, "谷": 7, "松": 8, "姜": 9, "千": 3,
    "台": 5, "里": 7, "朴": 6, "岳": 8, "斗": 4, "征": 8, "岩": 8,
    "丑": 4, "凶": 4, "吃": 6,
    # Surnames 党, 咸, 种, 占, 栗 and the name character 采.
    "党": 10, "咸": 9, "种": 9, "占": 5, "栗": 10, "采": 8,
}
# Forced traditional forms where the first candidate is not the name form.
# Each value must equal the derivation of the form given.
_FORCED_FORMS = {
    "叶": ("葉", 15), "刘": ("劉", 15), "云": ("雲", 12),
    "发": ("發", 12), "钟": ("鍾", 17), "杰": ("傑", 12),
}
# Values fixed by name-book usage rather than by the dictionary position:
# 熙/煕 13 (old glyph with 臣), 節/节 15 (old glyph 卽), and 强/強 12 (the
# dictionary position of 強 gives 11; name books count the character as 12).
# 〇 has no dictionary entry; it is written with a single stroke.
# 愹 is filed under 心 + 19 in the source data, a slip for 心 + 10.
_NAME_BOOK = {
    "熙": 13, "煕": 13, "節": 15, "节": 15, "强": 12, "強": 12,
    "〇": 1, "愹": 14,
}
OVERRIDES = {
    **_KEEP_OWN_FORM,
    **{ch: count for ch, (_, count) in _FORCED_FORMS.items()},
    **_NAME_BOOK,
}

# Values that must come out of the derivation; the script fails otherwise.
SPOT_CHECKS = {
    "张": 11, "王": 4, "李": 7, "刘": 15, "陈": 16, "杨": 13, "黄": 12,
    "赵": 14, "吴": 7, "周": 8, "江": 7, "汪": 8, "郭": 15, "邓": 19,
    "陆": 16, "花": 10, "范": 11, "于": 3, "四": 4, "九": 9, "罗": 20,
    "郑": 19, "叶": 15, "苏": 22, "琳": 13, "胡": 11,
    # Further common name characters.
    "林": 8, "明": 8, "华": 14, "国": 11, "伟": 11, "芳": 10, "海": 11,
    "涛": 18, "磊": 15, "丽": 19, "强": 12, "敏": 11, "静": 16, "婷": 12,
    "晓": 16, "欧": 15, "阳": 17, "司": 5, "马": 10, "诸": 16, "葛": 15,
    "月": 4, "示": 5, "水": 4, "道": 16, "福": 14, "玲": 10,
    "珍": 10, "服": 8, "期": 12, "朋": 8, "肖": 9, "育": 10, "孙": 10,
    "宇": 6, "轩": 10, "浩": 11, "博": 12, "文": 4, "龙": 16, "凤": 14,
    "万": 15, "百": 6, "十": 10, "熙": 13, "节": 15, "〇": 1,
    "成": 7, "诚": 14, "盛": 12, "兴": 16, "露": 21, "紫": 12, "斌": 12,
    "骨": 10, "鬼": 10, "魏": 18, "党": 10, "栗": 10, "冰": 6, "氵": 3,
}

_UNIHAN_FIELDS = ("kRSKangXi", "kRSUnicode", "kTotalStrokes")

# The largest count the reference store takes.
MAX_STROKES = 64


def load_unihan(wanted):
    """Return {char: {field: value}} for the characters in `wanted`."""
    data = {}
    for path in (UNIHAN_IRG, UNIHAN_RS):
        with bz2.open(path, "rt", encoding="utf-8") as f:
            for line in f:
                if not line.startswith("U+"):
                    continue
                code, field, value = line.rstrip("\n").split("\t", 2)
                if field not in _UNIHAN_FIELDS:
                    continue
                ch = chr(int(code[2:], 16))
                if ch in wanted:
                    data.setdefault(ch, {})[field] = value
    return data


def load_radical_characters():
    """Return {radical number: unified ideograph} for the 214 radicals."""
    radicals = {}
    with open(CJK_RADICALS, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            number, _, ideograph = (part.strip() for part in line.split(";"))
            if number.endswith("'"):
                continue  # simplified radical form
            radicals[int(number)] = chr(int(ideograph, 16))
    return radicals


def load_simplified_to_traditional():
    """Return {simplified: first traditional candidate} from OpenCC."""
    mapping = {}
    with tempfile.TemporaryDirectory() as tmp:
        text = os.path.join(tmp, "st.txt")
        subprocess.run(
            ["opencc_dict", "-i", OPENCC_ST, "-o", text, "-f", "ocd2",
             "-t", "text"],
            check=True, stdout=subprocess.DEVNULL)
        with open(text, encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if not line:
                    continue
                key, _, candidates = line.partition("\t")
                first = candidates.split(" ")[0] if candidates else ""
                if len(key) == 1 and len(first) == 1:
                    mapping[key] = first
    return mapping


def gbk_ideographs():
    """Every Chinese ideograph the GBK codec encodes, in code-point order."""
    ranges = [(0x3007, 0x3008),      # 〇
              (0x3400, 0x4DC0),      # Extension A
              (0x4E00, 0xA000),      # Unified Ideographs
              (0xF900, 0xFB00),      # Compatibility Ideographs
              (0x20000, 0x32000)]    # Extensions B..
    chars = []
    for lo, hi in ranges:
        for cp in range(lo, hi):
            ch = chr(cp)
            name = unicodedata.name(ch, "")
            if not (name.startswith("CJK UNIFIED IDEOGRAPH")
                    or name.startswith("CJK COMPATIBILITY IDEOGRAPH")
                    or name == "IDEOGRAPHIC NUMBER ZERO"):
                continue
            try:
                ch.encode("gbk")
            except UnicodeEncodeError:
                continue
            chars.append(ch)
    return chars


def unified_ideograph_ranges():
    """The code-point ranges of the CJK Unified Ideographs blocks, extensions
    included, from the package's Blocks.txt (newer than Python's own data)."""
    ranges = []
    with open(BLOCKS, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            span, name = (part.strip() for part in line.split(";"))
            if name.startswith("CJK Unified Ideographs"):
                lo, hi = span.split("..")
                ranges.append((int(lo, 16), int(hi, 16) + 1))
    return ranges


def counted_unified_ideographs():
    """Every CJK unified ideograph that Unihan gives a stroke count for."""
    ranges = unified_ideograph_ranges()
    chars = set()
    for path in (UNIHAN_IRG, UNIHAN_RS):
        with bz2.open(path, "rt", encoding="utf-8") as f:
            for line in f:
                if not line.startswith("U+"):
                    continue
                code, field, _ = line.split("\t", 2)
                if field not in _UNIHAN_FIELDS:
                    continue
                cp = int(code[2:], 16)
                if any(lo <= cp < hi for lo, hi in ranges):
                    chars.add(chr(cp))
    return chars


def first_total_strokes(entry):
    value = entry.get("kTotalStrokes")
    if not value:
        return None
    return int(value.split()[0])


def radical_residual_strokes(ch, entry, radicals):
    """Full-radical strokes + residual, or None without radical data.

    A residual of 0 or less marks the radical character itself or one of its
    variant forms.  The radical character counts as the radical (骨 10);
    a variant form counts its own strokes (王 4 under 玉, 氵 3 under 水).

    The dictionary residual occasionally undercounts the glyph (興 is filed
    under 臼 + 9 although 興 has 16 strokes; likewise 露, 紫, 泰, 斌).
    Writing a radical in its full form never lowers a count, so the result
    is at least the character's own total; only 龜, whose modern count
    exceeds the dictionary count, lowers that bound.
    """
    value = entry.get("kRSKangXi") or entry.get("kRSUnicode")
    if not value:
        return None
    radical, residual = value.split()[0].split(".")
    radical = int(radical.rstrip("'"))
    residual = int(residual)
    if residual <= 0:
        if radicals.get(radical) == ch:
            return RADICAL_STROKES[radical]
        return first_total_strokes(entry)
    count = RADICAL_STROKES[radical] + residual
    total = first_total_strokes(entry)
    if total is not None:
        modern = MODERN_RADICAL_COUNTS.get(radical, RADICAL_STROKES[radical])
        count = max(count, total - max(0, modern - RADICAL_STROKES[radical]))
    return count


def strokes_for(ch, traditional, unihan, radicals):
    # A compatibility ideograph counts as the unified ideograph it is
    # canonically equivalent to (U+F979 as 凉, U+FA18 as 礼).
    ch = unicodedata.normalize("NFC", ch)
    if ch in OVERRIDES:
        return OVERRIDES[ch]
    if ch in NUMERALS:
        return NUMERALS[ch]
    trad = traditional.get(ch, ch)
    forms = [trad] if trad == ch else [trad, ch]
    for form in forms:
        count = radical_residual_strokes(form, unihan.get(form, {}),
                                         radicals)
        if count is not None:
            return count
    for form in forms:
        count = first_total_strokes(unihan.get(form, {}))
        if count is not None:
            return count
    return None


def check_radical_table(unihan, radicals):
    """The radical table must agree with Unihan's own counts."""
    bad = []
    for number, ch in sorted(radicals.items()):
        total = first_total_strokes(unihan.get(ch, {}))
        expected = MODERN_RADICAL_COUNTS.get(number, RADICAL_STROKES[number])
        if total != expected:
            bad.append(f"radical {number} {ch}: table "
                       f"{RADICAL_STROKES[number]}, Unihan {total}")
    return bad


def check_overrides(unihan, radicals):
    """Kept and forced forms must agree with their own derivation."""
    bad = []
    pairs = [(ch, ch, count) for ch, count in _KEEP_OWN_FORM.items()]
    pairs += [(ch, form, count)
              for ch, (form, count) in _FORCED_FORMS.items()]
    for ch, form, count in pairs:
        if ch in NUMERALS:
            derived = NUMERALS[ch]
        else:
            derived = radical_residual_strokes(form, unihan.get(form, {}),
                                               radicals)
        if derived != count:
            bad.append(f"override {ch} ({form}) is {count}, "
                       f"derivation gives {derived}")
    return bad


def main(argv):
    if len(argv) > 2:
        sys.stderr.write("usage: derive_strokes.py [OUTPUT]\n")
        return 2

    gbk = gbk_ideographs()
    chars = sorted(set(gbk) | counted_unified_ideographs())
    traditional = load_simplified_to_traditional()
    radicals = load_radical_characters()
    wanted = {unicodedata.normalize("NFC", ch) for ch in chars}
    wanted.update([traditional.get(ch, ch) for ch in wanted])
    wanted.update(radicals.values())
    wanted.update(form for form, _ in _FORCED_FORMS.values())
    unihan = load_unihan(wanted)

    problems = check_radical_table(unihan, radicals)
    if len(radicals) != 214:
        problems.append(f"expected 214 radicals, found {len(radicals)}")

    counts = {}
    missing = []
    too_many = []
    for ch in chars:
        count = strokes_for(ch, traditional, unihan, radicals)
        if count is None:
            missing.append(ch)
        elif count > MAX_STROKES:
            too_many.append(ch)
        else:
            counts[ch] = count

    problems += check_overrides(unihan, radicals)
    for ch, expected in SPOT_CHECKS.items():
        got = counts.get(ch)
        if got != expected:
            problems.append(f"{ch}: expected {expected}, derived {got}")

    if problems:
        for problem in problems:
            sys.stderr.write(f"derive_strokes: {problem}\n")
        return 1

    by_count = {}
    for ch in chars:
        if ch in counts:
            by_count.setdefault(counts[ch], []).append(ch)

    lines = [
        "# Generated by tools/derive_strokes.py from Debian's unicode-data and",
        "# opencc; do not edit.",
        "# Stroke counts of the Chinese characters encodable in GBK and of the",
        "# other CJK unified ideographs Unihan counts, for five-grid name",
        "# analysis.",
        "# Counting: traditional form, full Kangxi radical plus residual",
        "# strokes; numerals by value; name-use overrides.",
        "# Format: COUNT<TAB>characters with that count, in code-point order.",
    ]
    for count in sorted(by_count):
        lines.append(f"{count}\t{''.join(by_count[count])}")
    text = "\n".join(lines) + "\n"

    if len(argv) == 2:
        with open(argv[1], "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    else:
        sys.stdout.buffer.write(text.encode("utf-8"))

    sys.stderr.write(
        f"derive_strokes: {len(counts)} characters, strokes "
        f"{min(by_count)}..{max(by_count)}, {len(missing)} without data"
        + (f" ({''.join(missing)})" if missing else "")
        + f", {len(too_many)} above {MAX_STROKES} left out"
        + (f" ({''.join(too_many)})" if too_many else "") + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
