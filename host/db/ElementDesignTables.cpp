#include "host/db/ElementDesignTables.h"

#include <algorithm>
#include <cmath>

#include "host/db/DBTables.h"

int CClassPDDElem::Get(UINT comb, UINT elem, T_PDDELEM_D& rec) const {
    const T_PDDELEM_D* p = m_pDB ? m_pDB->Table<DBT_PDDELEM>().Find(comb, elem) : nullptr;
    if (!p) return 0;
    rec = *p;
    return 1;
}

int CClassPDDElem::HasRows() const { return m_pDB && m_pDB->Table<DBT_PDDELEM>().Count() > 0; }

namespace {

constexpr uint32_t kNoRow = 0xFFFFFFFFu;

// The combinations a load key stands for: itself, or for key 0 the design combinations.
void LoadKeys(CDataBase* pDB, UINT loadKey, CArray<UINT, UINT>& keys) {
    if (loadKey != 0) {
        keys.Add(loadKey);
        return;
    }
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    groups.GetDesignUseLoadComb(keys, 1);
}

const CArray<double, double>& KindValues(const T_PDDELEM_D& rec, int kind) {
    return kind == 0 ? rec.aM : kind == 1 ? rec.aAs : rec.aW;
}

// Takes combination key's values v into an element's count values: one beyond them is added,
// a larger magnitude replaces (the first combination of equal magnitudes keeps the value).
void TakeValues(const CArray<double, double>& v, UINT key, double* values, UINT* combs, uint32_t& count) {
    for (INT_PTR i = 0; i < v.GetSize(); ++i) {
        if (static_cast<uint32_t>(i) >= count) {
            values[count] = v[i];
            combs[count++] = key;
        } else if (std::fabs(v[i]) > std::fabs(values[i])) {
            values[i] = v[i];
            combs[i] = key;
        }
    }
}

void ToArrays(const double* values, const UINT* combs, uint32_t count, CArray<double, double>& outValues,
              CArray<double, double>& outCombs) {
    for (uint32_t i = 0; i < count; ++i) {
        outValues.Add(values[i]);
        outCombs.Add(static_cast<double>(combs[i]));
    }
}

}  // namespace

BOOL T_PDDELEM_D::GetData(CDataBase* pDB, UINT elem, UINT loadKey, CArray<double, double>& values,
                          CArray<double, double>& combs, int kind) {
    values.RemoveAll();
    combs.RemoveAll();
    if (!pDB) return FALSE;
    CClassPDDElem table;
    table.ConnectToDB(pDB);
    CArray<UINT, UINT> keys;
    LoadKeys(pDB, loadKey, keys);
    std::vector<double> got;
    std::vector<UINT> from;
    uint32_t count = 0;
    BOOL found = FALSE;
    for (INT_PTR k = 0; k < keys.GetSize(); ++k) {
        T_PDDELEM_D rec;
        if (!table.Get(keys[k], elem, rec)) continue;
        const CArray<double, double>& v = KindValues(rec, kind);
        if (got.size() < static_cast<size_t>(v.GetSize())) {
            got.resize(v.GetSize());
            from.resize(v.GetSize());
        }
        TakeValues(v, keys[k], got.data(), from.data(), count);
        found = TRUE;
    }
    ToArrays(got.data(), from.data(), count, values, combs);
    return found;
}

void CPDDElemValues::Widen(size_t width) {
    std::vector<double> values(m_count.size() * width);
    std::vector<UINT> combs(values.size());
    for (size_t i = 0; i < m_count.size(); ++i) {
        if (m_count[i] == kNoRow) continue;
        std::copy_n(m_values.begin() + i * m_width, m_count[i], values.begin() + i * width);
        std::copy_n(m_combs.begin() + i * m_width, m_count[i], combs.begin() + i * width);
    }
    m_values.swap(values);
    m_combs.swap(combs);
    m_width = width;
}

BOOL CPDDElemValues::Read(CDataBase* pDB, const CArray<UINT, UINT>& elems, UINT loadKey, int kind) {
    m_width = 0;
    m_values.clear();
    m_combs.clear();
    m_count.assign(elems.GetSize(), kNoRow);
    if (!pDB) return FALSE;
    auto& table = pDB->Table<DBT_PDDELEM>();
    CArray<UINT, UINT> keys;
    LoadKeys(pDB, loadKey, keys);
    for (INT_PTR k = 0; k < keys.GetSize(); ++k) {
        for (size_t i = 0; i < m_count.size(); ++i) {
            const T_PDDELEM_D* rec = table.Find(keys[k], elems[i]);
            if (!rec) continue;
            const CArray<double, double>& v = KindValues(*rec, kind);
            if (static_cast<size_t>(v.GetSize()) > m_width) Widen(v.GetSize());
            if (m_count[i] == kNoRow) m_count[i] = 0;
            TakeValues(v, keys[k], m_values.data() + i * m_width, m_combs.data() + i * m_width, m_count[i]);
        }
        table.ForgetLoad(keys[k]);
    }
    return TRUE;
}

BOOL CPDDElemValues::Get(size_t i, CArray<double, double>& values, CArray<double, double>& combs) const {
    values.RemoveAll();
    combs.RemoveAll();
    if (i >= m_count.size() || m_count[i] == kNoRow) return FALSE;
    ToArrays(m_values.data() + i * m_width, m_combs.data() + i * m_width, m_count[i], values, combs);
    return TRUE;
}
