// Opening the intake sheet: the classification search, the registry fills, the stored
// sheet loaded over them, and the lookup lists last.
#include "intake/familygrid.h"
#include "intake/frmintakesheet.h"
#include "intake/intakeparts.h"
#include "intake/intakequeries.h"
#include "intake/ratings.h"
#include "patient/clspatientsearch.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace mss::intake {

using text::AsText;

namespace {

QString text(const db::Recordset& rs, const char* column) { return db::FieldText(rs, QString::fromLatin1(column)); }
QString direct(const db::Recordset& rs, const char* column) { return AsText(rs.Value(QString::fromLatin1(column))); }

// A stored date read as text: an empty one leaves the picker as it is.
void setDate(QDateEdit* picker, const QString& stored) {
    if (stored.isEmpty()) return;
    picker->setDate(text::AsDate(stored).date());
}

bool endsInB(const QString& idnum) { return idnum.endsWith(u'B', Qt::CaseInsensitive); }

}  // namespace

void frmIntakeSheet::Load(const PatientSelection& patient) {
    patient_ = patient;
    classificationSearch();
    family->SetUp();
    fillFromRegistry();
    setAccomodation();
    loadHeader();
    Load_IntakeSheet();
    Load_OtherPatientInfo();
    Load_FamilyComposition();
    Load_MonthlyExpenses();
    ratings->LoadSocialFunctioning(patient_.HospNum);
    ratings->LoadEnvironmentProblems(patient_.HospNum);
    FillLookupLists();
}

void frmIntakeSheet::classificationSearch() {
    db::Recordset rs;
    db::OpenQuery(rs, ClassificationSearchSql(patient_.IDNUM));
    if (rs.RecordCount() > 0) {
        txtClassification->setText(direct(rs, "Classification"));
        cboClassCode->setEditText(direct(rs, "classificationid"));
        cmbCategory->setEditText(direct(rs, "category"));
        const QString id = text(rs, "categoryid");
        cmbCategory->setProperty("Tag", id.isEmpty() ? QStringLiteral("0") : id);
        txtCaseNo->setText(direct(rs, "MSS"));
    }
    rs.Close();
}

void frmIntakeSheet::fillFromRegistry() {
    const QString& type = patient_.PatientType;
    if (type == u"0") inPatientFill();
    else if (type == u"1") outPatientFill();
    else if (type == u"2" || type == u"3") endsInB(patient_.IDNUM) ? outPatientFill() : inPatientFill();
}

bool frmIntakeSheet::fillPatient() {
    components::RegistryPatientMaster* master = patient::PatientSearch().PatientMaster();
    if (!master->LoadPatient(patient_.HospNum)) return false;
    if (master->Sex == u"M") cboSex->setEditText(QStringLiteral("Male"));
    else if (master->Sex == u"F") cboSex->setEditText(QStringLiteral("Female"));
    DTDateInterviewed->setDate(QDate::currentDate());
    txtHospitalNo->setText(master->HospitalNumber);
    txtLastname->setText(master->LastName);
    txtFirstname->setText(master->FirstName);
    txtMiddle->setText(master->MiddleName);
    txtAge->setText(master->Age);
    cboReligion->setEditText(master->Religion.Description);
    cboCivilStatus->setEditText(master->CivilStatus.Description);
    txtOccupation->setText(master->Occupation);
    txtBirthdate->setText(master->BirthDate.isValid() ? text::DateMDY(master->BirthDate.date()) : QString());
    txtBirthPlace->setText(master->BirthPlace);
    txtEmployer->setText(master->Employer);
    return true;
}

void frmIntakeSheet::inPatientFill() {
    fillPatient();
    patient::clsPatientSearch& registry = patient::PatientSearch();
    if (registry.ValidateAdmission(patient_.IDNUM, QString())) {
        components::RegistryAdmission* admission = registry.Admission();
        txtAdmissionDate->setText(admission->AdmissionDate.isValid() ? text::DateMDY(admission->AdmissionDate.date()) : QString());
        txtWard->setText(admission->Room.RoomID);
        txtReferredBy->setText(admission->ReferringDoctor);
        txtAdmDiagnosis->setPlainText(admission->History.AdmittingDiagnosis);
        txtFinalDiagnosis->setPlainText(admission->History.AdmittingDiagnosis);
    }
}

void frmIntakeSheet::outPatientFill() {
    if (fillPatient()) txtTelNo->setText(patient::PatientSearch().PatientMaster()->TelNumber);
    db::Recordset rs;
    db::OpenQuery(rs, RegisteredOPDSql(patient_.IDNUM));
    if (rs.RecordCount() > 0) {
        txtAdmissionDate->setText(text::DateMDY(text::AsDate(rs.Value(QStringLiteral("AdmDate"))).date()));
        txtWard->setText(QStringLiteral("OPD"));
    }
    rs.Close();
}

void frmIntakeSheet::setAccomodation() {
    if (endsInB(patient_.IDNUM))
        cboAccomodation->setEditText(patient_.ERNum.isEmpty() ? QStringLiteral("OUTPATIENT") : QStringLiteral("ER PATIENT"));
    else
        cboAccomodation->setEditText(QStringLiteral("INPATIENT"));
}

