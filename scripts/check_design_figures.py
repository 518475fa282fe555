#!/usr/bin/python3
"""Checks what `pvxhost design` draws and lists against the project's tables, read here with
sqlite3 (PMEMB, PNODE, PELEM, PSLAB, RCOL, RBEM, RWAL, RSLB, PSTLD, MBCL):

  figure 28: every axial-compression ratio label ("(R1,R2)", the largest end moment, the largest
             compression; two decimals) as written into the picture's metafile, the legend's
             MAX / MIN ratios with their "MEMB." members and no force unit, and the --list records;
  figure 21: every area-steel label of the columns, beams, wall beams, walls and slab edges, and
             the --list records;
  figures 21, 28: no text of the metafile reaches over the picture's edge;
  figure 23: the legend range of the beam results, the two steel diagrams of every beam (its top
             steel negated, its bottom steel: first value, largest of stations 1 to 7, last value)
             and the legend's share of the stations per band (--list and the metafile);
  figures 21 and 28 with --storey N for every storey of the project: the labels, legend and
             records of the storey's members only (storeys found as docs/DATABASE.md says), and
             no text over the picture's edge;
  figures 35, 36, 42 to 56: the command says what the picture shows (43 to 56 that they draw as
             42); figure 40 is refused, naming 42 (the lists of 35, 36 and 42 to 56:
             check_design_envelopes.py).

    /usr/bin/python3 scripts/check_design_figures.py PVXHOST PROJECT.pvxdb TMPDIR

Prints one line per check and exits 1 when one fails.
"""
import collections
import math
import re
import sqlite3
import struct
import subprocess
import sys

COLUMN, WALL, WALL_BEAM, WALL_BEAM_ELEM, SLAB = 101, 209, 210, 211, 301
BEAMS = (201, 205, 204)
DECIMALS = 2  # the design figures' number labels

failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


def unpack(fmt, blob):
    n = len(blob) // struct.calcsize("<" + fmt) if blob else 0
    return list(struct.unpack("<%d%s" % (n, fmt), blob)) if n else []


def f1(v):
    return "%.*f" % (DECIMALS, v)


def f2(v):
    return "%.2f" % v


def close(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))


def later_max(values):
    # The later value wins a tie: for numbers the largest value either way.
    best = values[0]
    for v in values[1:]:
        if v >= best:
            best = v
    return best


LEVEL_TOL = 0.005  # m: heights closer than this are one floor level


def storeys(db, nodes):
    """Member keys by storey: 0 the foundation, then 1 upwards by floor level."""
    members = [(k, t, mk, unpack("I", n)) for k, t, mk, n in
               db.execute("SELECT key, type, model_key, nodes FROM PMEMB ORDER BY seq")]
    kinds = {k: t for k, t in db.execute("SELECT key, type FROM MEMB")}
    z = {k: [nodes[n][2] for n in ns if n in nodes] for k, _, _, ns in members}
    tops = {k: max(v) for k, v in z.items() if v}
    base = [tops[k] for k, _, mk, _ in members if kinds.get(mk) in (201, 401, 402, 403) and k in tops]
    supports = [nodes[k][2] for (k,) in db.execute("SELECT key FROM PRTND") if k in nodes]
    base = max(base) if base else min(supports) if supports else min(n[2] for n in nodes.values())
    heights = sorted(tops[k] for k, t, _, _ in members if t in (201, 205, 301, 302, 305) and k in tops and
                     tops[k] - min(z[k]) <= LEVEL_TOL and tops[k] > base + LEVEL_TOL)
    levels = []
    for h in heights:
        if not levels or h > levels[-1] + LEVEL_TOL:
            levels.append(h)
    out = [[] for _ in range(len(levels) + 1)]
    for k, _, _, _ in members:
        top = tops.get(k, base)
        s = 0
        if top > base + LEVEL_TOL:
            s = 1
            while s < len(levels) and top > levels[s - 1] + LEVEL_TOL:
                s += 1
        out[s].append(k)
    return out


