// CContourEngine: level map, colour tables, knots, percent map and global range.
#include "module/contour/CContourEngine.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "module/model/I_PVXModel.h"

namespace {

// Rank lookups treat a value within this distance of a level as lying on it.
constexpr double kRankTol = 1e-64;
// Zero snapping: range ends nearer zero than this do not count as containing zero, and a level
// replaces the best candidate only when it is nearer zero by more than this.
constexpr double kZeroTol = 1e-10;

// Key colours of the four tables in normal order, for entries 0, 1, 2, 3, 4, 5 and 30.
const COLORREF kKeyColors[CContourEngine::TABLE_KINDS][7] = {
    // V->R->G->B
    {RGB(0, 0, 255), RGB(0, 255, 255), RGB(0, 255, 0), RGB(255, 255, 0), RGB(255, 0, 0), RGB(255, 0, 255),
     RGB(170, 0, 170)},
    // R->G->B
    {RGB(0, 0, 255), RGB(0, 255, 255), RGB(0, 255, 0), RGB(170, 255, 0), RGB(255, 255, 0), RGB(255, 127, 0),
     RGB(255, 0, 0)},
    // R->B->G
    {RGB(0, 255, 0), RGB(0, 255, 170), RGB(0, 170, 255), RGB(0, 0, 255), RGB(170, 0, 255), RGB(255, 0, 170),
     RGB(255, 0, 0)},
    // Gray Scaled
    {RGB(255, 255, 255), RGB(212, 212, 212), RGB(170, 170, 170), RGB(127, 127, 127), RGB(85, 85, 85),
     RGB(42, 42, 42), RGB(0, 0, 0)},
};
const int kKeyEntries[7] = {0, 1, 2, 3, 4, 5, 30};

// Key points (red, green, blue fractions) of the continuous hue function, per kind; normal order
// runs from P6 at t = 0 to P0 at t = 1.
const double kHuePoints[4][7][3] = {
    {{0.5, 0, 0.65}, {0.75, 0, 0.33}, {0.1, 0, 0}, {0.5, 0.5, 0}, {0, 1, 0}, {0, 0.5, 0.5}, {0, 0, 1}},
    {{1, 0, 0}, {0.75, 0.25, 0}, {0.5, 0.5, 0}, {0.5, 0.75, 0}, {0, 1, 0}, {0, 0.5, 0.5}, {0, 0, 1}},
    {{1, 0, 0}, {0.67, 0, 0.44}, {0.44, 0, 0.66}, {0, 0, 1}, {0, 0.44, 0.66}, {0, 0.66, 0.44}, {0, 1, 0}},
    {{0, 0, 0}, {0.17, 0.17, 0.17}, {0.33, 0.33, 0.33}, {0.5, 0.5, 0.5}, {0.67, 0.67, 0.67}, {0.83, 0.83, 0.83},
     {1, 1, 1}},
};

// A channel value reduced modulo 256, as byte arithmetic of the colour words wraps.
inline int Wrap256(long long c) { return static_cast<int>(((c % 256) + 256) % 256); }

inline int Chan(COLORREF c, int ch) { return ch == 0 ? GetRValue(c) : (ch == 1 ? GetGValue(c) : GetBValue(c)); }

inline COLORREF MakeColor(const int ch[3]) {
    return RGB(static_cast<BYTE>(ch[0]), static_cast<BYTE>(ch[1]), static_cast<BYTE>(ch[2]));
}

// Truncation toward zero of a finite double that fits an int (channel arithmetic stays within
// a few hundred); anything else gives 0.
inline long long TruncChannel(double x) {
    if (!(x > -1e9 && x < 1e9)) return 0;
    return static_cast<long long>(x);
}

// Index of the first of the len levels from L[first] on that the predicate accepts, the
// predicate rejecting a leading run of the (ascending) levels and accepting the rest; first + len
// when it accepts none. Branch-free halving, so random values cost no mispredictions.
template <class Accepts>
inline int FirstAcceptedHalving(const double* L, int first, int len, Accepts accepts) {
    const double* base = L + first;
    while (len > 1) {
        const int half = len >> 1;
        base = accepts(base[half]) ? base : base + half;
        len -= half;
    }
    return static_cast<int>(base - L) + (accepts(*base) ? 0 : 1);
}

// The same answer; short scales count the rejected levels instead, which has no chain of
// dependent steps (the band colour lookups, one per band polygon, are quicker so).
template <class Accepts>
inline int FirstAccepted(const double* L, int first, int len, Accepts accepts) {
    constexpr int kCounted = 16;  // up to this many levels counting is the quicker
    if (len < 1 || len > kCounted) return FirstAcceptedHalving(L, first, len, accepts);
    int rejected = 0;
    for (int k = 0; k < len; k++) rejected += accepts(L[first + k]) ? 0 : 1;
    return first + rejected;
}

// Where v lies in the band from level r-1 to level r, 0 to 1 (1 on an empty band). Above the top
// level the top colour: never extrapolate past the band's ends.
double BandFraction(const double* L, int r, double v) {
    const double span = L[r] - L[r - 1];
    double f = span != 0.0 ? (v - L[r - 1]) / span : 1.0;
    if (!(f >= 0.0)) f = 0.0;
    if (f > 1.0) f = 1.0;
    return f;
}

}  // namespace

