// Records of the post model: nodes, elements, members, sections, materials, walls, slabs,
// load cases and combinations, cutting lines and slab strips, and the super-element tables.
//
// Each record is a value type copied whole; `Initialize()` clears it to the state of a record
// that was never read (keys 0, counts 0, numbers 0). Its `Fields` list is the one description
// of its stored columns (see DBField.h). Keys are host keys, 0 = none; lengths in metres;
// angles in degrees.
#pragma once

#include <cctype>

#include "host/db/DBField.h"
#include "platform/afx/afx.h"

#include <cmath>
#include <string>

// Element families (`T_PELEM_D::kind`).
enum {
    PELEM_KIND_TRUSS = 1,
    PELEM_KIND_FRAME = 2,   // beams, columns and other line members
    PELEM_KIND_PLATE = 3,   // plates and slabs
    PELEM_KIND_SOLID = 4,
    PELEM_KIND_WALL = 5,
    PELEM_KIND_SUPER = 9,   // a super element standing for a group of model elements
};

#define PELEM_MAX_NODE 8

// A node of the analysed model.
struct T_PNODE_D {
    double x, y, z;  // m

    void Initialize() { x = y = z = 0.0; }
    template <class V> void Fields(V& v) {
        v.Coord("x", x);
        v.Coord("y", y);
        v.Coord("z", z);
    }
};

// An element of the analysed model.
struct T_PELEM_D {
    int kind;                    // element family, PELEM_KIND_*
    int type;                    // element type code: 101 column, 201/205 beam, 204, 206 truss, 209-212 wall, 301/302/305 plate ...
    int bActive;                 // non-zero when the element takes part in the analysis
    UINT matl;                   // material key
    UINT sect;                   // section (or thickness) key
    double beta;                 // rotation of the local axes about the element axis, degrees
    int nNode;                   // used entries of node[]
    UINT node[PELEM_MAX_NODE];   // node keys in element order
    int nSEResult;               // super elements: 1 results per model element, 2 results per node, 0 none

    void Initialize() { memset(this, 0, sizeof(*this)); }
    // A plate or slab element (plate family, type 301, 302 or 305).
    BOOL IsSlabElement() const { return kind == PELEM_KIND_PLATE && (type == 301 || type == 302 || type == 305); }
    template <class V> void Fields(V& v) {
        v.Int("kind", kind);
        v.Int("type", type);
        v.Int("active", bActive);
        v.Key("matl", matl);
        v.Key("sect", sect);
        v.Real("beta", beta);
        v.Int("nnode", nNode);
        v.Keys("node", node, PELEM_MAX_NODE);
        v.Int("se_result", nSEResult);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "nnode";
        if (nNode < 0 || nNode > PELEM_MAX_NODE)
            return std::to_string(nNode) + " used node entries; an element has 0 to " + std::to_string(PELEM_MAX_NODE);
        // An entry past the used ones would be a node the element is read without.
        for (int i = nNode; i < PELEM_MAX_NODE; ++i)
            if (node[i]) {
                *pszColumn = "node";
                return "entry " + std::to_string(i + 1) + " names node " + std::to_string(node[i]) + ", past the " +
                       std::to_string(nNode) + " used entries (nnode)";
            }
        return {};
    }
};

// A member of the analysed model: a chain of elements between two end nodes (a beam, column,
// wall or slab as the user modelled it).
struct T_PMEMB_D {
    int type;                      // member type code, as the element codes (202 wall, 301 raft ...)
    int subKind;                   // beam sub-kind 0..3
    UINT modelKey;                 // key of the modelling member it comes from, 0 = none
    UINT pileKey;                  // model pile key of a pile element member, 0 = none
    UINT node3;                    // first intermediate station node (column block 2), 0 = none
    UINT node4;                    // second intermediate station node (column block 3), 0 = none
    double length;                 // m
    double offsetZ;                // vertical offset of the drawn shape, m
    CArray<UINT, UINT> aNode;      // node keys from the i-end to the j-end
    CArray<UINT, UINT> aElem;      // element keys in member order

