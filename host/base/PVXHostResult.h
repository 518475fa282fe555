// The host program's request to show one result in the results module's view, in place of the
// result bars' execute step.
//
// The host resolves the display mode, the load and the settings of the mode (the settings a bar
// container's prepare member and its page's initial values give), then calls the module's
// exported PVXHost_ShowResult (found with dlsym) on the view's model before the view paints:
//
//     PVXHostResultRequest req{};  req.nMode = 2;  req.nLoadType = 1;  req.nLoadKey = 1; ...
//     PVXHostResultReport rep{};
//     auto* show = reinterpret_cast<PFN_PVXHOST_SHOW_RESULT>(dlsym(module, PVXHOST_SHOW_RESULT));
//     show(model, &req, &rep);   // rep.nStatus, rep.szMessage
//     ... the view paints (the legend chooses its number format) ...
//     extremes(model, &rep);     // PVXHost_GetResultExtremes: rep.bExtremes, dMax, szMax ...
//
// Settings are "key" / "value" texts; the module applies those its engines take. Plain C
// records, so that neither side needs the other's classes.
#pragma once

class I_PVXModelBase;

#define PVXHOST_SHOW_RESULT "PVXHost_ShowResult"
#define PVXHOST_GET_RESULT_EXTREMES "PVXHost_GetResultExtremes"
#define PVXHOST_FIT_RESULT_TEXTS "PVXHost_FitResultTexts"
#define PVXHOST_SHOWS_STOREY_NUMBERS "PVXHost_ShowsStoreyNumbers"
#define PVXHOST_GET_SHOWN_RESULT "PVXHost_GetShownResult"

enum {
    PVXHOST_DRAWN = 1,          // the engine of the mode built its data; the view draws the result
    PVXHOST_NOT_BUILT = 0,      // the mode's engine is not built yet: the view draws the plain model
    PVXHOST_NO_RESULTS = -1,    // the project has no results of that kind for the load
    PVXHOST_BAD_REQUEST = -2,   // the module cannot take the request (no result model, unknown mode)
};

struct PVXHostResultRequest {
    int nMode;                      // display mode
    int nResultId;                  // result id of the bar page that shows the mode, -1 none
    unsigned nLoadType;             // host load type code (1 static case ... 12 envelope)
    unsigned nLoadKey;              // load case or combination key; mode number for mode shapes
    int nLoadStep;                  // 0 value, 1 maximum, 2 minimum, 3 all
    const char* pszLoadName;        // name of the load, for the legend
    int nSettings;
    const char* const* ppszKeys;    // nSettings keys
    const char* const* ppszValues;  // nSettings values
};

struct PVXHostResultReport {
    int nStatus;                    // PVXHOST_*
    char szEngine[32];              // engine of the mode ("reaction", "deformation" ...)
    char szMessage[256];            // why, when not drawn, or why a drawn result has no extremes
    // Filled by PVXHost_GetResultExtremes:
    int bExtremes;                  // the extremes below are set
    double dMax, dMin;              // largest and smallest value of the result
    unsigned nMaxKey, nMinKey;      // where they are
    char szKeyKind[16];             // "node", "element" or "member"
    char szMax[64], szMin[64];      // the values as the legend writes them
};

typedef int (*PFN_PVXHOST_SHOW_RESULT)(I_PVXModelBase* pModel, const PVXHostResultRequest* pRequest,
                                       PVXHostResultReport* pReport);
// Fills the extremes of the result the view shows (bExtremes 0 when it shows none); non-zero
// when it filled them.
typedef int (*PFN_PVXHOST_GET_RESULT_EXTREMES)(I_PVXModelBase* pModel, PVXHostResultReport* pReport);

// What the fitted view of the shown result does for its texts.
struct PVXHostTextFit {
    double dZoom;             // factor the view's scale was multiplied by to keep every text inside
    int nTexts;               // texts the view writes
    int nCrowded;             // pairs over each other or run together on one line
    int nNever;               // of them, pairs no picture size sets apart (written at one point)
    int nOnSymbols;           // of those, a number and the symbol drawn at its node
    int bMetafile;            // given: the picture is exported as a metafile, whose member numbers
                              // follow their members (the window writes them level)
    long nApartWidth, nApartHeight;  // picture size at which the others stand apart (all but one
                                     // pair per 50 texts); 0 x 0 when they do at this size
};
// Once the view is fitted: zooms out until every text the view writes (a design figure's labels,
// when it shows one) lies inside the drawing area, then measures how crowded the texts stand.
// Non-zero when it could paint the view.
typedef int (*PFN_PVXHOST_FIT_RESULT_TEXTS)(I_PVXModelBase* pModel, PVXHostTextFit* pFit);

// Non-zero when the view shows a result with its values written (the number switch on) on the
// storeys' members and nodes; 0 without numbers, without a result, and for the results that live
// at the foundation only (reactions, settlements, spring pressures).
typedef int (*PFN_PVXHOST_SHOWS_STOREY_NUMBERS)(I_PVXModelBase* pModel);

// What the view shows, whoever chose it (the host's request, a page's controls, settings a page
// kept in the project).
struct PVXHostShownResult {
    int nMode;         // display mode; -1 the plain model
    int nComponent;    // the mode's component selector (the host's "component" setting); -1 none
    int bNumbers;      // values written on the model
    char szLoad[64];   // the selected load's name (mode shapes: "mode N")
    int nLoadStep;     // side of an envelope drawn: 1 maximum, 2 minimum, 3 larger magnitude; 0 none
    int bBothSides;    // an envelope's two sides drawn as two diagrams
};
// Non-zero when it filled the record.
typedef int (*PFN_PVXHOST_GET_SHOWN_RESULT)(I_PVXModelBase* pModel, PVXHostShownResult* pShown);
