// The dialog templates of the results module. A dialog that is built from a template of the
// module adds its template to this list; the list is registered when the module loads.
#include "platform/ui/DialogTemplate.h"
#include "module/resources/PVXResources.h"

const std::vector<UiDlgTemplate>& PVXGetDialogTemplates() {
    static const std::vector<UiDlgTemplate> templates = [] {
        std::vector<UiDlgTemplate> all = PVXGetBarDialogTemplates();
        for (const UiDlgTemplate& t : PVXGetWallPlateDialogTemplates()) all.push_back(t);
        return all;
    }();
    return templates;
}