CContourEngine::ModelExtentSource CContourEngine::s_pfnModelExtent = nullptr;

// ---- construction ------------------------------------------------------------------------------

void CContourEngine::InitFields(double dMin, double dMax) {
    m_dExtrudeAdjustFactor = 0.0;
    m_dContourFactor = 1.0;
    m_bExactContour = 0;
    m_bThickContourLine = 0;
    m_bSingleLineColor = 0;
    m_bReverseColor = 0;
    m_bDrawContourLine = 0;
    m_bDrawElemOutline = 1;
    m_nFillStyle = 0;
    m_nColorStyle = 0;
    m_nNumColor = 12;
    m_nColorTableKind = 1;
    m_nSaveColorTableKind = 1;
    m_bHueColorMode = 0;
    m_nOption[0] = m_nOption[1] = 0;
    m_dOption[0] = m_dOption[1] = 0.0;
    m_dMinValue = dMin;
    m_dMaxValue = dMax;
    m_crContourLine = RGB(0, 120, 0);
    m_crSaveContourLine = m_crContourLine;
    m_crElemEdge = RGB(128, 128, 0);
    m_crSaveElemEdge = m_crElemEdge;
    m_crBand1 = RGB(255, 0, 0);
    m_crBand2 = RGB(0, 0, 255);
    m_crOption5 = RGB(0, 0, 0);
    for (int k = 0; k < TABLE_KINDS; k++)
        for (int i = 0; i < TABLE_ENTRIES; i++) m_crColorTable[k][i] = 0;
    for (int i = 0; i < MAX_LEVELS; i++) {
        m_dRankMap[i] = 0.0;
        m_dPctRankMap[i] = 0.0;
    }
    m_dPctTotal = 0.0;
    m_bLowerWidened = 0;
    m_bUpperWidened = 0;
    m_bGlobalRange = 0;
    m_dGlobalMin = 0.0;
    m_dGlobalMax = 0.0;
    m_arrGlobalRange.RemoveAll();
    m_arrListValue.RemoveAll();
    m_arrListName.RemoveAll();
    m_arrKnots.RemoveAll();
    m_bMinDominant = 0;
    m_bLegendRangeLock = 0;
    m_bListMode = 0;
    m_bCheckKnots = 1;
    m_nSortedLevels = 0;
    m_bExtrudeContour = 0;
    m_dExtrudeScale = 1.0;
    m_bCoarseContour = 0;
    m_bActiveRange = 0;
    m_dActiveRangeMin = 0.0;
    m_dActiveRangeMax = 0.0;
    m_nActiveRangeMode = 0;
    m_bActiveRangeKnot = 0;
}

CContourEngine::CContourEngine() : CContourEngine(-1.0, 1.0) {}

CContourEngine::CContourEngine(double dMin, double dMax) {
    InitFields(dMin, dMax);
    ResetColors();
    ClearPecentRankMap();
    MakeRankMap();
}

CContourEngine::CContourEngine(CArray<CString, const CString&>& names, CArray<double, const double&>& values) {
    // An empty list gives the default scale rather than an object with unset fields.
    if (values.GetSize() == 0) {
        InitFields(-1.0, 1.0);
        ResetColors();
        ClearPecentRankMap();
        MakeRankMap();
        return;
    }
    InitFields(values[0], values[values.GetSize() - 1]);
    m_bHueColorMode = 1;
    m_nNumColor = ListLevelCount(values.GetSize());
    m_bListMode = 1;
    m_arrListName.SetSize(names.GetSize());
    for (INT_PTR i = 0; i < names.GetSize(); i++) m_arrListName[i] = names[i];
    m_arrListValue.SetSize(values.GetSize());
    for (INT_PTR i = 0; i < values.GetSize(); i++) m_arrListValue[i] = values[i];
    MakeCustomKnotMap();
    ResetColors();
    ClearPecentRankMap();
    m_arrKnots.RemoveAll();
    MakeRankMap();
}

CContourEngine::CContourEngine(const CContourEngine& src) {
    InitFields(-1.0, 1.0);
    *this = src;
}

CContourEngine::~CContourEngine() {}

