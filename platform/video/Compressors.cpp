// The compressor manager (installed compressors, ICInfo, ICOpen, ICGetInfo, ICClose) and the
// compression dialog (AVISaveOptions).
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/video/Msvc1Encoder.h"
#include "platform/video/VideoFrames.h"
#include "platform/video/vfw.h"

namespace {

struct Compressor {
    DWORD fccHandler;
    std::string name;
    std::string description;
    std::string encoder;  // kMsvc1EncoderName or an FFmpeg encoder; empty: can be queried, not used
};

std::vector<Compressor> Defaults() {
    std::vector<Compressor> v;
    // Microsoft Video 1: 16-bit RGB555 in 4 x 4 blocks, coded by our own encoder.
    v.push_back({mmioFOURCC('M', 'S', 'V', 'C'), "MSVC", "Microsoft Video 1", kMsvc1EncoderName});
    return v;
}

std::vector<Compressor>& Installed() {
    static std::vector<Compressor> s_list = Defaults();
    return s_list;
}

const Compressor* Find(DWORD fccHandler) {
    for (const Compressor& c : Installed())
        if (c.fccHandler == fccHandler) return &c;
    return nullptr;
}

void Widen(const std::string& s, WCHAR* out, size_t n) {
    size_t i = 0;
    for (; i + 1 < n && i < s.size(); ++i) out[i] = static_cast<WCHAR>(static_cast<unsigned char>(s[i]));
    out[i] = 0;
}

void Describe(const Compressor& c, ICINFO& info) {
    info = ICINFO{};
    info.dwSize = sizeof(ICINFO);
    info.fccType = ICTYPE_VIDEO;
    info.fccHandler = c.fccHandler;
    info.dwVersionICM = 0x0104;
    Widen(c.name, info.szName, 16);
    Widen(c.description, info.szDescription, 128);
    const bool bFfmpeg = !c.encoder.empty() && c.encoder != kMsvc1EncoderName;
    Widen(bFfmpeg ? "ffmpeg:" + c.encoder : c.encoder, info.szDriver, 128);
}

}  // namespace

struct IcOpenObject {
    DWORD fccHandler;
};

bool VideoCompressorEncoder(DWORD fccHandler, std::string& encoder) {
    const Compressor* c = Find(fccHandler);
    if (!c) return false;
    encoder = c->encoder;
    return true;
}

void ICInstallDefaults() { Installed() = Defaults(); }
void ICRemoveAll() { Installed().clear(); }

void ICInstall(DWORD fccHandler, LPCTSTR szName, LPCTSTR szDescription, LPCTSTR szEncoder) {
    Installed().push_back({fccHandler, szName ? szName : "", szDescription ? szDescription : "", szEncoder ? szEncoder : ""});
}

BOOL ICInfo(DWORD fccType, DWORD fccHandler, ICINFO* lpicinfo) {
    if (!lpicinfo || (fccType != 0 && fccType != ICTYPE_VIDEO)) return FALSE;
    // Below 256 the handler is an index into the list, as the enumeration uses it.
    const std::vector<Compressor>& list = Installed();
    const Compressor* c = fccHandler < 256 ? (fccHandler < list.size() ? &list[fccHandler] : nullptr) : Find(fccHandler);
    if (!c) return FALSE;
    Describe(*c, *lpicinfo);
    return TRUE;
}

HIC ICOpen(DWORD fccType, DWORD fccHandler, UINT wMode) {
    if ((fccType != 0 && fccType != ICTYPE_VIDEO) || (wMode != ICMODE_QUERY && wMode != ICMODE_COMPRESS)) return nullptr;
    const Compressor* c = Find(fccHandler);
    if (!c || (wMode == ICMODE_COMPRESS && c->encoder.empty())) return nullptr;
    return new IcOpenObject{fccHandler};
}

LONG ICGetInfo(HIC hic, ICINFO* picinfo, DWORD cb) {
    if (!hic || !picinfo || cb < sizeof(ICINFO)) return 0;
    const Compressor* c = Find(hic->fccHandler);
    if (!c) return 0;
    Describe(*c, *picinfo);
    return static_cast<LONG>(sizeof(ICINFO));
}