class Project:
    def __init__(self, path, storey=None):
        db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
        self.nodes = {k: (x, y, z) for k, x, y, z in db.execute("SELECT key, x, y, z FROM PNODE")}
        self.elem_type = {k: t for k, t in db.execute("SELECT key, type FROM PELEM")}
        self.members = [(k, t, unpack("I", n), unpack("I", e))
                        for k, t, n, e in db.execute("SELECT key, type, nodes, elems FROM PMEMB ORDER BY seq")]
        self.storeys = storeys(db, self.nodes)
        # With a storey, the figures take its members only.
        if storey is not None:
            keep = set(self.storeys[storey])
            self.members = [m for m in self.members if m[0] in keep]
        self.slabs = {k: unpack("I", n) for k, n in db.execute("SELECT key, nodes FROM PSLAB")}
        self.rcol = {k: (unpack("d", b), unpack("d", p), n, m, unpack("d", s))
                     for k, b, p, n, m, s in db.execute("SELECT key, blocks, parts, n_max, m_max, shear FROM RCOL")}
        self.rbem = {k: (unpack("d", st), unpack("d", sh)) for k, st, sh in
                     db.execute("SELECT key, stations, shear FROM RBEM")}
        self.rwal = {k: unpack("d", b) for k, b in db.execute("SELECT key, blocks FROM RWAL")}
        self.rslb = {k: (x, y, unpack("d", e)) for k, x, y, e in db.execute("SELECT key, as_x, as_y, as_edge FROM RSLB")}
        self.loads = {name: key for key, name in db.execute("SELECT key, name FROM PSTLD")}
        self.mbcl = {i: unpack("d", d) for i, d in db.execute("SELECT id, d FROM MBCL")}

    def of_type(self, types):
        return [m for m in self.members if m[1] in types]

    # Axial-compression ratio records and extremes, in member order.
    def acr(self):
        out, hi_v, lo_v, hi_k, lo_k = [], -sys.float_info.max, sys.float_info.max, 0, 0
        for key, _, nodes, _ in self.of_type((COLUMN,)):
            if key not in self.rcol or not nodes:
                continue
            blocks, parts, n_max, m_max, _ = self.rcol[key]
            r1, r2 = parts[1], parts[3]
            if max(r1, r2) > hi_v:
                hi_v, hi_k = max(r1, r2), key
            if min(r1, r2) < lo_v:
                lo_v, lo_k = min(r1, r2), key
            out.append((key, r1, r2, n_max, m_max, self.nodes[nodes[-1]]))
        return out, (hi_v, hi_k, lo_v, lo_k)

    # The beam's zones: the largest of each value over stations 0-2, 3-5 and 6-8.
    @staticmethod
    def zones(stations):
        return [[max(stations[4 * s + v] for s in range(3 * z, 3 * z + 3)) for v in range(4)] for z in range(3)]

    def area_steel(self):
        colm, beams, wbeams, walls, edges, centres = [], [], [], [], [], []
        for key, _, nodes, _ in self.of_type((COLUMN,)):
            if key not in self.rcol or not nodes:
                continue
            b, parts, _, _, sh = self.rcol[key]
            d = [max(b[5 * k + v] for k in range(4)) for v in range(3)]
            d += [0.0, parts[1], parts[3], later_max([b[3], b[4], b[18], b[19]]), later_max([sh[0], sh[1]])]
            colm.append((key, d, self.nodes[nodes[-1]]))
        for key, typ, nodes, elems in self.members:
            wall_beam = typ == WALL_BEAM and elems and self.elem_type.get(elems[0]) == WALL_BEAM_ELEM
            if not (typ in BEAMS or wall_beam) or key not in self.rbem or len(nodes) < 2:
                continue
            st, sh = self.rbem[key]
            z = self.zones(st)
            d = [z[0][0], z[1][0], z[2][0], z[0][1], z[1][1], z[2][1], later_max([z[0][2], z[2][2]]),
                 sh[3] if wall_beam else sh[1], later_max([z[0][3], z[2][3]]), z[1][3]]
            (wbeams if wall_beam else beams).append((key, d))
        for key, _, nodes, _ in self.of_type((WALL,)):
            if key not in self.rwal or len(nodes) < 2:
                continue
            b = self.rwal[key]
            walls.append((key, [max(b[2 * k + 1] for k in range(4)), max(b[2 * k] for k in range(4))]))
        for key, _, _, _ in self.of_type((SLAB,)):
            if key not in self.slabs or key not in self.rslb:
                continue
            outline, (ax, ay, e) = self.slabs[key], self.rslb[key]
            if len(e) != len(outline):
                continue
            for i, v in enumerate(e):
                edges.append((key, v, self.nodes[outline[i]], self.nodes[outline[(i + 1) % len(outline)]]))
            centres.append((key, ax, ay))
        return colm, beams, wbeams, walls, edges, centres

    def beam_range(self, rows):
        lo, hi = sys.float_info.max, -sys.float_info.max
        for key, _, _, _ in self.of_type(BEAMS):
            if key not in self.rbem:
                continue
            st = self.rbem[key][0]
            for s in range(9):
                for r in rows:
                    lo, hi = min(lo, st[4 * s + r]), max(hi, st[4 * s + r])
        return lo, hi


