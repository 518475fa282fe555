#include "module/figures/CFVDBeamForceFigures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/base/CurrentUnitCtrl.h"
#include "host/check/IDesignToolUtil.h"
#include "host/db/DBTables.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureCheckText.h"

IMPLEMENT_DYNAMIC(CFVDForceDrawCommon, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDBeamForceMoment, CFVDForceDrawCommon)
IMPLEMENT_DYNCREATE(CFVDBeamForceShearing, CFVDBeamForceMoment)
IMPLEMENT_DYNCREATE(CFVDBeamForceTorsion, CFVDBeamForceMoment)
IMPLEMENT_DYNCREATE(CFVDBeamForceMoment_Link, CFVDBeamForceMoment)
IMPLEMENT_DYNCREATE(CFVDBeamForceShearing_Link, CFVDBeamForceShearing)
IMPLEMENT_DYNCREATE(CFVDBeamForceTorsion_Link, CFVDBeamForceTorsion)

int CFVDForceDrawCommon::GetBeamMemberKind(const T_PMEMB_D& m, CDataBase* model) {
    if (m.type != 201) return -1;
    if (m.subKind == 2) return 2;
    if (m.subKind != 0 && m.subKind != 1) return -1;
    const T_BEAM_D* beam = model ? model->Table<DBT_BEAM>().Find(m.modelKey) : nullptr;
    return beam && beam->link == 1 ? 1 : 0;
}

double CFVDForceDrawCommon::OrdinateScale(double scale, double cur2mm) {
    double s = std::fabs(scale);
    if (s < 1e-6) s = 1.0;
    return s / cur2mm;
}

int CFVDForceDrawCommon::ValueAnchor(double sign, double value, int labelIndex) {
    if (labelIndex == 0) return sign * value <= -1e-6 ? 0 : 8;
    const bool first = labelIndex == 1;
    if (sign >= 0.0) return first ? 8 : 0;
    return first ? 0 : 8;
}

CString CFVDForceDrawCommon::ValueText(double value, int counter) {
    CString text;
    CFVDRatioStrMaker(value, CString(), CString(), 0).MakeStrNoColor(text);
    if (counter == 0) return " " + text;
    if (counter == 2) return text + " ";
    return text;
}

BOOL CFVDForceDrawCommon::IsTextStation(int j, int n) {
    if (n < 2 || j < 0 || j >= n) return FALSE;
    return j == 0 || j == n - 1 || j == n / 2;
}

void CFVDForceDrawCommon::CollectLoadCases(std::map<UINT, CString>& out) {
    CollectDesignLoadCombinations(out, m_eType, GetModelDataBase());
}

void CFVDForceDrawCommon::AlignStationsWithLine(const CZELF_DBLineObjData& line, CArray<double, double>& first,
                                                CArray<double, double>& second) {
    if (!line.IsReverse()) return;
    for (CArray<double, double>* v : {&first, &second})
        for (INT_PTR i = 0, j = v->GetSize() - 1; i < j; ++i, --j) std::swap((*v)[i], (*v)[j]);
}

BOOL CFVDForceDrawCommon::DrawMember(UINT key, CDataBase* db, void* context) {
    CZELF_DBLineObjData line;
    if (!GetMemberLine(key, db, line, context)) return 1;
    CArray<double, double> first, second;
    if (!GetForceValues(key, db, first, second, context)) return 1;
    if (m_pSurvey) {
        m_pSurvey->lengths.push_back(line.GetLength());
        for (const CArray<double, double>* v : {&first, &second})
            for (INT_PTR i = 0; i < v->GetSize(); ++i) m_pSurvey->peak = std::max(m_pSurvey->peak, std::fabs((*v)[i]));
        return 1;
    }
    AlignStationsWithLine(line, first, second);
    DrawMemberCurves(line, first, second);
    return 1;
}

double CFVDForceDrawCommon::AutoValueScale(std::vector<double> lengths, double peak, double cur2mm) {
    std::erase_if(lengths, [](double l) { return !(l > 0.0) || !std::isfinite(l); });
    if (lengths.empty() || !(peak > 1e-9) || !std::isfinite(peak)) return 1.0;
    std::sort(lengths.begin(), lengths.end());
    const size_t n = lengths.size();
    const double median = n % 2 ? lengths[n / 2] : 0.5 * (lengths[n / 2 - 1] + lengths[n / 2]);
    const double raw = 0.25 * median * cur2mm / peak;
    const double unit = std::pow(10.0, std::floor(std::log10(raw)) - 1.0);  // two significant digits
    return std::max(unit, std::round(raw / unit) * unit);
}

