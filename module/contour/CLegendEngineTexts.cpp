// Texts of the legend panel: result kind, component, unit, load, extremes, file and date, and
// the number formats of the scales.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CLegendEngine.h"
#include "module/contour/LegendText.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/force/CForceEngine.h"
#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/DBResultRecords.h"
#include "module/model/I_PVXModel.h"

namespace {

// Key of index i of a list, or null when i lies outside it.
template <size_t N>
LPCTSTR Pick(const char* const (&keys)[N], int i) {
    return (i >= 0 && i < static_cast<int>(N)) ? keys[i] : nullptr;
}

const char* const kReacComp[] = {"IDS_TBX_PVX_FORCE_X",  "IDS_TBX_PVX_FORCE_Y",  "IDS_TBX_PVX_FORCE_Z",
                                 "IDS_TBX_PVX_FORCE_XYZ", "IDS_TBX_PVX_MOMENT_X", "IDS_TBX_PVX_MOMENT_Y",
                                 "IDS_TBX_PVX_MOMENT_Z",  "IDS_TBX_PVX_MOMENT_XYZ"};
const char* const kDispComp[] = {"IDS_TBX_PVX_X_DIRECTION",  "IDS_TBX_PVX_Y_DIRECTION", "IDS_TBX_PVX_Z_DIRECTION",
                                 "IDS_TBX_PVX_RESULTANT",    "IDS_TBX_PVX_X_ROTATION",  "IDS_TBX_PVX_Y_ROTATION",
                                 "IDS_TBX_PVX_Z_ROTATION",   "IDS_TBX_PVX_XY_DIRECTION", "IDS_TBX_PVX_YZ_DIRECTION",
                                 "IDS_TBX_PVX_XZ_DIRECTION"};
const char* const kFrameComp[] = {"IDS_TBX_PVX_AXIAL",    "IDS_TBX_PVX_SHEAR_y",  "IDS_TBX_PVX_SHEAR_z",
                                  "IDS_TBX_PVX_TORSION",  "IDS_TBX_PVX_MOMENT_y", "IDS_TBX_PVX_MOMENT_z",
                                  "IDS_TBX_PVX_SHEAR_yz", "IDS_TBX_PVX_MOMENT_yz"};
const char* const kStressComp[] = {"SIG-XX", "SIG-YY", "SIG-XY", "IDS_TBX_PVX_SIG_MAX", "IDS_TBX_PVX_SIG_MIN",
                                   "IDS_TBX_PVX_SIG_EFF", "IDS_TBX_PVX_SHEAR_Max", "IDS_TBX_PVX_VECTOR"};
const char* const kSlabComp[] = {"IDS_TBX_PVX_MOMENT_Mxx", "IDS_TBX_PVX_MOMENT_Myy", "IDS_TBX_PVX_MOMENT_Mxy",
                                 "IDS_TBX_PVX_SHEAR_Vxx",  "IDS_TBX_PVX_SHEAR_Vyy",  "IDS_TBX_PVX_SHEAR_Max",
                                 "IDS_TBX_PVX_FORCE_Fxx",  "IDS_TBX_PVX_FORCE_Fyy",  "IDS_TBX_PVX_FORCE_Fxy"};

LPCTSTR PlateCompKey(int c) {
    switch (c) {
    case 0: return "IDS_TBX_PVX_FORCE_Fxx";
    case 1: return "IDS_TBX_PVX_FORCE_Fyy";
    case 2: return "IDS_TBX_PVX_FORCE_Fxy";
    case 3: return "IDS_TBX_PVX_FORCE_Max";
    case 4: return "IDS_TBX_PVX_FORCE_Min";
    case 5: return "IDS_TBX_PVX_FORCE_Vector";
    case 6: return "IDS_TBX_PVX_MOMENT_Mxx";
    case 7: return "IDS_TBX_PVX_MOMENT_Myy";
    case 8: return "IDS_TBX_PVX_MOMENT_Mxy";
    case 9: return "IDS_TBX_PVX_MOMENT_Max";
    case 10: return "IDS_TBX_PVX_MOMENT_Min";
    case 11: return "IDS_TBX_PVX_FORCE_Vector";
    case 12: return "IDS_TBX_PVX_SHEAR_Vxx";
    case 13: return "IDS_TBX_PVX_SHEAR_Vyy";
    case 14: case 15: return "IDS_TBX_PVX_FORCE_AbsMax";
    case 16: return "IDS_TBX_PVX_SHEAR_Max";
    default: return nullptr;
    }
}

// Whether fmt holds exactly one conversion, of one of the given kinds, with nothing but flags,
// width, precision and (for doubles) an "l" before it.
bool IsSingleConversion(const char* fmt, const char* kinds, bool bAllowL) {
    if (!fmt) return false;
    int nConv = 0;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0", *p)) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        if (bAllowL && *p == 'l') ++p;
        if (!*p || !std::strchr(kinds, *p)) return false;
        ++nConv;
    }
    return nConv == 1;
}

