// The module's side of the host's figure-tree calls (host/base/PVXHostFigure.h), on the current
// figure controller (CPVXFigure::m_pMyself).
#include "host/base/PVXHostFigure.h"

#include "module/figures/CFVDCatalogue.h"
#include "module/figures/CPVXFigure.h"

#define PVX_FIGURE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

CString g_strCaption;  // keeps the caption handed out until the next call

void FillRecord(const sFVDBaseInformation& rec, PVXHostFigureRecord* out) {
    const CPVXFigure* cat = CPVXFigure::m_pMyself;
    const sFVDCatalogueRow* row = FindFVDCatalogueRow(rec.eType);
    g_strCaption = rec.strCaption;
    *out = PVXHostFigureRecord{};
    out->nType = rec.eType;
    out->pszCaption = g_strCaption.GetString();
    out->hItem = rec.hItem;
    out->hParent = rec.hParent;
    out->bEnabled = rec.bEnabled;
    out->nNumber = rec.nNumber;
    if (row) {
        out->pszSuffix = row->pszSuffix;
        out->pszClass = row->pszClass;
        out->nOwnerMask = row->nOwnerMask;
        out->bPostOnly = row->bPostOnly;
        out->nParentType = row->eParent;
    }
    out->bHasObject = cat && cat->isAvailabe(rec.eType);
}

}  // namespace

PVX_FIGURE_EXPORT int PVXHost_FigureInitMap(void* root) {
    CPVXFigure* cat = CPVXFigure::m_pMyself;
    if (!cat) return 0;
    cat->InitFigureMap(static_cast<HTREEITEM>(root));
    return 1;
}

PVX_FIGURE_EXPORT int PVXHost_FigureCurrentRecord(PVXHostFigureRecord* out) {
    CPVXFigure* cat = CPVXFigure::m_pMyself;
    if (!cat || !out) return 0;
    FillRecord(*cat->GetScratchRecord(), out);
    return 1;
}

PVX_FIGURE_EXPORT void PVXHost_FigureSetItem(void* item) {
    if (CPVXFigure* cat = CPVXFigure::m_pMyself) cat->GetScratchRecord()->hItem = static_cast<HTREEITEM>(item);
}

PVX_FIGURE_EXPORT int PVXHost_FigureParseType(const char* text) { return text ? ParseFVDType(text) : 0; }

PVX_FIGURE_EXPORT int PVXHost_FigureGetRecord(int type, PVXHostFigureRecord* out) {
    CPVXFigure* cat = CPVXFigure::m_pMyself;
    const sFVDBaseInformation* rec = cat ? cat->GetFigureData(static_cast<EFigureType>(type)) : nullptr;
    if (!rec || !out) return 0;
    FillRecord(*rec, out);
    return 1;
}

#undef PVX_FIGURE_EXPORT
