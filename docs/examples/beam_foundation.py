#!/usr/bin/env python3
"""Writes a grid of foundation beams on springs (.pvxdb) with nothing but Python's sqlite3.

    python3 docs/examples/beam_foundation.py beams.pvxdb [NX NY]
    pvxhost --db beams.pvxdb info
    pvxhost --db beams.pvxdb figure 264 --load 101 --set precision=2 --out reaction.dxf
    pvxhost --db beams.pvxdb figure 266 --load 301 --out cracks.dxf

The project: a frame of NX x NY bays of 6 m (2 x 1 unless given), a foundation beam on every grid
line, one member per span (type 201, sub-kind 0), each span four elements of 1.5 m; a column on
every crossing (one element from z 0 to 4 m) and, in the first bay, a link beam across it at
x = 3 m (sub-kind 0 as well, BEAM.link 1) tying the two beams it ends on. The beams bear on
springs (PESPR kv = 20,000 kN/m3 over their 1.0 m base); the link beam does not: its inner nodes
have no spring. Every beam node is a spring node (PRTND type 1, dof 4: the spring acts along Z).
Load cases DL, LL (column loads P_DL, P_LL at the corners, twice that at the other crossings) and WX (a
moment M_WX about Y at the foundation). Groups: 101, 102 basic (design use), 201 standard,
301 quasi-permanent "1.0DL+0.5LL" (the crack widths). Every table and column used here is
described in docs/DATABASE.md.

The results are those of a rigid grid on its springs, worked out by hand. A node's spring is
K = kv x 1.0 m x its tributary length (half of each spring element meeting there, 0.75 m); the
grid settles w = P / sum K under DL and LL and turns by theta = M / sum K (x - xc)^2 under WX, so
a node's reaction is K (w + theta (x - xc)) and the soil carries q = kv x 1.0 m x the settlement
per metre of beam. With 2 x 1 bays: 6 columns, 4 corners and 2 edge columns (twice), 8 x 600 =
4,800 kN of DL over 7 spans of 6 m = 42 m of beam: q = 114.286 kN/m, w = 5.714 mm; LL 1,600 kN,
38.095 kN/m, 1.905 mm. Sheet 264 then writes every beam alike, its share of the springs: under
group 101 (1.3DL+1.5LL) 1.3 x 114.286 + 1.5 x 38.095 = 205.71 kN/m ("206"), the values times the
lengths 205.71 x 42 = 8,640 kN = 1.3 x 4,800 + 1.5 x 1,600; 265 writes -10.29 mm ("-10"). The
link beam (member 8) is on 163 to 167 and on neither 264 nor 265. (3 x 2 bays: 12,000 kN over
102 m.) Sheet 266 under group 301 writes at the first span's start Mq = 0.7 x 133.33 x 36 / 12 =
280 kN·m (q = 114.286 + 0.5 x 38.095) on the least steel 0.002 b h = 1,200 mm2: sigma_s = 231.2
N/mm2, psi = 0.535, w = 0.255 mm ("0.25").

The span forces take the upward q on a beam held at the columns: M(x) = Mi (1 - x/L) + Mj x/L -
q x (L - x) / 2 (sagging positive), Vz = dM/dx, with Mi, Mj = f q L^2 / 12 (f = 1.0 at an inner
column, 0.9 at the start of the next span there, 0.7 at an outer end). The design rows follow
the closed forms of the PDDBEAM section; the crack widths those of Mq under group 301.
"""
import math
import os
import sqlite3
import struct
import sys

