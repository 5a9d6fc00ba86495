#include "hospitaldb/embedded.h"
#include "patient/clspatientsearch.h"
#include "patient/frmlistpatient.h"
#include "promptdouble.h"
#include "shell/db/text.h"
#include "shell/dialogs/settings.h"
#include "shell/session/patientselection.h"
#include "testhospital.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace mss;

namespace {

class PatientSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousSettings_ = ui::settingsFile();
        ui::setSettingsFile(settings_.filePath("settings.ini"));
        Selection() = PatientSelection{};
        screen_ = std::make_unique<patient::frmListPatient>();
        screen_->resize(1100, 600);
        screen_->show();
        hospital_.takeStatements();
    }
    void TearDown() override { ui::setSettingsFile(previousSettings_); }

    template <typename T> T* child(const char* name) {
        T* w = screen_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTreeWidget* list() { return child<QTreeWidget>("lvwSearchPatient"); }
    void typeInto(const char* box, const QString& text) {
        QLineEdit* e = child<QLineEdit>(box);
        e->setFocus();
        QTest::keyClicks(e, text);
    }
    void pressEnter(const char* box) { QTest::keyClick(child<QLineEdit>(box), Qt::Key_Return); }
    // A patient of the demo hospital with a current admission.
    QString admittedSurname() {
        return hospital_.scalar("SELECT m.LastName FROM PATIENT_DATA..tbMaster m JOIN PATIENT_DATA..tbPatient2 p "
                                "ON p.HospNum = m.HospNum WHERE p.DcrDate IS NULL ORDER BY m.LastName");
    }

    QTemporaryDir settings_;
    QString previousSettings_;
    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
    std::unique_ptr<patient::frmListPatient> screen_;
};

TEST_F(PatientSearchTest, OpensWithTheColumnsAndAnEmptyDisabledList) {
    ASSERT_EQ(list()->columnCount(), 12);
    const QStringList expected{" Adm. No.", " Hosp.No.", " Adm.Date", " Last Name", " First Name", " Middle Name",
                               " Room No.", " MSS  ", " Address", " Dcr.Date", " BillingDate", " Er"};
    const int twips[12] = {1000, 1050, 1900, 1550, 1550, 1550, 1000, 1350, 2300, 2500, 2500, 1000};
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(list()->headerItem()->text(c), expected[c]);
        EXPECT_EQ(list()->columnWidth(c), qRound(twips[c] / 15.0)) << "column " << c;
    }
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_TRUE(child<QRadioButton>("optPatientType_0")->isChecked());
    EXPECT_EQ(child<QLabel>("lblRecCount")->text(), "Total Number of Records : _");
    EXPECT_FALSE(child<QProgressBar>("pbProgress")->isVisible());
    EXPECT_TRUE(hospital_.takeStatements().isEmpty()) << "no search without a remembered patient";
}

TEST_F(PatientSearchTest, EnterInTheSurnameBoxSearchesInPatientsAndSelectsTheFirst) {
    const QString surname = admittedSurname();
    typeInto("txtLastname", surname.toLower());
    EXPECT_EQ(child<QLineEdit>("txtLastname")->text(), surname.toUpper());
    pressEnter("txtLastname");
    EXPECT_EQ(hospital_.takeStatements(),
              QStringList{"MSS..sp_MSS_LoadInPatient '', '" + surname.toUpper() + "','','',''"});
    const long expected = hospital_.count(
        "SELECT count(*) FROM PATIENT_DATA..tbMaster m JOIN PATIENT_DATA..tbPatient2 p ON p.HospNum = m.HospNum "
        "WHERE p.DcrDate IS NULL AND m.LastName LIKE '" + surname + "%'");
    ASSERT_GT(expected, 0);
    EXPECT_EQ(list()->topLevelItemCount(), expected);
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_EQ(child<QLabel>("lblRecCount")->text(), "Total No. of Records: " + QString::number(expected));
    EXPECT_FALSE(child<QProgressBar>("pbProgress")->isVisible());
    // The first listed patient is already the selection.
    QTreeWidgetItem* first = list()->topLevelItem(0);
    EXPECT_EQ(Selection().IDNUM, first->text(0));
    EXPECT_EQ(Selection().HospNum, first->text(1));
    EXPECT_EQ(Selection().PatientName, first->text(3) + ", " + first->text(4) + " " + first->text(5));
    EXPECT_EQ(first->text(3).toUpper().left(surname.size()), surname.toUpper());
}

