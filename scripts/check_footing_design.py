#!/usr/bin/python3
"""Checks the footing design tables and figures 100 (footing moments) and 160 (footing
reinforcement) of a project, reading the project with sqlite3 and the drawings with ezdxf:

  - every stored design value (PDDCOLF) equals its closed form (docs/DATABASE.md) recomputed here
    from the project's reactions: pnet = N / A of the column-base reaction per basic combination,
    Mz = pnet h (b - bc)^2 / 8, My = pnet b (h - bc)^2 / 8, As = M 1e3 / (0.9 fy h0) (mm2), with
    bc the side of the column on the footing and h0 the footing height less 0.05 m; the footing
    group (PCOLFG) holds every footing and the largest area of each direction with its group;
  - each figure is drawn with pvxhost with the most unfavourable entry (load case 0) and with one
    combination; its texts, in drawing order, are the ones computed here: whole numbers ("%.0f",
    the figures' precision), the governing group's number (the largest value; ties the smallest
    key) only for load case 0; figure 160 with load case 0 writes the group's areas in its first
    footing and "ZJn" / "CTn" in each;
  - `--set scale=2` doubles the distances between the footing texts and keeps their heights;
  - `figure --owner ISO_CAP --list` enables exactly the figures 132, 133, 130, 131, 100, 160, 450.

    /usr/bin/python3 scripts/check_footing_design.py PVXHOST PROJECT.pvxdb WORKDIR

Prints one line per check and exits 1 when one fails.
"""
import itertools
import math
import os
import re
import struct
import sys

import ezdxf

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_check_figures import BASIC, Project, decode, double, footings, near, read_map, run  # noqa: E402

COVER = 0.05
COLF_PILECAP = 1
failures = []


def fail(msg):
    failures.append(msg)


def column_side(p, colf):
    """The side of the column member standing at the footing's own point; 0 when none."""
    pont = p.memb[colf][2][0]
    for k, b, h in p.db.execute("SELECT key, b, h FROM COLM"):
        if k in p.memb and p.memb[k][2] and p.memb[k][2][0] == pont:
            return max(b, abs(h))
    return 0.0


def governing(values):
    """(key, value) of the largest value, ties the smallest key; None for an empty map."""
    if not values:
        return None
    return min(values.items(), key=lambda kv: (-kv[1], kv[0]))


