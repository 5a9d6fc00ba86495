#include "intaketesting.h"

#include "hospitaldb/embedded.h"
#include "reporttesting.h"
#include "shell/db/text.h"
#include "shell/reports/reports.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

using namespace mss;
using mss::intake::FamilyGrid;

namespace {

class IntakeSheet : public test::IntakeSheetTest {
protected:
    intake::FamilyGrid* grid() const { return screen_->family; }
    // Clicks a member cell (row 1 is the first member).
    void clickCell(int row, int col) {
        QTableWidget* g = grid()->FCFlexGrid;
        const QRect r = g->visualRect(g->model()->index(row - 1, col));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Types one member row from the current cell on, Enter after each column.
    void typeMember(const QStringList& cells) {
        for (int c = 0; c < cells.size(); ++c) {
            QWidget* editor = c == FamilyGrid::kCivilStatus ? static_cast<QWidget*>(grid()->cmbFlx->lineEdit())
                                                            : static_cast<QWidget*>(grid()->txtFlxg);
            ASSERT_FALSE(editor->isHidden()) << "no editor at column " << c;
            QTest::keyClicks(editor, cells[c]);
            QTest::keyClick(editor, Qt::Key_Return);
        }
    }
    void saveConfirmed(QPushButton* button) {
        prompts_.expect("Are you sure you want to save the changes?", ui::Answer::Yes);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QString field(const QString& column, const QString& hosp) {
        return hospital_.scalar("SELECT " + column + " FROM MSS..tbMSSIntakeSheet WHERE HospNum = '" + hosp + "'");
    }
};

TEST_F(IntakeSheet, ANewPatientsSheetIsFilledSavedAndReadBackWhole) {
    start();
    ASSERT_NE(open(newHosp_, newId_, "0"), nullptr);
    intake::frmIntakeSheet& s = *screen_;
    EXPECT_EQ(s.windowTitle(), "INTAKE SHEET");
    const QStringList opening = statements();
    ASSERT_FALSE(opening.isEmpty());
    EXPECT_EQ(opening.first(), " sp_SearchCategoryandClassification '" + newId_ + "'");
    QStringList loads;
    for (const QString& st : opening)
        if (st.startsWith("MSS..sp_MSS_Load")) loads << st;
    EXPECT_EQ(loads, (QStringList{"MSS..sp_MSS_LoadExistIntakeSheet '" + newHosp_ + "'",
                                  "MSS..sp_MSS_LoadExistIntakeSheet'" + newHosp_ + "'",
                                  "MSS..sp_MSS_LoadOtherPatientInfo '" + newHosp_ + "'",
                                  "MSS..sp_MSS_LoadExistFamilyComposition '" + newHosp_ + "'",
                                  "MSS..sp_MSS_LoadMonthlyExpenses '" + newHosp_ + "'"}));
    // The lookup lists come last, in their order, with the rating lists between.
    ASSERT_GE(opening.size(), 16);
    const QStringList lists = opening.mid(opening.size() - 16);
    EXPECT_EQ(lists.mid(0, 6),
              (QStringList{"select category from tbMssCaseCategory",
                           "SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] FROM MSS..tbMSSClassificationScheme",
                           "SELECT isnull(Code,'') [Code], isnull(ReferringParty,'') [ReferringParty] FROM MSS..tbMSSReferringParty ORDER BY Code",
                           "SELECT  isnull(Religion,'') [Religion] FROM build_File..tbCoReligion ORDER BY religionid",
                           "SELECT  isnull(Relationship,'') [Relationship] FROM build_File..tbCoRelationship",
                           "SELECT  isnull(CivilStatus,'') [CivilStatus] FROM build_File..tbCoCivilStatus ORDER BY CivilStatusID"}));
    EXPECT_EQ(lists.mid(12),
              (QStringList{"SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSLivingArrangement ORDER BY code ",
                           "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSPhilhealthType ORDER BY code ",
                           "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSCategoryType ORDER BY code ",
                           "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSAccomodation ORDER BY code "}));
    EXPECT_EQ(s.cboCivilStatus->count(), hospital_.count("SELECT count(*) FROM build_File..tbCoCivilStatus"));

    // The registry's data, today as the interview, the accommodation of an admission.
    EXPECT_EQ(s.txtHospitalNo->text(), newHosp_);
    EXPECT_EQ(s.txtLastname->text(), hospital_.scalar("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + newHosp_ + "'"));
    EXPECT_EQ(s.txtWard->text(), hospital_.scalar("SELECT RoomID FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + newId_ + "'"));
    EXPECT_EQ(s.txtAdmissionDate->text(),
              text::DateMDY(text::ParseDateTime(hospital_.scalar("SELECT AdmDate FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + newId_ + "'")).date()));
    EXPECT_EQ(s.DTDateInterviewed->date(), QDate::currentDate());
    EXPECT_EQ(s.cboAccomodation->currentText(), "INPATIENT");
    EXPECT_EQ(s.txtCaseNo->text(), "") << "no MSS number yet";
    EXPECT_EQ(grid()->Rows(), 2) << "the heading and one empty member row";
    const QMap<QString, QString> registry = snapshot();

    // Read-only until Edit; Save/Print, Close, the worker lookup and Add stay usable.
    for (QWidget* w : std::initializer_list<QWidget*>{s.frmPatientInfo, s.frmSourceReferral, s.frmDemo2, s.frmDemo3,
                                                      s.frmMedicalData, s.frmMonthlyExpenses, s.txtLastname, s.cboSex,
                                                      s.cmdSave, grid()->FCFlexGrid, s.ratings->cmbSeverityIndex[0]})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{s.cmdEdit, s.cmdSavePrint, s.cmdCancel, s.cmdAll, s.cmdAdd})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    QTest::mouseClick(s.cmdEdit, Qt::LeftButton);
    QTest::mouseClick(s.cmdEdit, Qt::LeftButton);
    for (QWidget* w : std::initializer_list<QWidget*>{s.DTDateInterviewed, s.txtExpiry, s.cboReferringParty, s.txtLastname,
                                                      s.cboAccomodation, s.cboCategoryType, s.txtOtherIncomeSource,
                                                      s.txtMExpenses[23], s.txtAdmDiagnosis, s.cmdSave,
                                                      s.ratings->cmbPEDurationIndex[18], s.ratings->txtAssessment})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{s.txtHospitalNo, s.txtWard, s.txtAdmissionDate, s.txtCaseNo, s.txtMSSW,
                                                      s.cboClassCode, s.txtClassification, s.txtCategory, s.txtTotFamIncome,
                                                      s.txtTotalMonthlyExpenditure, s.opHA_0})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    // Every section filled as the worker fills it.
    const QMap<QString, QString> texts = {
        {"txtReferredBy", "DR. O'NEIL"}, {"txtRefferAd", "Medical Arts 2"}, {"txtReferringPartyContactNo", "0917-1"},
        {"txtFirstname", "MARIA"}, {"txtMiddle", "SANTOS"}, {"txtAge", "41"}, {"txtBirthdate", "02/03/1985"},
        {"txtBirthPlace", "ILOILO"}, {"txtCompanionUponAdmission", "SISTER"}, {"txtPermanentAddress", "12 Rizal St."},
        {"txtTemporaryAdd", "c/o sister"}, {"txtTelNo", "555-0101"}, {"txtEducation", "COLLEGE"}, {"txtEmployer", "SELF"},
        {"txtOccupation", "VENDOR"}, {"txtSalary", "6000"}, {"txtPerCapitaIncome", "1500"}, {"txtOtherSectorial", "SOLO PARENT"},
        {"txtSourceInfo", "PATIENT"}, {"txtAdressOfInformant", "Same"}, {"txtOthers", "LOAD"}};
    for (auto it = texts.begin(); it != texts.end(); ++it) type(control<QLineEdit>(it.key()), it.value());
    type(s.txtLastname, "DELA PAZ");
    type(s.cboReligion, "FREE CHURCH");   // a text not in the list
    s.cboCivilStatus->setCurrentIndex(1);
    s.cboSex->setCurrentIndex(0);
    s.cboReferringParty->setCurrentIndex(0);
    s.cboRelationship->setCurrentIndex(2);
    s.cboLivingArrangement->setCurrentIndex(1);
    s.cboPhilhealthType->setCurrentIndex(0);
    s.cboCategoryType->setCurrentIndex(1);
    s.cboAccomodation->setCurrentIndex(2);
    s.cmbCategory->setCurrentIndex(1);
    s.DTDateInterviewed->setDate(QDate(2026, 12, 8));
    s.txtExpiry->setDate(QDate(2027, 6, 30));
    s.chkSeniorCitizen->click();
    s.chkPWD->click();
    type(s.txtAdmDiagnosis, "PNEUMONIA");
    type(s.txtFinalDiagnosis, "PNEUMONIA, RESOLVED");
    type(s.txtDurationOfProb, "2 weeks");
    type(s.txtPreviousTretment, "none");
    type(s.txtPresentPlan, "antibiotics");
    type(s.txtOtherIncomeSource, "remittance");

    clickCell(1, 0);
    typeMember({"JOSE DELA PAZ", "SPOUSE", "44", "MARRIED", "HIGH SCHOOL", "12 Rizal St.", "DRIVER", "4500"});
    EXPECT_EQ(grid()->Rows(), 3) << "Enter in Income appends a row";
    EXPECT_EQ(grid()->Row(), 2);
    EXPECT_EQ(grid()->Col(), 0);
    typeMember({"ANA DELA PAZ", "DAUGHTER", "19", "SINGLE", "COLLEGE", "12 Rizal St.", "STUDENT", "1200.5"});
    EXPECT_EQ(s.txtTotFamIncome->text(), "5700.5");
    EXPECT_EQ(grid()->Rows(), 4);

    type(s.txtMExpenses[0], "1500");
    leave(s.txtMExpenses[0]);
    EXPECT_EQ(s.txtTotalMonthlyExpenditure->text(), "1500");
    type(s.txtMExpenses[10], "3000.50");
    leave(s.txtMExpenses[10]);
    EXPECT_EQ(s.txtTotalMonthlyExpenditure->text(), "4500.5");
    type(s.txtMExpenses[23], "200");
    leave(s.txtMExpenses[23]);
    EXPECT_EQ(s.txtTotalMonthlyExpenditure->text(), "4700.5");

    QComboBox* severity = s.ratings->cmbSeverityIndex[3];
    const int ten = severity->findText("10. ", Qt::MatchStartsWith);   // listed before "2. "
    ASSERT_GE(ten, 0);
    severity->setCurrentIndex(ten);
    s.ratings->cmbSocialInteraction[0]->setCurrentIndex(0);
    s.ratings->cmbCopingIndex[23]->setCurrentIndex(1);
    s.ratings->cmbPESeverityIndex[18]->setCurrentIndex(2);
    s.ratings->cmbPEDurationIndex[0]->setCurrentIndex(0);
    type(s.ratings->txtAssessment, "Family cannot pay.");
    type(s.ratings->txtRecommendedInterventions, "Refer to sponsors.");

    // The first Save only fetches an MSS number.
    statements();
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_EQ(statements(), QStringList{"MSS..MSS_GetNewMSSNumber"});
    const QString mss = s.txtCaseNo->text();
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d{6}$").match(mss).hasMatch()) << mss.toStdString();
    EXPECT_EQ(field("count(*)", newHosp_), "0");

    // The second writes the whole sheet and closes the screen.
    QMap<QString, QString> before = snapshot();
    const QString categoryId = s.cmbCategory->property("Tag").toString();
    prompts_.clear();
    prompts_.expect("Are you sure you want to save the changes?", ui::Answer::Yes);
    prompts_.expect("Record of DELA PAZ, MARIA Saved.");
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    ASSERT_EQ(prompts_.shown().size(), 2);
    EXPECT_EQ(prompts_.shown()[0].title, "Tarvex Program");
    EXPECT_EQ(prompts_.shown()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(prompts_.shown()[0].icon, ui::Icon::None);
    EXPECT_EQ(prompts_.shown()[1].title, "Message");
    EXPECT_FALSE(screenOpen());

    QStringList sent = statements();
    ASSERT_GE(sent.size(), 4);
    EXPECT_EQ(sent.takeFirst(), "MSS..sp_MSS_GetExistsMSSNumber '" + mss + "', '" + newHosp_ + "'");
    const QString ward = before["txtWard"], admitted = before["txtAdmissionDate"];
    const QStringList sheetArgs{newHosp_, "12/8/2026", "", before["cmbCategory"], "6000", "COLLEGE", ward, "DELA PAZ",
                                       "MARIA", "SANTOS", "Female", "02/03/1985", before["cboCivilStatus"], "VENDOR", "41",
                                       "555-0101", "ILOILO", "FREE CHURCH", "SELF", newId_, admitted, "12/8/2026", "6/30/2027",
                                       "c/o sister", "12 Rizal St.", mss, "1", "0", "0", "1", "0", "SOLO PARENT"};
    EXPECT_EQ(sent[0], "MSS..sp_MSS_SaveIntakeSheetData '" + sheetArgs.join("','") + "'");
    const QStringList otherArgs{newHosp_, before["cboReferringParty"], "DR. O''NEIL", "Medical Arts 2", "0917-1", "PATIENT",
                                       "SISTER", "1500", before["cboLivingArrangement"], before["cboRelationship"], "Same",
                                       "PNEUMONIA", "PNEUMONIA, RESOLVED", "2 weeks", "none", "antibiotics", "",
                                       "Family cannot pay.", "Refer to sponsors.", before["cboPhilhealthType"],
                                       before["cboCategoryType"], before["cboAccomodation"]};
    EXPECT_EQ(sent[1], "MSS..sp_MSS_SaveOtherPatientInfo '" + otherArgs.join("','") + "'");
    const QStringList dataArgs{newHosp_, newId_, mss, "", before["cmbCategory"], categoryId, "12/08/2026",
                                       "06/30/2027", "", "0001", ""};
    EXPECT_EQ(sent[2], "MSS..sp_MSS_SavePatientData'" + dataArgs.join("','") + "'");
    const QString total = "5700.5";
    EXPECT_TRUE(sent.contains("MSS..sp_MSS_ClearFamilyComposition '" + newHosp_ + "'"));
    EXPECT_TRUE(sent.contains("MSS..sp_MSS_SaveFamilyComposition '" + newHosp_ +
                              "','JOSE DELA PAZ','SPOUSE','44','MARRIED','HIGH SCHOOL','12 Rizal St.','DRIVER','4500','" + total + "'"));
    EXPECT_EQ(sent.last(), "MSS..sp_MSS_SaveMonthlyExpenses '" + newHosp_ + "','1500','','','','','','','','','','3000.50'" +
                               QString(",''").repeated(12) + ",'LOAD','200','4700.5'");

    EXPECT_EQ(field("MSSNumber", newHosp_), mss);
    EXPECT_EQ(hospital_.scalar("SELECT MSSNum FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + newHosp_ + "'"), mss);
    EXPECT_EQ(field("ReferredBy", newHosp_), "DR. O'NEIL");
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM MSS..tbMSSFamilyComposition WHERE HospNum = '" + newHosp_ + "'"), 2);
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM MSS..tbMSSSocialFunctioning WHERE Hospnum = '" + newHosp_ + "'"), 24);
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM MSS..tbMSSEnvironmentProblems WHERE Hospnum = '" + newHosp_ + "'"), 19);
    EXPECT_EQ(hospital_.scalar("SELECT a.SeverityIndex FROM MSS..tbMSSSocialFunctioning a JOIN MSS..tbMSSRoles b ON b.ID = a.Description "
                               "WHERE a.Hospnum = '" + newHosp_ + "' AND b.code = '3'"), "10");

    // Opened again, the sheet shows every value as it was saved.
    ASSERT_NE(open(newHosp_, newId_, "0"), nullptr);
    QMap<QString, QString> after = snapshot();
    for (const char* unsaved : {"txtCategory", "txtOtherIncomeSource", "txtFlxg", "cmbFlx"}) {
        before.remove(unsaved);
        after.remove(unsaved);
    }
    // The registry's own data is shown from the registry again; the sheet keeps what was typed.
    for (const char* fromRegistry : {"txtLastname", "txtFirstname", "txtMiddle", "txtAge", "cboSex", "cboReligion",
                                     "cboCivilStatus", "txtBirthdate", "txtBirthPlace", "txtOccupation", "txtEmployer",
                                     "txtTelNo", "txtAdmDiagnosis"}) {
        EXPECT_EQ(after.take(fromRegistry), registry.value(fromRegistry)) << fromRegistry;
        before.remove(fromRegistry);
    }
    EXPECT_EQ(field("LastName", newHosp_), "DELA PAZ");
    EXPECT_EQ(field("Religion", newHosp_), "FREE CHURCH");
    EXPECT_EQ(field("AdmittingDiagnosis", newHosp_), "PNEUMONIA");
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_FALSE(screen_->cmdAdd->isEnabled()) << "a stored member list";
    EXPECT_EQ(screen_->family->FCFlexGrid->horizontalHeaderItem(0)->text(), "Family Members");
}


TEST_F(IntakeSheet, AStoredSheetOpensOverTheRegistryAndSavePrintShowsTheIntakeSheetReport) {
    start();
    // A stored total that disagrees with the amounts.
    hospital_.connection().Execute("UPDATE MSS..tbMSSMonthlyExpenses SET TotalMonthlyExpenditure = '999' WHERE HospNum = '" +
                                   showcaseHosp_ + "'");
    ASSERT_NE(open(showcaseHosp_, showcaseId_, "0"), nullptr);
    intake::frmIntakeSheet& s = *screen_;
    const QString stored = field("InterviewDate", showcaseHosp_);
    EXPECT_EQ(s.DTDateInterviewed->date(), text::ParseDateTime(stored).date()) << "the stored interview, not today";
    EXPECT_EQ(s.txtOtherSectorial->text(), "SOLO PARENT");
    EXPECT_EQ(s.txtCaseNo->text(), field("MSSNumber", showcaseHosp_));
    EXPECT_TRUE(s.chkSeniorCitizen->isChecked());
    EXPECT_TRUE(s.opHA_1->isChecked());
    EXPECT_FALSE(s.opHA_0->isChecked());
    EXPECT_EQ(s.txtOthers->text(), "CELLPHONE LOAD");
    EXPECT_EQ(s.txtTotalMonthlyExpenditure->text(), "999");
    EXPECT_EQ(grid()->Rows(), 5) << "four members under the heading";
    EXPECT_EQ(grid()->FCFlexGrid->horizontalHeaderItem(1)->text(), "Rel. to Patient");
    EXPECT_EQ(grid()->FCFlexGrid->columnWidth(0), text::TwipsToPixels(2000));
    EXPECT_EQ(grid()->cell(1, 0), "ROSARIO DELA CRUZ");
    EXPECT_EQ(s.txtTotFamIncome->text(), "13800");
    EXPECT_FALSE(s.cmdAdd->isEnabled());
    QTest::mouseClick(s.cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(s.cmdAdd->isEnabled()) << "Edit enables it again";
    EXPECT_FALSE(s.ratings->cmbSocialInteraction[0]->currentText().isEmpty());

    // The stored total stays until an amount box is left. The amounts: 2000 + 650 + 180 +
    // 3000.50 + 300 + 450 + 1200 + 500 + 400 + 250 + 2500 + 350 + 200, and 100 more.
    type(s.txtMExpenses[1], "100");
    EXPECT_EQ(s.txtTotalMonthlyExpenditure->text(), "999");
    leave(s.txtMExpenses[1]);
    EXPECT_EQ(s.txtTotalMonthlyExpenditure->text(), "12080.5");
    // A box that is not a number is named and the total stays as it was.
    type(s.txtMExpenses[5], "abc");
    prompts_.expect("Please Enter Numeric Values");
    leave(s.txtMExpenses[5]);
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Information);
    EXPECT_EQ(s.txtTotalMonthlyExpenditure->text(), "12080.5");
    EXPECT_DOUBLE_EQ(s.monthlyTotal(), 12080.5);
    type(s.txtMExpenses[5], "");
    leave(s.txtMExpenses[5]);

    // Saving again updates the same records and prints the report of the hospital number.
    statements();
    prompts_.expect("Are you sure you want to save the changes?", ui::Answer::Yes);
    prompts_.expect("Record of DELA CRUZ, RAMON Saved.");
    QTest::mouseClick(s.cmdSavePrint, Qt::LeftButton);
    EXPECT_FALSE(screenOpen());
    EXPECT_EQ(QFileInfo(reports::CurrentReport()->definition.file).fileName(), "AssessmentTool.rpt");
    EXPECT_EQ(reports::CurrentReport()->passed,
              (QVariantList{"MEDICAL SOCIAL SERVICE", session().Address1, showcaseHosp_, showcaseHosp_}));
    QTemporaryDir pdf;
    EXPECT_TRUE(test::shownReport("Intake Sheet Data", pdf).contains("DELA CRUZ"));
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM MSS..tbMSSFamilyComposition WHERE HospNum = '" + showcaseHosp_ + "'"), 4);
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM MSS..tbMSSSocialFunctioning WHERE Hospnum = '" + showcaseHosp_ + "'"), 24);
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM MSS..tbMSSEnvironmentProblems WHERE Hospnum = '" + showcaseHosp_ + "'"), 19);
    EXPECT_EQ(hospital_.scalar("SELECT Owned FROM MSS..tbMSSMonthlyExpenses WHERE HospNum = '" + showcaseHosp_ + "'"), "100");
}

TEST_F(IntakeSheet, AFailureAtAnyStepOfTheSaveLeavesTheStoredSheetAsItWas) {
    start();
    ASSERT_NE(open(showcaseHosp_, showcaseId_, "0"), nullptr);
    intake::frmIntakeSheet& s = *screen_;
    QTest::mouseClick(s.cmdEdit, Qt::LeftButton);
    type(s.txtEducation, "POSTGRADUATE");
    type(s.txtReferredBy, "DR. CHANGED");
    clickCell(2, 6);
    QTest::keyClicks(grid()->txtFlxg, " PART-TIME");
    type(s.txtMExpenses[3], "700");
    leave(s.txtMExpenses[3]);
    for (QComboBox* box : {s.ratings->cmbSeverityIndex[6], s.ratings->cmbPEDurationIndex[10]}) box->setCurrentIndex(4);
    const QStringList before = stored(showcaseHosp_);

    struct Step {
        const char* pattern;
        bool warning;
    };
    const Step steps[] = {{"^MSS\\.\\.sp_MSS_SaveIntakeSheetData ", false}, {"^MSS\\.\\.sp_MSS_SaveOtherPatientInfo ", false},
                          {"^MSS\\.\\.sp_MSS_SavePatientData'", false},    {"^MSS\\.\\.sp_MSS_SavePatientData'", true},
                          {"tbMSSRoles where code = '5'", false},          {"tbMSSProblems where code = '7'", false},
                          {"sp_MSS_ClearFamilyComposition", false},        {"sp_MSS_SaveFamilyComposition", false},
                          {"sp_MSS_SaveMonthlyExpenses", false}};
    int number = 50100;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.pattern);
        const QString why = QString("injected at %1").arg(step.pattern);
        if (step.warning) backend().warnMatching(QRegularExpression(step.pattern), number, why);
        else backend().failMatching(QRegularExpression(step.pattern), number, why);
        prompts_.expect("Are you sure you want to save the changes?", ui::Answer::Yes);
        prompts_.expect(QString("Run-time error '%1':\n\n%2").arg(number).arg(why));
        statements();
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        backend().clearFaults();
        EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
        EXPECT_TRUE(statements().filter(QRegularExpression(step.pattern)).size() >= 1) << "the step was reached";
        EXPECT_EQ(stored(showcaseHosp_), before);
        EXPECT_EQ(session().Connection()->TransactionLevel(), 0);
        ASSERT_TRUE(screenOpen()) << "the screen stays open with what was typed";
        EXPECT_FALSE(s.saved());
        ++number;
    }

    prompts_.expect("Are you sure you want to save the changes?", ui::Answer::Yes);
    prompts_.expect("Record of DELA CRUZ, RAMON Saved.");
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_FALSE(screenOpen());
    EXPECT_EQ(field("Education", showcaseHosp_), "POSTGRADUATE");
    EXPECT_EQ(hospital_.scalar("SELECT Occupation FROM MSS..tbMSSFamilyComposition WHERE HospNum = '" + showcaseHosp_ +
                               "' AND MemberName LIKE 'MARK%'"),
              "STUDENT PART-TIME");
}

TEST_F(IntakeSheet, TheSaveRefusesBeforeAnythingIsWritten) {
    start();
    ASSERT_NE(open(newHosp_, newId_, "0"), nullptr);
    intake::frmIntakeSheet& s = *screen_;
    QTest::mouseClick(s.cmdEdit, Qt::LeftButton);
    const QStringList before = stored(newHosp_);
    auto writes = [&] { return statements().filter(QRegularExpression("Save|Clear")); };

    // A number another patient holds: its owner is named, the box emptied and opened.
    const QString owner = hospital_.scalar("SELECT LastName + ', ' + FirstName + ' ' + MiddleName FROM PATIENT_DATA..tbMaster "
                                           "WHERE HospNum = '" + showcaseHosp_ + "'");
    s.txtCaseNo->setText(field("MSSNumber", showcaseHosp_));
    prompts_.expect("The CaseNumber already exists and is owned by " + owner);
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_EQ(prompts_.shown().last().title, "Message");
    EXPECT_EQ(s.txtCaseNo->text(), "");
    EXPECT_TRUE(s.txtCaseNo->isEnabled());
    EXPECT_TRUE(s.caseNumberConflict());
    EXPECT_TRUE(writes().isEmpty());
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_FALSE(s.txtCaseNo->text().isEmpty()) << "the next Save fetches a new number";

    // No civil status.
    type(s.cboCivilStatus, "");
    prompts_.expect("Civil Status is Missing.");
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_FALSE(s.caseNumberConflict());
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Exclamation);
    s.cboCivilStatus->setCurrentIndex(0);

    // A complete member below a partly filled one is not lost: the row is named.
    clickCell(1, 0);
    typeMember({"ONE", "SON", "9", "SINGLE", "GRADE 3", "HOME", "NONE", "0"});
    QTest::keyClicks(grid()->txtFlxg, "TWO");
    QTest::keyClick(grid()->txtFlxg, Qt::Key_Return);
    clickCell(2, 7);
    QTest::keyClicks(grid()->txtFlxg, "10");
    prompts_.expect("Family Composition, row 2: Relationship is empty. Complete the row or clear it.");
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_TRUE(writes().isEmpty());
    for (int c = 6; c >= 0; --c) {
        clickCell(2, c);
        if (c != FamilyGrid::kCivilStatus) grid()->txtFlxg->clear();
    }
    clickCell(2, 7);
    grid()->txtFlxg->clear();
    grid()->cmbFlx->setEditText("");
    clickCell(3, 0);

    // A rating box whose text gives no id.
    type(s.ratings->cmbCopingIndex[20], "some text");
    const QString refusal = s.ratings->CheckRatings();
    ASSERT_FALSE(refusal.isEmpty());
    prompts_.expect(refusal);
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_TRUE(writes().isEmpty());
    type(s.ratings->cmbCopingIndex[20], "");

    // No at the question.
    prompts_.expect("Are you sure you want to save the changes?", ui::Answer::No);
    QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_TRUE(screenOpen());
    EXPECT_EQ(stored(newHosp_), before);

    // With the empty rows left at the bottom, the one member is stored.
    prompts_.expect("Are you sure you want to save the changes?", ui::Answer::Yes);
    prompts_.expect("Record of *");
    QTest::mouseClick(s.cmdSavePrint, Qt::LeftButton);
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM MSS..tbMSSFamilyComposition WHERE HospNum = '" + newHosp_ + "'"), 1);
}

TEST_F(IntakeSheet, TheMemberGridMovesWithEnterAndTheArrows) {
    start();
    ASSERT_NE(open(newHosp_, newId_, "0"), nullptr);
    intake::frmIntakeSheet& s = *screen_;
    QTest::mouseClick(s.cmdEdit, Qt::LeftButton);
    clickCell(1, 0);
    QLineEdit* editor = grid()->txtFlxg;
    EXPECT_FALSE(editor->isHidden());
    QTest::keyClicks(editor, "LITO");
    EXPECT_EQ(grid()->cell(1, 0), "LITO") << "typing goes into the cell at once";
    QTest::keyClick(editor, Qt::Key_Right);
    EXPECT_EQ(grid()->Col(), 1);
    QTest::keyClick(editor, Qt::Key_Left);
    QTest::keyClick(editor, Qt::Key_Left);
    EXPECT_EQ(grid()->Col(), 0) << "nothing left of the first column";
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(grid()->Row(), 1) << "a single row: down goes nowhere";
    for (int c = 0; c < 3; ++c) QTest::keyClick(editor, Qt::Key_Right);
    EXPECT_EQ(grid()->Col(), 3);
    EXPECT_FALSE(grid()->cmbFlx->isHidden()) << "Civil Status is picked from its list";
    EXPECT_EQ(grid()->cmbFlx->count(), 5);
    QTest::keyClicks(grid()->cmbFlx->lineEdit(), "WIDOW");
    QTest::keyClick(grid()->cmbFlx->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(grid()->cell(1, 3), "WIDOW");
    EXPECT_EQ(grid()->Col(), 4);
    EXPECT_TRUE(grid()->cmbFlx->isHidden());
    for (int c = 4; c < 7; ++c) QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid()->Col(), 7);
    QTest::keyClicks(editor, "lots");
    prompts_.expect("Please Enter Numeric Values");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Information);
    EXPECT_EQ(grid()->cell(1, 7), "") << "the income is left empty";
    EXPECT_EQ(grid()->Rows(), 3);
    EXPECT_EQ(grid()->Row(), 2);
    QTest::keyClicks(editor, "NENA");
    QTest::keyClick(editor, Qt::Key_Up);
    EXPECT_EQ(grid()->Row(), 1);
    QTest::keyClick(editor, Qt::Key_Up);
    EXPECT_EQ(grid()->Row(), 1) << "nothing above the first member";
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(grid()->Row(), 2);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(grid()->Row(), 2) << "nothing below the last row";
    clickCell(1, 7);
    QTest::keyClicks(editor, "2500");
    clickCell(2, 7);
    QTest::keyClicks(editor, "1000.25");
    EXPECT_EQ(s.txtTotFamIncome->text(), "3500.25");
    QTest::mouseClick(s.cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(screenOpen()) << "Close asks nothing";
}

TEST_F(IntakeSheet, TheRegistryFillFollowsThePatientType) {
    start();
    // An emergency-room visit: the out-patient fill and the ER accommodation.
    const QString er = hospital_.scalar("SELECT TOP 1 o.IdNum FROM PATIENT_DATA..tbOutPatient o JOIN PATIENT_DATA..tbERMaster r "
                                        "ON r.IdNum = o.IdNum WHERE NOT EXISTS (SELECT 1 FROM MSS..tbMSSIntakeSheet s "
                                        "WHERE s.HospNum = o.HospNum) ORDER BY o.IdNum");
    const QString erHosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '" + er + "'");
    ASSERT_NE(open(erHosp, er.toLower(), "2", "ER1"), nullptr);
    EXPECT_EQ(screen_->txtHospitalNo->text(), erHosp);
    EXPECT_EQ(screen_->txtWard->text(), "OPD");
    EXPECT_FALSE(screen_->txtAdmissionDate->text().isEmpty());
    EXPECT_EQ(screen_->cboAccomodation->currentText(), "ER PATIENT");
    QTest::mouseClick(screen_->cmdCancel, Qt::LeftButton);
    ASSERT_FALSE(screenOpen());

    ASSERT_NE(open(erHosp, er, "1"), nullptr);
    EXPECT_EQ(screen_->cboAccomodation->currentText(), "OUTPATIENT");
    QTest::mouseClick(screen_->cmdCancel, Qt::LeftButton);
    ASSERT_FALSE(screenOpen());

    // MSS patients get no registry fill: the loads by the sheet's box find nothing.
    ASSERT_NE(open(showcaseHosp_, showcaseId_, "5"), nullptr);
    EXPECT_EQ(screen_->txtHospitalNo->text(), "");
    EXPECT_EQ(screen_->txtOtherSectorial->text(), "");
    EXPECT_EQ(screen_->cboAccomodation->currentText(), "INPATIENT");
    EXPECT_FALSE(screen_->ratings->cmbSocialInteraction[0]->currentText().isEmpty()) << "the ratings load by the selection";
}

}  // namespace
