// The field-list protocol of the database records.
//
// Every stored record declares its fields once, in a member template
//     template <class V> void Fields(V& v) { v.Real("x", x); v.Keys("node", node, 8); ... }
// and that single list serves the table schema, loading, saving and the arithmetic that
// combines result records. A visitor implements the calls below for the kinds it handles:
//     Int(name, int&)                    INTEGER, 32-bit signed
//     Key(name, UINT&)                   INTEGER, 32-bit unsigned (host keys, 0 = none)
//     Real(name, double&)                REAL, a finite number
//     Coord(name, double&)               REAL, a coordinate in m: finite, at most kMaxCoord in magnitude
//     Ints / Keys / Reals(name, p, n)    BLOB of n little-endian 32-bit / 32-bit / 64-bit values
//     Text(name, char*, capacity)        TEXT, UTF-8, NUL-terminated, at most capacity-1 bytes
//     Str(name, CString&)                TEXT, UTF-8, any length
//     KeyList(name, CArray<UINT,UINT>&)  BLOB of 32-bit keys, any count
//     RealList(name, CArray<double,double>&)  BLOB of 64-bit reals, any count
//     Data(name, std::string&)           BLOB of 32-bit words, any count (a keyed map of check results)
//     KeyMap(name, CMap<UINT,...>&)      BLOB of (key, value) 32-bit pairs, any count
//     Bytes(name, void*, size)           BLOB of exactly size bytes (arrays of small structs)
// Column names are unique within a record; "key", "seq" and "id" are reserved by the tables.
#pragma once

#include <string>

#include "platform/afx/afxtypes.h"

#include <cstddef>
#include <vector>

namespace pvxdb {

// Largest magnitude of a length a project may hold (coordinates, centres, points), m: room for
// survey coordinates, and small enough that whatever a project holds still draws (a sheet of a
// footing and a point 1e9 m away is one colour) and the drawing arithmetic stays exact enough.
constexpr double kMaxCoord = 1e7;
// Largest magnitude of a moved text's offset, m: the sheet's reach (a text stays within the
// sheet's extent again on each side) on the largest sheet a project can hold.
constexpr double kMaxTextOffset = 4 * kMaxCoord;

// Largest size of a thing a project draws (a section, a footing's step, a pile, a wall's or a
// raft's thickness), m: far beyond any building's, and small enough that the sheet still shows
// the plan around it.
constexpr double kMaxSize = 1e3;

// A number as the shortest text that reads back as exactly it: a value and the limit it passes
// never print alike.
std::string NumberText(double v);
// "" when every one of the n values lies within limit in magnitude; otherwise what is wrong with
// the first that does not, `what` (if given) saying what the limit is (a record's Validate names
// the column).
std::string CheckBound(const double* p, int n, double limit, const char* what);
// CheckBound of moved-text offsets against kMaxTextOffset.
std::string CheckTextOffsets(const double* p, int n);
// CheckBound of sizes against kMaxSize.
std::string CheckSizes(const double* p, int n);
// Largest magnitude of a value in a result table (kN, mm, ...): far beyond any structure's, and
// small enough that its sums, squares and scales stay finite.
constexpr double kMaxResult = 1e15;

// Copies UTF-8 text into a fixed text field of cap bytes: cut before a character that does not
// fit whole, always NUL-terminated; a null src gives an empty text.
void CopyText(char* dst, size_t cap, const char* src);

// Collects the double fields of a record as byte offsets, so two records of one type can be
// combined value by value (load combinations, envelopes).
struct RealSpan {
    size_t offset;  // bytes from the start of the record
    int count;      // consecutive doubles
};

class RealSpanCollector {
public:
    explicit RealSpanCollector(const void* base) : m_base(static_cast<const char*>(base)) {}
    void Int(const char*, int&) {}
    void Key(const char*, UINT&) {}
    void Real(const char*, double& d) { Add(&d, 1); }
    void Coord(const char*, double& d) { Add(&d, 1); }
    void Ints(const char*, int*, int) {}
    void Keys(const char*, UINT*, int) {}
    void Reals(const char*, double* p, int n) { Add(p, n); }
    void Text(const char*, char*, int) {}
    void Bytes(const char*, void*, size_t) {}
    void Data(const char*, std::string&) {}
    template <class S> void Str(const char*, S&) {}
    template <class L> void KeyList(const char*, L&) {}
    template <class L> void RealList(const char*, L&) {}
    template <class M> void KeyMap(const char*, M&) {}

    std::vector<RealSpan> m_spans;

private:
    void Add(const double* p, int n) {
        m_spans.push_back({static_cast<size_t>(reinterpret_cast<const char*>(p) - m_base), n});
    }
    const char* m_base;
};

// The double fields of record type T, computed once.
template <class T> const std::vector<RealSpan>& RealSpansOf() {
    static const std::vector<RealSpan> spans = [] {
        T rec = T();  // value-initialised: a member may have an explicit default constructor
        RealSpanCollector c(&rec);
        rec.Fields(c);
        return c.m_spans;
    }();
    return spans;
}

inline double* RealAt(void* rec, size_t offset) {
    return reinterpret_cast<double*>(static_cast<char*>(rec) + offset);
}
inline const double* RealAt(const void* rec, size_t offset) {
    return reinterpret_cast<const double*>(static_cast<const char*>(rec) + offset);
}

// dst += f * src over every double of the record.
template <class T> void AddScaled(T& dst, const T& src, double f) {
    for (const RealSpan& s : RealSpansOf<T>()) {
        double* d = RealAt(&dst, s.offset);
        const double* q = RealAt(&src, s.offset);
        for (int i = 0; i < s.count; ++i) d[i] += f * q[i];
    }
}

// Every double of the record set to 0, other fields untouched.
template <class T> void ZeroReals(T& rec) {
    for (const RealSpan& s : RealSpansOf<T>()) {
        double* d = RealAt(&rec, s.offset);
        for (int i = 0; i < s.count; ++i) d[i] = 0.0;
    }
}

// Envelope step: hi = max(hi, v), lo = min(lo, v) value by value.
template <class T> void Envelope(T& hi, T& lo, const T& v) {
    for (const RealSpan& s : RealSpansOf<T>()) {
        double* h = RealAt(&hi, s.offset);
        double* l = RealAt(&lo, s.offset);
        const double* q = RealAt(&v, s.offset);
        for (int i = 0; i < s.count; ++i) {
            if (q[i] > h[i]) h[i] = q[i];
            if (q[i] < l[i]) l[i] = q[i];
        }
    }
}

// out takes, value by value, whichever of hi and lo has the larger magnitude (hi on a tie).
template <class T> void AbsMax(T& out, const T& hi, const T& lo) {
    for (const RealSpan& s : RealSpansOf<T>()) {
        double* o = RealAt(&out, s.offset);
        const double* h = RealAt(&hi, s.offset);
        const double* l = RealAt(&lo, s.offset);
        for (int i = 0; i < s.count; ++i) o[i] = (l[i] < 0 ? -l[i] : l[i]) > (h[i] < 0 ? -h[i] : h[i]) ? l[i] : h[i];
    }
}

}  // namespace pvxdb
