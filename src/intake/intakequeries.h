#pragma once
// The intake sheet's statement texts, built without widgets: the loads at opening, the
// lookup lists, the MSS number checks and the save of the whole sheet.
#include <QString>
#include <QStringList>

namespace mss::intake {

// Loads at opening.
QString ClassificationSearchSql(const QString& idnum);
// The header read before the sheet itself; the hospital number is trimmed here, not there.
QString IntakeHeaderSql(const QString& hospNum);
QString IntakeSheetSql(const QString& hospNum);
QString OtherPatientInfoSql(const QString& hospNum);
QString FamilyCompositionSql(const QString& hospNum);
QString MonthlyExpensesSql(const QString& hospNum);
QString RegisteredOPDSql(const QString& idnum);

// A lookup list: the box's object name, the query and the column shown, in filling order.
struct LookupList {
    const char* box;
    const char* sql;
    const char* column;
};
// Before the ratings' lists, and after them.
extern const LookupList kListsBeforeRatings[6];
extern const LookupList kListsAfterRatings[4];

// The MSS number held by another patient, if any (first row: HospNum, PatientName).
QString ExistsMSSNumberSql(const QString& caseNo, const QString& hospNum);

// The three statements of the save, with their 32, 22 and 11 arguments.
QString SaveIntakeSheetDataSql(const QStringList& args);
QString SaveOtherPatientInfoSql(const QStringList& args);
QString SavePatientDataSql(const QStringList& args);
QString ClearFamilyCompositionSql(const QString& hospNum);
// hospital number, the seven member cells, income, total family income.
QString SaveFamilyMemberSql(const QString& hospNum, const QStringList& cells, const QString& income,
                            const QString& total);
// hospital number, amounts 0-22, the other expense, amount 23, the total.
QString SaveMonthlyExpensesSql(const QString& hospNum, const QStringList& amounts, const QString& other,
                               const QString& total);

}  // namespace mss::intake
