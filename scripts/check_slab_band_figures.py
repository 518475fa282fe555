#!/usr/bin/python3
"""Checks the slab band sheets (509 steel, 508 moment diagram) of a project, read with sqlite3:

  - recomputes every band design row (PDDSBBD) from its closed form (host/app/SampleSlabBands.h):
    under each design combination (CKLG design_use with a linear PLCOM of static cases), station
    k of 5 at S + k/4 (E - S) takes the raft plate of nearest centre, its STRP block-0 moments and
    shears combined with the PLCOM factors, M = Mxx ux² + Myy uy² + 2 Mxy ux uy,
    V = Vxx ux + Vyy uy (per metre of width); sections 0, 2, 4 give As = max(±M, 0) 1e6 / (0.9 360 h0) and
    Asv = |V| 1e6 / (270 h0), h0 = MTSB.thick 1000 - 50;
  - 509: for every band (table order) two texts on L50, "A1-A1-A1" then "A2-A2-A2" of the start,
    middle and end sections (end first when the text reads against the band's stored
    direction) at precision 0 (load 0: each value the largest over the
    combinations), centred on the point a third along the band read left to right, turned by
    its angle folded (above 359 -> 0, above 179 -> -180);
  - 508: for every band one diagram polyline on L101 (two for load 0: station-wise largest, then
    smallest): vertex j lies L j / (n - 1) along the band's line from S and is offset to its left
    by value x |scale| / 1000 x (-1) (1e-9); texts of stations 0, 2 and 4 beside those
    vertices (at most a quarter of the band along it), " " before the first and after the third.

    /usr/bin/python3 scripts/check_slab_band_figures.py PROJECT.pvxdb DRAWING.dxf TYPE SCALE LOAD

SCALE "auto" (508 drawn at its default value scale): the scale that draws the largest |value| a
quarter of the median band length high, two significant digits, shown in the notes.

Prints one line per failed check and a summary; exits 1 when a check fails.
"""
import math
import re
import sqlite3
import struct
import sys

import ezdxf

from pvxcheck import check, ints, reals, summary

FY, FYV, COVER = 360.0, 270.0, 50.0


def near(a, b, tol=1e-9):
    return abs(a - b) <= tol * max(1.0, abs(a), abs(b))


def fmt0(v):
    if not (-99999.0 + 1e-6 < v < 99999.0 - 1e-6):
        return "***"
    s = "%.0f" % v
    return s[1:] if s in ("-0",) else s


def read_project(path):
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    q = db.execute
    p = {}
    p["ponts"] = {k: (x, y) for k, x, y in q("SELECT key, x, y FROM PONT")}
    p["mtsb"] = {k: (t, th) for k, t, th in q("SELECT key, type, thick FROM MTSB")}
    nodes = {k: (x, y) for k, x, y in q("SELECT key, x, y FROM PNODE")}
    elems = {k: (ints(n)[:nn], s) for k, n, nn, s in q("SELECT key, node, nnode, sect FROM PELEM")}
    sects = {k for (k,) in q("SELECT key FROM PSECT")}
    plates = []
    for typ, mk, eb in q("SELECT type, model_key, elems FROM PMEMB ORDER BY seq"):
        if typ != 301 or not mk or mk not in p["mtsb"]:
            continue
        for e in ints(eb):
            if e not in elems or len(elems[e][0]) < 3 or elems[e][1] not in sects:
                continue
            ns = elems[e][0]
            cx = cy = 0.0
            for n in ns:
                if n not in nodes:
                    break
                cx += nodes[n][0] / len(ns)
                cy += nodes[n][1] / len(ns)
            plates.append((e, cx, cy))
    p["plates"] = plates
    strp = {}
    for i, blk in q("SELECT id, blk FROM STRP"):
        i &= (1 << 64) - 1
        strp[(i >> 32, i & 0xFFFFFFFF)] = reals(blk)
    p["strp"] = strp
    combs = {}
    for k, t, blob in q("SELECT key, type, entries FROM PLCOM ORDER BY key"):
        terms = []
        for j in range(0, len(blob), 16):
            kd, key, f = struct.unpack("<IId", blob[j:j + 16])
            if kd == 0:
                break
            if kd == 1:
                terms.append((key, f))
        combs[k] = (t, terms)
    p["design"] = [k for (k,) in q("SELECT key FROM CKLG WHERE design_use != 0 ORDER BY seq")
                   if k in combs and combs[k][0] == 0 and combs[k][1]]
    p["combs"] = combs
    p["bands"] = [(k, raft, ints(pb), x1, y1, x2, y2, mid, w) for k, raft, pb, x1, y1, x2, y2, mid, w in
                  q("SELECT key, raft, ponts, x1, y1, x2, y2, mid, width FROM PSBBD ORDER BY seq")]
    p["rows"] = {k: (ints(c), reals(a), n, reals(l)) for k, c, a, n, l in
                 q("SELECT key, combs, areas, stations, loads FROM PDDSBBD")}
    return p


