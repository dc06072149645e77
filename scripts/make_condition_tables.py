#!/usr/bin/env python3
"""Writes the cutting-condition tables of the installation.

Output (UTF-8 sources, converted to CP932 with CR LF by the build):
  data/table/<kind><material>.tbl  one table per tool kind and material, one section "D%.1f" per
                                   tool diameter with the keys that process generation reads
  data/工具加工条件.tbl             the register table of the conditions screen
  data/table/ContourMill<material>.tbl
                                   the EUKLID contour form's tables: the finishing end-mill rule, one
                                   section per diameter of 2 to 40 mm by 0.5 and per end-mill diameter
                                   of the shipped magazine (ToolMagazine.tbl)

Materials are those of section "material" of data/TALVORIN.ini; each must have cutting data here.
Diameters: fixed ranges per kind, plus every diameter that the shipped definition tables
(NTAP.tbl, reamer.tbl, counterbore.tbl, ProcessTools.ini, DefaultValue.tbl) can make process
generation ask for, when those tables exist.

Formulas: S = 1000 * Vc / (pi * D) rounded to 10 min-1 and held to the kind's maximum spindle speed;
F = f * S (feed per revolution) or fz * z * S (feed per tooth, end mills), rounded to whole mm/min;
taps F = pitch * S exactly. Run from anywhere: python3 scripts/make_condition_tables.py
"""

import math
import os
import re
import sys
from decimal import Decimal

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
TABLES = os.path.join(DATA, "table")

MATERIAL_NAMES = {
    "SS400": "一般構造用圧延鋼材",
    "S45C": "機械構造用炭素鋼",
    "SUS304": "オーステナイト系ステンレス鋼",
    "A5052": "アルミニウム合金",
    "FC250": "ねずみ鋳鉄",
    "SCM440": "クロムモリブデン鋼（調質）",
    "A2017": "アルミニウム合金（ジュラルミン）",
}
ALUMINIUM = {"A5052", "A2017"}

# ISO metric coarse threads: nominal diameter -> pitch (first and second choice sizes M2 to M24).
COARSE_PITCH = {
    2.0: "0.4", 2.2: "0.45", 2.5: "0.45", 3.0: "0.5", 3.5: "0.6", 4.0: "0.7", 4.5: "0.75", 5.0: "0.8",
    6.0: "1", 7.0: "1", 8.0: "1.25", 10.0: "1.5", 12.0: "1.75", 14.0: "2", 16.0: "2", 18.0: "2.5",
    20.0: "2.5", 22.0: "2.5", 24.0: "3",
}

# Cutting speed Vc (m/min) per kind and material.
VC = {
    "cdrill": {"SS400": 20, "S45C": 18, "SUS304": 12, "A5052": 40, "FC250": 18, "SCM440": 15, "A2017": 40},
    "drill": {"SS400": 25, "S45C": 20, "SUS304": 12, "A5052": 60, "FC250": 20, "SCM440": 15, "A2017": 50},
    "chamfer": {"SS400": 20, "S45C": 18, "SUS304": 10, "A5052": 50, "FC250": 18, "SCM440": 15, "A2017": 50},
    "ntap": {"SS400": 10, "S45C": 8, "SUS304": 5, "A5052": 15, "FC250": 8, "SCM440": 6, "A2017": 15},
    "reamer": {"SS400": 8, "S45C": 7, "SUS304": 4, "A5052": 15, "FC250": 8, "SCM440": 6, "A2017": 15},
    "counterbore": {"SS400": 18, "S45C": 15, "SUS304": 10, "A5052": 50, "FC250": 15, "SCM440": 12, "A2017": 50},
    "endmillR": {"SS400": 80, "S45C": 70, "SUS304": 50, "A5052": 200, "FC250": 80, "SCM440": 60, "A2017": 200},
    "endmillF": {"SS400": 100, "S45C": 90, "SUS304": 60, "A5052": 250, "FC250": 100, "SCM440": 75, "A2017": 250},
}

# Feed per revolution f (mm/rev) of centre drills and chamfer cutters per material.
FEED_CDRILL = {"SS400": 0.05, "S45C": 0.05, "SUS304": 0.03, "A5052": 0.08, "FC250": 0.06, "SCM440": 0.04, "A2017": 0.08}
FEED_CHAMFER = {"SS400": 0.08, "S45C": 0.07, "SUS304": 0.05, "A5052": 0.10, "FC250": 0.10, "SCM440": 0.06, "A2017": 0.10}

