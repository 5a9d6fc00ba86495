#include "assessment/frmarr.h"
#include "shell/db/text.h"
#include "shell/dialogs/screenparts.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace mss::assessment {

using ui::CommandButton;
using ui::Frame;
using ui::Heading;

namespace {

template <typename W>
W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* lockedBox(const QString& name, QWidget* parent) {
    auto* box = named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    return box;
}

QLineEdit* dateBox(const QString& name, QWidget* parent) {
    auto* box = named(new QLineEdit(parent), name);
    box->setInputMask("99/99/9999");
    return box;
}

QListWidget* multiList(const QString& name, QWidget* parent) {
    auto* list = named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    // The id at the far end of an item stays out of sight.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

const char* const kCategoryCaptions[] = {"Medical", "Post-Transplant", "Peritoneal Dialysis", "Others", "Donor Work-Up",
                                         "Donor Nephrectomy", "Surgical", "Transplant", "Urology/Vascular/GS",
                                         "Out-Patient", "Hemodialysis", "Post Transplant", "ER", "Nephrology",
                                         "Pedia Nephro."};

const char* const kDocumentCaptions[] = {"Intake Sheet", "Patients Profile", "Registration Logbook", "Service Card",
                                         "Patients Data Card", "Transfer Summary", "Closing Summary",
                                         "Groupwork Recording", "Eligibility Study Report", "Social Case Study Report",
                                         "Home Visit Report", "Work Plan", "Daily Accomplishment ",
                                         "Monthly Census of Cases", "FeedBack", "Annual Report", "Progress Note",
                                         "Others"};

}  // namespace

QString frmARR::previousHeader() {
    return " | Adm. Num. | Code | Classification | Category | AssessDate | Remarks | ExpiryDate  ";
}

QList<int> frmARR::previousWidths() { return {100, 1050, 850, 1200, 1200, 1900, 3000, 1200}; }

QList<QColor> frmARR::blinkColours() {
    return {QColor(255, 255, 164), QColor(255, 255, 179), QColor(255, 255, 225), QColor(255, 255, 200),
            QColor(251, 253, 179), QColor(255, 255, 225), QColor()};
}

frmARR::frmARR(QWidget* parent) : QDialog(parent) {
    setObjectName("frmARR");
    setWindowTitle(" Medical Social Service Division");
    auto* root = new QVBoxLayout(this);

    auto* headings = new QHBoxLayout;
    auto* titles = new QVBoxLayout;
    lblTitle = Heading("Assessment and Referral ", "lblTitle", this, 1.6);
    lblSubTitle = Heading("Assessment and Referral entry", "lblSubTitle", this, 1.1);
    titles->addWidget(lblTitle);
    titles->addWidget(lblSubTitle);
    headings->addLayout(titles);
    headings->addStretch();
    lblInstruction = named(new QLabel("1. Click the button Previous Assessments to view the history of assessments entered.\n"
                                      "2. If the CDF Allocation button is blinking, click on it to view the fund.\n"
                                      "3. To remove services, double-click on the list box.",
                                      this),
                           "lblInstruction");
    headings->addWidget(lblInstruction);
    root->addLayout(headings);

    buildPatientFrame(this);
    root->addWidget(fraPatient);

    SSTab1 = named(new QTabWidget(this), "SSTab1");
    SSTab1->addTab(buildCategoryTab(), "*CATEGORY AND SERVICES");
    SSTab1->addTab(buildDocumentationTab(), "DOCUMENTATION");
    root->addWidget(SSTab1, 1);

    auto* status = new QHBoxLayout;
    lblStatus = named(new QLabel("Status", this), "lblStatus");
    QFont bold = lblStatus->font();
    bold.setBold(true);
    lblStatus->setFont(bold);
    lblHelp = named(new QLabel("***Press F1 for Help", this), "lblHelp");
    status->addWidget(lblStatus, 1);
    status->addWidget(lblHelp);
    root->addLayout(status);

    auto* buttons = new QHBoxLayout;
    cmdPrevious = CommandButton("&Previous Assessments", "cmdPrevious", this);
    cmdViewCDF = CommandButton("&View CDF Allocation", "cmdViewCDF", this);
    cmdSave = CommandButton("&Save", "cmdSave", this);
    cmdPrint = CommandButton("Save/&Print", "cmdPrint", this);
    cmdRePrint = CommandButton("&RePrint", "cmdRePrint", this);
    cmdTrans = CommandButton("View ARR &Transactions", "cmdTrans", this);
    cmdClose = CommandButton("&Close", "cmdClose", this);
    for (QPushButton* b : {cmdPrevious, cmdViewCDF}) buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {cmdSave, cmdPrint, cmdRePrint, cmdTrans, cmdClose}) buttons->addWidget(b);
    root->addLayout(buttons);

