#pragma once
// The discount benchmarks' admission bill: `lines` lines spread over every charging
// department, in place of the admission's own lines and Medicare claims.
#include "hospitaldb/engine.h"

namespace bench {

inline void WriteBill(hospitaldb::Engine& engine, const QString& idNum, int lines) {
    engine.query(QStringLiteral("DELETE FROM BILLING__tbBillDailyBill WHERE IdNum = ?"), {idNum});
    engine.query(QStringLiteral("DELETE FROM BILLING__tbBillMedicare WHERE IdNum = ?"), {idNum});
    engine.query(QStringLiteral(
                     "WITH RECURSIVE k(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM k WHERE i + 1 < ?2), "
                     "r AS (SELECT RevenueID, row_number() OVER (ORDER BY RevenueID) - 1 AS j, count(*) OVER () AS c "
                     "      FROM BUILD_FILE__tbCoRevenueCode WHERE RevenueID NOT IN ('QF', 'SD')) "
                     "INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount) "
                     "SELECT ?1, r.RevenueID, 'B' || k.i, 'I' || (k.i % 97), 'ITEM ' || k.i, datetime('now', '-1 days'), 1, "
                     "       10 + (k.i % 50) * 7.25 FROM k JOIN r ON r.j = k.i % r.c"),
                 {idNum, lines});
}

}  // namespace bench
