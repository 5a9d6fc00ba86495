#pragma once
// The computation of the "QF" discount of an admission, as the screen runs it: which billing
// procedures run, in which order and with which arguments, the Medicare apportionment, the
// special arrangement, and the totals. No widgets: the screen shows what comes back.
#include "assessment/classificationscheme.h"

#include <QList>
#include <QStringList>
#include <QVariant>

namespace mss::billing {

// Rows as the billing side returns them; the grid is bound to them, headings and all.
struct DiscountRows {
    QStringList columns;
    QList<QVariantList> rows;

    bool isEmpty() const { return rows.isEmpty(); }
    int size() const { return int(rows.size()); }
    int column(const QString& name) const;   // -1 when absent
    QVariant value(int row, const QString& name) const;
    // A cell as the grid shows it: plain decimal text for numbers, "" for null.
    QString text(int row, int column) const;
};

struct DiscountTotals {
    double actualCharges = 0;
    double medicare = 0;
    double discount = 0;
    // "To Pay": the Medicare deduction is not subtracted.
    double toPay() const { return actualCharges - discount; }
};

// What the screen opens on: the patient, the assessment's special arrangement, the rates.
struct DiscountPatient {
    QString name, hospNum, idNum, mssNum, roomId, code;
    bool assessed = false;   // the admission has an assessment
    bool special = false;    // ... marked as a special arrangement
    QVariant nc;             // the NC recorded with a special arrangement, as stored
    assessment::ClassificationRates rates;

    // The NC as a number: 0 unless the arrangement is special and its NC a number.
    double specialNC() const;
};

// Reads the patient, the special-arrangement flag and the classification rates for the chosen
// encounter. An MSS patient's classification code is shown only while it is in force.
DiscountPatient ReadDiscountPatient(const QString& hospNum, const QString& idNum);

// Why the discount of this patient cannot be computed; empty when it can.
QString ComputationRefusal(const DiscountPatient& patient);

// The admission's stored "QF" discount; empty when none is stored.
DiscountRows ReadStoredDiscount(const QString& idNum);

// Totals of shown rows, each cell read as a number.
DiscountTotals TotalsOf(const DiscountRows& rows);

// The share of the actual charges a department's discount shows under a special arrangement.
double DisplayFactor(const QString& revenueId, const assessment::ClassificationRates& rates);

struct ComputedDiscount {
    enum class Ending {
        Loaded,            // rows computed, stored and returned
        NoRows,            // the bill has no charges: nothing to load
        ZeroHospitalBill,  // a special arrangement on a bill of 0: nothing loaded
    };
    Ending ending = Ending::NoRows;
    int mode = 1;                      // 2 when the special arrangement wrote the discounts
    DiscountRows rows;                 // what the load returned (discounts as shown)
    DiscountTotals totals;
    bool displayRecomputed = false;    // discounts shown by the department groups
    bool medicareNotSpread = false;    // Medicare items adding up to 0: nothing apportioned
    double medicareTotal = 0;
};

// Computes, stores and returns the discount of an admission. Failures propagate: the
// computation ends at the failing statement.
ComputedDiscount ComputeDiscount(const QString& idNum, const assessment::ClassificationRates& rates);

// Deletes the stored discount and computes it anew, in one transaction: a failure at any
// statement rolls back, so the stored discount stays as it was, and propagates.
ComputedDiscount RecomputeDiscount(const QString& idNum, const assessment::ClassificationRates& rates);

// The texts the screen shows.
QString ZeroHospitalBillMessage();
QString RecomputeWarning();
QString NoChargesMessage();
QString MedicareNotSpreadMessage(double medicareTotal);

}  // namespace mss::billing
