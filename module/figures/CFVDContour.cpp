// The contour drawing of CFVDBase: strip lines with labels, their legend and the shaded map,
// all clipped to the outlines of the rafts and footings.
#include <cmath>

#include "host/base/CGeomFunc.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDBase.h"

namespace {

constexpr int kNephNodes = 50;

CContourToolPar ToolPar(const sContourControlPar& p, CContourToolPar t) {
    t.nAutoLevels = p.levels.nAutoLevels;
    t.nLevelCount = 0;
    for (double v : p.levels.dLevels)
        if (!p.levels.nAutoLevels && t.nLevelCount < 10 && (t.nLevelCount == 0 || v > t.dLevels[t.nLevelCount - 1]))
            t.dLevels[t.nLevelCount++] = v;
    t.nStripCount = p.nStripCount;
    t.nSubCount = p.nSubStrips;
    t.nRender = p.nRender;
    return t;
}

void FromToolPar(const CContourToolPar& t, sContourControlPar& p) {
    p.levels.nAutoLevels = t.nAutoLevels;
    for (int i = 0; i < 10; ++i) p.levels.dLevels[i] = i < t.nLevelCount ? t.dLevels[i] : 0.0;
    p.nStripCount = t.nStripCount;
    p.nSubStrips = t.nSubCount;
    p.nRender = t.nRender;
}

T_POINT2D NodePoint(const CContourTool& t, int k) {
    const int cols = t.m_nx + 1;
    return {t.m_dXFrom + (t.m_dXTo - t.m_dXFrom) * (k % cols) / t.m_nx,
            t.m_dYFrom + (t.m_dYTo - t.m_dYFrom) * (k / cols) / t.m_ny};
}

T_MEMBDLG_3DPOINT_LIST_ITEM ItemOf(const CArray<T_POINT2D>& pts) {
    T_MEMBDLG_3DPOINT_LIST_ITEM item;
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) item.Add(T_MEMBDLG_3DPOINT(pts[i].x, pts[i].y, 0.0));
    return item;
}

}  // namespace

int CFVDBase::ContourDlgSet(const std::vector<std::string>& answers) {
    CContourToolPar t = ToolPar(m_ContourPar, m_ContourTool.GetContourPar());
    m_ContourTool.put_ContourPar(&t);
    const int result = m_ContourTool.DlgSet(answers);
    FromToolPar(m_ContourTool.GetContourPar(), m_ContourPar);
    SetModify(result);
    return result;
}

void CFVDBase::PrepareContour() {
    if (m_ContourPar.nContourOn) {
        const int many = m_ContourPoints.size() > 400 ? 1 : 0;
        if (m_ContourPar.nManyPoints != many) {
            m_ContourPar.nManyPoints = many;
            SetModify(1);
        }
    }
    if (!IsModified()) return;
    const CContourToolPar t = ToolPar(m_ContourPar, m_ContourTool.GetContourPar());
    m_ContourTool.put_ContourPar(&t);
    std::vector<C3DPoint> pts;
    pts.reserve(m_ContourPoints.size());
    for (const T_POINT3D& p : m_ContourPoints) pts.emplace_back(p.x, p.y, p.z);
    m_ContourTool.ResetData(&pts);
    m_ContourTool.Generate();
    SetModify(0);
}

// The rafts' outlines and the bottom steps of the footings; the outlines of the sample do not
// overlap, so they are kept side by side rather than merged.
int CFVDBase::CollectContourOutlines(std::vector<T_MEMBDLG_3DPOINT_LIST_ITEM>& list) {
    list.clear();
    CDataBase* db = GetModelDataBase();
    if (!db) return 1;
    CArray<UINT, UINT> keys;
    CClassMtsb rafts;
    rafts.ConnectToDB(db);
    rafts.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        CArray<T_POINT2D> pts;
        if (CSlabCheckToolUtil::s_GetPolygon(keys[i], pts)) list.push_back(ItemOf(pts));
    }
    CClassMemb membs;
    membs.ConnectToDB(db);
    keys.RemoveAll();
    membs.GetKeyList(keys);
    membs.FilterByMembType(keys, MEMB_FOOTING, 0);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        CArray<T_POINT2D> pts;
        if (ICheckToolUtil::s_GetColfPolyLine(keys[i], pts, 0, 0, 0)) list.push_back(ItemOf(pts));
    }
    return 1;
}

int CFVDBase::DrawContourOutlines() {
    const int r = CollectContourOutlines(m_ContourOutlines);
    if (!m_pDrawing) return r;
    for (T_MEMBDLG_3DPOINT_LIST_ITEM item : m_ContourOutlines) {
        if (item.GetCount() < 2) continue;
        item.MakeColse();
        m_pDrawing->DrawPolyLine(item, 0, CString());
    }
    return r;
}

