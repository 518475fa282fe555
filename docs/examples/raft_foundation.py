#!/usr/bin/env python3
"""Writes the raft of two_elements.py as a foundation (.pvxdb) with nothing but Python's sqlite3.

    python3 docs/examples/raft_foundation.py raft.pvxdb
    pvxhost --db raft.pvxdb info
    pvxhost --db raft.pvxdb figure 511 --load 201 --out raft511.dxf

The project is the one two_elements.py writes (a 6 m x 6 m raft panel, 0.5 m thick, on four corner
springs, a 0.4 m x 0.4 m column on its corner (6, 6), load case 1 "DL"), with what a foundation
program adds to it: the foundation model (the raft member 11 over the four corner points, the
column member 21 on the corner (6, 6)), one check load group, the soil pressures under the plate,
a punching check of the raft under the column and a settlement analysis. Every table and column
used here is described in docs/DATABASE.md.

The check group 201 "1.35DL" has no analysis combination under its key (combination 101 of
two_elements.py is another key): the sheets take its terms, 1.35 x the static case named DL.
What the sheets then show, worked out by hand from the rows below:
  511 raft member 1 (PMEMB type 301): its nodes' REAC FZ, 12.5 + 212.5 + 412.5 + 212.5 = 850 kN,
      x 1.35 = 1147.5 kN over the plan area of its outline (PMEMB.nodes), 36 m2: 31.875 kN/m2
  512 raft member 1: the DISP DZ of largest magnitude over its nodes, -8.25 mm x 1.35 = -11.1375 mm
  524 plate element 1: the mean of its four STWS pressures, 850 kN / 36 m2 = 23.611 kN/m2,
      x 1.35 = 31.875 kN/m2
  525 plate element 1: as 512, -11.1375 mm
  502 column 21: punching ratio = resistance / action = 1531.53 / 540 = 2.836
  600 settlement group 1 "SETTLE": the points' values, 0.25, 4.25, 8.25, 4.25 mm (downward
      positive; the contour lines are labelled with the negated values)
"""
import os
import sqlite3
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import two_elements  # noqa: E402  (the analysis model and its results)
from two_elements import keys, reals, result_id  # noqa: E402

MODEL = ("key INTEGER PRIMARY KEY", "seq INTEGER NOT NULL")
RESULT = ("id INTEGER PRIMARY KEY",)
TABLES = {
    "PONT": MODEL + ("x REAL", "y REAL"),
    "MEMB": MODEL + ("type INTEGER", "angle REAL", "fosp INTEGER", "ponts BLOB", "text_x BLOB", "text_y BLOB"),
    "COLM": MODEL + ("b REAL", "h REAL"),
    "MTSB": MODEL + ("type INTEGER", "parent INTEGER", "thick REAL"),
    "CKLG": MODEL + ("number INTEGER", "kind INTEGER", "blast INTEGER", "seismic INTEGER", "design_use INTEGER",
                     "lc_type INTEGER", "sort_text TEXT"),
    "PCDMTSB": MODEL + ("fa REAL", "czl BLOB", "slide BLOB", "turn BLOB", "lc BLOB", "kf BLOB", "bad BLOB",
                        "cq BLOB", "jq BLOB"),
    "LDGP": MODEL + ("type INTEGER", "name TEXT"),
    "PCDSINK": MODEL + ("x REAL", "y REAL", "z REAL", "constant REAL", "groups BLOB", "\"values\" BLOB"),
    "SRCT": MODEL + ("x REAL", "y REAL", "width REAL", "height REAL", "angle REAL"),
}

MEMB_COLUMN, MEMB_RAFT = 101, 402
MTSB_PLAIN = 1
CKLG_BASIC = 1
LDGP_SETTLEMENT = 2
CJ_COLUMN = 0
SLOTS = reals(*[0.0] * 8)  # MEMB text offsets: 8 slots, none moved

# The check group and the punching check of the raft under the column.
GROUP, GROUP_FACTOR = 201, 1.35
COLUMN_LOAD = 400.0                                     # kN down the column under DL
THICK, COVER, FT = 0.5, 0.05, 1430.0                    # m, m, kPa (C30)
H0 = THICK - COVER
U_M = 2 * (0.4 + 0.4) + 4 * H0                          # critical perimeter at h0/2, m
PUNCH_ACTION = GROUP_FACTOR * COLUMN_LOAD               # 540 kN
PUNCH_RESISTANCE = 0.7 * 1.0 * FT * U_M * H0            # 1531.53 kN
# Soil pressure at each corner: its spring reaction over a quarter of the panel (9 m2).
CORNER_REACTION = (12.5, 212.5, 412.5, 212.5)           # kN, nodes 1 to 4 (two_elements.py)
SETTLEMENT = (0.25, 4.25, 8.25, 4.25)                   # mm, R / k at nodes 1 to 4


