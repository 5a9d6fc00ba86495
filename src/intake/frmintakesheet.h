#pragma once
// The intake sheet: the socio-economic interview of the chosen patient on one tabbed screen,
// opened inside the main window. It fills itself from the registry and the stored sheet,
// starts read-only, is unlocked by Edit and writes the whole sheet back on Save.
#include "shell/dialogs/prompt.h"
#include "shell/session/patientselection.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace mss::intake {

class FamilyGrid;
struct FamilyMember;
class Ratings;

class frmIntakeSheet : public QWidget {
    Q_OBJECT
public:
    static constexpr int kExpenseBoxes = 24;

    explicit frmIntakeSheet(QWidget* parent = nullptr);
    ~frmIntakeSheet() override;

    // Opening on a patient: registry data, the stored sheet over it, then the lookup lists.
    void Load(const PatientSelection& patient);

    // The message box of the screen, for its confirmation.
    ui::Answer PopMessage(const QString& prompt, ui::Buttons style, const QString& title);
    // The monthly total from the 24 amount boxes; a box that is not a number is named and
    // keeps the focus, and the total stays as it was.
    void ComputeExpensesTotal();
    // The total family income: the sum of the member incomes.
    void Compute_Total();

    bool saved() const { return saved_; }
    bool caseNumberConflict() const { return caseConflict_; }
    double monthlyTotal() const { return monthlyTotal_; }

    QGroupBox* frmPatientInfo = nullptr;
    QLineEdit* txtAdmissionDate = nullptr;
    QDateEdit* DTDateInterviewed = nullptr;
    QLineEdit* txtCaseNo = nullptr;
    QLineEdit* txtWard = nullptr;
    QDateEdit* txtExpiry = nullptr;
    QLineEdit* txtHospitalNo = nullptr;

    QGroupBox* frmSourceReferral = nullptr;
    QComboBox* cboReferringParty = nullptr;
    QLineEdit* txtReferredBy = nullptr;
    QLineEdit* txtRefferAd = nullptr;
    QLineEdit* txtReferringPartyContactNo = nullptr;

    QTabWidget* SSTab1 = nullptr;
    QLineEdit* txtLastname = nullptr;
    QLineEdit* txtFirstname = nullptr;
    QLineEdit* txtMiddle = nullptr;
    QLineEdit* txtAge = nullptr;
    QComboBox* cboSex = nullptr;
    QComboBox* cboCivilStatus = nullptr;
    QComboBox* cboReligion = nullptr;
    QLineEdit* txtBirthdate = nullptr;
    QLineEdit* txtBirthPlace = nullptr;
    QLineEdit* txtCompanionUponAdmission = nullptr;
    QLineEdit* txtPermanentAddress = nullptr;
    QLineEdit* txtTemporaryAdd = nullptr;
    QLineEdit* txtMSSW = nullptr;
    QPushButton* cmdAll = nullptr;

    QGroupBox* frmDemo2 = nullptr;
    QComboBox* cboLivingArrangement = nullptr;
    QLineEdit* txtTelNo = nullptr;
    QLineEdit* txtEducation = nullptr;
    QLineEdit* txtEmployer = nullptr;
    QLineEdit* txtOccupation = nullptr;
    QLineEdit* txtSalary = nullptr;
    QLineEdit* txtPerCapitaIncome = nullptr;
    QComboBox* cboAccomodation = nullptr;
    QComboBox* cboCategoryType = nullptr;
    QLineEdit* txtCategory = nullptr;
    QComboBox* cmbCategory = nullptr;
    QComboBox* cboClassCode = nullptr;
    QLineEdit* txtClassification = nullptr;
    QComboBox* cboPhilhealthType = nullptr;

    QGroupBox* frmDemo3 = nullptr;
    QCheckBox* chkSeniorCitizen = nullptr;
    QCheckBox* chkBrgyOfficial = nullptr;
    QCheckBox* chkBHW = nullptr;
    QCheckBox* chkPWD = nullptr;
    QCheckBox* chkIndigenous = nullptr;
    QLineEdit* txtOtherSectorial = nullptr;
    QLineEdit* txtSourceInfo = nullptr;
    QComboBox* cboRelationship = nullptr;
    QLineEdit* txtAdressOfInformant = nullptr;

    FamilyGrid* family = nullptr;   // FCFlexGrid with its editors txtFlxg and cmbFlx
    QLineEdit* txtTotFamIncome = nullptr;
    QLineEdit* txtOtherIncomeSource = nullptr;
    QPushButton* cmdAdd = nullptr;

    QGroupBox* frmMonthlyExpenses = nullptr;
    QList<QLineEdit*> txtMExpenses;   // txtMExpenses_0 ... txtMExpenses_23
    QLineEdit* txtOthers = nullptr;
    QLineEdit* txtTotalMonthlyExpenditure = nullptr;

    QGroupBox* frmMedicalData = nullptr;
    QPlainTextEdit* txtAdmDiagnosis = nullptr;
    QPlainTextEdit* txtFinalDiagnosis = nullptr;
    QPlainTextEdit* txtDurationOfProb = nullptr;
    QPlainTextEdit* txtPreviousTretment = nullptr;
    QPlainTextEdit* txtPresentPlan = nullptr;
    QGroupBox* Frame7 = nullptr;
    QRadioButton* opHA_0 = nullptr;   // "Not Available"
    QRadioButton* opHA_1 = nullptr;   // "Available"

    Ratings* ratings = nullptr;       // the social functioning and environment problem tabs

    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdSavePrint = nullptr;
    QPushButton* cmdCancel = nullptr;

signals:
    // The screen is closing.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (frmintakesheet.cpp, expenses.cpp).
    void buildControls();
    QWidget* buildDemographicTab();
    QWidget* buildFamilyTab();
    QGroupBox* buildMonthlyExpenses(QWidget* parent);
    QWidget* buildMedicalTab();
    void edit();
    void lookUpWorker();
    void closeScreen();

    // Opening (intakeload.cpp).
    void classificationSearch();
    bool fillPatient();
    void inPatientFill();
    void outPatientFill();
    void fillFromRegistry();
    void setAccomodation();
    void loadHeader();
    void Load_IntakeSheet();
    void Load_OtherPatientInfo();
    void Load_FamilyComposition();
    void Load_MonthlyExpenses();
    void FillLookupLists();

    // Saving (intakesave.cpp).
    void save();
    void savePrint();
    QString GetNewMSSNumber();
    bool caseNumberOwnedByAnother();
    // The family rows and ratings checked before anything is written.
    bool sectionsReady(QList<FamilyMember>* members);
    void writeSheet(const QDate& interviewed, const QList<FamilyMember>& members);
    QStringList intakeSheetArgs(const QDate& interviewed) const;
    QStringList otherPatientInfoArgs() const;
    QStringList patientDataArgs(const QDate& interviewed) const;
    void Save_FamilyComposition(const QList<FamilyMember>& members);
    void Save_MonthlyExpenses();

    PatientSelection patient_;
    double monthlyTotal_ = 0;
    bool saved_ = false;
    bool caseConflict_ = false;
    bool checkingExpenses_ = false;
};

}  // namespace mss::intake
