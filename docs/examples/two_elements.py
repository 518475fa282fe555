#!/usr/bin/env python3
"""Writes a two-element project database (.pvxdb) with nothing but Python's sqlite3.

    python3 docs/examples/two_elements.py two.pvxdb
    pvxhost --db two.pvxdb info
    pvxhost --db two.pvxdb render --view iso --out two.bmp

The project: a 6 m x 6 m raft panel, 0.5 m thick (one plate element, type 301), resting on four
corner springs of 50,000 kN/m, and a 3 m column of 0.4 m x 0.4 m (one line element, type 101)
standing on the corner (6, 6). Load case 1 "DL": 400 kN down the column and the raft's own weight,
25 kN/m3 x 0.5 m = 12.5 kN/m2, 450 kN in all. Combination 101 "1.35DL". Every table and column
used here is described in docs/DATABASE.md.

The results are those of a rigid panel on four equal springs, worked out by hand:
  corner reaction  R = W/4 + P/4 (1 + x'/3 + y'/3),  x', y' from the panel centre (m)
    node 1 (0,0): 112.5 - 100 = 12.5 kN     node 2 (6,0): 112.5 + 100 = 212.5 kN
    node 3 (6,6): 112.5 + 300 = 412.5 kN    node 4 (0,6): 212.5 kN          sum 850 kN
  corner settlement R / k:  0.25, 4.25, 8.25, 4.25 mm, a plane tilted 4 mm over 6 m in x and y
    so RX = dDZ/dy = -0.000667 rad and RY = -dDZ/dx = +0.000667 rad at every node
  column top: settles 8.25 mm with node 3 plus the shortening N L / (E A) = 400 x 3 / (3e7 x 0.16)
    = 0.25 mm, and sways with the tilt by 0.000667 x 3 m = 2 mm in x and in y
  column forces: axial -400 kN (compression negative) along its length
  raft centre moment: cut along x = 3; right half: springs 625 kN at 3 m, column 400 kN at 3 m,
    weight 225 kN at 1.5 m: M = 1875 - 1200 - 337.5 = 337.5 kN·m over 6 m = 56.25 kN·m/m
    (sagging, bottom in tension), the same in y by symmetry; shear at the cut 625 - 400 - 225 = 0.

A third element, a 6 m beam (type 201, 0.3 m x 0.6 m) from (10, 0, 3) to (16, 0, 3), simply
supported at both ends (nodes 6 and 7) and loaded by q = 10 kN/m in DL:
  end reactions qL/2 = 30 kN up at each end
  shear     Vz(x) = q (L/2 - x): +30 kN at the i-end, 0 at mid-span, -30 kN at the j-end
  moment    My(x) = q x (L - x) / 2, positive sagging (bottom in tension): 0 at the ends,
            qL^2/8 = 10 x 36 / 8 = 45 kN·m at mid-span
The frame force diagram draws it below the beam, on its tension side.
"""
import math
import os
import sqlite3
import struct
import sys

# ---- The schema (docs/DATABASE.md) ----------------------------------------------------------
# Model tables are keyed by `key` and keep their order in `seq`; result tables are keyed by `id`
# (load case or mode in the high 32 bits, node/element/member key in the low 32 bits).
MODEL = ("key INTEGER PRIMARY KEY", "seq INTEGER NOT NULL")
RESULT = ("id INTEGER PRIMARY KEY",)
PELEM_COLUMNS = ("kind INTEGER", "type INTEGER", "active INTEGER", "matl INTEGER", "sect INTEGER",
                 "beta REAL", "nnode INTEGER", "node BLOB", "se_result INTEGER")


def six_reals(names):
    return tuple(n + " REAL" for n in names)