def check_map(entries):
    """A keyed map of checks: uint32 count, then (uint32 group key, float64 action, float64 resistance)."""
    return struct.pack("<I", len(entries)) + b"".join(struct.pack("<Idd", k, a, r) for k, a, r in entries)


def punching_object(kind, members, outline, checks):
    """SlabCJCheckData_P: kind, member keys, outline points (m), the checks by group."""
    return (struct.pack("<II", kind, len(members)) + keys(*members) + struct.pack("<I", len(outline)) +
            b"".join(struct.pack("<dd", x, y) for x, y in outline) + check_map(checks))


def write_project(path):
    two_elements.write_project(path)
    db = sqlite3.connect(path)
    for name, cols in TABLES.items():
        db.execute('CREATE TABLE "%s" (%s)' % (name, ", ".join(cols)))

    def model_rows(table, rows):
        marks = ", ".join("?" * (len(rows[0]) + 1))
        db.executemany('INSERT INTO "%s" VALUES (%s)' % (table, marks),
                       [(r[0], seq) + tuple(r[1:]) for seq, r in enumerate(rows)])

    # ---- Foundation model: the raft over the panel's corners, the column on (6, 6) ----
    model_rows("PONT", [(1, 0.0, 0.0), (2, 6.0, 0.0), (3, 6.0, 6.0), (4, 0.0, 6.0)])
    model_rows("MEMB", [(11, MEMB_RAFT, 0.0, 0, keys(1, 2, 3, 4), SLOTS, SLOTS),
                        (21, MEMB_COLUMN, 0.0, 0, keys(3), SLOTS, SLOTS)])
    model_rows("MTSB", [(11, MTSB_PLAIN, 0, THICK)])
    model_rows("COLM", [(21, 0.4, 0.4)])
    # The analysis members name the foundation members they come from.
    db.execute("UPDATE PMEMB SET model_key = 11 WHERE key = 1")
    db.execute("UPDATE PMEMB SET model_key = 21 WHERE key = 2")
    #            key    number kind        blast seismic design_use lc_type text
    model_rows("CKLG", [(GROUP, 1, CKLG_BASIC, 0, 0, 1, 0, "1.35DL")])

    # ---- Soil pressure under the plate (kN/m2), one value per node, then zeros ----
    db.execute("INSERT INTO STWS VALUES (?, ?)",
               (result_id(1, 1), reals(*([r / 9.0 for r in CORNER_REACTION] + [0.0] * 4))))

    # ---- Punching of the raft under the column, group 201 ----
    # A column's object is found by its member key and drawn in the column's own outline (COLM):
    # it stores no outline points.
    empty = check_map([])
    cq = struct.pack("<I", 1) + struct.pack("<I", 21) + punching_object(
        CJ_COLUMN, [21], [], [(GROUP, PUNCH_ACTION, PUNCH_RESISTANCE)])
    model_rows("PCDMTSB", [(11, 150.0, struct.pack("<I", 0), empty, empty, struct.pack("<I", 0), empty, b"",
                            cq, struct.pack("<I", 0))])

    # ---- Settlement analysis: one settlement group, a point at each corner, four mesh cells ----
    model_rows("LDGP", [(1, LDGP_SETTLEMENT, "SETTLE")])
    model_rows("PCDSINK", [(k + 1, x, y, 0.0, 0.0, keys(1), reals(s))
                           for k, ((x, y), s) in enumerate(zip(((0, 0), (6, 0), (6, 6), (0, 6)), SETTLEMENT))])
    model_rows("SRCT", [(k + 1, x, y, 3.0, 3.0, 0.0) for k, (x, y) in enumerate(((1.5, 1.5), (4.5, 1.5),
                                                                                  (4.5, 4.5), (1.5, 4.5)))])
    db.commit()
    db.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: raft_foundation.py OUT.pvxdb")
    write_project(sys.argv[1])
    print("Wrote %s: the raft of two_elements.py as a foundation, check group %d, 4 settlement points"
          % (sys.argv[1], GROUP))
