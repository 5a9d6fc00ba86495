#include "intake/frmintakesheet.h"
#include "intake/familygrid.h"
#include "intake/intakeparts.h"
#include "intake/ratings.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/frmemployeelisting.h"
#include "shell/dialogs/screenparts.h"
#include "shell/dialogs/workername.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mss::intake {

using namespace parts;

namespace {

QDateEdit* datePicker(const char* name, QWidget* parent) {
    auto* d = new QDateEdit(QDate::currentDate(), parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    return d;
}

QGroupBox* frame(const QString& title, const char* name, QWidget* parent) {
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

QCheckBox* check(const QString& text, const char* name, QWidget* parent) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

}  // namespace

frmIntakeSheet::frmIntakeSheet(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmIntakeSheet"));
    setWindowTitle(QStringLiteral("INTAKE SHEET"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    connect(cmdEdit, &QPushButton::clicked, this, [this] { edit(); });
    connect(cmdAll, &QPushButton::clicked, this, ui::Guarded([this] { lookUpWorker(); }));
    connect(cmdSave, &QPushButton::clicked, this, ui::Guarded([this] { save(); }));
    connect(cmdSavePrint, &QPushButton::clicked, this, ui::Guarded([this] { savePrint(); }));
    connect(cmdCancel, &QPushButton::clicked, this, [this] { closeScreen(); });
    connect(family, &FamilyGrid::totalChanged, this, [this] { Compute_Total(); });
    txtMSSW->installEventFilter(this);
}

frmIntakeSheet::~frmIntakeSheet() = default;

void frmIntakeSheet::buildControls() {
    auto* root = new QVBoxLayout(this);

    frmPatientInfo = frame(QStringLiteral("Patient's Information"), "frmPatientInfo", this);
    auto* info = new QGridLayout(frmPatientInfo);
    txtAdmissionDate = Box("txtAdmissionDate", frmPatientInfo);
    DTDateInterviewed = datePicker("DTDateInterviewed", frmPatientInfo);
    txtCaseNo = Box("txtCaseNo", frmPatientInfo);
    txtWard = Box("txtWard", frmPatientInfo);
    txtExpiry = datePicker("txtExpiry", frmPatientInfo);
    txtHospitalNo = Box("txtHospitalNo", frmPatientInfo);
    AddRow(info, 0, 0, QStringLiteral("Date of Admission"), txtAdmissionDate);
    AddRow(info, 0, 2, QStringLiteral("Date Interviewed "), DTDateInterviewed);
    AddRow(info, 0, 4, QStringLiteral("MSS No."), txtCaseNo);
    AddRow(info, 1, 0, QStringLiteral("Ward/ Room #"), txtWard);
    AddRow(info, 1, 2, QStringLiteral("Expiration Date:"), txtExpiry);
    AddRow(info, 1, 4, QStringLiteral("Hospital No."), txtHospitalNo);
    for (QWidget* never : {static_cast<QWidget*>(txtAdmissionDate), static_cast<QWidget*>(txtCaseNo),
                           static_cast<QWidget*>(txtWard), static_cast<QWidget*>(txtHospitalNo)})
        never->setEnabled(false);
    root->addWidget(frmPatientInfo);

    frmSourceReferral = frame(QStringLiteral("Source of Referral"), "frmSourceReferral", this);
    auto* referral = new QGridLayout(frmSourceReferral);
    cboReferringParty = DropDown("cboReferringParty", frmSourceReferral);
    txtReferredBy = Box("txtReferredBy", frmSourceReferral);
    txtRefferAd = Box("txtRefferAd", frmSourceReferral);
    txtReferringPartyContactNo = Box("txtReferringPartyContactNo", frmSourceReferral);
    AddRow(referral, 0, 0, QStringLiteral("Referring Party"), cboReferringParty);
    AddRow(referral, 0, 2, QStringLiteral("Referred by"), txtReferredBy);
    AddRow(referral, 1, 0, QStringLiteral("Referring Party Address "), txtRefferAd);
    AddRow(referral, 1, 2, QStringLiteral("Contact No."), txtReferringPartyContactNo);
    root->addWidget(frmSourceReferral);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildDemographicTab(), QStringLiteral("&I. Demographic Data"));
    SSTab1->addTab(buildFamilyTab(), QStringLiteral("Family Composition"));
    SSTab1->addTab(buildMedicalTab(), QStringLiteral("II. Medical Data"));
    auto* social = new QWidget(SSTab1);
    social->setObjectName(QStringLiteral("pageSocialFunctioning"));
    auto* environment = new QWidget(SSTab1);
    environment->setObjectName(QStringLiteral("pageEnvironmentProblems"));
    SSTab1->addTab(social, QStringLiteral("III.Assesmt of Soc Fxning"));
    SSTab1->addTab(environment, QStringLiteral("IV Problems in the Env"));
    ratings = new Ratings(social, environment);
    if (!ratings->parent()) ratings->setParent(this);
    root->addWidget(SSTab1, 1);

    auto* buttons = new QHBoxLayout;
    cmdEdit = ui::CommandButton(QStringLiteral("&Edit"), QStringLiteral("cmdEdit"), this);
    cmdSave = ui::CommandButton(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    cmdSave->setEnabled(false);
    cmdSavePrint = ui::CommandButton(QStringLiteral("Save/&Print"), QStringLiteral("cmdSavePrint"), this);
    cmdCancel = ui::CommandButton(QStringLiteral("&Close"), QStringLiteral("cmdCancel"), this);
    auto* note = new QLabel(QStringLiteral("NOTE : Click on the TABS above to Enter other relative data..."), this);
    note->setObjectName(QStringLiteral("lblNote"));
    buttons->addWidget(note, 1);
    for (QPushButton* b : {cmdEdit, cmdSave, cmdSavePrint, cmdCancel}) buttons->addWidget(b);
    root->addLayout(buttons);

    // Read-only until Edit: the frames, and the boxes that stand outside them.
    for (QWidget* w : {static_cast<QWidget*>(frmPatientInfo), static_cast<QWidget*>(frmSourceReferral)}) w->setEnabled(false);
}

QWidget* frmIntakeSheet::buildDemographicTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(ui::Heading(QStringLiteral("Demographic Data"), QString(), page, 1.2));

    auto* grid = new QGridLayout;
    txtLastname = Box("txtLastname", page);
    txtFirstname = Box("txtFirstname", page);
    txtMiddle = Box("txtMiddle", page);
    txtAge = Box("txtAge", page);
    cboSex = DropDown("cboSex", page);
    cboSex->addItems({QStringLiteral("Female"), QStringLiteral("Male")});
    cboSex->setCurrentIndex(-1);
    cboCivilStatus = DropDown("cboCivilStatus", page);
    cboReligion = DropDown("cboReligion", page);
    txtBirthdate = Box("txtBirthdate", page);
    txtBirthPlace = Box("txtBirthPlace", page);
    txtCompanionUponAdmission = Box("txtCompanionUponAdmission", page);
    txtPermanentAddress = Box("txtPermanentAddress", page);
    txtTemporaryAdd = Box("txtTemporaryAdd", page);
    txtMSSW = Box("txtMSSW", page);
    cmdAll = ui::CommandButton(QStringLiteral("..."), QStringLiteral("cmdAll"), page);
    cmdAll->setFixedWidth(32);
    AddRow(grid, 0, 0, QStringLiteral("Lastname"), txtLastname);
    AddRow(grid, 0, 2, QStringLiteral("Firstname"), txtFirstname);
    AddRow(grid, 0, 4, QStringLiteral("Middlename "), txtMiddle);
    AddRow(grid, 1, 0, QStringLiteral("Age "), txtAge);
    AddRow(grid, 1, 2, QStringLiteral("Sex"), cboSex);
    AddRow(grid, 1, 4, QStringLiteral("Civil Status"), cboCivilStatus);
    AddRow(grid, 2, 0, QStringLiteral("Religion"), cboReligion);
    AddRow(grid, 2, 2, QStringLiteral("Birth Date"), txtBirthdate);
    AddRow(grid, 2, 4, QStringLiteral("Birthplace"), txtBirthPlace);
    AddRow(grid, 3, 0, QStringLiteral("Companion Upon Admission"), txtCompanionUponAdmission, 5);
    AddRow(grid, 4, 0, QStringLiteral("Permanent Address"), txtPermanentAddress, 5);
    AddRow(grid, 5, 0, QStringLiteral("Temporary Address"), txtTemporaryAdd, 5);
    auto* worker = new QHBoxLayout;
    worker->addWidget(txtMSSW, 1);
    worker->addWidget(cmdAll);
    grid->addWidget(Caption(QStringLiteral("Medical Social Worker"), page), 6, 0);
    grid->addLayout(worker, 6, 1, 1, 5);
    layout->addLayout(grid);
    for (QWidget* w : std::initializer_list<QWidget*>{txtLastname, txtFirstname, txtMiddle, txtAge, cboSex, cboCivilStatus,
                                                      cboReligion, txtBirthdate, txtBirthPlace, txtCompanionUponAdmission,
                                                      txtPermanentAddress, txtTemporaryAdd, txtMSSW})
        w->setEnabled(false);

    auto* lower = new QHBoxLayout;
    frmDemo2 = frame(QString(), "frmDemo2", page);
    auto* d2 = new QGridLayout(frmDemo2);
    cboLivingArrangement = DropDown("cboLivingArrangement", frmDemo2);
    txtTelNo = Box("txtTelNo", frmDemo2);
    txtEducation = Box("txtEducation", frmDemo2);
    txtEmployer = Box("txtEmployer", frmDemo2);
    txtOccupation = Box("txtOccupation", frmDemo2);
    txtSalary = Box("txtSalary", frmDemo2);
    txtPerCapitaIncome = Box("txtPerCapitaIncome", frmDemo2);
    cboAccomodation = DropDown("cboAccomodation", frmDemo2);
    cboCategoryType = DropDown("cboCategoryType", frmDemo2);
    txtCategory = Box("txtCategory", frmDemo2);
    cmbCategory = DropDown("cmbCategory", frmDemo2);
    cboClassCode = DropDown("cboClassCode", frmDemo2);
    txtClassification = Box("txtClassification", frmDemo2);
    cboPhilhealthType = DropDown("cboPhilhealthType", frmDemo2);
    AddRow(d2, 0, 0, QStringLiteral("Kind of Living Arrangement: "), cboLivingArrangement, 3);
    AddRow(d2, 1, 0, QStringLiteral("Tel No.:"), txtTelNo);
    AddRow(d2, 1, 2, QStringLiteral("Education"), txtEducation);
    AddRow(d2, 2, 0, QStringLiteral("Employer"), txtEmployer);
    AddRow(d2, 2, 2, QStringLiteral("Occupation"), txtOccupation);
    AddRow(d2, 3, 0, QStringLiteral("Income"), txtSalary);
    AddRow(d2, 3, 2, QStringLiteral("Per Capita Income"), txtPerCapitaIncome);
    AddRow(d2, 4, 0, QStringLiteral("Accomodation"), cboAccomodation);
    AddRow(d2, 4, 2, QStringLiteral("Category"), cboCategoryType);
    d2->addWidget(txtCategory, 5, 1);
    d2->addWidget(cmbCategory, 5, 3);
    d2->addWidget(cboClassCode, 6, 1);
    d2->addWidget(txtClassification, 6, 3);
    AddRow(d2, 7, 0, QStringLiteral("PHILHEALTH"), cboPhilhealthType, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{cboAccomodation, cboCategoryType, txtCategory, cboClassCode, txtClassification})
        w->setEnabled(false);
    lower->addWidget(frmDemo2, 3);

    frmDemo3 = frame(QStringLiteral("OTHER SECTORAL MEMBERSHIP"), "frmDemo3", page);
    auto* d3 = new QGridLayout(frmDemo3);
    chkSeniorCitizen = check(QStringLiteral("Senior Citizen"), "chkSeniorCitizen", frmDemo3);
    chkBrgyOfficial = check(QStringLiteral("Brgy Official"), "chkBrgyOfficial", frmDemo3);
    chkBHW = check(QStringLiteral("BHW"), "chkBHW", frmDemo3);
    chkPWD = check(QStringLiteral("PWD"), "chkPWD", frmDemo3);
    chkIndigenous = check(QStringLiteral("Indigenous"), "chkIndigenous", frmDemo3);
    d3->addWidget(chkSeniorCitizen, 0, 0);
    d3->addWidget(chkBrgyOfficial, 0, 1);
    d3->addWidget(chkBHW, 1, 0);
    d3->addWidget(chkPWD, 1, 1);
    d3->addWidget(chkIndigenous, 2, 0);
    txtOtherSectorial = Box("txtOtherSectorial", frmDemo3);
    txtSourceInfo = Box("txtSourceInfo", frmDemo3);
    cboRelationship = DropDown("cboRelationship", frmDemo3);
    txtAdressOfInformant = Box("txtAdressOfInformant", frmDemo3);
    AddRow(d3, 3, 0, QStringLiteral("Others:"), txtOtherSectorial);
    AddRow(d3, 4, 0, QStringLiteral("Informant:"), txtSourceInfo);
    AddRow(d3, 5, 0, QStringLiteral("Relation To Patient:"), cboRelationship);
    AddRow(d3, 6, 0, QStringLiteral("Address of Informant:"), txtAdressOfInformant);
    lower->addWidget(frmDemo3, 2);
    layout->addLayout(lower);
    layout->addStretch();
    frmDemo2->setEnabled(false);
    frmDemo3->setEnabled(false);
    return page;
}

QWidget* frmIntakeSheet::buildFamilyTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    top->addWidget(ui::Heading(QStringLiteral("Family Compositon"), QString(), page, 1.2));
    top->addStretch();
    top->addWidget(Caption(QStringLiteral("Click the Button to ADD a Family Members."), page));
    cmdAdd = ui::CommandButton(QStringLiteral("&Add Members"), QStringLiteral("cmdAdd"), page);
    top->addWidget(cmdAdd);
    layout->addLayout(top);

    family = new FamilyGrid(page);
    family->FCFlexGrid->setEnabled(false);
    family->FCFlexGrid->setMinimumHeight(120);
    layout->addWidget(family->FCFlexGrid, 1);

    auto* income = new QGridLayout;
    txtTotFamIncome = Box("txtTotFamIncome", page);
    txtTotFamIncome->setEnabled(false);
    txtOtherIncomeSource = Box("txtOtherIncomeSource", page);
    txtOtherIncomeSource->setEnabled(false);
    AddRow(income, 0, 0, QStringLiteral("Total Family Income : "), txtTotFamIncome);
    AddRow(income, 0, 2, QStringLiteral("Other Sources of INCOM: Specify:"), txtOtherIncomeSource);
    layout->addLayout(income);

    frmMonthlyExpenses = buildMonthlyExpenses(page);
    frmMonthlyExpenses->setEnabled(false);
    layout->addWidget(frmMonthlyExpenses);
    return page;
}

QWidget* frmIntakeSheet::buildMedicalTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    frmMedicalData = frame(QString(), "frmMedicalData", page);
    auto* grid = new QGridLayout(frmMedicalData);
    grid->addWidget(ui::Heading(QStringLiteral("Medical  Data"), QString(), frmMedicalData, 1.2), 0, 0, 1, 2);
    txtAdmDiagnosis = Memo("txtAdmDiagnosis", frmMedicalData);
    txtFinalDiagnosis = Memo("txtFinalDiagnosis", frmMedicalData);
    txtDurationOfProb = Memo("txtDurationOfProb", frmMedicalData);
    txtPreviousTretment = Memo("txtPreviousTretment", frmMedicalData);
    txtPresentPlan = Memo("txtPresentPlan", frmMedicalData);
    AddRow(grid, 1, 0, QStringLiteral("Admitting Diagnosis:"), txtAdmDiagnosis);
    AddRow(grid, 2, 0, QStringLiteral("Final Diagnosis:"), txtFinalDiagnosis);
    AddRow(grid, 3, 0, QStringLiteral("Duration of Problem/ Symptoms "), txtDurationOfProb);
    AddRow(grid, 4, 0, QStringLiteral("Previous Treatment/ Duration"), txtPreviousTretment);
    AddRow(grid, 5, 0, QStringLiteral("Present Treatment Plan:"), txtPresentPlan);
    Frame7 = frame(QStringLiteral("Health Accessibility Problem "), "Frame7", frmMedicalData);
    auto* options = new QHBoxLayout(Frame7);
    opHA_0 = new QRadioButton(QStringLiteral("Not Available"), Frame7);
    opHA_0->setObjectName(QStringLiteral("opHA_0"));
    opHA_1 = new QRadioButton(QStringLiteral("Available"), Frame7);
    opHA_1->setObjectName(QStringLiteral("opHA_1"));
    options->addWidget(opHA_0);
    options->addWidget(opHA_1);
    options->addStretch();
    // Only shows the stored value: nothing enables it.
    Frame7->setEnabled(false);
    grid->addWidget(Frame7, 6, 0, 1, 2);
    frmMedicalData->setEnabled(false);
    layout->addWidget(frmMedicalData);
    return page;
}

void frmIntakeSheet::edit() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             cmdSave, frmPatientInfo, frmSourceReferral, frmDemo2, frmDemo3, frmMedicalData, frmMonthlyExpenses,
             txtLastname, txtFirstname, txtMiddle, cboReligion, cboCivilStatus, txtCompanionUponAdmission, txtBirthdate,
             txtAge, cboSex, txtBirthPlace, txtTemporaryAdd, txtPermanentAddress, cboCategoryType, cboAccomodation,
             txtOtherIncomeSource, cmdAll, cmdAdd, family->FCFlexGrid})
        w->setEnabled(true);
    ratings->setEditable(true);
}

ui::Answer frmIntakeSheet::PopMessage(const QString& prompt, ui::Buttons style, const QString& title) {
    return ui::MsgBox(prompt, ui::Icon::None, style, title);
}

void frmIntakeSheet::lookUpWorker() {
    dialogs::frmEmployeeListing lookup(this);
    ui::ShowModal(lookup);
    if (const auto name = dialogs::LookUpWorkerName(lookup.WorkerCode())) txtMSSW->setText(name->EmployeeName);
}

bool frmIntakeSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtMSSW && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && txtMSSW->text().isEmpty()) {
            ui::RunAction([this] { lookUpWorker(); });
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && txtMExpenses.contains(static_cast<QLineEdit*>(watched))) {
        // A message box or another window taking the focus is no leaving of the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !checkingExpenses_)
            ui::RunAction([this] { ComputeExpensesTotal(); });
    }
    return QWidget::eventFilter(watched, event);
}

void frmIntakeSheet::closeScreen() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->close();
    else close();
}

void frmIntakeSheet::closeEvent(QCloseEvent* event) {
    emit unloaded();
    QWidget::closeEvent(event);
}

}  // namespace mss::intake
