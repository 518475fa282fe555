#include "module/engines/EngineCallLog.h"

namespace {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

}  // namespace

bool EngineCallLog::m_bEnabled = false;

void EngineCallLog::Enable(bool bOn) {
    m_bEnabled = bOn;
    Log().clear();
}

void EngineCallLog::Note(const std::string& name) {
    if (m_bEnabled) Log().push_back(name);
}

const std::vector<std::string>& EngineCallLog::Calls() { return Log(); }

void EngineCallLog::Clear() { Log().clear(); }
