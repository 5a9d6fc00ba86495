#include "shell/dialogs/frmemployeelisting.h"

#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "ui_frmemployeelisting.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace mss::dialogs {

namespace {
const QString kHeading = QStringLiteral(" | EmployeeID | Employee Name ");
constexpr int kWidths[] = {100, 1100, 3000};
}

frmEmployeeListing::frmEmployeeListing(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmEmployeeListing>()) {
    ui_->setupUi(this);
    ui_->btnSearch->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ui_->txtSearch->installEventFilter(this);
    // Clicking the header makes the header row current, as on a flex grid's fixed row.
    connect(ui_->GridListWorkers->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int) { ui_->GridListWorkers->setCurrentCell(-1, -1); });
    ui_->GridListWorkers->horizontalHeader()->setSectionsClickable(true);
    ui_->GridListWorkers->horizontalHeader()->setMinimumSectionSize(0);

    connect(ui_->btnSearch, &QToolButton::clicked, this, ui::Guarded([this] { Search(); }));
    connect(ui_->cmdSelect, &QPushButton::clicked, this, ui::Guarded([this] { Select(); }));
    connect(ui_->GridListWorkers, &QTableWidget::cellDoubleClicked, this, ui::Guarded([this] { Select(); }));
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

frmEmployeeListing::~frmEmployeeListing() = default;

int frmEmployeeListing::CurrentGridRow() const {
    const int row = ui_->GridListWorkers->currentRow();
    return row < 0 ? 0 : row + 1;
}

void frmEmployeeListing::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) ui::RunAction([this] { Opening(); });
}

bool frmEmployeeListing::eventFilter(QObject* watched, QEvent* event) {
    // Every key that types a character searches, with the text as it was before the key.
    if (watched == ui_->txtSearch && event->type() == QEvent::KeyPress &&
        !static_cast<QKeyEvent*>(event)->text().isEmpty())
        ui::RunAction([this] { Search(); });
    return QDialog::eventFilter(watched, event);
}

void frmEmployeeListing::Opening() {
    ui_->GridListWorkers->clear();
    ui_->GridListWorkers->setRowCount(0);
    const QStringList headers = kHeading.split('|');
    ui_->GridListWorkers->setColumnCount(headers.size());
    ui_->GridListWorkers->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < headers.size(); ++c)
        ui_->GridListWorkers->setColumnWidth(c, text::TwipsToPixels(kWidths[c]));
    ui_->txtSearch->clear();
    Search();
}

void frmEmployeeListing::Search() {
    db::Recordset rs;
    // The text goes as typed: the procedure decides what blanks mean.
    db::OpenQuery(rs, db::Sql("MSS..sp_MSS_GetEmployees '").val(ui_->txtSearch->text()).lit("'"));
    const long count = rs.RecordCount();
    if (count > 0) {
        ui_->GridListWorkers->setRowCount(0);
        ui_->GridListWorkers->setRowCount(static_cast<int>(count));
        int row = 0;
        while (!rs.Eof()) {
            ui_->GridListWorkers->setItem(row, 0, new QTableWidgetItem());
            for (int f = 0; f < 2 && f < rs.FieldCount(); ++f)
                ui_->GridListWorkers->setItem(row, f + 1, new QTableWidgetItem(text::VariantText(rs.Value(f))));
            ++row;
            rs.MoveNext();
        }
        ui_->GridListWorkers->setCurrentCell(0, 1);
    }
    ui_->txtRecCount->setText(QString::number(CurrentGridRow()) + " of " + QString::number(count));
    rs.Close();
}

void frmEmployeeListing::Select() {
    const int row = CurrentGridRow();
    if (row == 0) return;
    const QTableWidgetItem* code = ui_->GridListWorkers->item(row - 1, 1);
    workerCode_ = code ? code->text() : QString();
    accept();
}

}  // namespace mss::dialogs
