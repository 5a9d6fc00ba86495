// Saving the assessment from the screen: the statements sent, what the database holds after a
// save and after every injected failure, the refused inputs, and the printed forms.
#include "arrtesting.h"
#include "reporttesting.h"
#include "shell/reports/dateprompts.h"

#include <QTableWidget>

using namespace mss;
using assessment::frmARR;

namespace {

class ArrSaveTest : public test::ArrScreenTest {
protected:
    QString name(const QString& hosp, const QString& columns) {
        return one("SELECT " + columns + " FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");
    }
    QString storedDate(const QString& sql) { return one(sql).left(10); }
    static QString shortDate(const QString& iso) { return text::ShortDate(QDate::fromString(iso, "yyyy-MM-dd")); }
    QTemporaryDir dir_;
};

TEST_F(ArrSaveTest, AReassessmentIsSentAsTheHospitalExpectsAndReadBackEverywhere) {
    const QString hosp = "00100005", id = "500003";   // special arrangement: its QF lines stay
    const QString a = "SELECT %1 FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'";
    const QString catName = one(a.arg("CategoryName")), catId = one(a.arg("CaseCategory")), worker = one(a.arg("MSSW"));
    const QString parent = one(a.arg("ParentCategoryID")), referring = one(a.arg("ReferringPartyID"));
    const QString services = one(a.arg("ServiceID"));
    const QString activities = one("SELECT ActivityID FROM MSS..tbMSSCaseHistory WHERE IdNum = '" + id + "'");
    const QString intake = shortDate(storedDate("SELECT CONVERT(varchar(10), MSSDiscountValidity, 120) FROM "
                                                "PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'"));
    const QDate validity = QDate::currentDate().addYears(1);
    const long transactions = one("SELECT COUNT(*) FROM MSS..tbMSSTransaction WHERE HospNum = '" + hosp + "'").toLong();
    const QString qf = snapshot(hosp, id).section("\n--\n", 5);

    withARR(hosp, id, [&](frmARR& s) {
        pickItem(s.cboClassification, "D -");
        s.mskRange1->setText(mdy(validity));
        s.txtRemarks->setPlainText("Mother's side pays the counterpart");
        statements();
        const QString last = s.txtLastname->text(), first = s.txtFirstname->text();
        prompts_.expect("***VERIFICATION***\n\n  PATIENT NAME: " + last + ", " + first + " " + s.txtMiddleName->text() +
                            "\n  HOSP. NO. : " + hosp + "\n  MSS NO.: 2026-000001   CLASSIFICATION: D -FULL CHARITY\n"
                            "  EXPIRY DATE: " + mdy(validity) + "\nIs that a valid information?",
                        ui::Answer::Yes);
        prompts_.expect("Clasification for " + last + ", " + first + " saved.\n    HospNum : " + hosp +
                        "\n    Expriy Date : " + mdy(validity) + " 11:59 PM");
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        EXPECT_TRUE(s.Saved());
        EXPECT_TRUE(s.isVisible());
        EXPECT_EQ(prompts_.shown().last().title, "Message");
        const QString v = text::ShortDate(validity);
        // Loading never selects the first parent category.
        const QString parentSent = parent == "01" ? QString() : parent;
        EXPECT_EQ(statements(),
                  (QStringList{"MSS..sp_MSS_GetExistsMSSNumber '2026-000001','" + hosp + "'",
                               "MSS..sp_MSS_SaveAssessment_NEW'" + hosp + "','" + id + "','2026-000001','D','" + catName +
                                   "','" + catId + "','Mother''s side pays the counterpart','" + intake + "','" + v + "','" +
                                   worker + "','0001','1','1','1','2500','G','" + parentSent + "','" + catId + "','" +
                                   referring + "','Y','02','" + services + "'",
                               "MSS..sp_MSS_SaveTransaction '" + hosp + "','" + id + "','2026-000001','D','" + intake + "','" +
                                   v + "','" + catName + "','" + worker + "','0001','Mother''s side pays the counterpart'",
                               "Mss..spMSS_SaveDocumentation '" + hosp + "', '" + id + "', 'Y', '02','" +
                                   QString("1|").repeated(18) + "', '" + intake + "','0001','" + worker + "','" + activities +
                                   "'"}));
    });
    EXPECT_EQ(one(a.arg("Code + '/' + Remarks")), "D/Mother's side pays the counterpart");
    EXPECT_EQ(name(hosp, "MSSClassification + '/' + CONVERT(varchar(10), MSSDiscountExpiry, 101)"), "D/" + mdy(validity));
    EXPECT_EQ(one("SELECT COUNT(*) FROM MSS..tbMSSTransaction WHERE HospNum = '" + hosp + "'").toLong(), transactions + 1);
    EXPECT_EQ(snapshot(hosp, id).section("\n--\n", 5), qf) << "a special arrangement keeps its discount lines";
    // The re-print screen's search and the list of previous assessments find it.
    EXPECT_EQ(one("MSS..sp_MSS_ReprintARR '2026-000001'"), hosp);
    EXPECT_EQ(one("MSS..sp_MSS_GetPreviousAssessment '" + hosp + "'"), id);
    // So does the List of Assessments of its intake day, chosen from the Reports menu.
    const QDate day = QDate::fromString(one(a.arg("CONVERT(varchar(10), IntakeDate, 120)")), "yyyy-MM-dd");
    ASSERT_TRUE(day.isValid());
    prompts_.expectDialog([day](QDialog& d) {
        auto& p = static_cast<reports::ReportDatePrompt&>(d);
        p.dtStart->setDate(day);
        p.dtEnd->setDate(day);
        p.cmdEnter->click();
        return int(QDialog::Accepted);
    });
    choose("mnuAssessment");
    EXPECT_TRUE(test::shownReport("List of Assessments", dir_).contains(name(hosp, "LastName")));
}

TEST_F(ArrSaveTest, AFailureAtAnyStatementOfTheSaveLeavesNothingWritten) {
    const QString hosp = "00100015", id = "500010";   // in-patient with stored QF lines
    const char* const steps[] = {"sp_MSS_SaveAssessment_NEW", "sp_MSS_SaveTransaction", "DELETE +FROM BILLING",
                                 "spMSS_SaveDocumentation"};
    withARR(hosp, id, [&](frmARR& s) {
        pickItem(s.cboClassification, "C3 -");
        s.mskRange1->setText(mdy(QDate::currentDate().addMonths(6)));
        s.chkdoc[4]->setChecked(!s.chkdoc[4]->isChecked());
        const QString before = snapshot(hosp, id);
        ASSERT_NE(before.section("\n--\n", 5, 5), "0");
        for (const char* step : steps) {
            for (const bool warning : {false, true}) {
                const QRegularExpression pattern(QString::fromLatin1(step));
                if (warning)
                    engine().warnMatching(pattern, 50099, "recorded warning");
                else
                    engine().failMatching(pattern, 1205, "deadlock victim");
                prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
                prompts_.expect(warning ? "Data Not Successfully Saved.recorded warning*"
                                        : "Data Not Successfully Saved.deadlock victim*");
                QTest::mouseClick(s.cmdSave, Qt::LeftButton);
                engine().clearFaults();
                EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
                EXPECT_FALSE(s.Saved()) << step;
                EXPECT_EQ(session().Connection()->TransactionLevel(), 0);
                EXPECT_EQ(snapshot(hosp, id), before) << step << (warning ? " (warning)" : "");
            }
        }
        // Without a fault it is all written, and the admission's QF lines are gone.
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("Clasification for *");
        statements();
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        EXPECT_TRUE(s.Saved());
        EXPECT_TRUE(statements().contains("DELETE   FROM BILLING..tbBillDailyBill WHERE revenueid = 'QF' and refNum = "
                                          "'2026-000007' and IdNum = '" + id + "'"));
    });
    EXPECT_EQ(one("SELECT COUNT(*) FROM BILLING..tbBillDailyBill WHERE RevenueID = 'QF' AND IdNum = '" + id + "'"), "0");
    EXPECT_EQ(one("SELECT Code FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'"), "C3");
    EXPECT_EQ(name(hosp, "MSSClassification"), "C3");

    // An out-patient's QF lines are on the out-patient bill.
    withARR("00100007", "300007B", [&](frmARR& s) {
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("Clasification for *");
        s.mskRange1->setText(mdy(QDate::currentDate().addMonths(6)));
        statements();
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        EXPECT_TRUE(statements().contains("DELETE  FROM BILLING..tbBillOPDailyOut WHERE revenueid = 'QF' and refNum = "
                                          "'2026-000002' and IdNum = '300007B'"));
    });
    EXPECT_EQ(one("SELECT COUNT(*) FROM BILLING..tbBillOPDailyOut WHERE RevenueID = 'QF' AND IdNum = '300007B'"), "0");
}

TEST_F(ArrSaveTest, RefusedInputWritesNothingAndKeepsWhatWasTyped) {
    const QString hosp = "00100015", id = "500010";
    const QString other = name("00100005", "LastName + ', ' + FirstName + ' ' + MiddleName");
    withARR(hosp, id, [&](frmARR& s) {
        pickItem(s.cboClassification, "B -");
        const QString before = snapshot(hosp, id);
        // The box's own check on leaving it is another test's; here the focus stays put.
        auto save = [&] { s.cmdSave->click(); };

        s.mskRange1->setText("13/45/2026");
        prompts_.expect("You have entered an invalid date 13/45/2026.");
        save();
        EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);

        // Three years ahead is asked about; two years ahead is not.
        const int year = QDate::currentDate().year();
        s.mskRange1->setText(mdy(QDate(year + 3, 1, 15)));
        prompts_.expect(assessment::arr::TwoYearsQuestion(), ui::Answer::No);
        save();
        prompts_.expect(assessment::arr::TwoYearsQuestion(), ui::Answer::Yes);
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::No);
        save();
        s.mskRange1->setText(mdy(QDate(year + 2, 12, 31)));
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::No);
        save();
        EXPECT_EQ(snapshot(hosp, id), before);