    tmrCDF = named(new QTimer(this), "tmrCDF");
    tmrCDF->setInterval(100);
    wire();
    // Wide enough that the name and number boxes show whole values.
    resize(sizeHint().expandedTo(QSize(text::TwipsToPixels(15700), text::TwipsToPixels(10650))));
}

frmARR::~frmARR() = default;

void frmARR::buildPatientFrame(QWidget* parent) {
    fraPatient = Frame("Patient's Information", "fraPatient", parent);
    auto* grid = new QGridLayout(fraPatient);
    auto label = [&](const QString& text, int row, int col) {
        grid->addWidget(new QLabel(text, fraPatient), row, col);
    };
    txtHospNum = lockedBox("txtHospNum", fraPatient);
    txtLastname = lockedBox("txtLastname", fraPatient);
    txtFirstname = lockedBox("txtFirstname", fraPatient);
    txtMiddleName = lockedBox("txtMiddleName", fraPatient);
    txtDoctor = lockedBox("txtDoctor", fraPatient);
    txtIDNum = lockedBox("txtIDNum", fraPatient);
    txtRoomID = lockedBox("txtRoomID", fraPatient);
    txtMSSNum = lockedBox("txtMSSNum", fraPatient);
    cboClassification = named(new QComboBox(fraPatient), "cboClassification");
    lblCode = named(new QLabel(fraPatient), "lblCode");
    lblCode->setMinimumWidth(30);
    mskIntake = dateBox("mskIntake", fraPatient);
    mskRange1 = dateBox("mskRange1", fraPatient);
    txtValidityDate = lockedBox("txtValidityDate", fraPatient);
    cboactive = named(new QComboBox(fraPatient), "cboactive");
    // A stored status the list no longer offers still shows.
    cboactive->setEditable(true);
    cboactive->setInsertPolicy(QComboBox::NoInsert);
    chkActive = named(new QCheckBox("&Active", fraPatient), "chkActive");
    cboReferring = named(new QComboBox(fraPatient), "cboReferring");

    label(" HOSP. NUM.", 0, 0);
    grid->addWidget(txtHospNum, 0, 1);
    label(" LASTNAME  ", 0, 2);
    grid->addWidget(txtLastname, 0, 3);
    label(" FIRSTNAME", 0, 4);
    grid->addWidget(txtFirstname, 0, 5);
    label(" MIDDLENAME", 0, 6);
    grid->addWidget(txtMiddleName, 0, 7, 1, 2);

    label(" ADM NUM.", 1, 0);
    grid->addWidget(txtIDNum, 1, 1);
    label(" ROOM NUM", 1, 2);
    grid->addWidget(txtRoomID, 1, 3);
    label(" DOCTOR", 1, 4);
    grid->addWidget(txtDoctor, 1, 5, 1, 4);

    label(" MSS NUM.", 2, 0);
    grid->addWidget(txtMSSNum, 2, 1);
    label(" CLASSIFICATION", 2, 2);
    grid->addWidget(cboClassification, 2, 3, 1, 2);
    grid->addWidget(lblCode, 2, 5);
    label(" Referring Party", 2, 6);
    grid->addWidget(cboReferring, 2, 7, 1, 2);

    label(" DT of INTAKE", 3, 0);
    grid->addWidget(mskIntake, 3, 1);
    label(" VALIDITY", 3, 2);
    grid->addWidget(mskRange1, 3, 3);
    grid->addWidget(txtValidityDate, 3, 4, 1, 2);
    label(" STATUS", 3, 6);
    grid->addWidget(cboactive, 3, 7);
    grid->addWidget(chkActive, 3, 8);
    for (int c : {1, 3, 5, 7}) grid->setColumnStretch(c, 1);
}