def run(pvxhost, db, args):
    p = subprocess.run([pvxhost, "--quiet", "--db", db, "design"] + args, capture_output=True, text=True)
    return p.returncode, p.stdout, p.stderr


def emf_texts(path):
    """Text of every EMR_EXTTEXTOUTW record of the metafile, in order."""
    data, off, out = open(path, "rb").read(), 0, []
    while off + 8 <= len(data):
        typ, size = struct.unpack_from("<II", data, off)
        if typ == 84:
            base = off + 8 + 16 + 12
            _, _, n, text_off = struct.unpack_from("<iiII", data, base)
            out.append(data[off + text_off:off + text_off + 2 * n].decode("utf-16le"))
        if size == 0:
            break
        off += size
    return out


LABEL = re.compile(r"^(G|VT ?)?\(?-?\d+\.\d\d((,|-)-?\d+\.\d\d)*\)?$")


def labels_of(texts):
    return collections.Counter(t for t in texts if LABEL.match(t))


def list_rows(stdout, kind):
    return [line.split()[1:] for line in stdout.splitlines() if line.startswith(kind + " ")]


def legend_value_ok(text, want):
    # The legend writes the value in its own format: it must equal the ratio to its last digit.
    try:
        v = float(text)
    except ValueError:
        return False
    digits = len(text.split(".")[1]) if "." in text else 0
    return abs(v - want) <= 0.5 * 10 ** -digits + 1e-12


def check_acr(p, pvxhost, db, tmp, extra=()):
    tag = " ".join(["design 28"] + list(extra))
    emf = tmp + "/design28%s.emf" % "".join(extra)
    rc, out, err = run(pvxhost, db, ["28", "--list", "--out", emf] + list(extra))
    check(rc == 0, "%s exits 0 (%s)" % (tag, err.strip()))
    records, (hi_v, hi_k, lo_v, lo_k) = p.acr()
    want = collections.Counter()
    for key, r1, r2, n, m, _ in records:
        want.update(["(%s,%s)" % (f1(r1), f1(r2)), f1(m), f1(n)])
    texts = emf_texts(emf)
    check(labels_of(texts) == want, tag + ": the %d labels of %d columns equal RCOL's ratios, moments and "
          "compressions" % (sum(want.values()), len(records)))
    check(not [t for t in texts if "kN" in t], tag + ": no force unit in the picture (a ratio has none)")
    check_edges(tag, emf, out)
    if not records:
        check("shows: the model only" in out, tag + ": no column, no legend: the command says so")
        return
    ok = False
    for i in range(len(texts) - 7):
        t = texts[i:i + 8]
        if t[0] == "MAX :  " and t[2] == "MEMB.=" and t[4] == "MIN :  " and t[6] == "MEMB.=":
            ok = legend_value_ok(t[1], hi_v) and t[3] == str(hi_k) and legend_value_ok(t[5], lo_v) and \
                t[7] == str(lo_k)
    check(ok, tag + ": legend MAX %.6g MEMB.=%d, MIN %.6g MEMB.=%d" % (hi_v, hi_k, lo_v, lo_k))
    rows = list_rows(out, "acr")
    ok = len(rows) == len(records) and all(
        int(r[0]) == w[0] and all(close(float(a), b) for a, b in zip(r[1:8], list(w[1:5]) + list(w[5])))
        for r, w in zip(rows, records))
    check(ok, tag + " --list: %d acr records equal the tables" % len(records))
    ext = [line.split() for line in out.splitlines() if line.startswith("acr-extremes")]
    check(len(ext) == 1 and close(float(ext[0][2]), hi_v) and int(ext[0][4]) == hi_k and
          close(float(ext[0][6]), lo_v) and int(ext[0][8]) == lo_k, tag + " --list: extremes and members")