        // The database refuses a validity before the intake; the screen keeps what was typed.
        s.mskIntake->setText(mdy(QDate::currentDate()));
        s.mskRange1->setText(mdy(QDate::currentDate().addDays(-1)));
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("Data Not Successfully Saved.The validity date *");
        save();
        EXPECT_TRUE(prompts_.shown().last().text.contains("is before the date of intake"));
        EXPECT_TRUE(prompts_.shown().last().text.contains("50023"));
        EXPECT_TRUE(s.isVisible());
        EXPECT_EQ(s.mskRange1->text(), mdy(QDate::currentDate().addDays(-1)));

        // An intake box without a date fails inside the save.
        s.mskIntake->setText("02/30/2026");
        s.mskRange1->setText(mdy(QDate::currentDate().addDays(30)));
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("Data Not Successfully Saved.Type mismatch*");
        save();

        // Another patient's MSS number is refused with the owner's name.
        s.mskIntake->setText(mdy(QDate::currentDate()));
        s.txtMSSNum->setText("2026-000001");
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("The CaseNumber already exists. \nIt is owned by " + other);
        save();
        EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::None);
        EXPECT_EQ(s.txtMSSNum->text(), "");
        EXPECT_FALSE(s.txtMSSNum->isReadOnly());
        EXPECT_EQ(snapshot(hosp, id), before);

        // No list category but an option, and an empty counterpart: the option's name and 0.
        s.txtMSSNum->setText("2026-000007");
        s.lstCategory->clearSelection();
        s.optCategory[9]->setChecked(true);
        prompts_.expect("Can't accept non-numeric values.");
        s.txtNC->clear();
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("Clasification for *");
        statements();
        save();
        const QString sent = statements().value(1);
        EXPECT_TRUE(sent.contains("','Renal Transplant Recipient','',")) << sent.toStdString();
        EXPECT_TRUE(sent.contains("','','','0','','")) << sent.toStdString();
    });
    EXPECT_EQ(one("SELECT CategoryName + '/' + CategoryID FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'"),
              "Renal Transplant Recipient/");
    EXPECT_EQ(one("SELECT IsSpecial FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'"), "0");
}