QWidget* frmARR::buildCategoryTab() {
    auto* page = new QWidget(this);
    auto* layout = new QGridLayout(page);

    fraTagging = Frame("Tagging/Remarks/Counterpart", "fraTagging", page);
    auto* tagging = new QGridLayout(fraTagging);
    tagging->addWidget(new QLabel("REMARKS", fraTagging), 0, 0);
    txtRemarks = named(new QPlainTextEdit(fraTagging), "txtRemarks");
    txtRemarks->setTabChangesFocus(true);
    tagging->addWidget(txtRemarks, 1, 0, 1, 3);
    tagging->addWidget(new QLabel(" Neg. Counterpart", fraTagging), 2, 0);
    txtNC = named(new QLineEdit(fraTagging), "txtNC");
    tagging->addWidget(txtNC, 2, 1, 1, 2);
    tagging->addWidget(new QLabel(" MSSW", fraTagging), 3, 0);
    txtMSSW = lockedBox("txtMSSW", fraTagging);
    tagging->addWidget(txtMSSW, 3, 1);
    cmdSearch = CommandButton("...", "cmdSearch", fraTagging);
    cmdSearch->setFixedWidth(30);
    tagging->addWidget(cmdSearch, 3, 2);
    auto* flags = new QHBoxLayout;
    chkPCSO = named(new QCheckBox("c/o PCSO", fraTagging), "chkPCSO");
    chkSponsor = named(new QCheckBox("c/o Sponsor", fraTagging), "chkSponsor");
    chkSpecial = named(new QCheckBox("Special", fraTagging), "chkSpecial");
    for (QCheckBox* c : {chkPCSO, chkSponsor, chkSpecial}) flags->addWidget(c);
    tagging->addLayout(flags, 4, 0, 1, 3);
    fraPCSO = Frame("Types of PCSO Allocation", "fraPCSO", fraTagging);
    auto* pcso = new QHBoxLayout(fraPCSO);
    auto* pcsoGroup = new QButtonGroup(this);
    const char* const pcsoCaptions[] = {"Endowment", "Guarantee Letter", "Check"};
    for (int i = 0; i < 3; ++i) {
        auto* option = named(new QRadioButton(pcsoCaptions[i], fraPCSO), QString("optPCSO_%1").arg(i));
        pcsoGroup->addButton(option, i);
        pcso->addWidget(option);
        optPCSO << option;
    }
    tagging->addWidget(fraPCSO, 5, 0, 1, 3);
    layout->addWidget(fraTagging, 0, 0, 2, 1);

    fraCategoryList = Frame("Patient's Category", "fraCategoryList", page);
    auto* lists = new QVBoxLayout(fraCategoryList);
    lstParentCategory = multiList("lstParentCategory", fraCategoryList);
    lstCategory = multiList("lstCategory", fraCategoryList);
    lists->addWidget(lstParentCategory);
    lists->addWidget(lstCategory);
    layout->addWidget(fraCategoryList, 0, 1, 2, 1);

    fraCategory = Frame("Patient's Category", "fraCategory", page);
    auto* options = new QGridLayout(fraCategory);
    auto* categoryGroup = new QButtonGroup(this);
    for (int i = 0; i < kCategoryOptions; ++i) {
        auto* option = named(new QRadioButton(kCategoryCaptions[i], fraCategory), QString("optCategory_%1").arg(i));
        categoryGroup->addButton(option, i);
        options->addWidget(option, i % 8, i / 8);
        optCategory << option;
    }
    layout->addWidget(fraCategory, 0, 2);

    fmeService = Frame("Services", "fmeService", page);
    auto* services = new QGridLayout(fmeService);
    lstServices = named(new QListWidget(fmeService), "lstServices");
    lstServices->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    services->addWidget(lstServices, 0, 0, 1, 2);
    cmdService = CommandButton("Add/ Search Services", "cmdService", fmeService);
    cmdCloseServices = CommandButton("&Close", "cmdCloseServices", fmeService);
    services->addWidget(cmdService, 1, 0);
    services->addWidget(cmdCloseServices, 1, 1);
    layout->addWidget(fmeService, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 3);
    layout->setColumnStretch(2, 3);
    return page;
}

