// The fund allocation view on the demo hospital: what it shows of the patient, which
// allocations it lists, and that it can be closed.
#include "funds/frmnegotiatedcounterpart.h"
#include "failure.h"
#include "hospitaldb/embedded.h"
#include "promptdouble.h"
#include "shell/db/text.h"
#include "testhospital.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace mss;
using funds::frmNegotiatedCounterpart;

namespace {

class FundAllocationView : public ::testing::Test {
protected:
    // Opens the view as the assessment screen does and hands it to `look` while it is up.
    int open(const funds::CounterpartPatient& p, const std::function<void(frmNegotiatedCounterpart&)>& look) {
        hospital_.takeStatements();
        prompts_.expectDialog([&](QDialog& d) {
            auto* view = qobject_cast<frmNegotiatedCounterpart*>(&d);
            EXPECT_NE(view, nullptr);
            if (!view) return 0;
            d.show();
            look(*view);
            return d.result();
        });
        funds::ViewCDFAllocation(p);
        return 0;
    }
    QStringList row(const QTableWidget& grid, int r) {
        QStringList cells;
        for (int c = 1; c < grid.columnCount(); ++c) cells << (grid.item(r, c) ? grid.item(r, c)->text() : "");
        return cells;
    }

    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
};

TEST_F(FundAllocationView, ShowsThePatientAndTheAllocationsInForce) {
    // The showcase patient has active allocations and a cancelled one.
    const QString hosp = hospital_.scalar(
        "SELECT TOP 1 HospNum FROM MSS..tbMSSCDFAllocation WHERE Status = 'C' ORDER BY HospNum");
    const long active = hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSCDFAllocation WHERE HospNum = '" + hosp +
                                        "' AND Status = 'A'");
    ASSERT_GT(active, 0);
    const funds::CounterpartPatient p{hosp, "ANY-ADMISSION", "JUAN", "DELA CRUZ", "2026-000123"};

    open(p, [&](frmNegotiatedCounterpart& v) {
        EXPECT_EQ(v.windowTitle(), "Fund Allocation Entry");
        EXPECT_EQ(v.txtName->text(), "JUAN,DELA CRUZ");
        EXPECT_EQ(v.txtHospNum->text(), hosp);
        EXPECT_EQ(v.txtIDNum->text(), "ANY-ADMISSION");
        EXPECT_EQ(v.txtMSSNumber->text(), "2026-000123");
        EXPECT_TRUE(v.txtName->isReadOnly());

        const QTableWidget& grid = *v.flgSponsorList;
        EXPECT_EQ(grid.rowCount(), active);
        EXPECT_TRUE(grid.isColumnHidden(0));
        EXPECT_EQ(grid.columnWidth(1), text::TwipsToPixels(2800));
        EXPECT_EQ(grid.columnWidth(11), text::TwipsToPixels(1500));
        EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "Sponsor");
        for (int r = 0; r < grid.rowCount(); ++r) EXPECT_EQ(row(grid, r).at(7), "ACTIVE") << r;

        QTest::mouseClick(v.cmdClose, Qt::LeftButton);
        EXPECT_FALSE(v.isVisible()) << "Close closes the view";
    });
    // The hospital number alone selects the rows: the admission shown is not used.
    EXPECT_EQ(hospital_.takeStatements(),
              QStringList{"MSS..sp_Pars_Load_Existing_CDF_Allocation '" + hosp + "', 1"});
}

TEST_F(FundAllocationView, APatientWithoutAllocationsGetsAnEmptyGridAndNoMessage) {
    open({"NO'SUCH", "", "", "", ""}, [](frmNegotiatedCounterpart& v) {
        EXPECT_EQ(v.flgSponsorList->rowCount(), 0);
        EXPECT_EQ(v.txtName->text(), ",");
    });
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_Pars_Load_Existing_CDF_Allocation 'NO''SUCH', 1"});
    EXPECT_TRUE(prompts_.shown().isEmpty());
}

TEST_F(FundAllocationView, AFailingListEndsTheCommandBeforeTheViewShows) {
    dynamic_cast<hospitaldb::EmbeddedBackend&>(*hospital_.connection().backend())
        .failStatement(1, 50999, "Injected");
    EXPECT_FAILURE(funds::ViewCDFAllocation({"1", "", "", "", ""}), 50999);
}

}  // namespace
