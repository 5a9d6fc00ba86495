// frmARR: loading, the patient-type checks and the smaller handlers.
#include "assessment/classhistoryqueries.h"
#include "assessment/codelist.h"
#include "assessment/frmarr.h"
#include "assessment/frmassessmentlist.h"
#include "assessment/pickcodes.h"
#include "shell/db/dbaccess.h"
#include "shell/db/error.h"
#include "shell/db/text.h"
#include "shell/dialogs/frmemployeelisting.h"
#include "shell/dialogs/prompt.h"
#include "shell/dialogs/workername.h"
#include "shell/session/session.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace mss::assessment {

using namespace arr;
using text::Trim;

namespace {

QString employeeCode() {
    return session().CurrentUser ? session().CurrentUser->employeecode() : QString();
}

// A stored date as the date boxes show it; today when there is none.
QString dateOrToday(const QString& stored) {
    const QDateTime dt = text::ParseDateTime(Trim(stored));
    return text::DateMDY(dt.isValid() ? dt.date() : QDate::currentDate());
}

// The id at the far end of an item's text.
QString tailId(const QString& itemText) { return Trim(itemText.right(2)); }

void uncheckAll(const QList<QRadioButton*>& options) {
    QButtonGroup* group = options.value(0) ? options.value(0)->group() : nullptr;
    if (group) group->setExclusive(false);
    for (QRadioButton* o : options) o->setChecked(false);
    if (group) group->setExclusive(true);
}

}  // namespace

void frmARR::Load() {
    fillLists();
    db::Recordset rs;
    db::OpenQuery(rs, MasterNumberSql(HospNum));
    const bool found = !rs.Eof();
    const bool noNumber = found && db::FieldText(rs, "MSSNum").isEmpty() && db::FieldText(rs, "MSSDiscountValidity").isEmpty();
    rs.Close();
    if (found && noNumber && !patientTypeCheck()) {
        ui::MsgBox("Change to Patient type to service before classifiying", ui::Icon::Information, ui::Buttons::Ok,
                   "Message");
        return;
    }
    if (found && !noNumber) loadAssessmentRecord();
    if (db::CheckCompany(Trim(txtIDNum->text())))
        tmrCDF->start();
    else
        tmrCDF->stop();
}

void frmARR::fillLists() {
    db::Recordset rs;
    auto fill = [&](const QString& sql, auto item) {
        db::OpenQuery(rs, sql);
        QStringList items;
        for (; !rs.Eof(); rs.MoveNext()) items << item();
        rs.Close();
        return items;
    };
    cboClassification->clear();
    cboClassification->addItems(fill(ClassificationListSql(), [&] {
        return db::FieldText(rs, "Code") + " -" + db::FieldText(rs, "Classification");
    }));
    cboClassification->setCurrentIndex(-1);
    cboReferring->clear();
    cboReferring->addItems(fill(ReferringListSql(), [&] {
        return db::FieldText(rs, "Code") + " -" + db::FieldText(rs, "ReferringParty");
    }));
    cboReferring->setCurrentIndex(-1);
    cboactive->clear();
    cboactive->addItems(fill(CaseStatusListSql(), [&] { return db::FieldText(rs, "CaseStatus"); }));
    cboactive->setCurrentIndex(-1);
    cboactive->setEditText(QString());
    const QString blanks(kCategoryPadding, u' ');
    lstParentCategory->clear();
    lstParentCategory->addItems(fill(ParentCategoryListSql(), [&] {
        return db::FieldText(rs, "parentcategory") + blanks + db::FieldText(rs, "parentcategoryid");
    }));
    lstCategory->clear();
    lstCategory->addItems(fill(CategoryListSql(), [&] {
        return db::FieldText(rs, "category") + blanks + db::FieldText(rs, "categoryid");
    }));
}