TABLES = {
    "PNODE": MODEL + ("x REAL", "y REAL", "z REAL"),
    "PELEM": MODEL + PELEM_COLUMNS,
    "PMEMB": MODEL + ("type INTEGER", "subkind INTEGER", "model_key INTEGER", "pile_key INTEGER",
                      "node3 INTEGER", "node4 INTEGER", "length REAL", "offset_z REAL", "nodes BLOB",
                      "elems BLOB"),
    "PSECT": MODEL + ("type INTEGER", "name TEXT", "dim BLOB", "stiff BLOB"),
    "PMATL": MODEL + ("name TEXT", "E REAL", "nu REAL", "gamma REAL"),
    "PWALL": MODEL + ("x REAL", "y REAL", "dx REAL", "dy REAL", "type INTEGER", "result_no INTEGER",
                      "x1 REAL", "y1 REAL", "z1 REAL", "x2 REAL", "y2 REAL", "z2 REAL"),
    "PSLAB": MODEL + ("result_type INTEGER", "nodes BLOB"),
    "PSTLD": MODEL + ("type INTEGER", "name TEXT"),
    "PLCOM": MODEL + ("type INTEGER", "name TEXT", "entries BLOB"),
    "CTLN": MODEL + ("kind INTEGER", "name TEXT", "width REAL", "x1 REAL", "y1 REAL", "z1 REAL",
                     "x2 REAL", "y2 REAL", "z2 REAL"),
    "PSEMAP": MODEL + ("se_key INTEGER",) + tuple("map%d BLOB" % i for i in range(1, 7)),
    "PSELEM": MODEL + ("inodes BLOB", "jnodes BLOB", "model_nodes BLOB"),
    "PRDSTSE": MODEL + ("dx REAL", "dy REAL", "dz REAL"),
    "PNODESE": MODEL + ("se_key INTEGER", "node_key INTEGER", "x REAL", "y REAL", "z REAL"),
    "PELEMSE": MODEL + ("se_key INTEGER", "elem_key INTEGER") + PELEM_COLUMNS,
    "FREQ": MODEL + ("omega REAL", "freq REAL", "period REAL", "factor REAL", "damping REAL"),
    "MPAM": MODEL + ("mass BLOB",),
    "PESPR": MODEL + ("elem INTEGER", "kv REAL", "width REAL"),
    "PRTND": MODEL + ("type INTEGER", "dof INTEGER"),
    "SDIR": MODEL + ("sel INTEGER", "angle1 REAL", "angle2 REAL"),
    "DISP": RESULT + six_reals(("DX", "DY", "DZ", "RX", "RY", "RZ")),
    "REAC": RESULT + six_reals(("FX", "FY", "FZ", "MX", "MY", "MZ")),
    "MODE": RESULT + six_reals(("DX", "DY", "DZ", "RX", "RY", "RZ")),
    "STRP": RESULT + ("head BLOB", "blk BLOB"),
    "MBWG": RESULT + ("d BLOB",),
    "STRG": RESULT + ("d BLOB",),
    "MBCL": RESULT + ("d BLOB",),
    "MBBR": RESULT + ("d BLOB",),
    "STRW": RESULT + ("d BLOB",),
    "STWS": RESULT + ("d BLOB",),
    "DISPHIS": RESULT + ("nstep INTEGER", "dt REAL", "\"values\" BLOB"),
    "MBWC": RESULT + ("d BLOB",),
    "MBWB": RESULT + ("d BLOB",),
    "SLDG": RESULT + ("force_a REAL", "force_b REAL", "force_edge_a BLOB", "force_edge_b BLOB", "result_a REAL",
                      "result_b REAL", "result_c REAL", "result_edge_a BLOB", "result_edge_b BLOB"),
    "SWDF": RESULT + ("m BLOB", "v BLOB", "h0 INTEGER"),
    "SSFR": RESULT + ("story INTEGER", "force0 REAL", "force45 REAL", "force90 REAL", "ratio0 REAL",
                      "ratio45 REAL", "ratio90 REAL"),
    "SMNT": RESULT + ("centre_x REAL", "centre_y REAL", "pos BLOB", "neg BLOB"),
}

# ---- Codes ----------------------------------------------------------------------------------
PELEM_KIND_FRAME, PELEM_KIND_PLATE = 2, 3
TYPE_COLUMN, TYPE_BEAM, TYPE_RAFT = 101, 201, 301
PLOAD_STATIC = 1
PLCOM_LINEAR = 0
CTLN_CUTLINE = 0


# ---- BLOB packing: little-endian, no header -------------------------------------------------
def keys(*k):
    """uint32 values: node and element lists."""
    return struct.pack("<%dI" % len(k), *k)


def reals(*v):
    """float64 values: arrays of numbers."""
    return struct.pack("<%dd" % len(v), *v)


def node_array(*k):
    """PELEM.node: always 8 uint32, unused entries 0."""
    return keys(*(list(k) + [0] * (8 - len(k))))


def comb_entries(*terms):
    """PLCOM.entries: 64 entries of (int32 kind, uint32 key, float64 factor); key 0 ends the list."""
    blob = b"".join(struct.pack("<iId", kind, key, factor) for kind, key, factor in terms)
    return blob + bytes(16 * (64 - len(terms)))


def result_id(load, key):
    """Row id of a result: load case (or mode) and key packed in a signed 64-bit integer."""
    v = (load << 32) | key
    return v - (1 << 64) if v >= (1 << 63) else v


