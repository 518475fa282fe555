// Records of the foundation model: the plan objects the foundation design works on (points,
// axes, members with their footings, rafts, beams, piles, walls and columns above), its global
// parameters and the load groups its checks are made for. Every table is keyed by UINT; the
// typed tables (COLM, WALL, COLF, BEAM, MTSB, PILE) are keyed by the key of their member in MEMB.
// Lengths in m, angles in degrees, forces in kN, settlements in mm.
#pragma once

#include "host/db/DBField.h"
#include "platform/afx/afx.h"

#include <cmath>
#include <cstring>
#include <string>

// A plan point of the foundation model.
struct T_PONT_D {
    double x, y;  // m

    void Initialize() { x = y = 0.0; }
    template <class V> void Fields(V& v) {
        v.Coord("x", x);
        v.Coord("y", y);
    }
};

// A grid axis between two points: straight, or an arc through both whose middle lies `chord`
// from the straight line (positive: to the left looking from the first point to the second).
struct T_AXIS_D {
    UINT pont1, pont2;  // point keys
    double chord;       // rise of the arc's middle over the line, m; 0 for a straight axis
    char name[16];      // the axis label ("A", "1", ...), UTF-8

    void Initialize() { memset(this, 0, sizeof(*this)); }
    int IsArc() const { return std::fabs(chord) > 1e-9; }
    double GetChord() const { return chord; }
    template <class V> void Fields(V& v) {
        v.Key("pont1", pont1);
        v.Key("pont2", pont2);
        v.Real("chord", chord);
        v.Text("name", name, sizeof(name));
    }
    std::string Validate(const char** pszColumn) const {
        if (!pont1 || !pont2) {
            *pszColumn = !pont1 ? "pont1" : "pont2";
            return "an axis needs two points";
        }
        if (pont1 == pont2) {
            *pszColumn = "pont2";
            return "both ends are the same point";
        }
        return {};
    }
};

// Member types of the foundation model (`T_MEMB_D::type`).
enum {
    MEMB_COLUMN = 101,     // a column standing on the foundation (COLM)
    MEMB_BEAM = 201,       // a foundation beam (BEAM)
    MEMB_WALL = 202,       // a wall standing on the foundation (WALL)
    MEMB_FOOTING = 401,    // an isolated footing or pile cap (COLF)
    MEMB_RAFT = 402,       // a raft or sub-raft (MTSB)
    MEMB_PILE = 403,       // a pile (PILE)
};

// Text slots of a member or of the global parameters: one moved text each.
constexpr int MEMB_TEXT_SLOTS = 8;

// A member of the foundation model: what every object shares. Its kind's own table (by type)
// holds the rest under the same key.
struct T_MEMB_D {
    int type;                         // MEMB_*
    double angle;                     // rotation about its insertion point, degrees
    UINT fosp;                        // foundation section (FOSP; piles: pile section PISP), 0 = none
    CArray<UINT, UINT> aPont;         // point keys: insertion point, or line ends, or outline
    double textX[MEMB_TEXT_SLOTS];    // moved-text offsets per slot, m (0 = where drawn)
    double textY[MEMB_TEXT_SLOTS];

    T_MEMB_D() { Initialize(); }
    void Initialize() {
        type = 0;
        angle = 0.0;
        fosp = 0;
        aPont.RemoveAll();
        ReSetXYPos();
    }
    void ReSetXYPos() {
        for (int i = 0; i < MEMB_TEXT_SLOTS; ++i) textX[i] = textY[i] = 0.0;
    }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Real("angle", angle);
        v.Key("fosp", fosp);
        v.KeyList("ponts", aPont);
        v.Reals("text_x", textX, MEMB_TEXT_SLOTS);
        v.Reals("text_y", textY, MEMB_TEXT_SLOTS);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "type";
        switch (type) {
        case MEMB_COLUMN: case MEMB_FOOTING: case MEMB_PILE:
            *pszColumn = "ponts";
            if (aPont.GetSize() < 1) return "the member has no point";
            break;
        case MEMB_BEAM: case MEMB_WALL:
            *pszColumn = "ponts";
            if (aPont.GetSize() != 2) return "a line member needs exactly two points";
            break;
        case MEMB_RAFT:
            *pszColumn = "ponts";
            if (aPont.GetSize() < 3) return "a raft outline needs at least three points";
            break;
        default:
            return "unknown member type " + std::to_string(type);
        }
        for (INT_PTR i = 0; i < aPont.GetSize(); ++i)
            if (aPont[i] == 0) return "point " + std::to_string(i + 1) + " has key 0";
        *pszColumn = "text_x";
        if (std::string why = pvxdb::CheckTextOffsets(textX, MEMB_TEXT_SLOTS); !why.empty()) return why;
        *pszColumn = "text_y";
        return pvxdb::CheckTextOffsets(textY, MEMB_TEXT_SLOTS);
    }
};

