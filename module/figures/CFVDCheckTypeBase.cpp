#include "module/figures/CFVDCheckTypeBase.h"

#include "host/check/ICheckToolUtil.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDCatalogue.h"
#include "module/figures/FigureCheckText.h"

IMPLEMENT_DYNAMIC(CFVDCheckTypeBase, CFVDBase)

void CFVDCheckTypeBase::SetDefaultOptions() {
    if (sFVDDisplaySettings* s = GetDisplaySettings()) FVDApplyCheckDefaults(*s);
}

BOOL CFVDCheckTypeBase::NeedsEdgeTextPlacement(UINT sectionKey) {
    T_FOSP_D section;
    if (!ICheckToolUtil::s_GetFosp(sectionKey, section)) return 0;
    return section.type == 2 && (section.option1 == 1 || section.option2 != 0) ? 1 : 0;
}

void CFVDCheckTypeBase::CollectCheckLoadCasesOf(std::map<UINT, CString>& out) {
    if (m_eType > 90) CollectCheckLoadCases(out, 0, TRUE, nullptr);
}

std::set<UINT> CFVDCheckTypeBase::ListedGroups() {
    std::map<UINT, CString> listed;
    CollectLoadCases(listed);
    std::set<UINT> keys;
    for (const auto& kv : listed)
        if (kv.first != 0) keys.insert(kv.first);
    return keys;
}
