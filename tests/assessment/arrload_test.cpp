// The assessment screen on the demo hospital's patient situations: what it loads, the checks
// of the patient's type, and the handlers of its fields and lists.
#include "arrtesting.h"
#include "assessment/codelist.h"
#include "assessment/frmassessmentlist.h"
#include "funds/frmnegotiatedcounterpart.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

using namespace mss;
using assessment::frmARR;

namespace {

class ArrLoadTest : public test::ArrScreenTest {};

int selectedCount(QListWidget* list) { return int(list->selectedItems().size()); }

// The current in-patient the demo fills completely: special with NC, c/o PCSO on a guarantee
// letter, c/o sponsor with CDF allocations, every documentation flag.
TEST_F(ArrLoadTest, TheFullyRecordedAdmissionShowsEveryPartOfItsAssessment) {
    const QString hosp = "00100005", id = "500003";
    statements();
    withARR(hosp, id, [&](frmARR& s) {
        EXPECT_EQ(s.windowTitle(), " Medical Social Service Division");
        EXPECT_EQ(s.lblInstruction->text(), "1. Click the button Previous Assessments to view the history of assessments "
                                             "entered.\n2. If the CDF Allocation button is blinking, click on it to view "
                                             "the fund.\n3. To remove services, double-click on the list box.");
        EXPECT_EQ(s.SSTab1->tabText(0), "*CATEGORY AND SERVICES");
        EXPECT_EQ(s.SSTab1->tabText(1), "DOCUMENTATION");
        ASSERT_EQ(s.optCategory.size(), 15);
        EXPECT_EQ(s.optCategory[14]->text(), "Pedia Nephro.");
        EXPECT_EQ(s.findChild<QRadioButton*>("optCategory_8")->text(), "Urology/Vascular/GS");
        ASSERT_EQ(s.chkdoc.size(), 18);
        EXPECT_EQ(s.findChild<QCheckBox*>("chkdoc_12")->text(), "Daily Accomplishment ");
        for (int i = 0; i < 18; ++i)
            EXPECT_EQ(s.chkdoc[i]->parentWidget() == s.fraReporting, i >= 11 && i <= 15) << i;
        EXPECT_EQ(s.optPCSO[1]->text(), "Guarantee Letter");

        // The lists, with the id at the far end of each item.
        EXPECT_EQ(s.cboClassification->itemText(0), "A -FULL PAY");
        EXPECT_EQ(s.cboReferring->itemText(0), "D -DOCTOR");
        EXPECT_EQ(s.cboactive->itemText(0), "OPEN");
        EXPECT_EQ(s.lstCategory->item(0)->text(), "FINANCIALLY CAPABLE" + QString(100, ' ') + "01");
        EXPECT_EQ(s.lstCategory->count(), 11) << "active categories only";
        EXPECT_EQ(s.lstParentCategory->count(), 15);

        // The record.
        EXPECT_EQ(s.txtHospNum->text(), hosp);
        EXPECT_EQ(s.txtIDNum->text(), id);
        EXPECT_EQ(s.txtLastname->text(), one("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'"));
        EXPECT_EQ(s.txtMSSNum->text(), "2026-000001");
        EXPECT_TRUE(s.txtMSSNum->isReadOnly()) << "a patient with an MSS number keeps it here";
        EXPECT_EQ(s.lblCode->text(), "C1");
        EXPECT_TRUE(s.cboClassification->currentText().startsWith("C1 -"));
        EXPECT_EQ(s.mskRange1->text(), mdy(QDate::fromString(one("SELECT CONVERT(varchar(10), MSSDiscountExpiry, 120) FROM "
                                                                 "PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'"),
                                                             "yyyy-MM-dd")));
        // The doctor reads as on the pay-patient path: "DR. FIRST LAST".
        EXPECT_EQ(s.txtDoctor->text(),
                  one("SELECT 'DR. ' + d.FirstName + ' ' + d.LastName FROM PATIENT_DATA..tbPatient2 p JOIN "
                      "BUILD_FILE..tbCoDoctor d ON d.DoctorID = p.AttendingDoctorID WHERE p.IdNum = '" + id + "'"));
        EXPECT_EQ(s.txtNC->text(), "2500");
        EXPECT_TRUE(s.chkSpecial->isChecked());
        EXPECT_TRUE(s.chkPCSO->isChecked());
        EXPECT_TRUE(s.chkSponsor->isChecked());
        EXPECT_TRUE(s.optPCSO[1]->isChecked());
        EXPECT_TRUE(s.txtRemarks->toPlainText().startsWith("Special arrangement approved"));
        const QString category = one("SELECT CaseCategory FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'");
        ASSERT_EQ(selectedCount(s.lstCategory), 1);
        EXPECT_TRUE(s.lstCategory->selectedItems()[0]->text().endsWith(category));
        const QString referring = one("SELECT ReferringPartyID FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'");
        EXPECT_TRUE(s.cboReferring->currentText().startsWith(referring + " -"));
        EXPECT_TRUE(s.txtMSSW->text().contains(','));
        for (QCheckBox* box : s.chkdoc) EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
        EXPECT_EQ(s.cboactive->currentText(), "ON-GOING");
        EXPECT_EQ(s.CaseStatusTag(), "02");
        EXPECT_TRUE(s.chkActive->isChecked());
        EXPECT_GE(s.lstServices->count(), 1);
        EXPECT_EQ(s.KeptServices(), one("SELECT ServiceID FROM MSS..tbMSSAssessment WHERE IdNum = '" + id + "'"));
        EXPECT_EQ(s.lblStatus->text(), "Status");
        // MSS_SCREENSHOTS=FOLDER saves the picture of the screen the documentation shows.
        if (const QString shots = qEnvironmentVariable("MSS_SCREENSHOTS"); !shots.isEmpty())
            s.grab().save(shots + "/assessment.png");

        const QStringList sent = statements();
        ASSERT_GE(sent.size(), 9);
        EXPECT_EQ(sent.mid(0, 8),
                  (QStringList{"SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] FROM "
                               "MSS..tbMSSClassificationScheme ORDER BY Code",
                               "SELECT isnull(Code,'') [Code], isnull(ReferringParty,'') [ReferringParty] FROM "
                               "MSS..tbMSSReferringParty ORDER BY Code",
                               "SELECT isnull(Code,'') [Code], isnull(CaseStatus,'') [CaseStatus] FROM MSS..tbMSSActive "
                               "ORDER BY Code",
                               "SELECT * FROM MSS..tbMSSParentCategory WHERE STATUS = 'A'",
                               "SELECT * FROM MSS..tbMSSCaseCategory WHERE STATUS = 'A'  order by categoryid asc",
                               "SELECT MSSNum, MSSDiscountValidity FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'",
                               "MSS..sp_MSS_GetAssessmentRecord '" + id + "'",
                               "Mss..sp_LoadPatCaseHistory '" + hosp + "', '" + id + "'"}));
        EXPECT_EQ(sent.last(), "Billing..sp_Pars_CheckCompany '" + id + "'");
        // Billing charges this admission to no sponsor: nothing blinks.
        EXPECT_FALSE(s.tmrCDF->isActive());

        // The patient's previous assessments, newest first.
        const long saves = one("SELECT COUNT(*) FROM MSS..tbMSSAssessmentHistory WHERE HospNum = '" + hosp + "'").toLong();
        prompts_.expectDialog([&](QDialog& d) {
            auto* list = qobject_cast<assessment::frmAssessmentList*>(&d);
            EXPECT_NE(list, nullptr);
            if (!list) return 0;
            EXPECT_EQ(d.windowTitle(), "Medical Social Service");
            EXPECT_EQ(list->fraList->title(), "List of Previous Assessment");
            QTableWidget* g = list->GridAssessment;
            EXPECT_EQ(g->rowCount(), saves);
            EXPECT_EQ(g->columnCount(), 8);
            EXPECT_EQ(g->horizontalHeaderItem(1)->text(), " Adm. Num. ");
            EXPECT_EQ(g->horizontalHeaderItem(7)->text(), " ExpiryDate  ");
            EXPECT_EQ(g->columnWidth(6), text::TwipsToPixels(3000));
            EXPECT_EQ(g->item(0, 1)->text(), id);
            QTest::mouseClick(list->cmdClose, Qt::LeftButton);
            return d.result();
        });
        statements();
        QTest::mouseClick(s.cmdPrevious, Qt::LeftButton);
        EXPECT_EQ(statements(), QStringList{"MSS..sp_MSS_GetPreviousAssessment '" + hosp + "'"});
    });
}

TEST_F(ArrLoadTest, ASponsoredAdmissionBlinksAndHandsThePatientToTheFundView) {
    const QString hosp = "00100181", id = "500125";   // charged to a sponsor account, c/o sponsor
    withARR(hosp, id, [&](frmARR& s) {
        EXPECT_TRUE(s.chkSponsor->isChecked());
        EXPECT_TRUE(s.tmrCDF->isActive());
        EXPECT_EQ(s.tmrCDF->interval(), 100);
        const QList<QColor> colours = frmARR::blinkColours();
        QTRY_COMPARE(s.cmdViewCDF->palette().color(QPalette::Button), colours[2]);
        QTRY_COMPARE(s.cmdViewCDF->palette().color(QPalette::Button), colours[4]);
        QSignalSpy spy(&s, &frmARR::viewCDFAllocation);
        // The program opens the fund allocation view on the patient the screen shows.
        prompts_.expectDialog([&](QDialog& d) {
            auto* view = qobject_cast<funds::frmNegotiatedCounterpart*>(&d);
            EXPECT_NE(view, nullptr);
            if (!view) return 0;
            EXPECT_EQ(view->txtName->text(), s.txtFirstname->text() + "," + s.txtLastname->text());
            EXPECT_EQ(view->txtMSSNumber->text(), s.txtMSSNum->text());
            EXPECT_EQ(view->flgSponsorList->rowCount(),
                      one("SELECT COUNT(*) FROM MSS..tbMSSCDFAllocation WHERE HospNum = '" + hosp +
                          "' AND Status = 'A'").toInt());
            EXPECT_GT(view->flgSponsorList->rowCount(), 0);
            return 0;
        });
        QTest::mouseClick(s.cmdViewCDF, Qt::LeftButton);
        ASSERT_EQ(spy.size(), 1);
        EXPECT_EQ(spy[0], (QVariantList{hosp, id, s.txtFirstname->text(), s.txtLastname->text(), s.txtMSSNum->text()}));
        EXPECT_FALSE(s.txtMSSNum->text().isEmpty());
    });
}

TEST_F(ArrLoadTest, APayPatientIsTurnedIntoAServicePatientOnlyOnRequestAndAsAWhole) {
    // A current in-patient without MSS number or validity, class P.
    const QString hosp = "00100013", id = "500009";
    const QString question = "PAY PATIENT: Does not have an intake sheet. \nWould you like to update patient type to SERVICE? ";
    auto cls = [&] { return one("SELECT PatientClass FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'"); };
    auto history = [&] { return one("SELECT COUNT(*) FROM MSS..tbMSSPatClassHistory WHERE IdNum = '" + id + "'"); };
    const QString historyBefore = history();

    prompts_.expect(question, ui::Answer::No);
    prompts_.expect("Change to Patient type to service before classifiying");
    withARR(hosp, id, [&](frmARR& s) {
        EXPECT_TRUE(s.isVisible()) << "the screen stays open";
        EXPECT_EQ(s.lblStatus->text(), "Status");
        EXPECT_TRUE(s.txtHospNum->text().isEmpty());
        EXPECT_FALSE(s.tmrCDF->isActive()) << "the load ends before the sponsor check";
    });
    EXPECT_EQ(prompts_.shown()[0].title, "Notification");
    EXPECT_EQ(prompts_.shown()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(prompts_.shown()[1].title, "Message");
    EXPECT_EQ(cls(), "P");

    // The class history refuses: the admission's own class is left as it was.
    engine().failMatching(QRegularExpression("sp_MSS_UpdatePatientClass"), 1205, "deadlock victim");
    prompts_.clear();
    prompts_.expect(question, ui::Answer::Yes);
    prompts_.expect("Data Not Successfully Saved.deadlock victim*");
    prompts_.expect("Change to Patient type to service before classifiying");
    statements();
    withARR(hosp, id, [&](frmARR&) {});
    engine().clearFaults();
    EXPECT_EQ(prompts_.shown()[1].icon, ui::Icon::Critical);
    EXPECT_TRUE(prompts_.shown()[1].text.contains("1205"));
    EXPECT_EQ(cls(), "P");
    EXPECT_EQ(history(), historyBefore);
    EXPECT_EQ(session().Connection()->TransactionLevel(), 0);

    prompts_.clear();
    prompts_.expect(question, ui::Answer::Yes);
    statements();
    withARR(hosp, id, [&](frmARR& s) {
        const QStringList sent = statements();
        EXPECT_TRUE(sent.contains("RADIOLOGY..spRadio_CheckPatientClass '" + id + "'"));
        EXPECT_TRUE(sent.contains("SELECT IdNum, PatientClass FROM Patient_Data..tbPatient2 WHERE IdNum = '" + id + "'"));
        EXPECT_TRUE(sent.contains("MSS..sp_MSS_UpdatePatientClass '" + id + "','S','0001'"));
        EXPECT_TRUE(sent.contains("MSS..sp_MSS_PayPatientInfo '" + id + "'"));
        EXPECT_EQ(s.lblStatus->text(), "Pay to Service Patient. Enter New MSS Number and MSS Classfication.");
        EXPECT_EQ(s.txtHospNum->text(), hosp);
        EXPECT_EQ(s.txtIDNum->text(), id);
        EXPECT_EQ(s.txtLastname->text(), one("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'"));
        EXPECT_TRUE(s.txtDoctor->text().startsWith("DR. ")) << s.txtDoctor->text().toStdString();
        EXPECT_FALSE(s.txtMSSNum->isReadOnly());
        EXPECT_EQ(s.txtMSSNum->palette().color(QPalette::Base), QColor(222, 227, 248));
        EXPECT_TRUE(s.cboClassification->currentText().isEmpty());
    });
    EXPECT_EQ(cls(), "S");
    EXPECT_EQ(history().toLong(), historyBefore.toLong() + 1);
}

TEST_F(ArrLoadTest, AnERVisitChangesBothItsRegistrationAndItsERRecord) {
    const QString hosp = "00100001", id = "300001B";
    prompts_.expect("PAY PATIENT:*", ui::Answer::Yes);
    statements();
    withARR(hosp, id, [&](frmARR& s) {
        EXPECT_EQ(s.txtRoomID->text(), "OPD");
        const QStringList sent = statements();
        EXPECT_TRUE(sent.contains("SELECT IdNum, PatientType FROM Patient_Data..tbOutPatient WHERE IdNum = '" + id + "' "));
        EXPECT_TRUE(sent.contains("SELECT IdNum, PatientClassification FROM Patient_Data..tbERMaster WHERE IdNum = '" + id +
                                  "' "));
    });
    EXPECT_EQ(one("SELECT PatientType FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '" + id + "'"), "S");
    EXPECT_EQ(one("SELECT PatientClassification FROM PATIENT_DATA..tbERMaster WHERE IdNum = '" + id + "'"), "S");
}

TEST_F(ArrLoadTest, ServicePatientsWithoutNumberOrWithAnExpiredClassification) {
    // A service patient without an intake sheet (the ward made him one).
    const QString hosp = "00100013", id = "500009";
    reader_->Execute("UPDATE PATIENT_DATA..tbPatient2 SET PatientClass = 'S' WHERE IdNum = '" + id + "'");
    prompts_.expect("Patient does not have an intake sheet.");
    withARR(hosp, id, [&](frmARR& s) {
        EXPECT_EQ(prompts_.shown().last().title, "Notification");
        EXPECT_EQ(s.lblStatus->text(), "No MSS Number and Classification.");
        EXPECT_EQ(s.txtHospNum->text(), hosp);
        EXPECT_FALSE(s.txtMSSNum->isReadOnly());
    });

    // An out-patient (an ER visit) whose classification expired in January.
    withARR("00100010", "300011B", [&](frmARR& s) {
        EXPECT_EQ(s.lblStatus->text(), "Classification has expired 1/6/2026");
        EXPECT_EQ(s.lblCode->text(), "");
        EXPECT_EQ(s.cboClassification->currentIndex(), -1);
        EXPECT_EQ(s.mskRange1->text(), "01/06/2026");
        EXPECT_FALSE(s.txtMSSNum->text().isEmpty());
        // Without a classification nothing is saved.
        s.mskRange1->setText(mdy(QDate::currentDate().addYears(1)));
        const QString before = snapshot("00100010", "300011B");
        prompts_.expect("***VERIFICATION***\n\n*", ui::Answer::Yes);
        prompts_.expect("Please enter classification before saving.");
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        EXPECT_EQ(snapshot("00100010", "300011B"), before);
        EXPECT_FALSE(s.Saved());
        // No sponsor for this visit.
        prompts_.expect("Patient has no CDF Allocation");
        QTest::mouseClick(s.cmdViewCDF, Qt::LeftButton);
        EXPECT_EQ(prompts_.shown().last().title, "message");
    });

    // No patient chosen: the screen opens empty, without a question.
    statements();
    withARR("", "", [&](frmARR& s) {
        EXPECT_EQ(s.txtHospNum->text(), "");
        EXPECT_EQ(s.cboClassification->count(), 6);
        EXPECT_TRUE(statements().contains("SELECT MSSNum, MSSDiscountValidity FROM PATIENT_DATA..tbMaster WHERE HospNum = ''"));
    });
}

TEST_F(ArrLoadTest, FieldsListsAndPickersBehaveAsTheWorkerUsesThem) {
    const QString hosp = "00100015", id = "500010";
    withARR(hosp, id, [&](frmARR& s) {
        // The counterpart takes numbers only: a letter is dropped, with a message.
        ASSERT_EQ(s.txtNC->text(), "0");
        prompts_.clear();
        prompts_.expect("Can't accept non-numeric values.");
        s.txtNC->clear();
        EXPECT_EQ(prompts_.shown().size(), 1) << "emptying the box shows the message once";
        s.txtNC->setFocus();
        prompts_.expect("Can't accept non-numeric values.");
        QTest::keyClicks(s.txtNC, "12a");
        EXPECT_EQ(s.txtNC->text(), "12");
        EXPECT_EQ(prompts_.shown().size(), 2);
        EXPECT_EQ(prompts_.shown().last().title, "Message");
        // A typed word goes letter by letter, one message each, until the box is empty.
        prompts_.expect("Can't accept non-numeric values.");
        s.txtNC->clear();
        prompts_.clear();
        for (int i = 0; i < 3; ++i) prompts_.expect("Can't accept non-numeric values.");
        s.txtNC->setText("ab");
        EXPECT_EQ(s.txtNC->text(), "");
        EXPECT_EQ(prompts_.shown().size(), 3);

        // One category at a time in the list; several parent categories.
        clickItem(s.lstCategory, 2);
        clickItem(s.lstCategory, 4);
        ASSERT_EQ(selectedCount(s.lstCategory), 1);
        EXPECT_EQ(s.lstCategory->selectedItems()[0], s.lstCategory->item(4));
        const int parents = selectedCount(s.lstParentCategory);
        clickItem(s.lstParentCategory, s.lstParentCategory->item(3)->isSelected() ? 4 : 3);
        EXPECT_EQ(selectedCount(s.lstParentCategory), parents + 1);

        // The validity box: Enter moves on; a wrong date on leaving keeps the focus.
        s.mskRange1->setFocus();
        QTest::keyClick(s.mskRange1, Qt::Key_Return);
        EXPECT_FALSE(s.mskRange1->hasFocus());
        s.mskRange1->setFocus();
        s.mskRange1->setText("13/45/2026");
        prompts_.expect("Invalid date 13/45/2026.");
        QTest::keyClick(s.mskRange1, Qt::Key_Tab);
        QTRY_VERIFY(s.mskRange1->hasFocus());
        EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
        s.mskRange1->setText(mdy(QDate(QDate::currentDate().year() + 3, 1, 2)));
        prompts_.expect("The date you have entered is 2 years ahead of the current date or previous date.\nIs that valid?",
                        ui::Answer::Yes);
        QTest::keyClick(s.mskRange1, Qt::Key_Tab);
        EXPECT_FALSE(s.mskRange1->hasFocus());

        // The case status code follows the status chosen, once the worker leaves the box.
        s.cboactive->setFocus();
        s.cboactive->setCurrentText("CLOSED");
        s.txtRemarks->setFocus();
        EXPECT_EQ(s.CaseStatusTag(), "03");

        // A double-click takes a service off the list and out of the next save.
        ASSERT_GE(s.lstServices->count(), 1);
        const QString code = assessment::ListItemCode(s.lstServices->item(0)->text());
        const QRect r = s.lstServices->visualItemRect(s.lstServices->item(0));
        QTest::mouseClick(s.lstServices->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(s.lstServices->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_FALSE(s.KeptServices().contains(code + "|")) << s.KeptServices().toStdString();
        EXPECT_EQ(s.KeptServices(), assessment::CodeListOf(*s.lstServices));

        // The activity picker's choice is kept and shown.
        prompts_.expectDialog([](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Servies");
            d.show();
            auto* tree = d.findChild<QTreeWidget*>("tvServices");
            auto* chosen = d.findChild<QListWidget*>("lstactivity");
            tree->setCurrentItem(tree->topLevelItem(0));
            emit tree->itemDoubleClicked(tree->topLevelItem(0), 0);
            EXPECT_GE(chosen->count(), 1);
            QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            return d.result();
        });
        s.SSTab1->setCurrentIndex(1);
        QTest::mouseClick(s.cmdAddActivity, Qt::LeftButton);
        EXPECT_FALSE(s.KeptActivities().isEmpty());
        EXPECT_EQ(s.KeptActivities(), assessment::CodeListOf(*s.lstactivity));

        s.SSTab1->setCurrentIndex(0);
        QTest::mouseClick(s.cmdCloseServices, Qt::LeftButton);
        EXPECT_TRUE(s.fmeService->isHidden());
    });
}

}  // namespace
