#!/usr/bin/env python3
"""Write src/core/properties/BuiltinData.cpp from the physical data folder.

Usage: gen_builtin_data.py [DATA_DIR] [--output FILE]

DATA_DIR defaults to ../shared/data beside the repository. The generated C++
fills a SubstanceData in the fixed start-up order: the four substance records,
the steam table, the binary equilibrium sets (each mirror built at run time
right after its source) and the UNIFAC group interaction table.

Every number is written as the decimal text of the CSV file with the suffix L,
so that the compiler reads it straight into the 80-bit type; integer texts get
".0" first, so that they stay floating literals.
"""

import argparse
import csv
import os
import re
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_DATA = os.path.normpath(os.path.join(REPO, "..", "shared", "data"))
DEFAULT_OUTPUT = os.path.join(REPO, "src", "core", "properties", "BuiltinData.cpp")

MAX_GROUPS = 11
MAIN_GROUP_COUNT = 19
MAX_EQUIL_POINTS = 60
STEAM_POINTS = 14

# Substance records in start-up order: data file stem and UNIFAC molecule
# (main group, subgroup letter, occurrences).
SUBSTANCES = [
    ("ethanol", [(1, "A", 1), (5, "A", 1)]),
    ("water", [(6, " ", 1)]),
    ("methanol", [(5, "B", 1)]),
    ("ethyl_acetate", [(1, "A", 2), (1, "B", 1), (10, " ", 1)]),
]

# Record columns of substances/<name>.csv, in the order they are assigned.
# The Prandtl column is kept for water only.
TABLE_COLUMNS = [
    ("LiquidEnthalpy", "h_liquid_kJkg"),
    ("VapourEnthalpy", "h_vapour_kJkg"),
    ("Density", "density_kgm3"),
    ("Viscosity", "viscosity_Pas"),
    ("SurfaceTension", "surface_tension_Nm"),
    ("Expansion", "expansion_1K"),
    ("HeatCapacity", "cp_JkgK"),
    ("PrandtlTable", "prandtl"),
    ("Conductivity", "conductivity_WmK"),
    ("Temperatures", "t_C"),
]
PRANDTL_KEPT_FOR = {"water"}

# Binary sets in filling order, 1-based substance numbers. A stored set names
# its vle/ file (None: no measured data, Count 0); a mirror is built from its
# source right after it.
BINARY_ORDER = [
    ("stored", (1, 2), "ethanol_water"),
    ("stored", (3, 1), None),
    ("mirror", (1, 3), (3, 1)),
    ("stored", (3, 2), "methanol_water"),
    ("mirror", (2, 3), (3, 2)),
    ("stored", (4, 2), None),
    ("mirror", (2, 4), (4, 2)),
    ("stored", (4, 1), "ethyl_acetate_ethanol"),
    ("mirror", (1, 4), (4, 1)),
    ("stored", (3, 4), None),
]
START_VALUE_COLUMNS = [
    "wilson_A12", "wilson_A21", "uniquac_A12", "uniquac_A21",
    "nrtl_A12", "nrtl_A21", "nrtl_alpha12",
]

NUMBER = re.compile(r"^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$")
INTEGER = re.compile(r"^[+-]?\d+$")


class DataError(Exception):
    pass


def literal(text, where):
    """C++ long double literal for the decimal text of a data file."""
    text = text.strip()
    if not NUMBER.match(text):
        raise DataError(f"{where}: '{text}' is not a decimal number")
    if INTEGER.match(text):
        text += ".0"
    return text + "L"


def value(text, where):
    """The number of a decimal text, after the same check as literal()."""
    literal(text, where)
    return float(text)


def read_csv(data_dir, relative):
    """Comment lines and the rows (dicts) of one data file."""
    path = os.path.join(data_dir, relative)
    try:
        with open(path, encoding="utf-8", newline="") as f:
            lines = f.read().splitlines()
    except OSError as e:
        raise DataError(f"{relative}: {e.strerror}") from e
    comments = [ln for ln in lines if ln.startswith("#")]
    body = [ln for ln in lines if ln.strip() and not ln.startswith("#")]
    if not body:
        raise DataError(f"{relative}: no header line")
    reader = csv.DictReader(body)
    rows = list(reader)
    for i, row in enumerate(rows, start=1):
        if None in row or any(v is None for v in row.values()):
            raise DataError(f"{relative}: row {i} has the wrong number of fields")
    return comments, reader.fieldnames, rows


def require_columns(relative, fieldnames, needed):
    missing = [c for c in needed if c not in fieldnames]
    if missing:
        raise DataError(f"{relative}: missing column(s) {', '.join(missing)}")


