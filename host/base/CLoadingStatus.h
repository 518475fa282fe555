// Record of a host library or module being loaded into the process.
//
// A library declares one global CLoadingStatus with its name ("qsn_pvx" for the results module);
// the object registers the name while it lives, so its construction marks the library as loaded
// and its destruction (when the library is unloaded) removes the mark. The host program and tests
// ask which modules are loaded and in what order.
#pragma once

#include <string>
#include <vector>

#include "platform/afx/afxtypes.h"

class CLoadingStatus {
public:
    explicit CLoadingStatus(LPCTSTR moduleName);
    ~CLoadingStatus();
    CLoadingStatus(const CLoadingStatus&) = delete;
    CLoadingStatus& operator=(const CLoadingStatus&) = delete;

    LPCTSTR GetModuleName() const { return m_strName.c_str(); }

    // TRUE while at least one status object of that name lives (names compare exactly).
    static BOOL IsModuleLoaded(LPCTSTR moduleName);
    // Names of the living status objects, in order of construction (a name appears once per
    // object).
    static std::vector<std::string> GetLoadedModules();

private:
    std::string m_strName;  // module name as given; empty for a null name
};
