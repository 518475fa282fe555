// pvxhost animate: records a result's animation to an AVI film, as a person does.
//
// The result's page is shown as for `show`, with --load and --set; its animation box is turned
// on and its animation "..." button opens the options dialog, which takes --frames, --fps,
// --cycle, --bits and --compress (none: the compressor button's dialog answered with full
// frames); Apply enters animation mode. The view's record command films the result, its save
// command writes the film to --out (the file dialog answered with a temporary file beside it,
// checked and renamed into place). --seek K then drags the tool bar's slider to frame K and
// --picture writes the window as it shows that frame. The close command leaves animation mode;
// the films the module kept in the temporary folder are then gone.
//
//     pvxhost animate 7201 --load DL --frames 8 --cycle full --size 1001x749 --out d.avi
//     pvxhost animate 7301 --load DL --compress none --bits 24 --out f.avi --seek 4 --picture f4.bmp
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/app/HostDockBar.h"
#include "host/app/HostOutput.h"
#include "host/app/HostPageControls.h"
#include "host/app/HostResultView.h"
#include "host/app/ModeTable.h"
#include "host/base/CHostPreferences.h"
#include "host/base/CPHPageDlg.h"
#include "host/db/CDataBase.h"
#include "host/db/DBRecords.h"
#include "host/db/DBTables.h"
#include "host/grx/GRenderView.h"
#include "platform/afx/ByteOrder.h"
#include "platform/gdi/BmpFile.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CommonCtrls.h"
#include "platform/ui/UiWindow.h"
#include "platform/video/MCIWnd.h"
#include "platform/video/vfw.h"

