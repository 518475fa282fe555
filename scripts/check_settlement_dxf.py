#!/usr/bin/python3
"""Checks the settlement sheet's DXF (figure 600 with its base maps 601 and 602) against the
project, read with sqlite3 and the drawing with ezdxf:

  - every settlement point of PCDSINK has one text on layer L50 at the point, reading its
    settlement in mm: the value of the load group of the largest magnitude plus the point's
    constant, at the decimals the text shows;
  - every "%.4f L" text on L150 equals max over groups |s1 - s2| / L of the two isolated footings
    (MEMB type 401, centre at their first point) on one axis, s from the rows at the centres;
  - every raft (MEMB type 402) holding settlement points gets four lines: the mean settlement,
    the x and y slopes of the least-squares plane s = a + b x + c y (normal equations solved
    here by Cramer's rule), and the largest distance from that plane over the diagonal of the
    points' box, "%.2f/1000".

    /usr/bin/python3 scripts/check_settlement_dxf.py PROJECT.pvxdb DRAWING.dxf

Prints one line per check and exits 1 when one fails.
"""
import math
import re
import sqlite3
import struct
import sys

import ezdxf


def keys(blob):
    return list(struct.unpack("<%dI" % (len(blob) // 4), blob)) if blob else []


def reals(blob):
    return list(struct.unpack("<%dd" % (len(blob) // 8), blob)) if blob else []


def settlement(groups, values, constant):
    """mm: the group of the largest magnitude (value plus constant)."""
    best = None
    for v in values:
        if best is None or abs(v + constant) > abs(best + constant):
            best = v
    return best + constant


def plain(text):
    """The text with DXF's \\U+XXXX escapes decoded."""
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def text_point(e):
    p = e.dxf.align_point if e.dxf.hasattr("align_point") and (e.dxf.halign or e.dxf.valign) else e.dxf.insert
    return p[0], p[1]


def inside(pt, poly):
    x, y = pt
    n = len(poly)
    for i in range(n):  # on an edge counts as inside
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        cross = (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1)
        if abs(cross) <= 0.01 * math.hypot(x2 - x1, y2 - y1) and min(x1, x2) - 0.01 <= x <= max(x1, x2) + 0.01 \
                and min(y1, y2) - 0.01 <= y <= max(y1, y2) + 0.01:
            return True
    c = False
    for i in range(n):
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            c = not c
    return c


def main():
    db = sqlite3.connect(sys.argv[1])
    doc = ezdxf.readfile(sys.argv[2])
    texts = [e for e in doc.modelspace() if e.dxftype() == "TEXT"]
    fails = 0

    def check(ok, what):
        nonlocal fails
        print(("ok   " if ok else "FAIL ") + what)
        fails += 0 if ok else 1

    rows = {k: (x, y, settlement(keys(g), reals(v), c))
            for k, x, y, c, g, v in db.execute('SELECT key, x, y, constant, groups, "values" FROM PCDSINK')}
    numbers = [t for t in texts if t.dxf.layer == "L50" and re.fullmatch(r"-?\d+(\.\d+)?", t.dxf.text)]
    for k, (x, y, s) in rows.items():
        near = [t for t in numbers if math.hypot(text_point(t)[0] - x, text_point(t)[1] - y) < 1e-6]
        if len(near) != 1:
            check(False, "point %d at (%g, %g): %d texts" % (k, x, y, len(near)))
            continue
        txt = near[0].dxf.text
        dec = len(txt.split(".")[1]) if "." in txt else 0
        check(txt == "%.*f" % (dec, s), "point %d: %s == %.*f" % (k, txt, dec, s))
    check(len(numbers) == len(rows), "%d settlement texts for %d points" % (len(numbers), len(rows)))

    pont = {k: (x, y) for k, x, y in db.execute("SELECT key, x, y FROM PONT")}
    members = [(k, t, keys(p)) for k, t, p in db.execute("SELECT key, type, ponts FROM MEMB")]
    centres = [pont[p[0]] for k, t, p in members if t == 401 and p]
    raw = {k: (x, y, keys(g), reals(v), c)
           for k, x, y, c, g, v in db.execute('SELECT key, x, y, constant, groups, "values" FROM PCDSINK')}

    def row_at(pt):
        for r in raw.values():
            if math.hypot(r[0] - pt[0], r[1] - pt[1]) <= 0.01:
                return r
        return None

    want = []
    for p1, p2, chord in db.execute("SELECT pont1, pont2, chord FROM AXIS"):
        if abs(chord) > 1e-9:
            continue
        a, b = pont[p1], pont[p2]
        ln = math.hypot(b[0] - a[0], b[1] - a[1])
        on = [c for c in centres
              if abs((c[0] - a[0]) * (b[1] - a[1]) - (c[1] - a[1]) * (b[0] - a[0])) / ln <= 0.01
              and -1e-9 <= ((c[0] - a[0]) * (b[0] - a[0]) + (c[1] - a[1]) * (b[1] - a[1])) / ln ** 2 <= 1 + 1e-9]
        if len(on) != 2:
            continue
        r1, r2 = row_at(on[0]), row_at(on[1])
        if not r1 or not r2:
            continue
        d = max(abs((r1[3][r1[2].index(g)] + r1[4]) - (r2[3][r2[2].index(g)] + r2[4]))
                for g in r1[2] if g in r2[2])
        want.append("%.4f L" % (d / (math.hypot(on[0][0] - on[1][0], on[0][1] - on[1][1]) * 1000.0)))
    got = sorted(t.dxf.text for t in texts if t.dxf.layer == "L150")
    check(got == sorted(want), "differential settlement texts %s == %s" % (got, sorted(want)))

    lines = [plain(t.dxf.text) for t in texts if t.dxf.layer == "L50" and not re.fullmatch(r"-?\d+(\.\d+)?", t.dxf.text)]
    blocks = [lines[i:i + 4] for i in range(len(lines)) if lines[i].endswith("mm;")]
    expected = []
    for k, t, p in members:
        if t != 402 or len(p) < 3:
            continue
        poly = [pont[q] for q in p]
        pts = [(x, y, s) for x, y, s in rows.values() if inside((x, y), poly)]
        if len(pts) < 3:
            continue
        n = len(pts)
        sx = sum(q[0] for q in pts); sy = sum(q[1] for q in pts); ss = sum(q[2] for q in pts) / 1000.0
        sxx = sum(q[0] ** 2 for q in pts); syy = sum(q[1] ** 2 for q in pts); sxy = sum(q[0] * q[1] for q in pts)
        sxs = sum(q[0] * q[2] / 1000.0 for q in pts); sys_ = sum(q[1] * q[2] / 1000.0 for q in pts)
        m = [[n, sx, sy], [sx, sxx, sxy], [sy, sxy, syy]]
        rhs = [ss, sxs, sys_]

        def det(a):
            return (a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
                    + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]))
        dm = det(m)
        sol = []
        for c in range(3):
            mc = [row[:] for row in m]
            for r in range(3):
                mc[r][c] = rhs[r]
            sol.append(det(mc) / dm)
        a0, b, c = sol
        diag = math.hypot(max(q[0] for q in pts) - min(q[0] for q in pts), max(q[1] for q in pts) - min(q[1] for q in pts))
        defl = max(abs(q[2] / 1000.0 - (a0 + b * q[0] + c * q[1])) for q in pts) / diag
        expected.append((ss / n * 1000.0, b, c, defl))
    check(len(blocks) == len(expected), "%d raft blocks for %d rafts with points" % (len(blocks), len(expected)))
    for avg, b, c, defl in expected:
        match = False
        for blk in blocks:
            try:
                va = re.search(r"(-?[\d.]+)mm;$", blk[0]).group(1)
                vx = re.search(r"(-?[\d.]+);$", blk[1]).group(1)
                vy = re.search(r"(-?[\d.]+);$", blk[2]).group(1)
                vd = re.search(r"(-?[\d.]+)/1000$", blk[3]).group(1)
            except (AttributeError, IndexError):
                continue
            dec = len(va.split(".")[1]) if "." in va else 0
            if (va == "%.*f" % (dec, avg) and float(vx) == float("%.4f" % b) and float(vy) == float("%.4f" % c)
                    and vd == "%.2f" % (defl * 1000.0)):
                match = True
        check(match, "raft: average %.3f mm, tilts %.6f %.6f, deflection %.3f/1000" % (avg, b, c, defl * 1000))
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
