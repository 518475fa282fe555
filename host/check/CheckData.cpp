#include "host/check/CheckData.h"

#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

double CheckData_P::GetRatio(int dataSign) const {
    if (dataSign != SIGN_ABS && dataSign != SIGN_SIGNED) return 0.0;
    if (std::fabs(m_dForce) < kCheckNoAction) return std::fabs(m_dBaseR) < kCheckNoAction ? 0.0 : kCheckFreeRatio;
    if (dataSign == SIGN_ABS) return std::fabs(m_dBaseR) / std::fabs(m_dForce);
    return m_dBaseR / m_dForce;
}

CheckData_P CZLCheckData_P::GetValue(int index) const {
    return index == 0 ? m_Ave : index == 1 ? m_Max : CheckData_P();
}

int CJCheckData_P::GetPartCount() const {
    CheckData_P c;
    return static_cast<int>(m_aPart.GetSize()) + (m_mapPart0.Lookup(0, c) ? 1 : 0);
}

BOOL CJCheckData_P::GetPart(int part, CheckData_P& check) const {
    if (part == 0) return m_mapPart0.Lookup(0, check);
    if (part < 0 || part > m_aPart.GetSize()) return FALSE;
    check = m_aPart[part - 1];
    return TRUE;
}

CheckData_P PileCZLCheckData_P::GetValue(int index) const {
    return index >= 0 && index < kCount ? m_a[index] : CheckData_P();
}

namespace {

template <class M> using ValueOf = std::remove_cvref_t<decltype(std::declval<M&>().PLookup(0)->value)>;

// Walks a map in key order so that equal ratios go to the smallest key whatever the hash order.
template <class M, class F> BOOL MinKey(const M& map, UINT& key, F ratioOf) {
    key = 0;
    BOOL found = FALSE;
    double best = 0.0;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT k;
        ValueOf<M> v{};
        map.GetNextAssoc(pos, k, v);
        double r = ratioOf(v);
        if (!found || r < best || (r == best && k < key)) {
            best = r;
            key = k;
            found = TRUE;
        }
    }
    return found;
}

}  // namespace

BOOL SlabCJResult::GetVal(UINT& key, CheckData_P& check, int) const {
    if (key == 0 && !DATA_P::GetMinCheckDataLdgpKey(m_mapCheck, key)) return FALSE;
    return m_mapCheck.Lookup(key, check);
}

BOOL SlabCJResult::GetMembList(CArray<UINT, UINT>& list) const {
    list = m_aMemb;
    return list.GetSize() > 0;
}

BOOL SlabCJResult::GetPolyGon(CArray<T_POINT2D, const T_POINT2D&>& pts) const {
    pts = m_aPoly;
    return pts.GetSize() >= 3;
}

BOOL DATA_P::GetMinCheckDataLdgpKey(const CheckDataMap& map, UINT& key, int dataSign) {
    return MinKey(map, key, [dataSign](const CheckData_P& c) { return c.GetRatio(dataSign); });
}

BOOL DATA_P::GetCZLMinRatioLdgpKey(const CZLCheckMap& map, UINT& aveKey, UINT& maxKey) {
    BOOL a = MinKey(map, aveKey, [](const CZLCheckData_P& c) { return c.m_Ave.GetRatio(CheckData_P::SIGN_SIGNED); });
    BOOL b = MinKey(map, maxKey, [](const CZLCheckData_P& c) { return c.m_Max.GetRatio(CheckData_P::SIGN_SIGNED); });
    return a && b;
}

BOOL DATA_P::GetCJMinRatioLdgpKey(const CJCheckMap& map, CArray<UINT, UINT>& keys, int count) {
    keys.RemoveAll();
    if (count < 0) return FALSE;
    BOOL any = FALSE;
    for (int part = 0; part < count; ++part) {
        // Only the groups that hold the part take part in its choice.
        UINT best = 0;
        double bestRatio = 0.0;
        BOOL found = FALSE;
        POSITION pos = map.GetStartPosition();
        while (pos) {
            UINT k;
            CJCheckData_P v;
            map.GetNextAssoc(pos, k, v);
            CheckData_P c;
            if (!v.GetPart(part, c)) continue;
            double r = c.GetRatio(CheckData_P::SIGN_ABS);
            if (!found || r < bestRatio || (r == bestRatio && k < best)) {
                best = k;
                bestRatio = r;
                found = TRUE;
            }
        }
        keys.Add(best);
        any = any || found;
    }
    return any;
}