def check_closed_forms(p):
    colf = footings(p)
    design = {}
    for k, fy, h0, bc, mzb, myb, aszb, asyb in p.db.execute(
            "SELECT key, fy, h0, bc, mz, my, asz, asy FROM PDDCOLF ORDER BY seq"):
        f = colf[k]
        b, h, _ = f["steps"][0]
        height = sum(s[2] for s in f["steps"])
        if not near(h0, height - COVER):
            fail("footing %d: h0 %.9g, height less cover %.9g" % (k, h0, height - COVER))
        side = column_side(p, k)
        if not near(bc, side):
            fail("footing %d: bc %.9g, column side %.9g" % (k, bc, side))
        stored = [read_map(x, double) for x in (mzb, myb, aszb, asyb)]
        want = [{}, {}, {}, {}]
        for g in p.groups_of(BASIC):
            load = p.load(f["cx"], f["cy"], g)
            if load is None:
                continue
            pnet = load[0] / (b * h)
            mz = pnet * h * (b - side) ** 2 / 8.0
            my = pnet * b * (h - side) ** 2 / 8.0
            for i, v in enumerate((mz, my, mz * 1e3 / (0.9 * fy * h0), my * 1e3 / (0.9 * fy * h0))):
                want[i][g] = v
        for name, s, w in zip(("Mz", "My", "Asz", "Asy"), stored, want):
            if sorted(s) != sorted(w):
                fail("footing %d %s: groups %r, closed form %r" % (k, name, sorted(s), sorted(w)))
            for g in w:
                if g in s and not near(s[g], w[g]):
                    fail("footing %d %s group %d: stored %.9g, closed form %.9g" % (k, name, g, s[g], w[g]))
        design[k] = dict(zip(("mz", "my", "asz", "asy"), stored))
        print("footing %d: %d groups, Asz max %.1f mm2" % (k, len(stored[2]), max(stored[2].values(), default=0)))
    groups = {}
    for k, colfs, zg, yg, asz, asy in p.db.execute("SELECT key, colfs, z_group, y_group, asz, asy FROM PCOLFG"):
        members = list(struct.unpack("<%dI" % (len(colfs) // 4), colfs))
        groups[k] = dict(members=members, zg=zg, yg=yg, asz=asz, asy=asy)
        for d, gk, area in (("asz", zg, asz), ("asy", yg, asy)):
            best = min(((-v, g) for m in members for g, v in design[m][d].items()), default=None)
            if best is None or not near(area, -best[0]) or gk != best[1]:
                fail("group %d %s: stored %.9g of group %d, closed form %r" % (k, d, area, gk, best))
        print("footing group %d: footings %r, Asz %.1f (%d), Asy %.1f (%d)" % (k, members, asz, zg, asy, yg))
    if list(itertools.chain(*(g["members"] for g in groups.values()))) != list(design):
        fail("the footing groups do not hold every designed footing once, in table order")
    return design, groups, colf


def texts(path):
    doc = ezdxf.readfile(path)
    out = []
    for e in doc.modelspace():
        if e.dxftype() != "TEXT":
            continue
        t = decode(e.dxf.text)
        if re.match(r"^(Asz|Asy|Mz|My):|^(ZJ|CT)\d+$", t):
            out.append((t, tuple(e.dxf.insert)[:2], e.dxf.height))
    return out


def expected(p, design, groups, colf, fig, lc):
    keys = ("asz", "asy") if fig == 160 else ("mz", "my")
    names = ("Asz", "Asy") if fig == 160 else ("Mz", "My")
    out = []
    if fig == 160 and lc == 0:
        for gk, g in groups.items():
            out.append("Asz:%.0f(%s)" % (g["asz"], p.label(g["zg"])))
            out.append("Asy:%.0f(%s)" % (g["asy"], p.label(g["yg"])))
            for m in g["members"]:
                out.append(("CT%d" if colf[m]["kind"] == COLF_PILECAP else "ZJ%d") % gk)
        return out
    for k, d in design.items():
        for key, name in zip(keys, names):
            if lc == 0:
                best = governing(d[key])
                if best:
                    out.append("%s:%.0f(%s)" % (name, best[1], p.label(best[0])))
            elif lc in d[key]:
                out.append("%s:%.0f" % (name, d[key][lc]))
    return out


def check_figures(p, host, project, work, design, groups, colf):
    one = min(g for g in p.groups_of(BASIC) if any(g in d["asz"] for d in design.values()))
    for fig, lc in itertools.product((100, 160), (0, one)):
        path = os.path.join(work, "design_%d_%d.dxf" % (fig, lc))
        code, msg = run(host, project, ["figure", str(fig), "--load", str(lc), "--out", path])
        if code != 0:
            fail("figure %d load %d: exit %d %s" % (fig, lc, code, msg.strip()))
            continue
        got = [t[0] for t in texts(path)]
        want = expected(p, design, groups, colf, fig, lc)
        if got != want:
            fail("figure %d load %d: texts %r, expected %r" % (fig, lc, got, want))
        print("figure %d load %d: %d texts as the tables say" % (fig, lc, len(got)))
    # The drawing scale: distances between texts double, heights stay.
    base = os.path.join(work, "scale1.dxf")
    double_ = os.path.join(work, "scale2.dxf")
    run(host, project, ["figure", "160", "--load", str(one), "--out", base])
    code, msg = run(host, project, ["figure", "160", "--load", str(one), "--set", "scale=2", "--out", double_])
    a, b = texts(base), texts(double_)
    if code != 0 or len(a) != len(b) or len(a) < 2:
        fail("--set scale=2: exit %d, %d and %d texts %s" % (code, len(a), len(b), msg.strip()))
        return
    for (ta, pa, ha), (tb, pb, hb) in zip(a, b):
        if ta != tb or not near(ha, hb):
            fail("--set scale=2: text %r height %.9g became %r height %.9g" % (ta, ha, tb, hb))
    for i, j in itertools.combinations(range(len(a)), 2):
        da, db_ = math.dist(a[i][1], a[j][1]), math.dist(b[i][1], b[j][1])
        if not near(db_, 2.0 * da):
            fail("--set scale=2: distance of texts %d and %d %.9g, was %.9g" % (i, j, db_, da))
    print("--set scale=2: %d texts, distances doubled, heights kept" % len(a))


def check_owner(host, project):
    code, msg = run(host, project, ["figure", "--owner", "ISO_CAP", "--list"])
    enabled = set()
    for line in msg.splitlines():
        m = re.match(r"^\s*(\d+) \S+\s+number .* owners \d+ .*\b(enabled|disabled)\b", line)
        if m and m.group(2) == "enabled":
            enabled.add(int(m.group(1)))
    want = {132, 133, 130, 131, 100, 160, 450}
    if code != 0 or enabled != want:
        fail("--owner ISO_CAP: exit %d, enabled %r, expected %r" % (code, sorted(enabled), sorted(want)))
    print("--owner ISO_CAP: enabled %s" % sorted(enabled))


def main(host, project, work):
    os.makedirs(work, exist_ok=True)
    p = Project(project)
    design, groups, colf = check_closed_forms(p)
    if not design or not groups:
        fail("the project has no footing design or no footing group")
    else:
        check_figures(p, host, project, work, design, groups, colf)
    check_owner(host, project)
    for f in failures:
        print("FAILED: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: check_footing_design.py PVXHOST PROJECT.pvxdb WORKDIR")
    sys.exit(main(*sys.argv[1:]))
