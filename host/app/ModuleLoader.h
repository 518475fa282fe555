// Loading the results module into the host program and opening its result view.
//
// The module is a shared library (libqsn_pvx.so) that the program loads with dlopen, by default
// from the lib directory beside the program's bin directory (<prefix>/bin/pvxhost ->
// <prefix>/lib/libqsn_pvx.so). Loading it registers its run-time classes; the program then
// creates the result view by class name ("CPVXView"), without any header of the module, in a
// main frame of its own, puts the view's graphics control into result view mode and runs the
// view's initial view. Everything made here is destroyed, and the library unloaded, in reverse
// order by Close (or the destructor).
//
//   CPVXModuleLoader loader;
//   if (!loader.Load(CPVXModuleLoader::DefaultModulePath()) || !loader.OpenResultView())
//       fprintf(stderr, "%s\n", loader.GetLastError().c_str());
#pragma once

#include <string>

class GRenderView;
class I_MainFrameBase;

class CPVXModuleLoader {
public:
    static constexpr const char* kModuleName = "qsn_pvx";
    static constexpr const char* kViewClassName = "CPVXView";

    CPVXModuleLoader() = default;
    ~CPVXModuleLoader();
    CPVXModuleLoader(const CPVXModuleLoader&) = delete;
    CPVXModuleLoader& operator=(const CPVXModuleLoader&) = delete;

    // <directory of the program>/../lib/libqsn_pvx.so
    static std::string DefaultModulePath();

    // Loads the library and checks that it registered its result view class; non-zero on
    // success. On failure GetLastError says why (missing file, not a module of this program,
    // unresolved symbols ...).
    int Load(const std::string& path);
    int IsLoaded() const { return m_pHandle != nullptr; }
    // An exported function of the loaded module; null when there is none.
    void* GetSymbol(const char* pszName) const;

    // Creates the result view by run-time class on the process's database document and runs
    // its initial view in a main frame of cx x cy pixels (the size the view will be drawn at,
    // so that its pictures are made once); non-zero on success. Needs a loaded module and an
    // open document.
    int OpenResultView(int cx = 1024, int cy = 768);
    GRenderView* GetResultView() const { return m_pView; }

    // Destroys the view and the frame, then unloads the library.
    void Close();

    const std::string& GetLastError() const { return m_strError; }

private:
    int Fail(const std::string& why);
    void CloseView();

    void* m_pHandle = nullptr;           // dlopen handle
    std::string m_strPath;
    I_MainFrameBase* m_pFrame = nullptr;  // deletes itself when its window goes
    GRenderView* m_pView = nullptr;       // deletes itself when its window goes
    std::string m_strError;
};