BOOL CFVDBase::ClipToContourOutlines(const CArray<T_LINE2D>& lines, CArray<T_LINE2D>& result) {
    if (!m_ContourOutlines.empty()) result.RemoveAll();
    for (const T_MEMBDLG_3DPOINT_LIST_ITEM& o : m_ContourOutlines) {
        if (o.GetCount() <= 2) continue;
        CArray<T_LINE2D> pieces;
        CGeomFunc::GetIntersectLines(o, lines, pieces, 1);
        result.Append(pieces);
    }
    return result.GetSize() > 0;
}

BOOL CFVDBase::IsInContourOutline(const T_POINT2D& pt, int flag) {
    for (const T_MEMBDLG_3DPOINT_LIST_ITEM& o : m_ContourOutlines) {
        if (o.GetCount() <= 2) continue;
        T_MEMBDLG_3DPOINT_LIST_ITEM c = o;
        c.MakeColse();
        CZELF_Polyline2D poly;
        c.To_POLYLINE2D(poly);
        if (CGeomFunc::IsPointInPolygon2(pt, poly, flag, 0.01, nullptr)) return TRUE;
    }
    return FALSE;
}

void CFVDBase::DrawContourStripLines() {
    if (m_ContourPoints.size() <= 2 || !m_pDrawing) return;
    PrepareContour();
    DrawContourOutlines();
    const CContourTool& t = m_ContourTool;
    const int n = static_cast<int>(t.m_Levels.size());
    if (n > 0 && t.m_nx > 0 && t.m_ny > 0) {
        const double h = t.GetHeightFactor(0.1);
        CContourMsg::MsgOut("begin draw ConTour Strip Line...");
        for (int i = 0; i < n; ++i) {
            CString progress;
            progress.Format("Draw ConTour Strip Line:%d/%d", i + 1, n);
            const auto& strips = t.m_Strips[i];
            COLORREF colour = 0xFF0000, colour2 = 0xFFFF;
            t.GetStripColor(i, colour, colour2, 1);
            const BOOL main = i % t.GetStripSubCount() == 0;
            CString text;
            t.GetStripText(i, text, -1.0);
            const double zs = (t.m_Levels[i] - t.m_Levels[0]) * h;
            for (size_t j = 0; j < strips.size(); ++j) {
                CString step;
                step.Format("[%d/%d]", static_cast<int>(j + 1), static_cast<int>(strips.size()));
                CContourMsg::MsgOutAnalStringSamePos(progress + step, 0);
                const std::vector<int>& nodes = strips[j];
                if (nodes.empty()) continue;
                const T_POINT2D at = NodePoint(t, nodes[0]);
                if ((main || t.DrawSubStripText()) && (!m_bLabelInside || IsInContourOutline(at, 1))) {
                    const long id = m_pDrawing->DrawTextA(text, at.x, at.y, zs, t.GetStripTextHeight());
                    m_pDrawing->SetFigureColor(id, colour, 0);
                }
                CArray<T_LINE2D> lines, pieces;
                for (size_t k = 0; k + 1 < nodes.size(); ++k)
                    lines.Add(T_LINE2D(NodePoint(t, nodes[k]), NodePoint(t, nodes[k + 1])));
                ClipToContourOutlines(lines, pieces);
                for (INT_PTR p = 0; p < pieces.GetSize(); ++p) {
                    T_MEMBDLG_3DPOINT_LIST_ITEM piece;
                    piece.Add(T_MEMBDLG_3DPOINT(pieces[p].p1.x, pieces[p].p1.y, zs));
                    piece.Add(T_MEMBDLG_3DPOINT(pieces[p].p2.x, pieces[p].p2.y, zs));
                    const long id = m_pDrawing->DrawPolyLine(piece, 0, CString());
                    m_pDrawing->SetToolTip(id, text);
                    if (main) {
                        m_pDrawing->SetLineWeightDisplay(1);
                        const double w = t.GetMainStripLineWeight();
                        m_pDrawing->SetLineWeight(id, static_cast<long>(w > 0.1 ? w : 80.0));
                    } else if (t.GetSubStripLineWeight() != 0.0) {
                        m_pDrawing->SetLineWeight(id, static_cast<long>(t.GetSubStripLineWeight()));
                    }
                    m_pDrawing->SetFigureColor(id, colour, 0);
                }
            }
        }
    }
    DrawContourStripLegend();
}

