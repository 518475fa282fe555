// The result view of the results module, opened and painted the way the host application does
// it, for the pvxhost commands that draw the project (render, export).
//
// Open loads the project and the module, creates the module's result view by class name in a
// main frame, sizes it, enters the result view mode (PV_OnModeChange), turns the view to a
// standard direction fitted to the model and lets the view paint, so that the control's memory
// image holds the picture. Every failure is reported with HostMessage. The module stays loaded,
// and the project open, until the object goes. The options that set up the view are declared
// once here for every command that draws.
//
//     CHostViewRequest req;                           // iso view, 1024 x 768
//     req.Read(args);                                 // --view, --size, --module
//     CHostResultView rv;
//     if (!rv.Open(options, req)) return HOST_EXIT_FAILED;
//     WriteBmp24(path, rv.GetCtrl()->GetMemDC());
#pragma once

#include <string>
#include <vector>

#include "host/app/HostActivePart.h"
#include "host/app/HostCommand.h"
#include "host/app/HostProgress.h"
#include "host/app/HostSession.h"
#include "host/app/ModuleLoader.h"
#include "host/base/PVXHostResult.h"
#include "host/grx/GViewCamera.h"
#include "platform/afx/afxtypes.h"

class CHostOutputFile;
class CHostResultChoice;
class GRenderView;
class I_PVXCtrl;
class I_PVXModelBase;

struct CHostViewRequest {
    static constexpr long kMinSide = 16;     // pixels
    static constexpr long kMaxSide = 16384;  // pixels; a larger picture is refused, not attempted
    static constexpr long kMaxGrownSide = 4096;  // pixels: the longest side a picture grows to by itself

    int nView = GViewCamera::VIEW_ISO;
    std::string strView = "iso";  // name of nView, for messages
    long nWidth = 1024;           // pixels
    long nHeight = 768;
    std::string strModule;        // empty: the module beside the program
    CHostActivePart part;         // --storey or --member-keys: the active part of the model
    bool bSizeGiven = false;      // --size given: the picture keeps it whatever its numbers do
    bool bMetafile = false;       // the picture is written as EMF: its texts are measured so
    std::string strSizeNote;      // why the picture took another size than the default ("" none)

    // --view, --size, --module, --storey and --member-keys, with their defaults and limits.
    static std::vector<CHostOption> Options();
    // --module alone (for commands that load the module without drawing).
    static CHostOption ModuleOption();
    // Takes the options above from a checked command line.
    void Read(const CHostArgs& args);
    // The size a picture without --size grows to for its numbers to stand apart at apartW x
    // apartH: that size, its longer side at most kMaxGrownSide (the aspect kept). False when
    // that is no larger than the present size.
    bool GrownSize(long apartW, long apartH, long& w, long& h) const;
};

class CHostResultView {
public:
    CHostResultView() = default;
    CHostResultView(const CHostResultView&) = delete;
    CHostResultView& operator=(const CHostResultView&) = delete;

    // The steps of Open for a progress display: reading, preparing the view, drawing.
    static std::vector<CHostProgress::Step> Steps();

    // Non-zero when the view painted the project; a failure is reported, with the exit status
    // GetFailStatus(). The active part of the request is made active before a result is shown. progress, when given, enters the steps of
    // Steps() from firstStep on. With a result asked for, it is found in the project and handed
    // to the module before the view paints.
    int Open(const CHostOptions& options, CHostViewRequest& request, CHostProgress* progress = nullptr,
             size_t firstStep = 0, CHostResultChoice* pResult = nullptr);
    // The picture as the window shows it: the memory image and what the paint adds (legend).
    HBITMAP GetWindowPicture() const;
    // Paints the window again and writes what it shows through out: the window picture as a
    // BMP of the requested size, or (bEmf) the model's metafile export. 0, or the exit status
    // after a message.
    int WriteShownPicture(CHostOutputFile& out, bool bEmf, const CHostViewRequest& request);
    // Whether the project refused rows the view read (said as they were read): a picture drawn
    // without them is no picture of the result, so nothing is written; true after a message.
    bool RowsRefused();
    CPVXModuleLoader& GetLoader() { return m_loader; }
    // Leaves room in the fitted view for the shown result's texts, then SizeForTexts.
    void FitResultTexts(CHostViewRequest& request);
    // fit: the texts as measured at the request's size. Without --size, a picture whose numbers
    // crowd (more than one pair per 50 texts) grows to the size at which they stand apart, up to
    // kMaxGrownSide, fitted again at each size; the request takes the size and the note saying
    // why. Where they still crowd, says so and names the size at which they stand apart.
    void SizeForTexts(CHostViewRequest& request, PVXHostTextFit fit);
    // After the paint: the line saying that a plan of several storeys lays their numbers over each
    // other (naming --storey), when the view writes numbers on the storeys (bLabels: the drawing
    // labels its members whatever the number switch, as the design figures do).
    void PrintStackedPlanNote(const CHostViewRequest& request, bool bLabels = false);
    // Whether the model has room in the picture beside the legend's panel (kMinModelSide each
    // way); else says so. Open asks it after its paint; a command that shows a result through
    // its page asks it again once the page has applied it.
    bool ModelFits(const CHostViewRequest& request) const;
    // Exit status of a failed Open: 2 when the command line asked for what the project lacks.
    int GetFailStatus() const { return m_nFailStatus; }
    // The active part shown; its Describe() names it for the command's summary line.
    const CHostActivePart& GetPart() const { return m_part; }

    GRenderView* GetView() const { return m_pView; }
    I_PVXCtrl* GetCtrl() const { return m_pCtrl; }
    I_PVXModelBase* GetModel() const { return m_pModel; }
    CDataBase* GetDB() { return m_session.GetDB(); }
    const std::string& GetModulePath() const { return m_strModule; }

private:
    // The fit of the module for the shown result or design figure; false when it wrote no numbers.
    bool MeasureResultTexts(PVXHostTextFit& fit, bool bMetafile);
    void SizeWindow(long w, long h);
    // Texts that still crowd: a note line, or (no size up to the largest taken parts them) the
    // request's size note says so and names --storey or --member-keys.
    void ReportCrowdedTexts(const PVXHostTextFit& fit, CHostViewRequest& request, bool bCapped) const;

    CHostSession m_session;       // closed after the module is unloaded (members go in reverse)
    CPVXModuleLoader m_loader;
    std::string m_strModule;
    GRenderView* m_pView = nullptr;
    I_PVXCtrl* m_pCtrl = nullptr;
    I_PVXModelBase* m_pModel = nullptr;
    // Pixels each way the model needs beside the legend: in fewer, the picture shows it as a speck.
    static constexpr int kMinModelSide = 32;
    int m_nFailStatus = HOST_EXIT_FAILED;
    CHostActivePart m_part;
};
