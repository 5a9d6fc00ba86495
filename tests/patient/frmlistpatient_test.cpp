#include "hospitaldb/embedded.h"
#include "patient/clspatientsearch.h"
#include "patient/frmlistpatient.h"
#include "patient/patientselection.h"
#include "promptdouble.h"
#include "shell/db/text.h"
#include "testhospital.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace mss;
using patient::Selection;

namespace {

class PatientSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Selection() = patient::PatientSelection{};
        screen_ = std::make_unique<patient::frmListPatient>();
        screen_->resize(1100, 600);
        screen_->show();
        datasheet_.setEnabled(false);
        patient::frmListPatient::setDatasheetAction(&datasheet_);
        hospital_.takeStatements();
    }
    void TearDown() override { patient::frmListPatient::setDatasheetAction(nullptr); }

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

    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
    std::unique_ptr<patient::frmListPatient> screen_;
    QAction datasheet_{"Patient Datasheet"};
};

TEST_F(PatientSearchTest, OpensWithTheColumnsAndAnEmptyDisabledList) {
    ASSERT_EQ(list()->columnCount(), 12);
    const QStringList expected{" Adm. No.", " Hosp.No.", " Adm.Date", " Last Name", " First Name", " Middle Name",
                               " Room No.", " MSS  ", " Address", " Dcr.Date", " BillingDate", " Er"};
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(list()->headerItem()->text(c), expected[c]);
        EXPECT_EQ(list()->columnWidth(c), text::TwipsToPixels(patient::frmListPatient::kColumnWidths[c]));
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
    EXPECT_TRUE(datasheet_.isEnabled()) << "in-patient admission numbers are numeric";
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
    typeInto("txtLastname", "o'neil");
    EXPECT_EQ(child<QLineEdit>("txtLastname")->text(), "O`NEIL");
    typeInto("txtHospNum", "12'3");
    EXPECT_EQ(child<QLineEdit>("txtHospNum")->text(), "12'3");
    pressEnter("txtHospNum");
    // The apostrophe still cannot break the statement.
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadInPatient '12''3', 'O`NEIL','','',''"});
    EXPECT_TRUE(prompts_.shown().isEmpty());
}

TEST_F(PatientSearchTest, ASearchFindingNothingKeepsTheCountAndDisablesTheList) {
    typeInto("txtLastname", admittedSurname());
    pressEnter("txtLastname");
    const QString countText = child<QLabel>("lblRecCount")->text();
    ASSERT_TRUE(list()->isEnabled());
    child<QLineEdit>("txtLastname")->setText("ZZZNOBODY");
    pressEnter("txtLastname");
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_EQ(child<QLabel>("lblRecCount")->text(), countText);
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

    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadMSSPatient '', '','','',''"});
    EXPECT_EQ(Selection().PatientType, "5");
    const long holders = hospital_.count(
        "SELECT count(*) FROM PATIENT_DATA..tbMaster WHERE isnull(MSSNum,'') <> ''");
    ASSERT_GT(holders, 0);
    ASSERT_GT(list()->topLevelItemCount(), 0);
    EXPECT_EQ(list()->topLevelItem(0)->text(10), "");
    EXPECT_EQ(list()->topLevelItem(0)->text(11), "");
    EXPECT_EQ(Selection().Billdate, "");
    EXPECT_EQ(Selection().ERNum, "");
    EXPECT_FALSE(Selection().MSSID.isEmpty());
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
    EXPECT_FALSE(datasheet_.isEnabled()) << "ER registration numbers are not numeric";
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

// A server whose ER search lacks a column: the rows are still listed, without it.
TEST_F(PatientSearchTest, AfterTheFirstRowFailuresWhileListingAreSkipped) {
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
    EXPECT_EQ(list()->topLevelItem(1)->text(0), "9002B");
    EXPECT_EQ(list()->topLevelItem(1)->text(4), "BEN");
    EXPECT_EQ(list()->topLevelItem(1)->text(11), "");
    EXPECT_TRUE(prompts_.shown().isEmpty());
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

TEST_F(PatientSearchTest, RightClickOnTheListPopsUpTheFileMenuOnlyWithAPatient) {
    QMenu file("File");
    file.addAction("Intake Sheet Entry");
    int shown = 0;
    QObject::connect(&file, &QMenu::aboutToShow, [&] { ++shown; });
    patient::frmListPatient::setFileMenu(&file);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), list()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list()->viewport(), &click);
    EXPECT_EQ(shown, 0);
    typeInto("txtLastname", admittedSurname());
    pressEnter("txtLastname");
    ASSERT_FALSE(Selection().HospNum.isEmpty());
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(5, 5), list()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list()->viewport(), &again);
    EXPECT_EQ(shown, 1);
    file.hide();
    patient::frmListPatient::setFileMenu(nullptr);
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
