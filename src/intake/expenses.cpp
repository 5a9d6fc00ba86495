// The monthly expenses of the intake sheet: the 24 amount boxes, their total, load and save.
#include "intake/frmintakesheet.h"
#include "intake/intakeparts.h"
#include "intake/intakequeries.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace mss::intake {

namespace {

struct Expense {
    const char* heading;   // the group the box opens, or nullptr
    const char* label;
    const char* column;
};

// Index order: the order of the boxes and of the save's arguments.
constexpr Expense kExpenses[frmIntakeSheet::kExpenseBoxes] = {
    {"HOUSE &&  LOT", "Rent:       P", "rent"},
    {nullptr, "Owned:    P", "Owned"},
    {nullptr, "Amortize: P", "Amortize"},
    {"LIGHT SOURCE", "Electric:   P", "Electric"},
    {nullptr, "Kerosine: P", "Kerosine"},
    {nullptr, "Candle :  P", "Candle"},
    {"WATER SOURCE", "Artesian Well: P", "ArtesianWell"},
    {nullptr, "Water District: P", "WaterDistrict"},
    {nullptr, "Public:   P", "WaterPublic"},
    {nullptr, "Owned: P", "WaterOwned"},
    {nullptr, "FOOD:", "Food"},
    {nullptr, "CLOTHING:", "Clothing"},
    {"FUEL SOURCE", "Gas:          P", "Gas"},
    {nullptr, "Firewood: P", "Firewood"},
    {nullptr, "Charcoal : P", "Charcoal"},
    {"EDUCATION", "MCS:           P", "MCS"},
    {nullptr, "Tuition Fee: P", "TuitionFee"},
    {nullptr, "Allowance : P", "Allowance"},
    {"TRANSPORTATION", "Allowance: P", "TranspoAllowance"},
    {nullptr, "Med:          P", "TranspoMed"},
    {nullptr, "MEDICAL EXPENDITURE:", "MedicalExpenditure"},
    {nullptr, "HOUSEHELP:", "HouseHelp"},
    {nullptr, "INSURANCE PREMIUM:", "InsurancePremium"},
    {nullptr, nullptr, "OtherAmount"},   // beside txtOthers
};

}  // namespace

QGroupBox* frmIntakeSheet::buildMonthlyExpenses(QWidget* parent) {
    auto* box = new QGroupBox(QStringLiteral("MONTHLY EXPENSES"), parent);
    box->setObjectName(QStringLiteral("frmMonthlyExpenses"));
    auto* grid = new QGridLayout(box);
    // Four columns of groups: house and light, water to clothing, fuel and education, the rest.
    int row = 0;
    int col = 0;
    for (int i = 0; i < kExpenseBoxes; ++i) {
        auto* amount = parts::Box(QStringLiteral("txtMExpenses_%1").arg(i).toLatin1().constData(), box);
        amount->setAlignment(Qt::AlignRight);
        amount->installEventFilter(this);
        txtMExpenses << amount;
        if (i == kExpenseBoxes - 1) break;   // placed with txtOthers below
        if (i == 6 || i == 12 || i == 18) {
            row = 0;
            col += 2;
        }
        if (kExpenses[i].heading) {
            auto* heading = new QLabel(QString::fromLatin1(kExpenses[i].heading).replace(QStringLiteral("&&"), QStringLiteral("&")), box);
            heading->setTextFormat(Qt::PlainText);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
            grid->addWidget(heading, row++, col, 1, 2);
        }
        parts::AddRow(grid, row++, col, QString::fromLatin1(kExpenses[i].label), amount);
    }
    txtOthers = parts::Box("txtOthers", box);
    txtTotalMonthlyExpenditure = parts::Box("txtTotalMonthlyExpenditure", box);
    txtTotalMonthlyExpenditure->setEnabled(false);
    txtTotalMonthlyExpenditure->setAlignment(Qt::AlignRight);
    const int last = grid->rowCount();
    parts::AddRow(grid, last, 0, QStringLiteral("OTHERS SPECIFY:"), txtOthers, 3);
    grid->addWidget(txtMExpenses.last(), last, 4, 1, 2);
    parts::AddRow(grid, last + 1, 4, QStringLiteral("Total Monthly Expenditure : "), txtTotalMonthlyExpenditure, 3);
    return box;
}

void frmIntakeSheet::ComputeExpensesTotal() {
    checkingExpenses_ = true;
    double total = 0;
    for (QLineEdit* amount : txtMExpenses) {
        const QString t = amount->text();
        if (t.isEmpty()) continue;
        if (!text::IsNumeric(t)) {
            // The total cannot be formed: the worker corrects the box first.
            ui::MsgBox(QStringLiteral("Please Enter Numeric Values"), ui::Icon::Information);
            amount->setFocus();
            checkingExpenses_ = false;
            return;
        }
        total += text::Val(t);
    }
    monthlyTotal_ = total;
    txtTotalMonthlyExpenditure->setText(text::NumberText(total));
    checkingExpenses_ = false;
}

void frmIntakeSheet::Load_MonthlyExpenses() {
    db::Recordset rs;
    db::OpenQuery(rs, MonthlyExpensesSql(txtHospitalNo->text()));
    if (rs.RecordCount() > 0) {
        for (int i = 0; i < kExpenseBoxes; ++i)
            txtMExpenses[i]->setText(text::AsText(rs.Value(QString::fromLatin1(kExpenses[i].column))));
        txtOthers->setText(text::AsText(rs.Value(QStringLiteral("OTher"))));
        txtTotalMonthlyExpenditure->setText(text::AsText(rs.Value(QStringLiteral("TotalMonthlyExpenditure"))));
    }
    rs.Close();
}

void frmIntakeSheet::Save_MonthlyExpenses() {
    QStringList amounts;
    for (QLineEdit* amount : txtMExpenses) amounts << amount->text();
    db::ExecuteCommand(SaveMonthlyExpensesSql(patient_.HospNum, amounts, txtOthers->text(),
                                              txtTotalMonthlyExpenditure->text()));
}

}  // namespace mss::intake
