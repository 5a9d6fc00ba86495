#include "intake/familygrid.h"
#include "shell/db/recordset.h"
#include "shell/db/text.h"
#include "shell/dialogs/prompt.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

namespace mss::intake {

using text::TwipsToPixels;

namespace {

const QString kFormat = QStringLiteral(
    " Family Member | Relationship | Age | Civil Status | Educ'l Attainment | Address | Occupation | Income |Number ");
const QList<int> kNewWidths{2800, 1200, 600, 1300, 1500, 2500, 1800, 1200, 0};
const QList<int> kStoredWidths{2000, 1100, 500, 1100, 1500, 2400, 1300, 950};
const QStringList kStoredHeadings{"Family Members", "Rel. to Patient", "Age", "Civil Status",
                                  "Educ'l Attainment", "Address", "Occupation", "Income"};

}  // namespace

FamilyGrid::FamilyGrid(QWidget* parent) : QObject(parent) {
    FCFlexGrid = new QTableWidget(parent);
    FCFlexGrid->setObjectName(QStringLiteral("FCFlexGrid"));
    FCFlexGrid->verticalHeader()->hide();
    FCFlexGrid->verticalHeader()->setDefaultSectionSize(TwipsToPixels(300));
    FCFlexGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FCFlexGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    FCFlexGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    FCFlexGrid->horizontalHeader()->setHighlightSections(false);
    FCFlexGrid->setWordWrap(false);

    txtFlxg = new QLineEdit(FCFlexGrid);
    txtFlxg->setObjectName(QStringLiteral("txtFlxg"));
    txtFlxg->hide();
    cmbFlx = new QComboBox(FCFlexGrid);
    cmbFlx->setObjectName(QStringLiteral("cmbFlx"));
    cmbFlx->setEditable(true);
    cmbFlx->setInsertPolicy(QComboBox::NoInsert);
    cmbFlx->addItems({"SINGLE", "MARRIED", "WIDOW", "WIDOWER", "SEPARATED"});
    cmbFlx->setCurrentIndex(-1);
    cmbFlx->hide();

    txtFlxg->installEventFilter(this);
    cmbFlx->installEventFilter(this);
    cmbFlx->lineEdit()->installEventFilter(this);
    connect(FCFlexGrid, &QTableWidget::cellClicked, this, [this](int r, int c) {
        row_ = r;
        col_ = c;
        openEditor();
    });
    connect(txtFlxg, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (opening_ || txtFlxg->isHidden()) return;
        setCell(t);
        emit totalChanged();
    });
    connect(cmbFlx, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!opening_ && !cmbFlx->isHidden()) setCell(t);
    });
}

void FamilyGrid::SetUp() {
    FCFlexGrid->clear();
    const QStringList headings = kFormat.split(u'|');
    FCFlexGrid->setColumnCount(int(headings.size()));
    FCFlexGrid->setHorizontalHeaderLabels(headings);
    FCFlexGrid->setRowCount(0);
    for (int c = 0; c < kNewWidths.size(); ++c) {
        FCFlexGrid->setColumnWidth(c, TwipsToPixels(kNewWidths[c]));
        FCFlexGrid->setColumnHidden(c, kNewWidths[c] == 0);
    }
    appendRow();
    FCFlexGrid->show();
    row_ = 0;
    col_ = 0;
}

bool FamilyGrid::Bind(db::Recordset& rs) {
    if (rs.RecordCount() < 1) return false;
    FCFlexGrid->show();
    FCFlexGrid->clear();
    FCFlexGrid->setRowCount(0);
    FCFlexGrid->setColumnCount(rs.FieldCount());
    FCFlexGrid->setHorizontalHeaderLabels(rs.FieldNames());
    // The columns past the eight members' (the stored total) are not the worker's to edit.
    for (int c = 0; c < rs.FieldCount(); ++c) FCFlexGrid->setColumnHidden(c, c > kIncome);
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const int r = FCFlexGrid->rowCount();
        FCFlexGrid->insertRow(r);
        for (int c = 0; c < rs.FieldCount(); ++c) FCFlexGrid->setItem(r, c, new QTableWidgetItem(text::VariantText(rs.Value(c))));
    }
    if (Rows() < 2) {
        FCFlexGrid->hide();
        return true;
    }
    for (int c = 0; c < kStoredWidths.size() && c < FCFlexGrid->columnCount(); ++c) {
        FCFlexGrid->setColumnWidth(c, TwipsToPixels(kStoredWidths[c]));
        FCFlexGrid->setHorizontalHeaderItem(c, new QTableWidgetItem(kStoredHeadings[c]));
    }
    row_ = 0;
    col_ = 0;
    return true;
}

int FamilyGrid::Rows() const { return FCFlexGrid->rowCount() + 1; }

QString FamilyGrid::cell(int row, int col) const {
    const QTableWidgetItem* item = FCFlexGrid->item(row - 1, col);
    return item ? item->text() : QString();
}

QString FamilyGrid::heading(int col) const {
    const QTableWidgetItem* item = FCFlexGrid->horizontalHeaderItem(col);
    return item ? text::Trim(item->text()) : QString();
}

double FamilyGrid::Total() const {
    double total = 0;
    for (int r = 1; r < Rows(); ++r) total += text::Val(cell(r, kIncome));
    return total;
}