// Whether the project's analysis model has pile members (type 403).
bool HasPileMembers(CDBDoc* doc) {
    CDataBase* db = doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
    if (!db) return false;
    const auto& membs = db->Table<DBT_PMEMB>();
    for (UINT k : membs.Keys())
        if (membs.Find(k)->type == 403) return true;
    return false;
}

}  // namespace

CString LegendFormatKeyInt(LPCTSTR pszKey, int nValue) {
    const CString fmt = legendtext::Load(pszKey);
    CString out;
    if (IsSingleConversion(fmt, "di", false)) {
        out.Format(fmt, nValue);
    } else {
        out.Format("%s %d", fmt.GetString(), nValue);
    }
    return out;
}

CString LegendFormatKeyDouble(LPCTSTR pszKey, double dValue) {
    const CString fmt = legendtext::Load(pszKey);
    CString out;
    if (IsSingleConversion(fmt, "eEfgG", true)) {
        out.Format(fmt, dValue);
    } else {
        out.Format("%s %.3E", fmt.GetString(), dValue);
    }
    return out;
}

// ---- header texts -----------------------------------------------------------------------------

void CLegendEngine::GetPvxInstruction(CString& str) {
    const I_PVXModel* m = m_pModel;
    LPCTSTR key = nullptr;
    using namespace PVXMode;
    switch (GetLegendDisplayMode()) {
    case kReaction:
        // The supports' reactions are the piles' only where the project has piles.
        key = (m && m->m_pReactionEngine && m->m_pReactionEngine->m_nDataKind == CReactionEngine::KIND_REACTION &&
               HasPileMembers(m_pModel ? m_pModel->GetDBDoc() : CDBDoc::m_pDBDoc))
                  ? "IDS_TBX_PVX_Reaction_Pile"
                  : "IDS_TBX_PVX_Reaction_Reverse";
        break;
    case kDeformedShape: key = "IDS_TBX_PVX_DEFORMED_SHAPE"; break;
    case kDispContour: key = "IDS_TBX_PVX_DISPLACEMENT"; break;
    case kModeShape: key = "IDS_TBX_PVX_VIBRATION_MODE"; break;
    case kStoryShearRatio:
        key = (m && m->m_pForceEngine && m->m_pForceEngine->m_nSSFROutput != 0) ? "IDS_TBX_PVX_STORY_SHEAR_RATIO"
                                                                                : "IDS_TBX_PVX_STORY_SHEAR_FORCE";
        break;
    case kFrameForceContour: key = "IDS_TBX_PVX_FRAME_FORCE"; break;
    case kFrameForceDiagram: case kDesignMoment: case kDesignShear: key = "IDS_TBX_PVX_FRAME_DIAGRAM"; break;
    case kWallForceContour: key = "IDS_TBX_PVX_WALL_FORCE"; break;
    case kWallForceDiagram: key = "IDS_TBX_PVX_WALL_DIAGRAM"; break;
    case kPlateForce: case kPlateStress: key = "IDS_TBX_PVX_DETAIL_RESULT"; break;
    case kSlabForce: key = "IDS_TBX_PVX_SLAB_FORCE"; break;
    case kSlabRebar: key = "IDS_TBX_PVX_SLAB_REBAR"; break;
    case kSlabCrack: key = "IDS_TBX_PVX_SLAB_CRACK"; break;
    case kSlabDeflection: key = "IDS_TBX_PVX_SLAB_DEFLECTION"; break;
    case kSlabWall: key = "IDS_TBX_PVX_SLAB_DETAIL_WALL"; break;
    case kSlabStrip: key = "IDS_TBX_PVX_SLAB_DETAIL_STRIP"; break;
    case kSlabForceBeam: key = "IDS_TBX_PVX_BEAM_MAT_FORCE"; break;
    case kDesignSteel: key = "IDS_TBX_PVX_STEEL_DIAGRAM"; break;
    case kDesignACR: key = "IDS_TBX_PVX_AXIAL_FORCE_RATIO"; break;
    case kDesignBaseForce: key = "IDS_TBX_PVX_BASE_COLUMN_FORCE"; break;
    case kTimeHistory: key = "IDS_TBX_PVX_TH_DISPL_VEL_ACCEL"; break;
    case kSettlement: key = "IDS_TBX_PVX_Settlement"; break;
    case kReactionContour: key = "IDS_TBX_PVX_Reaction_Footing"; break;
    default: break;
    }
    if (key) str = legendtext::Load(key);
}

