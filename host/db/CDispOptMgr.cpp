#include "host/db/CDispOptMgr.h"
#include "host/db/DBField.h"

#include <cstring>

namespace {

struct NamedSlot {
    int pos;
    const char* name;
};

// Names of the colour options that drawing reads; the others are numbered.
const NamedSlot kColorNames[] = {
    {0, "Background"},         {18, "Column.Line"},       {19, "Column.Face"},      {20, "Beam.Face"},
    {21, "Beam.Line"},         {22, "Wall.Face"},         {23, "Wall.Line"},        {24, "SubBeam.Face"},
    {25, "SubBeam.Line"},      {26, "Truss.Face"},        {27, "Truss.Line"},       {28, "Member203.Face"},
    {29, "Member203.Line"},    {30, "Plate204.Face"},     {31, "Plate204.Line"},    {34, "Line200.Face"},
    {35, "Line200.Line"},      {37, "Raft.Face"},         {38, "Raft.Line"},        {41, "Slab302.Face"},
    {42, "Slab302.Line"},      {43, "Slab304.Face"},      {44, "Slab304.Line"},     {45, "Plate300.Face"},
    {46, "Plate300.Line"},     {94, "Pile.Line"},         {95, "Pile.Face"},        {97, "Footing401.Line"},
    {98, "Footing401.Face"},   {103, "Member400.Line"},   {104, "Member400.Face"},  {108, "Member.Line"},
    {109, "Member.Face"},      {110, "Member.Edge"},      {129, "Undeformed"},      {130, "Inactive"},
    {140, "Legend.Background"}, {141, "Legend.Frame"},    {142, "Legend.Text"},     {143, "Legend.Title"},
    {144, "Legend.Max"},       {145, "Legend.Min"},       {146, "Legend.Value"},    {147, "Legend.Unit"},
    {148, "Legend.Percent"},   {182, "Axis.X"},           {183, "Axis.Y"},          {184, "Axis.Z"},
    {210, "ContourLine"},
};

const NamedSlot kFontNames[] = {
    {25, "PickLabel"},       {34, "Number"},       {35, "NodeNumber"},       {36, "ContourAnnotation"},
    {37, "AxisLabel"},       {47, "Print.PickLabel"}, {56, "Print.Number"}, {57, "Print.NodeNumber"},
    {58, "Print.ContourAnnotation"}, {59, "Print.AxisLabel"},
};

const NamedSlot kDrawNames[] = {
    {0, "ColorMode"}, {1, "RenderMode"}, {2, "UndeformedStyle"}, {4, "PrintColorMode"}, {5, "PartialDisplay"},
};

template <int N, size_t M> void FillNames(CString (&names)[N], const char* prefix, const NamedSlot (&slots)[M]) {
    for (int i = 0; i < N; ++i) names[i].Format("%s%03d", prefix, i);
    for (const NamedSlot& s : slots) names[s.pos] = s.name;
}

std::string Key(const CString& s) { return std::string(static_cast<LPCTSTR>(s)); }

// Default colours: name position, screen colour, print colour.
struct DefaultColor {
    int pos;
    COLORREF screen;
    COLORREF print;
};
const DefaultColor kDefaultColors[] = {
    {0, RGB(0, 0, 0), RGB(255, 255, 255)},
    {18, RGB(255, 128, 0), RGB(255, 128, 0)},   {19, RGB(200, 100, 0), RGB(200, 100, 0)},
    {20, RGB(0, 160, 255), RGB(0, 160, 255)},   {21, RGB(0, 200, 255), RGB(0, 120, 200)},
    {22, RGB(160, 160, 200), RGB(160, 160, 200)}, {23, RGB(200, 200, 255), RGB(80, 80, 160)},
    {24, RGB(0, 128, 255), RGB(0, 128, 255)},   {25, RGB(0, 160, 255), RGB(0, 100, 200)},
    {26, RGB(200, 0, 200), RGB(200, 0, 200)},   {27, RGB(255, 0, 255), RGB(160, 0, 160)},
    {28, RGB(128, 128, 0), RGB(128, 128, 0)},   {29, RGB(160, 160, 0), RGB(100, 100, 0)},
    {30, RGB(0, 160, 160), RGB(0, 160, 160)},   {31, RGB(0, 200, 200), RGB(0, 120, 120)},
    {34, RGB(160, 160, 160), RGB(160, 160, 160)}, {35, RGB(200, 200, 200), RGB(80, 80, 80)},
    {37, RGB(120, 180, 120), RGB(120, 180, 120)}, {38, RGB(160, 220, 160), RGB(60, 120, 60)},
    {41, RGB(140, 140, 180), RGB(140, 140, 180)}, {42, RGB(180, 180, 220), RGB(80, 80, 140)},
    {43, RGB(180, 140, 140), RGB(180, 140, 140)}, {44, RGB(220, 180, 180), RGB(140, 80, 80)},
    {45, RGB(140, 180, 180), RGB(140, 180, 180)}, {46, RGB(180, 220, 220), RGB(80, 140, 140)},
    {94, RGB(255, 255, 0), RGB(160, 160, 0)},   {95, RGB(200, 200, 0), RGB(200, 200, 0)},
    {97, RGB(255, 160, 160), RGB(160, 80, 80)}, {98, RGB(200, 120, 120), RGB(200, 120, 120)},
    {103, RGB(160, 255, 160), RGB(60, 160, 60)}, {104, RGB(120, 200, 120), RGB(120, 200, 120)},
    {108, RGB(255, 255, 255), RGB(0, 0, 0)},    {109, RGB(180, 180, 180), RGB(180, 180, 180)},
    {110, RGB(255, 255, 255), RGB(0, 0, 0)},    {129, RGB(128, 128, 128), RGB(160, 160, 160)},
    {130, RGB(80, 80, 80), RGB(200, 200, 200)}, {140, RGB(0, 0, 0), RGB(255, 255, 255)},
    {141, RGB(255, 255, 255), RGB(0, 0, 0)},    {142, RGB(255, 255, 255), RGB(0, 0, 0)},
    {143, RGB(255, 255, 0), RGB(0, 0, 0)},      {144, RGB(255, 0, 0), RGB(255, 0, 0)},
    {145, RGB(0, 0, 255), RGB(0, 0, 255)},      {146, RGB(255, 255, 255), RGB(0, 0, 0)},
    {147, RGB(255, 255, 255), RGB(0, 0, 0)},    {148, RGB(200, 200, 200), RGB(64, 64, 64)},
    {182, RGB(255, 0, 0), RGB(255, 0, 0)},      {183, RGB(0, 255, 0), RGB(0, 160, 0)},
    {184, RGB(0, 0, 255), RGB(0, 0, 255)},      {210, RGB(0, 120, 0), RGB(0, 0, 0)},
};

}  // namespace

