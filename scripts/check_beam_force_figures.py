#!/usr/bin/python3
"""Checks a drawn beam force diagram sheet (DXF) against the project it was drawn from, read with
sqlite3:

  - the sample's members 459 and 461 (host/app/SampleBeamForces.h) carry the MBWG rows of the
    members 406 and 407 they copy; the link beam 460 under DL the fixed-end forces of its own
    weight q = 3.75 kN/m over its length L (moment q x (L - x) / 2 - q L^2 / 12, shear
    q (L / 2 - x)), zero rows for the other cases of the tie 412; none of them has STRG rows;
  - which members are drawn: analysis members of type 201 whose model key names a foundation
    member, of kind 0 (sheets 201-203: sub-kind 0 or 1 and the model beam's link flag not 1) or
    kind 1 (163-165: link flag 1), with MBWG rows;
  - every vertex of every diagram polyline (layer L101): its offset from the member's axis (to
    the left of the axis read left to right, the i-end's station at the i-end) equals
    value x |scale| / 1000 x sign (moment and torsion -1, shear +1) and its position along the
    axis the station's (1e-9);
  - 518/519: first every rib of a raft (RIBB naming a raft member) with RIBF rows (five
    stations, moment m or shear v,
    combined with the PLCOM factors; key 0 over the CKLG design groups), turned to read left to
    right (smaller x, or smaller y when x is equal within 0.01), then the members of rib kind;
  - every value text (layer L50) in drawing order: the station values 0, 4 and 8 of each curve,
    combined from MBWG with the PLCOM factors (key 0: the station-wise largest, then smallest,
    over the linear combinations), " " before the first and " " after the third.

    /usr/bin/python3 scripts/check_beam_force_figures.py PROJECT.pvxdb DRAWING.dxf TYPE SCALE [LOAD]

SCALE "auto": the sheet drawn at its default value scale, which makes the largest |value| a
quarter of the median member length high (two significant digits), shown in the notes.

Prints one line per check and exits 1 when one fails.
"""
import math
import sqlite3
import struct
import sys

import ezdxf

SHEETS = {201: (4, -1.0, 0), 202: (2, 1.0, 0), 203: (3, -1.0, 0),
          163: (4, -1.0, 1), 164: (2, 1.0, 1), 165: (3, -1.0, 1),
          518: ("m", -1.0, 2), 519: ("v", 1.0, 2)}  # MBWG column (RIBF column), sign, beam kind
failures = 0


def check(ok, what):
    global failures
    if not ok:
        failures += 1
        print("FAILED:", what)