int CLegendEngine::GetDisplayComponent(CString& str) {
    const I_PVXModel* m = m_pModel;
    const int nMode = GetLegendDisplayMode();
    LPCTSTR key = nullptr;
    using namespace PVXMode;
    switch (nMode) {
    case kReaction: case kReactionContour:
        if (m && m->m_pReactionEngine) key = Pick(kReacComp, m->m_pReactionEngine->m_nComponent);
        break;
    case kDeformedShape: case kDispContour: case kTimeHistory:
        if (nMode == kDeformedShape && m && m->m_bContour && m->m_nLoadType == 17)
            key = "IDS_TBX_PVX_HINGE_STATUS";
        else if (m && m->m_pDeformEngine)
            key = Pick(kDispComp, m->m_pDeformEngine->m_nComponent);
        break;
    case kFrameForceContour: case kFrameForceDiagram:
        if (m && m->m_pForceEngine) key = Pick(kFrameComp, m->m_pForceEngine->m_nBForcComp);
        break;
    case kWallForceContour: case kWallForceDiagram:
        if (m && m->m_pForceEngine) key = Pick(kFrameComp, m->m_pForceEngine->m_nWForcComp);
        break;
    case kPlateForce:
        if (m && m->m_pForceEngine) key = PlateCompKey(m->m_pForceEngine->m_nPForcComp);
        break;
    case kPlateStress:
        if (m && m->m_pStressEngine) key = Pick(kStressComp, m->m_pStressEngine->m_nComponent);
        break;
    case kSlabForce:
        if (m && m->m_pForceEngine) {
            if (m->m_pForceEngine->m_nSForcKind == 0)
                str.Empty();
            else if (m->m_pForceEngine->m_nSForcKind == 1)
                key = Pick(kSlabComp, m->m_pForceEngine->m_nSForcComp);
        }
        break;
    case kDesignMoment: key = "IDS_TBX_PVX_MOMENT_y"; break;
    case kDesignShear: key = "IDS_TBX_PVX_SHEAR_z"; break;
    default:
        return 0;
    }
    // The stress components without a key are plain texts.
    if (key) str = std::strncmp(key, "IDS_", 4) == 0 ? legendtext::Load(key) : CString(key);
    return 1;
}

void CLegendEngine::LoadUnit(int nCode, CString& str) {
    CDBDoc* pDoc = m_pModel ? m_pModel->GetDBDoc() : CDBDoc::m_pDBDoc;
    if (pDoc) pDoc->GetUnitCtrl()->GetUnitSystem(nCode, str);
}