TEST_F(ArrSaveTest, TheFormsPrintedFromTheScreenShowWhatWasSaved) {
    const QString hosp = "00100015", id = "500010";
    const QString last = name(hosp, "LastName");
    withARR(hosp, id, [&](frmARR& s) {
        // The worker picked here signs the form with his licence.
        prompts_.expectDialog([](QDialog& d) {
            d.show();
            auto* box = d.findChild<QLineEdit*>("txtSearch");
            QTest::keyClicks(box, "TAB");
            QTest::keyClick(box, Qt::Key_Return);
            QTest::mouseClick(d.findChild<QPushButton*>("cmdSelect"), Qt::LeftButton);
            return d.result();
        });
        QTest::mouseClick(s.cmdSearch, Qt::LeftButton);
        EXPECT_EQ(s.txtMSSW->text(), "ARNOLD S. TABUENA");
        EXPECT_EQ(s.AssessingWorker(), "0004");
        EXPECT_EQ(s.LicenseNumber(), "SW-0045678");

        pickItem(s.cboClassification, "C2 -");
        s.mskRange1->setText(mdy(QDate::currentDate().addMonths(3)));
        s.txtRemarks->setPlainText("Printed right after the save");
        // Answered No with no save before: nothing prints.
        prompts_.expect("*VERIFICATION*\n\n*", ui::Answer::No);
        QTest::mouseClick(s.cmdPrint, Qt::LeftButton);
        EXPECT_TRUE(test::openViewers().isEmpty());
        EXPECT_TRUE(s.isVisible());

        prompts_.expect("*VERIFICATION*\n\n*", ui::Answer::Yes);
        prompts_.expect("Clasification for *");
        QTest::mouseClick(s.cmdPrint, Qt::LeftButton);
        EXPECT_FALSE(s.isVisible()) << "the screen closes before the form shows";
    });
    const QString form = test::shownReport("Assessment and Referal report", dir_);
    EXPECT_TRUE(form.contains("ASSESSMENT AND REFERRAL FORM"));
    EXPECT_TRUE(form.contains(last));
    EXPECT_TRUE(form.contains("Printed right after the save"));
    EXPECT_TRUE(form.contains("PARTIAL CHARITY - 75%"));
    EXPECT_TRUE(form.contains("Licence No. SW-0045678")) << form.toStdString();
    EXPECT_EQ(one("SELECT MSSW FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'"), "0004");

    // A save earlier in the screen still prints when Save/Print is answered No.
    withARR(hosp, id, [&](frmARR& s) {
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("Clasification for *");
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        prompts_.expect("*VERIFICATION*\n\n*", ui::Answer::No);
        QTest::mouseClick(s.cmdPrint, Qt::LeftButton);
        EXPECT_FALSE(s.isVisible());
    });
    EXPECT_TRUE(test::shownReport("Assessment and Referal report", dir_).contains("2026-000007"));

    withARR(hosp, id, [&](frmARR& s) { QTest::mouseClick(s.cmdRePrint, Qt::LeftButton); });
    const QString again = test::shownReport("Reprint Assessment and Referal report", dir_);
    EXPECT_TRUE(again.contains("Printed right after the save"));
    EXPECT_FALSE(again.contains("SW-0045678")) << "no worker was picked in this screen";

    withARR(hosp, id, [&](frmARR& s) { QTest::mouseClick(s.cmdTrans, Qt::LeftButton); });
    EXPECT_TRUE(test::shownReport("Assessment Transaction Report", dir_).contains("2026-000007"));
}

}  // namespace