namespace {

// Commands of the result view and windows of the animation tool bar.
constexpr UINT kRecord = 42023, kSave = 42022, kClose = 42024;
constexpr UINT kToolBar = 59416, kSlider = 11259;
constexpr UINT kAnimationDialog = 10592;

std::vector<CHostOption> AnimateOptions() {
    std::vector<CHostOption> options = {
        {"--out", EHostValue::kPath, "FILE.avi", "the film to write", nullptr, 0, 0, HOST_OPT_REQUIRED},
        {"--load", EHostValue::kText, "NAME",
         "the load case or combination chosen in the page's load list, by its exact name"},
        {"--set", EHostValue::kText, "CONTROL=VALUE", "sets a control of the page or the bar, as `show --set` does",
         nullptr, 0, 0, HOST_OPT_REPEATABLE},
        {"--frames", EHostValue::kInteger, "N", "frames per half cycle", "8", 3, 300},
        {"--fps", EHostValue::kInteger, "F", "frames per second", "8", 5, 60},
        {"--cycle", EHostValue::kChoice, "half|full",
         "half: 0 -> 1 -> 0 (2N + 2 frames); full: then 0 -> -1 -> 0 as well (4N + 3 frames)", "half"},
        {"--bits", EHostValue::kChoice, "8|16|24",
         "colour depth of an uncompressed film; the preferred compressor always writes 16-bit RGB555", "16"},
        {"--compress", EHostValue::kChoice, "default|none",
         "default: the preferred compressor (Microsoft Video 1; the film's size is rounded up to multiples of 4); "
         "none: full frames",
         "default"},
        {"--seek", EHostValue::kInteger, "K", "after recording, drags the bar's slider to frame K (needs --picture)",
         nullptr, 0, 1202},  // 4N + 3 frames at the most, N = 300
        {"--picture", EHostValue::kPath, "P.bmp", "writes the window as it then shows (the film's frame over the view)"},
        {"--contour", EHostValue::kChoice, "0|1",
         "the dialog's \"动画轮廓\" box: force contours (frame, slab, wall and plate forces) follow the frames too",
         "1"},
        {"--press", EHostValue::kText, "BUTTON,...",
         "after recording, presses the tool bar's playback buttons in order (play, pause, stop, jump-back, replay, "
         "fast, jump-forward) and prints the player's state and position at once and half a second later"},
    };
    for (const CHostOption& o : CHostViewRequest::Options()) options.push_back(o);
    return options;
}

// Where a test makes an allocation fail: PVXHOST_FAULT=animate-commit fails the run once the film
// is recorded and saved to its temporary file, before it is put in place, so that the clean-up
// of an allocation failure (the program's, main.cpp) can be seen to leave no film behind. Test
// builds only.
void FaultPoint(const char* pszName) {
#if defined(PVX_FAULT_HOOKS)
    const char* pszFault = std::getenv("PVXHOST_FAULT");
    if (pszFault && std::strcmp(pszFault, pszName) == 0) throw std::bad_alloc();
#else
    (void)pszName;
#endif
}

// The playback buttons of the tool bar, by the names --press takes.
struct PlayButton {
    const char* pszName;
    UINT nID;
};
constexpr PlayButton kPlayButtons[] = {{"play", 42015},   {"pause", 42016}, {"stop", 42017},        {"jump-back", 42018},
                                       {"replay", 42051}, {"fast", 42020},  {"jump-forward", 42021}};

// The buttons a --press list names, in order; empty after a message when a name is unknown.
std::vector<PlayButton> ReadPresses(const std::string& list) {
    std::vector<PlayButton> presses;
    size_t from = 0;
    for (;;) {
        const size_t comma = list.find(',', from);
        const std::string name = HostLower(list.substr(from, comma == std::string::npos ? comma : comma - from));
        const PlayButton* pFound = nullptr;
        for (const PlayButton& b : kPlayButtons)
            if (name == b.pszName) pFound = &b;
        if (!pFound) {
            HostMessage("--press: no playback button \"%s\" (play, pause, stop, jump-back, replay, fast, jump-forward)",
                        name.c_str());
            return {};
        }
        presses.push_back(*pFound);
        if (comma == std::string::npos) return presses;
        from = comma + 1;
    }
}

// The media player the view shows the film in: its child window of the player's class.
HWND FindPlayer(CWnd* pView) {
    for (CWnd* c = pView ? pView->GetWindow(GW_CHILD) : nullptr; c; c = c->GetWindow(GW_HWNDNEXT))
        if (UiWindow* w = ui::Find(c->GetSafeHwnd()); w && HostLower(w->className) == HostLower(MCIWND_WINDOW_CLASS))
            return c->GetSafeHwnd();
    return nullptr;
}

// "playing at speed 2000, position 12 of 0..42, slider 12": what the player and the bar show.
std::string PlayerState(HWND hPlayer, CSliderCtrl* pSlider) {
    if (!hPlayer) return "no player";
    char mode[64] = "";
    MCIWndGetMode(hPlayer, mode, sizeof(mode));
    std::string s = mode;
    if (MCIWndGetMode(hPlayer, nullptr, 0) == MCI_MODE_PLAY) s += " at speed " + std::to_string(MCIWndGetSpeed(hPlayer));
    s += ", position " + std::to_string(MCIWndGetPosition(hPlayer)) + " of 0.." + std::to_string(MCIWndGetEnd(hPlayer));
    if (pSlider) s += ", slider " + std::to_string(pSlider->GetPos());
    return s;
}

constexpr char kRunFolderPrefix[] = "pvxhost-animate.";
// A run's folder holds this file, naming the folder itself (HostFileIdentity): a folder that
// only looks like one is never taken for it.
constexpr char kRunMark[] = ".pvxhost-run";
constexpr char kRunMarkHead[] = "pvxhost animate run\n";

// Whether name is one of the module's films (~PVX100.AVI, ~PVX100TMP.AVI ... ~PVX999TMP.AVI) or
// the film its compressor probe makes (~CHSCMPSR.AVI).
bool IsFilmName(const char* name) {
    if (std::strcmp(name, "~CHSCMPSR.AVI") == 0) return true;
    const size_t n = std::strlen(name);
    if (std::strncmp(name, "~PVX", 4) != 0 || n < 11) return false;
    for (int i = 4; i < 7; ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return name[4] != '0' && (std::strcmp(name + 7, ".AVI") == 0 || std::strcmp(name + 7, "TMP.AVI") == 0);
}

// Removes the run folder open as fd (at path) when its mark proves it a run's: the films by
// their names (never anything else, never recursively), then the mark and the folder when
// nothing else is left in it. A folder holding anything else keeps its mark, so that it stays
// known as a run's.
void RemoveRunFolder(int fd, const std::string& path) {
    char buf[256];
    const int mark = openat(fd, kRunMark, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    const ssize_t n = mark < 0 ? -1 : read(mark, buf, sizeof buf);
    if (mark >= 0) close(mark);
    if (n <= 0 || std::string(buf, static_cast<size_t>(n)) != kRunMarkHead + HostFileIdentity(fd, "") + "\n") return;
    const int listing = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    DIR* d = listing < 0 ? nullptr : fdopendir(listing);
    if (!d) {
        if (listing >= 0) close(listing);
        return;
    }
    std::vector<std::string> films;
    bool bOther = false;
    while (const dirent* e = readdir(d)) {
        if (IsFilmName(e->d_name))
            films.push_back(e->d_name);
        else if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..") && std::strcmp(e->d_name, kRunMark))
            bOther = true;
    }
    closedir(d);
    for (const std::string& name : films) unlinkat(fd, name.c_str(), 0);
    if (bOther) return;
    unlinkat(fd, kRunMark, 0);
    rmdir(path.c_str());
}

// Folders of runs that are gone (killed, or crashed past their handlers): the user's, marked as
// a run's (RemoveRunFolder), and no longer locked by a live run (which locks it before it marks
// it).
void RemoveDeadRunFolders(const std::string& temp) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(temp, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, sizeof kRunFolderPrefix - 1, kRunFolderPrefix)) continue;
        const std::string path = temp + name;
        const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (fstat(fd, &st) == 0 && st.st_uid == getuid() && flock(fd, LOCK_EX | LOCK_NB) == 0) RemoveRunFolder(fd, path);
        close(fd);
    }
}