def column(rows, name, relative):
    return [literal(r[name], f"{relative} row {i} column {name}")
            for i, r in enumerate(rows, start=1)]


def check_increasing(rows, name, relative):
    values = [value(r[name], f"{relative} row {i} column {name}")
              for i, r in enumerate(rows, start=1)]
    for a, b in zip(values, values[1:]):
        if not b > a:
            raise DataError(f"{relative}: column {name} is not strictly increasing at {b}")


def vector_init(values, indent, per_line=6):
    """A braced list of literals wrapped over lines."""
    if not values:
        return "{}"
    pad = " " * (indent + 4)
    lines = [", ".join(values[i:i + per_line]) for i in range(0, len(values), per_line)]
    return "{\n" + pad + (",\n" + pad).join(lines) + ",\n" + " " * indent + "}"


# ---------------------------------------------------------------- substances

def load_groups(data_dir):
    relative = "unifac.csv"
    _, fields, rows = read_csv(data_dir, relative)
    require_columns(relative, fields, ["main_group", "subgroup", "group", "R", "Q"])
    groups = {}
    for i, r in enumerate(rows, start=1):
        letter = r["subgroup"].strip() or " "
        if len(letter) != 1:
            raise DataError(f"{relative} row {i}: subgroup must be one letter or empty")
        key = (int(r["main_group"]), letter)
        groups[key] = {
            "name": r["group"].strip(),
            "R": literal(r["R"], f"{relative} row {i} R"),
            "Q": literal(r["Q"], f"{relative} row {i} Q"),
        }
    return groups


def load_antoine(data_dir):
    relative = "antoine.csv"
    _, fields, rows = read_csv(data_dir, relative)
    require_columns(relative, fields, ["substance", "A", "B_K", "C_K"])
    return {r["substance"].strip(): (literal(r["A"], f"{relative} A"),
                                     literal(r["B_K"], f"{relative} B_K"),
                                     literal(r["C_K"], f"{relative} C_K"))
            for r in rows}


MOLAR_MASS = re.compile(r"\bM\s*=\s*([0-9.]+)\s*kg/kmol")


def substance_code(data_dir, number, stem, molecule, groups, antoine):
    relative = f"substances/{stem}.csv"
    comments, fields, rows = read_csv(data_dir, relative)
    require_columns(relative, fields, [c for _, c in TABLE_COLUMNS])
    masses = [m.group(1) for c in comments for m in [MOLAR_MASS.search(c)] if m]
    if len(masses) != 1:
        raise DataError(f"{relative}: expected one 'M = ... kg/kmol' in the comment lines")
    if stem not in antoine:
        raise DataError(f"antoine.csv: no row for {stem}")
    if not 1 <= len(molecule) <= MAX_GROUPS:
        raise DataError(f"{stem}: 1 to {MAX_GROUPS} groups allowed")
    if not 1 <= len(rows) <= 0xFFFF:
        raise DataError(f"{relative}: point count out of range")
    check_increasing(rows, "t_C", relative)

    a, b, c = antoine[stem]
    out = []
    w = out.append
    w(f"    {{  // comp.{number}: substances/{stem}.csv, antoine.csv, unifac.csv"
      + (f", vapour_pressure/{stem}.csv" if vapour_pressure_exists(data_dir, stem) else ""))
    w(f"        Pro& p = t[{number - 1}];")
    w(f"        p.MolarMass = {literal(masses[0], relative + ' molar mass')};")
    w(f"        p.AntoineA = {a};")
    w(f"        p.AntoineB = {b};")
    w(f"        p.AntoineC = {c};")
    w(f'        p.EnglishName = "comp.{number}";')
    w(f'        p.RussianName = "комп.{number}";')
    w(f"        GroupBlock& g = p.Groups;")
    w(f"        g.GroupCount = {len(molecule)};")
    for k, (main, letter, count) in enumerate(molecule):
        if (main, letter) not in groups:
            raise DataError(f"unifac.csv: no group ({main}, '{letter}') for {stem}")
        if not 1 <= main <= MAIN_GROUP_COUNT:
            raise DataError(f"{stem}: main group {main} out of range")
        grp = groups[(main, letter)]
        w(f"        g.MainGroup[{k}] = {main};  // {grp['name']}")
        w(f"        g.Occurrences[{k}] = {count};")
        w(f"        g.SubgroupLetter[{k}] = '{letter}';")
        w(f"        g.SurfaceQ[{k}] = {grp['Q']};")
        w(f"        g.VolumeR[{k}] = {grp['R']};")
    w(f"        p.PointCount = {len(rows)};")
    for member, col in TABLE_COLUMNS:
        if member == "PrandtlTable" and stem not in PRANDTL_KEPT_FOR:
            w(f"        p.{member}.assign(p.PointCount, 0.0L);")
        else:
            values = column(rows, col, relative)
            w(f"        p.{member} = {vector_init(values, 8)};")
    out.extend(vapour_pressure_code(data_dir, stem))
    w("    }")
    return out


