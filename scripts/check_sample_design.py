#!/usr/bin/python3
"""Checks a sample project's design tables (RBEM, RCOL, RWAL, RSLB) against closed forms computed
here from the project's own force rows, read with sqlite3:

  As = |M| 1e6 / (0.9 fy h0), Asv = |V| 1e6 / (fyv h0), axial-compression ratio N 1e3 / (fc A),
  shear-compression ratio V 1e3 / (fc b h0), each the largest over the linear combinations.

    /usr/bin/python3 scripts/check_sample_design.py PROJECT.pvxdb

Prints one line per table and exits 1 when a value differs (relative 1e-9) or a row is missing
or extra.
"""
import math
import sqlite3
import struct
import sys

FC, FY, FYV = 14.3, 360.0, 270.0
COVER, WALL_END, SLAB_COVER = 40.0, 200.0, 50.0
STATIC, LINEAR = 1, 0  # load case kind of a static case; combination type linear


def unpack(fmt, blob):
    n = len(blob) // struct.calcsize("<" + fmt)
    return list(struct.unpack("<%d%s" % (n, fmt), blob)) if blob else []


def steel(m, h0):
    return abs(m) * 1e6 / (0.9 * FY * h0) if h0 > 0 else 0.0


def stirrups(v, h0):
    return abs(v) * 1e6 / (FYV * h0) if h0 > 0 else 0.0


class Project:
    def __init__(self, path):
        self.db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
        self.combs = []
        for key, typ, entries in self.db.execute("SELECT key, type, entries FROM PLCOM ORDER BY seq"):
            if typ != LINEAR:
                continue
            terms = []
            for i in range(0, len(entries), 16):
                kind, lc, f = struct.unpack_from("<iId", entries, i)
                if lc == 0:
                    break
                if kind == STATIC:
                    terms.append((lc, f))
            if terms:
                self.combs.append((key, terms))
        self.memb = {k: (t, unpack("I", n), unpack("I", e)) for k, t, n, e in
                     self.db.execute("SELECT key, type, nodes, elems FROM PMEMB ORDER BY seq")}
        self.elem_sect = dict(self.db.execute("SELECT key, sect FROM PELEM"))
        self.sect = {k: (t, unpack("d", d)) for k, t, d in self.db.execute("SELECT key, type, dim FROM PSECT")}
        self.wall = {k: (r, x1, y1, z1, x2, y2, z2) for k, r, x1, y1, z1, x2, y2, z2 in
                     self.db.execute("SELECT key, result_no, x1, y1, z1, x2, y2, z2 FROM PWALL")}
        self.slab = {k: unpack("I", n) for k, n in self.db.execute("SELECT key, nodes FROM PSLAB")}

    def row(self, table, lc, key, cols="d"):
        r = self.db.execute("SELECT %s FROM %s WHERE id = ?" % (cols, table), ((lc << 32) | key,)).fetchone()
        return r

    def section(self, key):
        elems = self.memb[key][2]
        if not elems or elems[0] not in self.elem_sect:
            return None
        return self.sect.get(self.elem_sect[elems[0]])

    def combined(self, table, key, n, convert):
        """Per linear combination: the combined list of n values, or None when a case row is missing."""
        out = []
        for ckey, terms in self.combs:
            acc = [0.0] * n
            for lc, f in terms:
                r = self.row(table, lc, key)
                if r is None:
                    return None
                vals = convert(unpack("d", r[0]))
                acc = [a + f * v for a, v in zip(acc, vals)]
            out.append((ckey, acc))
        return out


def strg_to_stations(d):
    st = []
    for k in range(9):
        st.extend(d[12 * k + c] if k < 8 else d[12 * 7 + 6 + c] for c in range(6))
    return st


