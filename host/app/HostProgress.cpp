#include "host/app/HostProgress.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kProgressBarWidth = 30;

struct State {
    bool enabled = false;
    CHostProgress* active = nullptr;
    std::vector<CHostProgress::Step> steps;
    double total = 0.0;
    size_t step = 0;
    double fraction = 0.0;
    bool shown = false;      // the bar is on the terminal line
    int lastPercent = -1;
    size_t lastStep = ~size_t(0);
    std::string note;        // Note's text, shown after the step's label
};
State g;

double Done() {
    if (g.total <= 0.0) return 0.0;
    double d = 0.0;
    for (size_t i = 0; i < g.step && i < g.steps.size(); ++i) d += g.steps[i].dShare;
    if (g.step < g.steps.size()) d += g.steps[g.step].dShare * g.fraction;
    return std::clamp(d / g.total, 0.0, 1.0);
}

void Draw(bool force) {
    if (!g.enabled || !g.active || g.step >= g.steps.size()) return;
    const double done = Done();
    const int percent = static_cast<int>(done * 100.0);
    // Redrawn only when what it shows changes.
    if (!force && g.shown && percent == g.lastPercent && g.step == g.lastStep) return;
    const std::string& label = g.steps[g.step].strLabel;
    const std::string line = CHostProgress::Line(done, g.note.empty() ? label : label + ": " + g.note);
    std::fprintf(stderr, "\r%s\033[K", line.c_str());
    std::fflush(stderr);
    g.shown = true;
    g.lastPercent = percent;
    g.lastStep = g.step;
}

}  // namespace

CHostProgress::CHostProgress(std::vector<Step> steps) {
    g.active = this;
    g.steps = std::move(steps);
    g.total = 0.0;
    for (const Step& s : g.steps) g.total += std::max(0.0, s.dShare);
    g.step = g.steps.size();
    g.fraction = 0.0;
}

CHostProgress::~CHostProgress() {
    if (g.active != this) return;
    Clear();
    g.active = nullptr;
    g.steps.clear();
}

void CHostProgress::Enter(size_t i) {
    if (g.active != this) return;
    g.step = i;
    g.fraction = 0.0;
    g.note.clear();
    Draw(true);
}

void CHostProgress::Enable(bool bOn) { g.enabled = bOn; }

void CHostProgress::Report(double fraction) {
    if (!g.active) return;
    g.fraction = std::clamp(fraction, 0.0, 1.0);
    Draw(false);
}

void CHostProgress::Note(const std::string& text) {
    if (!g.active || g.note == text) return;
    g.note = text;
    Draw(true);
}

void CHostProgress::Clear() {
    if (!g.shown) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    g.shown = false;
}

void CHostProgress::Finish() {
    Clear();
    g.active = nullptr;
    g.steps.clear();
}

std::string CHostProgress::Line(double done, const std::string& label) {
    done = std::clamp(done, 0.0, 1.0);
    const int filled = static_cast<int>(done * kProgressBarWidth + 1e-9);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kProgressBarWidth - filled), '-');
    char percent[8];
    std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(done * 100.0 + 1e-9));
    return "[" + bar + "] " + percent + "  " + label;
}
