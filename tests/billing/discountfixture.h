#pragma once
// The computation of discount screen on a test hospital with patients of known bills, so that
// every discount can be worked out by hand. Classification "T1": procedures 50 %, medicines 40 %, supplies 30 %, room 25 %;
// out-patients 45 %, 35 %, 20 % and no room rate.
#include "billing/frmcomputediscount.h"
#include "promptdouble.h"
#include "testhospital.h"

#include <QMap>
#include <QPointer>
#include <gtest/gtest.h>

namespace hospitaldb { class EmbeddedBackend; }

namespace mss::test {

struct KnownEncounter {
    const char* hospNum;
    const char* idNum;
};

// LB 3,000 (two lines), PH 2,000, MD 5,000 and a senior-citizen deduction; a Medicare claim
// of 200 over items LB 300 and MD 100. Assessed T1, no special arrangement.
constexpr KnownEncounter kOrdinary{"99100001", "991001"};
// The same bill, assessed T1 as a special arrangement with an NC of 1,000.
constexpr KnownEncounter kSpecial{"99100002", "991002"};
// An out-patient visit ("OPD"): LB 800, CS 200, RA 100, DT 100; special, NC 500.
constexpr KnownEncounter kOutPatient{"99100003", "991101B"};
// An admission with a matched out-patient registration (991102B): LB 1,000 and MD 500 on the
// admission, PH 500 on the registration; special, NC 300.
constexpr KnownEncounter kWithOPD{"99100004", "991003"};
// Marked special on the assessment with an NC of 0: RA 1,000, DT 400, XR 600; Medicare 100 on XR.
constexpr KnownEncounter kSpecialWithoutNC{"99100005", "991004"};
// Special, NC 1,000, and nothing but professional fees (MD 3,000): a hospital bill of 0.
constexpr KnownEncounter kZeroBill{"99100006", "991005"};
// Charges but no MSS number and no assessment.
constexpr KnownEncounter kNotAssessed{"99100007", "991006"};
// Assessed, but the classification expired five days ago.
constexpr KnownEncounter kExpired{"99100008", "991007"};
// Special with an NC stored as "abc".
constexpr KnownEncounter kBadNC{"99100009", "991008"};
// Assessed and classified, without a single bill line.
constexpr KnownEncounter kNoCharges{"99100010", "991009"};
// LB 1,000 with a Medicare claim of 100 whose only item is 0.
constexpr KnownEncounter kZeroItems{"99100011", "991010"};
// A cash admission (number "T…"): RA 2,000 and PH 1,000.
constexpr KnownEncounter kCash{"99100012", "T991011"};

// A fresh hospital with the patients above; screens opened as the main window opens them.
class DiscountScreenTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Chooses the encounter and opens the screen on it, failures shown as the program shows them.
    billing::frmComputeDiscount* open(const KnownEncounter& e);
    billing::frmComputeDiscount* open(const QString& hospNum, const QString& idNum);
    // The visible cells, row by row: code, department, charges, Medicare, discount.
    QList<QStringList> grid() const;
    // The encounter's stored QF lines: department code -> amount (negative: a deduction).
    QMap<QString, double> storedQF(const QString& idNum);
    // Runs SQLite SQL on the hospital's file, outside the statement log.
    void script(const QString& sql);
    hospitaldb::EmbeddedBackend& backend();
    void clickRecompute(ui::Answer answer);

    TestHospital hospital_;
    ScriptedPrompts prompts_;
    QPointer<billing::frmComputeDiscount> screen_;
};

}  // namespace mss::test