# Feed per revolution of drills, reamers and counterboring by diameter: (upper bound, base f);
# the base is multiplied by the material factor.
FEED_DRILL = [(2, 0.03), (3, 0.05), (5, 0.08), (8, 0.12), (12, 0.16), (18, 0.20), (25, 0.25), (None, 0.30)]
FEED_REAMER = [(4, 0.10), (8, 0.15), (12, 0.20), (18, 0.25), (None, 0.30)]
FEED_COUNTERBORE = [(10, 0.06), (20, 0.08), (30, 0.10), (None, 0.12)]
FACTOR_DRILL = {"SS400": 1.0, "S45C": 0.9, "SUS304": 0.6, "A5052": 1.2, "FC250": 1.2, "SCM440": 0.8, "A2017": 1.2}
FACTOR_REAMER = {"SS400": 1.0, "S45C": 1.0, "SUS304": 0.7, "A5052": 1.3, "FC250": 1.3, "SCM440": 0.9, "A2017": 1.3}
FACTOR_COUNTERBORE = {"SS400": 1.0, "S45C": 0.9, "SUS304": 0.6, "A5052": 1.2, "FC250": 1.1, "SCM440": 0.8, "A2017": 1.2}

# Peck depth of G83 drilling: Q = factor x D, 0.5 to 10.0 mm.
PECK = {"SS400": 1.0, "S45C": 0.8, "SUS304": 0.5, "A5052": 1.5, "FC250": 1.5, "SCM440": 0.7, "A2017": 1.5}

# Feed per tooth of roughing end mills: fz = factor x D (mm/tooth), 0.005 to 0.1; finishing 0.7 of it.
FZ_FACTOR = {"SS400": 0.004, "S45C": 0.0036, "SUS304": 0.0028, "A5052": 0.006, "FC250": 0.004, "SCM440": 0.0032, "A2017": 0.006}
FINISH_FZ = 0.7

# Highest spindle speed per kind (min-1).
MAX_S = {"cdrill": 3000, "drill": 8000, "chamfer": 2000, "ntap": 1000, "reamer": 2000, "counterbore": 3000,
         "endmillR": 8000, "endmillF": 8000}

CHAMFER_TOOL = 20  # diameter of the chamfer cutter (TALVORIN.ini ChamferToolDiameter)

KIND_TITLES = {
    "cdrill": "センタードリル", "drill": "ドリル", "chamfer": "面取カッター", "ntap": "並目タップ",
    "reamer": "リーマ", "counterbore": "エンドミル（座ぐり）", "endmillR": "荒取エンドミル",
    "endmillF": "仕上エンドミル",
}
# Tool names of the register table, in the order of the conditions screen, with their kind names.
REGISTER = [
    ("センタードリル", "cdrill", "切込深さ(Z)", "Z"),
    ("ドリル", "drill", "ステップ(Q)", "Q"),
    ("面取カッター", "chamfer", None, None),
    ("並目タップ", "ntap", None, None),
    ("リーマ", "reamer", None, None),
    ("エンドミル", "counterbore", None, None),
    ("荒取エンドミル", "endmillR", None, None),
    ("仕上エンドミル", "endmillF", None, None),
]


# ------------------------------------------------------------------------------------------------
# Reading the shipped tables

def find_data_file(name):
    """The file of data/ named `name` up to ASCII letter case, or None."""
    for entry in os.listdir(DATA):
        if entry.lower() == name.lower():
            return os.path.join(DATA, entry)
    return None


