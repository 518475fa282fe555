// EngineCallLog: a process-wide trace of the engine calls made by the model's render switch, and
// of the builders that the force engine's InitEngine runs for a display mode.
//
// The render path notes each engine operation it calls (and its plain-model fallback) by name,
// in call order, while the trace is switched on; a name noted while the control's visibility
// test for numbers is on carries the suffix "@visible". Tests and diagnostics switch it on,
// render, and read the names back:
//
//     EngineCallLog::Enable(true);          // also empties it
//     model.PVXRender();
//     const auto& calls = EngineCallLog::Calls();   // {"CReactionEngine::BeginPlotEng", ...}
//     EngineCallLog::Enable(false);
//
// Off (the default) a note costs one test. Single-threaded, like the drawing it traces.
#pragma once

#include <string>
#include <vector>

class EngineCallLog {
public:
    // Switches the trace on or off; either way it starts empty.
    static void Enable(bool bOn);
    static bool IsEnabled() { return m_bEnabled; }
    static void Note(const std::string& name);
    static const std::vector<std::string>& Calls();
    static void Clear();

private:
    static bool m_bEnabled;
};
