// Microsoft Video 1 coder of RGB555 pictures: see Msvc1Encoder.h.
#include "platform/video/Msvc1Encoder.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include "platform/afx/PictureMemory.h"
#include "platform/afx/WorkCrew.h"

namespace {

// The codes, in 16-bit little-endian words. A block starts with
//   0x8400 | n (n from 1 to 0x3FF): it and the n - 1 blocks after it are skipped;
//   a word below 0x8000: the block's flags (bit x + 4y, y counted up from the block's bottom
//     row; a set bit takes the first colour of its pair), then two colours, or eight (the first
//     with 0x8000 set) as a pair per quarter: bottom left, bottom right, top left, top right;
//   any other word: the block filled with that colour (0x8000 set). Red 1 would read as a skip.
// The frame ends with a zero word.
constexpr uint16_t kSkip = 0x8400;
constexpr int kMaxSkip = 0x3FF;
constexpr uint16_t kHigh = 0x8000;

// In a row's words a run of skipped blocks is one word, kSkip | its length, as in the film. No
// block's last word can read as one: it is a colour below kHigh, or a fill, never red 1.
inline bool IsSkipRun(uint16_t w) { return (w & ~kMaxSkip) == kSkip; }
void SkipBlock(std::vector<uint16_t>& words) {
    if (!words.empty() && IsSkipRun(words.back()) && (words.back() & kMaxSkip) < kMaxSkip)
        ++words.back();
    else
        words.push_back(kSkip | 1);
}
static_assert(std::endian::native == std::endian::little, "a row's pixels compared as one little-endian word");

using Colour = int[3];

inline void Unpack(uint16_t w, int* c) {
    c[0] = (w >> 10) & 31;
    c[1] = (w >> 5) & 31;
    c[2] = w & 31;
}

inline uint16_t Pack(const int* c) { return static_cast<uint16_t>((c[0] << 10) | (c[1] << 5) | c[2]); }

inline int Dist(const int* a, const int* b) {
    const int d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

inline int Norm(const int* a) { return a[0] * a[0] + a[1] * a[1] + a[2] * a[2]; }

// The rounded mean of the points of p[idx[0..n)] in the group g (inA[i] == g); false when empty.
bool GroupMean(const Colour* p, const int* idx, int n, const bool* inA, bool g, int* mean) {
    int s[3] = {0, 0, 0}, m = 0;
    for (int i = 0; i < n; ++i)
        if (inA[i] == g) {
            for (int k = 0; k < 3; ++k) s[k] += p[idx[i]][k];
            ++m;
        }
    if (m == 0) return false;
    for (int k = 0; k < 3; ++k) mean[k] = (2 * s[k] + m) / (2 * m);
    return true;
}

// Two colours for the points p[idx[0..n)] split by inA: each group's rounded mean, then each point
// to the nearer colour, twice over. Answers the squared error left; inA, a and b take the result.
long TwoColours(const Colour* p, const int* idx, int n, bool* inA, int* a, int* b) {
    for (int pass = 0; pass < 2; ++pass) {
        const bool bA = GroupMean(p, idx, n, inA, true, a);
        const bool bB = GroupMean(p, idx, n, inA, false, b);
        if (!bA) std::memcpy(a, b, sizeof(Colour));
        if (!bB) std::memcpy(b, a, sizeof(Colour));
        for (int i = 0; i < n; ++i) inA[i] = Dist(p[idx[i]], a) <= Dist(p[idx[i]], b);
    }
    long err = 0;
    for (int i = 0; i < n; ++i) err += inA[i] ? Dist(p[idx[i]], a) : Dist(p[idx[i]], b);
    return err;
}

// Whether the pixels word[idx[0..n)] have two colours at most; other takes the one that is not
// the first pixel's (the first pixel's when there is one colour).
bool AtMostTwo(const uint16_t* word, const int* idx, int n, uint16_t& other) {
    const uint16_t first = word[idx[0]];
    other = first;
    for (int i = 1; i < n; ++i) {
        const uint16_t w = word[idx[i]];
        if (w == first || w == other) continue;
        if (other != first) return false;
        other = w;
    }
    return true;
}

// The exact two colours of pixels of two colours at most (AtMostTwo): the first pixel's colour
// and the other, each pixel in its own colour's group (one colour: the same colour twice), as
// the search finds them.
void ExactPair(const uint16_t* word, const int* idx, int n, uint16_t other, bool* inA, int* a, int* b) {
    const uint16_t first = word[idx[0]];
    Unpack(first, a);
    Unpack(other, b);
    for (int i = 0; i < n; ++i) inA[i] = word[idx[i]] == first;
}

// Whether any two colours code the block p (words `word`, squares summing to sq) with more error
// than err: every split of its colours in two, each group at its exact mean, leaves more. false
// also when the block has more than kMaxColours colours (too many splits to try).
bool PairsLeaveMore(const uint16_t* word, const Colour* p, long sq, long err) {
    constexpr int kMaxColours = 6;
    uint16_t seen[kMaxColours];
    long n[kMaxColours] = {}, s[kMaxColours][3] = {};
    int m = 0;
    for (int i = 0; i < 16; ++i) {
        int j = 0;
        while (j < m && seen[j] != word[i]) ++j;
        if (j == m) {
            if (m == kMaxColours) return false;
            seen[m++] = word[i];
        }
        ++n[j];
        for (int k = 0; k < 3; ++k) s[j][k] += p[i][k];
    }
    // Colour 0 in group A, the set bits of mask (never none) in B: the error left is
    // sq - |sA|^2 / nA - |sB|^2 / nB, compared in whole numbers times nA nB.
    for (int mask = 1; mask < 1 << (m - 1); ++mask) {
        long nA = 0, nB = 0, sA[3] = {}, sB[3] = {};
        for (int j = 0; j < m; ++j) {
            const bool bB = j > 0 && (mask >> (j - 1) & 1);
            (bB ? nB : nA) += n[j];
            for (int k = 0; k < 3; ++k) (bB ? sB : sA)[k] += s[j][k];
        }
        const long a2 = sA[0] * sA[0] + sA[1] * sA[1] + sA[2] * sA[2];
        const long b2 = sB[0] * sB[0] + sB[1] * sB[1] + sB[2] * sB[2];
        if (sq * nA * nB - a2 * nB - b2 * nA <= err * nA * nB) return false;
    }
    return true;
}

// The split of a block's 16 colours into two that a cut across their principal axis gives best.
void SplitAlongAxis(const Colour* p, const int* sum, bool* inA) {
    double cov[3][3];
    for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) {
            long q = 0;
            for (int i = 0; i < 16; ++i) q += p[i][k] * p[i][l];
            cov[k][l] = static_cast<double>(q) - sum[k] * sum[l] / 16.0;
        }
    int top = 0;
    for (int k = 1; k < 3; ++k)
        if (cov[k][k] > cov[top][top]) top = k;
    double v[3] = {cov[0][top], cov[1][top], cov[2][top]};
    for (int it = 0; it < 4; ++it) {
        double w[3], big = 0;
        for (int k = 0; k < 3; ++k) {
            w[k] = cov[k][0] * v[0] + cov[k][1] * v[1] + cov[k][2] * v[2];
            big = std::max(big, w[k] < 0 ? -w[k] : w[k]);
        }
        if (big == 0) break;
        for (int k = 0; k < 3; ++k) v[k] = w[k] / big;
    }
    // Points in order along the axis; every cut of that order tried with running sums.
    int order[16];
    double t[16];
    for (int i = 0; i < 16; ++i) {
        t[i] = v[0] * p[i][0] + v[1] * p[i][1] + v[2] * p[i][2];
        int j = i;
        for (; j > 0 && t[order[j - 1]] > t[i]; --j) order[j] = order[j - 1];
        order[j] = i;
    }
    long sq = 0;
    for (int i = 0; i < 16; ++i) sq += Norm(p[i]);
    long s[3] = {0, 0, 0}, q = 0;
    double best = std::numeric_limits<double>::max();
    int cut = 8;
    for (int k = 1; k < 16; ++k) {
        const int* c = p[order[k - 1]];
        for (int l = 0; l < 3; ++l) s[l] += c[l];
        q += Norm(c);
        const long rest[3] = {sum[0] - s[0], sum[1] - s[1], sum[2] - s[2]};
        const double sse = static_cast<double>(q) - static_cast<double>(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]) / k +
                           static_cast<double>(sq - q) -
                           static_cast<double>(rest[0] * rest[0] + rest[1] * rest[1] + rest[2] * rest[2]) / (16 - k);
        if (sse < best) best = sse, cut = k;
    }
    for (int k = 0; k < 16; ++k) inA[order[k]] = k < cut;
}