void CLegendEngine::GetUnitString(CString& str) {
    const I_PVXModel* m = m_pModel;
    using namespace PVXMode;
    switch (GetLegendDisplayMode()) {
    case kReaction: case kReactionContour: GetReacUnitStr(str); break;
    case kDeformedShape: case kDispContour: case kTimeHistory: case kSettlement: GetDispUnitStr(str); break;
    case kModeShape: GetEgMdShpUnitStr(str); break;
    case kFrameForceContour: case kFrameForceDiagram: GetBeamUnitStr(str); break;
    case kWallForceContour: case kWallForceDiagram: GetWallUnitStr(str); break;
    case kPlateForce: case kPlateStress: GetPlateUnitStr(str); break;
    case kLengthLegend: case kSlabCrack: LoadUnit(1, str); break;
    case kSlabForce: GetSlabUnitStr(str); break;
    case kSlabWall:
        // The wall-end values are whole across the cut, not per metre: the unit of the value written.
        if (m && m->m_pForceEngine) {
            switch (m->m_pForceEngine->m_nSWallComp) {
            case 0: GetDsgnMomentUnitStr(str); break;
            case 1: GetDsgnForceUnitStr(str); break;
            case 2: GetDsgnSteelUnitStr(str); break;
            default: break;
            }
        }
        break;
    case kSlabRebar: LoadUnit(9, str); break;
    case kStoryShearRatio:
        // Ratios have no unit.
        if (m && m->m_pForceEngine && m->m_pForceEngine->m_nSSFROutput == 0) LoadUnit(PVXUNIT_FORCE, str);
        break;
    case kSlabDeflection: LoadUnit(PVXUNIT_MM, str); break;
    // Strip and rib forces are totals over the strip's width.
    case kSlabStrip:
        if (m && m->m_pForceEngine) LoadUnit(m->m_pForceEngine->m_nCLForcComp == 1 ? PVXUNIT_FORCE : PVXUNIT_MOMENT, str);
        break;
    case kSlabForceBeam:
        if (m && m->m_pForceEngine) {
            if (m->m_pForceEngine->m_nSForcUnit == 1)
                LoadUnit(m->m_pForceEngine->m_nCLForcComp == 1 ? PVXUNIT_FORCE : PVXUNIT_MOMENT, str);
            else if (m->m_pForceEngine->m_nSForcKind == 0)
                LoadUnit(13, str);
            else
                LoadUnit(m->m_pForceEngine->m_nBForcNumUnit == 0 ? 12 : 2, str);
        }
        break;
    case kDesignSteel: GetDsgnSteelUnitStr(str); break;
    // A ratio has no unit; the base forces give theirs with each label line of the scale.
    case kDesignShear: GetDsgnForceUnitStr(str); break;
    case kDesignMoment: GetDsgnMomentUnitStr(str); break;
    default: break;
    }
}

void CLegendEngine::GetDispUnitStr(CString& str) {
    const CDeformEngine* e = m_pModel ? m_pModel->m_pDeformEngine : nullptr;
    if (!e) return;
    if (e->IsTimeHistVelAcc()) {
        if (e->m_nTHKind == 1)
            LoadUnit(22, str);
        else if (e->m_nTHKind == 2 || e->m_nTHKind == 3)
            LoadUnit(21, str);
        return;
    }
    int entry = -1;
    switch (e->m_nComponent) {
    case 0: case 3: case 7: case 8: case 9: entry = 0; break;
    case 1: entry = 1; break;
    case 2: entry = 2; break;
    case 4: entry = 3; break;
    case 5: entry = 4; break;
    case 6: entry = 5; break;
    default: return;
    }
    LoadUnit(T_DISP_D::unit[entry], str);
}