QWidget* frmARR::buildDocumentationTab() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);

    frmactivity = Frame("Activity", "frmactivity", page);
    auto* activity = new QGridLayout(frmactivity);
    lstactivity = named(new QListWidget(frmactivity), "lstactivity");
    lstactivity->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    activity->addWidget(lstactivity, 0, 0, 1, 2);
    cmdAddActivity = CommandButton("Add/ Search Activity", "cmdAddActivity", frmactivity);
    cmdCloseActivity = CommandButton("&Close", "cmdCloseActivity", frmactivity);
    activity->addWidget(cmdAddActivity, 1, 0);
    activity->addWidget(cmdCloseActivity, 1, 1);
    layout->addWidget(frmactivity, 1);

    fraDocumentation = Frame("Documentation-Recording", "fraDocumentation", page);
    auto* docs = new QGridLayout(fraDocumentation);
    fraReporting = Frame("Reporting", "fraReporting", fraDocumentation);
    auto* reporting = new QVBoxLayout(fraReporting);
    for (int i = 0; i < kDocuments; ++i) {
        const bool inReporting = i >= 11 && i <= 15;
        QWidget* owner = inReporting ? static_cast<QWidget*>(fraReporting) : fraDocumentation;
        auto* box = named(new QCheckBox(kDocumentCaptions[i], owner), QString("chkdoc_%1").arg(i));
        chkdoc << box;
        if (inReporting)
            reporting->addWidget(box);
        else if (i < 11)
            docs->addWidget(box, i % 6, i / 6);
        else
            docs->addWidget(box, i - 16 + 6, 0);
    }
    docs->addWidget(fraReporting, 0, 2, 8, 1);
    layout->addWidget(fraDocumentation, 2);
    return page;
}

void frmARR::wire() {
    connect(cmdClose, &QPushButton::clicked, this, [this] { close(); });
    connect(cmdSave, &QPushButton::clicked, this, ui::Guarded([this] { save(false); }));
    connect(cmdPrint, &QPushButton::clicked, this, ui::Guarded([this] { print(); }));
    connect(cmdRePrint, &QPushButton::clicked, this, ui::Guarded([this] { reprint(); }));
    connect(cmdTrans, &QPushButton::clicked, this, ui::Guarded([this] { printTransactions(); }));
    connect(cmdPrevious, &QPushButton::clicked, this, ui::Guarded([this] { showPrevious(); }));
    connect(cmdViewCDF, &QPushButton::clicked, this, [this] { viewCDF(); });
    connect(cmdSearch, &QPushButton::clicked, this, ui::Guarded([this] { searchWorker(); }));
    connect(cmdService, &QPushButton::clicked, this, ui::Guarded([this] { pickServices(); }));
    connect(cmdAddActivity, &QPushButton::clicked, this, ui::Guarded([this] { pickActivities(); }));
    connect(cmdCloseServices, &QPushButton::clicked, this, [this] { fmeService->hide(); });
    connect(lstServices, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { removeService(item); });
    connect(lstCategory, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { categoryClicked(item); });
    connect(txtNC, &QLineEdit::textChanged, this, [this] { counterpartChanged(); });
    connect(tmrCDF, &QTimer::timeout, this, [this] { blink(); });
    cboactive->installEventFilter(this);
    mskRange1->installEventFilter(this);
}

bool frmARR::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mskRange1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // A message box or a menu taking the focus is not the worker leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == cboactive) ui::RunAction([this] { caseStatusLeft(); });
            if (watched == mskRange1 && !validityLeft()) QTimer::singleShot(0, mskRange1, [this] { mskRange1->setFocus(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AssessmentAndReferral(frmARR& screen, const QString& hospNum, const QString& idNum) {
    screen.HospNum = hospNum;
    screen.IDNUM = idNum;
    if (!ui::RunAction([&] { screen.Load(); })) return;
    ui::ShowModal(screen);
}

}  // namespace mss::assessment
