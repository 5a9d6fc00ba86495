#include "billing/frmcomputediscount.h"

#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"
#include "shell/session/patientselection.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace mss::billing {

using text::TwipsToPixels;

namespace {

constexpr int kWidth = 8100;
const QString kMessage = QStringLiteral("Message");

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QLineEdit* box(QWidget* parent, const char* name, int left, int top, int width) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    place(e, left, top, width, 315);
    return e;
}

QLabel* caption(QWidget* parent, const QString& text, int left, int top, int width,
                Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align);
    place(l, left, top, width, 315);
    return l;
}

QLabel* amount(QWidget* parent, const char* name, int left, int top, int width) {
    QLabel* l = caption(parent, QString(), left, top, width, Qt::AlignRight | Qt::AlignVCenter);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name, int left, int top, int width) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    place(b, left, top, width, 420);
    return b;
}

}  // namespace

frmComputeDiscount::frmComputeDiscount(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmComputeDiscount"));
    setWindowTitle(QStringLiteral("Computation of Discount"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    setFixedSize(TwipsToPixels(kWidth), TwipsToPixels(kHeight));

    connect(cmdRecompute, &QPushButton::clicked, this, ui::Guarded([this] { recompute(); }));
    connect(cmdExit, &QPushButton::clicked, this, [this] { close(); });
    connect(cmdIsSpecial, &QPushButton::clicked, this, [this] { showSpecialArrangement(); });
}

void frmComputeDiscount::buildControls() {
    caption(this, QStringLiteral("Adm. No. :"), 120, 150, 1350);
    txtIDNum = box(this, "txtIDNum", 1500, 150, 1600);
    caption(this, QStringLiteral("Hospital No. :"), 3300, 150, 1300);
    txtHospNum = box(this, "txtHospNum", 4650, 150, 1600);
    caption(this, QStringLiteral("Patient Name :"), 120, 540, 1350);
    txtPatientName = box(this, "txtPatientName", 1500, 540, 6450);
    caption(this, QStringLiteral("MSS No. :"), 120, 930, 1350);
    txtMSSNum = box(this, "txtMSSNum", 1500, 930, 1600);
    caption(this, QStringLiteral("Room No. :"), 3300, 930, 1300);
    txtRoomID = box(this, "txtRoomID", 4650, 930, 1600);
    caption(this, QStringLiteral("Classification :"), 120, 1320, 1350);
    txtCode = box(this, "txtCode", 1500, 1320, 1600);

    frameCovered = new QGroupBox(QStringLiteral("Breakdown for the Computation of Discount"), this);
    frameCovered->setObjectName(QStringLiteral("frameCovered"));
    place(frameCovered, 120, 1760, 7860, 3420);
    frameCovered->setEnabled(false);
    mshDiscount = new QTableWidget(frameCovered);
    mshDiscount->setObjectName(QStringLiteral("mshDiscount"));
    place(mshDiscount, 120, 300, 7620, 2300);
    mshDiscount->verticalHeader()->hide();
    mshDiscount->verticalHeader()->setDefaultSectionSize(TwipsToPixels(285));
    mshDiscount->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mshDiscount->setSelectionBehavior(QAbstractItemView::SelectRows);
    mshDiscount->setSelectionMode(QAbstractItemView::SingleSelection);
    mshDiscount->horizontalHeader()->setHighlightSections(false);

    // The totals stand under the grid's amount columns.
    const int grid = 120 + 15;
    const int charges = grid + kColumnWidths[2];
    const int medicare = charges + kColumnWidths[3];
    const int discount = medicare + kColumnWidths[4];
    caption(frameCovered, QStringLiteral("Total :"), grid, 2680, kColumnWidths[2] - 120,
            Qt::AlignRight | Qt::AlignVCenter);
    lblTotal = amount(frameCovered, "lblTotal", charges, 2680, kColumnWidths[3]);
    lblMedicareTotal = amount(frameCovered, "lblMedicareTotal", medicare, 2680, kColumnWidths[4]);
    lblTotalCovered = amount(frameCovered, "lblTotalCovered", discount, 2680, kColumnWidths[5]);
    QLabel* toPay = caption(frameCovered, QStringLiteral("To Pay : "), medicare, 3030, kColumnWidths[4],
                            Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = toPay->font();
    bold.setBold(true);
    toPay->setFont(bold);
    lblQFS = amount(frameCovered, "lblQFS", discount, 3030, kColumnWidths[5]);
    lblQFS->setFont(bold);

    cmdIsSpecial = button(this, QStringLiteral("Special Arrangement"), "cmdIsSpecial", 120, 5330, 2100);
    cmdIsSpecial->hide();
    cmdRecompute = button(this, QStringLiteral("&Recompute"), "cmdRecompute", 4700, 5330, 1600);
    cmdExit = button(this, QStringLiteral("&Cancel"), "cmdExit", 6380, 5330, 1600);

    // Below the window as it opens; the special arrangement's button makes it taller.
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 120, 6000, 7860, 1050);
    caption(Frame1, QStringLiteral("QFS:"), 240, 420, 600);
    txtQFSSpecial = box(Frame1, "txtQFSSpecial", 900, 420, 2200);
    caption(Frame1, QStringLiteral("NC :"), 3600, 420, 600);
    txtNC = box(Frame1, "txtNC", 4260, 420, 2200);
}

QString frmComputeDiscount::idNum() const { return text::Trim(txtIDNum->text()); }

void frmComputeDiscount::Load() {
    {
        const ui::BusyGuard busy;
        const PatientSelection& chosen = Selection();
        patient_ = ReadDiscountPatient(chosen.HospNum, chosen.IDNUM);
        txtPatientName->setText(patient_.name);
        txtHospNum->setText(patient_.hospNum);
        txtIDNum->setText(patient_.idNum);
        txtMSSNum->setText(patient_.mssNum);
        txtRoomID->setText(patient_.roomId);
        txtCode->setText(patient_.code);
        cmdIsSpecial->setVisible(patient_.special);
        cmdRecompute->setEnabled(true);

        // A stored discount is shown as it was stored; nothing is recomputed.
        const DiscountRows stored = ReadStoredDiscount(idNum());
        if (!stored.isEmpty()) {
            frameCovered->setEnabled(true);
            bindGrid(stored);
            showTotals(TotalsOf(stored));
            return;
        }
    }
    compute();
}

void frmComputeDiscount::compute() {
    const QString refusal = ComputationRefusal(patient_);
    if (!refusal.isEmpty()) {
        ui::MsgBox(refusal, ui::Icon::Exclamation, ui::Buttons::Ok, kMessage);
        return;
    }
    ComputedDiscount result;
    {
        const ui::BusyGuard busy;
        result = ComputeDiscount(idNum(), patient_.rates);
    }
    showComputed(result);
}

void frmComputeDiscount::recompute() {
    if (ui::MsgBox(RecomputeWarning(), ui::Icon::Critical, ui::Buttons::YesNo, QStringLiteral("Warning!")) !=
        ui::Answer::Yes)
        return;
    const QString refusal = ComputationRefusal(patient_);
    if (!refusal.isEmpty()) {
        ui::MsgBox(refusal, ui::Icon::Exclamation, ui::Buttons::Ok, kMessage);
        return;
    }
    // Once per opening.
    cmdRecompute->setEnabled(false);
    ComputedDiscount result;
    {
        const ui::BusyGuard busy;
        result = RecomputeDiscount(idNum(), patient_.rates);
    }
    showComputed(result);
}

void frmComputeDiscount::showComputed(const ComputedDiscount& result) {
    if (result.medicareNotSpread)
        ui::MsgBox(MedicareNotSpreadMessage(result.medicareTotal), ui::Icon::Information, ui::Buttons::Ok, kMessage);
    if (result.ending == ComputedDiscount::Ending::ZeroHospitalBill) {
        // Nothing was loaded: the grid and the totals keep what they showed.
        ui::MsgBox(ZeroHospitalBillMessage(), ui::Icon::Information, ui::Buttons::Ok, QStringLiteral("Information"));
        return;
    }
    if (result.ending == ComputedDiscount::Ending::Loaded) bindGrid(result.rows);
    showTotals(result.totals);
    txtQFSSpecial->setText(text::NumberText(result.totals.actualCharges - patient_.specialNC()));
    frameCovered->setEnabled(true);
    if (result.ending == ComputedDiscount::Ending::NoRows)
        ui::MsgBox(NoChargesMessage(), ui::Icon::Information, ui::Buttons::Ok, kMessage);
}

void frmComputeDiscount::bindGrid(const DiscountRows& rows) {
    mshDiscount->clear();
    const int columns = int(rows.columns.size()) + 1;
    mshDiscount->setColumnCount(columns);
    mshDiscount->setRowCount(rows.size());
    mshDiscount->setHorizontalHeaderLabels(QStringList{QString()} + rows.columns);
    for (int c = 0; c < columns; ++c) {
        const int width = c < 6 ? kColumnWidths[c] : 1400;
        mshDiscount->setColumnWidth(c, TwipsToPixels(width));
        mshDiscount->setColumnHidden(c, width == 0);
    }
    for (int r = 0; r < rows.size(); ++r) {
        mshDiscount->setItem(r, 0, new QTableWidgetItem);
        for (int c = 1; c < columns; ++c) {
            auto* item = new QTableWidgetItem(rows.text(r, c - 1));
            if (c >= 3 && c <= 5) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            mshDiscount->setItem(r, c, item);
        }
    }
}

void frmComputeDiscount::showTotals(const DiscountTotals& totals) {
    lblTotal->setText(text::AmountText(totals.actualCharges));
    lblMedicareTotal->setText(text::AmountText(totals.medicare));
    lblTotalCovered->setText(text::AmountText(totals.discount));
    lblQFS->setText(text::AmountText(totals.toPay()));
}

void frmComputeDiscount::showSpecialArrangement() {
    setFixedHeight(TwipsToPixels(kSpecialHeight));
    // An NC that is no number is shown as stored, so the worker sees what to correct.
    const QVariant& nc = patient_.nc;
    const bool unreadable = nc.typeId() == QMetaType::QString && !text::IsNumeric(nc.toString());
    txtNC->setText(unreadable ? nc.toString() : text::NumberText(patient_.specialNC()));
}

void frmComputeDiscount::closeEvent(QCloseEvent* event) {
    emit unloaded();
    QWidget::closeEvent(event);
}

}  // namespace mss::billing