    T_PMEMB_D() { Initialize(); }
    void Initialize() {
        type = subKind = 0;
        modelKey = pileKey = node3 = node4 = 0;
        length = offsetZ = 0.0;
        aNode.RemoveAll();
        aElem.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Int("subkind", subKind);
        v.Key("model_key", modelKey);
        v.Key("pile_key", pileKey);
        v.Key("node3", node3);
        v.Key("node4", node4);
        v.Real("length", length);
        v.Coord("offset_z", offsetZ);
        v.KeyList("nodes", aNode);
        v.KeyList("elems", aElem);
    }
};

// The ends of a frame member, keyed by the member key: the member's type words, its length and
// the rigid end zones (end offsets) of end i and end j for bending in the local x-y plane
// (direction 2) and the local x-z plane (direction 3). The flexible span of a direction is
// length - ri - rj. A member without a record has no rigid zones.
struct T_CFMO_D {
    int type;         // member type code, as the member record
    int subKind;      // member sub-kind, as the member record
    double length;    // m
    double ri2, rj2;  // end offsets for direction 2, m
    double ri3, rj3;  // end offsets for direction 3, m

    void Initialize() {
        type = subKind = 0;
        length = ri2 = rj2 = ri3 = rj3 = 0.0;
    }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Int("subkind", subKind);
        v.Real("length", length);
        v.Real("ri2", ri2);
        v.Real("rj2", rj2);
        v.Real("ri3", ri3);
        v.Real("rj3", rj3);
    }
};

// One stiffness set of a section: 13 values, 1-based in the host's description: 1 area,
// 2 shear area 2, 3 shear area 3, 4 torsion constant, 5 I3, 6 I2, the rest unused here.
struct T_PSECT_STIFFNESS {
    double d[13];
};

// A section: its shape for drawing and three stiffness sets.
struct T_PSECT_D {
    int type;                       // 1 rectangle, 3 circle, 5 tapered, 8 pipe ... (sets used by type)
    char name[32];                  // UTF-8
    double dim[4];                  // shape: rectangle b, h; circle diameter in dim[0]; m
    T_PSECT_STIFFNESS stiff[3];     // stiffness sets 1, 2, 3

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Text("name", name, sizeof(name));
        v.Reals("dim", dim, 4);
        v.Reals("stiff", &stiff[0].d[0], 39);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "dim";
        return pvxdb::CheckSizes(dim, 4);
    }
};

// A material.
struct T_PMATL_D {
    char name[32];  // UTF-8
    double E;       // elastic modulus, kN/m2
    double nu;      // Poisson's ratio
    double gamma;   // unit weight, kN/m3

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Text("name", name, sizeof(name));
        v.Real("E", E);
        v.Real("nu", nu);
        v.Real("gamma", gamma);
    }
};

// A wall panel, keyed by its member key.
struct T_PWALL_D {
    double x, y;            // plan anchor, m
    double dx, dy;          // plan direction (unit vector)
    int type;               // 209 wall column, 210 wall beam
    UINT resultNo;          // key of its force results
    double x1, y1, z1;      // first corner P1, m
    double x2, y2, z2;      // second corner P2, m

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Coord("x", x);
        v.Coord("y", y);
        v.Real("dx", dx);
        v.Real("dy", dy);
        v.Int("type", type);
        v.Key("result_no", resultNo);
        v.Coord("x1", x1);
        v.Coord("y1", y1);
        v.Coord("z1", z1);
        v.Coord("x2", x2);
        v.Coord("y2", y2);
        v.Coord("z2", z2);
    }
};

// A slab, keyed by its member key.
struct T_PSLAB_D {
    int resultType;               // slab result type
    CArray<UINT, UINT> aNode;     // outline node keys