void CLegendEngine::GetReacUnitStr(CString& str) {
    const CReactionEngine* e = m_pModel ? m_pModel->m_pReactionEngine : nullptr;
    if (!e) return;
    int entry = -1;
    switch (e->m_nComponent) {
    case 0: case 3: entry = 0; break;
    case 1: entry = 1; break;
    case 2:
        // Spring pressures under rafts and beams are stored as contact pressures.
        if (GetLegendDisplayMode() == PVXMode::kReactionContour) {
            LoadUnit(T_STWS_D::unit[0], str);
            return;
        }
        entry = 2;
        break;
    case 4: case 7: entry = 3; break;
    case 5: entry = 4; break;
    case 6: entry = 5; break;
    default: return;
    }
    LoadUnit(T_REAC_D::unit[entry], str);
}

void CLegendEngine::GetBeamUnitStr(CString& str) {
    const CForceEngine* e = m_pModel ? m_pModel->m_pForceEngine : nullptr;
    if (!e) return;
    int entry = -1;
    switch (e->m_nBForcComp) {
    case 0: entry = 0; break;
    case 1: case 6: entry = 1; break;
    case 2: entry = 2; break;
    case 3: entry = 3; break;
    case 4: case 7: entry = 4; break;
    case 5: entry = 5; break;
    default: return;
    }
    LoadUnit(T_MBWG_D::unit[entry], str);
}

void CLegendEngine::GetWallUnitStr(CString& str) {
    const CForceEngine* e = m_pModel ? m_pModel->m_pForceEngine : nullptr;
    if (!e) return;
    const int c = e->m_nWForcComp;
    const int entry = c == 6 ? 1 : (c == 7 ? 4 : c);
    if (entry < 0 || entry >= static_cast<int>(sizeof(T_STRW_D::unit) / sizeof(T_STRW_D::unit[0]))) return;
    LoadUnit(T_STRW_D::unit[entry], str);
}

void CLegendEngine::GetPlateUnitStr(CString& str) {
    const int nMode = GetLegendDisplayMode();
    if (nMode == PVXMode::kReaction || !m_pModel) return;
    if (nMode == PVXMode::kPlateStress) {
        const CStressEngine* s = m_pModel->m_pStressEngine;
        // The arrows of the vectors are stresses too.
        if (s && s->m_nComponent >= 0 && s->m_nComponent <= 7) LoadUnit(T_STRP_DL::unit[6], str);
        return;
    }
    const CForceEngine* e = m_pModel->m_pForceEngine;
    if (!e) return;
    int entry = -1;
    switch (e->m_nPForcComp) {
    case 0: entry = 20; break;
    case 1: entry = 21; break;
    case 2: entry = 22; break;
    case 3: case 5: case 14: entry = 23; break;
    case 4: entry = 24; break;
    case 6: entry = 26; break;
    case 7: entry = 27; break;
    case 8: case 9: case 11: case 15: entry = 28; break;
    case 10: entry = 30; break;
    case 12: entry = 32; break;
    case 13: case 16: entry = 33; break;
    default: return;
    }
    LoadUnit(T_STRP_DL::unit[entry], str);
}

void CLegendEngine::GetSlabUnitStr(CString& str) {
    const CForceEngine* e = m_pModel ? m_pModel->m_pForceEngine : nullptr;
    if (!e) return;
    static const int kEntry[9] = {26, 27, 28, 32, 33, 33, 20, 21, 22};
    const int c = e->m_nSForcComp;
    if (c < 0 || c >= 9) return;
    LoadUnit(T_STRP_DL::unit[kEntry[c]], str);
}

void CLegendEngine::GetEgMdShpUnitStr(CString& str) { LoadUnit(T_MODE_D::unit[0], str); }