CContourEngine& CContourEngine::operator=(const CContourEngine& src) {
    if (this == &src) return *this;
    m_dExtrudeAdjustFactor = src.m_dExtrudeAdjustFactor;
    m_dContourFactor = src.m_dContourFactor;
    m_bExactContour = src.m_bExactContour;
    m_bThickContourLine = src.m_bThickContourLine;
    m_bSingleLineColor = src.m_bSingleLineColor;
    m_bReverseColor = src.m_bReverseColor;
    m_bDrawContourLine = src.m_bDrawContourLine;
    m_bDrawElemOutline = src.m_bDrawElemOutline;
    m_nFillStyle = src.m_nFillStyle;
    m_nColorStyle = src.m_nColorStyle;
    m_nNumColor = src.m_nNumColor;
    m_nColorTableKind = src.m_nColorTableKind;
    m_nSaveColorTableKind = src.m_nSaveColorTableKind;
    m_bHueColorMode = src.m_bHueColorMode;
    m_nOption[0] = src.m_nOption[0];
    m_nOption[1] = src.m_nOption[1];
    m_dOption[0] = src.m_dOption[0];
    m_dOption[1] = src.m_dOption[1];
    m_dMinValue = src.m_dMinValue;
    m_dMaxValue = src.m_dMaxValue;
    m_crContourLine = src.m_crContourLine;
    m_crSaveContourLine = src.m_crSaveContourLine;
    m_crElemEdge = src.m_crElemEdge;
    m_crSaveElemEdge = src.m_crSaveElemEdge;
    m_crBand1 = src.m_crBand1;
    m_crBand2 = src.m_crBand2;
    m_crOption5 = src.m_crOption5;
    for (int k = 0; k < TABLE_KINDS; k++)
        for (int i = 0; i < TABLE_ENTRIES; i++) m_crColorTable[k][i] = src.m_crColorTable[k][i];
    for (int i = 0; i < MAX_LEVELS; i++) {
        m_dRankMap[i] = src.m_dRankMap[i];
        m_dPctRankMap[i] = src.m_dPctRankMap[i];
    }
    m_dPctTotal = src.m_dPctTotal;
    m_arrKnots.Copy(src.m_arrKnots);
    m_arrListName.Copy(src.m_arrListName);
    m_arrListValue.Copy(src.m_arrListValue);
    m_bLowerWidened = src.m_bLowerWidened;
    m_bUpperWidened = src.m_bUpperWidened;
    m_bGlobalRange = src.m_bGlobalRange;
    m_dGlobalMin = src.m_dGlobalMin;
    m_dGlobalMax = src.m_dGlobalMax;
    m_arrGlobalRange.Copy(src.m_arrGlobalRange);
    m_bMinDominant = src.m_bMinDominant;
    m_bCheckKnots = src.m_bCheckKnots;
    m_bLegendRangeLock = src.m_bLegendRangeLock;
    m_nSortedLevels = src.m_nSortedLevels;
    m_bExtrudeContour = src.m_bExtrudeContour;
    m_dExtrudeScale = src.m_dExtrudeScale;
    m_bCoarseContour = src.m_bCoarseContour;
    m_bActiveRange = src.m_bActiveRange;
    m_dActiveRangeMin = src.m_dActiveRangeMin;
    m_dActiveRangeMax = src.m_dActiveRangeMax;
    m_nActiveRangeMode = src.m_nActiveRangeMode;
    m_bActiveRangeKnot = src.m_bActiveRangeKnot;
    // m_bListMode stays the target's own.
    return *this;
}

// ---- colours -----------------------------------------------------------------------------------

void CContourEngine::ResetColors() {
    m_crContourLine = RGB(0, 120, 0);
    m_crElemEdge = RGB(128, 128, 0);
    m_crBand1 = RGB(255, 0, 0);
    m_crBand2 = RGB(0, 0, 255);
    m_crOption5 = RGB(0, 0, 0);
    InitColorTable();
    MakeColorTable();
}

void CContourEngine::ResetRankColors() {
    InitColorTable();
    MakeColorTable();
}

void CContourEngine::InitColorTable() {
    const BOOL reversed = IsReversedOrder();
    for (int k = 0; k < TABLE_KINDS; k++)
        for (int p = 0; p < 7; p++)
            m_crColorTable[k][kKeyEntries[p]] = kKeyColors[k][reversed ? 6 - p : p];
}

COLORREF CContourEngine::GetSubColor(COLORREF c0, COLORREF c1, int n, int s) {
    if (n == 0) return c0;
    int ch[3];
    for (int i = 0; i < 3; i++) {
        const int a = Chan(c0, i);
        const int b = Chan(c1, i);
        const long long q = TruncChannel(static_cast<double>(b - a) / n);
        ch[i] = Wrap256(a + q * s);
    }
    return MakeColor(ch);
}

COLORREF CContourEngine::ScalarToRGB(float t, int kind) const {
    if (kind < 0) kind = 0;
    if (kind > 3) kind = 3;
    double tt = t;
    if (!(tt >= 0.0)) tt = 0.0;
    if (tt > 1.0) tt = 1.0;
    const double sixth = 1.0 / 6.0;
    int s = 1;
    while (s < 6 && !((s - 1) * sixth <= tt && tt <= s * sixth)) s++;
    const double f = (tt - (s - 1) * sixth) * 6.0;
    const double(*P)[3] = kHuePoints[kind];
    double c[3];
    for (int i = 0; i < 3; i++) {
        if (!IsReversedOrder())
            c[i] = P[7 - s][i] + (P[6 - s][i] - P[7 - s][i]) * f;
        else
            c[i] = P[s - 1][i] + (P[s][i] - P[s - 1][i]) * f;
    }
    double m = c[0];
    if (c[1] > m) m = c[1];
    if (c[2] > m) m = c[2];
    if (m > 0.0)
        for (double& x : c) x /= m;
    int ch[3];
    for (int i = 0; i < 3; i++) ch[i] = Wrap256(TruncChannel(c[i] * 255.0));
    return MakeColor(ch);
}

