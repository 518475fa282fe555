// The host program's docking bar: where the results module's result bars open.
//
// The host application shows a result bar when the view's result command (or the host itself)
// asks CDockDlgBarBase::ShowDlgBarMode for a result id. This bar answers by making the module's
// bar container that offers the result (by run-time class name, from the list the host knows,
// in the order the view's commands use them: a result two containers offer opens in the first),
// creating its window inside the bar, running its initial update and asking it to show the
// result id. A container of another class is destroyed first. Closing hides the bar and keeps
// the container until the next result or the bar's end, since a page may still be running the
// close. The bar must go before the module is unloaded: its containers' code lives there.
//
//     CHostDockBar bar;
//     bar.CreateInFrame(frame);
//     CDockDlgBarBase::ShowDlgBarMode(7101);
//     CWnd* page = bar.GetContent()->GetShownPageWnd();
#pragma once

#include <string>
#include <vector>

#include "host/base/CDockDlgBarBase.h"
#include "host/base/CFormViewInBar.h"

class CHostDockBar : public CDockDlgBarBase {
public:
    // A result a container of the module offers.
    struct Offer {
        std::string strContainer;  // run-time class of the container
        int nResultId;
        std::string strPageClass;  // run-time class of its page
        std::string strTitleKey;   // string key of its title; empty when none
        bool bPageBuilt;           // the module has the page class
    };

    CHostDockBar() = default;
    ~CHostDockBar() override;

    // The bar containers the host opens, in the order it looks a result up.
    static const std::vector<const char*>& ContainerClasses();
    // Every result the loaded module's containers offer, container by container; a container
    // class the module lacks is reported in pMissing.
    static std::vector<Offer> GetOffers(std::vector<std::string>* pMissing = nullptr);
    // The offer that opens a result (the first container listing it); false when none does.
    static bool FindOffer(int nResultId, Offer& offer);

    // The bar's window, a hidden child of the frame until a result shows.
    BOOL CreateInFrame(CWnd* pFrame);
    // The container shown; null when none.
    CFormViewInBar* GetContent() const { return m_pContent; }
    const std::string& GetContentClass() const { return m_strClass; }
    // Closes the container shown, as the bar's end does (its pages keep their settings in the
    // project, in memory).
    void CloseContent() { DestroyContent(); }

protected:
    BOOL OnShowBarMode(int nMode, int nOption) override;

private:
    void DestroyContent();
    CFormViewInBar* m_pContent = nullptr;  // deletes itself with its window
    std::string m_strClass;
};