    T_PSLAB_D() { Initialize(); }
    void Initialize() { resultType = 0; aNode.RemoveAll(); }
    template <class V> void Fields(V& v) {
        v.Int("result_type", resultType);
        v.KeyList("nodes", aNode);
    }
};

// Load case kinds (`T_PSTLD_D::type`, and the kind of a combination entry).
enum {
    PLOAD_STATIC = 1,
    PLOAD_DYNAMIC = 2,       // response spectrum
    PLOAD_TIMEHISTORY = 3,
    PLOAD_SETTLEMENT = 4,
    PLOAD_COMBINATION = 9,   // a combination entry naming another combination
};

// A load case.
struct T_PSTLD_D {
    int type;        // PLOAD_STATIC, PLOAD_DYNAMIC, PLOAD_TIMEHISTORY, PLOAD_SETTLEMENT
    char name[64];   // UTF-8

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Text("name", name, sizeof(name));
    }
    // A case of one of the four kinds: the lists and the result pages know no other.
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "type";
        if (type < PLOAD_STATIC || type > PLOAD_SETTLEMENT)
            return "load case type " + std::to_string(type) + " is none of 1 (static), 2 (response spectrum), "
                   "3 (time history), 4 (settlement)";
        return {};
    }
};

// One term of a load combination.
struct T_PLCOM_ENTRY {
    int kind;       // PLOAD_STATIC, PLOAD_DYNAMIC, PLOAD_TIMEHISTORY, PLOAD_SETTLEMENT or PLOAD_COMBINATION
    UINT key;       // load case or combination key; 0 ends the list
    double factor;
};

#define PLCOM_MAX_ENTRY 64

// Combination kinds (`T_PLCOM_D::type`).
enum {
    PLCOM_LINEAR = 0,     // sum of factor x result
    PLCOM_ENVELOPE = 1,   // value by value maximum and minimum over the entries
};

// A load combination, and the load selection record that `CPostCtrl::MakeLoadComb` builds
// for any load (a single case is a combination of one entry).
struct T_PLCOM_D {
    int type;                                // PLCOM_LINEAR or PLCOM_ENVELOPE
    char name[64];                           // UTF-8
    T_PLCOM_ENTRY entry[PLCOM_MAX_ENTRY];    // terms, ended by the first key 0

    void Initialize() { memset(this, 0, sizeof(*this)); }
    int GetEntryCount() const {
        int n = 0;
        while (n < PLCOM_MAX_ENTRY && entry[n].key != 0) ++n;
        return n;
    }
    // Appends a term; 0 when the record is full or the key is 0.
    int AddEntry(int kind, UINT key, double factor) {
        int n = GetEntryCount();
        if (n >= PLCOM_MAX_ENTRY || key == 0) return 0;
        entry[n].kind = kind;
        entry[n].key = key;
        entry[n].factor = factor;
        return 1;
    }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Text("name", name, sizeof(name));
        v.Bytes("entries", entry, sizeof(entry));
    }
    // Every factor of the terms is a finite number (it multiplies results).
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "entries";
        for (int i = 0; i < GetEntryCount(); ++i) {
            if (!std::isfinite(entry[i].factor))
                return "the factor of term " + std::to_string(i + 1) + " is not a finite number";
            const int kind = entry[i].kind;
            if ((kind < PLOAD_STATIC || kind > PLOAD_SETTLEMENT) && kind != PLOAD_COMBINATION)
                return "term " + std::to_string(i + 1) + " is of kind " + std::to_string(kind) +
                       ", none of 1 to 4 (a load case) or 9 (a combination)";
        }
        return {};
    }
};

// A node's user coordinate system: its first and second direction (not stored in the project).
struct T_NUCS_D {
    double dir1[3];  // first direction, the user x axis
    double dir2[3];  // second direction, in the user x-y plane

    void Initialize() { memset(this, 0, sizeof(*this)); }
};