def check_area_steel(p, pvxhost, db, tmp, extra=()):
    tag = " ".join(["design 21"] + list(extra))
    emf = tmp + "/design21%s.emf" % "".join(extra)
    rc, out, err = run(pvxhost, db, ["21", "--list", "--out", emf] + list(extra))
    check(rc == 0, "%s exits 0 (%s)" % (tag, err.strip()))
    colm, beams, wbeams, walls, edges, centres = p.area_steel()
    want = collections.Counter()
    for _, d, _ in colm:
        want.update([f1(d[0]), f1(d[1]), f1(d[2]), f1(d[3]), "(%s,%s)" % (f2(d[4]), f2(d[5])),
                     "G%s-%s" % (f1(d[6]), f1(d[7]))])
    for rows, wall_beam in ((beams, False), (wbeams, True)):
        for _, d in rows:
            want.update(["-".join(f1(v) for v in d[0:3]), "-".join(f1(v) for v in d[3:6]),
                         "G%s-%s" % (f1(d[6]), f1(d[7]))])
            if wall_beam and d[8] != 0:
                want.update(["VT " + f1(d[8])])
            if not wall_beam and d[8] != 0 and d[9] != 0:
                want.update(["VT%s-%s" % (f1(d[8]), f1(d[9]))])
    for _, d in walls:
        want.update([f1(d[0]), f1(d[1])])
    last = None
    for key, v, _, _ in edges:
        want.update([f1(v)])
        if key != last:
            c = [c for c in centres if c[0] == key][0]
            want.update([f1(c[1]), f1(c[2])])
            last = key
    got = labels_of(emf_texts(emf))
    check_edges(tag, emf, out)
    check(got == want, tag + ": the %d labels of %d columns, %d beams, %d wall beams, %d walls, %d slab edges "
          "equal RCOL, RBEM, RWAL and RSLB" % (sum(want.values()), len(colm), len(beams), len(wbeams), len(walls),
                                               len(edges)))
    if got != want:
        print("      missing:", list((want - got).items())[:8], " extra:", list((got - want).items())[:8])
    listed = {"colm": list_rows(out, "colm-as"), "beam": list_rows(out, "beam-as"),
              "wbeam": list_rows(out, "wbeam-as"), "wall": list_rows(out, "wall-as"),
              "edge": list_rows(out, "slab-edge")}
    ok = len(listed["colm"]) == len(colm) and all(
        int(r[0]) == w[0] and all(close(float(a), b) for a, b in zip(r[1:12], w[1] + list(w[2])))
        for r, w in zip(listed["colm"], colm))
    for kind, rows in (("beam", beams), ("wbeam", wbeams), ("wall", walls)):
        ok = ok and len(listed[kind]) == len(rows) and all(
            int(r[0]) == w[0] and all(close(float(a), b) for a, b in zip(r[1:1 + len(w[1])], w[1]))
            for r, w in zip(listed[kind], rows))
    ok = ok and len(listed["edge"]) == len(edges) and all(
        int(r[0]) == w[0] and close(float(r[1]), w[1]) and all(close(float(a), b) for a, b in zip(r[2:8], w[2] + w[3]))
        for r, w in zip(listed["edge"], edges))
    check(ok, tag + " --list: area-steel records equal the tables")


def emf_boxes(path):
    """Text and bounds (left, top, right, bottom) of every EMR_EXTTEXTOUTW record."""
    data, off, out = open(path, "rb").read(), 0, []
    while off + 8 <= len(data):
        typ, size = struct.unpack_from("<II", data, off)
        if typ == 84:
            box = struct.unpack_from("<iiii", data, off + 8)
            n, text_off = struct.unpack_from("<II", data, off + 44)
            out.append((data[off + text_off:off + text_off + 2 * n].decode("utf-16le"), box))
        if size == 0:
            break
        off += size
    return out


def check_edges(tag, path, out):
    """No text over the edge of the picture, of the size the command's "Wrote" line gives."""
    size = re.search(r"^Wrote [^\n]*?: (?:EMF, |BMP, )?(\d+)x(\d+),", out, re.M)
    width, height = (int(size.group(1)), int(size.group(2))) if size else (1024, 768)
    cut = [(t, b) for t, b in emf_boxes(path) if b[0] < 0 or b[1] < 0 or b[2] > width or b[3] > height]
    check(not cut, "%s: no text reaches over the picture's edge %s" % (tag, cut[:3]))