void CFVDForceDrawCommon::ChooseValueScale(const std::function<void()>& walk) {
    sFVDDisplaySettings* s = GetDisplaySettings();
    if (!s || !s->m_bScale2Auto) return;
    ScaleSurvey survey;
    m_pSurvey = &survey;
    walk();
    m_pSurvey = nullptr;
    s->m_dScale2 = AutoValueScale(survey.lengths, survey.peak, CurrentUnitCtrl::Cur2MM());
}

CString CFVDForceDrawCommon::ValueScaleText() {
    const sFVDDisplaySettings* s = GetDisplaySettings();
    CString v;
    v.Format("%g", s ? s->m_dScale2 : 1.0);
    return CMsgDll::pfuncLoadStr("IDS_DESCREPT_VALUE_SCALE", 0) + v;
}

void CFVDForceDrawCommon::DrawMemberCurves(const CZELF_DBLineObjData& line, const CArray<double, double>& first,
                                           const CArray<double, double>& second) {
    if (!m_pDrawing) return;
    const int curves = second.GetSize() == 0 ? 1 : 2;
    const CZELF_Point2D a = line.GetPtStart(), b = line.GetPtEnd();
    // Diagrams lie to the left of the member read left to right. The line object keeps an arc
    // counter-clockwise, so one bulging to the left of its chord read that way (up, on a
    // horizontal chord) is stored right to left: its offsets and texts are turned back.
    const bool arcBack = line.IsArc() && !line.IsReadingOrder();
    const double angle = arcBack ? CMathFunc::GetAngle(b.x, b.y, a.x, a.y, 1) : CMathFunc::GetAngle(a.x, a.y, b.x, b.y, 1);
    const sFVDDisplaySettings* s = GetDisplaySettings();
    const double scale = OrdinateScale(s ? s->m_dScale2 : 1.0, CurrentUnitCtrl::Cur2MM());
    const double arcSign = arcBack ? -1.0 : 1.0;
    for (int c = 0; c < curves; ++c) {
        const CArray<double, double>& values = c == 0 ? first : second;
        const int label = curves == 1 ? 0 : c + 1;
        const int n = static_cast<int>(values.GetSize());
        // A single station has no length to spread over: no curve.
        if (n < 2) continue;
        CArray<T_POINT2D> poly;
        int counter = 0;
        for (int j = 0; j < n; ++j) {
            const double t = static_cast<double>(j) / (n - 1);
            const double ordinate = values[j] * scale * GetDiagramSign() * arcSign;
            const CZELF_Point2D p = line.GetPointByDist(t, ordinate);
            poly.Add(p);
            if (!IsTextStation(j, n)) continue;
            SetCurrentLayer(FVD_LAYER_TEXT);
            // End values run inwards from their station, so those of members meeting at a node
            // stand side by side rather than over each other.
            const int end = j == 0 ? 1 : j == n - 1 ? 2 : 0;
            const int hor = end == 0 ? VdTextHorCenter : (end == 1) != arcBack ? VdTextHorLeft : VdTextHorRight;
            DrawDiagramValueText(p, angle, values[j], counter, label, hor);
            SetCurrentLayer(FVD_LAYER_FORCE);
            m_pDrawing->DrawLine(line.GetPointByDist(t, 0.0), p);
        }
        m_pDrawing->DrawPolyLine(poly, 0, CString());
    }
}