def ints(blob):
    return list(struct.unpack("<%dI" % (len(blob) // 4), blob)) if blob else []


def reals(blob):
    return list(struct.unpack("<%dd" % (len(blob) // 8), blob)) if blob else []


def auto_scale(expected):
    """The default value scale: the largest |value| drawn a quarter of the median member length
    high (value x scale / 1000 m), to two significant digits."""
    lengths = sorted(math.hypot(b[0] - a[0], b[1] - a[1]) for _, a, b, _ in expected)
    peak = max((abs(v) for _, _, _, curves in expected for c in curves for v in c), default=0.0)
    if not lengths or peak <= 1e-9:
        return 1.0
    n = len(lengths)
    median = lengths[n // 2] if n % 2 else 0.5 * (lengths[n // 2 - 1] + lengths[n // 2])
    raw = 0.25 * median * 1000.0 / peak
    unit = 10.0 ** (math.floor(math.log10(raw)) - 1)
    return max(unit, round(raw / unit) * unit)


def main():
    path, dxf, typ = sys.argv[1], sys.argv[2], int(sys.argv[3])
    scale = None if sys.argv[4] == "auto" else float(sys.argv[4])
    load = int(sys.argv[5]) if len(sys.argv) > 5 else 0
    col, sign, kind_shown = SHEETS[typ]
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    q = db.execute
    nodes = {k: (x, y) for k, x, y in q("SELECT key, x, y FROM PNODE")}
    memb_model = {k for (k,) in q("SELECT key FROM MEMB")}
    link = {k: l for k, l in q("SELECT key, link FROM BEAM")}
    mbwg = {}
    for i, blob in q("SELECT id, d FROM MBWG"):
        i &= (1 << 64) - 1
        mbwg[(i >> 32, i & 0xFFFFFFFF)] = reals(blob)
    cases = [k for (k,) in q("SELECT key FROM PSTLD")]
    combs = {}
    for k, t, blob in q("SELECT key, type, entries FROM PLCOM ORDER BY key"):
        terms = []
        for i in range(0, len(blob), 16):
            kd, key, f = struct.unpack("<IId", blob[i:i + 16])
            if kd == 0:
                break
            terms.append((key, f))
        combs[k] = (t, terms)
    linear = sorted(k for k, (t, terms) in combs.items() if t == 0 and terms)

    # The sample's two foundation beam members carry the rows of the members they copy.
    checked = 0
    strg = set()
    for (i,) in q("SELECT id FROM STRG"):
        i &= (1 << 64) - 1
        strg.add(i & 0xFFFFFFFF)
    lengths = {k: l for k, l in q("SELECT key, length FROM PMEMB")}
    for key, src in ((459, 406), (460, 412), (461, 407)):
        check(key not in strg, "member %d has no STRG rows" % key)
        for lc in cases:
            if key == 460:
                if (lc, src) not in mbwg:
                    check((lc, key) not in mbwg, "member 460 has no row for case %d" % lc)
                    continue
                L, qd = lengths[key], 3.75 if lc == 1 else 0.0
                want = [0.0] * 54
                for st in range(9):
                    x = L * st / 8
                    want[6 * st + 2] = qd * (L / 2 - x)
                    want[6 * st + 4] = qd * x * (L - x) / 2 - qd * L * L / 12
                got = mbwg.get((lc, key))
                check(got is not None and all(abs(a - b) < 1e-9 for a, b in zip(got, want)),
                      "MBWG of member 460 case %d is the fixed-end self-weight closed form" % lc)
                checked += 1
                continue
            if (lc, src) in mbwg or (lc, key) in mbwg:
                check(mbwg.get((lc, key)) == mbwg.get((lc, src)), "MBWG of member %d case %d is member %d's" % (key, lc, src))
                checked += 1

    def stations(key, comb):
        out = []
        for s in range(9):
            v, have = 0.0, False
            for lc, f in combs[comb][1]:
                r = mbwg.get((lc, key))
                if r is not None:
                    v += f * r[6 * s + col]
                    have = True
            if not have:
                return None
            out.append(v)
        return out

    expected = []
    if kind_shown == 2:
        design = [k for (k,) in q("SELECT key FROM CKLG WHERE design_use != 0 ORDER BY key")]
        ribf = {}
        for i, m, v in q("SELECT id, m, v FROM RIBF"):
            i &= (1 << 64) - 1
            ribf[(i >> 32, i & 0xFFFFFFFF)] = reals(m if col == "m" else v)
        keys = [load] if load else design
        # Only the ribs of a raft: those naming a raft member (type 301 of an MTSB raft).
        rafts = {k for (k,) in q("SELECT p.key FROM PMEMB p JOIN MTSB m ON m.key = p.model_key WHERE p.type = 301")}
        for rib, memb, x1, y1, x2, y2 in q("SELECT key, memb, x1, y1, x2, y2 FROM RIBB ORDER BY seq"):
            if memb not in rafts:
                continue
            per = []
            for k in keys:
                terms = combs[k][1] if k in combs else [(k, 1.0)]
                rows = [(f, ribf.get((lc, rib))) for lc, f in terms]
                if any(r is None for _, r in rows):
                    continue
                per.append([sum(f * r[j] for f, r in rows) for j in range(5)])
            if not per:
                continue
            a, b = (x1, y1), (x2, y2)
            left = x1 < x2 - 0.01 or (abs(x1 - x2) <= 0.01 and y1 < y2 - 0.01)
            if not left:
                a, b = b, a
                per = [list(reversed(v)) for v in per]
            curves = per if load else [[max(v[j] for v in per) for j in range(5)], [min(v[j] for v in per) for j in range(5)]]
            expected.append((rib, a, b, curves))
        col = 4 if col == "m" else 2
    # Expected curves of each member, in member order.
    for key, typ_m, sub, mk, nb in q("SELECT key, type, subkind, model_key, nodes FROM PMEMB ORDER BY seq"):
        if typ_m != 201 or sub not in (0, 1, 2) or mk not in memb_model:
            continue
        kind = 2 if sub == 2 else 1 if link.get(mk) == 1 else 0
        if kind != kind_shown:
            continue
        n = ints(nb)
        if load:
            if load in combs:
                vals = stations(key, load)
                curves = [vals] if vals else []
            else:
                r = mbwg.get((load, key))
                curves = [[r[6 * s + col] for s in range(9)]] if r else []
        else:
            per = [v for v in (stations(key, c) for c in linear) if v]
            curves = [[max(v[s] for v in per) for s in range(9)], [min(v[s] for v in per) for s in range(9)]] if per else []
        if curves:
            # The line is drawn read left to right (x, then y, within 1e-9 of its length); the
            # stations run from the i-end, so a turned member carries them turned too.
            a, b = nodes[n[0]], nodes[n[-1]]
            tol = 1e-9 * math.hypot(b[0] - a[0], b[1] - a[1])
            if not (a[0] < b[0] - tol or (abs(a[0] - b[0]) <= tol and a[1] < b[1] - tol)):
                a, b = b, a
                curves = [list(reversed(v)) for v in curves]
            expected.append((key, a, b, curves))
    check(len(expected) > 0, "the sheet has members to draw")
    print("%d members or ribs, %d curves expected" % (len(expected), sum(len(c) for _, _, _, c in expected)))

    if scale is None:
        scale = auto_scale(expected)
        notes = [e.dxf.text for e in ezdxf.readfile(dxf).modelspace() if e.dxftype() == "TEXT"]
        want = "\\U+6570\\U+503C\\U+6BD4\\U+4F8B:%g" % scale
        check(want in notes, "the notes show the value scale %g" % scale)
        print("automatic value scale %g" % scale)
    msp = ezdxf.readfile(dxf).modelspace()
    polys = [[(v.dxf.location.x, v.dxf.location.y) for v in e.vertices] for e in msp
             if e.dxftype() == "POLYLINE" and e.dxf.layer == "L101"]
    texts = []
    for e in msp:
        if e.dxftype() == "TEXT" and e.dxf.layer == "L50":
            try:
                float(e.dxf.text)
                texts.append(e.dxf.text)
            except ValueError:
                pass
    want_polys = sum(len(c) for _, _, _, c in expected)
    check(len(polys) == want_polys, "%d diagram polylines, %d drawn" % (want_polys, len(polys)))
    check(len(texts) == 3 * want_polys, "%d value texts, %d drawn" % (3 * want_polys, len(texts)))
    f = abs(scale) if abs(scale) >= 1e-6 else 1.0
    pi = ti = 0
    for key, a, b, curves in expected:
        L = math.hypot(b[0] - a[0], b[1] - a[1])
        ux, uy = (b[0] - a[0]) / L, (b[1] - a[1]) / L
        for vals in curves:
            if pi < len(polys):
                pts = polys[pi]
                check(len(pts) == len(vals), "member %d: %d vertices" % (key, len(pts)))
                for j, (x, y) in enumerate(pts[:len(vals)]):
                    dx, dy = x - a[0], y - a[1]
                    along, off = dx * ux + dy * uy, -dx * uy + dy * ux
                    check(abs(along - L * j / (len(vals) - 1)) < 1e-9, "member %d station %d along" % (key, j))
                    check(abs(off - vals[j] * f / 1000.0 * sign) < 1e-9,
                          "member %d station %d offset %.12g, want %.12g" % (key, j, off, vals[j] * f / 1000.0 * sign))
                    checked += 2
            pi += 1
            for c, j in enumerate((0, len(vals) // 2, len(vals) - 1)):
                if ti >= len(texts):
                    break
                got = texts[ti]
                ti += 1
                p = len(got.strip().split(".")[1]) if "." in got else 0
                want = "%.*f" % (p, vals[j])
                if want.startswith("-") and float(want) == 0.0:
                    want = want[1:]
                want = (" " + want) if c == 0 else (want + " ") if c == 2 else want
                check(got == want or got.replace("-", "") == want.replace("-", "") and abs(vals[j]) < 10 ** -p,
                      "member %d station %d text %r, want %r" % (key, j, got, want))
                checked += 1
    print("%d values checked, %d failed" % (checked, failures))
    sys.exit(1 if failures else 0)


main()
