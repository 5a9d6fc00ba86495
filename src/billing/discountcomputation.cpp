#include "billing/discountcomputation.h"

#include "billing/discountqueries.h"
#include "shell/db/dbaccess.h"
#include "shell/db/error.h"
#include "shell/db/text.h"

#include <algorithm>
#include <optional>

namespace mss::billing {

using db::FieldText;
using db::OpenQuery;
using db::Recordset;
using text::Trim;

namespace {

// A stored flag; a null one is not set.
bool flagOf(const QVariant& v) { return !v.isNull() && v.isValid() && text::AsBool(v); }

// A stored amount; null counts as 0, a text that is no number as nothing.
std::optional<double> amountOf(const QVariant& v) {
    if (v.isNull() || !v.isValid()) return 0.0;
    if (v.typeId() == QMetaType::QString) {
        if (!text::IsNumeric(v.toString())) return std::nullopt;
        return text::Val(v.toString());
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok) return std::nullopt;
    return d;
}

DiscountRows readRows(Recordset& rs) {
    DiscountRows out;
    out.columns = rs.FieldNames();
    const int fields = rs.FieldCount();
    for (; !rs.Eof(); rs.MoveNext()) {
        QVariantList row;
        row.reserve(fields);
        for (int i = 0; i < fields; ++i) row.append(rs.Value(i));
        out.rows.append(row);
    }
    rs.Close();
    return out;
}

bool assessedAsSpecial(const QString& idNum) {
    Recordset rs;
    OpenQuery(rs, AssessmentSql(idNum));
    const bool special = !rs.Eof() && flagOf(rs.Value(QStringLiteral("IsSpecial")));
    rs.Close();
    return special;
}

// The Medicare (and other) deductions spread over the departments in proportion to the
// claim's items, each share sent unrounded. Returns false when the items add up to 0.
bool spreadMedicare(const QString& idNum, double* medicareTotal) {
    Recordset rs;
    OpenQuery(rs, TotalMedicareSql(idNum));
    if (rs.Eof()) {
        rs.Close();
        return true;
    }
    const double total = text::AsNumber(rs.Value(QStringLiteral("Amount")));
    *medicareTotal = total;
    rs.Close();

    OpenQuery(rs, MedicareItemsSql(idNum));
    QList<QPair<double, QString>> items;
    double sum = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const double amount = text::AsNumber(rs.Value(QStringLiteral("Amount")));
        items.append({amount, FieldText(rs, QStringLiteral("RevenueID"))});
        sum += amount;
    }
    rs.Close();
    // Items that add up to nothing give no proportion to spread by.
    if (!items.isEmpty() && sum == 0) return false;
    for (const auto& [amount, revenueId] : items) db::ExecuteCommand(MedicareShareSql(amount / sum * total, revenueId));
    return true;
}

double firstAmount(const QString& sql, const QString& column) {
    Recordset rs;
    OpenQuery(rs, sql);
    const double amount = rs.Eof() ? 0.0 : text::AsNumber(rs.Value(column));
    rs.Close();
    return amount;
}

// The discounts of a special arrangement: professional fees in full, the other departments
// sharing the hospital bill less the arrangement's NC in proportion to their charges.
// Returns false when the hospital bill is 0.
bool writeSpecialDiscounts(const QString& idNum, const QString& opdNum, double nc) {
    const double nonMD = firstAmount(NonMDChargesSql(), QStringLiteral("ActualCharges"));
    const double bill = firstAmount(HospitalBillSql(idNum, opdNum), QStringLiteral("Actual Charges"));
    if (bill == 0) return false;
    // An NC above the bill leaves the patient paying the bill, not more.
    const double covered = std::max(0.0, bill - nc);
    Recordset rs;
    OpenQuery(rs, ScratchRowsSql());
    QList<QPair<QString, double>> departments;
    for (; !rs.Eof(); rs.MoveNext())
        departments.append({FieldText(rs, QStringLiteral("RevenueID")),
                            text::AsNumber(rs.Value(QStringLiteral("ActualCharges")))});
    rs.Close();
    for (const auto& [revenueId, charges] : departments) {
        double discount = 0;
        if (Trim(revenueId) == QLatin1String("MD")) discount = charges;
        else if (nonMD != 0) discount = charges / nonMD * covered;
        db::ExecuteCommand(DepartmentDiscountSql(discount, revenueId));
    }
    return true;
}

// The NC of an arrangement that applies; nothing when it does not.
std::optional<double> arrangementNC(const QString& idNum) {
    Recordset rs;
    OpenQuery(rs, SpecialArrangementSql(idNum));
    std::optional<double> nc;
    if (!rs.Eof() && flagOf(rs.Value(QStringLiteral("IsSpecial")))) {
        const QVariant stored = rs.Value(QStringLiteral("NC"));
        nc = amountOf(stored);
        if (!nc) {
            rs.Close();
            throw db::Failure(db::errnum::TypeMismatch, QStringLiteral("Medical Social Service"),
                              QStringLiteral("The NC of the special arrangement is not a number: '%1'.")
                                  .arg(stored.toString()));
        }
        if (*nc == 0) nc.reset();
    }
    rs.Close();
    return nc;
}

}  // namespace