void CFVDForceDrawCommon::DrawDiagramValueText(const T_POINT2D& at, double angle, double value, int& counter,
                                               int labelIndex, int horJust) {
    CFVDTextBlock block;
    block.m_nHorJust = horJust;
    block.m_strText = ValueText(value, counter);
    block.m_nVerJust = ValueAnchor(GetDiagramSign(), value, labelIndex);
    block.m_dAngle = angle;
    ++counter;
    const CArray<long> ids = block.Draw(m_pDrawing, at);
    if (ids.GetSize() == 0) return;
    // An end value keeps a text height clear of its node, where the texts of the members across
    // stand; a value that would still cover another slides along the member (inwards from an
    // end, either way from the middle) until it is clear (drawing units throughout).
    const double h = m_pDrawing->GetTextHeight(ids);
    const double a = angle * M_PI / 180.0, ux = std::cos(a), uy = std::sin(a);
    const double dir = horJust == VdTextHorLeft ? 1.0 : horJust == VdTextHorRight ? -1.0 : 0.0;
    std::vector<T_POINT2D> offsets;
    for (int k = 1; k <= 12; ++k) {
        const double step = 0.5 * h * (dir != 0.0 ? k : (k + 1) / 2);
        const double sgn = dir != 0.0 ? dir : (k % 2 ? 1.0 : -1.0);
        offsets.emplace_back(sgn * step * ux, sgn * step * uy);
    }
    if (dir != 0.0) {
        for (INT_PTR i = 0; i < ids.GetSize(); ++i) m_pDrawing->MoveFigure(ids[i], dir * h * ux, dir * h * uy);
    }
    if (m_TextRoom) m_TextRoom->Place(*m_pDrawing, ids, offsets);
}

void CFVDBeamForceMoment::DrawFigure() {
    ApplyScale();
    CDataBase* db = GetPostDataBase();
    if (!m_pDrawing || !db) return;
    TextRoomScope room(*this);
    CClassPMemb membs;
    membs.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    membs.GetKeyList(keys);
    auto walk = [&] {
        for (INT_PTR i = 0; i < keys.GetSize(); ++i)
            if (!DrawMember(keys[i], db, nullptr)) break;
    };
    ChooseValueScale(walk);
    walk();
    DrawFigureNotes();
}

BOOL CFVDBeamForceMoment::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text = CMsgDll::pfuncLoadStr(DescriptionKey(), 0) + "\n" + ValueScaleText();
    return 1;
}

BOOL CFVDBeamForceMoment::IsMemberShown(const T_PMEMB_D& m) {
    return GetBeamMemberKind(m, GetModelDataBase()) == ShownKind();
}

BOOL CFVDBeamForceMoment::GetMemberLine(UINT key, CDataBase* db, CZELF_DBLineObjData& line, void* /*context*/) {
    CClassPMemb membs;
    membs.ConnectToDB(db);
    T_PMEMB_D m;
    if (!membs.Get(key, m) || !IsMemberShown(m)) return 0;
    return line.SetData(key, db, GetModelDataBase(), 0);
}

BOOL CFVDBeamForceMoment::GetForceValues(UINT key, CDataBase* db, CArray<double, double>& first,
                                         CArray<double, double>& second, void* /*context*/) {
    CHECK_LOAD_ARRAY a, b;
    if (!IDesignToolUtil::s_GetBeamDesignForce(key, m_nCurLoadCase, a, b, db)) return 0;
    const int c = Component();
    for (INT_PTR i = 0; i < a.GetSize(); ++i) first.Add(a[i].d[c]);
    for (INT_PTR i = 0; i < b.GetSize(); ++i) second.Add(b[i].d[c]);
    return 1;
}

IMPLEMENT_DYNCREATE(CFVDRibBeamForce_M, CFVDBeamForceMoment)
IMPLEMENT_DYNCREATE(CFVDRibBeamForce_Q, CFVDRibBeamForce_M)

namespace {

constexpr double kRibEndTol = 0.01;  // m, ends of one rib in two combinations

bool SamePoint(const T_POINT2D& a, const T_POINT2D& b) {
    return std::fabs(a.x - b.x) <= kRibEndTol && std::fabs(a.y - b.y) <= kRibEndTol;
}

}  // namespace

void CFVDRibBeamForce_M::AddRibResults(std::vector<RibRecord>& ribs, UINT comb,
                                       const CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results) {
    for (INT_PTR i = 0; i < results.GetSize(); ++i) {
        const T_STRESS_RESULT& r = results[i];
        CHECK_LOAD_ARRAY stations;
        for (int k = 0; k < 5; ++k) {
            LOAD_DATA d;
            d.d[3] = r.d[11 + 2 * k];
            d.d[1] = r.d[12 + 2 * k];
            stations.Add(d);
        }
        CZELF_Point2D a(r.d[3], r.d[4]);
        T_POINT2D b(r.d[6], r.d[7]);
        double arc = r.d[9];
        if (!a.IsLeft2(b, kRibEndTol)) {
            arc = -arc;
            CHECK_LOAD_ARRAY rev;
            for (INT_PTR k = stations.GetSize() - 1; k >= 0; --k) rev.Add(stations[k]);
            stations = rev;
            a.Swap(b);
        }
        // Ribs of different storeys share their plan ends: their levels tell them apart.
        const double za = std::min(r.d[5], r.d[8]), zb = std::max(r.d[5], r.d[8]);
        RibRecord* rec = nullptr;
        for (RibRecord& x : ribs)
            if (SamePoint(x.start, a) && SamePoint(x.end, b) && std::fabs(x.zLow - za) <= kRibEndTol &&
                std::fabs(x.zHigh - zb) <= kRibEndTol)
                rec = &x;
        if (!rec) rec = &ribs.emplace_back();
        rec->loads[comb] = stations;
        rec->start = a;
        rec->end = b;
        rec->arc = arc;
        rec->zLow = za;
        rec->zHigh = zb;
    }
}

