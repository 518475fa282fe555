#include "host/grx/CContourTool.h"

#include "host/base/CMsgOutWnd.h"
#include "host/grx/CContourSetDlg.h"
#include "platform/ui/CWinApp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <utility>

int CContourTool::DlgSet() {
    CContourSetDlg dlg(*this, AfxGetMainWnd());
    return dlg.DoModal() == IDOK ? dlg.m_nChanged : 0;
}

namespace {

// A whole number in [lo, hi] or a finite number in [lo, hi].
bool ReadNumber(const std::string& text, double lo, double hi, bool whole, double& v) {
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && std::isfinite(v) && v >= lo && v <= hi &&
           (!whole || v == std::floor(v));
}

}  // namespace

int CContourTool::DlgSet(const std::vector<std::string>& answers) {
    CContourToolPar p = m_par;
    m_strError.clear();
    for (const std::string& a : answers) {
        const auto eq = a.find('=');
        const std::string key = a.substr(0, eq), val = eq == std::string::npos ? "" : a.substr(eq + 1);
        double d = 0.0;
        if (key == "levels" && (val.empty() || val == "auto")) {
            p.nAutoLevels = 1;
        } else if (key == "levels") {
            p.nAutoLevels = 0;
            p.nLevelCount = 0;
            size_t pos = 0;
            for (;;) {
                const size_t c = val.find(',', pos);
                const std::string one = val.substr(pos, c == std::string::npos ? std::string::npos : c - pos);
                if (!ReadNumber(one, -1e300, 1e300, false, d) || p.nLevelCount == 10) {
                    m_strError = "levels: \"" + val + "\" is not a list of at most 10 numbers";
                    return 0;
                }
                p.dLevels[p.nLevelCount++] = d;
                if (c == std::string::npos) break;
                pos = c + 1;
            }
            std::sort(p.dLevels, p.dLevels + p.nLevelCount);
            p.nLevelCount = static_cast<int>(std::unique(p.dLevels, p.dLevels + p.nLevelCount) - p.dLevels);
            for (int i = p.nLevelCount; i < 10; ++i) p.dLevels[i] = 0.0;
        } else if ((key == "strips" || key == "subcount") && ReadNumber(val, 1, 100, true, d)) {
            if (key == "strips") {
                p.nAutoLevels = 1;
                p.nStripCount = static_cast<int>(d);
            } else {
                p.nSubCount = static_cast<int>(d);
            }
        } else if ((key == "render" || key == "subtext" || key == "labelsinside") && (val == "0" || val == "1")) {
            (key == "render" ? p.nRender : key == "subtext" ? p.nSubText : p.nLabelInside) = val == "1";
        } else if ((key == "mainweight" || key == "subweight") && ReadNumber(val, 0, 1000, false, d)) {
            (key == "mainweight" ? p.dMainWeight : p.dSubWeight) = d;
        } else {
            const bool known = key == "levels" || key == "strips" || key == "subcount" || key == "render" ||
                               key == "subtext" || key == "labelsinside" || key == "mainweight" || key == "subweight";
            m_strError = known ? key + ": \"" + val + "\" is not a value it takes (see its range)"
                               : "contour setting \"" + a + "\" not understood";
            return 0;
        }
    }
    bool changed = p.nAutoLevels != m_par.nAutoLevels || p.nStripCount != m_par.nStripCount ||
                   p.nSubCount != m_par.nSubCount || p.nRender != m_par.nRender || p.nSubText != m_par.nSubText ||
                   p.nLabelInside != m_par.nLabelInside || p.dMainWeight != m_par.dMainWeight ||
                   p.dSubWeight != m_par.dSubWeight;
    if (!p.nAutoLevels) {
        changed = changed || p.nLevelCount != m_par.nLevelCount;
        for (int i = 0; i < p.nLevelCount; ++i) changed = changed || p.dLevels[i] != m_par.dLevels[i];
    }
    m_par = p;
    return changed ? 1 : 0;
}

void CContourTool::ResetData(const std::vector<C3DPoint>* pts) {
    m_Data = pts ? *pts : std::vector<C3DPoint>();
}