// A column standing on the foundation: its section about its insertion point.
struct T_COLM_D {
    double b;   // width along the member's local x, m; the diameter of a circular column
    double h;   // depth, m; negative for a circular column

    void Initialize() { b = h = 0.0; }
    int IsCircle() const { return h < 0.0; }
    template <class V> void Fields(V& v) {
        v.Real("b", b);
        v.Real("h", h);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "b";
        if (!(b > 0.0)) return "the section width is not positive";
        *pszColumn = "h";
        if (h == 0.0) return "the section depth is 0";
        *pszColumn = "b";
        if (std::string why = pvxdb::CheckSizes(&b, 1); !why.empty()) return why;
        *pszColumn = "h";
        return pvxdb::CheckSizes(&h, 1);
    }
};

// A wall standing on the foundation, between its member's two points.
struct T_WALL_D {
    double thick;  // m

    void Initialize() { thick = 0.0; }
    template <class V> void Fields(V& v) { v.Real("thick", thick); }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "thick";
        return thick > 0.0 ? pvxdb::CheckSizes(&thick, 1) : "the thickness is not positive";
    }
};

// Kinds of column footing (`T_COLF_D::kind`).
enum {
    COLF_SPREAD = 0,   // a spread footing ("ZJ")
    COLF_PILECAP = 1,  // a pile cap ("CT")
};

// Most steps a footing holds.
constexpr int COLF_MAX_STEP = 4;

// One step of a footing, centred on the footing's centre and turned by the member's angle.
struct T_COLF_STEP {
    double b;   // along local x, m (circular: the diameter)
    double h;   // along local y, m (circular: unused)
    double t;   // thickness, m
};

// A column footing: its steps from the bottom (the widest) up.
struct T_COLF_D {
    int kind;                         // COLF_SPREAD or COLF_PILECAP
    int circle;                       // 1: circular steps
    int join;                         // 1: steps joined (sloped: corners of the steps joined in plan)
    int nStep;                        // steps held, 1..COLF_MAX_STEP
    double cx, cy;                    // centre, m
    T_COLF_STEP step[COLF_MAX_STEP];  // bottom first

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("kind", kind);
        v.Int("circle", circle);
        v.Int("join_flag", join);
        v.Int("steps", nStep);
        v.Coord("cx", cx);
        v.Coord("cy", cy);
        v.Bytes("step_data", step, sizeof(step));
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "kind";
        if (kind != COLF_SPREAD && kind != COLF_PILECAP) return "kind " + std::to_string(kind) + " is neither 0 nor 1";
        *pszColumn = "circle";
        if (circle != 0 && circle != 1) return "the circular flag is neither 0 nor 1";
        *pszColumn = "join_flag";
        if (join != 0 && join != 1) return "the join flag is neither 0 nor 1";
        *pszColumn = "steps";
        if (nStep < 1 || nStep > COLF_MAX_STEP)
            return "step count " + std::to_string(nStep) + " is outside 1.." + std::to_string(COLF_MAX_STEP);
        *pszColumn = "step_data";
        for (int i = 0; i < nStep; ++i) {
            const T_COLF_STEP& s = step[i];
            if (!std::isfinite(s.b) || !std::isfinite(s.h) || !std::isfinite(s.t) || s.b <= 0.0 || s.t <= 0.0 ||
                (!circle && s.h <= 0.0))
                return "step " + std::to_string(i + 1) + " has a size that is not a positive number";
            const double size[] = {s.b, circle ? 0.0 : s.h, s.t};
            if (std::string why = pvxdb::CheckSizes(size, 3); !why.empty()) return "step " + std::to_string(i + 1) + ": " + why;
        }
        return {};
    }
};

// A foundation section: the design options a footing or raft refers to.
struct T_FOSP_D {
    int type;     // section type (2: a footing section whose texts go along its edges when an option says so)
    int option1;  // first option field
    int option2;  // second option field

    void Initialize() { type = option1 = option2 = 0; }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Int("option1", option1);
        v.Int("option2", option2);
    }
};

// A foundation beam between its member's two points.
struct T_BEAM_D {
    int type;     // type value: 0 grade beam on piles or soil, 1 ... 3 other beam sub-kinds
    int link;     // 1: a link beam (ties footings, carries no soil pressure)
    UINT group;   // beams of one group share their piles; 0 = none