bool frmARR::patientTypeCheck() {
    db::Recordset rs;
    db::OpenQuery(rs, PatientClassSql(IDNUM));
    const QString patientClass = rs.Eof() ? QString() : db::FieldText(rs, "PatientClass");
    rs.Close();
    if (patientClass != "P") {
        db::OpenQuery(rs, MasterRowSql(HospNum));
        const bool expiry = !rs.Eof() && !Trim(db::FieldText(rs, "MSSDiscountExpiry")).isEmpty();
        rs.Close();
        if (expiry) {
            loadAssessmentRecord();
            return false;
        }
        ui::MsgBox("Patient does not have an intake sheet.", ui::Icon::Information, ui::Buttons::Ok, "Notification");
        setStatus("No MSS Number and Classification.");
        fillPatientFields();
        return true;
    }
    const ui::Answer answer = ui::MsgBox("PAY PATIENT: Does not have an intake sheet. \nWould you like to update patient "
                                         "type to SERVICE? ",
                                         ui::Icon::Question, ui::Buttons::YesNo, "Notification");
    if (answer != ui::Answer::Yes) return false;
    // A pay patient whose change failed is still a pay patient: no classification for him.
    if (!changeToService()) return false;
    setStatus("Pay to Service Patient. Enter New MSS Number and MSS Classfication.");
    fillPatientFields();
    return true;
}

bool frmARR::changeToService() {
    try {
        // The admission's class and its history change together or not at all.
        db::InTransaction([this] {
            for (const ClassTable& table : ClassTables(IDNUM)) {
                db::Recordset rs;
                db::OpenQuery(rs, table.sql, db::LockType::Optimistic);
                if (!rs.Eof()) {
                    QString letter = db::FieldText(rs, table.column);
                    if (letter.isEmpty()) letter = "P";
                    if (letter.startsWith('P')) {
                        rs.SetValue(table.column, "S");
                        rs.Update();
                    }
                }
                rs.Close();
                db::CheckConnectionErrors();
            }
            db::ExecuteCommand(classhistory::ChangeClassSql(IDNUM, "S", employeeCode()));
            db::CheckConnectionErrors();
        });
        return true;
    } catch (const db::Failure& failure) {
        ui::MsgBox(NotSavedText(failure.Number, failure.Description), ui::Icon::Critical, ui::Buttons::Ok, "Message");
        return false;
    }
}

void frmARR::fillPatientFields() {
    db::Recordset rs;
    db::OpenQuery(rs, PayPatientInfoSql(IDNUM));
    if (rs.Eof()) return;
    txtLastname->setText(db::FieldText(rs, "LastName"));
    txtFirstname->setText(db::FieldText(rs, "FirstName"));
    txtMiddleName->setText(db::FieldText(rs, "MiddleName"));
    txtHospNum->setText(db::FieldText(rs, "HospNum"));
    txtIDNum->setText(db::FieldText(rs, "IDNUM"));
    txtDoctor->setText(db::FieldText(rs, "DoctorName"));
    txtRoomID->setText(db::FieldText(rs, "RoomID"));
    rs.Close();
    txtMSSNum->setReadOnly(false);
    QPalette p = txtMSSNum->palette();
    p.setColor(QPalette::Base, QColor(222, 227, 248));
    txtMSSNum->setPalette(p);
}

void frmARR::loadAssessmentRecord() {
    db::Recordset rs;
    db::OpenQuery(rs, AssessmentRecordSql(IDNUM));
    if (rs.Eof()) {
        ui::MsgBox("Patient is not existing in the database.Try to search again.", ui::Icon::Information,
                   ui::Buttons::Ok, "Message");
        return;
    }
    readRecord(rs);
    rs.Close();
    if (Trim(txtMSSNum->text()).isEmpty()) {
        // A new MSS number is to be entered; the save checks it.
        txtMSSNum->setReadOnly(false);
        txtMSSNum->setEnabled(true);
    }
    loadCaseHistory();
    RebuildList(*lstServices, Catalogue::Service, services_, kAssessmentPadding);
    RebuildList(*lstactivity, Catalogue::Activity, activities_, kAssessmentPadding);
    // What the lists show is what a save sends: codes the catalogue no longer knows are gone.
    services_ = CodeListOf(*lstServices);
    activities_ = CodeListOf(*lstactivity);
    fmeService->show();
    frmactivity->show();
}

