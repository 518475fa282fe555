#!/usr/bin/python3
"""Checks the per-element slab reinforcement (display mode 17) and crack width (mode 18) that
`pvxhost render` writes against the raft element design table PDDELEM, read here with sqlite3:

  - every crack width of PDDELEM against its closed form (docs/DATABASE.md): As' = max(As,
    0.0015 * 1000 h0), s = |M| 1e6 / (0.87 h0 As'), w = 1.9 s / Es (1.9 c + 0.08 d 1000 h0 / As'),
    Es = 2e5, c = 50, d = 16 mm, h0 = 1000 t - 50 (t the plate's PSECT thickness), 0 for M = 0;
  - for a design combination and for the design envelope (value by value the largest over the
    design combinations), every number of the metafile (legend off, numbers on): mode 17 the
    larger of the x bottom and x top areas, mode 18 the largest of the four crack widths, one per
    raft plate, as a multiset equal to the numbers made from the rows.

    /usr/bin/python3 scripts/check_slab_element_design.py PVXHOST PROJECT.pvxdb TMPDIR

Prints one line per check and exits 1 when one fails.
"""
import collections
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_design_figures import emf_texts  # noqa: E402
from check_element_figures import COVER, Project, reals, split_id  # noqa: E402

ES, BAR, RHO_MIN = 2.0e5, 16.0, 0.0015
NUMBER = re.compile(r"^-?\d+(\.\d+)?$")
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


def crack(m, a, h0):
    if m <= 0.0 or h0 <= 0.0:
        return 0.0
    a = max(a, RHO_MIN * 1000.0 * h0)
    sigma = m * 1e6 / (0.87 * h0 * a)
    return 1.9 * sigma / ES * (1.9 * COVER + 0.08 * BAR * 1000.0 * h0 / a)


def h0_of(p, elem):
    t = p.sect_t[p.elems[elem][3]]
    t = reals(t)[0] if isinstance(t, bytes) else t
    return t * 1000.0 - COVER


def text(v, decimals):
    t = "%.*f" % (decimals, v)
    return t[1:] if re.match(r"^-0\.?0*$", t) else t


def render(pvxhost, db, tmp, mode, unit, load, decimals):
    out = os.path.join(tmp, "slab_elem_%d_%s.emf" % (mode, load.replace("+", "_").replace(".", "_")))
    args = [pvxhost, "--quiet", "--db", db, "export", "--mode", str(mode), "--load", load,
            "--option", "%s=1" % unit, "--option", "numbers=1", "--option", "legend=0",
            "--option", "decimals=%d" % decimals, "--view", "plan", "--out", out]
    r = subprocess.run(args, capture_output=True, text=True)
    return r.returncode, r.stderr, out


def main():
    pvxhost, path, tmp = sys.argv[1:4]
    p = Project(path)
    rows = {}
    for i, m, a, w in p.db.execute("SELECT id, moments, areas, cracks FROM PDDELEM"):
        rows[split_id(i)] = (reals(m), reals(a), reals(w))
    check(len(rows) > 0, "PDDELEM has %d rows" % len(rows))
    bad = []
    for (comb, e), (m, a, w) in rows.items():
        h0 = h0_of(p, e)
        for k in range(4):
            want = crack(m[k], a[k], h0)
            if len(w) != len(m) or abs(w[k] - want) > 1e-9 * max(1.0, want):
                bad.append("%d/%d value %d: %r, expected %g" % (comb, e, k, w[k] if k < len(w) else None, want))
    check(not bad, "crack widths of %d rows against the closed form %s" % (len(rows), "; ".join(bad[:5])))

    names = dict(p.db.execute("SELECT key, name FROM PLCOM"))
    combs = sorted({c for c, _ in rows})
    design = [c for c in p.design if c in combs]

    def values(elem, comb, item):
        """Value by value the row of comb, or with comb None the largest over the design combinations."""
        got = None
        for c in ([comb] if comb is not None else design):
            r = rows.get((c, elem))
            if r is None:
                continue
            v = r[item]
            got = list(v) if got is None else [x if abs(x) >= abs(y) else y for x, y in zip(got, v)]
        return got

    elems = sorted({e for _, e in rows})
    cases = [(names[design[0]], design[0]), ("ENV", None)]
    for load, comb in cases:
        for mode, unit, item, decimals, pick in ((17, "rebar-unit", 1, 1, lambda v: max(v[0], v[1])),
                                                 (18, "crack-unit", 2, 3, lambda v: max(v[:4]))):
            want = collections.Counter()
            for e in elems:
                v = values(e, comb, item)
                if v is not None:
                    want[text(pick(v), decimals)] += 1
            code, err, emf = render(pvxhost, path, tmp, mode, unit, load, decimals)
            check(code == 0, "mode %d %s renders (%s)" % (mode, load, err.strip()[:200]))
            if code != 0:
                continue
            got = collections.Counter(t for t in emf_texts(emf) if NUMBER.match(t))
            check(sum(want.values()) == len(elems), "mode %d %s: every plate has a value" % (mode, load))
            missing, extra = want - got, got - want
            check(not missing and not extra,
                  "mode %d %s: %d numbers equal the table's (missing %s, extra %s)" %
                  (mode, load, sum(got.values()), list(missing.items())[:5], list(extra.items())[:5]))
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