def vapour_pressure_exists(data_dir, stem):
    return os.path.exists(os.path.join(data_dir, "vapour_pressure", f"{stem}.csv"))


def vapour_pressure_code(data_dir, stem):
    if not vapour_pressure_exists(data_dir, stem):
        return ["        p.PressurePointCount = 0;"]
    relative = f"vapour_pressure/{stem}.csv"
    _, fields, rows = read_csv(data_dir, relative)
    require_columns(relative, fields, ["t_C", "p_mmHg"])
    if not 1 <= len(rows) <= 0xFFFF:
        raise DataError(f"{relative}: point count out of range")
    check_increasing(rows, "t_C", relative)
    return [
        f"        p.PressurePointCount = {len(rows)};",
        f"        p.PressureValues = {vector_init(column(rows, 'p_mmHg', relative), 8)};",
        f"        p.PressureTemperatures = "
        f"{vector_init(column(rows, 't_C', relative), 8)};",
    ]


# --------------------------------------------------------------- steam table

def steam_code(data_dir):
    relative = "steam_table.csv"
    _, fields, rows = read_csv(data_dir, relative)
    require_columns(relative, fields, ["p_kgfcm2", "h_condensate_kJkg", "h_steam_kJkg"])
    if len(rows) != STEAM_POINTS:
        raise DataError(f"{relative}: {len(rows)} rows, the table holds {STEAM_POINTS}")
    check_increasing(rows, "p_kgfcm2", relative)
    return [
        f"    s.Pressure = {vector_init(column(rows, 'p_kgfcm2', relative), 4)};",
        f"    s.CondensateEnthalpy = "
        f"{vector_init(column(rows, 'h_condensate_kJkg', relative), 4)};",
        f"    s.SteamEnthalpy = {vector_init(column(rows, 'h_steam_kJkg', relative), 4)};",
    ]


# ----------------------------------------------------------- binary data sets

def load_start_values(data_dir):
    relative = "vle/start_values.csv"
    _, fields, rows = read_csv(data_dir, relative)
    require_columns(relative, fields, ["pair", "s1", "s2", "n_points"] + START_VALUE_COLUMNS)
    return {r["pair"].strip(): r for r in rows}


def binary_code(data_dir):
    starts = load_start_values(data_dir)
    out = []
    w = out.append
    used = set()
    for kind, (i, j), what in BINARY_ORDER:
        cell = f"b[{i - 1}][{j - 1}]"
        if kind == "mirror":
            si, sj = what
            w(f"    {cell} = mirroredSet(b[{si - 1}][{sj - 1}], kVlePressure_Pa);"
              f"  // ({i},{j}) from ({si},{sj})")
            continue
        if what is None:
            w(f"    {cell}.Pressure = kVlePressure_Pa;  // ({i},{j}): no measured data")
            continue
        relative = f"vle/{what}.csv"
        _, fields, rows = read_csv(data_dir, relative)
        require_columns(relative, fields, ["x1", "y1", "t_C"])
        if not rows:
            raise DataError(f"{relative}: no points")
        if len(rows) > MAX_EQUIL_POINTS:
            raise DataError(f"{relative}: {len(rows)} points, at most {MAX_EQUIL_POINTS} allowed")
        for n, r in enumerate(rows, start=1):
            for name in ("x1", "y1"):
                if not 0.0 <= value(r[name], f"{relative} row {n} {name}") <= 1.0:
                    raise DataError(f"{relative} row {n}: {name} outside 0..1")
        sv = starts.get(what)
        if sv is None:
            raise DataError(f"vle/start_values.csv: no row for {what}")
        if (int(sv["s1"]), int(sv["s2"])) != (i, j):
            raise DataError(f"vle/start_values.csv: {what} is not the pair ({i},{j})")
        if int(sv["n_points"]) != len(rows):
            raise DataError(f"vle/start_values.csv: {what} was fitted to {sv['n_points']} "
                            f"points, {relative} has {len(rows)}")
        used.add(what)
        w(f"    {{  // ({i},{j}): {relative}")
        w(f"        Equil& e = {cell};")
        w(f"        e.Count = {len(rows)};")
        w(f"        e.LiquidX = {vector_init(column(rows, 'x1', relative), 8)};")
        w(f"        e.VapourY = {vector_init(column(rows, 'y1', relative), 8)};")
        w(f"        e.Temperature = {vector_init(column(rows, 't_C', relative), 8)};")
        w("        e.Pressure = kVlePressure_Pa;")
        values = [literal(sv[c], f"vle/start_values.csv {what} {c}")
                  for c in START_VALUE_COLUMNS]
        w(f"        e.StartValues = {vector_init(values, 8, per_line=7)};")
        w("    }")
    unused = set(starts) - used
    if unused:
        raise DataError(f"vle/start_values.csv: rows without a place in the table: "
                        f"{', '.join(sorted(unused))}")
    return out