def band_line(p, band):
    """(outline, S, E) as the sheet reads the band, or None when it is left out."""
    k, raft, ponts, x1, y1, x2, y2, mid, w = band
    if len(ponts) < 2 or any(q not in p["ponts"] for q in ponts):
        return None
    pts = [p["ponts"][q] for q in ponts]
    if mid:
        if math.hypot(x2 - x1, y2 - y1) < 0.001:
            return None
        pts = [(x1, y1), (x2, y2)]
    return pts, pts[0], pts[-1]


def expected_design(p, band):
    """The band's stations and section areas per design combination, from the closed form."""
    k, raft, ponts, x1, y1, x2, y2, mid, w = band
    pts = [p["ponts"][q] for q in ponts]
    s, e = ((x1, y1), (x2, y2)) if mid else (pts[0], pts[-1])
    length = math.hypot(e[0] - s[0], e[1] - s[1])
    ux, uy = (e[0] - s[0]) / length, (e[1] - s[1]) / length
    h0 = p["mtsb"][raft][1] * 1000.0 - COVER
    out = {}
    for c in p["design"]:
        st = []
        for j in range(5):
            t = j / 4.0
            x, y = s[0] + t * (e[0] - s[0]), s[1] + t * (e[1] - s[1])
            best = None
            for key, cx, cy in p["plates"]:
                d = (cx - x) * (cx - x) + (cy - y) * (cy - y)
                if best is None or d < best[0]:
                    best = (d, key)
            f = [0.0] * 5
            for lc, fac in p["combs"][c][1]:
                r = p["strp"][(lc, best[1])]
                for i, at in enumerate((20, 21, 22, 26, 27)):
                    f[i] += fac * r[at]
            m = f[0] * ux * ux + f[1] * uy * uy + 2.0 * f[2] * ux * uy
            v = f[3] * ux + f[4] * uy
            st.append((m, v))
        areas = []
        for sec in (0, 2, 4):
            m, v = st[sec]
            areas.append([max(m, 0.0) * 1e6 / (0.9 * FY * h0), max(-m, 0.0) * 1e6 / (0.9 * FY * h0),
                          abs(v) * 1e6 / (FYV * h0), 0.0, 0.0])
        out[c] = (st, areas)
    return out


def check_rows(p):
    for band in p["bands"]:
        k = band[0]
        want = expected_design(p, band)
        combs, areas, n, loads = p["rows"].get(k, ([], [], 0, []))
        check(combs == list(want), "band %d combinations %s, want %s" % (k, combs, list(want)))
        check(n == 5, "band %d has %d stations" % (k, n))
        for ci, c in enumerate(combs):
            if c not in want:
                continue
            st, ar = want[c]
            for j in range(5):
                row = loads[(ci * n + j) * 6:(ci * n + j + 1) * 6]
                check(near(row[3], st[j][0]) and near(row[1], st[j][1]),
                      "band %d comb %d station %d: M %r V %r, want %r" % (k, c, j, row[3], row[1], st[j]))
                check(all(row[i] == 0.0 for i in (0, 2, 4, 5)), "band %d comb %d station %d other values" % (k, c, j))
            for sec in range(3):
                got = areas[(ci * 3 + sec) * 5:(ci * 3 + sec + 1) * 5]
                check(all(near(a, b) for a, b in zip(got, ar[sec])),
                      "band %d comb %d section %d areas %r, want %r" % (k, c, sec, got, ar[sec]))
    return {band[0]: expected_design(p, band) for band in p["bands"]}


