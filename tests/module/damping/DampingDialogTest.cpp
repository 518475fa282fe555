// The Rayleigh damping dialog, its modal data, its range dialog and its modal table, over small
// post databases of our own. Expected values are derived by hand next to each row from
// ζ(f) = α / (4π f) + β π f and the two-mode solution
//   α = 4π f1 f2 (ζ1 f2 − ζ2 f1) / (f2² − f1²),  β = (ζ2 f2 − ζ1 f1) / (π (f2² − f1²)).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/PostDBBuilder.h"
#include "module/graphs/CPVXGrphRangeDlg.h"
#include "module/graphs/CPVXModalDampData.h"
#include "module/graphs/CPVXModalDampDlg.h"
#include "module/graphs/CPVXModalDampGrid.h"
#include "module/resources/PVXResources.h"
#include "platform/ui/CUiDriver.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Mode {
    double f;              // Hz
    double zeta;
    bool bMasses = true;   // false: the mode has no participating masses (it cannot be read)
    double mpmX = 0.0;
};

class DampingTest : public ::testing::Test {
protected:
    void SetUp() override {
        PVXRegisterResources();
        CUiDriver::Get().Reset();
        m_pSavedDoc = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override {
        CDBDoc::m_pDBDoc = m_pSavedDoc;
        CUiDriver::Get().Reset();
    }

    // Modes numbered 1, 2, ... in the order given.
    void Install(const std::vector<Mode>& modes) {
        PostDBBuilder b;
        for (size_t i = 0; i < modes.size(); ++i) {
            const UINT no = static_cast<UINT>(i + 1);
            T_FREQ_D f;
            f.Initialize();
            f.freq = modes[i].f;
            f.omega = 2.0 * kPi * modes[i].f;
            f.period = modes[i].f > 0.0 ? 1.0 / modes[i].f : 0.0;
            f.damping = modes[i].zeta;
            T_MPAM_D m;
            m.Initialize();
            m.mass[0] = modes[i].mpmX;
            if (modes[i].bMasses)
                b.AddMode(no, f, m);
            else
                b.DB().Table<DBT_FREQ>().Set(no, f);
        }
        b.Install(m_doc);
    }

    // Runs the dialog; the step sees it after OnInitDialog and it is cancelled afterwards.
    void RunDialog(const std::function<void(CPVXModalDampDlg&, CUiDialogSession&)>& step) {
        CPVXModalDampDlg dlg;
        bool bRan = false;
        CUiDriver::Get().QueueModal("CPVXModalDampDlg", {[&](CUiDialogSession& s) -> int {
            bRan = true;
            step(dlg, s);
            return IDCANCEL;
        }});
        dlg.DoModal();
        EXPECT_TRUE(bRan);
    }

    static CString Text(CUiDialogSession& s, UINT id) {
        CString t;
        s.Dialog()->GetDlgItemText(static_cast<int>(id), t);
        return t;
    }
    static BOOL Enabled(CUiDialogSession& s, UINT id) { return s.Dialog()->GetDlgItem(static_cast<int>(id))->IsWindowEnabled(); }

    CDBDoc m_doc;
    CDBDoc* m_pSavedDoc = nullptr;
};

// ---- the coefficients ---------------------------------------------------------------------------

TEST_F(DampingTest, RayleighCoefficientsAndRefusals) {
    struct Row {
        const char* label;
        double f1, z1, f2, z2;
        BOOL bMass, bStiff;
        BOOL ok;
        double alpha, beta;
        const char* message;  // the box shown; null when none
    } rows[] = {
        // α = 4π·1·3·(0.15 − 0.05)/8 = 0.15π; β = (0.15 − 0.05)/(8π).
        {"1 and 3 Hz at 0.05", 1, 0.05, 3, 0.05, TRUE, TRUE, TRUE, 0.15 * kPi, 0.1 / (8 * kPi), nullptr},
        {"mass only: 4π·1·0.05", 1, 0.05, 3, 0.05, TRUE, FALSE, TRUE, 0.2 * kPi, 0.0, nullptr},
        {"stiffness only: 0.05/π", 1, 0.05, 3, 0.05, FALSE, TRUE, TRUE, 0.0, 0.05 / kPi, nullptr},
        {"neither", 1, 0.05, 3, 0.05, FALSE, FALSE, TRUE, 0.0, 0.0, nullptr},
        {"identical frequencies", 2, 0.05, 2, 0.05, TRUE, TRUE, FALSE, 0, 0, "两个频率相同。"},
        {"identical frequencies, mass only: 4π·2·0.05", 2, 0.05, 2, 0.05, TRUE, FALSE, TRUE, 0.4 * kPi, 0, nullptr},
        {"ratio 1 of -0.01", 1, -0.01, 3, 0.05, TRUE, TRUE, FALSE, 0, 0, "振型1的阻尼比无效。"},
        // α = 4π·3·(0 − 0.05)/8 = −0.075π; β = 0.15/(8π).
        {"ratio 1 of 0 accepted", 1, 0.0, 3, 0.05, TRUE, TRUE, TRUE, -0.075 * kPi, 0.15 / (8 * kPi), nullptr},
        {"ratio 2 of -0.01", 1, 0.05, 3, -0.01, TRUE, TRUE, FALSE, 0, 0, "振型2的阻尼比无效。"},
        {"frequency 1 of 0", 0, 0.05, 3, 0.05, TRUE, FALSE, FALSE, 0, 0, "振型1的频率无效。"},
        {"frequency 2 of -1", 1, 0.05, -1, 0.05, TRUE, TRUE, FALSE, 0, 0, "振型2的频率无效。"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CUiDriver::Get().ClearMessageBoxes();
        double a = 99.0, b = 99.0;
        EXPECT_EQ(r.ok, CPVXModalDampDlg::CalcRayleighCoefficients(a, b, r.f1, r.z1, r.f2, r.z2, r.bMass, r.bStiff));
        EXPECT_NEAR(r.alpha, a, 1e-12);
        EXPECT_NEAR(r.beta, b, 1e-12);
        const auto& boxes = CUiDriver::Get().MessageBoxes();
        ASSERT_EQ(r.message ? 1u : 0u, boxes.size());
        if (r.message) {
            EXPECT_STREQ(r.message, boxes[0].text.GetString());
        }
    }
}

// ---- loading and ranges ------------------------------------------------------------------------

TEST_F(DampingTest, LoadingAndAxisRanges) {
    struct Row {
        const char* label;
        std::vector<Mode> modes;
        std::set<int> stored;
        double fFrom, fTo, dFrom, dTo;
    } rows[] = {
        // 0.9 … 3.3, pad 0.05·2.4 = 0.12; equal ratios: pad 5 % of 0.05.
        {"1 and 3 Hz at 0.05", {{1, 0.05}, {3, 0.05}}, {1, 2}, 0.78, 3.42, 0.0475, 0.0525},
        // Ratios 0.02 … 0.06, pad 0.002.
        {"ratios 0.02 and 0.06", {{1, 0.02}, {3, 0.06}}, {1, 2}, 0.78, 3.42, 0.018, 0.062},
        // 0.9 … 27.5, pad 1.33; the 25 Hz ratio 0.2 leaves the damping range alone.
        {"a 25 Hz mode", {{1, 0.05}, {3, 0.05}, {25, 0.2}}, {1, 2, 3}, -0.43, 28.83, 0.0475, 0.0525},
        // No mode below 20 Hz: ratios 0.05 … 0.07 of all modes, pad 0.001; 22.5 … 33, pad 0.525.
        {"every mode above 20 Hz", {{25, 0.05}, {30, 0.07}}, {1, 2}, 21.975, 33.525, 0.049, 0.071},
        {"no mode", {}, {}, 0.0, 20.0, 0.0, 0.1},
        // Mode 2 has no masses: skipped, so only 1 and 3 Hz count.
        {"a mode that cannot be read", {{1, 0.05}, {2, 0.5, false}, {3, 0.05}}, {1, 3}, 0.78, 3.42, 0.0475, 0.0525},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Install(r.modes);
        CPVXModalDampData data;
        EXPECT_EQ(r.stored.empty() ? 0 : 1, data.Load(m_doc.GetPostCtrl()));
        const std::vector<int> modes = data.GetModeNumbers();
        EXPECT_EQ(std::vector<int>(r.stored.begin(), r.stored.end()), modes);
        EXPECT_NEAR(r.fFrom, data.m_dFreqAxisFrom, 1e-12);
        EXPECT_NEAR(r.fTo, data.m_dFreqAxisTo, 1e-12);
        EXPECT_NEAR(r.dFrom, data.m_dDampAxisFrom, 1e-12);
        EXPECT_NEAR(r.dTo, data.m_dDampAxisTo, 1e-12);
    }
}

TEST_F(DampingTest, DampingCurve) {
    // Modes at 1/0.9 and 3/1.1 Hz put the first sample at 1 Hz and the last at 3 Hz; with the
    // coefficients of 1 and 3 Hz at 0.05 the curve is 0.05 there: 0.0375 + 0.0125 and
    // 0.0125 + 0.0375.
    Install({{1.0 / 0.9, 0.05}, {3.0 / 1.1, 0.05}});
    CPVXModalDampData data;
    ASSERT_EQ(1, data.Load(m_doc.GetPostCtrl()));
    CArray<double, double> x, y;
    ASSERT_EQ(1, data.GetDampCurve(0.15 * kPi, 0.1 / (8 * kPi), x, y));
    ASSERT_EQ(51, x.GetSize());
    ASSERT_EQ(51, y.GetSize());
    EXPECT_NEAR(1.0, x[0], 1e-12);
    EXPECT_NEAR(3.0, x[50], 1e-12);
    EXPECT_NEAR(0.05, y[0], 1e-12);
    EXPECT_NEAR(0.05, y[50], 1e-12);
    // Step (3 − 1)/50 = 0.04: sample 25 at 2 Hz, 0.0375/2 + 0.0125·2.
    EXPECT_NEAR(2.0, x[25], 1e-12);
    EXPECT_NEAR(0.04375, y[25], 1e-12);

    // A lowest frequency of 0 stops the curve at its first sample.
    Install({{0.0, 0.05}, {3, 0.05}});
    ASSERT_EQ(1, data.Load(m_doc.GetPostCtrl()));
    EXPECT_EQ(0, data.GetDampCurve(0.15 * kPi, 0.1 / (8 * kPi), x, y));
    EXPECT_EQ(0, x.GetSize());
}

// ---- the dialog ------------------------------------------------------------------------------------

TEST_F(DampingTest, ChecksEnableTheirControls) {
    Install({{1, 0.05}, {3, 0.05}});
    const std::vector<UINT> mode1 = {IDC_PVX_MDR_MODE1_CBX, IDC_PVX_MDR_FREQ1, IDC_PVX_MDR_DAMP1};
    const std::vector<UINT> mode2 = {IDC_PVX_MDR_MODE2_CBX, IDC_PVX_MDR_FREQ2, IDC_PVX_MDR_DAMP2};
    struct Row {
        const char* label;
        int mass, stiff;
        BOOL m1, m2, alpha, beta, calc;
    } rows[] = {
        {"both", 1, 1, TRUE, TRUE, TRUE, TRUE, TRUE},
        {"mass only", 1, 0, TRUE, FALSE, TRUE, FALSE, TRUE},
        {"stiffness only", 0, 1, TRUE, FALSE, FALSE, TRUE, TRUE},
        {"neither", 0, 0, FALSE, FALSE, FALSE, FALSE, FALSE},
    };
    RunDialog([&](CPVXModalDampDlg&, CUiDialogSession& s) {
        for (const Row& r : rows) {
            SCOPED_TRACE(r.label);
            s.SetCheck(IDC_PVX_MDR_MASSPROP, r.mass ? BST_CHECKED : BST_UNCHECKED);
            s.SetCheck(IDC_PVX_MDR_STIFFPROP, r.stiff ? BST_CHECKED : BST_UNCHECKED);
            for (UINT id : mode1) EXPECT_EQ(r.m1, Enabled(s, id)) << id;
            for (UINT id : mode2) EXPECT_EQ(r.m2, Enabled(s, id)) << id;
            EXPECT_EQ(r.alpha, Enabled(s, IDC_PVX_MDR_ALPHA));
            EXPECT_EQ(r.beta, Enabled(s, IDC_PVX_MDR_BETA));
            EXPECT_EQ(r.calc, Enabled(s, IDC_PVX_MDR_CALCAB));
        }
    });
}

TEST_F(DampingTest, CalculateAndPlot) {
    Install({{1, 0.05}, {3, 0.05}, {25, 0.2}});
    RunDialog([&](CPVXModalDampDlg& dlg, CUiDialogSession& s) {
        // At start: both lists on the first mode, the automatic range 0 … 20 by 0 … 0.0525.
        EXPECT_STREQ("1", Text(s, IDC_PVX_MDR_FREQ1).GetString());
        EXPECT_STREQ("0.05", Text(s, IDC_PVX_MDR_DAMP1).GetString());
        double x0, x1, y0, y1;
        dlg.GetChart()->GetAxisRange(0, x0, x1);
        dlg.GetChart()->GetAxisRange(1, y0, y1);
        EXPECT_EQ(0.0, x0);
        EXPECT_EQ(20.0, x1);
        EXPECT_EQ(0.0, y0);
        EXPECT_DOUBLE_EQ(0.0525, y1);
        EXPECT_EQ(3u, dlg.GetChart()->GetSeries(0).size());  // the 25 Hz mode is a point too
        EXPECT_EQ(0u, dlg.GetChart()->GetSeries(1).size());

        s.SetCheck(IDC_PVX_MDR_MASSPROP);
        s.SetCheck(IDC_PVX_MDR_STIFFPROP);
        s.SelectComboIndex(IDC_PVX_MDR_MODE2_CBX, 1);
        EXPECT_STREQ("3", Text(s, IDC_PVX_MDR_FREQ2).GetString());
        s.ClickButton(IDC_PVX_MDR_CALCAB);
        EXPECT_STREQ("0.471239", Text(s, IDC_PVX_MDR_ALPHA).GetString());   // 0.15π
        EXPECT_STREQ("0.00397887", Text(s, IDC_PVX_MDR_BETA).GetString());  // 0.1/(8π)
        s.ClickButton(IDC_PVX_MDR_CALCPLOT);
        EXPECT_EQ(51u, dlg.GetChart()->GetSeries(1).size());
        // Curve over 0.9 … 27.5 Hz in steps of 0.532: below 20 Hz its top is the sample at
        // 19.52 Hz, 0.0375/19.52 + 0.0125·19.52 = 0.245921, its bottom the one at 1.964 Hz,
        // 0.0375/1.964 + 0.0125·1.964 = 0.043644 (under the damping axis' 0.0475); y to =
        // 0.245921 + 5 % of the spread = 0.256035, shown as 0.2560.
        dlg.GetChart()->GetAxisRange(1, y0, y1);
        EXPECT_DOUBLE_EQ(0.256, y1);
        EXPECT_EQ(0u, CUiDriver::Get().MessageBoxes().size());

        // Identical modes: the message, α and β unchanged.
        s.SelectComboIndex(IDC_PVX_MDR_MODE2_CBX, 0);
        s.ClickButton(IDC_PVX_MDR_CALCAB);
        ASSERT_EQ(1u, CUiDriver::Get().MessageBoxes().size());
        EXPECT_STREQ("两个频率相同。", CUiDriver::Get().MessageBoxes()[0].text.GetString());
        EXPECT_STREQ("0.471239", Text(s, IDC_PVX_MDR_ALPHA).GetString());

        // A typed frequency that is no finite number counts as 0 and is refused.
        s.SelectComboIndex(IDC_PVX_MDR_MODE2_CBX, 1);
        s.SetControlText(IDC_PVX_MDR_FREQ1, "inf");
        s.ClickButton(IDC_PVX_MDR_CALCAB);
        ASSERT_EQ(2u, CUiDriver::Get().MessageBoxes().size());
        EXPECT_STREQ("振型1的频率无效。", CUiDriver::Get().MessageBoxes()[1].text.GetString());
    });
}

TEST_F(DampingTest, RangeDialogAndEmptyProject) {
    struct Row {
        const char* label;
        std::vector<const char*> bounds;  // typed x0, x1, y0, y1
        double expected[4];
        size_t boxes;
    } rows[] = {
        {"a fixed range", {"0", "70", "0", "0.1"}, {0, 70, 0, 0.1}, 0},
        // Refused: the dialog stays open, is cancelled and the automatic range stays.
        {"minimum above maximum", {"5", "1", "0", "0.1"}, {0, 20, 0, 0.0525}, 1},
    };
    Install({{1, 0.05}, {3, 0.05}});
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CUiDriver::Get().ClearMessageBoxes();
        RunDialog([&](CPVXModalDampDlg& dlg, CUiDialogSession& s) {
            CUiDriver::Get().QueueModal(IDD_PVX_GRPH_RANGE, {[&](CUiDialogSession& d) -> int {
                EXPECT_FALSE(Enabled(d, IDC_PVX_GRR_XMIN));  // automatic at first
                d.SetCheck(IDC_PVX_GRR_AUTO, BST_UNCHECKED);
                EXPECT_TRUE(Enabled(d, IDC_PVX_GRR_XMIN));
                for (int i = 0; i < 4; ++i) d.SetControlText(IDC_PVX_GRR_XMIN + static_cast<UINT>(i), r.bounds[static_cast<size_t>(i)]);
                return IDOK;
            }});
            s.ClickButton(IDC_PVX_MDR_GRPHRANGE);
            double v[4];
            dlg.GetChart()->GetAxisRange(0, v[0], v[1]);
            dlg.GetChart()->GetAxisRange(1, v[2], v[3]);
            for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(r.expected[i], v[i]) << i;
        });
        EXPECT_EQ(r.boxes, CUiDriver::Get().MessageBoxes().size());
    }

    // No eigen results: empty lists and chart, axes 0 … 20 Hz by 0 … 0.1, no table.
    Install({});
    RunDialog([&](CPVXModalDampDlg& dlg, CUiDialogSession& s) {
        double x0, x1, y0, y1;
        dlg.GetChart()->GetAxisRange(0, x0, x1);
        dlg.GetChart()->GetAxisRange(1, y0, y1);
        EXPECT_EQ(20.0, x1);
        EXPECT_EQ(0.1, y1);
        EXPECT_EQ(0u, dlg.GetChart()->GetSeries(0).size());
        EXPECT_EQ(nullptr, dlg.GetTable());
        EXPECT_TRUE(dlg.GetChartView()->GetSafeHwnd() != nullptr);
    });
}

// ---- the table -------------------------------------------------------------------------------------

TEST_F(DampingTest, ModalTableRows) {
    // Mode 2 cannot be read and has no row; values with up to 15 significant digits.
    Install({{1.0 / 3.0, 0.05, true, 12.5}, {2, 0.05, false}, {3, 0.05, true, 1.0 / 3.0}});
    RunDialog([&](CPVXModalDampDlg& dlg, CUiDialogSession&) {
        CPVXModalDampGrid* g = dlg.GetTable();
        ASSERT_NE(nullptr, g);
        const char* header[] = {"振型号", "频率(Hz)", "周期(秒)", "X向质量参与系数(百分比)", "Y向质量参与系数(百分比)",
                                "Z向质量参与系数(百分比)", "振型阻尼比"};
        const int widths[] = {40, 70, 60, 55, 55, 55, 135};
        for (int c = 1; c <= 7; ++c) {
            EXPECT_STREQ(header[c - 1], g->GetValueRowCol(0, c).GetString());
            EXPECT_EQ(widths[c - 1], g->GetColWidth(c));
        }
        struct Row {
            const char* cells[7];
        } rows[] = {
            // Frequency 1/3 Hz, period 3 s.
            {{"1", "0.333333333333333", "3", "12.5", "0", "0", "0.05"}},
            // Frequency 3 Hz, period 1/3 s.
            {{"3", "3", "0.333333333333333", "0.333333333333333", "0", "0", "0.05"}},
        };
        ASSERT_EQ(2, g->GetRowCount());
        for (int r = 1; r <= 2; ++r) {
            SCOPED_TRACE(r);
            for (int c = 1; c <= 7; ++c) EXPECT_STREQ(rows[r - 1].cells[c - 1], g->GetValueRowCol(r, c).GetString());
        }
        EXPECT_EQ(1, g->IsModeDisplayOnly());
        EXPECT_EQ(-1, g->AppendRow({"9"}));
        int vr = 0, vc = 0;
        g->GetRightValidCell(vr, vc);
        EXPECT_EQ(1, vr);
        EXPECT_EQ(1, vc);

        // A press on the border between columns 1 and 2 (x = 40) goes to column 1's middle; a
        // press inside a cell makes that cell current.
        struct Press {
            const char* label;
            CPoint point;
            int row, col;
        } presses[] = {
            {"border of column 1", CPoint(41, 25), 1, 1},
            {"inside column 2 of row 2", CPoint(75, 45), 2, 2},
        };
        for (const Press& p : presses) {
            SCOPED_TRACE(p.label);
            CUiDriver::Get().SendMouse(g, WM_LBUTTONDOWN, p.point, MK_LBUTTON);
            int row = 0, col = 0;
            g->GetCurrentCell(row, col);
            EXPECT_EQ(p.row, row);
            EXPECT_EQ(p.col, col);
        }
    });
}

}  // namespace
