#!/usr/bin/python3
"""Checks a project's foundation model against its analysis model, reading the file with sqlite3:

  - every column footing's centre lies under the base node of a column element (type 101);
  - every pile's point lies at the top node of the analysis member of its pile key;
  - every main raft's outline encloses (or passes through) every node of the raft plates (301).

    /usr/bin/python3 scripts/check_sample_foundation.py PROJECT.pvxdb

Prints one line per check and exits 1 when one fails.
"""
import sqlite3
import struct
import sys

TOL = 1e-6


def keys(blob):
    return list(struct.unpack("<%dI" % (len(blob) // 4), blob)) if blob else []


def inside(poly, x, y):
    """On an edge, or inside by the crossing rule."""
    n = len(poly)
    for i in range(n):
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        cross = (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1)
        if abs(cross) <= TOL and min(x1, x2) - TOL <= x <= max(x1, x2) + TOL and min(y1, y2) - TOL <= y <= max(y1, y2) + TOL:
            return True
    c = False
    for i in range(n):
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            c = not c
    return c


def main(path):
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    node = {k: (x, y, z) for k, x, y, z in db.execute("SELECT key, x, y, z FROM PNODE")}
    pont = {k: (x, y) for k, x, y in db.execute("SELECT key, x, y FROM PONT")}
    memb = {k: (t, keys(p)) for k, t, p in db.execute("SELECT key, type, ponts FROM MEMB")}
    failures = []

    bases = set()
    for (blob,) in db.execute("SELECT node FROM PELEM WHERE type = 101"):
        a, b = keys(blob)[:2]
        low = a if node[a][2] <= node[b][2] else b
        bases.add((round(node[low][0], 6), round(node[low][1], 6)))
    footings = list(db.execute("SELECT key, cx, cy FROM COLF"))
    for k, cx, cy in footings:
        if (round(cx, 6), round(cy, 6)) not in bases:
            failures.append("footing %d: centre (%g, %g) is under no column base node" % (k, cx, cy))
    print("footings under column bases: %d checked" % len(footings))

    tops = {}
    for pile_key, blob in db.execute("SELECT pile_key, nodes FROM PMEMB WHERE pile_key != 0"):
        ns = keys(blob)
        top = max(ns, key=lambda n: node[n][2])
        tops[pile_key] = node[top]
    piles = [k for (k,) in db.execute("SELECT key FROM PILE")]
    for k in piles:
        t, ps = memb.get(k, (0, []))
        if k not in tops or not ps:
            failures.append("pile %d: no pile member or no point" % k)
            continue
        px, py = pont[ps[0]]
        if abs(px - tops[k][0]) > TOL or abs(py - tops[k][1]) > TOL:
            failures.append("pile %d: point (%g, %g) is not at its element's top node (%g, %g)" % (k, px, py, tops[k][0], tops[k][1]))
    print("piles at pile element tops: %d checked" % len(piles))

    plate_nodes = set()
    for (blob,) in db.execute("SELECT node FROM PELEM WHERE type = 301"):
        plate_nodes.update(n for n in keys(blob) if n)
    rafts = [k for (k,) in db.execute("SELECT key FROM MTSB WHERE parent = 0")]
    for k in rafts:
        poly = [pont[p] for p in memb[k][1]]
        outside = [n for n in plate_nodes if not inside(poly, node[n][0], node[n][1])]
        if outside:
            failures.append("raft %d: %d raft plate nodes lie outside its outline (node %d)" % (k, len(outside), outside[0]))
    print("raft outlines around %d plate nodes: %d rafts checked" % (len(plate_nodes), len(rafts)))

    for f in failures:
        print("FAILED: " + f)
    return 1 if failures or not footings or not piles or not rafts else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: check_sample_foundation.py PROJECT.pvxdb")
    sys.exit(main(sys.argv[1]))