    void Initialize() { type = link = 0; group = 0; }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Int("link", link);
        v.Key("beam_group", group);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "type";
        if (type < 0 || type > 3) return "type value " + std::to_string(type) + " is outside 0..3";
        *pszColumn = "link";
        if (link != 0 && link != 1) return "the link flag is neither 0 nor 1";
        return {};
    }
};

// A raft (outline: its member's points, in order).
struct T_MTSB_D {
    int type;     // 1 plain raft, 2 and 3 slab-band rafts (beam and slab, flat slab)
    UINT parent;  // the raft a sub-raft lies in; 0 for a main raft
    double thick; // m

    void Initialize() { type = 0; parent = 0; thick = 0.0; }
    int IsSubMtsb() const { return parent != 0; }
    template <class V> void Fields(V& v) {
        v.Int("type", type);
        v.Key("parent", parent);
        v.Real("thick", thick);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "type";
        if (type < 1 || type > 3) return "raft type " + std::to_string(type) + " is outside 1..3";
        *pszColumn = "thick";
        if (!(thick > 0.0)) return "the thickness is not positive";
        return pvxdb::CheckSizes(&thick, 1);
    }
};

// A pile: the members it stands under (a footing, raft or beam first), its length and bearing
// capacity. Keyed by the pile key the analysis model's pile members carry (PMEMB.pile_key).
struct T_PILE_D {
    CArray<UINT, UINT> aMemb;  // member keys the pile stands under
    double length;             // m
    double capacity;           // characteristic vertical bearing capacity, kN

    T_PILE_D() { Initialize(); }
    void Initialize() {
        aMemb.RemoveAll();
        length = capacity = 0.0;
    }
    template <class V> void Fields(V& v) {
        v.KeyList("membs", aMemb);
        v.Real("length", length);
        v.Real("capacity", capacity);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "length";
        if (!(length > 0.0)) return "the length is not positive";
        if (std::string why = pvxdb::CheckSizes(&length, 1); !why.empty()) return why;
        *pszColumn = "capacity";
        if (capacity < 0.0) return "the bearing capacity is negative";
        return {};
    }
};

// A pile section.
struct T_PISP_D {
    char name[32];  // UTF-8
    double d;       // diameter, m

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Text("name", name, sizeof(name));
        v.Real("d", d);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "d";
        return d > 0.0 ? pvxdb::CheckSizes(&d, 1) : "the diameter is not positive";
    }
};

// A cell of the settlement mesh.
struct T_SRCT_D {
    double x, y;           // centre, m
    double width, height;  // m
    double angle;          // degrees

    void Initialize() { x = y = width = height = angle = 0.0; }
    template <class V> void Fields(V& v) {
        v.Coord("x", x);
        v.Coord("y", y);
        v.Real("width", width);
        v.Real("height", height);
        v.Real("angle", angle);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = !(width > 0.0) ? "width" : "height";
        if (!(width > 0.0 && height > 0.0)) return "the cell size is not positive";
        *pszColumn = "width";
        if (std::string why = pvxdb::CheckSizes(&width, 1); !why.empty()) return why;
        *pszColumn = "height";
        return pvxdb::CheckSizes(&height, 1);
    }
};

// Design codes of the global parameters (`T_VKRDesignCode_D::code`).
enum {
    GBPA_CODE_GB = 1,  // the national code (GB 50007)
    GBPA_CODE_JGJ = 2, // the high-rise code (JGJ 6)
};

struct T_VKRDesignCode_D {
    int code;  // GBPA_CODE_*
    int GetGbCode() const { return code; }
};

// The movable texts of the global parameters.
struct T_GlobaleBuffe_D {
    double textX[MEMB_TEXT_SLOTS];  // m
    double textY[MEMB_TEXT_SLOTS];
    void ReSetXYPos() {
        for (int i = 0; i < MEMB_TEXT_SLOTS; ++i) textX[i] = textY[i] = 0.0;
    }
};

// The key the global parameters are stored under.
constexpr UINT GBPA_KEY = 2;

