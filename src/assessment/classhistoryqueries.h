#pragma once
// Statement texts of the class-history and MSS-number screens, and the rule that keeps a
// patient with a classification in force from going back to pay patient. No widgets.
#include <QDate>
#include <QString>

namespace mss::assessment::classhistory {

// The admission's class letter: tbPatient2 holds numeric (in-patient) admission numbers,
// tbOutPatient the others.
QString CurrentClassSql(const QString& idNum);
QString ClassificationInForceSql(const QString& hospNum);
QString ChangeClassSql(const QString& idNum, const QString& letter, const QString& employeeCode);
QString HistorySql(const QString& idNum);
// The history row goes back as its class and its date, the date twice.
QString RemoveHistorySql(const QString& idNum, const QString& patientClass, const QString& reason,
                         const QString& transDate, const QString& employeeCode);
QString NewMSSNumberSql(const QString& hospNum, const QString& newNumber);

// True when a switch to pay must be refused: the patient holds a classification whose expiry
// ("mm/dd/yyyy", as the classification query gives it) is after today. A classification
// without an expiry earns no discount, so it does not hold the patient back. An expiry that
// is no date fails (type mismatch).
bool PayRefused(const QString& classification, const QString& expiry, const QDate& today);
QString PayRefusalMessage(const QString& classification, const QString& expiry);

// The reason a worker gives for deleting a history row must be at least this long, trimmed.
constexpr int kMinimumReason = 6;
QString ShortReasonMessage();

}  // namespace mss::assessment::classhistory
