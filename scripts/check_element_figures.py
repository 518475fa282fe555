#!/usr/bin/python3
"""Checks a drawn design sheet (DXF) against the project it was drawn from, read with sqlite3:

  - the design tables against their closed forms (the sample's, host/app/SampleElementDesign.h):
    PDDELEM (Mxb = max(Mx, 0) ... of the plate's STRP centre moments under each design
    combination, As = |M| 1e6 / (0.9 * 360 * (1000 t - 50))), ELERP (largest governing value and
    mean over the region's plates), PDDSLAB (q = sum of factor x (40, 10, 2) over DL, LL, WX;
    direction values q l² / 24, edges -q l² / 12, q l² / 24, -q l² / 12, As at h0 = 950 mm);
  - every text the sheet writes on layer L50, in drawing order, against the texts made from the
    tables: 522/523 the four values of each foundation plate with their combination labels
    ("***" outside (-99999, 99999)), 527 the sixteen report values of each region, 511/264/512/265
    the base pressure (REAC FZ summed over the member's nodes, divided by the plan area of its
    outline, kN/m², or by its length for a line member, kN/m; on 264 each node's FZ shared among
    the grade beams meeting there by tributary length, link beams left out of 264 and 265) or the
    largest settlement (DISP DZ, mm) of each member shown, 524/525 the mean spring pressure (STWS) or the largest
    settlement of each foundation plate, 510 ... 162 the panels' direction and edge values;
  - the outlines on layer L25: one per plate, member or panel written.

    /usr/bin/python3 scripts/check_element_figures.py PROJECT.pvxdb DRAWING.dxf TYPE [DRAWING.dxf TYPE ...]

Prints one line per check, each drawing's after a "sheet TYPE:" line, and exits 1 when one fails.
"""
import math
import sqlite3
import struct
import sys

import ezdxf

FY, COVER, PANEL_H0 = 360.0, 50.0, 950.0
PANEL_LOAD = {1: 40.0, 2: 10.0, 3: 2.0}
LIMIT = 99999.0


