#include "module/designdata/DesignHostLists.h"

#include <memory>
#include <unordered_set>

#include "host/check/IDesignToolUtil.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/CPostCtrl.h"
#include "host/db/FoundationRecords.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/designdata/DesignMemberTypes.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"

namespace {

// Components of the design tool's stations (LOAD_DATA): 1 shear z, 3 moment y.
constexpr int kShearZ = 1;
constexpr int kMomentY = 3;

CDataBase* PostDB(I_PVXModel& m) {
    CDBDoc* doc = m.GetDBDoc();
    return doc && doc->GetMDBCtrl() ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

// The foundation-model member a member of the analysis model comes from, of the given type.
bool IsFoundationMember(CDataBase& db, const T_PMEMB_D& memb, int nType) {
    const T_MEMB_D* f = db.Table<DBT_MEMB>().Find(memb.modelKey);
    return f && f->type == nType;
}


}  // namespace

int FillFoundationBeamEnvelope(I_PVXModel& m, CFigureDesignData& d, UINT nLoadKey) {
    CArray<UINT, UINT> keys;
    CArray<T_BEAM_BM, T_BEAM_BM&> list;
    CDataBase* db = PostDB(m);
    CPVXAttrCtrl* attr = m.GetAttrCtrl();
    const int comp = m.m_pFigure && d.GetFigureMode() == 36 ? kShearZ : kMomentY;
    // A foundation beam modelled by two members (its plate-section member and a beam copy on the
    // same line) is one beam: the first of its members in member order stands for it.
    std::unordered_set<UINT> taken;
    for (INT_PTR i = 0; db && attr && i < m.m_arrFlagMembKey.GetSize(); ++i) {
        const UINT key = m.m_arrFlagMembKey[i];
        T_PMEMB_D memb;
        if (!attr->GetMemb(key, memb) || memb.aNode.GetSize() < 2) continue;
        if (memb.type != 201 && memb.type != 205 && memb.type != 204) continue;
        if (!IsFoundationMember(*db, memb, MEMB_BEAM) || taken.count(memb.modelKey)) continue;
        CHECK_LOAD_ARRAY hi, lo;
        if (!IDesignToolUtil::s_GetBeamDesignForce(key, nLoadKey, hi, lo, db) || hi.GetSize() != 9) continue;
        if (lo.GetSize() == 0) lo = hi;  // one load: its values are both extremes
        T_BEAM_BM rec;
        C3DPoint start, end;
        if (!d.ReadBeamLine(key, start, end)) continue;
        for (int k = 0; k < 9; ++k) {
            CUtilFuncs::GetInnerLinePoint(k, 8 - k, start, end, rec.pt[k]);
            rec.dVal[0][k] = hi[k].d[comp];
            rec.dVal[1][k] = lo[k].d[comp];
        }
        // The ends exactly as the nodes give them: the envelope walk finds a beam's record by them.
        rec.pt[0] = start;
        rec.pt[8] = end;
        for (int r = 0; r < 2; ++r) {
            int best = 1;
            for (int k = 2; k <= 7; ++k)
                if (rec.dVal[r][k] > rec.dVal[r][best]) best = k;
            rec.nMaxIdx[r] = best;
        }
        list.Add(rec);
        keys.Add(key);
        taken.insert(memb.modelKey);
    }
    d.SetMemberKeys(keys);
    d.SetEnvelopeList(list);
    d.RangeEnvelopeList();
    return static_cast<int>(list.GetSize());
}

int CountFoundationBeams(I_PVXModel& m) {
    CDataBase* db = PostDB(m);
    return db ? static_cast<int>(db->Table<DBT_BEAM>().Count()) : 0;
}

int FillBaseColumnForces(I_PVXModel& m, CFigureDesignData& d) {
    CFigureDesignData::BaseShearMap map;
    CDataBase* db = PostDB(m);
    CPVXAttrCtrl* attr = m.GetAttrCtrl();
    if (!db || !attr) return -1;
    // The column forces of the load selection, as display mode 32 gathers them.
    auto engine = std::make_unique<CForceEngine>(&m);
    const int nSavedMode = m.m_nDisplayMode;
    m.m_nDisplayMode = PVXMode::kFigColumnForce;
    const int built = engine->InitEngine(m.m_pDeformEngine, PVXMode::kFigColumnForce);
    m.m_nDisplayMode = nSavedMode;
    CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> forces;
    engine->GetCForcData(forces);
    if (!built && forces.GetSize() == 0) return -1;
    // Only the columns the host made active (flag 1).
    std::unordered_set<UINT> active(m.m_arrFlagMembKey.GetData(),
                                    m.m_arrFlagMembKey.GetData() + m.m_arrFlagMembKey.GetSize());
    for (INT_PTR i = 0; i < forces.GetSize(); ++i) {
        const T_PVX_BFORC_D& f = forces[i];
        T_PMEMB_D memb;
        if (!active.count(f.nMembKey) || !attr->GetMemb(f.nMembKey, memb) ||
            !IsFoundationMember(*db, memb, MEMB_COLUMN))
            continue;
        // The base is the lower end (the first node of a column drawn upwards).
        const bool bFirst = f.ptI.z <= f.ptJ.z;
        T_BASE_SHEAR_D rec;
        rec.nKey = f.nMembKey;
        for (int k = 0; k < 5; ++k) rec.d[k] = f.dForce[(bFirst ? 0 : 5) + k];
        rec.pt[0] = bFirst ? f.ptI : f.ptJ;
        rec.pt[1] = bFirst ? f.ptJ : f.ptI;
        map.SetAt(rec.nKey, rec);
    }
    d.SetBaseShear(map);
    return static_cast<int>(map.GetCount());
}

std::string MissingColumnForces(I_PVXModel& m, const CArray<UINT, UINT>& members) {
    CPVXAttrCtrl* attr = m.GetAttrCtrl();
    CPostCtrl* post = m.GetDBDoc() ? m.GetDBDoc()->GetPostCtrl() : nullptr;
    if (!attr || !post) return {};
    int nColumns = 0, nMissing = 0;
    UINT first = 0;
    for (INT_PTR i = 0; i < members.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!attr->GetMemb(members[i], memb) || memb.type != designmember::kColumnType) continue;
        ++nColumns;
        T_MBCL_D rec;
        const int step = m.m_nLoadStep;
        const int read = post->GetMbcl(members[i], step <= 1 ? &rec : nullptr, step == 2 ? &rec : nullptr,
                                       step == 3 ? &rec : nullptr, 0);
        if (read) continue;
        ++nMissing;
        if (!first || members[i] < first) first = members[i];
    }
    if (!nMissing) return {};
    const std::string load = "the load \"" + std::string(m.m_strLoadName.GetString()) + "\"";
    if (nMissing == nColumns) return "the project holds no column forces (table MBCL) for " + load;
    return "the project holds no column forces (table MBCL) of column member " + std::to_string(first) + " for " + load +
           " (" + std::to_string(nMissing) + " of its " + std::to_string(nColumns) + " columns have none)";
}