TEST_F(PatientSearchTest, SearchButtonSendsEveryBoxTrimmedAndRefusesAllPatientsWithNothing) {
    child<QRadioButton>("optPatientType_2")->click();
    EXPECT_EQ(Selection().PatientType, "2");
    prompts_.expect("Please specify a search parameter.");
    QTest::mouseClick(child<QPushButton>("cmdSearch"), Qt::LeftButton);
    ASSERT_EQ(prompts_.shown().size(), 1);
    EXPECT_EQ(prompts_.shown()[0].icon, ui::Icon::Information);
    EXPECT_EQ(prompts_.shown()[0].title, "Medical Social Service");
    EXPECT_TRUE(hospital_.takeStatements().isEmpty());

    // Enter never refuses, even with every box empty.
    pressEnter("txtFirstname");
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadAllServicePatient '', '','','',''"});

    child<QRadioButton>("optPatientType_1")->click();
    child<QLineEdit>("txtHospNum")->setText("  123  ");
    child<QLineEdit>("txtMiddleName")->setText(" DE ");
    QTest::mouseClick(child<QPushButton>("cmdSearch"), Qt::LeftButton);
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadOutPatient '123', '','','','DE'"});
    child<QRadioButton>("optPatientType_3")->click();
    QTest::mouseClick(child<QPushButton>("cmdSearch"), Qt::LeftButton);
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadERPatient '123', '','','','DE'"});
    EXPECT_EQ(Selection().PatientType, "3");
}

TEST_F(PatientSearchTest, ApostrophesBecomeGraveAccentsExceptInTheHospitalNumber) {
    // A patient registered elsewhere with an apostrophe in the hospital number.
    hospital_.connection().Execute("INSERT INTO PATIENT_DATA..tbMaster (HospNum, LastName, FirstName) "
                                   "VALUES ('12''3', 'O`NEIL', 'SEAN')");
    hospital_.connection().Execute("INSERT INTO PATIENT_DATA..tbPatient2 (IdNum, HospNum, AdmDate) "
                                   "VALUES ('99123', '12''3', GETDATE())");
    hospital_.takeStatements();
    typeInto("txtLastname", "o'neil");
    EXPECT_EQ(child<QLineEdit>("txtLastname")->text(), "O`NEIL");
    typeInto("txtHospNum", "12'3");
    EXPECT_EQ(child<QLineEdit>("txtHospNum")->text(), "12'3");
    pressEnter("txtHospNum");
    // The apostrophe cannot break the statement, and it finds exactly that patient.
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadInPatient '12''3', 'O`NEIL','','',''"});
    ASSERT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(list()->topLevelItem(0)->text(0), "99123");
    EXPECT_EQ(list()->topLevelItem(0)->text(1), "12'3");
    EXPECT_EQ(Selection().HospNum, "12'3");
    EXPECT_TRUE(prompts_.shown().isEmpty());
}

TEST_F(PatientSearchTest, ASearchFindingNothingCountsNothingAndDisablesTheList) {
    typeInto("txtLastname", admittedSurname());
    pressEnter("txtLastname");
    ASSERT_NE(child<QLabel>("lblRecCount")->text(), "Total No. of Records: 0");
    ASSERT_TRUE(list()->isEnabled());
    child<QLineEdit>("txtLastname")->setText("ZZZNOBODY");
    pressEnter("txtLastname");
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_EQ(child<QLabel>("lblRecCount")->text(), "Total No. of Records: 0");
}

TEST_F(PatientSearchTest, ColumnWidthsTheWorkerSetAreKeptForTheNextSearchScreen) {
    list()->header()->resizeSection(3, 260);
    screen_.reset();
    patient::frmListPatient again;
    auto* l = again.findChild<QTreeWidget*>("lvwSearchPatient");
    EXPECT_EQ(l->columnWidth(3), 260);
    EXPECT_EQ(l->columnWidth(4), qRound(1550 / 15.0)) << "only what was changed differs";
}