def ints(blob):
    return list(struct.unpack("<%dI" % (len(blob) // 4), blob)) if blob else []


def reals(blob):
    return list(struct.unpack("<%dd" % (len(blob) // 8), blob)) if blob else []


def split_id(i):
    i &= (1 << 64) - 1
    return i >> 32, i & 0xFFFFFFFF


def fmt(v, p=0):
    return "%.*f" % (p, v)


def steel(m, h0):
    return abs(m) * 1e6 / (0.9 * FY * h0) if h0 > 0 else 0.0


class Project:
    def __init__(self, path):
        self.db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
        q = self.db.execute
        self.nodes = {k: (x, y, z) for k, x, y, z in q("SELECT key, x, y, z FROM PNODE")}
        self.elems = {k: (kind, typ, ints(n)[:nn], sect) for k, kind, typ, n, nn, sect in
                      q("SELECT key, kind, type, node, nnode, sect FROM PELEM ORDER BY seq")}
        self.membs = [(k, typ, sub, mk, ints(n), ints(e)) for k, typ, sub, mk, n, e in
                      q("SELECT key, type, subkind, model_key, nodes, elems FROM PMEMB ORDER BY seq")]
        self.memb_of = {}
        for k, _, _, _, _, elems in self.membs:
            for e in elems:
                self.memb_of.setdefault(e, k)
        self.groups = {k: (n, b, d) for k, n, b, d in q("SELECT key, number, blast, design_use FROM CKLG ORDER BY seq")}
        self.design = [k for k, (_, _, d) in self.groups.items() if d]
        self.combs = {}
        has_plcom = q("SELECT 1 FROM sqlite_master WHERE name = 'PLCOM'").fetchone()
        for k, typ, blob in q("SELECT key, type, entries FROM PLCOM ORDER BY key") if has_plcom else []:
            terms = []
            for i in range(0, len(blob), 16):
                kind, key, f = struct.unpack("<IId", blob[i:i + 16])
                if kind == 0:
                    break
                terms.append((kind, key, f))
            self.combs[k] = (typ, terms)
        self.linear = sorted(k for k, (t, _) in self.combs.items() if t == 0)
        self.sect_t = {k: d for k, d in q("SELECT key, dim FROM PSECT")}

    def label(self, key):
        g = self.groups.get(key)
        if not g:
            return ""
        return ("B%d" if g[1] else "%d") % g[0]

    def result(self, table, cols, key_of_load):
        """{(load, key): row} of a result table."""
        out = {}
        for row in self.db.execute("SELECT id, %s FROM %s" % (cols, table)):
            out[split_id(row[0])] = row[1:]
        return out

    def combined(self, rows, key, load, value):
        """value(row) combined for a linear combination or a load case; None without rows."""
        if load in self.combs:
            total, found = 0.0, False
            for kind, lc, f in self.combs[load][1]:
                r = rows.get((lc, key))
                if r is None:
                    return None
                total += f * value(r)
                found = True
            return total if found else None
        r = rows.get((load, key))
        return None if r is None else value(r)

    def governing(self, evaluate):
        """(key, value) of the largest magnitude over the linear combinations; None when none."""
        best = None
        for k in self.linear:
            v = evaluate(k)
            if v is None:
                continue
            # A tie goes to a check group, whose number the sheet writes.
            tie = best is not None and abs(abs(v) - abs(best[1])) <= 1e-9 * max(abs(v), abs(best[1]))
            if best is None or (not tie and abs(v) > abs(best[1])) or \
                    (tie and k in self.groups and best[0] not in self.groups):
                best = (k, v)
        return best

    def foundation_plate(self, e):
        kind, typ, _, _ = self.elems[e]
        if kind != 3 or typ not in (301, 302, 305):
            return False
        m = [x for x in self.membs if x[0] == self.memb_of.get(e)]
        return bool(m) and m[0][3] != 0

    def member_nodes(self, memb):
        k, typ, sub, mk, nodes, elems = memb
        out = []
        for e in elems:
            if e in self.elems:
                for n in self.elems[e][2]:
                    if n not in out:
                        out.append(n)
        if not elems:
            out = list(dict.fromkeys(nodes))
        return out


def elem_design(p, failures):
    """{elem: (moments [(v, comb)], areas [(v, comb)])} governing, checked against the closed form."""
    strp = {}
    for i, blk in p.db.execute("SELECT id, blk FROM STRP"):
        v = reals(blk)
        strp[split_id(i)] = (v[20], v[21])
    rows = {}
    for i, m, a in p.db.execute("SELECT id, moments, areas FROM PDDELEM"):
        rows[split_id(i)] = (reals(m), reals(a))
    checked = 0
    for (comb, e), (m, a) in rows.items():
        mx = sum(f * strp[(lc, e)][0] for _, lc, f in p.combs[comb][1])
        my = sum(f * strp[(lc, e)][1] for _, lc, f in p.combs[comb][1])
        want = [max(mx, 0), max(-mx, 0), max(my, 0), max(-my, 0)]
        t = p.sect_t[p.elems[e][3]]
        h0 = struct.unpack("<4d", t)[0] * 1000.0 - COVER if isinstance(t, bytes) else t * 1000.0 - COVER
        for k in range(4):
            if abs(m[k] - want[k]) > 1e-6 * max(1.0, abs(want[k])) or \
                    abs(a[k] - steel(want[k], h0)) > 1e-6 * max(1.0, steel(want[k], h0)):
                failures.append("PDDELEM %d/%d value %d: %g, %g, expected %g, %g" %
                                (comb, e, k, m[k], a[k], want[k], steel(want[k], h0)))
        checked += 1
    print("element design: %d rows against the closed form" % checked)
    gov = {}
    for e in sorted({e for _, e in rows}):
        items = []
        for item in range(2):
            vals = []
            for c in p.design:
                r = rows.get((c, e))
                if r is None:
                    continue
                for k, v in enumerate(r[item]):
                    if k >= len(vals):
                        vals.append((v, c))
                    elif abs(v) > abs(vals[k][0]):
                        vals[k] = (v, c)
            items.append(vals)
        gov[e] = items
    return gov


def element_texts(p, kind, failures):
    gov = elem_design(p, failures)
    name = "M" if kind == 0 else "As"
    texts, outlines = [], 0
    for e in p.elems:
        if not p.foundation_plate(e):
            continue
        outlines += 1
        if e not in gov or not gov[e][kind]:
            continue
        for k, (v, c) in enumerate(gov[e][kind][:4]):
            shown = "***" if kind == 1 and not (-LIMIT + 1e-6 <= v <= LIMIT - 1e-6) else fmt(v)
            lab = p.label(c)
            texts.append("%s%s:%s%s" % (name, ["xb", "xt", "yb", "yt"][k], shown, "(%s)" % lab if lab else ""))
    return texts, outlines


def report_texts(p, failures):
    gov = elem_design(p, failures)
    texts, outlines = [], 0
    for key, nodes, elems, mx, av, cb in p.db.execute("SELECT key, nodes, elems, max, ave, comb FROM ELERP ORDER BY seq"):
        mx, av, cb, elems = reals(mx), reals(av), ints(cb), ints(elems)
        for item in range(2):
            for k in range(4):
                vals = [gov[e][item][k] for e in elems]
                best = None
                for v, c in vals:
                    if best is None or v > best[0]:
                        best = (v, c)
                mean = sum(v for v, _ in vals) / len(vals)
                i = item * 4 + k
                if abs(mx[i] - best[0]) > 1e-6 * max(1, abs(best[0])) or cb[i] != best[1] or \
                        abs(av[i] - mean) > 1e-6 * max(1, abs(mean)):
                    failures.append("ELERP %d item %d: %g(%d) %g, expected %g(%d) %g" %
                                    (key, i, mx[i], cb[i], av[i], best[0], best[1], mean))
        outlines += 1
        texts += ["X", "Y"]
        for k in range(4):
            slot = ["xb", "xt", "yb", "yt"][k]
            for item, nm in enumerate(["M", "As"]):
                i = item * 4 + k
                texts.append("%s%sMax:%s(%s)  %s%sAve:%s" % (nm, slot, fmt(mx[i]), p.label(cb[i]), nm, slot, fmt(av[i])))
    return texts, outlines


def node_value_texts(p, typ):
    reac = p.result("REAC", "FZ", None)
    disp = p.result("DISP", "DZ", None)
    stws = {split_id(i): reals(d) for i, d in p.db.execute("SELECT id, d FROM STWS")}
    texts, outlines = [], 0

    def spread(outline):
        """Plan area enclosed by the outline's nodes (shoelace), else the length along them."""
        pts = [p.nodes[n][:2] for n in outline]
        a = 0.5 * abs(sum(pts[i][0] * pts[(i + 1) % len(pts)][1] - pts[(i + 1) % len(pts)][0] * pts[i][1]
                          for i in range(len(pts))))
        return a if len(pts) >= 3 and a > 1e-9 else sum(math.dist(pts[i - 1], pts[i]) for i in range(1, len(pts)))

    def reaction(nodes, outline, share=None):
        def ev(k):
            vals = [p.combined(reac, n, k, lambda r: r[0]) for n in nodes]
            vals = [v * (share(n) if share else 1.0) for n, v in zip(nodes, vals) if v is not None]
            return sum(vals) if vals else None
        g = p.governing(ev)
        length = sum(math.dist(p.nodes[a][:2], p.nodes[b][:2]) for a, b in zip(outline, outline[1:]))
        return g and (g[0], g[1] / (length if share else spread(outline)))

    def tributary(memb):
        """{node: half the plan length of each of the member's elements there}"""
        out = {}
        for e in memb[5]:
            if e in p.elems and len(p.elems[e][2]) == 2:
                a, b = p.elems[e][2]
                h = 0.5 * math.dist(p.nodes[a][:2], p.nodes[b][:2])
                out[a] = out.get(a, 0.0) + h
                out[b] = out.get(b, 0.0) + h
        if not out:  # no line elements: the length along its nodes spread over all its nodes
            ns = p.member_nodes(memb)
            length = sum(math.dist(p.nodes[a][:2], p.nodes[b][:2]) for a, b in zip(memb[4], memb[4][1:]))
            out = {n: length / len(ns) for n in ns}
        return out

    def settlement(nodes):
        def ev(k):
            vals = [p.combined(disp, n, k, lambda r: r[0]) for n in nodes]
            vals = [v / 1000.0 for v in vals if v is not None]
            return max(vals, key=abs) if vals else None
        g = p.governing(ev)
        return g and (g[0], g[1] * 1000.0)

    def text(g):
        return "%s(%s)" % (fmt(g[1]), p.label(g[0])) if p.label(g[0]) else fmt(g[1])

    if typ in (511, 264, 512, 265):
        raft = typ in (511, 512)
        found = {k for (k,) in p.db.execute("SELECT key FROM MEMB")}
        links = {k for k, l in p.db.execute("SELECT key, link FROM BEAM") if l}
        grade = [m for m in p.membs if m[1] == 201 and m[2] == 0 and m[3] not in links]
        total = {}
        for m in grade:
            for n, h in tributary(m).items():
                total[n] = total.get(n, 0.0) + h
        for memb in p.membs:
            k, t, sub, mk, nodes, elems = memb
            shown = (t in (301, 306) or (t == 201 and sub in (2, 3))) if raft else memb in grade
            if not shown or mk not in found or len(nodes) < 2:
                continue
            outlines += 1
            ns = p.member_nodes(memb)
            if not ns:
                continue
            own = tributary(memb)
            share = (lambda n: own.get(n, 0.0) / max(total.get(n, 0.0), own.get(n, 0.0), 1e-300)) if typ == 264 else None
            g = reaction(ns, nodes, share) if typ in (511, 264) else settlement(ns)
            if g:
                texts.append(text(g))
    else:
        for e, (kind, t, nodes, _) in p.elems.items():
            if not p.foundation_plate(e):
                continue
            outlines += 1
            if typ == 524:
                n = 5 if len(nodes) == 2 else min(len(nodes), 7)

                def ev(k, e=e, n=n):
                    v = p.combined(stws, e, k, lambda r: sum(r[:n]) / n)
                    return v
                g = p.governing(ev)
            else:
                g = settlement(nodes)
            if g:
                texts.append(text(g))
    return texts, outlines


SLAB_SHEETS = {510: ("raft", 0), 513: ("raft", 1), 91: ("band", 0), 92: ("band", 1),
               263: ("bottom", 1), 262: ("bottom", 0), 161: ("iso", 1), 162: ("iso", 0)}


def slab_texts(p, typ, failures):
    kind, area = SLAB_SHEETS[typ]
    raft_type = {k: t for k, t in p.db.execute("SELECT key, type FROM MTSB")}
    ponts = {k: (x, y) for k, x, y in p.db.execute("SELECT key, x, y FROM PONT")}
    footing_ponts = set()
    for (blob,) in p.db.execute("SELECT ponts FROM MEMB WHERE type = 401"):
        footing_ponts.update(ints(blob))
    texts, outlines = [], 0
    for key, raft, nodes, a1, a2, nev, combs, ms, asv in p.db.execute(
            "SELECT key, raft, nodes, angle1, angle2, edge_values, combs, moments, areas FROM PDDSLAB ORDER BY seq"):
        nodes, combs, ms, asv = ints(nodes), ints(combs), reals(ms), reals(asv)
        pts = [p.nodes[n][:2] for n in nodes]
        lens = [math.dist(pts[i], pts[(i + 1) % len(pts)]) for i in range(len(pts))]
        # The closed form.
        per = 2 + len(nodes) * nev
        for c, comb in enumerate(combs):
            q = sum(f * PANEL_LOAD.get(lc, 0.0) for _, lc, f in p.combs[comb][1])
            want = [q * lens[0] ** 2 / 24, q * lens[1] ** 2 / 24]
            for l in lens:
                want += [-q * l * l / 12, q * l * l / 24, -q * l * l / 12]
            got_m, got_a = ms[c * per:(c + 1) * per], asv[c * per:(c + 1) * per]
            for i, w in enumerate(want):
                if abs(got_m[i] - w) > 1e-6 * max(1, abs(w)) or abs(got_a[i] - steel(w, PANEL_H0)) > 1e-6 * max(1, steel(w, PANEL_H0)):
                    failures.append("PDDSLAB %d comb %d value %d: %g, %g, expected %g, %g" %
                                    (key, comb, i, got_m[i], got_a[i], w, steel(w, PANEL_H0)))
        # The filter.
        on_footing = False
        for i in range(len(pts)):
            a, b = pts[i - 1], pts[i]
            for pk, (x, y) in ponts.items():
                if pk not in footing_ponts:
                    continue
                dx, dy = b[0] - a[0], b[1] - a[1]
                t = max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)))
                if math.hypot(x - a[0] - t * dx, y - a[1] - t * dy) <= 1e-3:
                    on_footing = True
        rt = raft_type.get(raft, 0)
        shown = {"raft": raft >= 1 and rt not in (2, 3), "band": raft >= 1 and rt in (2, 3),
                 "bottom": raft == 0 and not on_footing, "iso": raft == 0 and on_footing}[kind]
        if not shown:
            continue
        outlines += 1
        # Governing values.
        allv = asv if area else ms
        vals = []
        for c, comb in enumerate(combs):
            for i in range(per):
                v = allv[c * per + i]
                if c == 0:
                    vals.append((v, comb))
                elif v * v > vals[i][0] ** 2:
                    vals[i] = (v, comb)

        def one(v, c, pre=""):
            shown_v = "***" if area and not (-LIMIT + 1e-6 <= v <= LIMIT - 1e-6) else fmt(v)
            return "%s%s(%s)" % (pre, shown_v, p.label(c))
        texts += [one(*vals[0]), one(*vals[1])]
        edges = vals[2:]
        count = 1 if typ == 263 else nev
        for i in range(len(pts)):
            a, b = pts[i], pts[(i + 1) % len(pts)]
            ang = math.degrees(math.atan2(b[1] - a[1], b[0] - a[0])) % 360.0
            anchor, upright = 8, True
            if ang > 179:
                if ang > 270:
                    anchor = 0
                ang -= 180
                if ang > 90:
                    upright = False
            if count == 3:
                trio = edges[3 * i:3 * i + 3]
                if not upright:
                    trio = trio[::-1]
                texts.append(one(*trio[0]) + one(*trio[1], pre="/") + one(*trio[2], pre="/"))
            else:
                texts.append(one(*edges[3 * i + 1 if nev == 3 else i]))
    return texts, outlines


def check(p, drawing, typ):
    typ = int(typ)
    failures = []
    doc = ezdxf.readfile(drawing)
    audit = doc.audit()
    if audit.errors:
        failures.append("audit: %d errors" % len(audit.errors))
    if typ in (522, 523):
        want, outlines = element_texts(p, typ - 522, failures)
    elif typ == 527:
        want, outlines = report_texts(p, failures)
    elif typ in SLAB_SHEETS:
        want, outlines = slab_texts(p, typ, failures)
    else:
        want, outlines = node_value_texts(p, typ)
    got = [e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT" and e.dxf.layer == "L50"]
    # The notes (title, load text, description and drawing scale) follow the sheet's texts.
    body = got[:len(want)]
    if body != want:
        for i, (g, w) in enumerate(zip(body, want)):
            if g != w:
                failures.append("text %d: %r, expected %r" % (i, g, w))
                break
        if len(body) != len(want):
            failures.append("%d texts, expected %d" % (len(body), len(want)))
    notes = len(got) - len(want)
    if notes not in (3, 4):
        failures.append("%d texts besides the values, expected the notes' 3 or 4" % notes)
    # The element sheets are drawn at three times the model's size, every other sheet at 1.
    scale = " 3:1" if typ in (522, 523) else " 1:1"
    if not got or not got[-1].endswith(scale):
        failures.append("last text %r, expected the drawing scale%s" % (got[-1] if got else None, scale))
    print("texts: %d values checked" % len(want))
    n25 = sum(1 for e in doc.modelspace() if e.dxf.layer == "L25" and e.dxftype() == "POLYLINE")
    if n25 != outlines:
        failures.append("%d outlines on L25, expected %d" % (n25, outlines))
    print("outlines: %d" % n25)
    for f in failures:
        print("FAILED: " + f)
    return 1 if failures else 0


def main(project, *sheets):
    p = Project(project)
    failed = 0
    for drawing, typ in zip(sheets[::2], sheets[1::2]):
        print("sheet %s:" % typ)
        failed |= check(p, drawing, typ)
    return failed


if __name__ == "__main__":
    if len(sys.argv) < 4 or len(sys.argv) % 2:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