BOOL DATA_P::GetXYLoadCentMinkey(const LCCheckMap& map, UINT& keyX, UINT& keyY) {
    BOOL a = MinKey(map, keyX, [](const LCCheckData_P& c) { return c.m_CheckX.GetRatio(CheckData_P::SIGN_ABS); });
    BOOL b = MinKey(map, keyY, [](const LCCheckData_P& c) { return c.m_CheckY.GetRatio(CheckData_P::SIGN_ABS); });
    return a && b;
}

BOOL DATA_P::GetMaxDoubleMapKey(const DoubleMap& map, UINT& key) {
    return MinKey(map, key, [](double v) { return -v; });
}

BOOL DATA_P::GetDoubleArrData(UINT k, double& value, UINT& key, const DoubleMap& map) {
    UINT at = k;
    if (k == 0 && !MinKey(map, at, [](double v) { return -std::fabs(v); })) return FALSE;
    double v = 0.0;
    if (!map.GetVal(at, v)) return FALSE;
    value = v;
    key = at;
    return TRUE;
}

BOOL DATA_P::GetCheckDataMapResult(CheckDataMap& map, UINT key, CheckData_P& check) {
    BOOL had = map.PLookup(key) != nullptr;
    check = map[key];
    return had;
}

BOOL DATA_P::GetSlabCJResult(const SlabCJCheckMap& checks, SlabCJResultMap& results, int type) {
    results.RemoveAll();
    POSITION pos = checks.GetStartPosition();
    while (pos) {
        UINT k;
        SlabCJCheckData_P v;
        checks.GetNextAssoc(pos, k, v);
        if (v.m_nType != type) continue;
        SlabCJResult r = v;
        results.SetAt(k, r);
    }
    return results.GetCount() > 0;
}

// ---- BLOB layout ----

