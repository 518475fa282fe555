// The drawing road as the host's figure tree runs it (host/base/PVXHostFigureDraw.h).
#include "host/base/PVXHostFigureDraw.h"

#include "module/figures/CPVXFigure.h"

extern "C" __attribute__((visibility("default"))) int PVXHost_FigureDisplay(const int* types, int n) {
    CPVXFigure* ctrl = CPVXFigure::m_pMyself;
    if (!ctrl || !types || n < 1) return 0;
    EFigureType current = static_cast<EFigureType>(types[n - 1]);
    for (int i = 0; i < n; ++i) {
        if (CPVXFigure::isBaseMap(static_cast<EFigureType>(types[i])) == 0) {
            current = static_cast<EFigureType>(types[i]);
            break;
        }
    }
    ctrl->SetCurentSelItem(current, 0);
    CArray<UINT> list;
    for (int i = 0; i < n; ++i) list.Add(static_cast<UINT>(types[i]));
    ctrl->DisplayFigureDlgData(list, FALSE);
    return ctrl->GetFigureView() != nullptr;
}

extern "C" __attribute__((visibility("default"))) int PVXHost_FigureOwnCount(int type) {
    const CPVXFigure* ctrl = CPVXFigure::m_pMyself;
    return ctrl ? ctrl->GetOwnDrawnCount(static_cast<EFigureType>(type)) : -1;
}