LONG ICClose(HIC hic) {
    if (!hic) return ICERR_BADHANDLE;
    delete hic;
    return ICERR_OK;
}

namespace {

// The compression dialog: one drop list, full frames first, then the installed compressors.
class CAviSaveOptionsDlg : public CDialog {
public:
    explicit CAviSaveOptionsDlg(AVICOMPRESSOPTIONS& opts) : CDialog(IDD_AVISAVEOPTIONS), m_opts(opts) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CComboBox* pList = static_cast<CComboBox*>(GetDlgItem(IDC_AVISAVEOPTIONS_COMPRESSOR));
        if (!pList) return TRUE;
        pList->AddString("Full Frames (Uncompressed)");
        int sel = 0;
        const std::vector<Compressor>& list = Installed();
        for (size_t i = 0; i < list.size(); ++i) {
            pList->AddString(list[i].description.c_str());
            if (list[i].fccHandler == m_opts.fccHandler && m_opts.fccHandler != 0) sel = static_cast<int>(i) + 1;
        }
        pList->SetCurSel(sel);
        return TRUE;
    }
    void OnOK() override {
        CComboBox* pList = static_cast<CComboBox*>(GetDlgItem(IDC_AVISAVEOPTIONS_COMPRESSOR));
        const int sel = pList ? pList->GetCurSel() : 0;
        const std::vector<Compressor>& list = Installed();
        m_opts.fccType = streamtypeVIDEO;
        m_opts.dwFlags |= AVICOMPRESSF_VALID;
        if (sel >= 1 && static_cast<size_t>(sel) <= list.size()) {
            m_opts.fccHandler = list[sel - 1].fccHandler;
            m_opts.lpParms = static_cast<DWORD>(sel);  // token: the chosen compressor's parameters
            m_opts.cbParms = 4;
        } else {
            m_opts.fccHandler = 0;
            m_opts.lpParms = 0;
            m_opts.cbParms = 0;
        }
        CDialog::OnOK();
    }

private:
    AVICOMPRESSOPTIONS& m_opts;
};

void RegisterSaveOptionsTemplate() {
    if (FindDialogTemplate(IDD_AVISAVEOPTIONS)) return;
    const auto item = [](UINT nID, UiCtl kind, const char* caption, CRect rc) { return MakeDlgItem(nID, kind, caption, rc); };
    UiDlgTemplate t;
    t.nID = IDD_AVISAVEOPTIONS;
    t.size = CSize(200, 60);
    t.caption = "Video Compression";
    t.items = {item(0, UiCtl::Static, "Compressor:", CRect(7, 9, 55, 19)),
               item(IDC_AVISAVEOPTIONS_COMPRESSOR, UiCtl::Combo, "", CRect(58, 7, 193, 80)),
               item(IDOK, UiCtl::DefButton, "OK", CRect(88, 40, 138, 54)),
               item(IDCANCEL, UiCtl::Button, "Cancel", CRect(143, 40, 193, 54))};
    RegisterDialogTemplate(t);
}

}  // namespace

BOOL AVISaveOptions(HWND, UINT, int nStreams, PAVISTREAM* ppavi, LPAVICOMPRESSOPTIONS* plpOptions) {
    if (nStreams <= 0 || !ppavi || !plpOptions) return FALSE;
    RegisterSaveOptionsTemplate();
    for (int i = 0; i < nStreams; ++i) {
        if (!plpOptions[i]) return FALSE;
        AVICOMPRESSOPTIONS work = *plpOptions[i];
        CAviSaveOptionsDlg dlg(work);
        if (dlg.DoModal() != IDOK) return FALSE;
        *plpOptions[i] = work;
    }
    return TRUE;
}

LONG AVISaveOptionsFree(int nStreams, LPAVICOMPRESSOPTIONS* plpOptions) {
    // The parameter tokens own no memory: forgetting them is enough.
    for (int i = 0; plpOptions && i < nStreams; ++i)
        if (plpOptions[i]) {
            plpOptions[i]->lpParms = 0;
            plpOptions[i]->lpFormat = 0;
        }
    return AVIERR_OK;
}