int DiscountRows::column(const QString& name) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant DiscountRows::value(int row, const QString& name) const {
    const int c = column(name);
    if (c < 0) throw db::Failure(db::errnum::ItemNotFound, QStringLiteral("Medical Social Service"),
                                 QStringLiteral("Item cannot be found in the collection corresponding to the "
                                                "requested name or ordinal."));
    return rows.at(row).value(c);
}

QString DiscountRows::text(int row, int column) const { return text::VariantText(rows.at(row).value(column)); }

double DiscountPatient::specialNC() const {
    if (!special) return 0;
    return amountOf(nc).value_or(0.0);
}

DiscountPatient ReadDiscountPatient(const QString& hospNum, const QString& idNum) {
    DiscountPatient p;
    const QString hosp = Trim(hospNum);
    const QString id = Trim(idNum);
    Recordset rs;
    OpenQuery(rs, PatientInfoSql(hosp, id));
    if (!rs.Eof()) {
        p.name = FieldText(rs, QStringLiteral("Name"));
        p.hospNum = FieldText(rs, QStringLiteral("HospNum"));
        p.idNum = id;
        p.mssNum = FieldText(rs, QStringLiteral("MSSNumber"));
        p.roomId = FieldText(rs, QStringLiteral("RoomID"));
        p.code = FieldText(rs, QStringLiteral("Code"));
    } else {
        // Not an MSS patient: name and room from the encounter alone.
        rs.Close();
        OpenQuery(rs, PatientInfoForARRSql(id));
        if (!rs.Eof()) {
            p.name = FieldText(rs, QStringLiteral("Name"));
            p.hospNum = FieldText(rs, QStringLiteral("HospNum"));
            p.roomId = FieldText(rs, QStringLiteral("RoomID"));
            p.idNum = id;
        }
    }
    rs.Close();

    OpenQuery(rs, AssessmentSql(p.idNum));
    if (!rs.Eof()) {
        p.assessed = true;
        if (flagOf(rs.Value(QStringLiteral("IsSpecial")))) {
            p.special = true;
            p.nc = rs.Value(QStringLiteral("NC"));
        }
    }
    rs.Close();

    p.rates = assessment::ReadClassificationRates(p.code, assessment::IsOutPatientRoom(p.roomId));
    return p;
}

QString ComputationRefusal(const DiscountPatient& p) {
    if (Trim(p.idNum).isEmpty())
        return QStringLiteral("There is no patient to compute a discount for: choose one in the patient search first.");
    if (!p.assessed)
        return QStringLiteral("This admission has not been assessed. Assess the patient before computing the discount.");
    if (Trim(p.code).isEmpty())
        return QStringLiteral("The patient's classification is no longer in force. Renew the assessment before "
                              "computing the discount.");
    if (p.special && !amountOf(p.nc))
        return QStringLiteral("The NC of the special arrangement is not a number. Correct the assessment before "
                              "computing the discount.");
    return {};
}

DiscountRows ReadStoredDiscount(const QString& idNum) {
    Recordset rs;
    OpenQuery(rs, CheckExistingDiscountSql(idNum));
    return readRows(rs);
}