def expected_beam(p, key, wall_beam):
    t, nodes, elems = p.memb[key]
    if wall_beam:
        w = p.wall.get(key)
        if not w:
            return None
        h0 = abs(w[6] - w[3]) * 1000.0 - COVER
        combs = p.combined("MBWB", w[0], 54, strg_to_stations)
    else:
        s = p.section(key)
        if len(elems) != 1 or not s or s[0] != 1 or s[1][1] <= 0:
            return None
        h0 = s[1][1] * 1000.0 - COVER
        combs = p.combined("MBWG", elems[0], 54, lambda v: v)
    if combs is None:
        return None
    stations = [[0.0] * 4 for _ in range(9)]
    shear = [[0.0, 0.0], [0.0, 0.0]]
    for _, st in combs:
        for k in range(9):
            m, v, tor = st[6 * k + 4], st[6 * k + 2], st[6 * k + 3]
            row = stations[k]
            row[0] = max(row[0], steel(min(m, 0.0), h0))
            row[1] = max(row[1], steel(max(m, 0.0), h0))
            row[2] = max(row[2], stirrups(v, h0))
            row[3] = max(row[3], steel(tor, h0))
            z = 0 if 3 <= k <= 5 else 1
            shear[z][0] = max(shear[z][0], abs(v))
    for k in range(9):
        z = 0 if 3 <= k <= 5 else 1
        shear[z][1] = max(shear[z][1], stations[k][2])
    return [x for r in stations for x in r], [x for r in shear for x in r]


ORDER = (0, 2, 3, 1)  # force blocks in the design order bottom, inner, inner, top


def blocks_of(v):
    return [v[6 * b + c] for b in ORDER for c in range(6)]


def expected_column(p, key):
    s = p.section(key)
    if not s or s[0] != 1 or s[1][1] <= 0:
        return None
    bmm, hmm = s[1][0] * 1000.0, s[1][1] * 1000.0
    h0y, h0z = hmm - COVER, bmm - COVER
    combs = p.combined("MBCL", key, 24, blocks_of)
    if combs is None:
        return None
    blocks = [[0.0] * 5 for _ in range(4)]
    parts = [[0.0, 0.0] for _ in range(4)]
    loads = [0] * 4
    nmax = mmax = 0.0
    for ckey, bl in combs:
        f = lambda k, c: bl[6 * k + c]
        for k in range(4):
            b = blocks[k]
            b[0] = max(b[0], steel(f(k, 5), h0y))
            b[1] = max(b[1], steel(f(k, 4), h0z))
            b[3] = max(b[3], stirrups(f(k, 1), h0y))
            b[4] = max(b[4], stirrups(f(k, 2), h0z))
            nmax = max(nmax, -f(k, 0))
            mmax = max(mmax, abs(f(k, 4)), abs(f(k, 5)))
        for end, k in ((0, 0), (1, 3)):
            forces = (max(-f(k, 0), 0.0), max(abs(f(k, 1)), abs(f(k, 2))))
            for q in range(2):
                i = 2 * q + end
                if loads[i] == 0 or forces[q] > parts[i][0]:
                    parts[i][0], loads[i] = forces[q], ckey
    for end in range(2):
        parts[end][1] = parts[end][0] * 1e3 / (FC * bmm * hmm)
        parts[2 + end][1] = parts[2 + end][0] * 1e3 / (FC * bmm * h0y)
    shear = [[0.0, 0.0], [0.0, 0.0]]
    for k in range(4):
        blocks[k][2] = max(blocks[k][0], blocks[k][1]) / 3.0
        z = 0 if k in (1, 2) else 1
        shear[z][0] = max(shear[z][0], blocks[k][3])
        shear[z][1] = max(shear[z][1], blocks[k][4])
    return ([x for b in blocks for x in b], [x for q in parts for x in q], loads, max(nmax, 0.0), mmax,
            [x for z in shear for x in z])


def expected_wall(p, key):
    w = p.wall.get(key)
    if not w:
        return None
    h0 = math.hypot(w[4] - w[1], w[5] - w[2]) * 1000.0 - WALL_END
    combs = p.combined("MBWC", w[0], 24, blocks_of)
    if combs is None:
        return None
    blocks = [[0.0, 0.0] for _ in range(4)]
    for _, bl in combs:
        for k in range(4):
            blocks[k][1] = max(blocks[k][1], steel(max(abs(bl[6 * k + 4]), abs(bl[6 * k + 5])), h0))
            blocks[k][0] = max(blocks[k][0], stirrups(max(abs(bl[6 * k + 1]), abs(bl[6 * k + 2])), h0))
    return [x for b in blocks for x in b]