// Kinds of line in the cutting-line table (`T_CTLN_D::kind`).
enum {
    CTLN_KIND_CUTLINE = 0,  // a cutting line across plates: result diagrams are drawn along it
    CTLN_KIND_STRIP = 1,    // a slab design strip: design forces along it, over its width
};

// A straight line placed on the model by the user, keyed by its own key: a cutting line or a
// slab strip. Names identify the lines of one kind to the user and are unique within a kind.
struct T_CTLN_D {
    int kind;               // CTLN_KIND_CUTLINE or CTLN_KIND_STRIP
    char name[64];          // UTF-8
    double width;           // strips: design width, m; cutting lines: 0
    double x1, y1, z1;      // first point, m (strips: plan coordinates, z 0)
    double x2, y2, z2;      // second point, m

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("kind", kind);
        v.Text("name", name, sizeof(name));
        v.Real("width", width);
        v.Coord("x1", x1);
        v.Coord("y1", y1);
        v.Coord("z1", z1);
        v.Coord("x2", x2);
        v.Coord("y2", y2);
        v.Coord("z2", z2);
    }
    // A kind the program knows and a width that is not negative.
    std::string Validate(const char** pszColumn) const {
        if (kind != CTLN_KIND_CUTLINE && kind != CTLN_KIND_STRIP) {
            *pszColumn = "kind";
            return "kind " + std::to_string(kind) + " is neither 0 (cutting line) nor 1 (slab strip)";
        }
        if (width < 0.0) {
            *pszColumn = "width";
            return "the width is negative";
        }
        return {};
    }
};

// The settings a result page kept when its bar closed, keyed by the page's result id (7101 ...):
// the page's settings archive (its load, its six display boxes, its title ...) as the class
// library's archive writes it, held as hexadecimal text (two digits a byte), and the page's
// title for whoever reads the file.
struct T_PAGESET_D {
    CString title;    // the page's settings title ("Reaction" ...)
    CString archive;  // the archive bytes, hexadecimal, upper case

    void Initialize() {
        title.Empty();
        archive.Empty();
    }
    template <class V> void Fields(V& v) {
        v.Str("title", title);
        v.Str("archive", archive);
    }
    // The longest archive a page writes: 16 words and two texts of at most 255 bytes, each with
    // its length (3 bytes from 255 on). A page writes back what it read at the same length.
    static constexpr size_t kMaxArchiveBytes = 16 * 4 + 2 * (3 + 255);
    // Hexadecimal text of an even length, no longer than a page writes.
    std::string Validate(const char** pszColumn) const {
        const size_t digits = static_cast<size_t>(archive.GetLength());
        if (digits > 2 * kMaxArchiveBytes) {
            *pszColumn = "archive";
            return "the page's settings archive is " + std::to_string(digits) + " hexadecimal digits, longer than the " +
                   std::to_string(2 * kMaxArchiveBytes) + " (" + std::to_string(kMaxArchiveBytes) + " bytes) a page writes";
        }
        const char* s = archive.GetString();
        size_t n = 0;
        for (; s[n]; ++n)
            if (!std::isxdigit(static_cast<unsigned char>(s[n]))) break;
        if (s[n] || n % 2) {
            *pszColumn = "archive";
            return "the archive is not hexadecimal text of whole bytes";
        }
        return {};
    }
};

// A rib beam of a slab, keyed by its rib number: the beam the host's slab design takes as a rib
// with the slab widths that work with it. The widths lie on either side of its plan line: the
// positive side is the line's direction turned 90 degrees counter-clockwise in plan.
struct T_RIBB_D {
    UINT memb;              // the beam member, 0 when none
    double widthPos;        // slab width on the positive side, m
    double widthNeg;        // slab width on the negative side, m
    double width;           // effective flange width, m
    double x1, y1, z1;      // start point, m
    double x2, y2, z2;      // end point, m
    double arc;             // arc height of a rib curved in plan, m; 0 straight

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Key("memb", memb);
        v.Real("width_pos", widthPos);
        v.Real("width_neg", widthNeg);
        v.Real("width", width);
        v.Coord("x1", x1);
        v.Coord("y1", y1);
        v.Coord("z1", z1);
        v.Coord("x2", x2);
        v.Coord("y2", y2);
        v.Coord("z2", z2);
        v.Real("arc", arc);
    }
    // Widths that are not negative.
    std::string Validate(const char** pszColumn) const {
        const struct {
            const char* name;
            double v;
        } widths[3] = {{"width_pos", widthPos}, {"width_neg", widthNeg}, {"width", width}};
        for (const auto& w : widths)
            if (w.v < 0.0) {
                *pszColumn = w.name;
                return "the width is negative";
            }
        return {};
    }
};