// The best split of a quarter's four colours: every one tried, the first point in group A.
void SplitQuarter(const Colour* p, const int* idx, bool* inA) {
    double best = std::numeric_limits<double>::max();
    int bestMask = 0;
    for (int mask = 0; mask < 8; ++mask) {
        long s[2][3] = {}, q = 0;
        int n[2] = {0, 0};
        for (int i = 0; i < 4; ++i) {
            const int g = i == 0 || (mask >> (i - 1) & 1) ? 0 : 1;
            for (int k = 0; k < 3; ++k) s[g][k] += p[idx[i]][k];
            q += Norm(p[idx[i]]);
            ++n[g];
        }
        double sse = static_cast<double>(q);
        for (int g = 0; g < 2; ++g)
            if (n[g]) sse -= static_cast<double>(s[g][0] * s[g][0] + s[g][1] * s[g][1] + s[g][2] * s[g][2]) / n[g];
        if (sse < best) best = sse, bestMask = mask;
    }
    for (int i = 0; i < 4; ++i) inA[i] = i == 0 || (bestMask >> (i - 1) & 1);
}

}  // namespace

Msvc1Encoder::Msvc1Encoder(int cx, int cy, int nKeyEvery, long nQuality)
    : m_cx(cx),
      m_cy(cy),
      m_nKeyEvery(nKeyEvery > 0 ? nKeyEvery : kDefaultKeyEvery),
      m_nSinceKey(-1),
      m_nPrice(nQuality >= 0 && nQuality <= kBestQuality
                   ? kBytePrice * (kBestQuality - nQuality) / (kBestQuality - kDefaultQuality)
                   : kBytePrice) {
    if (cx <= 0 || cy <= 0 || cx % 4 || cy % 4) throw std::invalid_argument("Msvc1Encoder: a size of multiples of 4");
    const size_t nShown = sizeof(uint16_t) * static_cast<size_t>(cx) * cy;
    m_shown = std::unique_ptr<uint16_t[], FreeShown>(static_cast<uint16_t*>(AllocPictureMemory(nShown)), FreeShown{nShown});
    if (!m_shown) throw std::bad_alloc();
    m_codes.resize(static_cast<size_t>(cy / 4));
    for (std::vector<uint16_t>& row : m_codes) row.reserve(static_cast<size_t>(cx / 4) * 9);
}

