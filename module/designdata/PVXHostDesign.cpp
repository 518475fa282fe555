// PVXHost_ShowDesign: the module's entry for a host that shows a design figure, doing what the
// host application does with the design result data engine.
//
// It makes the engine for the view's model and hands it to the model (which owns it from then
// on), gives it the model's members and the switches the host owns, sets the figure mode of the
// model's figure controller and runs the mode's builders. The view then paints the figure
// (PaintDesignFigure) and its legend. The report says what the picture shows; with a listing
// asked for, the records the engine's getters hand out are written line by line.
#include <cfloat>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/base/PVXHostDesign.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/contour/CLegendEngine.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/designdata/DesignFigurePaint.h"
#include "module/designdata/DesignHostLists.h"
#include "module/engines/CDeformEngine.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

void Copy(char* dst, size_t n, const std::string& s) { std::snprintf(dst, n, "%s", s.c_str()); }

std::string Fmt(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* fmt, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

std::string Point(const C3DPoint& p) { return Fmt("%.10g %.10g %.10g", p.x, p.y, p.z); }

std::string Values(const double* v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += Fmt("%s%.10g", i ? " " : "", v[i] + 0.0);  // -0 written as 0
    return s;
}

int Finish(PVXHostDesignReport* pRep, int status, const std::string& message) {
    pRep->nStatus = status;
    Copy(pRep->szMessage, sizeof pRep->szMessage, message);
    return status;
}

// The listing of what the engine's getters hand out, one record a line.
class Listing {
public:
    Listing(PFN_PVXHOST_DESIGN_LINE pfn, void* ctx) : m_pfn(pfn), m_ctx(ctx) {}
    void Line(const std::string& s) const {
        if (m_pfn) m_pfn(m_ctx, s.c_str());
    }

    void Write(CFigureDesignData& d) const {
        CArray<T_AXIAL_COMP_R, T_AXIAL_COMP_R&> acr;
        d.GetAxialCompR(acr);
        Line(Fmt("axial-compression ratios: %d (acr KEY RATIO1 RATIO2 VALUE3 VALUE4 X Y Z)", Count(acr)));
        for (INT_PTR i = 0; i < acr.GetSize(); ++i)
            Line(Fmt("acr %u %.10g %.10g %.10g %.10g %s", acr[i].nKey, acr[i].dRatio1, acr[i].dRatio2, acr[i].dValue3,
                     acr[i].dValue4, Point(acr[i].pt).c_str()));
        if (acr.GetSize() > 0)
            Line(Fmt("acr-extremes max %.10g member %u min %.10g member %u", d.m_dACRMax, d.m_nACRMaxKey, d.m_dACRMin,
                     d.m_nACRMinKey));

        CArray<T_COLM_AS, T_COLM_AS&> colm;
        d.GetColmAs(colm);
        Line(Fmt("column area steel: %d (colm-as KEY D0..D7 X Y Z)", Count(colm)));
        for (INT_PTR i = 0; i < colm.GetSize(); ++i)
            Line(Fmt("colm-as %u %s %s", colm[i].nKey, Values(colm[i].d, 8).c_str(), Point(colm[i].pt).c_str()));
        CArray<T_BEAM_AS, T_BEAM_AS&> beam;
        d.GetBeamAs(beam);
        Beams("beam", beam);
        CArray<T_WBEM_AS, T_WBEM_AS&> wbeam;
        d.GetWallBAs(wbeam);
        Beams("wbeam", wbeam);
        CArray<T_WALL_AS, T_WALL_AS&> wall;
        d.GetWallCAs(wall);
        Line(Fmt("wall area steel: %d (wall-as KEY D0 D1 CENTRE END1 END2)", Count(wall)));
        for (INT_PTR i = 0; i < wall.GetSize(); ++i)
            Line(Fmt("wall-as %u %s %s %s %s", wall[i].nKey, Values(wall[i].d, 2).c_str(), Point(wall[i].pt).c_str(),
                     Point(wall[i].ptEnd[0]).c_str(), Point(wall[i].ptEnd[1]).c_str()));
        CArray<T_SFORCE_D, T_SFORCE_D&> edges;
        d.GetSlabAs(edges);
        Line(Fmt("slab edge steel: %d (slab-edge KEY VALUE FROM TO)", Count(edges)));
        UINT nLast = 0;
        std::string slabs;
        for (INT_PTR i = 0; i < edges.GetSize(); ++i) {
            const T_SFORCE_D& e = edges[i];
            Line(Fmt("slab-edge %u %.10g %s %s", e.nKey, e.dValue, Point(e.ptA).c_str(), Point(e.ptB).c_str()));
            T_SMOMENT_D m;
            if (e.nKey != nLast && d.GetSlabAsSMomentD(e.nKey, m))
                slabs += Fmt("slab-as %u %.10g %.10g %s\n", m.nKey, m.d[0], m.d[1], Point(m.pt).c_str());
            nLast = e.nKey;
        }
        Line("slab centre steel: (slab-as KEY D0 D1 X Y Z)");
        for (size_t p = 0, q; (q = slabs.find('\n', p)) != std::string::npos; p = q + 1) Line(slabs.substr(p, q - p));

        CArray<T_DIAGRAM_D, T_DIAGRAM_D&> diagrams;
        d.GetDiagramData(diagrams);
        Line(Fmt("diagrams: %d (diagram KEY FIRST MIDDLE LAST%s)", Count(diagrams),
                 d.GetFigureMode() == 23 ? "; per beam its top steel, negated, then its bottom steel" : ""));
        for (INT_PTR i = 0; i < diagrams.GetSize(); ++i)
            Line(Fmt("diagram %u %s", diagrams[i].nKey, Values(diagrams[i].dVal, 3).c_str()));
        CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> cforc;
        d.GetCForcData(cforc);
        Line(Fmt("column-force labels: %d (cforce KEY I:FY FZ N MY MZ J:FY FZ N MY MZ IPOS JPOS)", Count(cforc)));
        for (INT_PTR i = 0; i < cforc.GetSize(); ++i)
            Line(Fmt("cforce %u %s %s %s", cforc[i].nMembKey, Values(cforc[i].dForce, 10).c_str(),
                     Point(cforc[i].ptI).c_str(), Point(cforc[i].ptJ).c_str()));

        Line(Fmt("envelopes: %d (envelope KEY LARGEST0..8 SMALLEST0..8 FIRST LAST)",
                 static_cast<int>(d.m_arrBeamBM.GetSize())));
        for (INT_PTR i = 0; i < d.m_arrBeamBM.GetSize() && i < d.m_arrMembKey.GetSize(); ++i) {
            const T_BEAM_BM& e = d.m_arrBeamBM[i];
            Line(Fmt("envelope %u %s %s %s %s", d.m_arrMembKey[i], Values(e.dVal[0], 9).c_str(),
                     Values(e.dVal[1], 9).c_str(), Point(e.pt[0]).c_str(), Point(e.pt[8]).c_str()));
        }
        CFigureDesignData::BaseShearMap bases;
        d.GetmBaseShear(bases);
        Line(Fmt("base-column forces: %d (base KEY FY FZ N MY MZ BASE TOP)", static_cast<int>(bases.GetCount())));
        for (POSITION pos = bases.GetStartPosition(); pos;) {
            UINT key = 0;
            T_BASE_SHEAR_D b;
            bases.GetNextAssoc(pos, key, b);
            Line(Fmt("base %u %s %s %s", b.nKey, Values(b.d, 5).c_str(), Point(b.pt[0]).c_str(),
                     Point(b.pt[1]).c_str()));
        }
    }

private:
    template <class A> static int Count(const A& a) { return static_cast<int>(a.GetSize()); }
    template <class R> void Beams(const char* kind, const CArray<R, R&>& list) const {
        Line(Fmt("%s area steel: %d (%s-as KEY D0..D9 CENTRE END1 END2)", kind, Count(list), kind));
        for (INT_PTR i = 0; i < list.GetSize(); ++i)
            Line(Fmt("%s-as %u %s %s %s %s", kind, list[i].nKey, Values(list[i].d, 10).c_str(),
                     Point(list[i].ptLabel[0]).c_str(), Point(list[i].ptEnd[0]).c_str(),
                     Point(list[i].ptEnd[1]).c_str()));
    }

    PFN_PVXHOST_DESIGN_LINE m_pfn;
    void* m_ctx;
};

// What the picture of the figure shows, and the legend's range.
void Describe(CFigureDesignData& d, int mode, PVXHostDesignReport* pRep) {
    std::string shows;
    const CContourEngine* ce = d.m_pContourEngine;
    auto range = [&](const char* what, INT_PTR nBeams) {
        if (!ce || nBeams < 1) return std::string("; no legend: no beam has ") + what;
        pRep->bLegend = 1;
        pRep->dLegendMin = ce->m_dMinValue;
        pRep->dLegendMax = ce->m_dMaxValue;
        return Fmt("; the legend gives the %s range %.10g to %.10g of %d beam%s", what, ce->m_dMinValue,
                   ce->m_dMaxValue, static_cast<int>(nBeams), nBeams == 1 ? "" : "s");
    };
    switch (mode) {
    case 21: {
        const INT_PTR n = d.m_arrColmAs.GetSize() + d.m_arrBeamAs.GetSize() + d.m_arrWBeamAs.GetSize() +
                          d.m_arrWallAs.GetSize() + d.m_arrSlabAs.GetSize();
        pRep->nLabels = static_cast<int>(n);
        shows = Fmt("area-steel labels of %d columns, %d beams, %d wall beams, %d walls and %d slab edges of %d slabs",
                    static_cast<int>(d.m_arrColmAs.GetSize()), static_cast<int>(d.m_arrBeamAs.GetSize()),
                    static_cast<int>(d.m_arrWBeamAs.GetSize()), static_cast<int>(d.m_arrWallAs.GetSize()),
                    static_cast<int>(d.m_arrSlabAs.GetSize()), static_cast<int>(d.m_mapSlabAsMoment.GetCount()));
        if (n == 0) shows = "the model only: the project has no area-steel design results";
        break;
    }
    case 23:
        shows = d.m_arrDiagram.GetSize() == 0
                    ? std::string("the beams' wide outlines: no beam has steel design results")
                    : Fmt("the top and bottom steel of %d beam%s as bands on either side of each beam, filled in "
                          "the legend's colours",
                          static_cast<int>(d.m_arrDiagram.GetSize() / 2), d.m_arrDiagram.GetSize() == 2 ? "" : "s") +
                          range("beam steel", d.m_mapBeamSteel.GetCount());
        break;
    case 28:
        pRep->nLabels = static_cast<int>(d.m_arrAxialCompR.GetSize());
        if (d.m_arrAxialCompR.GetSize() < 1) {
            shows = "the model only: the project has no column design results";
            break;
        }
        pRep->bLegend = d.m_nACRMaxKey && d.m_nACRMinKey;
        pRep->dLegendMin = d.m_dACRMin;
        pRep->dLegendMax = d.m_dACRMax;
        shows = Fmt("axial-compression ratio labels of %d columns and the ratio legend: max %.10g at member %u, min "
                    "%.10g at member %u",
                    pRep->nLabels, d.m_dACRMax, d.m_nACRMaxKey, d.m_dACRMin, d.m_nACRMinKey);
        break;
    case 35:
    case 36: {
        const int n = static_cast<int>(d.m_arrBeamBM.GetSize());
        pRep->nLabels = n;
        if (n == 0) {
            shows = "the model only: no foundation beam has member forces for the load";
            break;
        }
        const int nBeams = CountFoundationBeams(*d.Model());
        shows = Fmt("the largest and smallest %s over %s of %d foundation beams (of the project's %d; a beam "
                    "without member forces has no curve), two curves each coloured by the legend's scale, "
                    "labelled at start, middle and end",
                    mode == 35 ? "moment y" : "shear z", pRep->nLoadKey ? "the load" : "the design combinations",
                    n, nBeams) +
                range(mode == 35 ? "moment" : "shear", n);
        break;
    }
    case 40:
        shows = Fmt("the model only: the column-force output of figure 40 draws nothing; %d column-force labels were "
                    "built (see --list)",
                    static_cast<int>(d.m_arrCForc.GetSize()));
        break;
    default:
        pRep->nLabels = static_cast<int>(d.m_mapBaseShear.GetCount());
        shows = pRep->nLabels ? Fmt("the base forces FY, FZ, N, MY, MZ (shear y, shear z, axial force, moment y, "
                                    "moment z; top to bottom, as the legend's caption says) of %d columns standing "
                                    "on the foundation",
                                    pRep->nLabels)
                              : std::string("the model only: no column standing on the foundation has forces");
        break;
    }
    Copy(pRep->szShows, sizeof pRep->szShows, shows);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int PVXHost_ShowDesign(I_PVXModelBase* pBase,
                                                                          const PVXHostDesignRequest* pReq,
                                                                          PVXHostDesignReport* pRep,
                                                                          PFN_PVXHOST_DESIGN_LINE pfnLine,
                                                                          void* pContext) {
    if (!pRep) return PVXHOST_BAD_REQUEST;
    std::memset(pRep, 0, sizeof *pRep);
    I_PVXModel* pModel = dynamic_cast<I_PVXModel*>(pBase);
    if (!pModel || !pReq || !pModel->m_pFigure)
        return Finish(pRep, PVXHOST_BAD_REQUEST, "the view has no result model");
    I_PVXModel& m = *pModel;
    const int mode = pReq->nFigureMode;
    if (!IsDesignFigureMode(mode))
        return Finish(pRep, PVXHOST_BAD_REQUEST, Fmt("figure mode %d is not a design figure", mode));

    // The column forces are read for the load the host selected.
    if (pReq->bLoad) {
        m.m_nLoadType = pReq->nLoadType;
        m.m_nLoadKey = pReq->nLoadKey;
        m.m_nLoadStep = pReq->nLoadStep;
        m.m_strLoadName = pReq->pszLoadName ? pReq->pszLoadName : "";
        m.m_bLoadSelected = 1;
        m.SelectLoad();
        if (!m.m_bResultDataReady)
            return Finish(pRep, PVXHOST_NO_RESULTS,
                          std::string("the host cannot select the load \"") + m.m_strLoadName.GetString() + "\"");
    }

    // The engine of the model, made afresh; the model owns it.
    delete m.m_pDesignData;
    m.m_pDesignData = new CFigureDesignData(&m);
    CFigureDesignData& d = *m.m_pDesignData;
    // The members the host made active (flag 1): every member unless a part of the model is active.
    d.SetMemberKeys(m.m_arrFlagMembKey);
    // The switches the host owns: every number label, area-steel kind and wall-beam row, the
    // diagrams, and the component of the envelope (4 moment, 2 shear).
    d.m_bShowNumber = 1;
    d.m_bAsColumn = d.m_bAsBeam = d.m_bAsWallBeam = d.m_bAsWall = d.m_bAsSlab = 1;
    d.m_bWBeamSteelRow = d.m_bWBeamStirrupRow = 1;
    d.m_bShowDiagram = 1;
    d.m_nCForcSel[0] = mode == 35 ? 4 : mode == 36 ? 2 : 0;
    // The beam steel is drawn as bands filled in the scale's colours; the envelopes as curves
    // whose pieces take the colour of their values.
    if (mode == 23) d.m_bContourStyle = 0;
    if (mode == 35 || mode == 36) m.m_bContour = 1;
    m.m_pFigure->m_nFigureMode = mode;
    if (pReq->nDecimals >= 0 && m.m_pDispOpt) m.m_pDispOpt->m_Number.m_nDecimals = pReq->nDecimals;
    if (!d.BuildForFigureMode(mode)) {
        std::string why = mode == 40 || mode >= 42 ? MissingColumnForces(m, d.m_arrMembKey) : std::string();
        if (why.empty())
            why = mode == 40 || mode >= 42 ? "the column forces of the load cannot be read"
                                           : "the project has no post database or no design results to read";
        delete m.m_pDesignData;
        m.m_pDesignData = nullptr;
        m.m_pFigure->m_nFigureMode = 0;
        return Finish(pRep, PVXHOST_NO_RESULTS, why);
    }
    // The lists the host fills: the foundation beams' envelopes, the base-column forces.
    if (mode == 35 || mode == 36) {
        // The envelope walk draws only in a model with a deformation engine, which the host's
        // tool bars always give the model (the model owns it).
        if (!m.m_pDeformEngine) m.m_pDeformEngine = new CDeformEngine(&m);
        FillFoundationBeamEnvelope(m, d, pReq->nLoadKey);
        pRep->nLoadKey = pReq->nLoadKey;
    } else if (mode >= 42 && FillBaseColumnForces(m, d) < 0) {
        std::string why = MissingColumnForces(m, d.m_arrMembKey);
        delete m.m_pDesignData;
        m.m_pDesignData = nullptr;
        m.m_pFigure->m_nFigureMode = 0;
        return Finish(pRep, PVXHOST_NO_RESULTS, why.empty() ? "the column forces of the load cannot be read" : why);
    }
    // The figure is a result the view shows: its legend and the exports' legend step take it.
    // The legend's footer names the members of the ratio's or the envelope's extremes; the other
    // figures keep none.
    m.m_bResultDataReady = 1;
    const bool bEnvelope = mode == 35 || mode == 36;
    m.m_nMaxKey = mode == 28 ? d.m_nACRMaxKey : bEnvelope ? d.m_nEnvelopeMaxKey : 0;
    m.m_nMinKey = mode == 28 ? d.m_nACRMinKey : bEnvelope ? d.m_nEnvelopeMinKey : 0;
    // The legend panel takes its margin of the view only for a figure with a design legend.
    if (m.m_pPVXCtrl) {
        const CRect before = m.m_pPVXCtrl->GetDrawingArea();
        if (m.m_LegendEngine.GetDesignLegendMode() != -1)
            m.ResetLegendRect();
        else
            m.m_pPVXCtrl->ResetClientWindowMargin();
        if (m.m_pPVXCtrl->GetDrawingArea() != before) m.m_pPVXCtrl->ViewZoomAll(0);
        // The labels keep inside the picture: the fitted view leaves them room.
        FitDesignFigureTexts(m, pRep->textFit, [&m](CDC* pDC) { m._PVXRender(pDC); });
    }
    Describe(d, mode, pRep);
    if (pReq->bList) {
        const Listing list(pfnLine, pContext);
        list.Write(d);
        if (pRep->bLegend) list.Line(Fmt("legend-range %.10g %.10g", pRep->dLegendMin, pRep->dLegendMax));
    }
    return Finish(pRep, PVXHOST_DRAWN, "");
}
