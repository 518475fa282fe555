#!/usr/bin/python3
"""Checks the lists the host fills for `pvxhost design` against the project's tables, read here
with sqlite3 (PMEMB, MEMB, PNODE, PLCOM, PSTLD, MBWG, MBCL):

  figures 35, 36: the foundation beams (members of type 201, 205 or 204 whose model_key names a
             foundation beam, MEMB.type 201; of several members modelling one foundation beam the
             first in member order) listed once each with their nine stations' largest and
             smallest moment y (MBWG component 4) or shear z (component 2) over the linear
             combinations (sum of factor x case row), the ends of each beam, the legend range,
             and every label of the picture's metafile (start, middle, end of each curve: 35 both
             curves, 36 the value of larger magnitude; two decimals), a legend without shares
             (the curves fill no bands) and at most one overlapping pair of texts per 50;
  figures 42 (load DL), 56 (WX): every column standing on the foundation (type 101 whose model_key names a MEMB row
             of type 101) listed with the five forces of its lower end (MBCL components 1, 2, 0,
             4, 5 of that end's block for the load) and both ends, and its five labels; the
             legend's caption names the five lines, top to bottom, with their units.

    /usr/bin/python3 scripts/check_design_envelopes.py PVXHOST PROJECT.pvxdb TMPDIR

Prints one line per check and exits 1 when one fails.
"""
import collections
import os
import re
import sqlite3
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_design_figures import close, emf_boxes, emf_texts, f2, run, unpack  # noqa: E402

STATIC, COMBINATION, LINEAR = 1, 9, 0
BEAMS = (201, 205, 204)
MOMENT_Y, SHEAR_Z = 4, 2
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


class Project:
    def __init__(self, path):
        self.db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
        self.nodes = {k: (x, y, z) for k, x, y, z in self.db.execute("SELECT key, x, y, z FROM PNODE")}
        self.members = [(k, t, mk, unpack("I", n)) for k, t, mk, n in
                        self.db.execute("SELECT key, type, model_key, nodes FROM PMEMB ORDER BY seq")]
        self.found = dict(self.db.execute("SELECT key, type FROM MEMB"))
        self.loads = {name: key for key, name in self.db.execute("SELECT key, name FROM PSTLD")}
        self.plcom = {}
        for key, typ, entries in self.db.execute("SELECT key, type, entries FROM PLCOM"):
            terms = []
            for i in range(0, len(entries), 16):
                kind, k, f = struct.unpack_from("<iId", entries, i)
                if k == 0:
                    break
                terms.append((kind, k, f))
            self.plcom[key] = (typ, terms)

    def row(self, table, lc, key):
        r = self.db.execute("SELECT d FROM %s WHERE id = ?" % table, ((lc << 32) | key,)).fetchone()
        return unpack("d", r[0]) if r else None

    def combined(self, table, comb, key):
        """The combination's rows: factor x case row summed (nested combinations resolved)."""
        acc = None
        for kind, k, f in self.plcom[comb][1]:
            vals = self.combined(table, k, key) if kind == COMBINATION else self.row(table, k, key)
            if vals is None:
                return None
            acc = [f * v for v in vals] if acc is None else [a + f * v for a, v in zip(acc, vals)]
        return acc

    def design_combs(self):
        return sorted(k for k, (t, terms) in self.plcom.items() if t == LINEAR and terms)

    def envelope(self, key, comp):
        rows = [r for r in (self.combined("MBWG", c, key) for c in self.design_combs()) if r is not None]
        if not rows:
            return None
        st = [[r[6 * s + comp] for r in rows] for s in range(9)]
        return [max(v) for v in st], [min(v) for v in st]

    def foundation_beams(self):
        out, taken = [], set()
        for k, t, mk, nodes in self.members:
            if t in BEAMS and self.found.get(mk) == 201 and len(nodes) >= 2 and mk not in taken and \
                    self.envelope(k, MOMENT_Y):
                taken.add(mk)
                last = nodes[1] if t == 204 and len(nodes) > 2 else nodes[-1]
                out.append((k, self.nodes[nodes[0]], self.nodes[last]))
        return out

    def foundation_columns(self):
        return [(k, nodes) for k, t, mk, nodes in self.members if t == 101 and self.found.get(mk) == 101]


def label(v):
    # The labels write a value that rounds to zero without its sign.
    t = f2(v)
    return "0.00" if t == "-0.00" else t


LABEL = re.compile(r"^-?\d+\.\d\d$")


def labels_of(texts):
    return collections.Counter(t for t in texts if LABEL.match(t))


def rows_of(stdout, kind):
    return [line.split()[1:] for line in stdout.splitlines() if line.startswith(kind + " ")]


