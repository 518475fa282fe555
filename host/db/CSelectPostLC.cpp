#include "host/db/CSelectPostLC.h"
#include "host/db/CDBDoc.h"

namespace {
DWORD TypeBit(UINT type) {
    switch (type) {
        case 1: return 0x1;
        case 2: return 0x2;
        case 4: return 0x8;
        case 5: return 0x10;
        case 9: return 0x100;
        case 10: return 0x10000;
        case 11: return 0x20000;
        case 12: return 0x40000;
        default: return 0;
    }
}
// Load type code of a load case kind.
UINT CaseTypeCode(int kind) {
    switch (kind) {
        case PLOAD_STATIC: return 1;
        case PLOAD_DYNAMIC: return 2;
        case PLOAD_SETTLEMENT: return 4;
        case PLOAD_TIMEHISTORY: return 5;
        default: return 0;
    }
}
}  // namespace

CDataBase* CSelectLCBase::Db() const {
    if (m_pDB) return m_pDB;
    return CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost() : nullptr;
}

UINT CSelectLCBase::CombinationLoadType(int plcomType, DWORD mask) {
    if (plcomType == PLCOM_ENVELOPE) return (mask & 0x40000) ? 12 : 0;
    return (mask & 0x100) ? 9 : (mask & 0x10000) ? 10 : (mask & 0x20000) ? 11 : 0;
}

int CSelectLCBase::SetLoadType(DWORD mask, int, int, int) {
    UINT oldType = 0, oldKey = 0;
    bool had = GetSelectedLoad(oldType, oldKey, nullptr) != 0;
    m_items.clear();
    m_nSel = -1;
    CDataBase* db = Db();
    if (db) {
        const auto& cases = db->Table<DBT_PSTLD>();
        for (size_t i = 0; i < cases.Keys().size(); ++i) {
            UINT t = CaseTypeCode(cases.Records()[i].type);
            if (TypeBit(t) & mask) m_items.push_back({t, cases.Keys()[i], cases.Records()[i].name});
        }
        const auto& combs = db->Table<DBT_PLCOM>();
        for (size_t i = 0; i < combs.Keys().size(); ++i) {
            const UINT t = CombinationLoadType(combs.Records()[i].type, mask);
            if (t) m_items.push_back({t, combs.Keys()[i], combs.Records()[i].name});
        }
    }
    if (had)
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].type == oldType && m_items[i].key == oldKey) m_nSel = static_cast<int>(i);
    if (m_nSel < 0) {
        m_nStep = 0;
        if (!m_items.empty()) m_nSel = 0;
    }
    return static_cast<int>(m_items.size());
}

int CSelectLCBase::ChangeSelect(UINT type, UINT key, int step) {
    if (step < 0 || step > 3) return 0;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].type == type && m_items[i].key == key) {
            m_nSel = static_cast<int>(i);
            m_nStep = step;
            return 1;
        }
    return 0;
}

int CSelectLCBase::GetSelectedLoad(UINT& type, UINT& key, int* step) const {
    if (m_nSel < 0 || m_nSel >= static_cast<int>(m_items.size())) return 0;
    type = m_items[static_cast<size_t>(m_nSel)].type;
    key = m_items[static_cast<size_t>(m_nSel)].key;
    if (step) *step = m_nStep;
    return 1;
}

int CSelectLCBase::GetSelectedLoadByIndex(int i, UINT& type, UINT& key, CString* name) const {
    if (i < 0 || i >= static_cast<int>(m_items.size())) return 0;
    type = m_items[static_cast<size_t>(i)].type;
    key = m_items[static_cast<size_t>(i)].key;
    if (name) *name = m_items[static_cast<size_t>(i)].name;
    return 1;
}

CString CSelectLCBase::GetSelectedText() const {
    if (m_nSel < 0 || m_nSel >= static_cast<int>(m_items.size())) return CString();
    static const char* const kStep[4] = {"", ",Max", ",Min", ",All"};
    CString s = m_items[static_cast<size_t>(m_nSel)].name;
    s += kStep[m_nStep];
    return s;
}