Msvc1Encoder::~Msvc1Encoder() = default;

void Msvc1Encoder::FreeShown::operator()(uint16_t* p) const { FreePictureMemory(p, n); }

void Msvc1Encoder::CodeRow(const uint8_t* rows, ptrdiff_t stride, int blockRow, bool bKey) {
    std::vector<uint16_t>& words = m_codes[static_cast<size_t>(blockRow)];
    words.clear();
    const int bottom = m_cy - 1 - 4 * blockRow;  // picture row of the blocks' bottom pixels
    for (int x0 = 0; x0 < m_cx; x0 += 4) {
        // The block's pixels (x + 4y, y up from the bottom) and where the player keeps them.
        const uint8_t* src[4];
        uint16_t* shown[4];
        bool bSame = !bKey;  // the player shows the block already: four pixels of a row at a time
        for (int y = 0; y < 4; ++y) {
            src[y] = rows + (bottom - y) * stride + 2 * x0;
            shown[y] = &m_shown[static_cast<size_t>(bottom - y) * m_cx + x0];
            uint64_t now, then;
            std::memcpy(&now, src[y], 8);
            std::memcpy(&then, shown[y], 8);
            bSame = bSame && (now & 0x7FFF7FFF7FFF7FFFull) == then;
        }
        if (bSame) {  // no error left to win back: skipped whatever the price
            SkipBlock(words);
            continue;
        }
        uint16_t word[16];
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) word[x + 4 * y] = static_cast<uint16_t>((src[y][2 * x] | src[y][2 * x + 1] << 8) & ~kHigh);
        static constexpr int kAll[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        static constexpr int kQuarter[4][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}, {8, 9, 12, 13}, {10, 11, 14, 15}};
        uint16_t other = 0;
        const bool bTwo = AtMostTwo(word, kAll, 16, other);
        Colour p[16];
        long err = std::numeric_limits<long>::max();  // of the best choice so far, with its price
        int sum[3] = {0, 0, 0};
        long sq[3] = {0, 0, 0};
        long skipErr = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                int* c = p[x + 4 * y];
                Unpack(word[x + 4 * y], c);
                for (int k = 0; k < 3; ++k) sum[k] += c[k], sq[k] += c[k] * c[k];
                if (!bKey) {
                    Colour old;
                    Unpack(shown[y][x], old);
                    skipErr += Dist(c, old);
                }
            }
        enum { kSkipped, kFill, kTwo, kEight } mode = kSkipped;
        if (!bKey) err = skipErr;
        // One colour: the mean (red 1 is not a colour a fill can have).
        int fill[3];
        long fillErr = 0;
        for (int k = 0; k < 3; ++k) {
            fill[k] = (sum[k] + 8) >> 4;
            if (k == 0 && fill[0] == 1) fill[0] = sq[0] - 4 * sum[0] + 64 < sq[0] ? 2 : 0;
            fillErr += sq[k] - 2L * fill[k] * sum[k] + 16L * fill[k] * fill[k];
        }
        if (err > 2 * m_nPrice && fillErr + 2 * m_nPrice < err) err = fillErr + 2 * m_nPrice, mode = kFill;
        // Two colours a quarter: exact where a quarter has two colours at most.
        bool eight[16];
        int pairs[4][2][3];
        const auto quarters = [&] {
            long e = 18 * m_nPrice;
            for (int q = 0; q < 4; ++q) {
                const int* idx = kQuarter[q];
                uint16_t pair = 0;
                bool inA[4];
                if (AtMostTwo(word, idx, 4, pair)) {
                    ExactPair(word, idx, 4, pair, inA, pairs[q][0], pairs[q][1]);
                } else {
                    SplitQuarter(p, idx, inA);
                    e += TwoColours(p, idx, 4, inA, pairs[q][0], pairs[q][1]);
                }
                for (int i = 0; i < 4; ++i) eight[idx[i]] = inA[i];
            }
            return e;
        };
        // At no price per byte two colours a quarter are chosen over two colours whenever they
        // leave less error: the two are searched only when they might not.
        long eightErr = -1;
        bool bSearchTwo = !bTwo;
        if (!bTwo && m_nPrice == 0 && err > 0) {
            eightErr = quarters();
            bSearchTwo = eightErr > 0 && !PairsLeaveMore(word, p, sq[0] + sq[1] + sq[2], eightErr);
        }
        // Two colours.
        bool two[16];
        int a[3], b[3];
        if (err > 6 * m_nPrice && (bTwo || bSearchTwo)) {
            long e = 6 * m_nPrice;
            if (bTwo) {
                ExactPair(word, kAll, 16, other, two, a, b);
            } else {
                SplitAlongAxis(p, sum, two);
                e += TwoColours(p, kAll, 16, two, a, b);
            }
            if (e < err) err = e, mode = kTwo;
        }
        if (err > 18 * m_nPrice) {
            const long e = eightErr >= 0 ? eightErr : quarters();
            if (e < err) err = e, mode = kEight;
        }
        if (mode == kSkipped) {
            SkipBlock(words);
            continue;
        }
        if (mode == kFill) {
            words.push_back(static_cast<uint16_t>(kHigh | Pack(fill)));
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) shown[y][x] = Pack(fill);
            continue;
        }
        // The flags' top bit (the top right pixel) must be clear: that pixel takes the second
        // colour of its pair.
        bool* inA = mode == kTwo ? two : eight;
        if (inA[15]) {
            const int first = mode == kTwo ? 0 : 8;
            for (int i = first; i < 16; ++i)
                if (mode == kTwo || (i & 3) >= 2) inA[i] = !inA[i];
            int* lo = mode == kTwo ? a : pairs[3][0];
            int* hi = mode == kTwo ? b : pairs[3][1];
            for (int k = 0; k < 3; ++k) std::swap(lo[k], hi[k]);
        }
        uint16_t flags = 0;
        for (int i = 0; i < 16; ++i) flags = static_cast<uint16_t>(flags | (inA[i] ? 1u << i : 0u));
        words.push_back(flags);
        if (mode == kTwo) {
            words.push_back(Pack(a));
            words.push_back(Pack(b));
        } else {
            for (int q = 0; q < 4; ++q) {
                words.push_back(static_cast<uint16_t>((q == 0 ? kHigh : 0) | Pack(pairs[q][0])));
                words.push_back(Pack(pairs[q][1]));
            }
        }
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const int i = x + 4 * y;
                const int* c = mode == kTwo ? (inA[i] ? a : b) : pairs[(x >> 1) + 2 * (y >> 1)][inA[i] ? 0 : 1];
                shown[y][x] = Pack(c);
            }
    }
}

