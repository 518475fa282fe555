#!/usr/bin/env python3
"""Writes a 4-storey reinforced-concrete frame (.pvxdb) with nothing but Python's sqlite3.

    python3 docs/examples/rc_frame.py frame.pvxdb
    pvxhost --db frame.pvxdb render --mode 4 --load 3 --view iso --out torsion.bmp
    pvxhost --db frame.pvxdb graph modes --modes 1,2,3 --out modes.bmp

The frame: 2 x 2 bays of 6 m (x and y from -6 to 6), 4 storeys of 3.6 m; columns 0.5 x 0.5 m
(type 101), beams 0.3 x 0.6 m (type 201, the roof's 205), C30 (E = 3e7 kN/m2), fixed at z = 0.
Node keys 100 x level + 3 x row + column + 1 (level 0 the supports).

Load case 1 "DL", 10 kN/m2 on every floor, carried two ways by the beams (worked out by hand):
  each beam takes a strip of half its tributary width: edge beams q = 15 kN/m, inner 30 kN/m,
  fixed-ended: Vz = q (L/2 - x), My = q (6Lx - 6x^2 - L^2) / 12 (ends -qL^2/12, mid qL^2/24)
  a column carries 10 kN/m2 x its area per floor above: corner 9 m2, edge 18, inner 36 m2,
  N = -90, -180, -360 kN per floor (compression negative); its top sinks by N h / EA.
Modes: a shear building of rigid floors (mass m = 144 m2 x 10 / 9.81 t, polar inertia
m (12^2 + 12^2) / 12), first mode sin(i pi / 9) at level i, for sway X (1.67 Hz), sway Y
(1.79 Hz) and torsion (2.05 Hz), normalised to unit modal mass (translations in m, rotations
in rad, one vector). The joints turn by half the mean drift angle of the storeys beside them
(beams of finite stiffness), so the rotations are not zero.
Load case 2 "THX" (time history, no DISP rows): mode 1 ringing, roof 20 mm peak, 101 steps of
0.02 s, step 0 at t = 0.
"""
import math
import os
import sqlite3
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from two_elements import TABLES, keys, node_array, reals, result_id  # noqa: E402

H, BAY, LEVELS = 3.6, 6.0, 4
GRID = [(-BAY + BAY * c, -BAY + BAY * r) for r in range(3) for c in range(3)]  # plan of node j = index + 1
E, A_COL, W = 3.0e7, 0.25, 10.0
MASS = 144.0 * W / 9.81
J = MASS * (12.0 ** 2 + 12.0 ** 2) / 12.0
SHAPE = [0.0] + [math.sin(i * math.pi / 9.0) for i in range(1, LEVELS + 1)]


def node(level, j):
    return 100 * level + j + 1


def area(j):
    x, y = GRID[j]
    return (3.0 if x else 6.0) * (3.0 if y else 6.0)  # tributary plan area, m2


def joint_turn(values, i):
    """Half the mean drift angle of the storeys beside level i (0 at the fixed base)."""
    if i == 0:
        return 0.0
    drifts = [(values[i] - values[i - 1]) / H] + ([(values[i + 1] - values[i]) / H] if i < LEVELS else [])
    return 0.5 * sum(drifts) / len(drifts)


def mode_rows(kind):
    """Unit-modal-mass rows (node, DX, DY, DZ, RX, RY, RZ) of the sway X, sway Y or torsion mode."""
    scale = 1.0 / math.sqrt((J if kind == "RZ" else MASS) * sum(s * s for s in SHAPE))
    amp = [scale * s for s in SHAPE]
    rows = []
    for i in range(LEVELS + 1):
        turn = joint_turn(amp, i)
        for j, (x, y) in enumerate(GRID):
            if kind == "X":
                rows.append((node(i, j), amp[i], 0.0, 0.0, 0.0, turn, 0.0))
            elif kind == "Y":
                rows.append((node(i, j), 0.0, amp[i], 0.0, -turn, 0.0, 0.0))
            else:  # a floor turning by theta about the centre: u = -theta y, v = theta x
                rows.append((node(i, j), -amp[i] * y, amp[i] * x, 0.0, -turn * x, -turn * y, amp[i]))
    return rows, sum(MASS * a for a in amp) if kind != "RZ" else sum(J * a for a in amp)