MODEL = ("key INTEGER PRIMARY KEY", "seq INTEGER NOT NULL")
RESULT = ("id INTEGER PRIMARY KEY",)
TABLES = {
    "PNODE": MODEL + ("x REAL", "y REAL", "z REAL"),
    "PELEM": MODEL + ("kind INTEGER", "type INTEGER", "active INTEGER", "matl INTEGER", "sect INTEGER",
                      "beta REAL", "nnode INTEGER", "node BLOB", "se_result INTEGER"),
    "PMEMB": MODEL + ("type INTEGER", "subkind INTEGER", "model_key INTEGER", "pile_key INTEGER",
                      "node3 INTEGER", "node4 INTEGER", "length REAL", "offset_z REAL", "nodes BLOB",
                      "elems BLOB"),
    "PSTLD": MODEL + ("type INTEGER", "name TEXT"),
    "PESPR": MODEL + ("elem INTEGER", "kv REAL", "width REAL"),
    "PRTND": MODEL + ("type INTEGER", "dof INTEGER"),
    "DISP": RESULT + ("DX REAL", "DY REAL", "DZ REAL", "RX REAL", "RY REAL", "RZ REAL"),
    "REAC": RESULT + ("FX REAL", "FY REAL", "FZ REAL", "MX REAL", "MY REAL", "MZ REAL"),
    "MBWG": RESULT + ("d BLOB",),
    "STRG": RESULT + ("d BLOB",),
    "STWS": RESULT + ("d BLOB",),
    "PDDBEAM": MODEL + ("b REAL", "h REAL", '"as" REAL', "fy REAL", "ft REAL", "ftk REAL", "combs BLOB",
                        "areas BLOB", "over INTEGER", "extra BLOB", "crack_start BLOB", "crack_middle BLOB",
                        "crack_end BLOB"),
    # The foundation model.
    "PONT": MODEL + ("x REAL", "y REAL"),
    "AXIS": MODEL + ("pont1 INTEGER", "pont2 INTEGER", "chord REAL", "name TEXT"),
    "MEMB": MODEL + ("type INTEGER", "angle REAL", "fosp INTEGER", "ponts BLOB", "text_x BLOB", "text_y BLOB"),
    "COLM": MODEL + ("b REAL", "h REAL"),
    "BEAM": MODEL + ("type INTEGER", "link INTEGER", "beam_group INTEGER"),
    "GBPA": MODEL + ("text_x BLOB", "text_y BLOB", "diff_settle REAL", "tilt_x REAL", "tilt_y REAL",
                     "avg_settle REAL", "deflection REAL", "design_code INTEGER"),
    "CKLG": MODEL + ("number INTEGER", "kind INTEGER", "blast INTEGER", "seismic INTEGER", "design_use INTEGER",
                     "lc_type INTEGER", "sort_text TEXT"),
}

PELEM_KIND_FRAME = 2
TYPE_COLUMN, TYPE_BEAM = 101, 201
MEMB_COLUMN, MEMB_BEAM = 101, 201
PLOAD_STATIC = 1
SUPPORT, DOF_DZ = 1, 4
SPAN, PARTS, HEIGHT = 6.0, 4, 4.0
KV, WIDTH = 20000.0, 1.0                    # kN/m3, m: the beams' springs
P_DL, P_LL, M_WX = 600.0, 200.0, 900.0      # kN per outer column (inner: twice), kN·m
CASES = {"DL": 1, "LL": 2, "WX": 3}
#         key number kind design_use text
GROUPS = [(101, 1, 1, 1, "1.3DL+1.5LL"), (102, 2, 1, 1, "1.3DL+1.5LL+0.9WX"),
          (201, 3, 0, 0, "1.0DL+1.0LL"), (301, 4, 2, 0, "1.0DL+0.5LL")]
B, H, AS, FY, FT, FTK = 500.0, 1200.0, 40.0, 360.0, 1.43, 2.01   # design section, mm and N/mm2


def keys(*k):
    return struct.pack("<%dI" % len(k), *k)


def reals(*v):
    return struct.pack("<%dd" % len(v), *v)


def rid(load, key):
    return (load << 32) | key


def value_map(entries):
    """A keyed map of values: count, then (uint32 key, float64 value) per entry."""
    return struct.pack("<I", len(entries)) + b"".join(struct.pack("<Id", k, v) for k, v in entries)


def terms(text):
    out = {}
    for t in text.split("+"):
        at = len(t) - len(t.lstrip("0123456789."))
        out[t[at:]] = float(t[:at])
    return out


