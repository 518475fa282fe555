#!/usr/bin/python3
"""Checks a drawn beam reinforcement or crack sheet (DXF) against the project it was drawn from,
read with sqlite3:

  - every beam design row (PDDBEAM) against its closed forms, recomputed here from the row's
    section and materials and the beam's MBWG rows combined with the PLCOM factors, for each
    design combination (CKLG design_use): per section (stations 0, 4, 8) with M, V, T the moment,
    shear and torsion (MBWG columns 4, 2, 3) and h0 = h - as:
        A1 = steel(-M), A2 = steel(M), steel(m) = max(m, 0) / (0.9 fy h0), at least 0.2 % of b h,
        100000 (and the row's over-limit flag) above 2.5 % of b h0;
        A3 = 100 max(0.24 ft / fy b, (|V| - 0.7 ft b h0) / (fy h0));
        A4 = 0.1 % of b h0 when h0 >= 450 mm, else 0;  A5 = 100 |T| / (2 Acor fy);
        extra = max |T| ucor / (2 Acor fy) when the beam has torsion, Acor = (b - 2 as)(h - 2 as),
        ucor = 2 ((b - 2 as) + (h - 2 as));
    the crack widths under the settlement group (LDGP SETTLE) from Mq = M(DL) + 0.5 M(LL) on the
    steel of the face in tension (the largest over the combinations):
        w = 1.9 psi sigma / Es (1.9 cs + 0.08 deq / rho), sigma = |Mq| / (0.87 h0 As),
        rho = max(0.01, As / (0.5 b h)), psi = 1.1 - 0.65 ftk / (rho sigma) within 0.2 .. 1,
        Es = 200000, deq = 20, cs = as - deq / 2; in metres, negative for a hogging Mq;
  - which members a sheet writes: 261/166 type 201 of kind 0/1 (sub-kind 0 or 1, the model beam's
    link flag) or 213, 520 type 201 of sub-kind 2 or 213; 266/167/526 type 201 of kind 0/1/2;
    with a foundation member (model_key in MEMB) and a design row;
  - every text of the sheet in drawing order (members in PMEMB order): the steel blocks
    "G<A4>", "<A1>-<A1>-<A1>", "<A2>-<A2>-<A2>", "VT<A3>-<A5>"[, "Y<extra>"] of the load's section
    records (key 0: value by value the largest over the combinations; G, VT and the dash after
    it take the larger of start and end, the end on a tie, then the middle when strictly larger),
    "100000" written "***" on a row over the limit, at 0 decimals, at the member's mid-point; the
    crack widths |w| x 1000 at 2 decimals (" " before the start's, " " after the end's) at the
    member's middle and 1.5 text heights (at most a quarter of its length) inside its start and
    end, a section without an entry for the key left out (key 0: the entry of largest magnitude).

    /usr/bin/python3 scripts/check_beam_design_figures.py PROJECT.pvxdb DRAWING.dxf TYPE [LOAD]

Prints one line per failed check and exits 1 when one fails.
"""
import math
import re
import sqlite3
import struct
import sys

import ezdxf

from pvxcheck import check, ints, reals, summary


def dmap(blob):
    if not blob:
        return {}
    n = struct.unpack_from("<I", blob)[0]
    return {k: v for k, v in (struct.unpack_from("<Id", blob, 4 + 12 * i) for i in range(n))}


def close(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(b))


