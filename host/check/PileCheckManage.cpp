#include "host/check/PileCheckManage.h"

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "host/db/CDataBase.h"
#include "host/db/FoundationTables.h"

int IPiltCheckManage::SetType(int type) {
    if (!m_pDB || (type != 1 && type != 2)) return 0;
    m_nType = type;
    return 1;
}

int IPiltCheckManage::GetCheckData(UINT& key, const T_PCDPILE_D& record, CheckData_P& result) const {
    if (m_nType == 0) return 0;
    if (key == 0) key = record.GetCZLMinRatioLdgpKey(ResultIndex(), 0, m_pGroups);
    PileCZLCheckData_P entry;
    if (!record.m_mapCZL.GetVal(key, entry)) return 0;
    result = entry.GetValue(ResultIndex());
    return std::fabs(result.get_BaseR()) >= 1e-10 ? 1 : 0;
}

namespace {
struct SectionValues {
    double limit = 0.0;
    std::map<UINT, std::vector<double>> byGroup;  // load group -> values of the section's piles
};
}  // namespace

int IPiltCheckManage::GetBaoLuoData(const CArray<UINT, UINT>& piles, UINT loadCase, PileResultMap& results) const {
    results.RemoveAll();
    if (m_nType == 0) return 0;
    CClassPCDPile checks;
    checks.ConnectToDB(m_pDB);
    CClassMemb membs;
    membs.ConnectToDB(m_pDB);
    std::vector<UINT> order;
    std::map<UINT, SectionValues> sections;
    for (INT_PTR i = 0; i < piles.GetSize(); ++i) {
        T_PCDPILE_D rec;
        T_MEMB_D memb;
        if (!checks.GetBearing(piles[i], rec) || !membs.Get(piles[i], memb)) continue;
        const double sign = m_nType == 2 ? -1.0 : 1.0;
        POSITION pos = rec.m_mapCZL.GetStartPosition();
        while (pos) {
            UINT g;
            PileCZLCheckData_P entry;
            rec.m_mapCZL.GetNextAssoc(pos, g, entry);
            if (loadCase != 0 ? g != loadCase : m_pGroups && !m_pGroups->count(g)) continue;
            if (!sections.count(memb.fosp)) order.push_back(memb.fosp);
            SectionValues& s = sections[memb.fosp];
            s.limit = m_nType == 2 ? rec.tu : rec.ra;
            s.byGroup[g].push_back(sign * entry.GetValue(0).get_Force());
        }
    }
    for (UINT sec : order) {
        const SectionValues& s = sections[sec];
        _PileResultInfo best;
        bool haveAve = false, haveMax = false;
        double aveRatio = 0.0, maxRatio = 0.0;
        for (const auto& [g, values] : s.byGroup) {  // ascending keys: ties keep the smallest
            double sum = 0.0, mx = values.front();
            for (double v : values) {
                sum += v;
                mx = std::max(mx, v);
            }
            _PileResultInfo probe;
            probe.m_dLimit = s.limit;
            probe.m_dAveValue = sum / static_cast<double>(values.size());
            probe.m_dMaxValue = mx;
            if (!haveAve || probe.GetAveRatio() < aveRatio) {
                haveAve = true;
                aveRatio = probe.GetAveRatio();
                best.m_dAveValue = probe.m_dAveValue;
                best.m_nAveKey = g;
            }
            if (!haveMax || probe.GetMaxRatio() < maxRatio) {
                haveMax = true;
                maxRatio = probe.GetMaxRatio();
                best.m_dMaxValue = mx;
                best.m_nMaxKey = g;
            }
        }
        best.m_dLimit = s.limit;
        results.SetAt(sec, best);
    }
    return results.GetCount() > 0 ? 1 : 0;
}

void IPiltCheckManage::GetLoadGroups(CArray<UINT, UINT>& keys) const {
    keys.RemoveAll();
    CClassPCDPile checks;
    checks.ConnectToDB(m_pDB);
    CArray<UINT, UINT> piles;
    checks.GetKeyList(piles);
    std::set<UINT> groups;
    for (INT_PTR i = 0; i < piles.GetSize(); ++i) {
        T_PCDPILE_D rec;
        if (!checks.GetBearing(piles[i], rec)) continue;
        POSITION pos = rec.m_mapCZL.GetStartPosition();
        while (pos) {
            UINT g;
            PileCZLCheckData_P entry;
            rec.m_mapCZL.GetNextAssoc(pos, g, entry);
            groups.insert(g);
        }
    }
    for (UINT g : groups) keys.Add(g);
}