def beam_forces(q, stations):
    """N, Vy, Vz, T, My, Mz of a fixed-ended beam of span BAY under q at the given fractions."""
    return [[0.0, 0.0, q * (BAY / 2 - f * BAY), 0.0, q * (6 * BAY * f * BAY - 6 * (f * BAY) ** 2 - BAY ** 2) / 12, 0.0]
            for f in stations]


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

    def result_rows(table, load, rows):
        marks = ", ".join("?" * len(rows[0]))
        db.executemany('INSERT INTO "%s" VALUES (%s)' % (table, marks),
                       [(result_id(load, r[0]),) + tuple(r[1:]) for r in rows])

    model_rows("PNODE", [(node(i, j), x, y, H * i) for i in range(LEVELS + 1) for j, (x, y) in enumerate(GRID)])
    model_rows("PMATL", [(1, "C30", E, 0.2, 25.0)])
    col_i, b_i3, b_i2 = 0.5 ** 4 / 12, 0.3 * 0.6 ** 3 / 12, 0.6 * 0.3 ** 3 / 12
    col_set = [A_COL, A_COL * 5 / 6, A_COL * 5 / 6, 0.141 * 0.5 ** 4, col_i, col_i] + [0.0] * 7
    beam_set = [0.18, 0.15, 0.15, 0.0, b_i3, b_i2] + [0.0] * 7
    model_rows("PSECT", [(1, 1, "C500x500", reals(0.5, 0.5, 0.0, 0.0), reals(*(col_set * 3))),
                         (2, 1, "B300x600", reals(0.3, 0.6, 0.0, 0.0), reals(*(beam_set * 3)))])
    elems, membs, col_forces, beam_rows = [], [], [], []
    for i in range(1, LEVELS + 1):
        for j in range(9):  # the column under node (i, j): member 1000 + 10 i + j
            k, n = 1000 + 10 * i + j, -W * area(j) * (LEVELS + 1 - i)
            elems.append((k, 2, 101, 1, 1, 1, 0.0, 2, node_array(node(i - 1, j), node(i, j)), 0))
            membs.append((k, 101, 0, 0, 0, 0, 0, H, 0.0, keys(node(i - 1, j), node(i, j)), keys(k)))
            col_forces.append((k, n))
        # Beams from node a to node b (one bay along x or y): member 2000 + 100 i + a + 10 b.
        for a, b in [(a, a + 1) for a in range(9) if a % 3 < 2] + [(a, a + 3) for a in range(6)]:
            k, t = 2000 + 100 * i + a + 10 * b, 205 if i == LEVELS else 201
            (xa, ya), (xb, yb) = GRID[a], GRID[b]
            inner = (ya == yb and ya == 0.0) or (xa == xb and xa == 0.0)
            elems.append((k, 2, t, 1, 1, 2, 0.0, 2, node_array(node(i, a), node(i, b)), 0))
            membs.append((k, t, 0, 0, 0, 0, 0, BAY, 0.0, keys(node(i, a), node(i, b)), keys(k)))
            beam_rows.append((k, 30.0 if inner else 15.0))
    model_rows("PELEM", elems)
    model_rows("PMEMB", membs)
    model_rows("PRTND", [(node(0, j), 1, 63) for j in range(9)])
    model_rows("PSTLD", [(1, 1, "DL"), (2, 3, "THX")])

    # ---- Load case 1: gravity ----
    for k, n in col_forces:
        result_rows("MBCL", 1, [(k, reals(*([n] + [0.0] * 5) * 2 + [0.0] * 12))])
        result_rows("MBWG", 1, [(k, reals(*([n] + [0.0] * 5) * 9))])
        result_rows("STRG", 1, [(k, reals(*([n] + [0.0] * 5) * 16))])
    for k, q in beam_rows:
        st = beam_forces(q, [s / 8 for s in range(9)])
        result_rows("MBWG", 1, [(k, reals(*sum(st, [])))])
        result_rows("STRG", 1, [(k, reals(*sum((st[s] + st[s + 1] for s in range(8)), [])))])
    disp = []
    for j in range(9):
        sink = 0.0
        for i in range(LEVELS + 1):
            if i:
                sink += W * area(j) * (LEVELS + 1 - i) * H / (E * A_COL) * 1000.0
            disp.append((node(i, j), 0.0, 0.0, -sink, 0.0, 0.0, 0.0))
    result_rows("DISP", 1, disp)
    result_rows("REAC", 1, [(node(0, j), 0.0, 0.0, W * area(j) * LEVELS, 0.0, 0.0, 0.0) for j in range(9)])

    # ---- Modes ----
    total = {"X": 4 * MASS, "Y": 4 * MASS, "RZ": 4 * J}
    first = None
    for m, (kind, f) in enumerate([("X", 1.67), ("Y", 1.79), ("RZ", 2.05)], start=1):
        rows, gamma = mode_rows(kind)
        first = first or rows
        db.execute('INSERT INTO FREQ VALUES (?, ?, ?, ?, ?, ?, ?)', (m, m - 1, 2 * math.pi * f, f, 1.0 / f, 0.0, 0.05))
        mass = [100.0 * gamma ** 2 / total[kind] if kind == c else 0.0 for c in ("X", "Y", "Z", "RX", "RY", "RZ")]
        db.execute('INSERT INTO MPAM VALUES (?, ?, ?)', (m, m - 1, reals(*mass)))
        result_rows("MODE", m, rows)

    # ---- Load case 2: mode 1 ringing, 20 mm at the roof ----
    w1, steps, dt = 2 * math.pi * 1.67, 101, 0.02
    amp = 0.020 / first[-1][1]
    for r in first:
        values = []
        for s in range(steps):
            sn, cs = math.sin(w1 * s * dt), math.cos(w1 * s * dt)
            d = [amp * v * sn for v in r[1:]]
            values += [1000.0 * v for v in d[:3]] + d[3:]
            values += [amp * v * w1 * cs for v in r[1:]] + [-amp * v * w1 * w1 * sn for v in r[1:]]
        db.execute('INSERT INTO DISPHIS VALUES (?, ?, ?, ?)', (result_id(2, r[0]), steps, dt, reals(*values)))
    db.commit()
    db.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: rc_frame.py OUT.pvxdb")
    write_project(sys.argv[1])
    print("Wrote %s: 45 nodes, 36 columns, 48 beams, load cases DL and THX, 3 modes" % sys.argv[1])
