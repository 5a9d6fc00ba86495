#include "notices/referrallists.h"
#include "notices/frmreferralapproval.h"
#include "notices/noticewidgets.h"
#include "shell/db/dbaccess.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace mss::notices {

ReferralList::ReferralList(const Worker& worker, QWidget* parent) : QDialog(parent), worker_(worker) {
    new QVBoxLayout(this);
    lvwRequest = new QTreeWidget(this);
    lvwRequest->setObjectName(QStringLiteral("lvwRequest"));
    PrepareList(*lvwRequest);
    cmdSelect = new QPushButton(QStringLiteral("&Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdSelect, &QPushButton::clicked, this, ui::Guarded([this] { choose(); }));
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        forget();
        reject();
    });
}

void ReferralList::addListAndButtons() {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(lvwRequest, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdSelect, cmdClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
}

void ReferralList::forget() {
    choice_.IDNUM.clear();
    choice_.Valid = false;
}

void ReferralList::fill(const QString& statement, const QList<Heading>& headings, const QStringList& subItems) {
    forget();
    ui::BusyGuard busy;
    db::Recordset rs;
    db::OpenQuery(rs, statement);
    SetHeadings(*lvwRequest, headings);
    refnumColumn_ = int(subItems.indexOf(QStringLiteral("ReferralNo"))) + 1;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (const QString& column : subItems) cells << db::FieldText(rs, column);
        const bool pending = db::FieldText(rs, QStringLiteral("Status")) == QStringLiteral("P");
        AddLine(*lvwRequest, db::FieldText(rs, QStringLiteral("PatientName")), cells,
                QString::fromLatin1(pending ? kIconOpen : kIconClear));
    }
    rs.Close();
    SelectFirstLine(*lvwRequest);
}

void ReferralList::choose() {
    const QTreeWidgetItem* line = SelectedLine(*lvwRequest);
    if (!line) return;
    choice_.IDNUM = line->text(1);
    choice_.REFNUM = line->text(refnumColumn_);
    choice_.Valid = true;
    // The choice is offered only while the referral screen opens, even when opening fails.
    struct Forget {
        ReferralList* list;
        ~Forget() { list->forget(); }
    } forgetAfterwards{this};
    openChosen();
}

frmReferralToMedicalTeam::frmReferralToMedicalTeam(const Worker& worker, QWidget* parent)
    : ReferralList(worker, parent) {
    setObjectName(QStringLiteral("frmReferralToMedicalTeam"));
    setWindowTitle(QStringLiteral("Referral"));
    addListAndButtons();
    resize(980, 420);
    fill(LoadReferralNotice(),
         {{QStringLiteral("Patient"), 3000},
          {QStringLiteral("Admission #")},
          {QStringLiteral("Hosp #")},
          {QStringLiteral("Diagnosis")},
          {QStringLiteral("Referral Date"), 2100},
          {QStringLiteral("Referral No."), 0},
          {QStringLiteral("Referred By"), 2100}},
         {QStringLiteral("IDNUM"), QStringLiteral("HospNum"), QStringLiteral("Diagnosis"), QStringLiteral("ReferralDate"),
          QStringLiteral("ReferralNo"), QStringLiteral("ReferredBy")});
}

void frmReferralToMedicalTeam::openChosen() {
    QWidget* owner = parentWidget();
    close();
    auto screen = std::make_unique<frmReferralApproval>(OpenReferral(choice(), {}), worker_, owner);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen.release()->show();
}

frmReferralHistory::frmReferralHistory(const Worker& worker, QWidget* parent) : ReferralList(worker, parent) {
    setObjectName(QStringLiteral("frmReferralHistory"));
    setWindowTitle(QStringLiteral("Referral from Medical Team"));
    fraSearch = new QGroupBox(QStringLiteral("Search"), this);
    fraSearch->setObjectName(QStringLiteral("fraSearch"));
    auto* grid = new QGridLayout(fraSearch);
    auto addBox = [&](int column, const QString& label, const char* name) {
        auto* box = new QLineEdit(fraSearch);
        box->setObjectName(QString::fromLatin1(name));
        auto* l = new QLabel(label, fraSearch);
        l->setBuddy(box);
        grid->addWidget(l, 0, column * 2);
        grid->addWidget(box, 0, column * 2 + 1);
        return box;
    };
    txtHospNum = addBox(0, QStringLiteral("Hospita #:"), "txtHospNum");
    txtLastname = addBox(1, QStringLiteral("Lastname:"), "txtLastname");
    txtFirstname = addBox(2, QStringLiteral("Firstname:"), "txtFirstname");
    cmdSearch = new QPushButton(QStringLiteral("Search"), fraSearch);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch->setAutoDefault(false);
    grid->addWidget(cmdSearch, 0, 6);
    layout()->addWidget(fraSearch);
    addListAndButtons();
    connect(cmdSearch, &QPushButton::clicked, this, ui::Guarded([this] { search(); }));
    // Enter in a search box searches, as the Search button does.
    for (QLineEdit* box : {txtHospNum, txtLastname, txtFirstname})
        connect(box, &QLineEdit::returnPressed, cmdSearch, &QPushButton::click);
    resize(1100, 460);
    search();
}

void frmReferralHistory::search() {
    fill(LoadReferralHistory(txtHospNum->text(), txtLastname->text(), txtFirstname->text()),
         {{QStringLiteral("Patient"), 3000},
          {QStringLiteral("Admission #")},
          {QStringLiteral("Hosp #")},
          {QStringLiteral("Date Modified"), 2100},
          {QStringLiteral("Referral Date"), 2100},
          {QStringLiteral("Status")},
          {QStringLiteral("Diagnosis")},
          {QStringLiteral("Refnum"), 0},
          {QStringLiteral("ReferredBy"), 2100},
          {QStringLiteral("ApprovedBy"), 2100}},
         {QStringLiteral("IDNUM"), QStringLiteral("HospNum"), QStringLiteral("DateApproved"), QStringLiteral("ReferralDate"),
          QStringLiteral("Status"), QStringLiteral("Diagnosis"), QStringLiteral("ReferralNo"), QStringLiteral("ReferredBy"),
          QStringLiteral("ApprovedBy")});
}

void frmReferralHistory::openChosen() {
    accept();
    frmReferralApproval screen(OpenReferral({}, choice()), worker_, parentWidget());
    ui::ShowModal(screen);
}

}  // namespace mss::notices