void CContourEngine::MakeColorTable() {
    if (!m_bHueColorMode) {
        if (m_nNumColor == 0) return;
        for (int k = 0; k < TABLE_KINDS; k++) {
            COLORREF* T = m_crColorTable[k];
            for (int j = 1; j <= 4; j++)
                for (int i = 0; i <= 5; i++) T[6 * j + i] = GetSubColor(T[i], i == 5 ? T[30] : T[i + 1], 5, j);
        }
        return;
    }
    const int n = LevelCount();
    for (int k = 0; k < 3; k++) {
        for (int i = 0; i < n; i++) {
            const float t = (i < 1 || n < 3) ? 0.0f : static_cast<float>(i - 1) / static_cast<float>(n - 2);
            m_crColorTable[k][i] = ScalarToRGB(t, k);
        }
    }
    const double span = n > 1 ? static_cast<double>(n - 1) : 1.0;
    const BOOL reversed = IsReversedOrder();
    for (int i = 0; i < n; i++) {
        const double g = reversed ? 255.0 * (i / span) : 255.0 * (1.0 - i / span);
        const BYTE b = static_cast<BYTE>(Wrap256(TruncChannel(g)));
        m_crColorTable[3][i] = RGB(b, b, b);
    }
}

void CContourEngine::SetHUEColorMode(int n) {
    m_bHueColorMode = 1;
    m_nNumColor = n < 2 ? 2 : (n > MAX_LEVELS ? MAX_LEVELS : n);
    MakeRankMap();
}

void CContourEngine::SetRGBColorMode() {
    m_bHueColorMode = 0;
    MakeRankMap();
}

COLORREF CContourEngine::GetSerialColor(int i) const {
    if (i < 0) i = 0;
    if (i >= TABLE_ENTRIES) i = TABLE_ENTRIES - 1;
    return m_crColorTable[TableKind()][i];
}

void CContourEngine::SetSerialColor(int i, COLORREF c) {
    if (i < 0 || i >= TABLE_ENTRIES) return;
    m_crColorTable[TableKind()][i] = c;
}

COLORREF CContourEngine::GetRankColor(int r) const {
    const int n = LevelCount();
    if (r < 0) r = 0;
    if (r > n - 1) r = n - 1;
    const COLORREF* T = m_crColorTable[TableKind()];
    if (m_bHueColorMode) return T[r];
    if (r == n - 1) return T[30];
    switch (n) {
    case 6: return T[r];
    case 12: return T[r / 2 + 12 * (r % 2)];
    // Eighteen colours use the 1/5, 2/5 and 3/5 points of each segment, never the key colours.
    case 18: return T[6 + r / 3 + 6 * (r % 3)];
    case 24: return T[r / 4 + 6 * (r % 4)];
    default: return T[30];
    }
}

COLORREF CContourEngine::GetValueColor(double v) const {
    if (m_nFillStyle == 1 && m_bSingleLineColor) return m_crContourLine;
    const int r = GetUpperRank(v);
    return GetRankColor(r < 0 ? -r : r);
}

static_assert(CContourEngine::ValueColors::kTol == kRankTol);

COLORREF CContourEngine::ValueColors::Search(double v) {
    const CContourEngine& s = m_s;
    const int rank = s.GetUpperRank(v);
    m_nBand = rank > 0 && s.m_nSortedLevels >= s.LevelCount() ? rank : 0;
    m_color = s.GetRankColor(rank < 0 ? -rank : rank);
    return m_color;
}

COLORREF CContourEngine::GetValueColorGrad(double v) const {
    const int r = GetUpperRank(v);
    if (r < 0) return GetRankColor(-r);
    // Below level 0 (rank 0) there is no lower level to blend from: the bottom colour.
    if (r == 0) return GetRankColor(0);
    const COLORREF hi = GetRankColor(r);
    const COLORREF lo = GetRankColor(r - 1);
    const double f = BandFraction(m_dRankMap, r, v);
    int ch[3];
    for (int i = 0; i < 3; i++) {
        const int a = Chan(lo, i);
        const int b = Chan(hi, i);
        ch[i] = Wrap256(a + TruncChannel((b - a) * f));
    }
    return MakeColor(ch);
}