void CLegendEngine::GetDutlFactUnitStr(CString& str) {
    const CDeformEngine* e = m_pModel ? m_pModel->m_pDeformEngine : nullptr;
    if (!e) return;
    const int sub = e->m_nDuctSubKind;
    switch (e->m_nDuctKind) {
    case 0: case 1: case 2: case 5:
        str = "None";
        break;
    case 3: {
        CString strLen;
        LoadUnit(1, strLen);
        if (sub >= 0 && sub <= 2)
            str.Format("L:%s,D:%s", strLen.GetString(), "None");
        else if (sub >= 3 && sub <= 5)
            str.Format("L:%s,D:%s/%s", "r", "r", strLen.GetString());
        break;
    }
    case 4:
        if (sub >= 0 && sub <= 2)
            LoadUnit(2, str);
        else if (sub >= 3 && sub <= 5)
            LoadUnit(12, str);
        break;
    default:
        break;
    }
}

void CLegendEngine::GetDsgnSteelUnitStr(CString& str) { LoadUnit(PVXUNIT_STEEL, str); }

void CLegendEngine::GetDsgnForceUnitStr(CString& str) { LoadUnit(PVXUNIT_DSGN_FORCE, str); }

void CLegendEngine::GetDsgnMomentUnitStr(CString& str) { LoadUnit(PVXUNIT_DSGN_MOMENT, str); }

void CLegendEngine::GetLoadString(CString& str) {
    if (!m_pModel) return;
    GetWidthFittingStr(m_pModel->m_strLoadName, str);
    // A time history says which of its steps it draws (numbered from 0, as the step option takes
    // them) and when that is.
    const CDeformEngine* d = m_pModel->m_pDeformEngine;
    if (GetLegendDisplayMode() == PVXMode::kTimeHistory && d && d->m_dTimeStepTime >= 0.0) {
        str += " " + LegendFormatKeyInt("IDS_TBX_PVX_TH_STEP__d", d->m_nTimeStep) + " " +
               LegendFormatKeyDouble("IDS_TBX_PVX_TH_TIME__g", d->m_dTimeStepTime);
    }
    // An envelope says which side it shows.
    if (m_pModel->m_nLoadType != 12) return;
    LPCTSTR key = nullptr;
    switch (m_pModel->m_nLoadStep) {
    case 1: key = "IDS_TBX_PVX_ENV_MAX"; break;
    case 2: key = "IDS_TBX_PVX_ENV_MIN"; break;
    case 3:
        key = m_pModel->m_pForceEngine && m_pModel->m_pForceEngine->IsMinMaxDiagram() ? "IDS_TBX_PVX_ENV_BOTH"
                                                                                      : "IDS_TBX_PVX_ENV_ABS";
        break;
    default: break;
    }
    if (key) str += " " + legendtext::Load(key);
}

void CLegendEngine::GetWidthFittingStr(CString strIn, CString& strOut) {
    if (strIn.GetLength() < 18) {
        strOut = strIn;
        return;
    }
    // Sixteen bytes, less the start of a character the cut would split.
    const int nKeep = CString::CharBoundary(strIn.GetString(), strIn.GetLength(), 16);
    strOut.Format("%s~", strIn.Left(nKeep).GetString());
}

int CLegendEngine::ExtremeKeyKind() const {
    using namespace PVXMode;
    const int mode = GetLegendDisplayMode();
    const CForceEngine* f = m_pModel ? m_pModel->m_pForceEngine : nullptr;
    switch (mode) {
    case kReaction:
    case kDeformedShape:
    case kDispContour:
    case kNodeDisp:
    case kModeShape:
    case kTimeHistory:
    case kSettlement: return kNodeKeys;
    case kPlateForce:
    case kPlateStress: return kElementKeys;
    case kSlabForce:
    case kSlabForceBeam: return f && f->m_nSForcUnit == 1 ? kElementKeys : kMemberKeys;
    case kSlabRebar: return f && f->m_nSRbarUnit == 1 ? kElementKeys : kMemberKeys;
    case kSlabCrack: return f && f->m_nSCracUnit == 1 ? kElementKeys : kMemberKeys;
    default: return kMemberKeys;  // frame, wall, story and slab-member results, the spring pressures' members
    }
}

