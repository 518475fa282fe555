#!/usr/bin/env python3
"""Writes a small foundation (.pvxdb) with nothing but Python's sqlite3.

    python3 docs/examples/small_foundation.py small.pvxdb
    pvxhost --db small.pvxdb info

The project: a 3 m column of 0.5 m x 0.5 m standing on a pile cap at the origin, the cap 2.2 m x
1.0 m and 1.0 m thick on two piles 10 m long, 0.5 m across, at x = -0.6 and +0.6 m. The analysis
model holds the column (element 1, type 101) and the two pile elements (2 and 3, type 403) from
the cap's underside down to their tips; its pile members name the foundation's piles 1 and 2 in
pile_key. The foundation model holds the points of the cap's centre and of the two pile heads,
the footing member 11 (type 401) with its one step, the column member 21 (type 101), the piles'
members 1 and 2 (type 403) in pile section 1, the piles themselves, a foundation section, the
global parameters and one check load group. Every table and column used here is described in
docs/DATABASE.md.
"""
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
}

PELEM_KIND_FRAME = 2
TYPE_COLUMN, TYPE_PILE_ELEM = 101, 403
MEMB_COLUMN, MEMB_FOOTING, MEMB_PILE = 101, 401, 403
COLF_PILECAP = 1
PLOAD_STATIC = 1
CKLG_BASIC = 1


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
                         (3, PELEM_KIND_FRAME, TYPE_PILE_ELEM, 1, 0, 0, 0.0, 2, node_array(5, 6), 0)])
    #            key  type            subkind model_key pile_key node3 node4 length offset_z nodes       elems
    model_rows("PMEMB", [(1, TYPE_COLUMN, 0, 21, 0, 0, 0, 3.0, 0.0, keys(1, 2), keys(1)),
                         (2, TYPE_PILE_ELEM, 0, 1, 1, 0, 0, 10.0, 0.0, keys(3, 4), keys(2)),
                         (3, TYPE_PILE_ELEM, 0, 2, 2, 0, 0, 10.0, 0.0, keys(5, 6), keys(3))])
    model_rows("PSTLD", [(1, PLOAD_STATIC, "DL")])

    # ---- Foundation model ----
    model_rows("PONT", [(1, 0.0, 0.0), (2, -0.6, 0.0), (3, 0.6, 0.0)])
    #            key  type          angle fosp ponts    text_x text_y
    model_rows("MEMB", [(11, MEMB_FOOTING, 0.0, 1, keys(1), SLOTS, SLOTS),
                        (21, MEMB_COLUMN, 0.0, 0, keys(1), SLOTS, SLOTS),
                        (1, MEMB_PILE, 0.0, 1, keys(2), SLOTS, SLOTS),
                        (2, MEMB_PILE, 0.0, 1, keys(3), SLOTS, SLOTS)])
    model_rows("COLM", [(21, 0.5, 0.5)])
    #            key  kind          circle join steps cx   cy   step_data (b, h, t)
    model_rows("COLF", [(11, COLF_PILECAP, 0, 0, 1, 0.0, 0.0, steps((2.2, 1.0, 1.0)))])
    model_rows("FOSP", [(1, 2, 1, 0)])
    #            key membs      length capacity (kN)
    model_rows("PILE", [(1, keys(11), 10.0, 1800.0), (2, keys(11), 10.0, 1800.0)])
    model_rows("PISP", [(1, "ZH500", 0.5)])
    model_rows("GBPA", [(2, SLOTS, SLOTS, 0.002, 0.004, 0.004, 200.0, 0.0005, 1)])
    model_rows("CKLG", [(101, 1, CKLG_BASIC, 0, 0, 1, 0, "1.35DL")])

    db.commit()
    db.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: small_foundation.py OUT.pvxdb")
    write_project(sys.argv[1])
    print("Wrote %s: one pile cap on two piles under a column" % sys.argv[1])