void frmARR::readRecord(const db::Recordset& rs) {
    auto field = [&](const char* name) { return db::FieldText(rs, QString::fromLatin1(name)); };
    txtLastname->setText(field("LastName"));
    txtFirstname->setText(field("FirstName"));
    txtMiddleName->setText(field("MiddleName"));
    txtHospNum->setText(field("HospNum"));
    txtIDNum->setText(field("IDNUM"));
    txtMSSNum->setText(field("MSSNum"));
    txtDoctor->setText(field("DoctorName"));
    txtRoomID->setText(field("RoomID"));
    mskIntake->setText(dateOrToday(field("MSSDiscountValidity")));
    txtValidityDate->setText(field("MSSDiscountValidity"));
    const QString expiry = field("MSSDiscountExpiry");
    mskRange1->setText(dateOrToday(expiry));
    txtMSSW->setText(field("MSSWName"));
    recordWorker_ = field("MSSW");
    worker_ = recordWorker_;
    txtNC->setText(field("NC"));
    txtRemarks->setPlainText(field("REMARKS"));
    lblCode->setText(field("Code"));
    if (field("Code").isEmpty() && !txtMSSNum->text().isEmpty()) {
        const QDateTime until = text::ParseDateTime(Trim(expiry));
        setStatus("Classification has expired " + (until.isValid() ? text::GeneralDate(until) : expiry));
    }
    const QString pcsoType = field("pcsotype");
    uncheckAll(optPCSO);
    if (pcsoType == "E") optPCSO[0]->setChecked(true);
    if (pcsoType == "G") optPCSO[1]->setChecked(true);
    if (pcsoType == "C") optPCSO[2]->setChecked(true);
    selectStoredItems(field("CaseCategory"), field("parentcategory"), field("ReferringPartyID"));
    chkSponsor->setChecked(FlagSet(field("IsCDF")));
    chkPCSO->setChecked(FlagSet(field("IsPCSO")));
    chkSpecial->setChecked(FlagSet(field("IsSpecial")));
    services_ = field("serviceid");
}

void frmARR::selectStoredItems(const QString& category, const QString& parent, const QString& referring) {
    const QString code = Trim(lblCode->text());
    for (int i = 0; i < cboClassification->count(); ++i)
        if (Trim(cboClassification->itemText(i).left(2)) == code) cboClassification->setCurrentIndex(i);
    for (int i = 0; i < lstCategory->count(); ++i)
        if (tailId(lstCategory->item(i)->text()) == Trim(category)) lstCategory->item(i)->setSelected(true);
    // The first parent category is never selected here, as the hospital's screen has it.
    for (int i = 1; i < lstParentCategory->count(); ++i)
        if (tailId(Trim(lstParentCategory->item(i)->text())) == Trim(parent)) lstParentCategory->item(i)->setSelected(true);
    for (int i = 0; i < cboReferring->count(); ++i)
        if (cboReferring->itemText(i).left(1) == Trim(referring)) cboReferring->setCurrentIndex(i);
}

void frmARR::loadCaseHistory() {
    db::Recordset rs;
    db::OpenQuery(rs, CaseHistorySql(HospNum, IDNUM));
    if (rs.Eof()) return;
    const QStringList docs = db::FieldText(rs, "docs").split('|');
    for (int i = 0; i < kDocuments; ++i) chkdoc[i]->setChecked(Trim(docs.value(i)) == "1");
    caseStatusTag_ = db::FieldText(rs, "casestatus");
    cboactive->setEditText(db::FieldText(rs, "casedesc"));
    activities_ = db::FieldText(rs, "activityid");
    chkActive->setChecked(Trim(db::FieldText(rs, "Active")) == "Y");
    rs.Close();
}

