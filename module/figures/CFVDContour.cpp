// The contour drawing of CFVDBase: strip lines with labels, their legend and the shaded map,
// all clipped to the outlines of the rafts and footings.
#include <cmath>
#include <algorithm>
#include <functional>
#include <utility>

#include "host/base/CGeomFunc.h"
#include "host/check/CModelingMethod.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDBase.h"
#include "module/figures/FigureText.h"
#include "module/figures/FigureTextRoom.h"

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
    // The record has no level count: the slots after the last level repeat it, so the rising run
    // ToolPar reads back ends there (zeros would add a level 0 after negative levels).
    for (int i = 0; i < 10; ++i)
        p.levels.dLevels[i] = i < t.nLevelCount ? t.dLevels[i] : t.nLevelCount ? t.dLevels[t.nLevelCount - 1] : 0.0;
    p.nStripCount = t.nStripCount;
    p.nSubStrips = t.nSubCount;
    p.nRender = t.nRender;
}

T_POINT2D NodePoint(const CContourTool& t, int k) {
    const int cols = t.m_nx + 1;
    return {t.m_dXFrom + (t.m_dXTo - t.m_dXFrom) * (k % cols) / t.m_nx,
            t.m_dYFrom + (t.m_dYTo - t.m_dYFrom) * (k / cols) / t.m_ny};
}

// Whether the segment a-b meets the box [x0, x1] x [y0, y1] (Liang-Barsky).
bool SegmentEntersBox(const T_POINT2D& a, const T_POINT2D& b, double x0, double y0, double x1, double y1) {
    double t0 = 0.0, t1 = 1.0;
    const double d[2] = {b.x - a.x, b.y - a.y}, lo[2] = {x0 - a.x, y0 - a.y}, hi[2] = {x1 - a.x, y1 - a.y};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0.0) {
            if (lo[k] > 0.0 || hi[k] < 0.0) return false;
            continue;
        }
        double ta = lo[k] / d[k], tb = hi[k] / d[k];
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        if (t0 > t1) return false;
    }
    return true;
}

T_MEMBDLG_3DPOINT_LIST_ITEM ItemOf(const CArray<T_POINT2D>& pts) {
    T_MEMBDLG_3DPOINT_LIST_ITEM item;
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) item.Add(T_MEMBDLG_3DPOINT(pts[i].x, pts[i].y, 0.0));
    return item;
}

}  // namespace

int CFVDBase::ContourDlgSet() {
    return ContourDlgSetWith([](CContourTool& t) { return t.DlgSet(); });
}

int CFVDBase::ContourDlgSet(const std::vector<std::string>& answers) {
    return ContourDlgSetWith([&answers](CContourTool& t) { return t.DlgSet(answers); });
}