def read_ini(name):
    """{section: {key: value}} of a data/ table (names folded to lower case); {} when absent."""
    path = find_data_file(name)
    sections = {}
    if path is None:
        return sections
    current = None
    with open(path, encoding="utf-8-sig") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and "]" in line:
                current = sections.setdefault(line[1:line.index("]")].strip().lower(), {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current.setdefault(key.strip().lower(), value.strip())
    return sections


def number(text):
    """C's atof for the plain decimal texts of the tables; None when there is no number."""
    m = re.match(r"\s*([+-]?(\d+\.?\d*|\.\d+))", text or "")
    return float(m.group(1)) if m else None


def shipped_materials():
    material = read_ini("TALVORIN.ini").get("material", {})
    names = []
    for i in range(30):
        value = material.get("material%d" % i)
        if not value:
            break
        names.append(value)
    return names


def shipped_diameters():
    """Diameters per kind that the shipped definition tables lead process generation to."""
    extra = {kind: set() for kind in VC}
    ntap = read_ini("NTAP.tbl")
    for section, keys in ntap.items():
        m = re.fullmatch(r"m(\d+)", section)
        if m:
            extra["ntap"].add(float(m.group(1)))
        if number(keys.get("pilothole")):
            extra["drill"].add(number(keys["pilothole"]))
    for section, keys in read_ini("reamer.tbl").items():
        m = re.fullmatch(r"m(\d+)", section)
        if m:
            extra["reamer"].add(float(m.group(1)))
        if number(keys.get("pilothole")):
            extra["drill"].add(number(keys["pilothole"]))
    for section, keys in read_ini("counterbore.tbl").items():
        m = re.fullmatch(r"d(\d+(\.\d+)?)", section)
        if m:
            extra["drill"].add(float(m.group(1)))
        if number(keys.get("counterbore")):
            extra["counterbore"].add(number(keys["counterbore"]))
    for family, keys in read_ini("ProcessTools.ini").items():
        for key, value in keys.items():
            m = re.fullmatch(re.escape(family) + r"(\d+)", key)
            if not m or not number(value):
                continue
            extra["endmillR"].add(number(value))
            extra["endmillF"].add(number(value))
            if family == "longhole":
                extra["drill"].add(int(m.group(1)) - 0.5)
    defaults = read_ini("DefaultValue.tbl")

    def default(kind, i):
        return number(defaults.get(kind.lower(), {}).get("%s%d" % (kind.lower(), i)))

    for kind, i, target in [("DRILL", 0, "drill"), ("NTAP", 0, "ntap"), ("NTAP", 3, "drill"),
                            ("REAMER", 0, "reamer"), ("REAMER", 2, "drill"), ("COUNTERBORE", 0, "drill"),
                            ("COUNTERBORE", 2, "counterbore"), ("LONGHOLE", 6, "drill"),
                            ("LONGHOLE", 8, "endmillR"), ("LONGHOLE", 9, "endmillF"),
                            ("CBLONGHOLE", 6, "drill"), ("CBLONGHOLE", 8, "endmillR"),
                            ("CBLONGHOLE", 9, "endmillF"), ("UGROOVE", 8, "endmillR"),
                            ("UGROOVE", 9, "endmillF"), ("BIGHOLE", 6, "drill"), ("BIGHOLE", 8, "endmillR"),
                            ("BIGHOLE", 9, "endmillF")]:
        value = default(kind, i)
        if value:
            extra[target].add(value)
    # Rough and finish passes may use either diameter.
    both = extra["endmillR"] | extra["endmillF"]
    extra["endmillR"] = set(both)
    extra["endmillF"] = set(both)
    return extra


# ------------------------------------------------------------------------------------------------
# Values

def steps(first, last, step):
    n = int(round((last - first) / step))
    return [round(first + i * step, 3) for i in range(n + 1)]


def base_diameters():
    return {
        "cdrill": steps(1.0, 6.0, 0.5),
        "drill": steps(1.0, 32.0, 0.1) + steps(32.5, 50.0, 0.5),
        "chamfer": steps(1.0, 60.0, 1.0),
        "ntap": sorted(COARSE_PITCH),
        "reamer": steps(2.0, 25.0, 0.5),
        "counterbore": steps(2.0, 40.0, 0.5),
        "endmillR": steps(2.0, 40.0, 0.5),
        "endmillF": steps(2.0, 40.0, 0.5),
    }


def section_name(d):
    return "D%.1f" % d


def spindle(vc, d, maximum):
    s = 1000.0 * vc / (math.pi * d)
    s = int(s / 10.0 + 0.5) * 10
    return max(10, min(s, maximum))


def by_range(table, d):
    for upper, value in table:
        if upper is None or d < upper:
            return value
    raise AssertionError


def whole(x):
    return max(1, int(x + 0.5))


def one_decimal(x):
    return "%.1f" % (math.floor(x * 10 + 0.5) / 10)


def teeth(material, d):
    if d < 4:
        return 2
    return 3 if material in ALUMINIUM else 4


def condition(kind, material, d):
    """[(key, text)] of one section."""
    vc = VC[kind][material]
    if kind == "cdrill":
        s = spindle(vc, d, MAX_S[kind])
        return [("S", str(s)), ("F", str(whole(FEED_CDRILL[material] * s))), ("Z", one_decimal(-d / 3))]
    if kind == "drill":
        s = spindle(vc, d, MAX_S[kind])
        f = by_range(FEED_DRILL, d) * FACTOR_DRILL[material]
        q = min(10.0, max(0.5, PECK[material] * d))
        return [("S", str(s)), ("F", str(whole(f * s))), ("Q", one_decimal(q))]
    if kind == "chamfer":
        s = spindle(vc, min(d, CHAMFER_TOOL), MAX_S[kind])
        return [("S", str(s)), ("F", str(whole(FEED_CHAMFER[material] * s)))]
    if kind == "ntap":
        s = spindle(vc, d, MAX_S[kind])
        f = Decimal(COARSE_PITCH[d]) * s
        return [("S", str(s)), ("F", format(f.normalize(), "f"))]
    if kind == "reamer":
        s = spindle(vc, d, MAX_S[kind])
        f = by_range(FEED_REAMER, d) * FACTOR_REAMER[material]
        return [("S", str(s)), ("F", str(whole(f * s)))]
    if kind == "counterbore":
        s = spindle(vc, d, MAX_S[kind])
        f = by_range(FEED_COUNTERBORE, d) * FACTOR_COUNTERBORE[material]
        return [("S", str(s)), ("F", str(whole(f * s)))]
    if kind in ("endmillR", "endmillF"):
        s = spindle(vc, d, MAX_S[kind])
        fz = min(0.1, max(0.005, FZ_FACTOR[material] * d))
        if kind == "endmillF":
            fz *= FINISH_FZ
        return [("S", str(s)), ("F", str(whole(fz * teeth(material, d) * s)))]
    raise AssertionError(kind)


# ------------------------------------------------------------------------------------------------
# Comments

def ranges_text(table, factor):
    parts = []
    lower = None
    for upper, value in table:
        if lower is None:
            parts.append("D < %g: %.2f" % (upper, value))
        elif upper is None:
            parts.append("%g ≦ D: %.2f" % (lower, value))
        else:
            parts.append("%g ≦ D < %g: %.2f" % (lower, upper, value))
        lower = upper
    lines = [";;; 1 回転あたりの送り f (mm/rev) = 径ごとの基準値 × 材質係数 %.1f" % factor]
    for i in range(0, len(parts), 4):
        lines.append(";;;   " + "   ".join(parts[i:i + 4]))
    return lines


def header(kind, material):
    vc = VC[kind][material]
    keys = {"cdrill": "S（回転数）、F（送り速度）、Z（センタードリルの深さ）",
            "drill": "S（回転数）、F（送り速度）、Q（ステップ量）"}.get(kind, "S（回転数）、F（送り速度）")
    lines = [
        ";;; 加工条件テーブル：%s (%s)  材質 %s（%s）" % (KIND_TITLES[kind], kind, material, MATERIAL_NAMES[material]),
        ";;; 工程作成が工具径ごとに %sを読みます。" % keys,
        ";;; 節の名前は D と小数 1 けたの径です（φ6.8 は [D6.8]、φ10 は [D10.0]）。近い径や補間は使われません。",
        ";;; 「加工条件設定」の画面から書き換えられます。値の後ろに注釈を書かないでください。",
        ";;;",
    ]
    speed = ";;; 回転数 S = 1000 × Vc ÷ (π × D) を 10 min-1 単位に丸めたもの（上限 %d min-1）" % MAX_S[kind]
    feed = ";;; 送り速度 F = f × S (mm/min、整数に丸め)"
    if kind == "cdrill":
        lines += [";;; 工具：ハイス NC センタードリル（先端角 90°）、G81", ";;; 切削速度 Vc = %d m/min" % vc, speed, feed,
                  ";;; 1 回転あたりの送り f = %.2f mm/rev" % FEED_CDRILL[material],
                  ";;; 深さ Z = -D ÷ 3（もみつけ径は 2D/3、0.1 mm 単位）。工程作成が使うのは [D3.0] です。"]
    elif kind == "drill":
        lines += [";;; 工具：ハイスドリル（コバルトハイス）、G83 ステップ送り", ";;; 切削速度 Vc = %d m/min" % vc, speed, feed]
        lines += ranges_text(FEED_DRILL, FACTOR_DRILL[material])
        lines += [";;; ステップ量 Q = %.1f × D（0.1 mm 単位、0.5 以上 10.0 以下）" % PECK[material]]
    elif kind == "chamfer":
        lines += [";;; 工具：ハイス面取カッター φ%d（90°）、G82 または円弧切削 G03" % CHAMFER_TOOL,
                  ";;; 節の径は面取する穴の径（円弧切削の面取では 2 ×（面取量＋追い込み量））を整数に丸めたもの。",
                  ";;; 刃が当たる径は穴の径に近く、カッター径 %d を超えません。" % CHAMFER_TOOL,
                  ";;; 切削速度 Vc = %d m/min" % vc,
                  ";;; 回転数 S = 1000 × Vc ÷ (π × Dc)、Dc = D と %d の小さい方、10 min-1 単位に丸め（上限 %d min-1）"
                  % (CHAMFER_TOOL, MAX_S[kind]),
                  feed, ";;; 1 回転あたりの送り f = %.2f mm/rev" % FEED_CHAMFER[material]]
    elif kind == "ntap":
        lines += [";;; 工具：ハイスタップ（ポイントタップ・スパイラルタップ）、同期タップ G84",
                  ";;; 節の径は呼び径です（M6 は [D6.0]）。メートル並目ねじ M2 から M24。",
                  ";;; 切削速度 Vc = %d m/min" % vc, speed,
                  ";;; 送り速度 F = ピッチ × S (mm/min、丸めなし：主軸 1 回転で 1 ピッチ)",
                  ";;; ピッチ " + "  ".join("M%g: %s" % (d, p) for d, p in sorted(COARSE_PITCH.items())[:10]),
                  ";;;        " + "  ".join("M%g: %s" % (d, p) for d, p in sorted(COARSE_PITCH.items())[10:])]
    elif kind == "reamer":
        lines += [";;; 工具：ハイスマシンリーマ（H7）、G81", ";;; 節の径は仕上がりの穴径です。下穴は 0.2 から 0.3 mm 小さいドリルで加工します。",
                  ";;; 切削速度 Vc = %d m/min" % vc, speed, feed]
        lines += ranges_text(FEED_REAMER, FACTOR_REAMER[material])
    elif kind == "counterbore":
        lines += [";;; 工具：ハイスエンドミル（2 枚刃）による座ぐり、G82 で突き込み", ";;; 節の径は座ぐり径です。",
                  ";;; 切削速度 Vc = %d m/min" % vc, speed, feed]
        lines += ranges_text(FEED_COUNTERBORE, FACTOR_COUNTERBORE[material])
    else:
        rough = kind == "endmillR"
        fz = "fz = %g × D mm（0.005 以上 0.1 以下）" % FZ_FACTOR[material]
        if not rough:
            fz = "fz = 荒取の fz（%g × D mm、0.005 以上 0.1 以下）× %g" % (FZ_FACTOR[material], FINISH_FZ)
        flutes = "3 枚" if material in ALUMINIUM else "4 枚"
        lines += [";;; 工具：超硬スクエアエンドミル、%s、G41 輪郭切削（%s）" % (
                      "荒取" if rough else "仕上", "切込み D/2" if rough else "切込み D"),
                  ";;; 切削速度 Vc = %d m/min" % vc, speed,
                  ";;; 送り速度 F = fz × 刃数 × S (mm/min、整数に丸め)",
                  ";;; 1 刃あたりの送り " + fz,
                  ";;; 刃数 D < 4: 2 枚、4 ≦ D: %s" % flutes]
    lines.append(";;; このファイルの初期値は scripts/make_condition_tables.py が作成しています。")
    return lines


def magazine_endmills():
    """Diameters of the end mills of the shipped tool magazine."""
    diameters = set()
    for keys in read_ini("ToolMagazine.tbl").values():
        if "エンドミル" in keys.get("toolname", "") and number(keys.get("diameter")):
            diameters.add(number(keys["diameter"]))
    return diameters


def contour_table(material, names):
    """The EUKLID contour table of a material: the finishing end mill's conditions."""
    lines = [
        ";;; EUKLID 輪郭加工条件テーブル  材質 %s（%s）" % (material, MATERIAL_NAMES[material]),
        ";;; 曲線加工命令（ＮＣデータ作成）の画面で工具径を入れると、その径の S（回転数）と F（送り速度）を読みます。",
        ";;; 節の名前は D と小数 1 けたの径です（φ6 は [D6.0]、φ17.5 は [D17.5]）。近い径や補間は使われません。",
        ";;; 径は 2 から 40 mm の 0.5 mm きざみと、工具マガジン ToolMagazine.tbl のエンドミルの径です。",
        ";;; 値の後ろに注釈を書かないでください。",
        ";;;",
    ]
    lines += header("endmillF", material)[5:]
    for name in sorted(names, key=lambda n: float(n[1:])):
        lines += ["", "[%s]" % name]
        for key, value in condition("endmillF", material, float(name[1:])):
            lines.append("%s=%s" % (key, value))
    return lines


# ------------------------------------------------------------------------------------------------
# Files

def write(path, lines):
    text = "\n".join(lines) + "\n"
    text.encode("cp932")  # every shipped table must be expressible in Shift_JIS
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def condition_table(kind, material, diameters):
    lines = header(kind, material)
    for name in sorted(diameters, key=lambda n: float(n[1:])):
        lines.append("")
        lines.append("[%s]" % name)
        for key, value in condition(kind, material, float(name[1:])):
            lines.append("%s=%s" % (key, value))
    return lines


def register_table(materials):
    lines = [
        ";;; 加工条件登録テーブル",
        ";;; 「加工条件設定」画面の工具名の一覧、工具ごとの値の欄の見出し (title0 から title3)、",
        ";;; 材質ごとの加工条件テーブル（table フォルダの中のファイル名）と、値を登録するキー (key1 から key3) です。",
        ";;; 工程作成が読むのは 工具の種類名 + 材質 + .tbl のファイルです（ドリルと SS400 なら drillSS400.tbl）。",
        ";;; 材質を TALVORIN.ini の [material] に加えたときは、ここにもその材質の行を加えてください。",
        ";;; 値は行末まで有効です。値の後ろに注釈を書かないでください。",
        "",
        "[tool]",
    ]
    for i, (tool, _, _, _) in enumerate(REGISTER):
        lines.append("tool%d=%s" % (i, tool))
    for tool, kind, title3, key3 in REGISTER:
        lines += ["", "[%s]" % tool, "; 工具の種類名 %s" % kind, "title0=工 具 径(D)", "title1=回 転 数(S)",
                  "title2=送り速度(F)"]
        if title3:
            lines.append("title3=%s" % title3)
        lines += ["key1=S", "key2=F"]
        if key3:
            lines.append("key3=%s" % key3)
        for material in materials:
            lines.append("%s=%s%s.tbl" % (material, kind, material))
    return lines


def main():
    materials = shipped_materials()
    missing = [m for m in materials if m not in MATERIAL_NAMES]
    if not materials or missing:
        sys.exit("no cutting data for material(s): %s" % ", ".join(missing or ["(none listed)"]))
    extra = shipped_diameters()
    os.makedirs(TABLES, exist_ok=True)
    count = 0
    for kind, diameters in base_diameters().items():
        names = {section_name(d) for d in diameters}
        for d in extra[kind]:
            if kind == "ntap" and round(d, 1) not in COARSE_PITCH:
                sys.exit("no coarse pitch for tap M%g" % d)
            if d > 0:
                names.add(section_name(d))
        for material in materials:
            write(os.path.join(TABLES, "%s%s.tbl" % (kind, material)), condition_table(kind, material, names))
            count += 1
    contour = {section_name(d) for d in set(base_diameters()["endmillF"]) | magazine_endmills()}
    for material in materials:
        write(os.path.join(TABLES, "ContourMill%s.tbl" % material), contour_table(material, contour))
        count += 1
    write(os.path.join(DATA, "工具加工条件.tbl"), register_table(materials))
    print("%d condition tables in %s" % (count, TABLES))


if __name__ == "__main__":
    main()