COLORREF CContourEngine::GetValueHalfColorGrad(double v) const {
    const int r = GetUpperRank(v);
    int ch[3];
    if (r <= 0) {
        const COLORREF c = GetRankColor(r < 0 ? -r : 0);
        for (int i = 0; i < 3; i++) ch[i] = static_cast<int>(TruncChannel(Chan(c, i) * 0.5));
        return MakeColor(ch);
    }
    const COLORREF hi = GetRankColor(r);
    const COLORREF lo = GetRankColor(r - 1);
    const double f = BandFraction(m_dRankMap, r, v);
    for (int i = 0; i < 3; i++) {
        const int a = Chan(lo, i);
        const int b = Chan(hi, i);
        ch[i] = Wrap256(TruncChannel(a * 0.5) + TruncChannel((b - a) * f * 0.5));
    }
    return MakeColor(ch);
}

// ---- level map ---------------------------------------------------------------------------------

void CContourEngine::CheckCustomRankMapKnots() {
    m_bActiveRange = 0;
    m_dActiveRangeMin = m_dActiveRangeMax = 0.0;
    const INT_PTR count = m_arrKnots.GetSize();
    if (count == 0) return;
    const int last = LevelCount() - 1;
    BOOL hasLow = FALSE, hasHigh = FALSE;
    for (INT_PTR i = 0; i < count; i++) {
        const RankMapKnot_tag& k = m_arrKnots[i];
        // End knots may only widen the range.
        if (k.rank == 0) {
            hasLow = TRUE;
            if (k.value > m_dMinValue) { m_arrKnots.RemoveAll(); return; }
        } else if (k.rank == last) {
            hasHigh = TRUE;
            if (k.value < m_dMaxValue) { m_arrKnots.RemoveAll(); return; }
        }
    }
    // Inner knots must lie inside the range unless that end is widened.
    for (INT_PTR i = 0; i < count; i++) {
        const RankMapKnot_tag& k = m_arrKnots[i];
        if (k.rank == 0 || k.rank == last) continue;
        if ((!hasLow && k.value < m_dMinValue) || (!hasHigh && k.value > m_dMaxValue)) {
            m_arrKnots.RemoveAll();
            return;
        }
    }
}

void CContourEngine::MakeRangeLevels() {
    const int n = m_nNumColor;
    double* L = m_dRankMap;
    if (m_bCheckKnots) CheckCustomRankMapKnots();
    if (m_bGlobalRange && m_arrGlobalRange.GetSize() == n) m_arrKnots.RemoveAll();
    m_bLowerWidened = 0;
    m_bUpperWidened = 0;

    // Knots pinned beyond the current N (left from a larger N) are kept but take no part.
    INT_PTR first = 0;
    INT_PTR end = m_arrKnots.GetSize();
    while (end > first && m_arrKnots[end - 1].rank > n - 1) end--;
    while (first < end && m_arrKnots[first].rank < 0) first++;

    L[0] = m_dMinValue;
    if (end > first && m_arrKnots[first].rank == 0 && m_arrKnots[first].value < m_dMinValue) {
        L[0] = m_arrKnots[first].value;
        m_bLowerWidened = 1;
        first++;
    }
    L[n - 1] = m_dMaxValue;
    if (end > first && m_arrKnots[end - 1].rank == n - 1 && m_arrKnots[end - 1].value > m_dMaxValue) {
        L[n - 1] = m_arrKnots[end - 1].value;
        m_bUpperWidened = 1;
        end--;
    }

    // Equal steps between consecutive knots, then from the last knot to the top level.
    int p = 0;
    for (INT_PTR i = first; i < end; i++) {
        const int k = m_arrKnots[i].rank;
        const double x = m_arrKnots[i].value;
        if (k < p || k > n - 1) continue;
        if (k - p > 1) {
            const double step = (x - L[p]) / (k - p);
            for (int m = 1; m < k - p; m++) L[p + m] = L[p] + m * step;
        }
        L[k] = x;
        p = k;
    }
    if (n - 1 - p > 1) {
        const double step = (L[n - 1] - L[p]) / (n - 1 - p);
        for (int m = 1; m <= n - 2 - p; m++) L[p + m] = L[p] + m * step;
    }

    // A range across zero gets an exact zero level, so a sign change falls on a level.
    const double lo = m_dMinValue, hi = m_dMaxValue;
    if (m_arrKnots.GetSize() == 0 && std::fabs(lo) > kZeroTol && std::fabs(hi) > kZeroTol &&
        ((lo < 0.0 && 0.0 < hi) || (hi < 0.0 && 0.0 < lo))) {
        int best = -1;
        double bestAbs = DBL_MAX;
        for (int i = 1; i <= n - 2; i++) {
            const double a = std::fabs(L[i]);
            if (bestAbs - a > kZeroTol) {
                best = i;
                bestAbs = a;
            }
        }
        if (best >= 0) L[best] = 0.0;
    }
}

void CContourEngine::MakeListLevels() {
    // Value k lies inside band k + 1, halfway between its neighbours' values; the outer levels
    // lie half a step beyond the first and last values.
    const int n = m_nNumColor;
    const int count = n - 1;
    const double* v = m_arrListValue.GetData();
    double* L = m_dRankMap;
    m_bLowerWidened = 0;
    m_bUpperWidened = 0;
    for (int i = 1; i < count; i++) L[i] = 0.5 * (v[i - 1] + v[i]);
    const double firstHalf = count > 1 ? 0.5 * (v[1] - v[0]) : 0.5;
    const double lastHalf = count > 1 ? 0.5 * (v[count - 1] - v[count - 2]) : 0.5;
    L[0] = v[0] - firstHalf;
    L[count] = v[count - 1] + lastHalf;
}

