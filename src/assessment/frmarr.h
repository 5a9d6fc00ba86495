#pragma once
// "Assessment and Referral entry": the department's main working screen. A social worker
// opens it for one admission, sees the classification in force and records or renews the
// assessment. Layout here; loading and the patient checks in arrload.cpp; saving and
// printing in arrsave.cpp.
#include "assessment/arrqueries.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace mss::db { class Recordset; }

namespace mss::assessment {

class frmARR : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString HospNum MEMBER HospNum)
    Q_PROPERTY(QString IDNUM MEMBER IDNUM)

public:
    explicit frmARR(QWidget* parent = nullptr);
    ~frmARR() override;

    // Set by the caller before Load.
    QString HospNum;
    QString IDNUM;

    // Fills the lists, checks the patient's type and loads the assessment. Failures are
    // untrapped: run it under ui::RunAction.
    void Load();

    // The sequence of both save buttons, the verification question answered; true when it
    // committed.
    bool Saved() const { return saved_; }
    // The assessing worker that a save sends, and the licence number printed.
    QString AssessingWorker() const { return worker_; }
    QString LicenseNumber() const { return licence_; }
    QString CaseStatusTag() const { return caseStatusTag_; }
    QString KeptServices() const { return services_; }
    QString KeptActivities() const { return activities_; }

    static constexpr int kCategoryOptions = 15;
    static constexpr int kDocuments = 18;
    static QString previousHeader();
    static QList<int> previousWidths();   // twips, fixed column first
    // Back colours of the CDF button, step by step; the last step is the button face.
    static QList<QColor> blinkColours();

    QLabel* lblTitle = nullptr;
    QLabel* lblSubTitle = nullptr;
    QLabel* lblHelp = nullptr;
    QLabel* lblInstruction = nullptr;
    QLabel* lblStatus = nullptr;

    QGroupBox* fraPatient = nullptr;
    QLineEdit* txtHospNum = nullptr;
    QLineEdit* txtLastname = nullptr;
    QLineEdit* txtFirstname = nullptr;
    QLineEdit* txtMiddleName = nullptr;
    QLineEdit* txtDoctor = nullptr;
    QLineEdit* txtIDNum = nullptr;
    QLineEdit* txtRoomID = nullptr;
    QLineEdit* txtMSSNum = nullptr;
    QComboBox* cboClassification = nullptr;
    QLabel* lblCode = nullptr;
    QLineEdit* mskIntake = nullptr;
    QLineEdit* mskRange1 = nullptr;
    QLineEdit* txtValidityDate = nullptr;
    QComboBox* cboactive = nullptr;
    QCheckBox* chkActive = nullptr;
    QComboBox* cboReferring = nullptr;

    QTabWidget* SSTab1 = nullptr;
    QGroupBox* fraTagging = nullptr;
    QPlainTextEdit* txtRemarks = nullptr;
    QLineEdit* txtNC = nullptr;
    QLineEdit* txtMSSW = nullptr;
    QPushButton* cmdSearch = nullptr;
    QCheckBox* chkPCSO = nullptr;
    QCheckBox* chkSponsor = nullptr;
    QCheckBox* chkSpecial = nullptr;
    QGroupBox* fraPCSO = nullptr;
    QList<QRadioButton*> optPCSO;
    QGroupBox* fmeService = nullptr;
    QListWidget* lstServices = nullptr;
    QPushButton* cmdService = nullptr;
    QPushButton* cmdCloseServices = nullptr;
    QGroupBox* fraCategoryList = nullptr;
    QListWidget* lstParentCategory = nullptr;
    QListWidget* lstCategory = nullptr;
    QGroupBox* fraCategory = nullptr;
    QList<QRadioButton*> optCategory;
    QGroupBox* frmactivity = nullptr;
    QListWidget* lstactivity = nullptr;
    QPushButton* cmdAddActivity = nullptr;
    QPushButton* cmdCloseActivity = nullptr;
    QGroupBox* fraDocumentation = nullptr;
    QGroupBox* fraReporting = nullptr;
    QList<QCheckBox*> chkdoc;

    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdRePrint = nullptr;
    QPushButton* cmdTrans = nullptr;
    QPushButton* cmdViewCDF = nullptr;
    QPushButton* cmdClose = nullptr;
    QTimer* tmrCDF = nullptr;

signals:
    // "View CDF Allocation" while billing reports a sponsor: the patient as the screen holds it.
    void viewCDFAllocation(const QString& hospNum, const QString& idNum, const QString& firstName,
                           const QString& lastName, const QString& mssNum);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPatientFrame(QWidget* parent);
    QWidget* buildCategoryTab();
    QWidget* buildDocumentationTab();
    void wire();

    // arrload.cpp
    void fillLists();
    bool patientTypeCheck();
    bool changeToService();
    void fillPatientFields();
    void loadAssessmentRecord();
    void readRecord(const db::Recordset& rs);
    void selectStoredItems(const QString& category, const QString& parent, const QString& referring);
    void loadCaseHistory();
    void setStatus(const QString& text);
    void caseStatusLeft();
    void categoryClicked(QListWidgetItem* item);
    bool validityLeft();
    void counterpartChanged();
    void searchWorker();
    void showPrevious();
    void viewCDF();
    void blink();
    void pickServices();
    void pickActivities();
    void removeService(QListWidgetItem* item);

    // arrsave.cpp
    // False when the validity date stopped it; true once the verification was answered.
    bool save(bool forPrint);
    bool validityAccepted();
    void saveSequence();
    arr::AssessmentValues gather() const;
    void print();
    void reprint();
    void printTransactions();
    void printForm(const QString& title);

    QString recordWorker_;
    QString worker_;
    QString licence_;
    QString services_;
    QString activities_;
    QString caseStatusTag_;
    int blinkStep_ = 0;
    bool saved_ = false;
    bool checkingValidity_ = false;
};

// The File menu's "Assessment and Referal": the screen for the chosen admission, modal.
void AssessmentAndReferral(frmARR& screen, const QString& hospNum, const QString& idNum);

}  // namespace mss::assessment