BOOL CFVDRibBeamForce_M::GetStationValues(const RibRecord& rib, UINT loadKey, CArray<double, double>& first,
                                          CArray<double, double>& second, int component) {
    first.RemoveAll();
    second.RemoveAll();
    if (loadKey != 0) {
        auto it = rib.loads.find(loadKey);
        if (it == rib.loads.end()) return FALSE;
        for (INT_PTR i = 0; i < it->second.GetSize(); ++i) first.Add(it->second[i].d[component]);
        return first.GetSize() > 0;
    }
    CHECK_LOAD_ARRAY hi, lo;
    for (const auto& [key, arr] : rib.loads) IDesignToolUtil::s_GetBaoLuoForForceArray(hi, lo, arr);
    for (INT_PTR i = 0; i < hi.GetSize(); ++i) first.Add(hi[i].d[component]);
    for (INT_PTR i = 0; i < lo.GetSize(); ++i) second.Add(lo[i].d[component]);
    return first.GetSize() > 0;
}

void CFVDRibBeamForce_M::BuildRibRecords() {
    m_Ribs.clear();
    CArray<UINT, UINT> combs;
    if (m_nCurLoadCase != 0) {
        combs.Add(m_nCurLoadCase);
    } else if (CDataBase* model = GetModelDataBase()) {
        CClassLdgp groups;
        groups.ConnectToDB(model);
        groups.GetDesignUseLoadComb(combs, 1);
    }
    for (INT_PTR i = 0; i < combs.GetSize(); ++i) {
        CArray<T_STRESS_RESULT, T_STRESS_RESULT&> results;
        if (IDesignToolUtil::s_GetRibBemStarndForce(combs[i], results, GetPostDataBase()))
            AddRibResults(m_Ribs, combs[i], results);
    }
}

void CFVDRibBeamForce_M::DrawFigure() {
    // The scale of this figure before anything is drawn (the ribs too).
    ApplyScale();
    CDataBase* db = GetPostDataBase();
    if (!m_pDrawing || !db) return;
    TextRoomScope room(*this);
    BuildRibRecords();
    CClassPMemb membs;
    membs.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    membs.GetKeyList(keys);
    auto walk = [&] {
        m_nMemberPass = 0;
        for (RibRecord& rib : m_Ribs) DrawMember(0, db, &rib);
        m_nMemberPass = 1;
        for (INT_PTR i = 0; i < keys.GetSize(); ++i)
            if (!DrawMember(keys[i], db, nullptr)) break;
    };
    ChooseValueScale(walk);
    walk();
    DrawFigureNotes();
}

BOOL CFVDRibBeamForce_M::GetMemberLine(UINT key, CDataBase* db, CZELF_DBLineObjData& line, void* context) {
    if (m_nMemberPass) return CFVDBeamForceMoment::GetMemberLine(key, db, line, context);
    const auto* rib = static_cast<const RibRecord*>(context);
    if (!rib) return 0;
    return line.SetData(CZELF_Point2D(rib->start.x, rib->start.y), CZELF_Point2D(rib->end.x, rib->end.y), rib->arc, 0.0,
                        0.0) != 0;
}

BOOL CFVDRibBeamForce_M::GetForceValues(UINT key, CDataBase* db, CArray<double, double>& first,
                                        CArray<double, double>& second, void* context) {
    first.RemoveAll();
    second.RemoveAll();
    if (m_nMemberPass) return CFVDBeamForceMoment::GetForceValues(key, db, first, second, context);
    const auto* rib = static_cast<const RibRecord*>(context);
    if (!rib) return 0;
    GetStationValues(*rib, m_nCurLoadCase, first, second, Component());
    return 1;
}