// Super-element map record, keyed by model element key: the super element a model element
// belongs to and six key maps.
//   map1 super node key -> model node key        (nodes that are model nodes)
//   map2 model node key -> super node key        (model nodes at the super element's ends)
//   map3 model element key -> super element key  (plane elements)
//   map4 model node key -> super node key        (the other model nodes it covers)
//   map5 model element key -> super element key  (line elements)
//   map6 super element key -> model element key
struct T_PSEMAP_D {
    UINT seKey;                                  // super-element key
    CMap<UINT, UINT, UINT, UINT> map[6];         // map[0] is map1 above

    T_PSEMAP_D() { seKey = 0; }
    void Initialize() {
        seKey = 0;
        for (auto& m : map) m.RemoveAll();
    }
    // Model element to super-element element key (map5, then map3); 0 when unmapped.
    UINT GetSuperPElemK(UINT modelElem) const {
        UINT k = 0;
        if (map[4].Lookup(modelElem, k) || map[2].Lookup(modelElem, k)) return k;
        return 0;
    }
    // Model node to super node key (map2, then map4); 0 when unmapped.
    UINT GetSuperPNodeK(UINT modelNode) const {
        UINT k = 0;
        if (map[1].Lookup(modelNode, k) || map[3].Lookup(modelNode, k)) return k;
        return 0;
    }
    // Super node to model node key (map1); 0 when the super node is not a model node.
    UINT GetModelPNodeK(UINT superNode) const {
        UINT k = 0;
        return map[0].Lookup(superNode, k) ? k : 0;
    }
    template <class V> void Fields(V& v) {
        v.Key("se_key", seKey);
        v.KeyMap("map1", map[0]);
        v.KeyMap("map2", map[1]);
        v.KeyMap("map3", map[2]);
        v.KeyMap("map4", map[3]);
        v.KeyMap("map5", map[4]);
        v.KeyMap("map6", map[5]);
    }
};

// Super-element record, keyed by super-element key.
struct T_PSELEM_D {
    CArray<UINT, UINT> aINode;                // i-end super node keys
    CArray<UINT, UINT> aJNode;                // j-end super node keys
    CMap<UINT, UINT, UINT, UINT> mapModelNode; // keys: super nodes that are model nodes (value: model node)

    void Initialize() {
        aINode.RemoveAll();
        aJNode.RemoveAll();
        mapModelNode.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.KeyList("inodes", aINode);
        v.KeyList("jnodes", aJNode);
        v.KeyMap("model_nodes", mapModelNode);
    }
};

// Redistribution offset of a super element's inner nodes, keyed by model element key.
struct T_PRDSTSE_D {
    double dx, dy, dz;  // m, added to the stored inner node coordinates

    void Initialize() { dx = dy = dz = 0.0; }
    template <class V> void Fields(V& v) {
        v.Coord("dx", dx);
        v.Coord("dy", dy);
        v.Coord("dz", dz);
    }
};

// A super node (inner or boundary) of one super element; its table is read by the pair
// (super-element key, super node key).
struct T_PNODESE_D {
    UINT seKey;
    UINT nodeKey;
    T_PNODE_D node;