def main():
    path, dxf, typ = sys.argv[1], sys.argv[2], int(sys.argv[3])
    load = int(sys.argv[4]) if len(sys.argv) > 4 else 0
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    q = db.execute
    nodes = {k: (x, y) for k, x, y in q("SELECT key, x, y FROM PNODE")}
    memb_model = {k for (k,) in q("SELECT key FROM MEMB")}
    link = {k: l for k, l in q("SELECT key, link FROM BEAM")}
    mbwg = {}
    for i, blob in q("SELECT id, d FROM MBWG"):
        i &= (1 << 64) - 1
        mbwg[(i >> 32, i & 0xFFFFFFFF)] = reals(blob)
    combs = {}
    for k, blob in q("SELECT key, entries FROM PLCOM"):
        terms = []
        for i in range(0, len(blob), 16):
            kd, key, f = struct.unpack("<IId", blob[i:i + 16])
            if kd == 0:
                break
            terms.append((key, f))
        combs[k] = terms
    design = [k for (k,) in q("SELECT key FROM CKLG WHERE design_use != 0 ORDER BY key")]
    settle = [k for (k,) in q("SELECT key FROM LDGP WHERE type = 2")]
    case = {name: k for k, name in q("SELECT key, name FROM PSTLD")}

    def forces(key, terms):
        out = [[0.0] * 6 for _ in range(9)]
        for lc, f in terms:
            r = mbwg.get((lc, key))
            if r is None:
                return None
            for s in range(9):
                for c in range(6):
                    out[s][c] += f * r[6 * s + c]
        return out

    rows = {}
    for key, b, h, a_s, fy, ft, ftk, cb, ab, over, extra, c0, c1, c2 in q(
            'SELECT key, b, h, "as", fy, ft, ftk, combs, areas, over, extra, crack_start, crack_middle, crack_end '
            'FROM PDDBEAM'):
        cl, al = ints(cb), reals(ab)
        rec = {"combs": cl, "over": over, "extra": dmap(extra), "crack": [dmap(c0), dmap(c1), dmap(c2)],
               "as": [{c: al[(i * 3 + s) * 5:(i * 3 + s) * 5 + 5] for i, c in enumerate(cl)} for s in range(3)]}
        rows[key] = rec
        # The closed forms.
        h0 = h - a_s
        acor, ucor = (b - 2 * a_s) * (h - 2 * a_s), 2 * ((b - 2 * a_s) + (h - 2 * a_s))
        flag = [0]

        def steel(m):
            need = max(m, 0.0) * 1e6 / (0.9 * fy * h0)
            if need > 0.025 * b * h0:
                flag[0] = 1
                return 100000.0
            return max(need, 0.002 * b * h)

        want_combs, want_extra = [], {}
        for c in design:
            f = forces(key, combs.get(c, [(c, 1.0)]))
            if f is None:
                continue
            want_combs.append(c)
            for s, st in enumerate((0, 4, 8)):
                m, v, t = f[st][4], abs(f[st][2]), abs(f[st][3])
                want = [steel(-m), steel(m),
                        100 * max(0.24 * ft / fy * b, (v * 1e3 - 0.7 * ft * b * h0) / (fy * h0)),
                        0.001 * b * h0 if h0 >= 450 else 0.0, 100 * t * 1e6 / (2 * acor * fy)]
                got = rec["as"][s].get(c)
                check(got is not None and all(close(g, w) for g, w in zip(got, want)),
                      "member %d combination %d section %d: %s, closed form %s" % (key, c, s, got, want))
            tmax = max(abs(f[st][3]) for st in range(9))
            if tmax > 0:
                want_extra[c] = tmax * 1e6 * ucor / (2 * acor * fy)
        check(cl == want_combs, "member %d combinations %s, want %s" % (key, cl, want_combs))
        check(over == flag[0], "member %d over-limit flag %d, want %d" % (key, over, flag[0]))
        check(set(rec["extra"]) == set(want_extra) and all(close(rec["extra"][k], want_extra[k]) for k in want_extra),
              "member %d extra values" % key)
        dl, ll = forces(key, [(case["DL"], 1.0)]), forces(key, [(case["LL"], 1.0)])
        for s, st in enumerate((0, 4, 8)):
            want = {}
            if dl and ll and settle:
                mq = dl[st][4] + 0.5 * ll[st][4]
                env = [max(rec["as"][s][c][i] for c in cl) for i in range(5)]
                a = env[0] if mq < 0 else env[1]
                if a < 100000.0:
                    sigma = abs(mq) * 1e6 / (0.87 * h0 * a)
                    w = 0.0
                    if sigma > 0:
                        rho = max(0.01, a / (0.5 * b * h))
                        psi = min(1.0, max(0.2, 1.1 - 0.65 * ftk / (rho * sigma)))
                        w = 1.9 * psi * sigma / 2e5 * (1.9 * (a_s - 10.0) + 0.08 * 20.0 / rho)
                    want[settle[0]] = (-w if mq < 0 else w) / 1000.0
            got = rec["crack"][s]
            check(set(got) == set(want) and all(close(got[k], want[k]) for k in want),
                  "member %d section %d crack %s, closed form %s" % (key, s, got, want))

    # The sheet's members and texts.
    crack_sheet = typ in (266, 167, 526)
    kind_shown = {261: 0, 166: 1, 520: 2, 266: 0, 167: 1, 526: 2}[typ]
    expected = []  # (text, point along the member from its i-end as a fraction, member)
    ends = {}

    def fmt(v, p):
        t = "%.*f" % (p, v)
        return t[1:] if t.startswith("-") and float(t) == 0.0 else t

    def largest(sec, i):
        outer = sec[2] if not sec[0][i] > sec[2][i] else sec[0]
        return sec[1][i] if sec[1][i] > outer[i] else outer[i]

    def pick(m, k):
        if k:
            return m.get(k)
        if not m:
            return None
        best = min(m, key=lambda x: (-abs(m[x]), x))
        return m[best]

    for key, typ_m, sub, mk, nb in q("SELECT key, type, subkind, model_key, nodes FROM PMEMB ORDER BY seq"):
        if key not in rows or mk not in memb_model:
            continue
        kind = -1
        if typ_m == 201 and sub in (0, 1):
            kind = 1 if link.get(mk) == 1 else 0
        elif typ_m == 201 and sub == 2:
            kind = 2
        if typ == 520:
            shown = (typ_m == 201 and sub == 2) or typ_m == 213
        elif crack_sheet:
            shown = kind == kind_shown
        else:
            shown = typ_m in (201, 213) and kind == kind_shown
        if not shown:
            continue
        n = ints(nb)
        ends[key] = (nodes[n[0]], nodes[n[-1]])
        rec = rows[key]
        if crack_sheet:
            for p in range(3):
                w = pick(rec["crack"][p], load)
                if w is None:
                    continue
                t = fmt(abs(w * 1000.0), 2)
                expected.append(((" " + t) if p == 0 else (t + " ") if p == 2 else t, 0.5 * p, key))
            continue
        sec = []
        for s in range(3):
            m = rec["as"][s]
            if load:
                sec.append(m.get(load, [0.0] * 5))
            else:
                sec.append([max(m[c][i] for c in m) for i in range(5)] if m else [0.0] * 5)
        lines = ["G" + fmt(largest(sec, 3), 0), "-".join(fmt(sec[s][0], 0) for s in range(3)),
                 "-".join(fmt(sec[s][1], 0) for s in range(3)),
                 "VT" + fmt(largest(sec, 2), 0) + "-" + fmt(largest(sec, 4), 0)]
        x = pick(rec["extra"], load)
        if x is not None:
            lines.append("Y" + fmt(x, 0))
        if rec["over"]:
            lines = [re.sub(r"(?<![\d.])100000(\.0*)?(?![\d.])", "***", l) for l in lines]
        expected += [(l, 0.5, key) for l in lines]
    check(len(expected) > 0, "the sheet has texts to write")

    msp = ezdxf.readfile(dxf).modelspace()
    texts = [(e.dxf.text, e.dxf.insert, e.dxf.height) for e in msp if e.dxftype() == "TEXT" and e.dxf.layer == "L50"]
    ours = [t for t in texts if re.match(r"^ ?(G|VT|Y)?[\d*.]+(-[\d*.]+)* ?$", t[0])]
    check(len(ours) == len(expected), "%d texts expected, %d drawn" % (len(expected), len(ours)))
    for (got, at, height), (want, frac, key) in zip(texts, expected):
        check(got == want, "member %d text %r, want %r" % (key, got, want))
        (ax, ay), (bx, by) = ends[key]
        length = math.hypot(bx - ax, by - ay)
        along = ((at.x - ax) * (bx - ax) + (at.y - ay) * (by - ay)) / length
        # A crack sheet's end values stand inside the span, away from the end.
        inside = min(1.5 * height, 0.25 * length) if crack_sheet and frac != 0.5 else 0.0
        place = frac * length + (inside if frac == 0.0 else -inside)
        check(abs(along - place) < 1e-6, "member %d text %r at %.6f along, want %.6f" % (key, got, along, place))
    checked, failures = summary()
    print("%d members with design rows, %d texts expected; %d checks, %d failed" % (len(rows), len(expected), checked,
                                                                                   failures))
    sys.exit(1 if failures else 0)


main()
