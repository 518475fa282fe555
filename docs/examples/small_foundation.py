#!/usr/bin/env python3
"""Writes a small pile foundation (.pvxdb) with nothing but Python's sqlite3.

    python3 docs/examples/small_foundation.py small.pvxdb
    pvxhost --db small.pvxdb info
    pvxhost --db small.pvxdb figure 306 --load 0 --out uplift.dxf

The project: a 3 m column of 0.5 m x 0.5 m standing on a pile cap at the origin, the cap 2.2 m x
1.0 m and 1.0 m thick on two piles 10 m long, 0.5 m across, at x = -0.6 (pile 1) and +0.6 m
(pile 2). The analysis model holds the column (element 1, type 101, nodes 1 at z 0 and 2 at
z 3), the cap as two stiff line elements (4 and 5, type 200) from the column's foot to the pile
heads (nodes 3 and 5, z -1), and the two pile elements (2 and 3, type 403) from the heads down to
the tips (nodes 4 and 6, z -11), which are the supports (PRTND) and carry the reactions (REAC).
The cap's analysis member names the cap (model_key 11), the piles' members name the piles. The
foundation model holds the points of the cap's centre and of the two pile heads, the footing
member 11 (type 401), the column member 21 (type 101), the piles' members 1 and 2 (type 403) in
pile section 1, the piles themselves and their checks (PCDPILE), the global parameters and the
check groups. Every table and column used here is described in docs/DATABASE.md.

Reactions at the tips (kN): DL FZ 500 at each; the wind WX, 36 kN along +X at the column's top,
14 m above the tips: FX -18 at each, FZ -/+420 (36 x 14 / 1.2); the earthquake EX, 21 kN: FX
-10.5, FZ -/+245. Check groups (number): 201 "1.0DL" (1), 202 "0.6DL+1.0WX" (2), 203
"1.0DL+1.0EX" (3, seismic), all standard, and 101 "1.35DL" (4, basic). Pile top forces N
(pile 1, pile 2): 201 500, 500; 202 -120, 720 (pile 1 in tension under this group only);
203 255, 745; 101 675, 675. ra 1800, tu 600 kN; checks 0..4 of PCDPILE.czl (N, ra),
(N, 1.2 ra), (N, tu), (Hx, 90), (Hy, 90) under the standard groups; jy (N, 14300 pi d^2 / 4 =
2807.74) and cq (N, 0.7 x 1430 x pi (d + 0.8) x 0.8 = 3270.61) under every group.

What the sheets write, by hand (ratio = resistance / |action|, two decimals):
  306 (uplift), load 0 or 202: pile 1 only, 600 / 120 = 5.00 ("5.00(2)" under load 0).
  307 (seismic bearing) lists group 203 only, after load 0: pile 1 1800 / 255 = 7.06, pile 2
      1800 / 745 = 2.42; the cap's lines: average 500 against 1800 = 3.60, largest 745 against
      2160 = 2.90 (under load 0 each with the group's number, "7.06(3)").
  302 (bearing), load 0: pile 1 3.60(1), pile 2 2.42(3); the cap: average 3.60(1) (201 and 203
      tie at 500, the smaller key), largest 2.90(3).
  301 (pile top), load 0: among the standard groups its list offers, pile 1 2807.74 / 500 =
      5.62(1), pile 2 2807.74 / 745 = 3.77(3) (the basic group 101 is not offered).
"""
import math
import os
import sqlite3
import struct
import sys

MODEL = ("key INTEGER PRIMARY KEY", "seq INTEGER NOT NULL")
TABLES = {
    "PNODE": MODEL + ("x REAL", "y REAL", "z REAL"),
    "PELEM": MODEL + ("kind INTEGER", "type INTEGER", "active INTEGER", "matl INTEGER", "sect INTEGER",
                      "beta REAL", "nnode INTEGER", "node BLOB", "se_result INTEGER"),
    "PMEMB": MODEL + ("type INTEGER", "subkind INTEGER", "model_key INTEGER", "pile_key INTEGER",
                      "node3 INTEGER", "node4 INTEGER", "length REAL", "offset_z REAL", "nodes BLOB",
                      "elems BLOB"),
    "PSTLD": MODEL + ("type INTEGER", "name TEXT"),
    # The foundation model.
    "PONT": MODEL + ("x REAL", "y REAL"),
    "MEMB": MODEL + ("type INTEGER", "angle REAL", "fosp INTEGER", "ponts BLOB", "text_x BLOB", "text_y BLOB"),
    "COLM": MODEL + ("b REAL", "h REAL"),
    "COLF": MODEL + ("kind INTEGER", "circle INTEGER", "join_flag INTEGER", "steps INTEGER", "cx REAL",
                     "cy REAL", "step_data BLOB"),
    "FOSP": MODEL + ("type INTEGER", "option1 INTEGER", "option2 INTEGER"),
    "PILE": MODEL + ("membs BLOB", "length REAL", "capacity REAL"),
    "PISP": MODEL + ("name TEXT", "d REAL"),
    "GBPA": MODEL + ("text_x BLOB", "text_y BLOB", "diff_settle REAL", "tilt_x REAL", "tilt_y REAL",
                     "avg_settle REAL", "deflection REAL", "design_code INTEGER"),
    "CKLG": MODEL + ("number INTEGER", "kind INTEGER", "blast INTEGER", "seismic INTEGER", "design_use INTEGER",
                     "lc_type INTEGER", "sort_text TEXT"),
    "PCDPILE": MODEL + ("ra REAL", "tu REAL", "czl BLOB", "cq BLOB", "jy BLOB"),
    "PRTND": MODEL + ("type INTEGER", "dof INTEGER"),
    "REAC": ("id INTEGER PRIMARY KEY", "FX REAL", "FY REAL", "FZ REAL", "MX REAL", "MY REAL", "MZ REAL"),
}