def plate_block(mxx, myy, mxy, vx, vy, t):
    """The 30 values of one plate result block from moments (kN·m/m), shears (kN/m) and the
    thickness (m); membrane forces 0. The derived values (principal values, angles, effective
    stress, maximum shear) are stored: the program does not recompute them from a file."""
    def principal(a, c, xy):
        r = math.sqrt(0.25 * (a - c) ** 2 + xy * xy)
        ang = math.degrees(0.5 * math.atan2(2 * xy, a - c)) if r > 0 else 0.0
        return 0.5 * (a + c) + r, 0.5 * (a + c) - r, ang

    b = [0.0] * 30
    z = 6.0 / (t * t)  # bending stress per unit moment
    for surface, sign in ((0, -1.0), (1, 1.0)):  # surface 1 (top) is compressed by a positive moment
        s = [sign * z * mxx, sign * z * myy, sign * z * mxy]
        p1, p2, ang = principal(*s)
        b[7 * surface:7 * surface + 7] = s + [p1, p2, ang, math.sqrt(p1 * p1 - p1 * p2 + p2 * p2)]
        b[28 + surface] = 0.5 * (p1 - p2)
    b[17], b[18], b[19] = principal(0.0, 0.0, 0.0)
    b[20], b[21], b[22] = mxx, myy, mxy
    b[23], b[24], b[25] = principal(mxx, myy, mxy)
    b[26], b[27] = vx, vy
    return b