def left_to_right(a, b):
    return a[0] < b[0] - 1e-6 or (abs(a[0] - b[0]) <= 1e-6 and a[1] < b[1])


def text_anchor(e):
    return (e.dxf.insert.x, e.dxf.insert.y)


def check_509(p, design, msp, load):
    pattern = re.compile(r"^(\d+|\*\*\*)-(\d+|\*\*\*)-(\d+|\*\*\*)$")
    texts = [e for e in msp if e.dxftype() == "TEXT" and e.dxf.layer == "L50" and pattern.match(e.dxf.text)]
    want = []
    for band in p["bands"]:
        line = band_line(p, band)
        if line is None or not design[band[0]] or (load and load not in design[band[0]]):
            continue
        _, a, b = line
        s0, s1 = a, b
        if not left_to_right(a, b):
            a, b = b, a
        at = (a[0] + (b[0] - a[0]) / 3.0, a[1] + (b[1] - a[1]) / 3.0)
        ang = math.degrees(math.atan2(b[1] - a[1], b[0] - a[0])) % 360.0
        ang = 0.0 if ang > 359.0 else ang - 180.0 if ang > 179.0 else ang
        # The sections in the text's reading order: from the band's end when the text runs
        # against the band's stored direction.
        back = (s1[0] - s0[0]) * math.cos(math.radians(ang)) + (s1[1] - s0[1]) * math.sin(math.radians(ang)) < 0
        keys = [load] if load else list(design[band[0]])
        lines = []
        for value in (0, 1):
            parts = [max(design[band[0]][c][1][sec][value] for c in keys) for sec in range(3)]
            lines.append("-".join(fmt0(v) for v in (parts[::-1] if back else parts)))
        want.append((band[0], lines, at, ang))
    check(len(texts) == 2 * len(want), "%d band texts, %d drawn" % (2 * len(want), len(texts)))
    for i, (k, lines, at, ang) in enumerate(want):
        pair = texts[2 * i:2 * i + 2]
        if len(pair) < 2:
            break
        check([t.dxf.text for t in pair] == lines, "band %d texts %r, want %r" % (k, [t.dxf.text for t in pair], lines))
        mx = (text_anchor(pair[0])[0] + text_anchor(pair[1])[0]) / 2.0
        my = (text_anchor(pair[0])[1] + text_anchor(pair[1])[1]) / 2.0
        check(abs(mx - at[0]) < 1e-9 and abs(my - at[1]) < 1e-9, "band %d text at (%r, %r), want %r" % (k, mx, my, at))
        for t in pair:
            check(abs(t.dxf.rotation - ang) < 1e-9, "band %d text angle %r, want %r" % (k, t.dxf.rotation, ang))
    return len(want)