int CContourEngine::ListLevelCount(INT_PTR nValues) {
    if (nValues < 1) return 2;
    return nValues >= MAX_LEVELS ? MAX_LEVELS : static_cast<int>(nValues) + 1;
}

void CContourEngine::MakeRankMap() {
    // The level array and the tables hold 30 levels; a scale needs at least one band.
    if (m_nNumColor < 2) m_nNumColor = 2;
    if (m_nNumColor > MAX_LEVELS) m_nNumColor = MAX_LEVELS;
    // In list mode the list decides N, whatever a dialog set.
    const bool bList = m_bListMode && m_arrListValue.GetSize() > 0;
    if (bList) m_nNumColor = ListLevelCount(m_arrListValue.GetSize());
    const int n = m_nNumColor;
    double* L = m_dRankMap;

    // A new level map ends any active-range restriction of the band polygons.
    m_bActiveRange = 0;
    m_dActiveRangeMin = m_dActiveRangeMax = 0.0;
    if (bList)
        MakeListLevels();
    else
        MakeRangeLevels();

    if (m_bGlobalRange && m_arrGlobalRange.GetSize() == n) {
        m_dGlobalMin = m_arrGlobalRange[0];
        m_dGlobalMax = m_arrGlobalRange[n - 1];
        for (int i = 0; i < n; i++) L[i] = m_arrGlobalRange[i];
    } else {
        m_bGlobalRange = 0;
        m_arrGlobalRange.RemoveAll();
    }

    int sorted = 1;
    while (sorted < n && L[sorted - 1] <= L[sorted]) sorted++;
    m_nSortedLevels = sorted;

    m_bMinDominant = std::fabs(m_dMinValue) > std::fabs(m_dMaxValue) ? 1 : 0;
    ResetRankColors();
}

void CContourEngine::MakeRankMap(double dMin, double dMax) {
    if (m_bLegendRangeLock) return;
    if (m_bListMode) ResetContourEngine();
    m_dMinValue = dMin;
    m_dMaxValue = dMax;
    m_bHueColorMode = 0;
    m_bListMode = 0;
    MakeRankMap();
    InitExtrudeAdjustFactor();
}

void CContourEngine::MakeRankMap(CArray<CString, const CString&>& names, CArray<double, const double&>& values) {
    const INT_PTR count = values.GetSize();
    if (count == 0) return;
    m_dMinValue = values[0];
    m_dMaxValue = values[count - 1];
    m_bHueColorMode = 1;
    m_nNumColor = ListLevelCount(count);
    m_bListMode = 1;
    m_arrListName.SetSize(names.GetSize());
    for (INT_PTR i = 0; i < names.GetSize(); i++) m_arrListName[i] = names[i];
    m_arrListValue.SetSize(count);
    for (INT_PTR i = 0; i < count; i++) m_arrListValue[i] = values[i];
    // The list places the levels itself; knots would move them off the values.
    m_arrKnots.RemoveAll();
    MakeRankMap();
    InitExtrudeAdjustFactor();
}

int CContourEngine::GetUpperRank(double v) const {
    const int n = LevelCount();
    const double* L = m_dRankMap;
    if (v - L[0] < -kRankTol) return 0;
    // A scale of one value (every level equal) has one row in the legend, the top colour's.
    if (n < 2 || L[n - 1] - L[0] <= kRankTol) return n - 1;
    int i = 1;
    if (m_nSortedLevels >= n) {
        // First level from 1 on that is not below v by more than the tolerance; the levels
        // before it cannot answer.
        i = FirstAccepted(L, 1, n - 1, [v](double level) { return level - v > -kRankTol; });
    }
    for (; i < n; i++) {
        const double d = L[i] - v;
        if (d > kRankTol) return i;
        if (std::fabs(d) < kRankTol) return -i;
    }
    return n - 1;
}

int CContourEngine::GetLowerRank(double v) const {
    const int n = LevelCount();
    const double* L = m_dRankMap;
    if (v - L[n - 1] > kRankTol) return n - 1;
    int i = n - 2;
    if (m_nSortedLevels >= n) {
        // Last level up to N-2 that is below v + tolerance: the one before the first that is
        // not; the levels above it cannot answer.
        i = FirstAccepted(L, 0, n - 1, [v](double level) { return !(level - v < kRankTol); }) - 1;
    }
    for (; i >= 0; i--) {
        const double d = L[i] - v;
        if (d < -kRankTol) return i;
        if (std::fabs(d) < kRankTol) return -i;
    }
    return 0;
}