// A temporary folder of this run's own, given to the module as its preference temporary folder
// (the film names it reserves, ~PVX100.AVI on, are then this run's alone, whatever other runs
// record at the same time) and removed with the films in it when the run ends, or a signal ends
// it; it is held locked and marked meanwhile, and a later run removes it when its run died.
class CRunTempFolder {
public:
    CRunTempFolder() : m_strPrevious(CHostPreferences::GetTempPath()) {}
    ~CRunTempFolder() {
        if (m_strDir.empty()) return;
        CHostPreferences::SetTempPath(m_strPrevious.c_str());
        SetRunTempFolder("");
        if (m_nLock >= 0) {
            RemoveRunFolder(m_nLock, m_strDir);
            close(m_nLock);
        }
    }
    CRunTempFolder(const CRunTempFolder&) = delete;
    CRunTempFolder& operator=(const CRunTempFolder&) = delete;
    // Makes the folder in the temporary folder and makes it the preference one; 0, or the exit
    // status after a message.
    int Make() {
        RemoveDeadRunFolders(m_strPrevious);
        std::string templ = m_strPrevious + kRunFolderPrefix + "XXXXXX";
        if (!mkdtemp(templ.data())) {
            HostMessage("cannot make a temporary folder in %s for the film: %s", m_strPrevious.c_str(),
                        std::strerror(errno));
            return HOST_EXIT_FAILED;
        }
        m_strDir = templ;
        m_nLock = open(m_strDir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (m_nLock >= 0 && flock(m_nLock, LOCK_EX | LOCK_NB) == 0) {
            const std::string mark = kRunMarkHead + HostFileIdentity(m_nLock, "") + "\n";
            const int fd = openat(m_nLock, kRunMark, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd >= 0) {
                (void)!write(fd, mark.data(), mark.size());
                close(fd);
            }
        }
        SetRunTempFolder(m_strDir);
        CHostPreferences::SetTempPath(m_strDir.c_str());
        return 0;
    }

private:
    std::string m_strPrevious, m_strDir;
    int m_nLock = -1;
};

// The module's films in the temporary folder.
std::set<std::string> TemporaryFilms() {
    std::set<std::string> names;
    const std::string dir = CHostPreferences::GetTempPath();
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::strncmp(e->d_name, "~PVX", 4) == 0) names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

// What a film says of itself: frames, size, rate and compressor, from its RIFF headers.
struct FilmFacts {
    uint32_t frames = 0, width = 0, height = 0, rate = 0, scale = 1, bits = 0, compression = 0;
};

bool ReadFilmFacts(const std::string& path, FilmFacts& f) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::vector<unsigned char> head(64 * 1024);
    head.resize(std::fread(head.data(), 1, head.size(), file));
    std::fclose(file);
    // The headers sit in LIST 'hdrl' at the start: walk its chunks.
    bool found = false;
    for (size_t at = 12; at + 8 <= head.size();) {
        const uint32_t size = byteorder::Le32(&head[at + 4]);
        if (!std::memcmp(&head[at], "LIST", 4)) {
            at += 12;  // into the list
            continue;
        }
        const unsigned char* d = &head[at + 8];
        if (at + 8 + size > head.size()) break;
        if (!std::memcmp(&head[at], "strh", 4) && size >= 36) {
            f.scale = byteorder::Le32(d + 20);
            f.rate = byteorder::Le32(d + 24);
            f.frames = byteorder::Le32(d + 32);
        } else if (!std::memcmp(&head[at], "strf", 4) && size >= 40) {
            f.width = byteorder::Le32(d + 4);
            const int32_t h = static_cast<int32_t>(byteorder::Le32(d + 8));
            f.height = static_cast<uint32_t>(h < 0 ? -h : h);
            f.bits = d[14] | d[15] << 8;
            f.compression = byteorder::Le32(d + 16);
            found = true;
        } else if (!std::memcmp(&head[at], "movi", 4)) {
            break;
        }
        at += 8 + size + (size & 1);
    }
    return found;
}

