// Start-up and shut-down of the results module (libqsn_pvx.so).
//
// Loading the library (dlopen) runs the static initialisers: first the loading-status record
// "qsn_pvx" and the "; " string, then the registrars of the module's run-time classes (each
// IMPLEMENT_DYNCREATE adds its class to the process registry, so the host can create CPVXView by
// name), then the library entry below, which initialises the extension-module record, makes the
// module's dynamic-link-library record and registers the module's string table, menus and
// dialog templates. Unloading (dlclose) undoes all of it in reverse order: the resources go,
// the records are released, the classes leave the registry and the string is destroyed.
#include <dlfcn.h>

#include <cstdio>

#include "host/base/CLoadingStatus.h"
#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/CString.h"
#include "platform/ui/CWinApp.h"
#include "module/resources/PVXResources.h"

// Built in this order when the library is loaded; nothing else in the module reads them.
static CLoadingStatus g_LoadingStatus("qsn_pvx");
static CString g_strSeparator("; ");

namespace {

// The library entry: process attach on construction, process detach on destruction.
class CPVXModuleEntry {
public:
    CPVXModuleEntry() {
        m_module = AFX_EXTENSION_MODULE{};
        if (!AfxInitExtensionModule(m_module, ModuleHandle())) {
            AfxDiagnostic("qsn_pvx", "the extension module could not be initialised; the module's "
                                     "resources are not registered.");
            return;
        }
        m_pLibrary = new CDynLinkLibrary(m_module);
        PVXRegisterResources();
    }

    ~CPVXModuleEntry() {
        if (!m_pLibrary) return;
        PVXUnregisterResources();
        // No chain of the class library owns the record here; it goes with the module.
        delete m_pLibrary;
        m_pLibrary = nullptr;
        AfxTermExtensionModule(m_module);
    }

    CPVXModuleEntry(const CPVXModuleEntry&) = delete;
    CPVXModuleEntry& operator=(const CPVXModuleEntry&) = delete;

private:
    // The load address of this library stands for its module handle.
    static HMODULE ModuleHandle() {
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(&ModuleHandle), &info) && info.dli_fbase)
            return reinterpret_cast<HMODULE>(info.dli_fbase);
        return nullptr;
    }

    AFX_EXTENSION_MODULE m_module{};
    CDynLinkLibrary* m_pLibrary = nullptr;
};

CPVXModuleEntry g_ModuleEntry;

}  // namespace

// Exported for the host, which may call it to make sure the library is loaded; it does nothing.
extern "C" __attribute__((visibility("default"))) void _Init_TBX_pvxdll() {}