PELEM_KIND_FRAME = 2
TYPE_COLUMN, TYPE_LINE, TYPE_PILE_ELEM = 101, 200, 403
MEMB_COLUMN, MEMB_FOOTING, MEMB_PILE = 101, 401, 403
COLF_PILECAP = 1
PLOAD_STATIC = 1
CKLG_STANDARD, CKLG_BASIC = 0, 1
SUPPORT, DOF_XYZ = 1, 7  # PRTND: a support held along X, Y and Z

RA, TU, D = 1800.0, 600.0, 0.5
CASES = {"DL": 1, "WX": 2, "EX": 3}
TIP_REACTIONS = {  # case -> (FX, FZ) at the tips of pile 1 (node 4) and pile 2 (node 6)
    "DL": ((0.0, 500.0), (0.0, 500.0)),
    "WX": ((-18.0, -420.0), (-18.0, 420.0)),
    "EX": ((-10.5, -245.0), (-10.5, 245.0)),
}
#          key  number kind           seismic text (its terms)
GROUPS = [(201, 1, CKLG_STANDARD, 0, "1.0DL"),
          (202, 2, CKLG_STANDARD, 0, "0.6DL+1.0WX"),
          (203, 3, CKLG_STANDARD, 1, "1.0DL+1.0EX"),
          (101, 4, CKLG_BASIC, 0, "1.35DL")]


def terms(text):
    """{case: factor} of a group's text: factor then case name, "+" between terms."""
    out = {}
    for term in text.split("+"):
        at = len(term) - len(term.lstrip("0123456789."))
        out[term[at:]] = float(term[:at])
    return out


def keys(*k):
    """uint32 values: key lists."""
    return struct.pack("<%dI" % len(k), *k)


def reals(*v):
    return struct.pack("<%dd" % len(v), *v)


def node_array(*k):
    """PELEM.node: always 8 uint32, unused entries 0."""
    return keys(*(list(k) + [0] * (8 - len(k))))


def steps(*s):
    """COLF.step_data: 4 steps of (b, h, t) float64, the bottom first; unused steps 0."""
    flat = [v for step in s for v in step]
    return reals(*(flat + [0.0] * (12 - len(flat))))


SLOTS = reals(*[0.0] * 8)  # MEMB/GBPA text offsets: 8 slots, none moved


def check_map(entries):
    """A keyed map of check results: count, then per group its key and its checks (action, resistance)."""
    out = struct.pack("<I", len(entries))
    for key, checks in entries:
        out += struct.pack("<I", key) + reals(*[v for c in checks for v in c])
    return out


def pile_checks(pile):
    """PCDPILE row of pile 1 or 2: its top force N and horizontal force under each group, summed
    over the group's terms from its tip's reactions."""
    czl, cq, jy = [], [], []
    for key, _, kind, _, text in GROUPS:
        hx = sum(f * TIP_REACTIONS[c][pile - 1][0] for c, f in terms(text).items())
        n = sum(f * TIP_REACTIONS[c][pile - 1][1] for c, f in terms(text).items())
        if kind == CKLG_STANDARD:
            czl.append((key, [(n, RA), (n, 1.2 * RA), (n, TU), (hx, 0.05 * RA), (0.0, 0.05 * RA)]))
        jy.append((key, [(n, 14300.0 * math.pi * D * D / 4)]))
        cq.append((key, [(n, 0.7 * 1430.0 * math.pi * (D + 0.8) * 0.8)]))
    return (pile, RA, TU, check_map(czl), check_map(cq), check_map(jy))