def steel(m, h0):
    """Tension steel of a moment (kN·m), at least 0.002 b h (mm2)."""
    return max(max(m, 0.0) * 1e6 / (0.9 * FY * h0), 0.002 * B * H)


def crack(mq, a_s, h0):
    """Crack width (m) of the quasi-permanent moment on its tension steel; negative on the top face."""
    if abs(mq) < 1e-9:
        return 0.0
    sigma = abs(mq) * 1e6 / (0.87 * h0 * a_s)
    rho = max(0.01, a_s / (0.5 * B * H))
    psi = min(1.0, max(0.2, 1.1 - 0.65 * FTK / (rho * sigma)))
    w = 1.9 * psi * sigma / 2.0e5 * (1.9 * (AS - 10.0) + 0.08 * 20.0 / rho)
    return math.copysign(w / 1000.0, mq)


class Grid:
    def __init__(self, nx, ny):
        self.nodes, self.elems, self.membs, self.spring_elems = {}, {}, [], []
        self.nx, self.ny = nx, ny
        self.xc = nx * SPAN / 2.0
        lines = [((0.0, j * SPAN), (1.0, 0.0), nx) for j in range(ny + 1)] + \
                [((i * SPAN, 0.0), (0.0, 1.0), ny) for i in range(nx + 1)]
        for (x0, y0), (dx, dy), spans in lines:
            for s in range(spans):
                ends = ("outer" if s == 0 else "next", "outer" if s == spans - 1 else "inner")
                self.add_member(x0 + s * SPAN * dx, y0 + s * SPAN * dy, dx, dy, ends, link=False)
        if ny > 0:
            self.add_member(SPAN / 2.0, 0.0, 0.0, 1.0, ("link", "link"), link=True)
        self.columns = [self.node(i * SPAN, j * SPAN) for j in range(ny + 1) for i in range(nx + 1)]

    def node(self, x, y, z=0.0):
        k = (round(x, 6), round(y, 6), round(z, 6))
        if k not in self.nodes:
            self.nodes[k] = len(self.nodes) + 1
        return self.nodes[k]

    def add_member(self, x0, y0, dx, dy, ends, link):
        step = SPAN / PARTS
        nodes = [self.node(x0 + i * step * dx, y0 + i * step * dy) for i in range(PARTS + 1)]
        elems = []
        for a, b in zip(nodes, nodes[1:]):
            e = len(self.elems) + 1
            self.elems[e] = (TYPE_BEAM, a, b)
            elems.append(e)
            if not link:
                self.spring_elems.append(e)
        self.membs.append(dict(nodes=nodes, elems=elems, ends=ends, link=link, start=(x0, y0),
                               end=(x0 + SPAN * dx, y0 + SPAN * dy)))

    def xy(self, n):
        return next((k[0], k[1]) for k, v in self.nodes.items() if v == n)

    def springs(self):
        """node -> K (kN/m): kv x width x half of each spring element meeting there."""
        k = {}
        for e in self.spring_elems:
            _, a, b = self.elems[e]
            for n in (a, b):
                k[n] = k.get(n, 0.0) + KV * WIDTH * SPAN / PARTS / 2.0
        return k


def settlement(grid, springs, case):
    """The rigid grid's settlement function (m, downward positive) of a load case."""
    corners = {(0.0, 0.0), (grid.nx * SPAN, 0.0), (0.0, grid.ny * SPAN), (grid.nx * SPAN, grid.ny * SPAN)}
    columns = sum(1 if grid.xy(n) in corners else 2 for n in grid.columns)  # in outer-column loads
    load = {"DL": P_DL, "LL": P_LL}.get(case)
    total_k = sum(springs.values())
    if load is not None:
        w = load * columns / total_k
        return lambda x: w
    theta = M_WX / sum(k * (grid.xy(n)[0] - grid.xc) ** 2 for n, k in springs.items())
    return lambda x: theta * (x - grid.xc)