// Global design parameters of the foundation (one record, key GBPA_KEY).
struct T_GBPA_D {
    T_GlobaleBuffe_D buffer;
    double diffSettle;   // allowed differential settlement, as a share of the distance (0.002 = 0.2 %)
    double tiltX;        // allowed tilt in x, share of the width
    double tiltY;        // allowed tilt in y
    double avgSettle;    // allowed average settlement, mm
    double deflection;   // allowed relative deflection, share of the length
    T_VKRDesignCode_D designCode;

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Reals("text_x", buffer.textX, MEMB_TEXT_SLOTS);
        v.Reals("text_y", buffer.textY, MEMB_TEXT_SLOTS);
        v.Real("diff_settle", diffSettle);
        v.Real("tilt_x", tiltX);
        v.Real("tilt_y", tiltY);
        v.Real("avg_settle", avgSettle);
        v.Real("deflection", deflection);
        v.Int("design_code", designCode.code);
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "design_code";
        if (designCode.code != GBPA_CODE_GB && designCode.code != GBPA_CODE_JGJ)
            return "design code " + std::to_string(designCode.code) + " is neither 1 nor 2";
        *pszColumn = "text_x";
        if (std::string why = pvxdb::CheckTextOffsets(buffer.textX, MEMB_TEXT_SLOTS); !why.empty()) return why;
        *pszColumn = "text_y";
        if (std::string why = pvxdb::CheckTextOffsets(buffer.textY, MEMB_TEXT_SLOTS); !why.empty()) return why;
        const char* names[] = {"diff_settle", "tilt_x", "tilt_y", "avg_settle", "deflection"};
        const double vals[] = {diffSettle, tiltX, tiltY, avgSettle, deflection};
        for (int i = 0; i < 5; ++i)
            if (vals[i] < 0.0) {
                *pszColumn = names[i];
                return "an allowed value is negative";
            }
        return {};
    }
};

// The moved texts of the figure notes of one figure type (key = the figure type): offsets of
// the title (slot 0) and of the load case line (slot 1), m. A figure type without a record
// takes the offsets of the global parameters (GBPA), where older projects keep them.
struct T_FVDTEXT_D {
    double textX[MEMB_TEXT_SLOTS];
    double textY[MEMB_TEXT_SLOTS];

    void Initialize() {
        for (int i = 0; i < MEMB_TEXT_SLOTS; ++i) textX[i] = textY[i] = 0.0;
    }
    template <class V> void Fields(V& v) {
        v.Reals("text_x", textX, MEMB_TEXT_SLOTS);
        v.Reals("text_y", textY, MEMB_TEXT_SLOTS);
    }
};

// The groundwater level (one record, key 1).
struct T_WDLD_D {
    double level;  // level of the water table, m (as the node z)

    void Initialize() { level = 0.0; }
    template <class V> void Fields(V& v) { v.Coord("level", level); }
};

// Kinds of check load group (`T_CKLG_D::kind`, E_Ldgp_Type).
enum E_Ldgp_Type {
    LDGP_KIND_NONE = -1,        // an LDGP static group: no check list takes it
    LDGP_KIND_STANDARD = 0,     // standard (characteristic) combination
    LDGP_KIND_BASIC = 1,        // basic (design) combination
    LDGP_KIND_QUASI = 2,        // quasi-permanent combination (settlement)
};

// A load group the foundation checks are made for.
struct T_CKLG_D {
    int number;      // the combination number shown to the user
    int kind;        // LDGP_KIND_STANDARD, _BASIC, _QUASI
    int blast;       // 1: a blast (civil air defence) combination
    int seismic;     // 0 none, 1 horizontal seismic, 2 vertical seismic
    int designUse;   // 1: the design (reinforcement) takes the combination
    int lcType;      // load-case type of its leading case (ELoadCase_Type), for the bottom-slab filter
    char sort[64];   // the combination's text, UTF-8 ("1.30D+1.50L")

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("number", number);
        v.Int("kind", kind);
        v.Int("blast", blast);
        v.Int("seismic", seismic);
        v.Int("design_use", designUse);
        v.Int("lc_type", lcType);
        v.Text("sort_text", sort, sizeof(sort));
    }
    std::string Validate(const char** pszColumn) const {
        *pszColumn = "kind";
        if (kind < LDGP_KIND_STANDARD || kind > LDGP_KIND_QUASI) return "kind " + std::to_string(kind) + " is outside 0..2";
        const char* names[] = {"blast", "seismic", "design_use"};
        const int vals[] = {blast, seismic, designUse};
        const int maxs[] = {1, 2, 1};
        for (int i = 0; i < 3; ++i)
            if (vals[i] < 0 || vals[i] > maxs[i]) {
                *pszColumn = names[i];
                return "flag " + std::to_string(vals[i]) + " is outside 0.." + std::to_string(maxs[i]);
            }
        *pszColumn = "lc_type";
        if (lcType < 0) return "the load-case type is negative";
        return {};
    }
};