namespace {

class Out {
public:
    void U32(UINT v) {
        unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        s.append(reinterpret_cast<const char*>(b), 4);
    }
    void F64(double v) {
        unsigned long long u;
        std::memcpy(&u, &v, 8);
        for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    }
    void Check(const CheckData_P& c) { F64(c.get_Force()); F64(c.get_BaseR()); }
    std::string s;
};

class In {
public:
    explicit In(const std::string& b) : s(b) {}
    BOOL U32(UINT& v) {
        if (s.size() - pos < 4) return FALSE;
        v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[pos + i]);
        pos += 4;
        return TRUE;
    }
    BOOL F64(double& v) {
        if (s.size() - pos < 8) return FALSE;
        unsigned long long u = 0;
        for (int i = 7; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(s[pos + i]);
        pos += 8;
        std::memcpy(&v, &u, 8);
        return std::isfinite(v);
    }
    BOOL Check(CheckData_P& c) {
        double f, r;
        if (!F64(f) || !F64(r)) return FALSE;
        c = CheckData_P(f, r);
        return TRUE;
    }
    // A count of entries each at least minBytes long must fit in what is left.
    BOOL Count(UINT& n, size_t minBytes) { return U32(n) && n <= (s.size() - pos) / minBytes; }
    BOOL AtEnd() const { return pos == s.size(); }
    const std::string& s;
    size_t pos = 0;
};

void Put(Out& o, const CheckData_P& v) { o.Check(v); }
void Put(Out& o, const CZLCheckData_P& v) { o.Check(v.m_Ave); o.Check(v.m_Max); }
void Put(Out& o, const PileCZLCheckData_P& v) {
    for (const CheckData_P& c : v.m_a) o.Check(c);
}
void Put(Out& o, const LCCheckData_P& v) {
    o.F64(v.m_dX); o.F64(v.m_dY); o.F64(v.m_dV);
    o.Check(v.m_CheckX); o.Check(v.m_CheckY);
}
void Put(Out& o, double v) { o.F64(v); }
void PutChecks(Out& o, const CheckDataMap& m);
void Put(Out& o, const CJCheckData_P& v) {
    PutChecks(o, v.m_mapPart0);
    o.U32(static_cast<UINT>(v.m_aPart.GetSize()));
    for (INT_PTR i = 0; i < v.m_aPart.GetSize(); ++i) o.Check(v.m_aPart[i]);
}
void Put(Out& o, const SlabCJCheckData_P& v) {
    o.U32(static_cast<UINT>(v.m_nType));
    o.U32(static_cast<UINT>(v.m_aMemb.GetSize()));
    for (INT_PTR i = 0; i < v.m_aMemb.GetSize(); ++i) o.U32(v.m_aMemb[i]);
    o.U32(static_cast<UINT>(v.m_aPoly.GetSize()));
    for (INT_PTR i = 0; i < v.m_aPoly.GetSize(); ++i) { o.F64(v.m_aPoly[i].x); o.F64(v.m_aPoly[i].y); }
    PutChecks(o, v.m_mapCheck);
}

template <class M> void PutMap(Out& o, const M& m) {
    o.U32(static_cast<UINT>(m.GetCount()));
    POSITION pos = m.GetStartPosition();
    while (pos) {
        UINT k;
        ValueOf<M> v{};
        m.GetNextAssoc(pos, k, v);
        o.U32(k);
        Put(o, v);
    }
}
void PutChecks(Out& o, const CheckDataMap& m) { PutMap(o, m); }

BOOL Get(In& in, CheckData_P& v) { return in.Check(v); }
BOOL Get(In& in, CZLCheckData_P& v) { return in.Check(v.m_Ave) && in.Check(v.m_Max); }
BOOL Get(In& in, PileCZLCheckData_P& v) {
    for (CheckData_P& c : v.m_a)
        if (!in.Check(c)) return FALSE;
    return TRUE;
}
BOOL Get(In& in, LCCheckData_P& v) {
    return in.F64(v.m_dX) && in.F64(v.m_dY) && in.F64(v.m_dV) && in.Check(v.m_CheckX) && in.Check(v.m_CheckY);
}
BOOL Get(In& in, double& v) { return in.F64(v); }
BOOL GetChecks(In& in, CheckDataMap& m);
BOOL Get(In& in, CJCheckData_P& v) {
    UINT n;
    if (!GetChecks(in, v.m_mapPart0) || !in.Count(n, 16)) return FALSE;
    for (UINT i = 0; i < n; ++i) {
        CheckData_P c;
        if (!in.Check(c)) return FALSE;
        v.m_aPart.Add(c);
    }
    return TRUE;
}
BOOL Get(In& in, SlabCJCheckData_P& v) {
    UINT type, n;
    if (!in.U32(type) || !in.Count(n, 4)) return FALSE;
    v.m_nType = static_cast<int>(type);
    for (UINT i = 0; i < n; ++i) {
        UINT k;
        if (!in.U32(k)) return FALSE;
        v.m_aMemb.Add(k);
    }
    if (!in.Count(n, 16)) return FALSE;
    for (UINT i = 0; i < n; ++i) {
        T_POINT2D p;
        if (!in.F64(p.x) || !in.F64(p.y)) return FALSE;
        v.m_aPoly.Add(p);
    }
    return GetChecks(in, v.m_mapCheck);
}

// Minimum bytes of one entry (key and the smallest value), to refuse absurd counts early.
template <class V> constexpr size_t MinEntry() {
    if constexpr (std::is_same_v<V, double>) return 12;
    else if constexpr (std::is_same_v<V, CheckData_P>) return 20;
    else return 8;
}

template <class M> BOOL GetMap(In& in, M& m) {
    using V = ValueOf<M>;
    UINT n;
    if (!in.Count(n, MinEntry<V>())) return FALSE;
    for (UINT i = 0; i < n; ++i) {
        UINT k;
        V v{};
        if (!in.U32(k) || !Get(in, v)) return FALSE;
        if (m.PLookup(k)) return FALSE;  // a key twice: damaged
        m.SetAt(k, v);
    }
    return TRUE;
}
BOOL GetChecks(In& in, CheckDataMap& m) { return GetMap(in, m); }

template <class M> std::string WriteMap(const M& m) {
    Out o;
    PutMap(o, m);
    return o.s;
}
template <class M> BOOL ReadMap(const std::string& blob, M& m) {
    m.RemoveAll();
    In in(blob);
    if (GetMap(in, m) && in.AtEnd()) return TRUE;
    m.RemoveAll();
    return FALSE;
}

}  // namespace

namespace CheckBlob {
std::string Write(const CheckDataMap& m) { return WriteMap(m); }
std::string Write(const CZLCheckMap& m) { return WriteMap(m); }
std::string Write(const CJCheckMap& m) { return WriteMap(m); }
std::string Write(const PileCZLCheckMap& m) { return WriteMap(m); }
std::string Write(const LCCheckMap& m) { return WriteMap(m); }
std::string Write(const SlabCJCheckMap& m) { return WriteMap(m); }
std::string Write(const DoubleMap& m) { return WriteMap(m); }
BOOL Read(const std::string& b, CheckDataMap& m) { return ReadMap(b, m); }
BOOL Read(const std::string& b, CZLCheckMap& m) { return ReadMap(b, m); }
BOOL Read(const std::string& b, CJCheckMap& m) { return ReadMap(b, m); }
BOOL Read(const std::string& b, PileCZLCheckMap& m) { return ReadMap(b, m); }
BOOL Read(const std::string& b, LCCheckMap& m) { return ReadMap(b, m); }
BOOL Read(const std::string& b, SlabCJCheckMap& m) { return ReadMap(b, m); }
BOOL Read(const std::string& b, DoubleMap& m) { return ReadMap(b, m); }
}  // namespace CheckBlob