def member_forces(m, settle):
    """MBWG of a member: 9 stations x 6 components."""
    (x0, _), (x1, _) = m["start"], m["end"]
    if m["link"]:  # no soil under the tie: end moments of 30 kN·m per mm of settlement, reversed
        q, mi, mj = 0.0, 30.0 * settle(SPAN) * 1e3, -30.0 * settle(SPAN) * 1e3
    else:
        q = KV * WIDTH * settle(0.5 * (x0 + x1))
        f = {"outer": 0.7, "inner": 1.0, "next": 0.9}
        mi, mj = (f[e] * q * SPAN ** 2 / 12.0 for e in m["ends"])
    d = []
    for s in range(9):
        x = s * SPAN / 8.0
        moment = mi * (1 - x / SPAN) + mj * x / SPAN - q * x * (SPAN - x) / 2.0
        shear = (mj - mi) / SPAN - q * (SPAN / 2.0 - x)
        d += [0.0, 0.0, shear, 0.0, moment, 0.0]
    return d


def write_project(path, nx=2, ny=1):
    grid = Grid(nx, ny)
    springs = grid.springs()
    settle = {c: settlement(grid, springs, c) for c in CASES}
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

    # ---- Analysis model: beams, then the columns on the crossings ----
    tops = {n: grid.node(*grid.xy(n), HEIGHT) for n in grid.columns}
    elems = dict(grid.elems)
    for n, top in tops.items():
        elems[len(elems) + 1] = (TYPE_COLUMN, n, top)
    model_rows("PNODE", [(n, x, y, z) for (x, y, z), n in sorted(grid.nodes.items(), key=lambda i: i[1])])
    model_rows("PELEM", [(e, PELEM_KIND_FRAME, t, 1, 0, 0, 0.0, 2, keys(a, b, 0, 0, 0, 0, 0, 0), 0)
                         for e, (t, a, b) in elems.items()])
    # Members: a span is a member (key i + 1), its foundation member 1000 + i + 1.
    membs = [(i + 1, TYPE_BEAM, 0, 1001 + i, 0, 0, 0, SPAN, 0.0, keys(*m["nodes"]), keys(*m["elems"]))
             for i, m in enumerate(grid.membs)]
    first_col = len(grid.membs) + 1
    for j, (n, top) in enumerate(tops.items()):
        e = len(grid.elems) + 1 + j
        membs.append((first_col + j, TYPE_COLUMN, 0, 2001 + j, 0, 0, 0, HEIGHT, 0.0, keys(n, top), keys(e)))
    model_rows("PMEMB", membs)
    model_rows("PSTLD", [(k, PLOAD_STATIC, name) for name, k in CASES.items()])
    model_rows("PESPR", [(e, e, KV, WIDTH) for e in grid.spring_elems])
    model_rows("PRTND", [(n, SUPPORT, DOF_DZ) for n in sorted(springs)])

    # ---- Results ----
    for case, k in CASES.items():
        s = settle[case]
        xy = {n: grid.xy(n) for n in grid.nodes.values()}
        db.executemany('INSERT INTO REAC VALUES (?, 0, 0, ?, 0, 0, 0)',
                       [(rid(k, n), kn * s(xy[n][0])) for n, kn in sorted(springs.items())])
        db.executemany('INSERT INTO DISP VALUES (?, 0, 0, ?, 0, 0, 0)',
                       [(rid(k, n), -1000.0 * s(xy[n][0])) for n in sorted(xy)])
        for e in grid.spring_elems:
            _, a, b = grid.elems[e]
            xa, xb = xy[a][0], xy[b][0]
            p = [KV * s(xa + (xb - xa) * t / 4.0) for t in range(5)]
            db.execute("INSERT INTO STWS VALUES (?, ?)", (rid(k, e), reals(*(p + [0.0] * 3))))
        for i, m in enumerate(grid.membs):
            d = member_forces(m, s)
            segs = [v for seg in range(8) for v in d[6 * seg:6 * seg + 12]]
            db.execute("INSERT INTO MBWG VALUES (?, ?)", (rid(k, i + 1), reals(*d)))
            db.execute("INSERT INTO STRG VALUES (?, ?)", (rid(k, i + 1), reals(*segs)))

    # ---- Beam design: per design group the start, middle and end sections; cracks under 301 ----
    def combined(m, text, station):
        t = terms(text)
        return [sum(f * member_forces(m, settle[c])[6 * station + comp] for c, f in t.items())
                for comp in range(6)]

    design = [(k, text) for k, _, _, use, text in GROUPS if use]
    quasi = next((k, text) for k, _, kind, _, text in GROUPS if kind == 2)
    h0 = H - AS
    rows = []
    for i, m in enumerate(grid.membs):
        areas, top, bottom = [], [0.0] * 3, [0.0] * 3
        for _, text in design:
            for s, station in enumerate((0, 4, 8)):
                f = combined(m, text, station)
                a1, a2 = steel(-f[4], h0), steel(f[4], h0)
                a3 = 100.0 * max(0.24 * FT / FY * B, (abs(f[2]) * 1e3 - 0.7 * FT * B * h0) / (FY * h0))
                areas += [a1, a2, a3, 0.001 * B * h0, 0.0]
                top[s], bottom[s] = max(top[s], a1), max(bottom[s], a2)
        cracks = []
        for s, station in enumerate((0, 4, 8)):
            mq = combined(m, quasi[1], station)[4]
            cracks.append(value_map([(quasi[0], crack(mq, bottom[s] if mq >= 0 else top[s], h0))]))
        rows.append((i + 1, B, H, AS, FY, FT, FTK, keys(*[k for k, _ in design]), reals(*areas), 0,
                     value_map([]), *cracks))
    model_rows("PDDBEAM", rows)

    # ---- Foundation model: points on the crossings and the link's ends, axes, members ----
    points = {}

    def pont(x, y):
        return points.setdefault((x, y), len(points) + 1)

    slots = reals(*[0.0] * 8)
    fmembs = [(1001 + i, MEMB_BEAM, 0.0, 0, keys(pont(*m["start"]), pont(*m["end"])), slots, slots)
              for i, m in enumerate(grid.membs)]
    fmembs += [(2001 + j, MEMB_COLUMN, 0.0, 0, keys(pont(*grid.xy(n))), slots, slots)
               for j, n in enumerate(tops)]
    axes = [(1 + j, pont(0.0, j * SPAN), pont(nx * SPAN, j * SPAN), 0.0, chr(ord("A") + j)) for j in range(ny + 1)]
    axes += [(100 + i, pont(i * SPAN, 0.0), pont(i * SPAN, ny * SPAN), 0.0, str(i + 1)) for i in range(nx + 1)]
    model_rows("PONT", [(k, x, y) for (x, y), k in points.items()])
    model_rows("AXIS", axes)
    model_rows("MEMB", fmembs)
    model_rows("COLM", [(2001 + j, 0.5, 0.5) for j in range(len(tops))])
    model_rows("BEAM", [(1001 + i, 0, 1 if m["link"] else 0, 0) for i, m in enumerate(grid.membs)])
    model_rows("GBPA", [(2, slots, slots, 0.002, 0.004, 0.004, 200.0, 0.0005, 1)])
    model_rows("CKLG", [(k, num, kind, 0, 0, use, 0, text) for k, num, kind, use, text in GROUPS])
    db.commit()
    db.close()

    beams = sum(SPAN for m in grid.membs if not m["link"])
    for case in ("DL", "LL"):
        total = sum(kn * settle[case](0.0) for kn in springs.values())
        print("%s: the springs carry %.1f kN over %.1f m of beam, %.3f kN/m" % (case, total, beams, total / beams))
    print("Wrote %s: %d x %d bays, %d beam spans and a link beam" % (path, nx, ny, len(grid.membs) - 1))


if __name__ == "__main__":
    if len(sys.argv) not in (2, 4):
        sys.exit("usage: beam_foundation.py OUT.pvxdb [NX NY]")
    bays = (int(sys.argv[2]), int(sys.argv[3])) if len(sys.argv) == 4 else (2, 1)
    if min(bays) < 1:
        sys.exit("beam_foundation.py: NX and NY must be 1 or more")
    write_project(sys.argv[1], *bays)
