#pragma once
// Statement texts and fixed texts of the assessment and referral screen. No widgets: the
// screen gathers what it shows into these values and sends what comes back.
#include <QString>
#include <QStringList>

namespace mss::assessment::arr {

// The lookup lists the screen fills when it opens, with the item text of each row.
QString ClassificationListSql();
QString ReferringListSql();
QString CaseStatusListSql();
QString ParentCategoryListSql();
QString CategoryListSql();
// The id sits at the far end of a category item, after this many blanks.
constexpr int kCategoryPadding = 100;

// The patient's MSS number and validity; the whole master row.
QString MasterNumberSql(const QString& hospNum);
QString MasterRowSql(const QString& hospNum);
QString PatientClassSql(const QString& idNum);
QString PayPatientInfoSql(const QString& idNum);
QString AssessmentRecordSql(const QString& idNum);
QString CaseHistorySql(const QString& hospNum, const QString& idNum);
QString CaseStatusCodeSql(const QString& caseStatus);
QString PreviousAssessmentsSql(const QString& hospNum);
QString ExistsMSSNumberSql(const QString& mssNum, const QString& hospNum);

// The admission's class, read for update: tbPatient2 for a numeric admission number, else the
// out-patient table and then the ER table.
struct ClassTable {
    QString sql;
    QString column;
};
QList<ClassTable> ClassTables(const QString& idNum);

// Everything one save sends, as the screen holds it.
struct AssessmentValues {
    QString hospNum, idNum;      // the screen's properties, untrimmed
    QString txtHospNum, txtIDNum;
    QString mssNum;
    QString code;
    QString categoryName, categoryId, parentCategoryId;
    QString remarks;
    QString intakeDate, validityDate;   // short date form
    QString worker, user;
    QString pcso, pcsoType, sponsor, special;
    QString nc;
    QString referringParty;
    QString active, caseStatus;
    QString services, activities, docs;
};

// The four statements of one save, in the order they run; the removal of earlier QF lines is
// left out when the assessment is a special arrangement.
QStringList SaveStatements(const AssessmentValues& v);
QString SaveAssessmentSql(const AssessmentValues& v);
QString SaveTransactionSql(const AssessmentValues& v);
QString RemoveQFLinesSql(const AssessmentValues& v);
QString SaveDocumentationSql(const AssessmentValues& v);

// The category name an option of the second "Patient's Category" frame sends when no list
// category is ticked; options past the table send none.
QString OptionCategoryName(int option);

QString VerificationText(bool forPrint, const QString& lastName, const QString& firstName, const QString& middleName,
                         const QString& hospNum, const QString& mssNum, const QString& classification,
                         const QString& expiry);
QString SavedText(const QString& lastName, const QString& firstName, const QString& hospNum, const QString& validity);
QString TwoYearsQuestion();
// A save or change of patient type that failed: the screen's text, the description, the number.
QString NotSavedText(long number, const QString& description);

// "" read as no, as do 0 and False.
bool FlagSet(const QString& value);

}  // namespace mss::assessment::arr
