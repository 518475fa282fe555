#include "host/base/I_ModelBase.h"

#include <atomic>
#include <string>

#include "host/base/CHostRequestLog.h"

namespace {
std::atomic<I_ModelBase*> g_pCurrentModel{nullptr};
void Note(const char* what, int id = 0, int arg = 0) { CHostRequestLog::Add(HR_MODEL_REQUEST, id, arg, what); }
}  // namespace

I_ModelBase::I_ModelBase() = default;

I_ModelBase::~I_ModelBase() {
    I_ModelBase* self = this;
    g_pCurrentModel.compare_exchange_strong(self, nullptr);
}

I_ModelBase* I_ModelBase::GetCurMySelfST() { return g_pCurrentModel.load(); }
void I_ModelBase::SetCurMySelfST(I_ModelBase* pModel) { g_pCurrentModel.store(pModel); }

void I_ModelBase::PrepareGeomRebuild() { Note("prepare-geometry-rebuild"); }
void I_ModelBase::DrawTempPolyline(const CArray<C3DPoint, C3DPoint&>& points) {
    Note("temp-polyline", static_cast<int>(points.GetSize()));
}
void I_ModelBase::ClearTempPolyline() { Note("clear-temp-polyline"); }
void I_ModelBase::BeginStripDraw() { Note("begin-strips"); }
void I_ModelBase::AddStrip(LPCTSTR name, const CArray<C3DPoint, C3DPoint&>& polyline, int index) {
    Note((std::string("strip ") + (name ? name : "")).c_str(), index, static_cast<int>(polyline.GetSize()));
}
void I_ModelBase::SelectStrip(int index, int mode) { Note("select-strip", index, mode); }
void I_ModelBase::EndStripDraw() { Note("end-strips"); }
void I_ModelBase::ClearStripDraw() { Note("clear-strips"); }
void I_ModelBase::RemoveStripDraw() { Note("remove-strips"); }