double CContourEngine::GetSubFrameValue(double v, double f) const {
    if (m_dMinValue * m_dMaxValue >= 0.0) return (v - m_dMinValue) * f + m_dMinValue;
    return v * f;
}

INT_PTR CContourEngine::FindKnot(int r) const {
    for (INT_PTR i = 0; i < m_arrKnots.GetSize(); i++)
        if (m_arrKnots[i].rank == r) return i;
    return -1;
}

double CContourEngine::GetMinRangeCustomValue() const {
    const INT_PTR i = FindKnot(0);
    return i >= 0 ? m_arrKnots[i].value : m_dMinValue;
}

double CContourEngine::GetMaxRangeCustomValue() const {
    const INT_PTR i = FindKnot(LevelCount() - 1);
    return i >= 0 ? m_arrKnots[i].value : m_dMaxValue;
}

BOOL CContourEngine::IsMinRangeCustomValue() const { return FindKnot(0) >= 0; }

BOOL CContourEngine::IsMaxRangeCustomValue() const { return FindKnot(LevelCount() - 1) >= 0; }

void CContourEngine::SetModelExtentSource(ModelExtentSource pfn) { s_pfnModelExtent = pfn; }

void CContourEngine::InitExtrudeAdjustFactor() {
    double extent = 0.0;
    int bHave = 0;
    if (s_pfnModelExtent != nullptr) {
        bHave = s_pfnModelExtent(&extent);
    } else if (I_PVXModel* pModel = GetCurrentModel()) {
        // The model on show; none before the first view or after the last one closed. The model
        // keeps its box, so scales made one after another do not shape every member again.
        C3DPoint lo, hi;
        pModel->GetRangeModel(&lo, &hi, 0);
        extent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
        bHave = 1;
    }
    if (!bHave || !std::isfinite(extent)) {
        m_dExtrudeAdjustFactor = 0.0;
        return;
    }
    const double a = std::fabs(m_dMinValue), b = std::fabs(m_dMaxValue);
    const double r = a > b ? a : b;
    // The largest value of the range rises by one thirteenth of the model's largest extent.
    m_dExtrudeAdjustFactor = (r >= 1e-15 && std::isfinite(r)) ? extent / (r * 13.0) : 0.0;
}

void CContourEngine::FindMinMax(double* w, int* order, unsigned* keys) const {
    int a, b, c;  // corners from the largest value to the smallest
    if (w[0] <= w[1]) {
        if (w[1] <= w[2]) { a = 2; b = 1; c = 0; }
        else if (w[0] <= w[2]) { a = 1; b = 2; c = 0; }
        else { a = 1; b = 0; c = 2; }
    } else if (w[0] <= w[2]) { a = 2; b = 0; c = 1; }
    else if (w[1] <= w[2]) { a = 0; b = 2; c = 1; }
    else { a = 0; b = 1; c = 2; }
    if (order) {
        order[0] = a;
        order[1] = b;
        order[2] = c;
    }
    if (keys) {
        // Edge i joins corner i and corner i+1.
        auto edge = [](int p, int q) { return (p + 1) % 3 == q ? p : q; };
        const unsigned k0 = keys[edge(a, b)], k1 = keys[edge(b, c)], k2 = keys[edge(c, a)];
        keys[0] = k0;
        keys[1] = k1;
        keys[2] = k2;
    }
}

// ---- knots -------------------------------------------------------------------------------------

BOOL CContourEngine::IsCustomRank(int r) const { return FindKnot(r) >= 0; }

BOOL CContourEngine::IsValidKnot(int r, double v) const {
    const int n = LevelCount();
    if (r <= 0 || r >= n - 1) return FALSE;
    double lower = m_dMinValue, upper = m_dMaxValue;
    for (INT_PTR i = 0; i < m_arrKnots.GetSize(); i++) {
        const RankMapKnot_tag& k = m_arrKnots[i];
        if (k.rank < r) {
            lower = k.value;
        } else if (k.rank > r) {
            upper = k.value;
            break;
        }
    }
    return (lower < v && v < upper) ? TRUE : FALSE;
}

BOOL CContourEngine::InsertKnot(int r, double v) {
    if (r < 0 || r >= MAX_LEVELS) return FALSE;
    for (INT_PTR i = 0; i < m_arrKnots.GetSize(); i++) {
        if (m_arrKnots[i].rank == r) {
            m_arrKnots[i].value = v;
            return TRUE;
        }
        if (m_arrKnots[i].rank > r) {
            m_arrKnots.InsertAt(i, RankMapKnot_tag{r, v});
            return TRUE;
        }
    }
    m_arrKnots.Add(RankMapKnot_tag{r, v});
    return TRUE;
}

void CContourEngine::DeleteKnot(int r) {
    const INT_PTR i = FindKnot(r);
    if (i >= 0) m_arrKnots.RemoveAt(i);
}

void CContourEngine::MakeCustomKnotMap() {
    m_arrKnots.RemoveAll();
    const INT_PTR count = m_arrListValue.GetSize();
    const int last = LevelCount() - 1;
    for (INT_PTR i = 1; i <= count && i <= last; i++) InsertKnot(static_cast<int>(i), m_arrListValue[i - 1]);
}