// The parameters (with the label-inside flag) into the tool, the dialog, and what it set back.
int CFVDBase::ContourDlgSetWith(const std::function<int(CContourTool&)>& dialog) {
    CContourToolPar t = ToolPar(m_ContourPar, m_ContourTool.GetContourPar());
    t.nLabelInside = m_bLabelInside ? 1 : 0;
    m_ContourTool.put_ContourPar(&t);
    const int result = dialog(m_ContourTool);
    FromToolPar(m_ContourTool.GetContourPar(), m_ContourPar);
    m_bLabelInside = m_ContourTool.GetContourPar().nLabelInside;
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

// The union of the areas the axes enclose. Only rafts enabled: the raft outlines alone, as
// they stand. Otherwise the rafts and the bottom steps of the isolated footings join the axis
// areas before the union: settlement points at footings off the axis grid would be lost else.
int CFVDBase::CollectContourOutlines(std::vector<T_MEMBDLG_3DPOINT_LIST_ITEM>& list) {
    list.clear();
    CDataBase* db = GetModelDataBase();
    if (!db) return 1;
    CClassMemb membs;
    membs.ConnectToDB(db);
    CArray<int, int> types;
    membs.GetEnableMembType(types, 1);
    CArray<UINT, UINT> keys, rafts;
    membs.GetKeyList(keys);
    rafts.Append(keys);
    membs.FilterByMembType(rafts, MEMB_RAFT, 0);
    if (types.GetSize() == 1 && types[0] == MEMB_RAFT) {
        for (INT_PTR i = 0; i < rafts.GetSize(); ++i) {
            CArray<T_POINT2D> pts;
            if (ICheckToolUtil::s_GetMtsbPolyline(rafts[i], pts, 1)) list.push_back(ItemOf(pts));
        }
        return 1;
    }
    CModelingMethod mm;
    mm.ResetDB(db);
    CArray<UINT, UINT> axes;
    mm.GetAllAxis(axes);
    std::vector<CModelingMethod::Ring> areas, merged;
    mm.GetAreaBYWin2(axes, areas);
    auto add = [&areas](const CArray<T_POINT2D>& pts) {
        areas.emplace_back();
        for (INT_PTR i = 0; i < pts.GetSize(); ++i) areas.back().push_back(pts[i]);
    };
    for (INT_PTR i = 0; i < rafts.GetSize(); ++i) {
        CArray<T_POINT2D> pts;
        if (ICheckToolUtil::s_GetMtsbPolyline(rafts[i], pts, 1)) add(pts);
    }
    membs.FilterByMembType(keys, MEMB_FOOTING, 0);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        CArray<T_POINT2D> pts;
        if (ICheckToolUtil::s_GetColfPolyLine(keys[i], pts, 0, 0, 0)) add(pts);
    }
    CModelingMethod::UnionSlab(areas, merged);
    for (const CModelingMethod::Ring& r : merged) {
        T_MEMBDLG_3DPOINT_LIST_ITEM item;
        for (const T_POINT2D& p : r) item.Add(T_MEMBDLG_3DPOINT(p.x, p.y, 0.0));
        list.push_back(std::move(item));
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
        const double scale = m_pDrawing->GetDrawScale();
        CFVDTextRoom room;  // the point values, so that no strip label covers one
        room.Collect(*m_pDrawing);
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
                CArray<T_LINE2D> lines, pieces;
                for (size_t k = 0; k + 1 < nodes.size(); ++k)
                    lines.Add(T_LINE2D(NodePoint(t, nodes[k]), NodePoint(t, nodes[k + 1])));
                ClipToContourOutlines(lines, pieces);
                // The label stands at the strip's first node; kept inside the outlines, a first
                // node outside moves to the middle of the strip's first piece inside.
                T_POINT2D at = NodePoint(t, nodes[0]);
                bool labelled = !m_bLabelInside || IsInContourOutline(at, 1);
                if (!labelled && pieces.GetSize() > 0) {
                    at = T_POINT2D((pieces[0].p1.x + pieces[0].p2.x) * 0.5, (pieces[0].p1.y + pieces[0].p2.y) * 0.5);
                    labelled = true;
                }
                if ((main || t.DrawSubStripText()) && labelled) {
                    const long id = m_pDrawing->DrawTextA(text, at.x, at.y, zs, t.GetStripTextHeight());
                    m_pDrawing->SetFigureColor(id, colour, 0);
                    // A label that would cover a text moves on along its strip (kept inside the
                    // outlines when the labels are): a few nodes spread over the strip.
                    std::vector<T_POINT2D> offsets;
                    const size_t tries = std::min<size_t>(nodes.size(), 64);
                    for (size_t q = 1; q < tries; ++q) {
                        const T_POINT2D p = NodePoint(t, nodes[q * (nodes.size() - 1) / (tries - 1)]);
                        if (!m_bLabelInside || IsInContourOutline(p, 1))
                            offsets.emplace_back((p.x - at.x) * scale, (p.y - at.y) * scale);
                    }
                    CArray<long> ids;
                    ids.Add(id);
                    room.Place(*m_pDrawing, ids, offsets);
                }
                // The pieces of the strip that join end to end are drawn as one line.
                for (INT_PTR p = 0; p < pieces.GetSize();) {
                    T_MEMBDLG_3DPOINT_LIST_ITEM piece;
                    piece.Add(T_MEMBDLG_3DPOINT(pieces[p].p1.x, pieces[p].p1.y, zs));
                    piece.Add(T_MEMBDLG_3DPOINT(pieces[p].p2.x, pieces[p].p2.y, zs));
                    for (++p; p < pieces.GetSize() && pieces[p].p1.x == pieces[p - 1].p2.x &&
                              pieces[p].p1.y == pieces[p - 1].p2.y;
                         ++p)
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
    // The lowest band reaches down to the least point value: its lower edge is labelled too.
    const double yLow = y0 - p;
    double least = t.m_Levels[0];
    for (const T_POINT3D& q : m_ContourPoints) least = std::min(least, q.z);
    m_pDrawing->SetFigureColor(m_pDrawing->DrawLine(x0 + 0.75, yLow, x0 + 1.5, yLow), frame, 0);
    m_pDrawing->SetFigureColor(m_pDrawing->DrawTextA(FormatFigureFixed(least, 2), x0 + 3.0, yLow, 100, 0, th, 0.0),
                               colour2, 0);
    // The title above the top row, a line of text apart, one line per line of the title.
    if (m_strContourLegendTitle.IsEmpty()) return;
    CStringArray lines;
    const int nl = SplitFigureLines(m_strContourLegendTitle, lines);
    const double pitch = 1.3 * th / s;
    for (int l = 0; l < nl; ++l) {
        const double y = y0 + (n - 1) * p + pitch * (nl - l);
        m_pDrawing->SetFigureColor(m_pDrawing->DrawTextA(lines[l], x0 - 0.75, y, 100, VdTextHorLeft, th, 0.0), frame, 0);
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
            // The cell cut at the outlines; a piece's corners take z' bilinear over the cell.
            CModelingMethod::Ring cell;
            for (int c : k) cell.push_back(T_POINT2D(m_NephX[c], m_NephY[c]));
            const double x0 = m_NephX[k[0]], y0 = m_NephY[k[0]];
            auto zsAt = [&](const T_POINT2D& p) {
                const double u = dx > 0 ? (p.x - x0) / dx : 0.0, v = dy > 0 ? (p.y - y0) / dy : 0.0;
                return (1 - u) * (1 - v) * m_NephZs[k[0]] + u * (1 - v) * m_NephZs[k[1]] + u * v * m_NephZs[k[2]] +
                       (1 - u) * v * m_NephZs[k[3]];
            };
            CString tip;
            tip.Format("%.15f", m_NephZ[k[0]]);
            for (const CModelingMethod::Ring& piece : ClipCellToContourOutlines(cell)) {
                T_MEMBDLG_3DPOINT_LIST_ITEM item;
                for (const T_POINT2D& p : piece) item.Add(T_MEMBDLG_3DPOINT(p.x, p.y, zsAt(p)));
                item.MakeColse();
                const long id = m_pDrawing->DrawPolyLine(item, 1, CString());
                m_pDrawing->SetFigureColor(id, colour, 0);
                m_pDrawing->BringBottom(id);
                m_pDrawing->SetToolTip(id, tip);
            }
        }
    }
}

// The pieces of a cell inside the outlines: the cell itself where an outline holds it whole,
// none where it misses every outline's box.
std::vector<std::vector<T_POINT2D>> CFVDBase::ClipCellToContourOutlines(const std::vector<T_POINT2D>& cell) {
    std::vector<CModelingMethod::Ring> out;
    double bx0 = cell[0].x, by0 = cell[0].y, bx1 = bx0, by1 = by0;
    for (const T_POINT2D& p : cell) {
        bx0 = std::min(bx0, p.x), by0 = std::min(by0, p.y), bx1 = std::max(bx1, p.x), by1 = std::max(by1, p.y);
    }
    for (const T_MEMBDLG_3DPOINT_LIST_ITEM& o : m_ContourOutlines) {
        if (o.GetCount() <= 2) continue;
        CModelingMethod::Ring ring;
        double ox0 = o.m_Points[0].x, oy0 = o.m_Points[0].y, ox1 = ox0, oy1 = oy0;
        for (INT_PTR i = 0; i < o.GetCount(); ++i) {
            const T_MEMBDLG_3DPOINT& p = o.m_Points[i];
            ring.push_back(T_POINT2D(p.x, p.y));
            ox0 = std::min(ox0, p.x), oy0 = std::min(oy0, p.y), ox1 = std::max(ox1, p.x), oy1 = std::max(oy1, p.y);
        }
        if (bx1 <= ox0 || bx0 >= ox1 || by1 <= oy0 || by0 >= oy1) continue;
        // Whole: no outline edge enters the cell's open box and the cell's centre is inside.
        const double e = 1e-9 * std::max(bx1 - bx0, by1 - by0);
        bool crossed = false;
        for (size_t i = 0; i < ring.size() && !crossed; ++i)
            crossed = SegmentEntersBox(ring[i], ring[(i + 1) % ring.size()], bx0 + e, by0 + e, bx1 - e, by1 - e);
        CArray<T_POINT2D> poly;
        for (const T_POINT2D& p : ring) poly.Add(p);
        if (!crossed) {
            if (CGeomFunc::IsPointInPolygon2(T_POINT2D((bx0 + bx1) * 0.5, (by0 + by1) * 0.5), poly, 1, 0.0, nullptr))
                out.push_back(cell);
            continue;
        }
        std::vector<CModelingMethod::Ring> pieces;
        CModelingMethod::ClipPolygon(ring, cell, pieces);
        out.insert(out.end(), pieces.begin(), pieces.end());
    }
    return out;
}