QList<FamilyMember> FamilyGrid::Members(QString* problem) const {
    QList<FamilyMember> members;
    const int last = FCFlexGrid->columnCount() - 2;   // the columns a complete row fills
    for (int r = 1; r < Rows(); ++r) {
        QStringList cells;
        int empty = -1;
        bool any = false;
        for (int c = 0; c <= last; ++c) {
            cells << cell(r, c);
            if (cells.last().isEmpty()) {
                if (empty < 0) empty = c;
            } else {
                any = true;
            }
        }
        if (!any) continue;   // a row never filled in holds no member
        if (empty >= 0) {
            *problem = QStringLiteral("Family Composition, row %1: %2 is empty. Complete the row or clear it.")
                           .arg(r).arg(heading(empty));
            return {};
        }
        const QString income = cells.at(kIncome);
        if (!text::IsNumeric(income)) {
            *problem = QStringLiteral("Family Composition, row %1: the %2 \"%3\" is not a number.")
                           .arg(r).arg(heading(kIncome), income);
            return {};
        }
        members << FamilyMember{cells.mid(0, kIncome), text::NumberText(text::Val(income))};
    }
    problem->clear();
    return members;
}

void FamilyGrid::clickCell(int row, int col) {
    row_ = row - 1;
    col_ = col;
    FCFlexGrid->setCurrentCell(row_, col_);
    openEditor();
}

void FamilyGrid::setCell(const QString& text) {
    QTableWidgetItem* item = FCFlexGrid->item(row_, col_);
    if (!item) FCFlexGrid->setItem(row_, col_, item = new QTableWidgetItem);
    item->setText(text);
}

void FamilyGrid::appendRow() {
    const int r = FCFlexGrid->rowCount();
    FCFlexGrid->insertRow(r);
    for (int c = 0; c < FCFlexGrid->columnCount(); ++c) FCFlexGrid->setItem(r, c, new QTableWidgetItem);
}

void FamilyGrid::openEditor() {
    if (col_ > kIncome || row_ < 0 || row_ >= FCFlexGrid->rowCount()) return;
    FCFlexGrid->setCurrentCell(row_, col_);
    FCFlexGrid->scrollTo(FCFlexGrid->model()->index(row_, col_));
    QRect cellRect = FCFlexGrid->visualRect(FCFlexGrid->model()->index(row_, col_));
    cellRect.moveTopLeft(FCFlexGrid->viewport()->mapTo(FCFlexGrid, cellRect.topLeft()));
    opening_ = true;
    if (col_ == kCivilStatus) {
        txtFlxg->hide();
        cmbFlx->move(cellRect.left(), cellRect.top() - TwipsToPixels(20));
        cmbFlx->resize(cellRect.width(), cmbFlx->sizeHint().height());
        cmbFlx->show();
        cmbFlx->raise();
        cmbFlx->setFocus();
    } else {
        cmbFlx->hide();
        txtFlxg->setGeometry(cellRect.left(), cellRect.top() - TwipsToPixels(20), cellRect.width(), cellRect.height());
        txtFlxg->setText(cell(row_ + 1, col_));
        txtFlxg->show();
        txtFlxg->raise();
        txtFlxg->setFocus();
    }
    opening_ = false;
}

void FamilyGrid::moveTo(int tableRow, int col) {
    row_ = tableRow;
    col_ = col;
    openEditor();
}

void FamilyGrid::enterInText() {
    if (col_ < kIncome) {
        const int next = col_ + 1;
        emit totalChanged();
        moveTo(row_, next);
        return;
    }
    if (!text::IsNumeric(txtFlxg->text())) {
        txtFlxg->clear();
        ui::MsgBox(QStringLiteral("Please Enter Numeric Values"), ui::Icon::Information);
    }
    setCell(txtFlxg->text());
    appendRow();
    moveTo(row_ + 1, 0);
}

void FamilyGrid::enterInCombo() {
    setCell(cmbFlx->currentText());
    moveTo(row_, kCivilStatus + 1);
    cmbFlx->hide();
}

bool FamilyGrid::arrow(int key) {
    emit totalChanged();
    switch (key) {
    case Qt::Key_Down:
        if (Rows() > 2 && row_ + 1 < Rows() - 1) moveTo(row_ + 1, col_);
        return true;
    case Qt::Key_Up:
        if (row_ + 1 > 1) moveTo(row_ - 1, col_);
        return true;
    case Qt::Key_Right:
        if (col_ != kIncome) moveTo(row_, col_ + 1);
        return true;
    case Qt::Key_Left:
        if (col_ != 0) moveTo(row_, col_ - 1);
        return true;
    default:
        return false;
    }
}

bool FamilyGrid::eventFilter(QObject* watched, QEvent* event) {
    const bool combo = watched == cmbFlx || watched == cmbFlx->lineEdit();
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == txtFlxg) {
            if (enter) {
                enterInText();
                return true;
            }
            if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Left || key == Qt::Key_Right)
                return arrow(key);
        } else if (combo && enter) {
            enterInCombo();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && !opening_) {
        if (watched == txtFlxg) {
            txtFlxg->hide();
            emit totalChanged();
        } else if (combo && !cmbFlx->view()->isVisible() && !cmbFlx->hasFocus()) {
            cmbFlx->hide();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace mss::intake
