#!/usr/bin/python3
"""Checks the node values a plan view of one storey writes (EMF) against the project it was drawn
from, read with sqlite3:

  - the storey's level: the N-th distinct height above the foundation of the level floor members
    (PMEMB types 201, 205, 301, 302, 305 whose nodes lie within 5 mm of one height), the
    foundation the highest node of the members made from foundation beams, footings, rafts and
    piles (MEMB types 201, 401, 402, 403), without such members the lowest support (PRTND);
  - the nodes numbered: those of the storey's height band (above the level below by more than
    5 mm, up to 5 mm above its own; storey 0 everything up to the foundation level), the
    highest of each plan point, with a result row: the floor's nodes, and where no floor lies
    above a member standing in the storey (a truss), that member's top;
  - their values: DXYZ = |(DX, DY, DZ)| of DISP (mode 2, load case LOAD), of MODE (mode 4, LOAD
    the mode number) or of the step of
    DISPHIS at STEP (mode 63: the displacement values at 18 x STEP; 0 for a node without a
    history at a member's node or its elements', which stays at rest), written with
    the decimals of the picture's own extremes;
  - the texts of the picture outside its legend (left of the legend panel's first text) are
    exactly these values, each once, and (modes 2 and 63) the legend's first and last values
    their largest and smallest.

    /usr/bin/python3 scripts/check_storey_numbers.py PROJECT.pvxdb DRAWING.emf MODE STOREY LOAD [STEP]

Prints one line per failed check and exits 1 when one fails.
"""
import math
import re
import sqlite3
import struct
import sys
from collections import Counter

TOL = 0.005


def emf_texts(path):
    """(left, top, text) of every EMR_EXTTEXTOUTW record."""
    b = open(path, "rb").read()
    out, i = [], 0
    while i + 8 <= len(b):
        typ, size = struct.unpack_from("<II", b, i)
        if size == 0:
            break
        if typ == 84:
            left, top = struct.unpack_from("<ii", b, i + 8)
            off = i + 36  # EMRTEXT after bounds, mode and scales
            ref_x, ref_y, nchars, off_string = struct.unpack_from("<iiII", b, off)
            s = b[i + off_string:i + off_string + 2 * nchars].decode("utf-16-le", "replace")
            out.append((ref_x, ref_y, s))
        i += size
    return out


def blob_keys(blob):
    return list(struct.unpack("<%dI" % (len(blob) // 4), blob))


def storey_level(db, n):
    node = {k: (x, y, z) for k, x, y, z in db.execute("select key, x, y, z from PNODE")}
    mtype = dict(db.execute("select key, type from MEMB"))
    base, heights = None, []
    for key, typ, model, nodes in db.execute("select key, type, model_key, nodes from PMEMB"):
        zs = [node[k][2] for k in blob_keys(nodes) if k in node]
        if not zs:
            continue
        if mtype.get(model) in (201, 401, 402, 403):
            base = max(zs) if base is None else max(base, max(zs))
        if typ in (201, 205, 301, 302, 305) and max(zs) - min(zs) <= TOL:
            heights.append(max(zs))
    if base is None:  # no foundation members: the lowest support, else the lowest node
        supported = [node[k][2] for (k,) in db.execute("select key from PRTND") if k in node]
        base = min(supported or [p[2] for p in node.values()])
    levels = []
    for h in sorted(h for h in heights if h > base + TOL):
        if not levels or h > levels[-1] + TOL:
            levels.append(h)
    bounds = [base] + levels
    return node, bounds[n], (bounds[n - 1] + TOL if n > 0 else -math.inf)


def main():
    project, emf, mode, storey, load = sys.argv[1:6]
    step = int(sys.argv[6]) if len(sys.argv) > 6 else 0
    db = sqlite3.connect(project)
    node, level, floor = storey_level(db, int(storey))
    case = int(load) if mode == "4" else db.execute("select key from PSTLD where name = ?", (load,)).fetchone()[0]
    values = {}
    if mode in ("2", "4"):
        table = "DISP" if mode == "2" else "MODE"
        for nid, dx, dy, dz in db.execute("select id & 4294967295, DX, DY, DZ from %s where id >> 32 = ?" % table, (case,)):
            values[nid] = math.sqrt(dx * dx + dy * dy + dz * dz)
    else:
        for nid, nstep, blob in db.execute('select id & 4294967295, nstep, "values" from DISPHIS where id >> 32 = ?', (case,)):
            v = struct.unpack_from("<3d", blob, 8 * 18 * step)
            values[nid] = math.sqrt(sum(c * c for c in v))
    points = {}
    for k, p in node.items():
        if floor < p[2] <= level + TOL:
            cell = (round(p[0] / TOL), round(p[1] / TOL))
            if cell not in points or node[points[cell]][2] < p[2]:
                points[cell] = k
    if mode == "63":  # a member's node the history does not list stays at rest
        elem = {k: blob_keys(b)[:n] for k, n, b in db.execute("select key, nnode, node from PELEM")}
        members = {k for (blob,) in db.execute("select nodes from PMEMB") for k in blob_keys(blob)}
        members |= {k for (blob,) in db.execute("select elems from PMEMB") for e in blob_keys(blob) for k in elem.get(e, [])}
        values = {k: values.get(k, 0.0) for k in node if k in values or k in members}
    expected_keys = [k for k in points.values() if k in values]

    texts = emf_texts(emf)
    numeric = [(x, y, s) for x, y, s in texts if re.fullmatch(r"-?\d+\.\d+", s)]
    legend_x = min((x for x, y, s in texts if not re.fullmatch(r"-?\d+\.\d+", s)), default=1 << 30)
    drawn = [s for x, y, s in numeric if x < legend_x]
    decimals = len(drawn[0].split(".")[1]) if drawn else 3
    expected = Counter("%.*f" % (decimals, values[k]) for k in expected_keys)
    failed = 0
    if Counter(drawn) != expected:
        failed = 1
        print("storey %s at %.3f m: drawn %d texts, expected %d node values" % (storey, level, len(drawn), len(expected_keys)))
        print("  drawn, not expected:", sorted((Counter(drawn) - expected).elements())[:20])
        print("  expected, not drawn:", sorted((expected - Counter(drawn)).elements())[:20])
    else:
        print("storey %s at %.3f m: %d node values, each as the project holds it" % (storey, level, len(expected_keys)))
    # The legend's extremes (its first and last value) are the storey's; a mode shape's legend
    # names the mode's frequency and period instead.
    legend = [s for x, y, s in numeric if x >= legend_x]
    if legend and expected_keys and mode != "4":
        ld = len(legend[0].split(".")[1])
        want = ["%.*f" % (ld, max(values[k] for k in expected_keys)), "%.*f" % (ld, min(values[k] for k in expected_keys))]
        if [legend[0], legend[-1]] != want:
            failed = 1
            print("  legend extremes %s, the storey's %s" % ([legend[0], legend[-1]], want))
        else:
            print("  legend extremes %s and %s, the storey's" % tuple(want))
    return failed


if __name__ == "__main__":
    sys.exit(main())