def expected_slab(p, key):
    nodes = p.slab.get(key)
    s = p.section(key)
    if not nodes or not s:
        return None
    h0 = s[1][0] * 1000.0 - SLAB_COVER
    asx = asy = 0.0
    edges = [0.0] * len(nodes)
    for _, terms in p.combs:
        cx = cy = 0.0
        neg = None
        for lc, f in terms:
            r = p.row("SMNT", lc, key, "centre_x, centre_y, neg")
            if r is None:
                return None
            vals = unpack("d", r[2])
            if not vals or len(vals) % len(nodes):
                return None
            neg = [0.0] * len(vals) if neg is None else neg
            cx += f * r[0]
            cy += f * r[1]
            neg = [a + f * v for a, v in zip(neg, vals)]
        asx, asy = max(asx, steel(cx, h0)), max(asy, steel(cy, h0))
        per = len(neg) // len(nodes)
        for i, v in enumerate(neg):
            edges[i // per] = max(edges[i // per], steel(v, h0))
    return asx, asy, edges


def close(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))


def compare(name, key, got, want, failures):
    if len(got) != len(want):
        failures.append("%s %d: %d values, expected %d" % (name, key, len(got), len(want)))
        return
    for i, (a, b) in enumerate(zip(got, want)):
        if not close(a, b):
            failures.append("%s %d: value %d is %r, expected %r" % (name, key, i, a, b))
            return


def main(path):
    p = Project(path)
    failures = []
    counts = {}
    for table, kinds, fn in (("RBEM", (201, 205, 204, 210), None), ("RCOL", (101,), None),
                             ("RWAL", (209,), None), ("RSLB", (301,), None)):
        stored = {r[0]: r[1:] for r in p.db.execute("SELECT * FROM %s" % table)}
        expected_keys = set()
        for key, (t, _, _) in p.memb.items():
            if t not in kinds:
                continue
            if table == "RBEM":
                want = expected_beam(p, key, t == 210)
            elif table == "RCOL":
                want = expected_column(p, key)
            elif table == "RWAL":
                want = expected_wall(p, key)
            else:
                want = expected_slab(p, key)
            if want is None:
                continue
            expected_keys.add(key)
            if key not in stored:
                failures.append("%s %d: no row" % (table, key))
                continue
            row = p.db.execute("SELECT * FROM %s WHERE key = ?" % table, (key,)).fetchone()
            cols = [d[0] for d in p.db.execute("SELECT * FROM %s LIMIT 0" % table).description]
            rec = dict(zip(cols, row))
            if table == "RBEM":
                compare(table, key, unpack("d", rec["stations"]) + unpack("d", rec["shear"]), want[0] + want[1], failures)
            elif table == "RCOL":
                got = (unpack("d", rec["blocks"]) + unpack("d", rec["parts"]) + unpack("I", rec["part_load"]) +
                       [rec["n_max"], rec["m_max"]] + unpack("d", rec["shear"]))
                compare(table, key, got, want[0] + want[1] + want[2] + [want[3], want[4]] + want[5], failures)
            elif table == "RWAL":
                compare(table, key, unpack("d", rec["blocks"]), want, failures)
            else:
                compare(table, key, [rec["as_x"], rec["as_y"]] + unpack("d", rec["as_edge"]),
                        [want[0], want[1]] + want[2], failures)
        extra = set(stored) - expected_keys
        for key in sorted(extra):
            failures.append("%s %d: a row the closed forms give no result for" % (table, key))
        counts[table] = len(expected_keys)
        print("%s: %d rows checked" % (table, len(expected_keys)))
    if not all(counts.values()):
        failures.append("a design table has no row to check: %s" % counts)
    for f in failures[:40]:
        print("FAIL " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1]))