void frmIntakeSheet::loadHeader() {
    db::Recordset rs;
    db::OpenQuery(rs, IntakeHeaderSql(txtHospitalNo->text()));
    if (rs.RecordCount() > 0) {
        txtExpiry->setDate(text::AsDate(rs.Value(QStringLiteral("ExpiryDate"))).date());
        cboReferringParty->setProperty("Tag", direct(rs, "refpartyid"));
        cboReferringParty->setEditText(direct(rs, "ReferringParty"));
        cmbCategory->setEditText(direct(rs, "categoryDescription"));
        cmbCategory->setProperty("Tag", direct(rs, "CategoryNum"));
    }
    rs.Close();
}

void frmIntakeSheet::Load_IntakeSheet() {
    db::Recordset rs;
    db::OpenQuery(rs, IntakeSheetSql(txtHospitalNo->text()));
    if (rs.RecordCount() > 0) {
        const std::pair<QCheckBox*, const char*> sectors[] = {{chkSeniorCitizen, "SenCitizen"}, {chkBrgyOfficial, "brgyOfficial"},
                                                              {chkBHW, "BHW"}, {chkPWD, "PWD"}, {chkIndigenous, "Indigenous"}};
        for (const auto& [box, column] : sectors) box->setChecked(direct(rs, column) == u"1");
        txtMSSW->setText(text(rs, "MSSW"));
        txtCaseNo->setText(text(rs, "MSSNumber"));
        setDate(txtExpiry, text(rs, "ExpiryDate"));
        setDate(DTDateInterviewed, text(rs, "InterviewDate"));
        txtEducation->setText(text(rs, "Education"));
        cmbCategory->setEditText(text(rs, "categoryDescription"));
        txtCategory->setText(text(rs, "categoryDescription"));
        txtClassification->setText(text(rs, "ClassificationDescription"));
        txtSalary->setText(text(rs, "Salary"));
        txtSourceInfo->setText(text(rs, "InfoSource"));
        cboReferringParty->setEditText(text(rs, "ReferringParty"));
        txtReferredBy->setText(text(rs, "ReferredBy"));
        txtRefferAd->setText(text(rs, "ReferralAddress"));
        txtTemporaryAdd->setText(text(rs, "TemporaryAddress"));
        txtPermanentAddress->setText(text(rs, "PermanentAddress"));
        txtOtherSectorial->setText(text(rs, "OtherSectorialMembership"));
        cboClassCode->setEditText(direct(rs, "classCode"));
    }
    rs.Close();
}

void frmIntakeSheet::Load_OtherPatientInfo() {
    db::Recordset rs;
    db::OpenQuery(rs, OtherPatientInfoSql(txtHospitalNo->text()));
    if (rs.RecordCount() > 0) {
        cboReferringParty->setEditText(text(rs, "ReferringParty"));
        txtReferredBy->setText(text(rs, "ReferredBy"));
        txtReferringPartyContactNo->setText(text(rs, "ReferringPartyContactNo"));
        txtRefferAd->setText(text(rs, "ReferralAddress"));
        txtSourceInfo->setText(text(rs, "InfoSource"));
        txtCompanionUponAdmission->setText(text(rs, "CompanionUponAdmission"));
        txtPerCapitaIncome->setText(text(rs, "PerCapitaIncome"));
        cboLivingArrangement->setEditText(text(rs, "LivingArrangement"));
        cboRelationship->setEditText(text(rs, "RelationToPatient"));
        txtAdressOfInformant->setText(text(rs, "AddressOfInformant"));
        txtFinalDiagnosis->setPlainText(text(rs, "FinalDiagnosis"));
        txtDurationOfProb->setPlainText(text(rs, "ProbSympDuration"));
        txtPreviousTretment->setPlainText(text(rs, "PrevTretmentDuration"));
        txtPresentPlan->setPlainText(text(rs, "PresentTreatmentPlan"));
        ratings->txtAssessment->setPlainText(text(rs, "Assessment"));
        ratings->txtRecommendedInterventions->setPlainText(text(rs, "RecommendedInterventions"));
        cboPhilhealthType->setEditText(text(rs, "PhilhealthType"));
        cboCategoryType->setEditText(text(rs, "CategoryType"));
        cboAccomodation->setEditText(text(rs, "Accomodation"));
        const QString access = direct(rs, "HealthAccessibility");
        opHA_0->setChecked(access == u"Not Available");
        opHA_1->setChecked(access == u"Available");
    }
    rs.Close();
}

void frmIntakeSheet::Load_FamilyComposition() {
    db::Recordset rs;
    db::OpenQuery(rs, FamilyCompositionSql(txtHospitalNo->text()));
    if (rs.RecordCount() > 0) {
        txtTotFamIncome->setText(direct(rs, "TotalIncome"));
        family->Bind(rs);
        if (family->Rows() >= 2) cmdAdd->setEnabled(false);
    }
    rs.Close();
}

void frmIntakeSheet::Compute_Total() { txtTotFamIncome->setText(text::NumberText(family->Total())); }

void frmIntakeSheet::FillLookupLists() {
    auto fill = [this](const LookupList& list) {
        auto* box = findChild<QComboBox*>(QString::fromLatin1(list.box));
        Q_ASSERT(box);
        // The loaded text stays, whether or not the list holds it.
        const QString kept = box->currentText();
        box->addItems(parts::ListItems(QString::fromLatin1(list.sql), QString::fromLatin1(list.column)));
        box->setCurrentIndex(-1);
        box->setEditText(kept);
    };
    for (const LookupList& list : kListsBeforeRatings) fill(list);
    ratings->FillLists();
    for (const LookupList& list : kListsAfterRatings) fill(list);
}

}  // namespace mss::intake