    void Initialize() { seKey = nodeKey = 0; node.Initialize(); }
    template <class V> void Fields(V& v) {
        v.Key("se_key", seKey);
        v.Key("node_key", nodeKey);
        node.Fields(v);
    }
};

// An element of a super element's own mesh; read by the pair (super-element key, element key).
struct T_PELEMSE_D {
    UINT seKey;
    UINT elemKey;
    T_PELEM_D elem;

    void Initialize() { seKey = elemKey = 0; elem.Initialize(); }
    template <class V> void Fields(V& v) {
        v.Key("se_key", seKey);
        v.Key("elem_key", elemKey);
        elem.Fields(v);
    }
    std::string Validate(const char** pszColumn) const { return elem.Validate(pszColumn); }
};

// Load-group kinds (`T_LDGP_D::type`).
enum {
    LDGP_STATIC = 1,      // a group of static loads
    LDGP_SETTLEMENT = 2,  // a group whose loads cause foundation settlement
};

// A load group: loads the host's settlement analysis takes together.
struct T_LDGP_D {
    int type;        // LDGP_STATIC, LDGP_SETTLEMENT
    char name[64];   // UTF-8

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Text("name", name, sizeof(name));
    }
};

// A settlement point of the host's settlement analysis: its plan position and level, the
// settlement each load group causes there and a constant part common to every group (regional
// settlement). Settlements are downward, in mm; aGroup and aValue run in step.
struct T_PCDSINK_D {
    double x, y, z;                 // m
    double constant;                // mm
    CArray<UINT, UINT> aGroup;      // load-group keys
    CArray<double, double> aValue;  // settlement of each load group, mm

    T_PCDSINK_D() { Initialize(); }
    void Initialize() {
        x = y = z = constant = 0.0;
        aGroup.RemoveAll();
        aValue.RemoveAll();
    }
    // The settlement of one load group; 0 when the point holds no value for it.
    int GetGroupValue(UINT group, double& value) const {
        for (INT_PTR i = 0; i < aGroup.GetSize() && i < aValue.GetSize(); ++i)
            if (aGroup[i] == group) {
                value = aValue[i];
                return 1;
            }
        return 0;
    }
    template <class V> void Fields(V& v) {
        v.Coord("x", x);
        v.Coord("y", y);
        v.Coord("z", z);
        v.Real("constant", constant);
        v.KeyList("groups", aGroup);
        v.RealList("values", aValue);
    }
    // One value for each group: a value without its group, or a group without its value, could
    // only be guessed.
    std::string Validate(const char** pszColumn) const {
        if (aValue.GetSize() == aGroup.GetSize()) return {};
        *pszColumn = "values";
        return std::to_string(aValue.GetSize()) + " values for " + std::to_string(aGroup.GetSize()) +
               " groups; each group needs one value";
    }
};

// Elastic support of an element on Winkler springs (a raft plate or a beam on elastic
// foundation), keyed by element key. Its spring pressures are the STWS results of the element.
struct T_PESPR_D {
    UINT elem;       // element key (the table key again)
    double kv;       // modulus of subgrade reaction, kN/m3
    double width;    // contact width of a beam element, m; 0 for plates

    void Initialize() { elem = 0; kv = width = 0.0; }
    template <class V> void Fields(V& v) {
        v.Key("elem", elem);
        v.Real("kv", kv);
        v.Real("width", width);
    }
};

// Support types of restrained nodes (`T_PRTND_D::type`): which reaction page lists the node.
enum {
    PRTND_SUPPORT = 1,     // supports whose reactions the reaction page shows (piles, footings, springs)
    PRTND_REVERSED = 2,    // supports shown by the reversed-reaction page
};

// A restrained (supported) node, keyed by node key.
struct T_PRTND_D {
    int type;        // PRTND_SUPPORT or PRTND_REVERSED
    int dof;         // restrained directions, bits 1 DX, 2 DY, 4 DZ, 8 RX, 16 RY, 32 RZ

    void Initialize() { type = dof = 0; }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Int("dof", dof);
    }
};