void CFVDBase::DrawContourStripLegend() {
    const CContourTool& t = m_ContourTool;
    const int n = static_cast<int>(t.m_Levels.size());
    if (n == 0 || !m_pDrawing) return;
    const double s = m_pDrawing->GetDrawScale();
    const double x0 = t.m_dXTo + 10.0;
    const double p = std::max((t.m_dYTo - t.m_dYFrom) / n * 0.7, 0.5);
    const double th = std::min(p * 0.8, 0.5) * s;
    const double y0 = (t.m_dYFrom + t.m_dYTo) * 0.5 - (n / 2) * p;
    COLORREF colour = 0xFF0000, colour2 = 0xFFFF;
    const COLORREF frame = 0xFFFF;
    for (int i = 0; i < n; ++i) {
        const double y = y0 + i * p;
        t.GetStripColor(i, colour, colour2, 1);
        CString text;
        t.GetStripText(i, text, -1.0);
        m_pDrawing->SetFigureColor(m_pDrawing->DrawTextA(text, x0 + 3.0, y, 100, 0, th, 0.0), colour2, 0);
        const T_POINT2D box[5] = {{x0 - 0.74, y - 0.01}, {x0 + 0.74, y - 0.01}, {x0 + 0.74, y - p + 0.01},
                                  {x0 - 0.74, y - p + 0.01}, {x0 - 0.74, y - 0.01}};
        m_pDrawing->SetFigureColor(m_pDrawing->DrawPolyLine(box, 5, 1, CString()), colour, 0);
        const T_POINT2D fr[5] = {{x0 - 0.75, y}, {x0 + 0.75, y}, {x0 + 0.75, y - p}, {x0 - 0.75, y - p}, {x0 - 0.75, y}};
        m_pDrawing->SetFigureColor(m_pDrawing->DrawPolyLine(fr, 5, 0, CString()), frame, 0);
        m_pDrawing->SetFigureColor(m_pDrawing->DrawLine(x0 + 0.75, y, x0 + 1.5, y), frame, 0);
    }
}

void CFVDBase::DrawNephogram() {
    m_nNephInserts = 0;
    if (!m_ContourTool.DrawRender() || m_ContourPoints.size() <= 2 || !m_pDrawing) return;
    PrepareContour();
    const CContourTool& t = m_ContourTool;
    if (t.m_Levels.empty()) return;
    const int N = kNephNodes;
    const double dx = (t.m_dXTo - t.m_dXFrom) / (N - 1), dy = (t.m_dYTo - t.m_dYFrom) / (N - 1);
    if (m_ContourOutlines.empty()) CollectContourOutlines(m_ContourOutlines);
    if (m_bFirstModify || m_NephZ.size() != static_cast<size_t>(N * N)) {
        const double h = t.GetHeightFactor(0.1);
        CContourMsg::MsgOut("PrePare Data for nephogram...");
        m_NephX.assign(N * N, 0.0);
        m_NephY = m_NephZ = m_NephZs = m_NephX;
        for (int i = 0; i < N; ++i) {
            CString progress;
            progress.Format("PrePare Data for nephogram:%d/%d", i + 1, N);
            for (int j = 0; j < N; ++j) {
                CString step;
                step.Format("[%d/%d]", j + 1, N);
                CContourMsg::MsgOutAnalStringSamePos(progress + step, 0);
                const int k = i * N + j;
                m_NephX[k] = t.m_dXFrom + i * dx;
                m_NephY[k] = t.m_dYFrom + j * dy;
                m_NephZ[k] = t.InsertFunction(m_NephX[k], m_NephY[k]);
                ++m_nNephInserts;
                m_NephZs[k] = (m_NephZ[k] - t.m_Levels[0]) * h;
            }
        }
        m_bFirstModify = 0;
    }
    CContourMsg::MsgOut("begin draw nephogram...");
    for (int i = 0; i + 1 < N; ++i) {
        for (int j = 0; j + 1 < N; ++j) {
            const int k[4] = {i * N + j, (i + 1) * N + j, (i + 1) * N + j + 1, i * N + j + 1};
            COLORREF colour = 0xFF0000, colour2 = 0xFF;
            t.GetZColor(m_NephZ[k[0]], colour, colour2, 1);
            // A cell is kept when its centre lies in an outline: the cells are small beside the
            // outlines, and a filled cell cut by a straight-edge clip would only trim its corner.
            const T_POINT2D centre{m_NephX[k[0]] + dx * 0.5, m_NephY[k[0]] + dy * 0.5};
            if (!IsInContourOutline(centre, 1)) continue;
            T_MEMBDLG_3DPOINT_LIST_ITEM cell;
            for (int c : k) cell.Add(T_MEMBDLG_3DPOINT(m_NephX[c], m_NephY[c], m_NephZs[c]));
            cell.MakeColse();
            const long id = m_pDrawing->DrawPolyLine(cell, 1, CString());
            m_pDrawing->SetFigureColor(id, colour, 0);
            m_pDrawing->BringBottom(id);
            CString tip;
            tip.Format("%.15f", m_NephZ[k[0]]);
            m_pDrawing->SetToolTip(id, tip);
        }
    }
}
