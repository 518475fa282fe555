// The host program's request to show one design figure in the results module's view, as the
// host application drives the module's design result data engine.
//
// The host resolves the load (only the column-force figures read one), then calls the module's
// exported PVXHost_ShowDesign (found with dlsym) on the view's model before the view paints.
// The module makes the design result data engine for the model and hands it to the model, gives
// it the model's members and the switches the host owns, sets the figure mode and runs the
// mode's builders; the view then paints the model, the mode's member walk, the numbers and the
// design legend. With bList set the module also writes, line by line through pfnLine, what the
// engine's getters hand out.
//
//     PVXHostDesignRequest req{};  req.nFigureMode = 28;  req.bList = 1;
//     PVXHostDesignReport rep{};
//     auto* show = reinterpret_cast<PFN_PVXHOST_SHOW_DESIGN>(dlsym(module, PVXHOST_SHOW_DESIGN));
//     show(model, &req, &rep, PrintLine, nullptr);   // rep.nStatus, rep.szMessage, rep.szShows
//
// Plain C records, so that neither side needs the other's classes. Status codes are those of
// PVXHostResult.h.
#pragma once

#include "host/base/PVXHostResult.h"

#define PVXHOST_SHOW_DESIGN "PVXHost_ShowDesign"

struct PVXHostDesignRequest {
    int nFigureMode;          // 21, 23, 28, 35, 36, 40, 42 to 56
    int bLoad;                // a load is given (the column-force figures read it)
    unsigned nLoadType;       // host load type code of the load
    unsigned nLoadKey;        // its key; figures 35, 36: the load of the envelopes, 0 the design combinations
    int nLoadStep;            // 0 value, 1 maximum, 2 minimum, 3 all
    const char* pszLoadName;  // its name
    int bList;                // write the getters' records through pfnLine
    int nDecimals;            // decimals of the number labels (the host's design figures: 2); -1 the model's
};

struct PVXHostDesignReport {
    int nStatus;          // PVXHOST_DRAWN, PVXHOST_NO_RESULTS or PVXHOST_BAD_REQUEST
    char szMessage[256];  // why, when not drawn
    char szShows[512];    // what the picture shows of the figure (outlines only, labels, legend)
    int nLabels;          // labelled records of the figure's number output (0: the numbers draw nothing)
    int bLegend;          // the figure has a design legend
    double dLegendMin;    // its range (modes 23, 35, 36) or its smallest and largest ratio (28)
    double dLegendMax;
    unsigned nLoadKey;    // figures 35, 36: the load of the envelopes (0: the design combinations)
    PVXHostTextFit textFit;  // room left for the labels, and how crowded they stand
};

// Writes one line of the listing (no line end).
typedef void (*PFN_PVXHOST_DESIGN_LINE)(void* pContext, const char* pszLine);

typedef int (*PFN_PVXHOST_SHOW_DESIGN)(I_PVXModelBase* pModel, const PVXHostDesignRequest* pRequest,
                                       PVXHostDesignReport* pReport, PFN_PVXHOST_DESIGN_LINE pfnLine,
                                       void* pContext);