DiscountTotals TotalsOf(const DiscountRows& rows) {
    // The grid's columns 3 to 5: charges, Medicare, discount.
    DiscountTotals t;
    for (int r = 0; r < rows.size(); ++r) {
        t.actualCharges += text::Val(rows.text(r, 2));
        t.medicare += text::Val(rows.text(r, 3));
        t.discount += text::Val(rows.text(r, 4));
    }
    return t;
}

double DisplayFactor(const QString& revenueId, const assessment::ClassificationRates& rates) {
    static const QStringList supplies{"XS", "CU", "UU", "RU", "CS", "KS", "OS"};
    static const QStringList medicines{"RN", "PH", "RM", "XD", "CN", "UM"};
    static const QStringList procedures{"LB", "PA", "NU", "NE", "XR", "CT", "UL", "HS", "PT", "DI", "OR"};
    const QString code = Trim(revenueId);
    if (code == QLatin1String("RA")) return rates.Room;
    if (supplies.contains(code)) return rates.Supplies;
    if (medicines.contains(code)) return rates.Medicines;
    if (procedures.contains(code)) return rates.Procedures;
    if (code == QLatin1String("MD")) return 1;
    return 0;
}

ComputedDiscount ComputeDiscount(const QString& idNum, const assessment::ClassificationRates& rates) {
    ComputedDiscount out;
    const QString id = Trim(idNum);
    const QString opdNum = db::MatchingOPDNumber(id);
    db::ExecuteCommand(ActualChargesSql(id, opdNum));
    out.medicareNotSpread = !spreadMedicare(id, &out.medicareTotal);

    out.mode = 1;
    if (const std::optional<double> nc = arrangementNC(id)) {
        if (!writeSpecialDiscounts(id, opdNum, *nc)) {
            out.ending = ComputedDiscount::Ending::ZeroHospitalBill;
            return out;
        }
        out.mode = 2;
    }

    Recordset rs;
    OpenQuery(rs, LoadDiscountSql(out.mode));
    out.rows = readRows(rs);
    out.ending = out.rows.isEmpty() ? ComputedDiscount::Ending::NoRows : ComputedDiscount::Ending::Loaded;
    for (int r = 0; r < out.rows.size(); ++r) {
        out.totals.actualCharges += text::AsNumber(out.rows.value(r, QStringLiteral("Actual Charges")));
        out.totals.medicare += text::AsNumber(out.rows.value(r, QStringLiteral("Medicare")));
        out.totals.discount += text::AsNumber(out.rows.value(r, QStringLiteral("Discount")));
    }

    // A special arrangement on the assessment shows each department's discount by the rate of
    // its group; what was stored stays as it is.
    if (assessedAsSpecial(id)) {
        out.displayRecomputed = true;
        out.totals.discount = 0;
        for (int r = 0; r < out.rows.size(); ++r) {
            const double shown = text::Val(out.rows.text(r, 2)) * DisplayFactor(out.rows.text(r, 0), rates);
            out.rows.rows[r][4] = shown;
            out.totals.discount += shown;
        }
    }
    return out;
}

ComputedDiscount RecomputeDiscount(const QString& idNum, const assessment::ClassificationRates& rates) {
    ComputedDiscount out;
    db::InTransaction([&] {
        db::ExecuteCommand(DeleteComputedDiscountSql(idNum));
        out = ComputeDiscount(idNum, rates);
    });
    return out;
}

QString ZeroHospitalBillMessage() {
    return QStringLiteral("Total Hospital Bill is zero (0) therefore no more discount is needed.");
}

QString RecomputeWarning() {
    return QStringLiteral("All previous computed discount will be deleted.") + QLatin1Char('\n') +
           QStringLiteral("Do you wish to continue?");
}

QString NoChargesMessage() {
    return QStringLiteral("There are no charges on this patient's bill, so there is no discount to compute.");
}

QString MedicareNotSpreadMessage(double medicareTotal) {
    return QStringLiteral("The Medicare items add up to zero (0), so the Medicare deduction of %1 was not spread "
                          "over the departments.")
        .arg(text::AmountText(medicareTotal));
}

}  // namespace mss::billing