// The installed compressor's description for a handler code; "none (full frames)" for 0.
std::string CompressorName(uint32_t handler) {
    if (handler == 0) return "none (full frames)";
    for (DWORD i = 0;; ++i) {
        ICINFO info{};
        if (!ICInfo(ICTYPE_VIDEO, i, &info)) break;
        if (info.fccHandler != handler) continue;
        if (HIC h = ICOpen(ICTYPE_VIDEO, info.fccHandler, ICMODE_QUERY)) {
            ICGetInfo(h, &info, sizeof(info));
            ICClose(h);
            std::string name;
            for (const WCHAR* c = info.szDescription; *c; ++c) name += static_cast<char>(*c < 128 ? *c : '?');
            return name;
        }
    }
    char tag[5] = {static_cast<char>(handler), static_cast<char>(handler >> 8), static_cast<char>(handler >> 16),
                   static_cast<char>(handler >> 24), 0};
    return tag;
}

int RunAnimate(const CHostOptions& options, const CHostArgs& args) {
    CHostViewRequest view;
    view.Read(args);
    const std::string word = args.GetOperand();
    const long nResult = hostpage::ReadResultOperand(word, "animate");
    if (!nResult) return HOST_EXIT_USAGE;
    if (args.Has("--seek") != args.Has("--picture")) {
        HostMessage("--seek K and --picture P.bmp go together: the picture shows frame K");
        return HOST_EXIT_USAGE;
    }
    // The film's frames follow the dialog's options: 2N + 2 for a half cycle, 4N + 3 for a full one.
    const long nFilmFrames = args.Get("--cycle") == "full" ? 4 * args.GetInteger("--frames") + 3
                                                           : 2 * args.GetInteger("--frames") + 2;
    if (args.Has("--seek") && args.GetInteger("--seek") >= nFilmFrames) {
        HostMessage("--seek %ld: the film will have frames 0 to %ld (--frames %ld, --cycle %s)", args.GetInteger("--seek"),
                    nFilmFrames - 1, args.GetInteger("--frames"), args.Get("--cycle").c_str());
        return HOST_EXIT_USAGE;
    }
    std::vector<PlayButton> presses;
    if (args.Has("--press") && (presses = ReadPresses(args.Get("--press"))).empty()) return HOST_EXIT_USAGE;
    std::vector<std::pair<std::string, std::string>> sets;
    for (const std::string& s : args.GetAll("--set")) {
        const size_t eq = s.find('=');
        if (eq == std::string::npos || eq == 0) {
            HostMessage("--set expects CONTROL=VALUE, not \"%s\"", s.c_str());
            return HOST_EXIT_USAGE;
        }
        sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    }
    const std::string strOut = args.Get("--out");
    CHostOutputFile out(strOut, CHostOutputFile::kAvi);
    if (int status = out.Check(options.strDBPath)) return status;
    const std::string strPicture = args.Get("--picture");
    CHostOutputFile picture(strPicture, CHostOutputFile::kBmp);
    if (!strPicture.empty())
        if (int status = picture.Check(options.strDBPath)) return status;

    std::vector<CHostProgress::Step> steps = CHostResultView::Steps();
    steps.push_back({"showing result " + word, 20});
    steps.push_back({"recording", 60});
    steps.push_back({"writing " + strOut, 10});
    CHostProgress progress(steps);
    CRunTempFolder tempFolder;  // outlives the view, whose engine deletes its films in the folder
    if (int status = tempFolder.Make()) return status;
    CHostResultView rv;
    if (!rv.Open(options, view, &progress)) return rv.GetFailStatus();
    if (const std::string missing = rv.GetDB() ? MembersMissing(*rv.GetDB()) : ""; !missing.empty()) {
        HostMessage("result %ld draws its results on the members, and %s", nResult, missing.c_str());
        return HOST_EXIT_FAILED;
    }
    progress.Enter(CHostResultView::Steps().size());
    const std::set<std::string> filmsBefore = TemporaryFilms();

    // The result's page, as the view's result command opens it.
    CHostDockBar bar;
    CHostDockBar::Offer offer;
    CFormViewInBar* pBar = nullptr;
    CWnd* pFrame = rv.GetView()->GetParentFrame();
    const size_t nBoxes = CUiDriver::Get().MessageBoxes().size();
    if (int status = hostpage::OpenResultBar(bar, nResult, pFrame, offer, pBar)) return status;
    auto* pPage = dynamic_cast<CPHPageDlg*>(pBar->GetShownPageWnd());
    if (!pPage) {
        HostMessage("result %ld: its page %s is not built yet", nResult, offer.strPageClass.c_str());
        return HOST_EXIT_FAILED;
    }
    // The load as show takes it: a film of a load without the page's results is no film of them.
    std::string strLoad = args.Get("--load");
    std::vector<hostpage::Control> loadControls = hostpage::CollectControls(pPage, pPage->GetControlNames());
    for (const hostpage::Control& k : hostpage::CollectControls(pBar, pBar->GetControlNames())) loadControls.push_back(k);
    if (int status = hostpage::ResolvePageLoad(static_cast<int>(nResult), loadControls, rv.GetDB(), strLoad)) return status;
    if (!strLoad.empty()) sets.insert(sets.begin(), {"load", strLoad});
    if (int status = hostpage::SetPageControls(pBar, nResult, sets, nBoxes)) return status;
    pPage = dynamic_cast<CPHPageDlg*>(pBar->GetShownPageWnd());
    const std::vector<hostpage::Control> controls = hostpage::CollectControls(pPage, pPage->GetControlNames());
    auto named = [&](const char* name) {
        for (const hostpage::Control& k : controls)
            if (k.strName == name) return true;
        return false;
    };
    if (!named("animation")) {
        HostMessage("the page of result %ld (%s) has no animation box: its result cannot be animated", nResult,
                    offer.strPageClass.c_str());
        return HOST_EXIT_USAGE;
    }
    if (int status = hostpage::SetPageControls(pBar, nResult, {{"animation", "1"}}, nBoxes)) return status;

    // The options, through the page's animation "..." button and its dialog.
    std::vector<std::pair<std::string, std::string>> dialog = {
        {"frames", args.Get("--frames")},
        {"fps", args.Get("--fps")},
        {"cycle", args.Get("--cycle") == "full" ? "1" : "0"},
        {"bits", args.Get("--bits") == "8" ? "0" : args.Get("--bits") == "24" ? "2" : "1"},
        {"animate-contour", args.Get("--contour")},
    };
    // Only the force engine's contours scale their values by the frame: elsewhere the box draws the same.
    if (args.Has("--contour") && offer.strPageClass != "CPVXBarBForc" && offer.strPageClass != "CPVXBarSForc" &&
        offer.strPageClass != "CPVXBarSBForc" && offer.strPageClass != "CPVXBarWForc" &&
        offer.strPageClass != "CPVXBarPForc")
        HostMessage("note: --contour has no effect on result %ld: its page (%s) draws no force contour", nResult,
                    offer.strPageClass.c_str());
    if (args.Get("--compress") == "none") {
        // The compressor button's dialog, answered with full frames (its first item).
        dialog.emplace_back("compressor", "1");
        CUiDriver::Get().QueueModal(IDD_AVISAVEOPTIONS, {[](CUiDialogSession& s) -> int {
                                        s.SelectComboIndex(IDC_AVISAVEOPTIONS_COMPRESSOR, 0);
                                        return IDOK;
                                    }});
    }
    bool bMore = false;  // the "..." buttons are not value controls: the page names them
    for (const CBarControlName& n : pPage->GetControlNames())
        if (n.pszName && std::strcmp(n.pszName, "animation-more") == 0) bMore = true;
    if (bMore) {
        if (int status = hostpage::RunDetails(pPage, nResult, rv.GetView(), "animation-more", dialog, nBoxes))
            return status;
    } else if (args.Has("--frames") || args.Has("--fps") || args.Has("--cycle") || args.Has("--bits") ||
               args.Has("--compress")) {
        HostMessage("the page of result %ld has no animation \"...\" button: the film takes the engine's options",
                    nResult);
        return HOST_EXIT_USAGE;
    }
    if (int status = hostpage::ClickApply(pPage, nResult, nBoxes)) return status;
    if (!rv.ModelFits(view)) return HOST_EXIT_FAILED;
    // The deformation pages keep a time-history load's displacements as they are in every frame.
    std::string strStill;
    if (offer.strPageClass == "CPVXBarDeform" || offer.strPageClass == "CPVXBarDContr") {
        CWnd* pLoad = nullptr;
        for (const hostpage::Control& k : controls)
            if (k.strName == "load") pLoad = pPage->GetDlgItem(static_cast<int>(k.nID));
        const std::string strLoad = pLoad ? hostpage::TextOf(pLoad) : "";
        if (CDataBase* db = rv.GetDB(); db && !strLoad.empty()) {
            const auto& cases = db->Table<DBT_PSTLD>();
            for (size_t i = 0; i < cases.Count(); ++i)
                if (cases.Records()[i].type == PLOAD_TIMEHISTORY && strLoad == cases.Records()[i].name) strStill = strLoad;
        }
    }

    // Record, then save through the view's file dialog.
    progress.Enter(steps.size() - 2);
    CWnd* pView = rv.GetView();
    {
        const CHostPromptsAsProgress prompts;  // the recording's prompts are its progress
        pView->SendMessage(WM_COMMAND, kRecord, 0);
        AfxPumpMessages();
        if (hostpage::ReportRefusals(nBoxes)) {
            prompts.ShowHeld();
            return HOST_EXIT_FAILED;
        }
    }
    // Rows the recording read and the project refused (told above as they were read): the
    // frames show the model without those results, which is no film of the result.
    if (CDataBase* db = rv.GetDB(); db && !db->GetReadErrors().empty()) {
        HostMessage("result %ld cannot be animated: the project's rows it shows were refused (above); no film was written",
                    nResult);
        return HOST_EXIT_FAILED;
    }
    progress.Enter(steps.size() - 1);
    if (int status = out.Begin()) return status;
    CUiDriver::Get().QueueFileDialogAnswer(out.GetTempPath().c_str());
    pView->SendMessage(WM_COMMAND, kSave, 0);
    if (hostpage::ReportRefusals(nBoxes)) return out.Fail("the view did not save the film");
    FaultPoint("animate-commit");
    if (int status = out.Commit()) return status;
    FilmFacts facts;
    if (!ReadFilmFacts(strOut, facts)) {
        HostMessage("the film \"%s\" was written but its headers cannot be read", strOut.c_str());
        return HOST_EXIT_FAILED;
    }

    // The playback buttons, as a person presses them, looking at the player at once and half a
    // second later (two ticks of the view's playback timer, on the program's own clock).
    CWnd* pToolBar = pFrame ? pFrame->GetDlgItem(static_cast<int>(kToolBar)) : nullptr;
    CWnd* pSlider = pToolBar ? pToolBar->GetDlgItem(static_cast<int>(kSlider)) : nullptr;
    if (!presses.empty()) {
        auto* pSliderCtrl = pSlider ? dynamic_cast<CSliderCtrl*>(CWnd::FromHandle(pSlider->GetSafeHwnd())) : nullptr;
        CUiDriver& driver = CUiDriver::Get();
        driver.UseVirtualClock(TRUE);
        std::printf("The player of %s: %s\n", strOut.c_str(), PlayerState(FindPlayer(pView), pSliderCtrl).c_str());
        for (const PlayButton& b : presses) {
            pView->SendMessage(WM_COMMAND, b.nID, 0);
            AfxPumpMessages();
            const std::string now = PlayerState(FindPlayer(pView), pSliderCtrl);
            for (int tick = 0; tick < 50; ++tick) {
                driver.AdvanceTime(10);
                AfxPumpMessages();
            }
            std::printf("press %s (%u): %s; half a second later %s\n", b.pszName, b.nID, now.c_str(),
                        PlayerState(FindPlayer(pView), pSliderCtrl).c_str());
        }
        driver.UseVirtualClock(FALSE);
    }

    // The frame the slider is dragged to, as the window shows it.
    if (!strPicture.empty()) {
        const long k = args.GetInteger("--seek");
        if (!pSlider) {
            HostMessage("the animation tool bar shows no slider: the film is not playing");
            return HOST_EXIT_FAILED;
        }
        if (k >= static_cast<long>(facts.frames)) {
            HostMessage("--seek %ld: the film has frames 0 to %u", k, facts.frames - 1);
            return HOST_EXIT_USAGE;
        }
        ui::SliderUserMove(pSlider->GetSafeHwnd(), static_cast<int>(k));
        AfxPumpMessages();
        if (int status = picture.Begin()) return status;
        WriteBmp24(picture.GetTempPath().c_str(), rv.GetWindowPicture());
        if (int status = picture.Commit(view.nWidth, view.nHeight)) return status;
    }

    // Leaving animation mode takes the module's films away.
    pView->SendMessage(WM_COMMAND, kClose, 0);
    AfxPumpMessages();
    std::vector<std::string> left;
    for (const std::string& name : TemporaryFilms())
        if (!filmsBefore.count(name)) left.push_back(name);
    if (!left.empty()) {
        HostMessage("the module left its film %s in %s after leaving animation mode", left.front().c_str(),
                    CHostPreferences::GetTempPath().c_str());
        return HOST_EXIT_FAILED;
    }
    CHostProgress::Finish();
    std::printf("Wrote %s: %u frames, %ux%u, %u frames per second, %u bits, compressor %s; result %ld on the page %s%s\n",
                strOut.c_str(), facts.frames, facts.width, facts.height, facts.scale ? facts.rate / facts.scale : 0,
                facts.bits, CompressorName(facts.compression).c_str(), nResult, offer.strPageClass.c_str(),
                rv.GetPart().Describe().c_str());
    if (!strStill.empty())
        std::printf("The film stands still: its %u frames are alike, since %s is a time-history case, whose "
                    "displacements every frame shows as they are (no swing); `graph history --load %s` shows how a "
                    "node moves\n",
                    facts.frames, strStill.c_str(), strStill.c_str());
    if (!strPicture.empty())
        std::printf("Wrote %s: %ldx%ld, frame %ld\n", strPicture.c_str(), view.nWidth, view.nHeight,
                    args.GetInteger("--seek"));
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegisterAnimate({"animate",
                                       "Records the animation of a result (one whose page has an animation box:\n"
                                       "7201 deformed shape, 7204 displacement contour, 7301 frame forces ...) to an\n"
                                       "AVI film, as a person does: the page as for `show`, its animation box on,\n"
                                       "the options through its animation \"...\" dialog, Apply, the view's record\n"
                                       "and save commands. --seek K --picture P.bmp then shows frame K of the film\n"
                                       "over the view. Prints the film's frames, size, rate and compressor.",
                                       RunAnimate, 33, AnimateOptions(), "RESULT"});

}  // namespace
