#include "assessment/frmreprintarr.h"
#include "shell/dialogs/screenparts.h"
#include "shell/reports/reports.h"
#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mss::assessment {

using ui::FillGrid;
using ui::Frame;
using ui::Heading;
using ui::RowGrid;

using namespace reports;

QString frmReprintARR::gridHeader() {
    return " | Hosp. Num | Adm.Num. | MSS Num. | Patient Name | Classification | Category | AssessDate | Remarks "
           "| User Name |LicenseNumber ";
}

QList<int> frmReprintARR::gridWidths() {
    return {100, 1100, 1100, 1100, 2500, 1200, 2000, 2500, 2200, 3000, 0};
}

frmReprintARR::frmReprintARR(const CatalogContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), hospNum_(ctx.patient.HospNum) {
    setObjectName("frmReprintARR");
    setWindowTitle("Medical Social Service ");
    auto* layout = new QVBoxLayout(this);
    lblHeading = Heading("Reprint Assessment and Referral ", "lblHeading", this, 1.4);
    layout->addWidget(lblHeading);

    auto* searchRow = new QHBoxLayout;
    auto* lblSearch = new QLabel("Search Text :", this);
    lblSearch->setObjectName("lblSearch");
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName("txtSearch");
    lblSearch->setBuddy(txtSearch);
    searchRow->addWidget(lblSearch);
    searchRow->addWidget(txtSearch, 1);
    layout->addLayout(searchRow);

    fraResults = Frame("Search Results :", "fraResults", this);
    auto* frameLayout = new QVBoxLayout(fraResults);
    GridAssessment = RowGrid("GridAssessment", this);
    frameLayout->addWidget(GridAssessment);
    layout->addWidget(fraResults, 1);

    auto* buttons = new QHBoxLayout;
    btnPrint = new QPushButton("    &Print", this);
    btnPrint->setObjectName("btnPrint");
    btnClose = new QPushButton("    &Close", this);
    btnClose->setObjectName("btnClose");
    for (QPushButton* b : {btnPrint, btnClose}) {
        b->setFlat(true);
        b->setAutoDefault(false);
    }
    buttons->addStretch();
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    connect(txtSearch, &QLineEdit::returnPressed, this, ui::Guarded([this] { search(); }));
    connect(GridAssessment, &QTableWidget::cellClicked, this, [this](int row, int) { chooseRow(row); });
    connect(GridAssessment, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { chooseRow(row); });
    connect(btnPrint, &QPushButton::clicked, this, ui::Guarded([this] { print(); }));
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });
    resize(1000, 450);
}

void frmReprintARR::search() {
    db::Recordset rs;
    db::OpenQuery(rs, db::Sql("MSS..sp_MSS_ReprintARR '").val(text::Trim(txtSearch->text())).lit("'"));
    if (rs.Eof()) return;   // no rows: the grid keeps what it showed
    FillGrid(GridAssessment, gridHeader().split('|'), gridWidths(), rs);
    rs.Close();
}

void frmReprintARR::chooseRow(int row) {
    auto cell = [&](int c) {
        const QTableWidgetItem* item = GridAssessment->item(row, c);
        return item ? item->text() : QString();
    };
    hospNum_ = cell(1);
    idNum_ = cell(2);
    userName_ = cell(9);
    licence_ = cell(10);
}

namespace {
void printForm(const QString& reportFolder, const QString& hospNum, const QString& idNum, const QString& userName,
               const QString& licence) {
    PrepareReport(reportFolder + "\\ARR_New.rpt", {text::Trim(hospNum), text::Trim(idNum), userName, licence, QString()});
    ShowReport("Assessment and Referal report");
}
}  // namespace

void frmReprintARR::print() {
    hide();
    printForm(ctx_.reportFolder, hospNum_, idNum_, userName_, licence_);
}

void ReprintARR(const CatalogContext& ctx) {
    const QString hospNum = text::Trim(ctx.patient.HospNum);
    if (hospNum.isEmpty()) {
        frmReprintARR screen(ctx);
        ui::ShowModal(screen);
        return;
    }
    db::Recordset rs;
    db::OpenQuery(rs, db::Sql("MSS..sp_MSS_ReprintARR '").val(hospNum).lit("'"));
    QString userName, licence;
    if (rs.RecordCount() > 0) {
        userName = db::FieldText(rs, "UserName");
        licence = db::FieldText(rs, "lisencenumber");
    }
    rs.Close();
    printForm(ctx.reportFolder, hospNum, ctx.patient.IDNUM, userName, licence);
}

}  // namespace mss::assessment