TEST_F(PatientSearchTest, EnterClearsTheSelectionFieldsOfTheOtherBoxes) {
    Selection().HospNum = "H";
    Selection().IDNUM = "I";
    child<QLineEdit>("txtHospNum")->setText("ZZZ-NONE");
    pressEnter("txtHospNum");
    EXPECT_EQ(Selection().IDNUM, "");
    EXPECT_EQ(Selection().HospNum, "H");
    Selection().IDNUM = "I";
    pressEnter("txtIDNum");
    EXPECT_EQ(Selection().HospNum, "");
    EXPECT_EQ(Selection().IDNUM, "I");
    Selection().HospNum = "H";
    pressEnter("txtMiddleName");
    EXPECT_EQ(Selection().HospNum, "");
    EXPECT_EQ(Selection().IDNUM, "");
}

TEST_F(PatientSearchTest, MssPatientsLinkListsNineColumnsAndSetsTypeFive) {
    QLabel* link = child<QLabel>("lblMSS");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(link, &enter);
    EXPECT_TRUE(link->font().underline());
    EXPECT_TRUE(link->styleSheet().contains("#ffff00"));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(child<QWidget>("Frame4"), QPoint(2, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(child<QWidget>("Frame4"), &move);
    EXPECT_FALSE(link->font().underline());
    EXPECT_TRUE(link->styleSheet().contains("#c0c0ff"));

    // A server whose MSS list also gives a billing date and an ER number: the list still
    // fills only its first nine columns after the number.
    auto* embedded = dynamic_cast<hospitaldb::EmbeddedBackend*>(hospital_.connection().backend());
    ASSERT_NE(embedded, nullptr);
    embedded->procedures().loadText(
        "-- @procedure MSS.sp_MSS_LoadMSSPatient\n-- @param HospNum\n-- @param LastName\n-- @param IdNum\n"
        "-- @param FirstName\n-- @param MiddleName\n"
        "SELECT '5001' AS IDNUM, '00005001' AS HospNum, '12/01/2026' AS AdmDate, 'REYES' AS LastName,\n"
        "       'ANA' AS FirstName, 'M' AS MiddleName, '201' AS RoomID, 'MSS-77' AS MSS, 'QC' AS Address,\n"
        "       '12/05/2026' AS dcrdate, '12/06/2026' AS BillingDate, 'ER-9' AS ERNum;\n",
        "test");
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadMSSPatient '', '','','',''"});
    EXPECT_EQ(Selection().PatientType, "5");
    ASSERT_EQ(list()->topLevelItemCount(), 1);
    QTreeWidgetItem* row = list()->topLevelItem(0);
    EXPECT_EQ(row->text(7), "MSS-77");
    EXPECT_EQ(row->text(9), "12/05/2026");
    EXPECT_EQ(row->text(10), "") << "the billing date is not listed for MSS patients";
    EXPECT_EQ(row->text(11), "") << "nor the ER number";
    EXPECT_EQ(Selection().Billdate, "");
    EXPECT_EQ(Selection().ERNum, "");
    EXPECT_EQ(Selection().MSSID, "MSS-77");
}

TEST_F(PatientSearchTest, HeaderClicksSortAndFlipTheArrows) {
    child<QRadioButton>("optPatientType_2")->click();
    typeInto("txtLastname", "S");
    pressEnter("txtLastname");
    ASSERT_GT(list()->topLevelItemCount(), 2);
    list()->header()->sectionClicked(1);
    auto column = [&](int c) {
        QStringList v;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) v << list()->topLevelItem(i)->text(c);
        return v;
    };
    QStringList asc = column(1);
    QStringList sorted = asc;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    EXPECT_EQ(asc, sorted);
    EXPECT_EQ(list()->headerItem()->data(1, Qt::UserRole).toInt(), 0);   // up
    EXPECT_EQ(list()->headerItem()->data(2, Qt::UserRole).toInt(), 2);   // blank
    list()->header()->sectionClicked(1);
    QStringList desc = column(1);
    std::reverse(sorted.begin(), sorted.end());
    EXPECT_EQ(desc, sorted);
    EXPECT_EQ(list()->headerItem()->data(1, Qt::UserRole).toInt(), 1);   // down
}

TEST_F(PatientSearchTest, ClickingARowSelectsItAndClosingKeepsOnlySomeFields) {
    child<QRadioButton>("optPatientType_3")->click();
    pressEnter("txtLastname");
    ASSERT_GT(list()->topLevelItemCount(), 1);
    QTreeWidgetItem* second = list()->topLevelItem(1);
    const QRect r = list()->visualItemRect(second);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(Selection().IDNUM, second->text(0));
    EXPECT_EQ(Selection().ERNum, second->text(11));
    EXPECT_FALSE(Selection().ERNum.isEmpty()) << "ER visits carry their ER number";
    const QString er = Selection().ERNum, bill = Selection().Billdate;
    screen_->close();
    EXPECT_EQ(Selection().IDNUM, "");
    EXPECT_EQ(Selection().HospNum, "");
    EXPECT_EQ(Selection().PatientName, "");
    EXPECT_EQ(Selection().RoomID, "");
    EXPECT_EQ(Selection().MSSID, "");
    EXPECT_EQ(Selection().ERNum, er);
    EXPECT_EQ(Selection().Billdate, bill);
    EXPECT_EQ(Selection().PatientType, "3");
}

TEST_F(PatientSearchTest, ReopeningWithARememberedPatientSearchesAtOnce) {
    const QString hosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE DcrDate IS NULL");
    Selection().HospNum = hosp;
    auto again = std::make_unique<patient::frmListPatient>();
    again->show();
    again->runOpeningSearch();
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadInPatient '" + hosp + "', '','','',''"});
    EXPECT_GT(again->findChild<QTreeWidget*>("lvwSearchPatient")->topLevelItemCount(), 0);
    EXPECT_EQ(Selection().HospNum, hosp);
}

TEST_F(PatientSearchTest, SplitterBoundsTheLayout) {
    screen_->SizeControls(100);
    EXPECT_EQ(child<QWidget>("imgSplitter")->x(), text::TwipsToPixels(750));
    EXPECT_EQ(child<QWidget>("Picture1")->width(), text::TwipsToPixels(690));
    screen_->SizeControls(3600);
    EXPECT_EQ(child<QWidget>("imgSplitter")->x(), text::TwipsToPixels(3600));
    EXPECT_EQ(child<QWidget>("txtHospNum")->width(), text::TwipsToPixels(2850));
    EXPECT_EQ(child<QWidget>("Frame1")->x(), text::TwipsToPixels(3680));
}

// A server whose ER search lacks a column: every row is listed from the first on, without
// it. Without the admission number, the first item cannot be listed: the search ends there
// and the failure is shown.
TEST_F(PatientSearchTest, OnceTheFirstItemIsListedFailuresWhileListingAreSkipped) {
    auto* embedded = dynamic_cast<hospitaldb::EmbeddedBackend*>(hospital_.connection().backend());
    ASSERT_NE(embedded, nullptr);
    embedded->procedures().loadText(
        "-- @procedure MSS.sp_MSS_LoadERPatient\n-- @param HospNum\n-- @param LastName\n-- @param IdNum\n"
        "-- @param FirstName\n-- @param MiddleName\n"
        "SELECT '9001B' AS IDNUM, '00009001' AS HospNum, '12/01/2026' AS AdmDate, 'CRUZ' AS LastName, 'ANA' AS FirstName,\n"
        "       '' AS MiddleName, 'OPD' AS RoomID, '' AS MSS, '' AS Address, NULL AS dcrdate, '' AS BillingDate\n"
        "UNION ALL SELECT '9002B', '00009002', '12/02/2026', 'CRUZ', 'BEN', '', 'OPD', '', '', NULL, '';\n",
        "test");
    child<QRadioButton>("optPatientType_3")->click();
    pressEnter("txtLastname");
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(list()->topLevelItem(0)->text(4), "ANA");
    EXPECT_EQ(list()->topLevelItem(1)->text(0), "9002B");
    EXPECT_EQ(list()->topLevelItem(1)->text(4), "BEN");
    EXPECT_EQ(list()->topLevelItem(1)->text(11), "");
    EXPECT_TRUE(prompts_.shown().isEmpty());

    embedded->procedures().loadText(
        "-- @procedure MSS.sp_MSS_LoadERPatient\n-- @param HospNum\n-- @param LastName\n-- @param IdNum\n"
        "-- @param FirstName\n-- @param MiddleName\n"
        "SELECT '00009001' AS HospNum, '12/01/2026' AS AdmDate, 'CRUZ' AS LastName, 'ANA' AS FirstName,\n"
        "       '' AS MiddleName, 'OPD' AS RoomID, '' AS MSS, '' AS Address, NULL AS dcrdate, '' AS BillingDate,\n"
        "       'ER-1' AS ERNum;\n",
        "test");
    prompts_.expect("Run-time error '3265':\n\nItem cannot be found in the collection corresponding to the "
                    "requested name or ordinal.");
    pressEnter("txtLastname");
    EXPECT_EQ(prompts_.shown().size(), 1);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
}

// Before the first row is listed, a failure ends the search and is shown.
TEST_F(PatientSearchTest, AFailingSearchIsShownAndTheScreenStaysUsable) {
    auto* embedded = dynamic_cast<hospitaldb::EmbeddedBackend*>(hospital_.connection().backend());
    ASSERT_NE(embedded, nullptr);
    embedded->failMatching(QRegularExpression("sp_MSS_LoadInPatient"), 1205, "Transaction was deadlocked.");
    prompts_.expect("Run-time error '1205':\n\nTransaction was deadlocked.");
    pressEnter("txtLastname");
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    embedded->clearFaults();
    typeInto("txtLastname", admittedSurname());
    pressEnter("txtLastname");
    EXPECT_GT(list()->topLevelItemCount(), 0);
}

TEST_F(PatientSearchTest, RightClickOnTheListAsksForTheMenuOnlyWithAPatient) {
    QSignalSpy wanted(screen_.get(), &patient::frmListPatient::contextMenuWanted);
    QSignalSpy chosen(screen_.get(), &patient::frmListPatient::patientChosen);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), list()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list()->viewport(), &click);
    EXPECT_EQ(wanted.count(), 0);
    typeInto("txtLastname", admittedSurname());
    pressEnter("txtLastname");
    ASSERT_FALSE(Selection().HospNum.isEmpty());
    EXPECT_GE(chosen.count(), 1) << "the first listed patient is chosen";
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(5, 5), list()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list()->viewport(), &again);
    ASSERT_EQ(wanted.count(), 1);
    EXPECT_EQ(wanted.at(0).at(0).toPoint(), list()->viewport()->mapToGlobal(QPoint(5, 5)));
}