def check_508(p, design, msp, load, scale):
    polys = [[(v.dxf.location.x, v.dxf.location.y) for v in e.vertices] for e in msp
             if e.dxftype() == "POLYLINE" and e.dxf.layer == "L101"]
    texts = [e for e in msp if e.dxftype() == "TEXT" and e.dxf.layer == "L50"]
    f = abs(scale) if scale is not None and abs(scale) >= 1e-6 else 1.0
    expected = []
    for band in p["bands"]:
        line = band_line(p, band)
        d = design[band[0]]
        if line is None or not d:
            continue
        if load:
            curves = [[m for m, v in d[load][0]]] if load in d else []
        else:
            per = [[m for m, v in st] for st, _ in d.values()]
            curves = [[max(c[j] for c in per) for j in range(5)], [min(c[j] for c in per) for j in range(5)]]
        a, b = line[1], line[2]
        if not left_to_right(a, b):  # the line is read left to right, the stations turned with it
            a, b = b, a
            curves = [list(reversed(v)) for v in curves]
        for vals in curves:
            expected.append((band[0], a, b, vals))
    if scale is None:
        # The default value scale: the largest |value| a quarter of the median band length high
        # (value x scale / 1000 m), two significant digits, shown in the notes.
        lengths = sorted({k: math.hypot(b[0] - a[0], b[1] - a[1]) for k, a, b, _ in expected}.values())
        peak = max((abs(v) for _, _, _, vals in expected for v in vals), default=0.0)
        scale = 1.0
        if lengths and peak > 1e-9:
            n = len(lengths)
            median = lengths[n // 2] if n % 2 else 0.5 * (lengths[n // 2 - 1] + lengths[n // 2])
            raw = 0.25 * median * 1000.0 / peak
            unit = 10.0 ** (math.floor(math.log10(raw)) - 1)
            scale = max(unit, round(raw / unit) * unit)
        check("\\U+6570\\U+503C\\U+6BD4\\U+4F8B:%g" % scale in [t.dxf.text for t in texts],
              "the notes show the value scale %g" % scale)
        f = scale
    check(len(polys) == len(expected), "%d diagram polylines, %d drawn" % (len(expected), len(polys)))
    for (k, a, b, vals), pts in zip(expected, polys):
        length = math.hypot(b[0] - a[0], b[1] - a[1])
        ux, uy = (b[0] - a[0]) / length, (b[1] - a[1]) / length
        check(len(pts) == len(vals), "band %d: %d vertices, want %d" % (k, len(pts), len(vals)))
        for j, (x, y) in enumerate(pts[:len(vals)]):
            dx, dy = x - a[0], y - a[1]
            along, off = dx * ux + dy * uy, -dx * uy + dy * ux
            want_off = vals[j] * f / 1000.0 * -1.0
            check(abs(along - length * j / (len(vals) - 1)) < 1e-9, "band %d station %d along %r" % (k, j, along))
            check(abs(off - want_off) < 1e-9, "band %d station %d offset %.12g, want %.12g" % (k, j, off, want_off))
        for c, j in enumerate((0, len(vals) // 2, len(vals) - 1)):
            s = "%.0f" % vals[j]
            s = s[1:] if s == "-0" else s
            s = (" " + s) if c == 0 else (s + " ") if c == 2 else s
            x, y = pts[j] if j < len(pts) else (math.nan, math.nan)
            # A text hanging below its point (anchor 0) stands a tenth of its 0.25 line lower; an
            # end value runs inwards from its station, and a value that would cover another
            # slides along the band, by no more than a quarter of its length.
            def near_station(t):
                dx, dy = t.dxf.insert.x - x, t.dxf.insert.y - y
                return abs(-dx * uy + dy * ux) <= 0.025 + 1e-9 and abs(dx * ux + dy * uy) <= 0.25 * length + 1e-9
            hits = [t for t in texts if near_station(t)]
            check(any(t.dxf.text == s for t in hits), "band %d station %d text %r at (%r, %r); found %r" %
                  (k, j, s, x, y, [t.dxf.text for t in hits]))
    return len(expected)


def main():
    path, dxf, typ, load = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[5])
    scale = None if sys.argv[4] == "auto" else float(sys.argv[4])
    p = read_project(path)
    check(len(p["bands"]) > 0, "the project has slab bands")
    design = check_rows(p)
    msp = ezdxf.readfile(dxf).modelspace()
    n = check_509(p, design, msp, load) if typ == 509 else check_508(p, design, msp, load, scale)
    check(n > 0, "the sheet has bands to draw")
    checked, failures = summary()
    print("%d bands or curves, %d values checked, %d failed" % (n, checked, failures))
    sys.exit(1 if failures else 0)


main()
