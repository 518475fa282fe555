#include "module/figures/CFVDCatalogue.h"

#include <cstdlib>
#include <cstring>

namespace {

// The catalogue in build order: type, suffix, class, parent group, owner mask, post only,
// number.
const sFVDCatalogueRow kRows[kFVDCatalogueRows] = {
    {EFVDT_BaseMap_Top_Column, "BaseMap_Top_Column", "CFVDBaseMapTopColumn", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_Top_Wall, "BaseMap_Top_Wall", "CFVDBaseMapTopWall", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_COLF, "BaseMap_QSN_COLF", "CFVDBaseMapQSNColf", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_BEAM, "BaseMap_QSN_BEAM", "CFVDBaseMapQSNBeam", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_MTSB, "BaseMap_QSN_MTSB", "CFVDBaseMapQSNMtsb", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_PILE, "BaseMap_QSN_PILE", "CFVDBaseMapQSNPile", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_PILE_Info, "BaseMap_QSN_PILE_Info", "CFVDBaseMapQSNPileInfo", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_AXIG, "BaseMap_QSN_AXIG", "CFVDBaseMapQSNAxis", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_SlabDir, "BaseMap_QSN_SlabDir", "CFVDBaseMapQSNSlabDir", EFVDT_NONE, 4095, TRUE, -1},
    {EFVDT_BaseMap_QSN_SinkMesh, "BaseMap_QSN_SinkMesh", "CFVDBaseMapQSNSinkMesh", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_Sbbd_M, "BaseMap_QSN_Sbbd_M", "CFVDMTSBDesign_Force_Sbbd", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_BaseMap_QSN_Sbbd_AS, "BaseMap_QSN_Sbbd_AS", "CFVDMTSBDesign_As_Sbbd", EFVDT_NONE, 4095, FALSE, -1},
    {EFVDT_Column_CHECK_JY, "Column_CHECK_JY", "CFVDCheck_JY", EFVDT_NONE, 4095, FALSE, 18},
    {EFVDT_ISO, "ISO", nullptr, EFVDT_NONE, 0, FALSE, 0},
    {EFVDT_ISO_CHECK_CZL, "ISO_CHECK_CZL", "CFVDISOCheck_CZL", EFVDT_ISO, 1, FALSE, 1},
    {EFVDT_ISO_CHECK_WEAK, "ISO_CHECK_WEAK", "CFVDISOCheck_Weak", EFVDT_ISO, 1, FALSE, 1},
    {EFVDT_ISO_CHECK_CQ, "ISO_CHECK_CQ", "CFVDISOCheck_CQ", EFVDT_ISO, 1, FALSE, 1},
    {EFVDT_ISO_CHECK_JQ, "ISO_CHECK_JQ", "CFVDISOCheck_JQ", EFVDT_ISO, 1, FALSE, 1},
    {EFVDT_ISO_FORCE_Moment, "ISO_FORCE_Moment", "CFVDISODesign", EFVDT_ISO, 1, TRUE, 1},
    {EFVDT_ISO_DESIGN_As, "ISO_DESIGN_As", "CFVDISOCalAs", EFVDT_ISO, 1, TRUE, 1},
    {EFVDT_ISO_DESIGN_M_BotSlab, "ISO_DESIGN_M_BotSlab", "CFVDBotSlabDesignIso_M", EFVDT_ISO, 1024, TRUE, 3},
    {EFVDT_ISO_DESIGN_As_BotSlab, "ISO_DESIGN_As_BotSlab", "CFVDBotSlabDesignIso_As", EFVDT_ISO, 1024, TRUE, 3},
    {EFVDT_Bean_Froce_Moment_Link, "Bean_Froce_Moment_Link", "CFVDBeamForceMoment_Link", EFVDT_ISO, 512, TRUE, 3},
    {EFVDT_Bean_Froce_Shearing_Link, "Bean_Froce_Shearing_Link", "CFVDBeamForceShearing_Link", EFVDT_ISO, 512, TRUE, 3},
    {EFVDT_Bean_Froce_Torsion_Link, "Bean_Froce_Torsion_Link", "CFVDBeamForceTorsion_Link", EFVDT_ISO, 512, TRUE, 3},
    {EFVDT_BEAM_DESIGN_AS_Link, "BEAM_DESIGN_AS_Link", "CFVDBeamDesign_As_Link", EFVDT_ISO, 512, TRUE, 3},
    {EFVDT_BEAM_DESIGN_CRACK_Link, "BEAM_DESIGN_CRACK_Link", "CFVDBeamDesign_Crack_Link", EFVDT_ISO, 512, TRUE, 3},
    {EFVDT_BEAN, "BEAN", nullptr, EFVDT_NONE, 0, FALSE, 2},
    {EFVDT_Bean_Check_CZL, "Bean_Check_CZL", "CFVDBeamCheck_CZL", EFVDT_BEAN, 2, FALSE, 3},
    {EFVDT_Bean_Froce_Moment, "Bean_Froce_Moment", "CFVDBeamForceMoment", EFVDT_BEAN, 2, TRUE, 3},
    {EFVDT_Bean_Froce_Shearing, "Bean_Froce_Shearing", "CFVDBeamForceShearing", EFVDT_BEAN, 2, TRUE, 3},
    {EFVDT_Bean_Froce_Torsion, "Bean_Froce_Torsion", "CFVDBeamForceTorsion", EFVDT_BEAN, 2, TRUE, 3},
    {EFVDT_BEAM_DESIGN_AS, "BEAM_DESIGN_AS", "CFVDBeamDesign_As", EFVDT_BEAN, 2, TRUE, 3},
    {EFVDT_BEAM_DESIGN_CRACK, "BEAM_DESIGN_CRACK", "CFVDBeamDesign_Crack", EFVDT_BEAN, 2, TRUE, 3},
    {EFVDT_BTSB_DESIGN_Force, "BTSB_DESIGN_Force", "CFVDBotSlabDesign_M", EFVDT_BEAN, 1024, TRUE, 3},
    {EFVDT_BEAM_DESIGN_SLABAS, "BEAM_DESIGN_SLABAS", "CFVDBotSlabDesign_As", EFVDT_BEAN, 1024, TRUE, 3},
    {EFVDT_BEAM_DESIGN_RACT, "BEAM_DESIGN_RACT", "CFVDBeam_Ract", EFVDT_BEAN, 2, TRUE, 3},
    {EFVDT_BEAM_DESIGN_DISP, "BEAM_DESIGN_DISP", "CFVDBeam_Disp", EFVDT_BEAN, 2, TRUE, 3},
    {EFVDT_MTSB, "MTSB", nullptr, EFVDT_NONE, 0, FALSE, 4},
    {EFVDT_MTSB_CHECK, "MTSB_CHECK", nullptr, EFVDT_MTSB, 0, FALSE, 5},
    {EFVDT_MTSB_CHECK_CZL, "MTSB_CHECK_CZL", "CFVDMTSBCheck_CZL", EFVDT_MTSB_CHECK, 28, FALSE, 5},
    {EFVDT_MTSB_CHECK_Center, "MTSB_CHECK_Center", "CFVDMTSBCheck_Center", EFVDT_MTSB_CHECK, 28, FALSE, 5},
    {EFVDT_MTSB_CHECK_KF, "MTSB_CHECK_KF", "CFVDMtsbCheck_KF", EFVDT_MTSB_CHECK, 28, FALSE, 5},
    {EFVDT_MTSB_CHECK_WDX, "MTSB_CHECK_WDX", "CFVDMTSBCheck_WDX", EFVDT_MTSB_CHECK, 28, FALSE, 5},
    {EFVDT_MTSB_CHECK_PLAT, "MTSB_CHECK_PLAT", nullptr, EFVDT_MTSB_CHECK, 0, FALSE, 5},
    {EFVDT_MTSB_CHECK_NT, "MTSB_CHECK_NT", "CFVDMtsbCheck_NT", EFVDT_MTSB_CHECK_PLAT, 12, FALSE, 5},
    {EFVDT_MTSB_CHECK_NTCQ, "MTSB_CHECK_NTCQ", "CFVDMtsbCheck_NTCQ", EFVDT_MTSB_CHECK_PLAT, 12, FALSE, 5},
    {EFVDT_MTSB_CHECK_BHD, "MTSB_CHECK_BHD", "CFVDMtsbCheck_BH", EFVDT_MTSB_CHECK_PLAT, 12, FALSE, 5},
    {EFVDT_MTSB_CHECK_ColCQ, "MTSB_CHECK_ColCQ", "CFVDMTSBCheck_ColCQ", EFVDT_MTSB_CHECK_PLAT, 12, FALSE, 5},
    {EFVDT_MTSB_CHECK_ColJQ, "MTSB_CHECK_ColJQ", "CFVDMTSBCheck_ColJQ", EFVDT_MTSB_CHECK_PLAT, 12, FALSE, 5},
    {EFVDT_MTSB_CHECK_WallCQ, "MTSB_CHECK_WallCQ", "CFVDMTSBCheck_WallCQ", EFVDT_MTSB_CHECK_PLAT, 12, FALSE, 5},
    {EFVDT_MTSB_CHECK_WallJQ, "MTSB_CHECK_WallJQ", "CFVDMTSBCheck_WallJQ", EFVDT_MTSB_CHECK_PLAT, 12, FALSE, 5},
    {EFVDT_MTSB_CHECK_BEAM, "MTSB_CHECK_BEAM", nullptr, EFVDT_MTSB_CHECK, 0, FALSE, 5},
    {EFVDT_MTSB_CHECK_BotSlabCJ, "MTSB_CHECK_BotSlabCJ", "CFVDMTSBCheck_BotSlabCJ", EFVDT_MTSB_CHECK_BEAM, 20, FALSE, 5},
    {EFVDT_MTSB_CHECK_BotSlabJQ, "MTSB_CHECK_BotSlabJQ", "CFVDMTSBCheck_BotSlabJQ", EFVDT_MTSB_CHECK_BEAM, 20, FALSE, 5},
    {EFVDT_MTSB_DESIGN, "MTSB_DESIGN", nullptr, EFVDT_MTSB, 0, FALSE, 5},
    {EFVDT_MTSB_FORCE_ELEMENT, "MTSB_FORCE_ELEMENT", "CFVDMtsb_ElementForce", EFVDT_MTSB_DESIGN, 224, TRUE, 5},
    {EFVDT_MTSB_DESIGN_ELEMENT, "MTSB_DESIGN_ELEMENT", "CFVDMtsb_ElementAs", EFVDT_MTSB_DESIGN, 224, TRUE, 5},
    {EFVDT_MTSB_RACT_ELEMENT, "MTSB_RACT_ELEMENT", "CFVDELEM_Ract", EFVDT_MTSB_DESIGN, 224, TRUE, 5},
    {EFVDT_MTSB_DISP_ELEMENT, "MTSB_DISP_ELEMENT", "CFVDELEM_Disp", EFVDT_MTSB_DESIGN, 224, TRUE, 5},
    {EFVDT_MTSB_DESIGN_React, "MTSB_DESIGN_React", "CFVDMembInfoDrawByNode", EFVDT_MTSB_DESIGN, 224, TRUE, 5},
    {EFVDT_MTSB_DESIGN_Disp, "MTSB_DESIGN_Disp", "CFVDMTSBDesign_Disp", EFVDT_MTSB_DESIGN, 224, TRUE, 5},
    {EFVDT_MTSB_DESIGN_ELERP, "MTSB_DESIGN_ELERP", "CFVDMtsb_EleRp", EFVDT_MTSB_DESIGN, 224, TRUE, 5},
    {EFVDT_MTSB_CHECK_PLAT, "MTSB_CHECK_PLAT", nullptr, EFVDT_MTSB_DESIGN, 0, FALSE, 5},
    {EFVDT_MTSB_FORCE_SLABBAND, "MTSB_FORCE_SLABBAND", "CFVDSlabBandForce_M", EFVDT_MTSB_CHECK_PLAT, 96, TRUE, 5},
    {EFVDT_MTSB_DESIGN_SLABBAND, "MTSB_DESIGN_SLABBAND", "CFVDSlabBandDesign_As", EFVDT_MTSB_CHECK_PLAT, 96, TRUE, 5},
    {EFVDT_MTSB_CHECK_BEAM, "MTSB_CHECK_BEAM", nullptr, EFVDT_MTSB_DESIGN, 0, FALSE, 5},
    {EFVDT_MTSB_DESIGN_Force, "MTSB_DESIGN_Force", "CFVDMTSBDesign_Force", EFVDT_MTSB_CHECK_BEAM, 160, TRUE, 5},
    {EFVDT_MTSB_DESIGN_AS, "MTSB_DESIGN_AS", "CFVDMTSBDesign_As", EFVDT_MTSB_CHECK_BEAM, 160, TRUE, 5},
    {EFVDT_MTSB_FORCE_RIBBEAM, "MTSB_FORCE_RIBBEAM", "CFVDRibBeamForce_M", EFVDT_MTSB_CHECK_BEAM, 160, TRUE, 5},
    {EFVDT_MTSB_RIBBEAM_N, "MTSB_RIBBEAM_N", "CFVDRibBeamForce_Q", EFVDT_MTSB_CHECK_BEAM, 160, TRUE, 5},
    {EFVDT_MTSB_RIBBEAM_AS, "MTSB_RIBBEAM_AS", "CFVDRibBeamDesign_As", EFVDT_MTSB_CHECK_BEAM, 160, TRUE, 5},
    {EFVDT_MTSB_RIBBEAM_Crack, "MTSB_RIBBEAM_Crack", "CFVDBeamDesign_Crack_Rib", EFVDT_MTSB_CHECK_BEAM, 160, TRUE, 5},
    {EFVDT_PILE, "PILE", nullptr, EFVDT_NONE, 0, FALSE, 16},
    {EFVDT_Pile_CHECK_CZL, "Pile_CHECK_CZL", "CFVDPileCheck_CZL", EFVDT_PILE, 256, FALSE, 17},
    {EFVDT_Pile_CHECK_CZL_KB, "Pile_CHECK_CZL_KB", "CFVDPileCheck_CZL_KB", EFVDT_PILE, 256, FALSE, 17},
    {EFVDT_Pile_CHECK_HOR, "Pile_CHECK_HOR", "CFVDPileCheck_HOR", EFVDT_PILE, 256, FALSE, 17},
    {EFVDT_Pile_CHECK_CZL_KZ, "Pile_CHECK_CZL_KZ", "CFVDPileCheck_KZCZL", EFVDT_PILE, 256, FALSE, 17},
    {EFVDT_Pile_CHECK_JY, "Pile_CHECK_JY", "CFVDPileCheck_JY", EFVDT_PILE, 256, FALSE, 17},
    {EFVDT_Pile_CHECK_CQ, "Pile_CHECK_CQ", "CFVDPileCheck_CQ", EFVDT_PILE, 256, FALSE, 17},
    {EFVDT_Pile_CHECK_REACT, "Pile_CHECK_REACT", "CFVDPileCheck_React", EFVDT_PILE, 256, TRUE, 17},
    {EFVDT_SINK, "SINK", nullptr, EFVDT_NONE, 0, FALSE, 6},
    {EFVDT_SINK_WHOLEVALVE, "SINK_WHOLEVALVE", "CFVDSink", EFVDT_SINK, 2048, FALSE, 7},
    {EFVDT_SINK_ISOSINKDIF, "SINK_ISOSINKDIF", "CFVDIsoSinkDif", EFVDT_SINK, 2048, FALSE, 7},
    {EFVDT_SINK_MATTILT, "SINK_MATTILT", "CFVDSinkMatTilt", EFVDT_SINK, 2048, FALSE, 7},
};

// The check figures whose defaults are ratio flag 1 and precision 2.
const char* const kCheckDefaultClasses[] = {
    "CFVDCheck_JY",          "CFVDISOCheck_CZL",        "CFVDISOCheck_Weak",     "CFVDISOCheck_CQ",
    "CFVDISOCheck_JQ",       "CFVDBeamCheck_CZL",       "CFVDMTSBCheck_CZL",     "CFVDMtsbCheck_KF",
    "CFVDMTSBCheck_WDX",     "CFVDMtsbCheck_NT",        "CFVDMtsbCheck_NTCQ",    "CFVDMtsbCheck_BH",
    "CFVDMTSBCheck_ColCQ",   "CFVDMTSBCheck_ColJQ",     "CFVDMTSBCheck_WallCQ",  "CFVDMTSBCheck_WallJQ",
    "CFVDMTSBCheck_BotSlabCJ", "CFVDMTSBCheck_BotSlabJQ", "CFVDPileCheck_CZL",   "CFVDPileCheck_CZL_KB",
    "CFVDPileCheck_HOR",     "CFVDPileCheck_KZCZL",     "CFVDPileCheck_JY",      "CFVDPileCheck_CQ",
};

struct SignRow {
    const char* cls;
    double sign;
};
const SignRow kDiagramSigns[] = {
    {"CFVDBeamForceMoment", -1.0},   {"CFVDBeamForceMoment_Link", -1.0}, {"CFVDBeamForceTorsion", -1.0},
    {"CFVDBeamForceTorsion_Link", -1.0}, {"CFVDRibBeamForce_M", -1.0},   {"CFVDSlabBandForce_M", -1.0},
    {"CFVDBeamForceShearing", 1.0},  {"CFVDBeamForceShearing_Link", 1.0}, {"CFVDRibBeamForce_Q", 1.0},
};

bool SameName(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

}  // namespace

const sFVDCatalogueRow* GetFVDCatalogue() { return kRows; }

CString GetFVDCaptionKey(const sFVDCatalogueRow& row) { return CString("IDS_TM_FIGURE_EFVDT_") + row.pszSuffix; }

BOOL IsFVDBaseMapRow(const sFVDCatalogueRow& row) {
    return (row.eType >= 31 && row.eType <= 47) || row.eType == 91 || row.eType == 92;
}

const sFVDCatalogueRow* FindFVDCatalogueRow(EFigureType t) {
    for (const sFVDCatalogueRow& row : kRows)
        if (row.eType == t) return &row;
    return nullptr;
}

EFigureType ParseFVDType(const CString& text) {
    CString s = text;
    s.Trim();
    if (s.IsEmpty()) return EFVDT_NONE;
    char* end = nullptr;
    const long n = std::strtol(s.GetString(), &end, 10);
    if (end && *end == '\0') {
        const sFVDCatalogueRow* row = FindFVDCatalogueRow(static_cast<EFigureType>(n));
        return row ? row->eType : EFVDT_NONE;
    }
    if (s.Left(6).CompareNoCase("EFVDT_") == 0) s = s.Mid(6);
    for (const sFVDCatalogueRow& row : kRows)
        if (s.CompareNoCase(row.pszSuffix) == 0) return row.eType;
    return EFVDT_NONE;
}

BOOL FVDIsCheckDefaultsClass(const char* className) {
    for (const char* cls : kCheckDefaultClasses)
        if (SameName(cls, className)) return TRUE;
    return FALSE;
}

void FVDApplyCheckDefaults(sFVDDisplaySettings& settings) {
    settings.m_nRatio = 1;
    settings.m_dPrecision = 2.0;
}

double FVDGetDiagramSign(const char* className) {
    for (const SignRow& row : kDiagramSigns)
        if (SameName(row.cls, className)) return row.sign;
    return 0.0;
}

CString FVDGetValueName(const char* className) {
    if (SameName(className, "CFVDMtsb_ElementForce")) return "M";
    if (SameName(className, "CFVDMtsb_ElementAs")) return "As";
    return CString();
}