# ------------------------------------------------------ group interactions

def interaction_code(data_dir):
    relative = "unifac_interactions.csv"
    _, fields, rows = read_csv(data_dir, relative)
    require_columns(relative, fields, ["m", "n", "a_mn_K"])
    out = []
    seen = set()
    for k, r in enumerate(rows, start=1):
        m, n = int(r["m"]), int(r["n"])
        if not (1 <= m <= MAIN_GROUP_COUNT and 1 <= n <= MAIN_GROUP_COUNT):
            raise DataError(f"{relative} row {k}: main group out of 1..{MAIN_GROUP_COUNT}")
        if (m, n) in seen:
            raise DataError(f"{relative} row {k}: a({m},{n}) given twice")
        seen.add((m, n))
        out.append(f"    a[{m - 1}][{n - 1}] = {literal(r['a_mn_K'], f'{relative} row {k}')};"
                   f"  // a({m},{n}), K")
    return out


# ------------------------------------------------------------------- output

HEADER = """\
// Generated by tools/gen_builtin_data.py from the physical data folder
// (README.md there names the sources and units). Do not edit by hand: change
// the data or the generator and run it again.
//
// Fills the built-in tables in the start-up order: the substance records, the
// steam table, the binary equilibrium sets and the group interaction table.

// clang-format off
#include "properties/SubstanceRecords.h"

namespace vexamo {

namespace {

// Every built-in equilibrium set was measured at 760 mm Hg, converted with
// 133.3 Pa per mm Hg.
constexpr Real kVlePressure_Pa = 760.0L * 133.3L;

// The group interaction table is kept in the unit of the reduced temperature.
constexpr Real kReducedTemperatureUnit_K = 273.15L;

constexpr std::size_t kSubstanceCount = 4;
"""

FOOTER = """\
}  // namespace

SubstanceData SubstanceData::builtIn() {
    SubstanceData data;
    fillSubstances(data.SubstanceTable);
    fillSteamTable(data.SteamTable);
    fillBinaryTable(data.BinaryDataTable);
    fillGroupInteraction(data.GroupInteractionTable);
    return data;
}

}  // namespace vexamo
// clang-format on
"""


def generate(data_dir):
    groups = load_groups(data_dir)
    antoine = load_antoine(data_dir)
    lines = [HEADER]
    lines.append("void fillSubstances(SubArr& t) {")
    lines.append("    t.assign(kSubstanceCount, Pro{});")
    for number, (stem, molecule) in enumerate(SUBSTANCES, start=1):
        lines.extend(substance_code(data_dir, number, stem, molecule, groups, antoine))
    lines.append("}\n")
    lines.append("void fillSteamTable(SteamTableData& s) {  // steam_table.csv")
    lines.extend(steam_code(data_dir))
    lines.append("}\n")
    lines.append("void fillBinaryTable(BinaryTable& b) {  // vle/, vle/start_values.csv")
    lines.append("    b.assign(kSubstanceCount, MIX(kSubstanceCount));")
    lines.extend(binary_code(data_dir))
    lines.append("}\n")
    lines.append("void fillGroupInteraction(GroupInteractionMatrix& a) {"
                 "  // unifac_interactions.csv")
    lines.append("    a = GroupInteractionMatrix{};")
    lines.extend(interaction_code(data_dir))
    lines.append("    for (auto& row : a) {")
    lines.append("        for (Real& value : row) value /= kReducedTemperatureUnit_K;")
    lines.append("    }")
    lines.append("}\n")
    lines.append(FOOTER)
    return "\n".join(lines)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("data_dir", nargs="?", default=DEFAULT_DATA)
    parser.add_argument("--output", default=DEFAULT_OUTPUT)
    args = parser.parse_args(argv)
    try:
        text = generate(args.data_dir)
    except (DataError, ValueError) as e:
        print(f"gen_builtin_data: {e}", file=sys.stderr)
        return 1
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print(f"wrote {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