def write_project(path):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute("CREATE TABLE pvx_header (name TEXT PRIMARY KEY, value TEXT NOT NULL)")
    db.executemany("INSERT INTO pvx_header VALUES (?, ?)",
                   [("format", "PVX post database"), ("version", "1"), ("post3d", "1"), ("floor", "0")])
    # Tables left out read as empty; the example creates them all to show their layout.
    for name, cols in TABLES.items():
        db.execute('CREATE TABLE "%s" (%s)' % (name, ", ".join(cols)))

    def model_rows(table, rows):
        """rows: (key, values...) in table order; seq is the position."""
        marks = ", ".join("?" * (len(rows[0]) + 1))
        db.executemany('INSERT INTO "%s" VALUES (%s)' % (table, marks),
                       [(r[0], seq) + tuple(r[1:]) for seq, r in enumerate(rows)])

    def result_rows(table, load, rows):
        """rows: (key, values...) of one load case or mode."""
        marks = ", ".join("?" * len(rows[0]))
        db.executemany('INSERT INTO "%s" VALUES (%s)' % (table, marks),
                       [(result_id(load, r[0]),) + tuple(r[1:]) for r in rows])

    # ---- Model ----
    model_rows("PNODE", [(1, 0.0, 0.0, 0.0), (2, 6.0, 0.0, 0.0), (3, 6.0, 6.0, 0.0), (4, 0.0, 6.0, 0.0),
                         (5, 6.0, 6.0, 3.0), (6, 10.0, 0.0, 3.0), (7, 16.0, 0.0, 3.0)])
    model_rows("PMATL", [(1, "C30", 3.0e7, 0.2, 25.0)])
    col_a, col_i = 0.4 * 0.4, 0.4 ** 4 / 12.0
    # Stiffness: 3 sets of 13 values: area, shear area y, shear area z, torsion, I3, I2, 7 unused.
    col_set = [col_a, col_a * 5 / 6, col_a * 5 / 6, 0.141 * 0.4 ** 4, col_i, col_i] + [0.0] * 7
    raft_set = [0.5, 0.0, 0.0, 0.0, 0.5 ** 3 / 12.0, 0.0] + [0.0] * 7
    beam_a = 0.3 * 0.6
    beam_set = [beam_a, beam_a * 5 / 6, beam_a * 5 / 6, 0.0, 0.3 * 0.6 ** 3 / 12.0, 0.6 * 0.3 ** 3 / 12.0] + [0.0] * 7
    model_rows("PSECT", [(1, 1, "COL400x400", reals(0.4, 0.4, 0.0, 0.0), reals(*(col_set * 3))),
                         (2, 1, "RAFT500", reals(0.5, 0.0, 0.0, 0.0), reals(*(raft_set * 3))),
                         (3, 1, "B300x600", reals(0.3, 0.6, 0.0, 0.0), reals(*(beam_set * 3)))])
    #            key  kind              type         active matl sect beta nnode node              se_result
    model_rows("PELEM", [(1, PELEM_KIND_PLATE, TYPE_RAFT, 1, 1, 2, 0.0, 4, node_array(1, 2, 3, 4), 0),
                         (2, PELEM_KIND_FRAME, TYPE_COLUMN, 1, 1, 1, 0.0, 2, node_array(3, 5), 0),
                         (3, PELEM_KIND_FRAME, TYPE_BEAM, 1, 1, 3, 0.0, 2, node_array(6, 7), 0)])
    #            key  type   subkind model_key pile_key node3 node4 length offset_z nodes  elems
    model_rows("PMEMB", [(1, TYPE_RAFT, 0, 0, 0, 0, 0, 0.0, 0.0, keys(1, 2, 3, 4), keys(1)),
                         (2, TYPE_COLUMN, 0, 0, 0, 0, 0, 3.0, 0.0, keys(3, 5), keys(2)),
                         (3, TYPE_BEAM, 0, 0, 0, 0, 0, 6.0, 0.0, keys(6, 7), keys(3))])
    model_rows("PSLAB", [(1, TYPE_RAFT, keys(1, 2, 3, 4))])
    # The raft's corners are supported (type 1: the reaction display shows them), vertically.
    model_rows("PRTND", [(1, 1, 4), (2, 1, 4), (3, 1, 4), (4, 1, 4), (6, 1, 4), (7, 1, 4)])
    model_rows("PSTLD", [(1, PLOAD_STATIC, "DL")])
    model_rows("PLCOM", [(101, PLCOM_LINEAR, "1.35DL", comb_entries((PLOAD_STATIC, 1, 1.35)))])
    #            key  kind        name           width  x1   y1   z1   x2   y2   z2
    model_rows("CTLN", [(1, CTLN_CUTLINE, "Cut-Line #1", 0.0, -1.0, 3.0, 0.0, 7.0, 3.0, 0.0)])

    # ---- Results of load case 1 ----
    rx, ry = -4.0 / 6000.0, 4.0 / 6000.0  # tilt of the panel, rad
    result_rows("DISP", 1, [(1, 0.0, 0.0, -0.25, rx, ry, 0.0), (2, 0.0, 0.0, -4.25, rx, ry, 0.0),
                            (3, 0.0, 0.0, -8.25, rx, ry, 0.0), (4, 0.0, 0.0, -4.25, rx, ry, 0.0),
                            (5, 2.0, 2.0, -8.5, rx, ry, 0.0), (6, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0),
                            (7, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0)])
    result_rows("REAC", 1, [(1, 0.0, 0.0, 12.5, 0.0, 0.0, 0.0), (2, 0.0, 0.0, 212.5, 0.0, 0.0, 0.0),
                            (3, 0.0, 0.0, 412.5, 0.0, 0.0, 0.0), (4, 0.0, 0.0, 212.5, 0.0, 0.0, 0.0),
                            (6, 0.0, 0.0, 30.0, 0.0, 0.0, 0.0), (7, 0.0, 0.0, 30.0, 0.0, 0.0, 0.0)])
    # Column (member 2): 4 blocks x 6 components, 9 stations x 6, and 8 segments x 2 ends x 6.
    axial = [-400.0, 0.0, 0.0, 0.0, 0.0, 0.0]
    result_rows("MBCL", 1, [(2, reals(*(axial + axial + [0.0] * 12)))])
    result_rows("MBWG", 1, [(2, reals(*(axial * 9)))])
    result_rows("STRG", 1, [(2, reals(*(axial * 16)))])
    # Beam (member 3): N, Vy, Vz, T, My, Mz at the nine stations x = s L / 8; segment s runs from
    # station s to station s + 1.
    q, span = 10.0, 6.0
    beam = []
    for s in range(9):
        x = span * s / 8.0
        beam.append([0.0, 0.0, q * (span / 2.0 - x), 0.0, q * x * (span - x) / 2.0, 0.0])
    result_rows("MBWG", 1, [(3, reals(*sum(beam, [])))])
    result_rows("STRG", 1, [(3, reals(*sum((beam[s] + beam[s + 1] for s in range(8)), [])))])
    # Raft plate (element 1): 24 leading values, then the centre block and the four corner blocks.
    centre = plate_block(56.25, 56.25, 0.0, 0.0, 0.0, 0.5)
    corner = plate_block(0.0, 0.0, 0.0, 0.0, 0.0, 0.5)
    result_rows("STRP", 1, [(1, reals(*[0.0] * 24), reals(*(centre + corner * 4)))])

    db.commit()
    db.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: two_elements.py OUT.pvxdb")
    write_project(sys.argv[1])
    print("Wrote %s: 7 nodes, 3 elements (raft plate 1, column 2, beam 3), load case DL" % sys.argv[1])