COptColorObjNames::COptColorObjNames() { FillNames(m_aName, "Color", kColorNames); }
COptFontObjNames::COptFontObjNames() { FillNames(m_aName, "Font", kFontNames); }
COptDrawObjNames::COptDrawObjNames() { FillNames(m_aName, "Draw", kDrawNames); }

void CDispOptFontObj::GetLogFont(const SDispOptFontVal& val, LOGFONT& lf) {
    memset(&lf, 0, sizeof(lf));
    lf.lfHeight = val.m_nHeight;
    lf.lfWeight = val.m_nWeight;
    lf.lfItalic = static_cast<BYTE>(val.m_bItalic ? 1 : 0);
    lf.lfCharSet = static_cast<BYTE>(val.m_nCharSet);
    lf.lfOutPrecision = 2;
    lf.lfClipPrecision = 1;
    pvxdb::CopyText(lf.lfFaceName, LF_FACESIZE, val.m_strFaceName);
}

CDispOptMgr::CDispOptMgr() {
    COptColorObjNames cn;
    for (int i = 0; i < COptColorObjNames::COUNT; ++i) {
        m_colors[Key(cn[i])].m_Value = RGB(255, 255, 255);
        m_prtColors[Key(cn[i])].m_Value = RGB(0, 0, 0);
    }
    for (const DefaultColor& d : kDefaultColors) {
        m_colors[Key(cn[d.pos])].m_Value = d.screen;
        m_prtColors[Key(cn[d.pos])].m_Value = d.print;
    }
    COptFontObjNames fn;
    for (int i = 0; i < COptFontObjNames::COUNT; ++i) {
        SDispOptFontVal& v = m_fonts[Key(fn[i])].m_Value;
        v.m_strFaceName = "宋体";
        v.m_nHeight = 9;
        v.m_crText = i >= 40 ? RGB(0, 0, 0) : RGB(255, 255, 255);
        v.m_crBack = i >= 40 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }
    COptDrawObjNames dn;
    for (int i = 0; i < COptDrawObjNames::COUNT; ++i) m_draws[Key(dn[i])];
    m_draws[Key(dn[0])].m_Value[5] = 2;   // colour objects by member type
    m_draws[Key(dn[1])].m_Value[4] = 3;   // faces with edges
    m_draws[Key(dn[2])].m_Value[4] = 1;   // undeformed shape as wire frame
    m_draws[Key(dn[4])].m_Value[0] = 1;   // print in screen colours
}

CDispOptColorObj* CDispOptMgr::GetColor(CString name) {
    auto it = m_colors.find(Key(name));
    return it == m_colors.end() ? nullptr : &it->second;
}
CDispOptColorObj* CDispOptMgr::GetPrtColor(CString name) {
    auto it = m_prtColors.find(Key(name));
    return it == m_prtColors.end() ? nullptr : &it->second;
}
CDispOptFontObj* CDispOptMgr::GetFont(CString name) {
    auto it = m_fonts.find(Key(name));
    return it == m_fonts.end() ? nullptr : &it->second;
}
CDispOptDrawObj* CDispOptMgr::GetDraw(CString name) {
    auto it = m_draws.find(Key(name));
    return it == m_draws.end() ? nullptr : &it->second;
}

int CDispOptMgr::SetColor(const CString& name, COLORREF screen, COLORREF print) {
    auto a = m_colors.find(Key(name));
    auto b = m_prtColors.find(Key(name));
    if (a == m_colors.end() || b == m_prtColors.end()) return 0;
    a->second.m_Value = screen;
    b->second.m_Value = print;
    return 1;
}
int CDispOptMgr::SetFont(const CString& name, const SDispOptFontVal& val) {
    auto it = m_fonts.find(Key(name));
    if (it == m_fonts.end()) return 0;
    it->second.m_Value = val;
    return 1;
}
int CDispOptMgr::SetDraw(const CString& name, int index, int value) {
    auto it = m_draws.find(Key(name));
    if (it == m_draws.end() || index < 0 || index >= CDispOptDrawObj::COUNT) return 0;
    it->second.m_Value[index] = value;
    return 1;
}
void CDispOptMgr::Remove(const CString& name) {
    std::string k = Key(name);
    m_colors.erase(k);
    m_prtColors.erase(k);
    m_fonts.erase(k);
    m_draws.erase(k);
}
