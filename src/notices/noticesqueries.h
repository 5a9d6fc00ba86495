#pragma once
// The statements of the notice screens and the texts they build from what the database
// returns. No widgets here, so the exact texts can be checked on their own.
#include <QDate>
#include <QString>

namespace mss::notices {

// The worker at the keyboard: the log-in's code and name, and the Session's employee code.
struct Worker {
    QString employeecode;
    QString EmployeeName;
    QString EmployeeCode;
};

// --- Polling
QString LoadReferralNoticeCount();

// --- Discharge notices
QString LoadDischargeNotice();
QString LoadDischargeNoticePatient(const QString& idnum);
// Hospital and admission numbers are trimmed.
QString PrintAssessment(const QString& hospNo, const QString& admNo);
// The admission number goes as shown; the remarks must already be free of apostrophes
// (ClearanceRemarks).
QString ClearPatientForDischarge(const QString& admNo, const QString& employeecode, const QString& remarks);
// The clearance procedure never receives an apostrophe inside the remarks: each becomes a backquote.
QString ClearanceRemarks(const QString& typed);
// The "Other Info." line of the MSS data: "with CDF; ", "with PCSO; " and the special
// arrangement with its counterpart, from the texts of those columns.
QString OtherInfoText(const QString& cdf, const QString& pcso, const QString& special, const QString& nc);

// --- Referrals
QString LoadReferralNotice();
// Each criterion is trimmed.
QString LoadReferralHistory(const QString& hospNum, const QString& lastName, const QString& firstName);
QString LoadReferralNoticePatient(const QString& idnum, const QString& refnum);

struct ReferralTag {
    QString admNo;          // trimmed in the statement
    QDate today;            // written as YYYY-MM-DD
    QString status;         // "A", "D", "C" or "P"
    QString remarks;        // as typed
    QString category;       // as typed
    QDate schedule;         // written in the short date form
    QString employeeCode;
    QString referralNo;
};
QString SaveReferralNoticePatient(const ReferralTag& tag);

// "Include to Bill", "For Justification", "For Cash Basis"; anything else "Pending".
QString TagText(const QString& status);

// A list's line is "open" while its notice waits and "clear" once it was acted on.
inline const char* const kIconOpen = "open";
inline const char* const kIconClear = "clear";

// What each referral list hands to the referral screen, and how the screen takes it: from
// the notice list when that is being chosen from, else from the history, else nothing; it
// opens read-only only when chosen from the history.
struct ListChoice {
    QString IDNUM;
    QString REFNUM;
    bool Valid = false;
};
struct ReferralOpening {
    QString IDNUM;
    QString REFNUM;
    bool readOnly = false;
};
ReferralOpening OpenReferral(const ListChoice& notices, const ListChoice& history);

}  // namespace mss::notices