void frmARR::setStatus(const QString& text) { lblStatus->setText(text); }

void frmARR::caseStatusLeft() {
    db::Recordset rs;
    db::OpenQuery(rs, CaseStatusCodeSql(cboactive->currentText()));
    if (!rs.Eof()) caseStatusTag_ = db::FieldText(rs, "Code");
    rs.Close();
}

void frmARR::categoryClicked(QListWidgetItem* clicked) {
    const QString chosen = clicked->text();
    for (int i = 0; i < lstCategory->count(); ++i) lstCategory->item(i)->setSelected(lstCategory->item(i)->text() == chosen);
}

bool frmARR::validityLeft() {
    if (checkingValidity_) return true;
    checkingValidity_ = true;
    const QString typed = mskRange1->text();
    const QDateTime date = text::ParseDateTime(typed);
    bool ok = true;
    if (!date.isValid()) {
        ui::MsgBox("Invalid date " + typed + ".", ui::Icon::Critical);
        ok = false;
    } else if (date.date().year() > QDate::currentDate().year() + 2) {
        ok = ui::MsgBox(TwoYearsQuestion(), ui::Icon::Question, ui::Buttons::YesNo) == ui::Answer::Yes;
    }
    checkingValidity_ = false;
    return ok;
}

void frmARR::counterpartChanged() {
    if (text::IsNumeric(txtNC->text())) return;
    ui::MsgBox("Can't accept non-numeric values.", ui::Icon::Information, ui::Buttons::Ok, "Message");
    // Dropping a character changes the text again, which checks it again.
    if (!txtNC->text().isEmpty()) txtNC->setText(txtNC->text().chopped(1));
}

void frmARR::searchWorker() {
    dialogs::frmEmployeeListing lookup(this);
    ui::ShowModal(lookup);
    const QString code = lookup.WorkerCode();
    if (code.isEmpty()) return;
    worker_ = code;
    if (const auto name = dialogs::LookUpWorkerName(code)) {
        txtMSSW->setText(name->EmployeeName);
        licence_ = name->LicenseNumber;
    }
}

void frmARR::showPrevious() {
    db::Recordset rs;
    db::OpenQuery(rs, PreviousAssessmentsSql(txtHospNum->text()));
    if (rs.Eof()) return;
    frmAssessmentList list(this);
    list.Bind(rs);
    rs.Close();
    ui::ShowModal(list);
}

void frmARR::viewCDF() {
    if (tmrCDF->isActive()) {
        emit viewCDFAllocation(txtHospNum->text(), txtIDNum->text(), txtFirstname->text(), txtLastname->text(),
                               txtMSSNum->text());
        return;
    }
    ui::MsgBox("Patient has no CDF Allocation", ui::Icon::Information, ui::Buttons::Ok, "message");
}

void frmARR::blink() {
    const QList<QColor> colours = blinkColours();
    if (blinkStep_ < colours.size()) {
        QPalette p = cmdViewCDF->palette();
        const QColor c = colours[blinkStep_];
        p.setColor(QPalette::Button, c.isValid() ? c : palette().color(QPalette::Button));
        cmdViewCDF->setPalette(p);
    }
    blinkStep_ = (blinkStep_ + 1) % 8;
}

void frmARR::pickServices() {
    if (PickCodes(Catalogue::Service, *lstServices, services_, this)) fmeService->show();
}

void frmARR::pickActivities() {
    if (PickCodes(Catalogue::Activity, *lstactivity, activities_, this)) frmactivity->show();
}

void frmARR::removeService(QListWidgetItem* item) {
    RemoveItemsWithCode(*lstServices, ListItemCode(item->text()));
    // A service taken off the list is not saved with the assessment.
    services_ = CodeListOf(*lstServices);
}

}  // namespace mss::assessment