bool Msvc1Encoder::Encode(const uint8_t* rows, ptrdiff_t stride, std::vector<uint8_t>& out) {
    bool bKey = m_nSinceKey < 0 || m_nSinceKey + 1 >= m_nKeyEvery;
    // Rows of blocks in spans of 8, taken in turn by the crew (made once: a film's frames come
    // many a second).
    constexpr size_t kSpan = 8;
    const size_t nRows = m_codes.size(), nSpans = (nRows + kSpan - 1) / kSpan;
    if (!m_crew && nSpans > 1) m_crew = std::make_unique<WorkCrew>(static_cast<int>(std::min<size_t>(nSpans, WorkThreads())) - 1);
    std::atomic<size_t> next{0};
    const WorkCrew::Job job = [&](int) {
        for (size_t k; (k = next.fetch_add(1)) < nSpans;)
            for (size_t r = k * kSpan; r < std::min(nRows, (k + 1) * kSpan); ++r) CodeRow(rows, stride, static_cast<int>(r), bKey);
    };
    if (m_crew)
        m_crew->Run(job);
    else
        job(0);
    // The rows' words in order, runs of skipped blocks joined across rows. No more words come
    // out than go in, plus the end (a run only splits where a row's run already did): the
    // buffer is sized once and written through a pointer, a block's words copied whole.
    size_t nIn = 1;
    for (const std::vector<uint16_t>& words : m_codes) nIn += words.size();
    out.resize(2 * nIn);
    uint8_t* p = out.data();
    const auto put = [&p](uint16_t w) {
        std::memcpy(p, &w, 2);
        p += 2;
    };
    int skips = 0;
    bool bSkipped = false;
    for (const std::vector<uint16_t>& words : m_codes) {
        for (size_t i = 0; i < words.size();) {
            const uint16_t w = words[i];
            if (IsSkipRun(w)) {
                bSkipped = true;
                for (skips += w & kMaxSkip; skips >= kMaxSkip; skips -= kMaxSkip) put(kSkip | kMaxSkip);
                ++i;
                continue;
            }
            if (skips) put(static_cast<uint16_t>(kSkip | skips)), skips = 0;
            const size_t n = w >= kHigh ? 1 : (words[i + 1] & kHigh) ? 9 : 3;
            std::memcpy(p, &words[i], 2 * n);
            p += 2 * n;
            i += n;
        }
    }
    if (skips) put(static_cast<uint16_t>(kSkip | skips));
    put(0);
    out.resize(static_cast<size_t>(p - out.data()));
    if (!bSkipped) bKey = true;  // every block coded: the frame stands alone
    m_nSinceKey = bKey ? 0 : m_nSinceKey + 1;
    return bKey;
}