def write_project(path):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute("CREATE TABLE pvx_header (name TEXT PRIMARY KEY, value TEXT NOT NULL)")
    db.executemany("INSERT INTO pvx_header VALUES (?, ?)",
                   [("format", "PVX post database"), ("version", "1"), ("post3d", "1"), ("floor", "0")])
    for name, cols in TABLES.items():
        db.execute('CREATE TABLE "%s" (%s)' % (name, ", ".join(cols)))

    def model_rows(table, rows):
        marks = ", ".join("?" * (len(rows[0]) + 1))
        db.executemany('INSERT INTO "%s" VALUES (%s)' % (table, marks),
                       [(r[0], seq) + tuple(r[1:]) for seq, r in enumerate(rows)])

    # ---- Analysis model ----
    model_rows("PNODE", [(1, 0.0, 0.0, 0.0), (2, 0.0, 0.0, 3.0), (3, -0.6, 0.0, -1.0), (4, -0.6, 0.0, -11.0),
                         (5, 0.6, 0.0, -1.0), (6, 0.6, 0.0, -11.0)])
    model_rows("PELEM", [(1, PELEM_KIND_FRAME, TYPE_COLUMN, 1, 0, 0, 0.0, 2, node_array(1, 2), 0),
                         (2, PELEM_KIND_FRAME, TYPE_PILE_ELEM, 1, 0, 0, 0.0, 2, node_array(3, 4), 0),
                         (3, PELEM_KIND_FRAME, TYPE_PILE_ELEM, 1, 0, 0, 0.0, 2, node_array(5, 6), 0),
                         (4, PELEM_KIND_FRAME, TYPE_LINE, 1, 0, 0, 0.0, 2, node_array(1, 3), 0),
                         (5, PELEM_KIND_FRAME, TYPE_LINE, 1, 0, 0, 0.0, 2, node_array(1, 5), 0)])
    #            key  type            subkind model_key pile_key node3 node4 length offset_z nodes       elems
    model_rows("PMEMB", [(1, TYPE_COLUMN, 0, 21, 0, 0, 0, 3.0, 0.0, keys(1, 2), keys(1)),
                         (2, TYPE_PILE_ELEM, 0, 1, 1, 0, 0, 10.0, 0.0, keys(3, 4), keys(2)),
                         (3, TYPE_PILE_ELEM, 0, 2, 2, 0, 0, 10.0, 0.0, keys(5, 6), keys(3)),
                         (4, TYPE_LINE, 0, 11, 0, 0, 0, 2.3, 0.0, keys(3, 1, 5), keys(4, 5))])
    model_rows("PSTLD", [(k, PLOAD_STATIC, name) for name, k in CASES.items()])
    model_rows("PRTND", [(4, SUPPORT, DOF_XYZ), (6, SUPPORT, DOF_XYZ)])
    db.executemany('INSERT INTO "REAC" VALUES (?, ?, 0, ?, 0, 0, 0)',
                   [((CASES[c] << 32) | node, fx, fz) for c, tips in TIP_REACTIONS.items()
                    for node, (fx, fz) in zip((4, 6), tips)])

    # ---- Foundation model ----
    model_rows("PONT", [(1, 0.0, 0.0), (2, -0.6, 0.0), (3, 0.6, 0.0)])
    #            key  type          angle fosp ponts    text_x text_y
    model_rows("MEMB", [(11, MEMB_FOOTING, 0.0, 0, keys(1), SLOTS, SLOTS),
                        (21, MEMB_COLUMN, 0.0, 0, keys(1), SLOTS, SLOTS),
                        (1, MEMB_PILE, 0.0, 1, keys(2), SLOTS, SLOTS),
                        (2, MEMB_PILE, 0.0, 1, keys(3), SLOTS, SLOTS)])
    model_rows("COLM", [(21, 0.5, 0.5)])
    #            key  kind          circle join steps cx   cy   step_data (b, h, t)
    model_rows("COLF", [(11, COLF_PILECAP, 0, 0, 1, 0.0, 0.0, steps((2.2, 1.0, 1.0)))])
    #            key membs      length capacity (kN)
    model_rows("PILE", [(1, keys(11), 10.0, RA), (2, keys(11), 10.0, RA)])
    model_rows("PISP", [(1, "ZH500", D)])
    model_rows("GBPA", [(2, SLOTS, SLOTS, 0.002, 0.004, 0.004, 200.0, 0.0005, 1)])
    #            key  number kind blast seismic design_use lc_type sort_text
    model_rows("CKLG", [(key, number, kind, 0, seismic, 1, 0, text) for key, number, kind, seismic, text in GROUPS])
    model_rows("PCDPILE", [pile_checks(1), pile_checks(2)])

    db.commit()
    db.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: small_foundation.py OUT.pvxdb")
    write_project(sys.argv[1])
    print("Wrote %s: one pile cap on two piles under a column" % sys.argv[1])