int CContourTool::Generate() {
    m_Levels.clear();
    m_Strips.clear();
    m_nx = m_ny = 0;
    if (m_Data.empty()) return 0;
    std::vector<double> xs, ys, vs;
    for (const C3DPoint& p : m_Data) {
        xs.push_back(p.x);
        ys.push_back(p.y);
        vs.push_back(p.z);
    }
    m_krig.SetSamples(xs, ys, vs);
    m_dMin = m_krig.GetMin();
    m_dMax = m_krig.GetMax();
    m_dXFrom = *std::min_element(xs.begin(), xs.end());
    m_dXTo = *std::max_element(xs.begin(), xs.end());
    m_dYFrom = *std::min_element(ys.begin(), ys.end());
    m_dYTo = *std::max_element(ys.begin(), ys.end());
    const double w = m_dXTo - m_dXFrom, h = m_dYTo - m_dYFrom, big = std::max(w, h);
    const int g = std::max(2, m_par.nGrid);
    // Never a zero cell count: a flat or single-point box still gets one cell each way.
    m_nx = big > 0 ? std::max(1, static_cast<int>(std::lround(g * w / big))) : 1;
    m_ny = big > 0 ? std::max(1, static_cast<int>(std::lround(g * h / big))) : 1;
    if (m_par.nAutoLevels) {
        const int n = std::max(1, m_par.nStripCount);
        for (int i = 0; i < n; ++i) m_Levels.push_back(m_dMin + (m_dMax - m_dMin) * (i + 0.5) / n);
    } else {
        for (int i = 0; i < m_par.nLevelCount; ++i) m_Levels.push_back(m_par.dLevels[i]);
    }
    const int cols = m_nx + 1;
    std::vector<double> z(static_cast<size_t>(cols) * (m_ny + 1));
    // Beyond the global system every estimate searches its neighbours: those samples are
    // estimated on every kStride-th row and column and the nodes between filled bilinearly.
    const int stride = m_Data.size() > 400 ? kStride : 1;
    auto lattice = [](int i, int n, int st) { return std::min(n, i - i % st); };
    for (int r = 0; r <= m_ny; ++r)
        for (int c = 0; c < cols; ++c)
            if ((r % stride == 0 || r == m_ny) && (c % stride == 0 || c == m_nx))
                z[r * cols + c] = m_krig.Estimate(m_dXFrom + w * c / m_nx, m_dYFrom + h * r / m_ny);
    if (stride > 1)
        for (int r = 0; r <= m_ny; ++r)
            for (int c = 0; c < cols; ++c) {
                const int r0 = lattice(r, m_ny, stride), c0 = lattice(c, m_nx, stride);
                const int r1 = std::min(m_ny, r0 + stride), c1 = std::min(m_nx, c0 + stride);
                if ((r == r0 || r == m_ny) && (c == c0 || c == m_nx)) continue;
                const double u = c1 > c0 ? double(c - c0) / (c1 - c0) : 0.0, v = r1 > r0 ? double(r - r0) / (r1 - r0) : 0.0;
                z[r * cols + c] = (1 - u) * (1 - v) * z[r0 * cols + c0] + u * (1 - v) * z[r0 * cols + c1] +
                                  (1 - u) * v * z[r1 * cols + c0] + u * v * z[r1 * cols + c1];
            }
    m_Strips.resize(m_Levels.size());
    for (size_t l = 0; l < m_Levels.size(); ++l) {
        const double lv = m_Levels[l];
        // Crossing of the edge a-b snapped to its nearer node.
        auto cross = [&](int a, int b, int& node) {
            const double za = z[a] - lv, zb = z[b] - lv;
            if ((za < 0) == (zb < 0)) return false;
            node = std::fabs(za) <= std::fabs(zb) ? a : b;
            return true;
        };
        for (int r = 0; r < m_ny; ++r)
            for (int c = 0; c < m_nx; ++c) {
                const int k0 = r * cols + c, k1 = k0 + 1, k2 = k1 + cols, k3 = k0 + cols;
                const int e[4][2] = {{k0, k1}, {k1, k2}, {k2, k3}, {k3, k0}};
                std::vector<int> hits;
                for (auto& ed : e) {
                    int n = 0;
                    if (cross(ed[0], ed[1], n)) hits.push_back(n);
                }
                for (size_t i = 0; i + 1 < hits.size(); i += 2)
                    if (hits[i] != hits[i + 1]) m_Strips[l].push_back({hits[i], hits[i + 1]});
            }
        m_Strips[l] = ChainSegments(m_Strips[l]);
    }
    return 1;
}

