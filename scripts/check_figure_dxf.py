#!/usr/bin/python3
"""Checks a figure DXF of base maps against the project it was drawn from, reading the project
with sqlite3 and the drawing with ezdxf:

  - ezdxf's audit finds no error and makes no fix;
  - the layers are the twelve base layers (L10, L11, L20 ... L27, L50, L101; the captions are not
    plain names, so release 12 gets "L" + id) besides "0", the axis layer dash-dot;
  - the entities on each layer are the count derived from the rows of its table for the base
    maps drawn (none for a map not drawn): axes one LINE (or ARC) each, columns a CIRCLE (h < 0)
    or POLYLINE, walls, beams, rafts and mesh cells one POLYLINE each, footings one POLYLINE (or
    CIRCLE) per step and, for a joined footing of two or more rectangular steps, four LINEs,
    piles one CIRCLE, pile data three TEXTs per pile, slab panels (PDDSLAB) one POLYLINE and two
    arrows with their letters;
  - each pile's data reads "D:<d>\\nL:<length>\\nRa:<capacity>" (two decimals) from its PILE and
    PISP rows, at the bottom left of the square of side d about the pile's point.

    /usr/bin/python3 scripts/check_figure_dxf.py PROJECT.pvxdb DRAWING.dxf 31,32,...

Prints one line per check and exits 1 when one fails.
"""
import collections
import sqlite3
import struct
import sys

import ezdxf

BASE_LAYERS = [10, 11, 20, 21, 22, 23, 24, 25, 26, 27, 50, 101]
# Base map type -> its layer.
MAP_LAYER = {31: 26, 32: 10, 33: 11, 41: 22, 42: 20, 43: 21, 44: 23, 45: 24, 46: 27, 47: 25}


def keys(blob):
    return list(struct.unpack("<%dI" % (len(blob) // 4), blob)) if blob else []


def expected_entities(db, types):
    """{(layer name, DXF type): count} for the base maps drawn."""
    want = collections.Counter()
    if 31 in types:
        for (chord,) in db.execute("SELECT chord FROM AXIS"):
            want[("L26", "ARC" if abs(chord) > 1e-9 else "LINE")] += 1
    if 32 in types:
        for (h,) in db.execute("SELECT h FROM COLM"):
            want[("L10", "CIRCLE" if h < 0 else "POLYLINE")] += 1
    if 33 in types:
        want[("L11", "POLYLINE")] += db.execute("SELECT count(*) FROM WALL").fetchone()[0]
    if 41 in types:
        for circle, join, steps in db.execute("SELECT circle, join_flag, steps FROM COLF"):
            want[("L22", "CIRCLE" if circle else "POLYLINE")] += steps
            if join and steps >= 2 and not circle:
                want[("L22", "LINE")] += 4  # one per corner of the rectangular steps
    if 42 in types:
        want[("L20", "POLYLINE")] += db.execute("SELECT count(*) FROM BEAM").fetchone()[0]
    if 43 in types:
        want[("L21", "POLYLINE")] += db.execute("SELECT count(*) FROM MTSB").fetchone()[0]
    if 44 in types:
        want[("L23", "CIRCLE")] += db.execute("SELECT count(*) FROM PILE").fetchone()[0]
    if 45 in types:
        want[("L24", "TEXT")] += 3 * db.execute("SELECT count(*) FROM PILE").fetchone()[0]
    if 46 in types:
        want[("L27", "POLYLINE")] += db.execute("SELECT count(*) FROM SRCT").fetchone()[0]
    if 47 in types:
        # Each slab panel: its outline, and per direction an arrow (a LINE and a SOLID head) and
        # its letter.
        n = db.execute("SELECT count(*) FROM PDDSLAB").fetchone()[0]
        want[("L25", "POLYLINE")] += n
        for kind in ("LINE", "SOLID", "TEXT"):
            want[("L50", kind)] += 2 * n
    return {k: v for k, v in want.items() if v}


def pile_texts(db):
    """[(text, x, y)]: the data text of each pile and the bottom left of its square."""
    pont = {k: (x, y) for k, x, y in db.execute("SELECT key, x, y FROM PONT")}
    pisp = {k: d for k, d in db.execute("SELECT key, d FROM PISP")}
    memb = {k: (fosp, keys(p)) for k, fosp, p in db.execute("SELECT key, fosp, ponts FROM MEMB")}
    out = []
    for key, length, capacity in db.execute("SELECT key, length, capacity FROM PILE"):
        fosp, ponts = memb[key]
        d = pisp[fosp]
        x, y = pont[ponts[0]]
        out.append(("D:%.2f\nL:%.2f\nRa:%.2f" % (d, length, capacity), x - d / 2, y - d / 2))
    return out


def main(project, drawing, types):
    types = {int(t) for t in types.split(",")}
    failures = []
    db = sqlite3.connect("file:%s?mode=ro" % project, uri=True)
    doc = ezdxf.readfile(drawing)
    audit = doc.audit()
    if audit.errors or audit.fixes:
        failures.append("audit: %d errors, %d fixes" % (len(audit.errors), len(audit.fixes)))
    print("audit: %d errors, %d fixes" % (len(audit.errors), len(audit.fixes)))

    names = {l.dxf.name for l in doc.layers} - {"0", "Defpoints"}
    base = {"L%d" % i for i in BASE_LAYERS}
    if names != base:
        failures.append("layers %s, expected %s" % (sorted(names), sorted(base)))
    if doc.layers.get("L26").dxf.linetype != "DASHDOT":
        failures.append("the axis layer is not dash-dot")
    print("layers: %d base layers" % len(names & base))

    got = collections.Counter((e.dxf.layer, e.dxftype()) for e in doc.modelspace())
    want = expected_entities(db, types)
    for k in sorted(set(got) | set(want)):
        if got.get(k, 0) != want.get(k, 0):
            failures.append("layer %s: %d %s, expected %d" % (k[0], got.get(k, 0), k[1], want.get(k, 0)))
    print("entities: %d on %d layer/type pairs checked" % (sum(got.values()), len(set(got) | set(want))))

    if 45 in types:
        texts = [e for e in doc.modelspace() if e.dxftype() == "TEXT" and e.dxf.layer == "L24"]
        blocks = ["\n".join(t.dxf.text for t in texts[i:i + 3]) for i in range(0, len(texts), 3)]
        lows = [(texts[i + 2].dxf.insert[0], texts[i + 2].dxf.insert[1]) for i in range(0, len(texts), 3)]
        for text, x, y in pile_texts(db):
            hits = [b for b, (bx, by) in zip(blocks, lows) if abs(bx - x) < 1e-6 and abs(by - y) < 1e-6]
            if hits != [text]:
                failures.append("pile data at (%g, %g): %r, expected %r" % (x, y, hits, text))
        print("pile data: %d texts checked" % len(blocks))

    for f in failures:
        print("FAILED: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