void CLegendEngine::GetMnMxValKeyString(CString& strMax, CString& strMin) {
    const UINT nMax = m_pModel ? m_pModel->m_nMaxKey : 0;
    const UINT nMin = m_pModel ? m_pModel->m_nMinKey : 0;
    // The keys say what they number: "最大: 节点 40", "最大: 构件 37", "最大: 单元 12".
    static const char* const kKeys[3][2] = {{"IDS_TBX_PVX_MAX_NODE__d", "IDS_TBX_PVX_MIN_NODE__d"},
                                            {"IDS_TBX_PVX_MAX_MEMB__d", "IDS_TBX_PVX_MIN_MEMB__d"},
                                            {"IDS_TBX_PVX_MAX_ELEM__d", "IDS_TBX_PVX_MIN_ELEM__d"}};
    const char* const* pair = kKeys[ExtremeKeyKind()];
    strMax = nMax ? LegendFormatKeyInt(pair[0], static_cast<int>(nMax)) : legendtext::Load("IDS_TBX_PVX_MAX_NONE");
    strMin = nMin ? LegendFormatKeyInt(pair[1], static_cast<int>(nMin)) : legendtext::Load("IDS_TBX_PVX_MIN_NONE");
}

void CLegendEngine::MakeTitleName(CString& str) {
    const int nChars = (m_pModel && m_pModel->m_pDispOpt) ? m_pModel->m_pDispOpt->m_Legend.m_nLegendWidth : 20;
    // At least one character stays, however narrow the panel.
    int nLimit = nChars - 9;
    if (nLimit < 1) nLimit = 1;
    int nCut = str.Find('.');
    if (nCut < 0 || nCut > nLimit) nCut = CString::CharBoundary(str.GetString(), str.GetLength(), nLimit);
    str = str.Left(nCut);
    str.MakeUpper();
}

void CLegendEngine::FormatDateString(const struct tm& t, CString& str) {
    char szDate[16];
    char szYear[16];
    std::strftime(szDate, sizeof(szDate), "%m/%d/%y", &t);
    std::strftime(szYear, sizeof(szYear), "%Y", &t);
    // Month and day with their slashes, then the four-digit year.
    str = CString(szDate, 6);
    str += szYear;
}

void CLegendEngine::GetDateString(CString& str) {
    const std::time_t now = std::time(nullptr);
    struct tm t {};
    localtime_r(&now, &t);
    FormatDateString(t, str);
}

// ---- number formats ---------------------------------------------------------------------------

int CLegendEngine::GetIntegerPartLength(double dValue) {
    const double ip = std::trunc(dValue);
    if (ip == 0.0 && dValue < 0.0) return 2;
    CString s;
    s.Format("%g", ip);
    return s.GetLength();
}

void CLegendEngine::SetTextOutputSize(double dFirst, double dLast) {
    const double a = std::fabs(dFirst), b = std::fabs(dLast);
    m_bExponent = (a < 100000.0 && b < 100000.0 && (a > 1e-06 || b > 1e-06)) ? 0 : 1;
    auto digits = [this](double v) {
        const int n = GetIntegerPartLength(v);
        int nDigits;
        if (m_bCompact == 1) {
            const int len = n + 6;
            nDigits = 5;
            if (len >= 8) nDigits += (v < 0 ? 8 : 7) - len;
        } else {
            const int len = n + 8;
            nDigits = 7;
            if (len > 9) nDigits += (v < 0 ? 10 : 9) - len;
        }
        return nDigits;
    };
    const int d1 = digits(dFirst), d2 = digits(dLast);
    m_nDecimals = d1 < d2 ? d1 : d2;
    // Huge values (printed in exponent notation anyway) would ask for negative decimals.
    if (m_nDecimals < 0) m_nDecimals = 0;
}