// Joins two-node segments sharing end nodes into runs; open runs start at a node used once.
std::vector<std::vector<int>> CContourTool::ChainSegments(const std::vector<std::vector<int>>& segs) {
    std::map<int, std::vector<size_t>> at;
    std::set<std::pair<int, int>> seen;
    std::vector<std::vector<int>> unique;
    for (const auto& sg : segs) {
        const auto key = std::minmax(sg[0], sg[1]);
        if (seen.insert({key.first, key.second}).second) unique.push_back(sg);
    }
    for (size_t i = 0; i < unique.size(); ++i) {
        at[unique[i][0]].push_back(i);
        at[unique[i][1]].push_back(i);
    }
    std::vector<char> used(unique.size(), 0);
    std::vector<std::vector<int>> runs;
    auto walk = [&](size_t first, int from) {
        std::vector<int> run{from};
        size_t cur = first;
        int node = from;
        while (true) {
            used[cur] = 1;
            node = unique[cur][0] == node ? unique[cur][1] : unique[cur][0];
            run.push_back(node);
            size_t next = unique.size();
            for (size_t c : at[node])
                if (!used[c]) {
                    next = c;
                    break;
                }
            if (next == unique.size()) break;
            cur = next;
        }
        runs.push_back(std::move(run));
    };
    for (auto& [node, list] : at)
        if (list.size() == 1 && !used[list[0]]) walk(list[0], node);
    for (size_t i = 0; i < unique.size(); ++i)
        if (!used[i]) walk(i, unique[i][0]);
    return runs;
}

double CContourTool::GetHeightFactor(double ratio) const {
    const double span = m_dMax - m_dMin;
    const double size = std::max(m_dXTo - m_dXFrom, m_dYTo - m_dYFrom);
    return span > 0 ? ratio * size / span : 0.0;
}

COLORREF CContourTool::RampColour(double t) const {
    t = std::clamp(t, 0.0, 1.0);
    const int r = static_cast<int>(255 * t), b = static_cast<int>(255 * (1 - t));
    const int g = static_cast<int>(255 * (1 - std::fabs(2 * t - 1)));
    return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}

BOOL CContourTool::GetStripColor(int level, COLORREF& colour, COLORREF& colour2, int) const {
    const int n = static_cast<int>(m_Levels.size());
    if (level < 0 || level >= n) return FALSE;
    colour = RampColour(n > 1 ? static_cast<double>(level) / (n - 1) : 0.5);
    colour2 = 0xFFFFFF;
    return TRUE;
}

BOOL CContourTool::GetStripText(int level, CString& text, double) const {
    if (level < 0 || level >= static_cast<int>(m_Levels.size())) return FALSE;
    text.Format("%.2f", m_Levels[level]);
    if (text == "-0.00") text = "0.00";  // a level that rounds to zero has no sign
    return TRUE;
}

BOOL CContourTool::GetZColor(double z, COLORREF& colour, COLORREF& colour2, int) const {
    const int n = static_cast<int>(m_Levels.size());
    if (n == 0) return FALSE;
    // The legend's row i holds (level i-1, level i]: a value takes the row whose band holds it,
    // one below the first level the first row, one above the last the last row.
    int band = 0;
    while (band < n - 1 && z > m_Levels[band]) ++band;
    return GetStripColor(band, colour, colour2, 0);
}

namespace {
std::string& LastProgress() {
    static thread_local std::string s;
    return s;
}

void (*g_pfnContourProgress)(const char*) = nullptr;
}  // namespace

void CContourMsg::SetProgressHandler(void (*handler)(const char*)) { g_pfnContourProgress = handler; }
void CContourMsg::MsgOut(LPCTSTR text) { MsgOutAnalStringSamePos(text, 0); }
void CContourMsg::MsgOutAnalStringSamePos(LPCTSTR text, int) {
    LastProgress() = text ? text : "";
    if (g_pfnContourProgress) g_pfnContourProgress(LastProgress().c_str());
}
std::string CContourMsg::GetLastProgress() { return LastProgress(); }
