#include "host/app/HostFigureTree.h"

#include <cstdint>

#include "host/app/HostCommand.h"
#include "host/app/ModuleLoader.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/CDBDoc.h"
#include "platform/ui/uidefs.h"

namespace {

// Tree items travel as handles: the id of the main frame's tree item (0 the root).
void* ItemHandle(int id) { return reinterpret_cast<void*>(static_cast<intptr_t>(id)); }
int ItemId(void* handle) {
    return handle == static_cast<void*>(TVI_ROOT) ? 0 : static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

}  // namespace

CHostFigureTree::CHostFigureTree(CDBDoc* doc, const CPVXModuleLoader& loader) : m_pDoc(doc) {
    m_pfnInit = reinterpret_cast<PFN_PVXHOST_FIGURE_INIT_MAP>(loader.GetSymbol(PVXHOST_FIGURE_INIT_MAP));
    m_pfnCurrent = reinterpret_cast<PFN_PVXHOST_FIGURE_CURRENT_RECORD>(loader.GetSymbol(PVXHOST_FIGURE_CURRENT_RECORD));
    m_pfnSetItem = reinterpret_cast<PFN_PVXHOST_FIGURE_SET_ITEM>(loader.GetSymbol(PVXHOST_FIGURE_SET_ITEM));
    m_pfnParse = reinterpret_cast<PFN_PVXHOST_FIGURE_PARSE_TYPE>(loader.GetSymbol(PVXHOST_FIGURE_PARSE_TYPE));
    m_pfnGet = reinterpret_cast<PFN_PVXHOST_FIGURE_GET_RECORD>(loader.GetSymbol(PVXHOST_FIGURE_GET_RECORD));
    if (m_pDoc) m_pDoc->AddHintListener(this, &CHostFigureTree::OnHint);
}

CHostFigureTree::~CHostFigureTree() {
    if (m_pDoc) m_pDoc->RemoveHintListener(this);
}

BOOL CHostFigureTree::Fill() {
    if (!m_pfnInit || !m_pfnCurrent || !m_pfnSetItem || !m_pfnParse || !m_pfnGet) {
        HostMessage("the results module has no figure catalogue");
        return FALSE;
    }
    m_items.clear();
    I_MainFrameBase::CloseFigureTree();
    if (!m_pfnInit(TVI_ROOT)) {
        HostMessage("the results module made no figure catalogue (no result model)");
        return FALSE;
    }
    return TRUE;
}

void CHostFigureTree::OnHint(void* owner, LPARAM hint) {
    if (hint == 110) static_cast<CHostFigureTree*>(owner)->OnRecord();
}

void CHostFigureTree::OnRecord() {
    PVXHostFigureRecord rec{};
    if (!m_pfnCurrent || !m_pfnCurrent(&rec)) return;
    const int parentId = ItemId(rec.hParent);
    int depth = 0;
    for (const Item& it : m_items)
        if (it.id == parentId) depth = it.depth + 1;
    Item item{rec, rec.pszCaption ? rec.pszCaption : "", rec.pszSuffix ? rec.pszSuffix : "",
              rec.pszClass ? rec.pszClass : "", depth, 0};
    item.id = I_MainFrameBase::AddFigureTreeItem(item.caption.c_str(), parentId);
    item.rec.hItem = ItemHandle(item.id);
    item.rec.pszCaption = item.rec.pszSuffix = item.rec.pszClass = nullptr;  // the strings are kept
    m_pfnSetItem(ItemHandle(item.id));
    m_items.push_back(std::move(item));
}

int CHostFigureTree::ParseType(const std::string& text) const { return m_pfnParse ? m_pfnParse(text.c_str()) : 0; }

BOOL CHostFigureTree::GetRecord(int type, PVXHostFigureRecord& out) const {
    return m_pfnGet && m_pfnGet(type, &out);
}