def check_steel(p, pvxhost, db, tmp):
    emf = tmp + "/design23.emf"
    rc, out, err = run(pvxhost, db, ["23", "--list", "--out", emf])
    check(rc == 0, "design 23 exits 0 (%s)" % err.strip())
    want, values = [], []
    for key, _, nodes, _ in p.of_type(BEAMS):
        if key not in p.rbem or len(nodes) < 2:
            continue
        st = p.rbem[key][0]
        top, bottom = [-st[4 * s] for s in range(9)], [st[4 * s + 1] for s in range(9)]
        for row in (top, bottom):
            want.append((key, row[0], max(row[1:8]), row[8]))
        values += [st[4 * s + r] for s in range(9) for r in (0, 1)]
    rows = list_rows(out, "diagram")
    ok = len(rows) == len(want) and all(
        int(r[0]) == w[0] and all(close(float(a), b) for a, b in zip(r[1:4], w[1:])) for r, w in zip(rows, want))
    check(ok, "design 23 --list: %d steel diagrams, two per beam, equal RBEM's top (negated) and bottom steel"
          % len(want))
    # Shares: the stations' top and bottom steel counted per band of twelve even levels (a value
    # on a level belongs to the band below it, the lowest level to the lowest band).
    lo, hi = min(values), max(values)
    levels = [lo + (hi - lo) * i / 11 for i in range(12)]
    counts = [0] * 12
    for v in values:
        counts[next(i for i in range(1, 12) if v <= levels[i] or i == 11)] += 1
    texts = emf_texts(emf)
    shares = [t for t in texts if t.endswith("%")]
    want_shares = ["%.1f%%" % (100.0 * counts[i] / len(values)) for i in range(11, 0, -1)]
    check(shares == want_shares, "design 23: the legend's shares %s of the %d station values" % (want_shares,
                                                                                                len(values)))


def check_ranges(p, pvxhost, db):
    # Figures 35 and 36 range the foundation beams' forces (check_design_envelopes.py).
    for mode, rows, what in (("23", (0, 1), "top and bottom steel"),):
        rc, out, err = run(pvxhost, db, [mode, "--list"])
        lo, hi = p.beam_range(rows)
        got = [line.split()[1:] for line in out.splitlines() if line.startswith("legend-range ")]
        check(rc == 0 and len(got) == 1 and close(float(got[0][0]), lo) and close(float(got[0][1]), hi),
              "design %s: legend range %.6g to %.6g of the beams' %s" % (mode, lo, hi, what))


def check_outlines(p, pvxhost, db, tmp):
    for mode, words in (("35", "two curves each"), ("36", "two curves each"),
                        ("42", "columns standing on the foundation"), ("56", "columns standing on the foundation")):
        rc, out, err = run(pvxhost, db, [mode, "--out", tmp + "/design%s.bmp" % mode])
        shows = [line for line in out.splitlines() if line.startswith("shows: ")]
        check(rc == 0 and len(shows) == 1 and words in shows[0], "design %s says: %s" % (mode, words))
        if mode == "56":
            check("draws as figure 42" in err, "design 56 notes that it draws as 42")
    # Figure 40 draws no numbers: the host does not offer it, and names the figure that does.
    rc, out, err = run(pvxhost, db, ["40", "--list"])
    check(rc == 2 and "figure 42" in err and not out, "design 40 is refused (exit %d), naming figure 42" % rc)


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    pvxhost, db, tmp = sys.argv[1:]
    p = Project(db)
    check_acr(p, pvxhost, db, tmp)
    check_area_steel(p, pvxhost, db, tmp)
    check_ranges(p, pvxhost, db)
    check_steel(p, pvxhost, db, tmp)
    check_outlines(p, pvxhost, db, tmp)
    for s in range(len(p.storeys)):
        if p.storeys[s]:
            check_acr(Project(db, s), pvxhost, db, tmp, ["--storey", str(s)])
            check_area_steel(Project(db, s), pvxhost, db, tmp, ["--storey", str(s)])
    print("%d checks failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