CString LegendNumberText(int bAuto, int nDecimals, double dValue, LPCTSTR pszExp) {
    // The widest field of the scales holds 11 characters.
    const int kField = 11;
    if (nDecimals < 0) nDecimals = 0;
    CString s;
    if (bAuto && nDecimals + 1 + CLegendEngine::GetIntegerPartLength(dValue) < kField + 1) {
        CString fmt;
        fmt.Format("%s%df", "%.", nDecimals);
        s.Format(fmt, dValue);
        if (s.GetLength() <= kField) return s;
    }
    s.Format(pszExp, dValue);
    return s;
}

int LegendLabelsEnd(CDC* pDC, int x, int nMinEnd, std::initializer_list<LPCTSTR> labels) {
    int end = nMinEnd;
    if (pDC)
        for (LPCTSTR s : labels) end = std::max(end, x + static_cast<int>(pDC->GetTextExtent(CString(s)).cx));
    return end;
}

namespace {

// Copies text into a caller buffer of nSize bytes, cut to fit and always terminated.
void CopyText(const CString& text, char* pszOut, size_t nSize) {
    if (!pszOut || nSize == 0) return;
    std::snprintf(pszOut, nSize, "%s", text.GetString());
}

}  // namespace

void CLegendEngine::GetTextDeformedShape(double dValue, char* pszOut, size_t nSize) {
    CopyText(LegendNumberText(m_bAutoDigits, m_nDecimals, dValue, "%.3E"), pszOut, nSize);
}

void CLegendEngine::GetTextReaction(double dValue, char* pszOut, size_t nSize) {
    CopyText(LegendNumberText(m_bAutoDigits, m_nDecimals, dValue, "%.4E"), pszOut, nSize);
}

CString CLegendEngine::GetContValueText(double dValue) const {
    CString s;
    if (m_bExponent || !m_bAutoDigits) {
        s.Format(m_bCompact == 0 ? "%.5e" : "%.3e", dValue);
        return s;
    }
    CString fmt;
    fmt.Format("%s%df", "%.", m_nDecimals);
    s.Format(fmt, dValue);
    return s;
}

void CLegendEngine::TextOutContValue(CDC* pDC, CRect& r, int nCharWidth, int nLineHeight, double dValue,
                                     int bAtBottom) {
    if (!pDC) return;
    const int cw = nCharWidth;
    const int y = (bAtBottom ? r.bottom : r.top) - nLineHeight / 2;
    const bool bNeg = dValue < 0;
    int nOffset, nField;
    if (m_bCompact == 0) {
        nOffset = bNeg ? cw : 2 * cw;
        nField = 13;
    } else {
        nOffset = bNeg ? 3 * cw : 4 * cw;
        nField = 11;
    }
    const CString s = GetContValueText(dValue);
    if (m_bExponent || !m_bAutoDigits) {
        pDC->TextOut(r.right + nOffset, y, s);
        return;
    }
    const int L = m_nDecimals + GetIntegerPartLength(dValue) + 1;
    const int k = bNeg ? nField - L : nField - 1 - L;
    pDC->TextOut(r.right + nOffset + k * cw, y, s);
}

void CLegendEngine::TextOutSubContValue(CDC* pDC, CRect& r, int nCharWidth, int nLineHeight, double dPercent) {
    if (!pDC) return;
    if (m_bCompact != 0 && m_bCompact != 1) return;
    const int y = static_cast<int>((r.top + r.bottom) * 0.5) - nLineHeight / 2;
    pDC->SetTextColor(Legible(m_crPercent, y, y + nLineHeight));
    CString s;
    s.Format(m_bCompact == 0 ? "%.0f%s" : "%.1f%s", dPercent, "%");
    CString ip;
    ip.Format("%g", std::trunc(std::atof(s.GetString())));
    const int n = ip.GetLength();
    // Three digits start a quarter character right of the swatch, which ends two characters
    // left of r.right, not on it.
    const int x = std::max(static_cast<int>(r.right - 1.5 * nCharWidth + (2 - n) * nCharWidth),
                           r.right - 2 * nCharWidth + std::max(1, nCharWidth / 4));
    pDC->TextOut(x, y, s);
    pDC->SetTextColor(m_crText);
}
