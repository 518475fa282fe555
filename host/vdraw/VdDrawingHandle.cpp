#include "host/vdraw/VdDrawingHandle.h"

#include <map>

namespace {
struct HandleTable {
    std::map<int, CVdrawUtil*> byHandle;
    std::map<CVdrawUtil*, int> byDrawing;
    int next = 1;
};
HandleTable& Table() {
    static HandleTable t;
    return t;
}
}  // namespace

int VdGetDrawingHandle(CVdrawUtil* drawing) {
    if (!drawing) return 0;
    HandleTable& t = Table();
    auto it = t.byDrawing.find(drawing);
    if (it != t.byDrawing.end()) return it->second;
    const int h = t.next++;
    t.byDrawing[drawing] = h;
    t.byHandle[h] = drawing;
    return h;
}

CVdrawUtil* VdGetDrawingFromHandle(int handle) {
    HandleTable& t = Table();
    auto it = t.byHandle.find(handle);
    return it == t.byHandle.end() ? nullptr : it->second;
}

void VdReleaseDrawingHandle(CVdrawUtil* drawing) {
    HandleTable& t = Table();
    auto it = t.byDrawing.find(drawing);
    if (it == t.byDrawing.end()) return;
    t.byHandle.erase(it->second);
    t.byDrawing.erase(it);
}