def check_envelopes(p, pvxhost, db, tmp, mode):
    comp = MOMENT_Y if mode == 35 else SHEAR_Z
    emf = os.path.join(tmp, "envelope_%d.emf" % mode)
    code, out, err = run(pvxhost, db, [str(mode), "--load", "0", "--list", "--out", emf])
    check(code == 0, "design %d runs (%s)" % (mode, err.strip()))
    listed = {int(r[0]): [float(v) for v in r[1:]] for r in rows_of(out, "envelope")}
    beams = [(k, a, b) for k, a, b in p.foundation_beams() if p.envelope(k, comp)]
    check(sorted(listed) == sorted(k for k, _, _ in beams),
          "figure %d lists the foundation beams %s" % (mode, sorted(k for k, _, _ in beams)))
    want_labels = collections.Counter()
    hi_all, lo_all = [], []
    for k, a, b in beams:
        hi, lo = p.envelope(k, comp)
        hi_all += hi + lo
        got = listed.get(k, [])
        ok = len(got) == 24 and all(close(g, w) for g, w in zip(got[:18], hi + lo)) and \
            all(close(g, w) for g, w in zip(got[18:], list(a) + list(b)))
        check(ok, "figure %d beam %d: nine largest and smallest values and the ends" % (mode, k))
        for s in (0, 4, 8):
            if mode == 35:
                want_labels.update([label(hi[s]), label(lo[s])])
            else:
                want_labels[label(lo[s] if abs(lo[s]) > abs(hi[s]) else hi[s])] += 1
    got_labels = labels_of(emf_texts(emf))
    check(got_labels == want_labels, "figure %d: the %d labels of the metafile (%d)" %
          (mode, sum(want_labels.values()), sum(got_labels.values())))
    rng = [float(v) for v in rows_of(out, "legend-range")[0]] if rows_of(out, "legend-range") else []
    check(bool(beams) and len(rng) == 2 and close(rng[0], min(hi_all)) and close(rng[1], max(hi_all)),
          "figure %d legend range %s" % (mode, rng))
    texts = emf_texts(emf)
    check(not [t for t in texts if t.endswith("%")], "figure %d: the legend gives no shares" % mode)
    overlap = overlapping_pairs(emf)
    check(overlap * 50 <= len(texts), "figure %d: %d overlapping pairs among %d texts" % (mode, overlap, len(texts)))


def check_base_forces(p, pvxhost, db, tmp, mode, name):
    lc = p.loads[name]
    emf = os.path.join(tmp, "base_%d.emf" % mode)
    code, out, err = run(pvxhost, db, [str(mode), "--load", name, "--list", "--out", emf])
    check(code == 0, "design %d --load %s runs (%s)" % (mode, name, err.strip()))
    listed = {int(r[0]): [float(v) for v in r[1:]] for r in rows_of(out, "base")}
    want_labels = collections.Counter()
    columns = p.foundation_columns()
    check(sorted(listed) == sorted(k for k, _ in columns), "figure %d lists the %d foundation columns" % (mode, len(columns)))
    for k, nodes in columns:
        d = p.row("MBCL", lc, k)
        first, last = p.nodes[nodes[0]], p.nodes[nodes[-1]]
        lower = 0 if first[2] <= last[2] else 1
        block = d[6 * lower:6 * lower + 6]
        want = [block[c] for c in (1, 2, 0, 4, 5)]
        ends = list(first if lower == 0 else last) + list(last if lower == 0 else first)
        got = listed.get(k, [])
        ok = len(got) == 11 and all(close(g, w) for g, w in zip(got, want + ends))
        check(ok, "figure %d column %d: five base forces of load %s and its base and top" % (mode, k, name))
        want_labels.update(label(v) for v in want)
    texts = emf_texts(emf)
    got_labels = labels_of(texts)
    check(got_labels == want_labels, "figure %d: the %d labels of the metafile (%d)" %
          (mode, sum(want_labels.values()), sum(got_labels.values())))
    caption = ["FY  kN", "FZ  kN", "N  kN", "MY  kN·m", "MZ  kN·m"]
    at = [i for i, t in enumerate(texts) if t == caption[0]]
    check(len(at) == 1 and texts[at[0]:at[0] + 5] == caption, "figure %d: the legend's caption %s" % (mode, caption))


def overlapping_pairs(path):
    """Pairs of texts whose bounds share more than a quarter of the smaller one's area."""
    boxes = [b for _, b in emf_boxes(path) if b[2] > b[0] and b[3] > b[1]]
    n = 0
    for i, a in enumerate(boxes):
        for b in boxes[i + 1:]:
            w = min(a[2], b[2]) - max(a[0], b[0])
            h = min(a[3], b[3]) - max(a[1], b[1])
            if w > 0 and h > 0 and w * h > 0.25 * min((a[2] - a[0]) * (a[3] - a[1]), (b[2] - b[0]) * (b[3] - b[1])):
                n += 1
    return n


def main():
    pvxhost, db, tmp = sys.argv[1:4]
    p = Project(db)
    check_envelopes(p, pvxhost, db, tmp, 35)
    check_envelopes(p, pvxhost, db, tmp, 36)
    # The sample's columns: axial force under DL, shear y and moment z under WX.
    check_base_forces(p, pvxhost, db, tmp, 42, "DL")
    check_base_forces(p, pvxhost, db, tmp, 56, "WX")
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