// The registry gateway the intake sheet and start-up use.
TEST(PatientRegistryGateway, ValidatesTrimmedAndOpensEachAdmissionOnce) {
    test::TestHospital hospital;
    test::ScriptedPrompts prompts;
    patient::clsPatientSearch gateway;
    prompts.expect("Unable to stablish a connection...");
    EXPECT_FALSE(gateway.InitConnection("   ", ""));
    EXPECT_EQ(prompts.shown().at(0).icon, ui::Icon::None);
    ASSERT_TRUE(gateway.InitConnection(hospital.connection().ConnectionString(), ""));

    const QString id = hospital.scalar("SELECT IdNum FROM PATIENT_DATA..tbPatient2 WHERE DcrDate IS NULL");
    hospital.takeStatements();
    EXPECT_FALSE(gateway.ValidateAdmission("   ", ""));
    EXPECT_TRUE(gateway.ValidateAdmission("  " + id + " ", ""));
    EXPECT_EQ(hospital.takeStatements(), QStringList{"Patient_Data..sp_Adm_LoadInPatient '" + id + "',''"});
    EXPECT_EQ(gateway.pendingAdmission(), "  " + id + " ");
    auto* adm = gateway.Admission();
    EXPECT_EQ(adm->IdNum, id);
    EXPECT_TRUE(adm->AdmissionDate.isValid());
    gateway.Admission();
    EXPECT_EQ(adm->timesOpened(), 1);
    EXPECT_FALSE(gateway.ValidateAdmission("NO-SUCH-ADMISSION", ""));

    const QString hosp = hospital.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    auto* master = gateway.PatientMaster();
    ASSERT_TRUE(master->LoadPatient(hosp));
    EXPECT_EQ(master->HospitalNumber, hosp);
    EXPECT_FALSE(master->LastName.isEmpty());
    EXPECT_FALSE(master->Religion.Description.isEmpty());
    EXPECT_FALSE(master->LoadPatient("NO-SUCH-PATIENT"));
    EXPECT_EQ(master->LastName, "");
}

}  // namespace