void CContourEngine::SetKillCustomRnakMapKnot(int on) { m_bCheckKnots = on; }

void CContourEngine::SetActiveContourRange(int on, int useLow, double low, int useHigh, double high) {
    if (!on) {
        MakeRankMap();
        return;
    }
    m_arrKnots.RemoveAll();
    MakeRankMap();
    const int n = LevelCount();
    if (useLow) {
        int i = 1;
        while (i <= n - 2 && !(m_dRankMap[i] >= low)) i++;
        if (i > n - 2) i = n - 2;
        InsertKnot(i, low);
    }
    if (useHigh) {
        int j = n - 2;
        while (j >= 1 && !(m_dRankMap[j] <= high)) j--;
        if (j < 1) j = 1;
        InsertKnot(j, high);
    }
    MakeRankMap();
}

// ---- percent map -------------------------------------------------------------------------------

void CContourEngine::ClearPecentRankMap() {
    m_dPctTotal = 0.0;
    for (double& s : m_dPctRankMap) s = 0.0;
}

int CContourEngine::GetUpperRank4PctRank(double v) const {
    const int n = LevelCount();
    const double* L = m_dRankMap;
    if (v < L[0] || n < 2) return PCT_OUT_OF_RANGE;
    int i = 1;
    if (m_nSortedLevels >= n) i = FirstAcceptedHalving(L, 1, n - 1, [v](double level) { return level >= v; });
    for (; i < n; i++) {
        if (L[i] > v) return i;
        if (L[i] == v) return -i;
    }
    return PCT_OUT_OF_RANGE;
}

int CContourEngine::GetSeqPecentRankByValue(double v) const {
    const int r = GetUpperRank4PctRank(v);
    if (r == PCT_OUT_OF_RANGE) return PCT_OUT_OF_RANGE;
    return r < 0 ? -r : r;
}

void CContourEngine::AddPecentRankMapData(double v, double w) {
    const int b = GetSeqPecentRankByValue(v);
    if (b < 0 || b >= MAX_LEVELS) return;
    m_dPctTotal += w;
    m_dPctRankMap[b] += w;
}

void CContourEngine::FinishPecentRankMapData() {
    if (m_dPctTotal == 0.0) return;
    for (double& s : m_dPctRankMap) s = s * 100.0 / m_dPctTotal;
}

// ---- resets and global range -------------------------------------------------------------------

namespace {

// What both resets restore: the -1..1 range, the two option pairs, hue mode, colour style and
// list mode.
void ResetRangeDefaults(CContourEngine& e) {
    e.m_dMinValue = -1.0;
    e.m_dMaxValue = 1.0;
    e.m_dOption[0] = e.m_dOption[1] = 0.0;
    e.m_bHueColorMode = 0;
    e.m_nOption[0] = e.m_nOption[1] = 0;
    e.m_nColorStyle = 0;
    e.m_bListMode = 0;
}

}  // namespace

void CContourEngine::ResetContourEngine() {
    ResetRangeDefaults(*this);
    m_bDrawContourLine = 0;
    m_bDrawElemOutline = 1;
    m_nFillStyle = 0;
    m_bThickContourLine = 0;
    m_bReverseColor = 0;
    m_bMinDominant = 0;
    m_nNumColor = 12;
    m_nColorTableKind = 1;
    ResetColors();
    ClearPecentRankMap();
    m_arrKnots.RemoveAll();
    MakeRankMap();
}

void CContourEngine::ResetRankMapforDGN() {
    ResetRangeDefaults(*this);
    if (m_nNumColor != 6 && m_nNumColor != 12 && m_nNumColor != 18 && m_nNumColor != 24) m_nNumColor = 12;
    m_arrKnots.RemoveAll();
    MakeRankMap();
}

void CContourEngine::SetGlobalLevels(int on, const double* levels, INT_PTR count) {
    if (on) {
        m_bGlobalRange = 1;
        m_arrGlobalRange.SetSize(count);
        for (INT_PTR i = 0; i < count; i++) m_arrGlobalRange[i] = levels[i];
    } else {
        // The build that follows empties the list.
        m_bGlobalRange = 0;
    }
    MakeRankMap();
}

void CContourEngine::ResetGlobalRange() {
    m_bGlobalRange = 0;
    m_dGlobalMin = 0.0;
    m_dGlobalMax = 0.0;
}

void CContourEngine::ResetGlobalRagneBy(I_PVXModel* pModel, int kind) {
    if (pModel == nullptr) return;
    ResetGlobalRagneBy(kind, pModel->m_bContour, static_cast<int>(pModel->m_nLoadType));
}

void CContourEngine::ResetGlobalRagneBy(int kind, int modelContourOn, int modelLoadType) {
    if (kind != 1 || !modelContourOn) return;
    if (modelLoadType == 17 || modelLoadType == 22 || modelLoadType == 23 || modelLoadType == 24) ResetGlobalRange();
}
