#include "notices/noticesqueries.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::notices {

using db::Sql;
using text::Trim;

QString LoadReferralNoticeCount() { return QStringLiteral("MSS..sp_MSS_LoadReferralNoticeCount"); }

QString LoadDischargeNotice() { return QStringLiteral("MSS..sp_MSS_LoadDischargeNotice "); }

QString LoadDischargeNoticePatient(const QString& idnum) {
    return Sql("MSS..sp_MSS_LoadDischargeNoticePatient '").val(idnum).lit("'");
}

QString PrintAssessment(const QString& hospNo, const QString& admNo) {
    return Sql("MSS..sp_MSS_PrintAssessment '").val(Trim(hospNo)).lit("','").val(Trim(admNo)).lit("'");
}

QString ClearPatientForDischarge(const QString& admNo, const QString& employeecode, const QString& remarks) {
    return Sql("MSS..sp_MSS_ClearPatientForDischarge '")
        .val(admNo).lit("','").val(employeecode).lit("','").val(remarks).lit("'");
}

QString ClearanceRemarks(const QString& typed) {
    QString s = typed;
    return s.replace(u'\'', u'`');
}

QString OtherInfoText(const QString& cdf, const QString& pcso, const QString& special, const QString& nc) {
    QString info;
    if (text::Val(cdf) == 1) info = QStringLiteral("with CDF; ");
    if (text::Val(pcso) == 1) info += QStringLiteral("with PCSO; ");
    if (text::Val(special) == 1) {
        // The counterpart comes as "0.00" when there is none; any other zero means none too.
        const bool none = nc == QStringLiteral("0.00") || text::Val(nc) == 0;
        if (none)
            info += QStringLiteral("Special Arrangement");
        else
            info += QStringLiteral("Special Arrangement (NC: ") +
                    (text::IsNumeric(nc) ? text::NumberText(text::Val(nc)) : nc) + u')';
    }
    return info;
}

QString LoadReferralNotice() { return QStringLiteral("MSS..sp_MSS_LoadReferralNotice"); }

QString LoadReferralHistory(const QString& hospNum, const QString& lastName, const QString& firstName) {
    return Sql("MSS..sp_MSS_LoadReferralHistory'")
        .val(Trim(hospNum)).lit("', '").val(Trim(lastName)).lit("','").val(Trim(firstName)).lit("'");
}

QString LoadReferralNoticePatient(const QString& idnum, const QString& refnum) {
    return Sql("MSS..sp_MSS_LoadReferralNoticePatient'").val(idnum).lit("','").val(refnum).lit("'");
}

QString SaveReferralNoticePatient(const ReferralTag& t) {
    return Sql("MSS..sp_MSS_SaveReferralNoticePatient'")
        .val(Trim(t.admNo)).lit("', '").val(text::DateISO(t.today)).lit("','").val(t.status)
        .lit("','").val(t.remarks).lit("', '").val(t.category).lit("', '").val(text::ShortDate(t.schedule))
        .lit("','").val(t.employeeCode).lit("','").val(t.referralNo).lit("' ");
}

QString TagText(const QString& status) {
    if (status == QStringLiteral("A")) return QStringLiteral("Include to Bill");
    if (status == QStringLiteral("D")) return QStringLiteral("For Justification");
    if (status == QStringLiteral("C")) return QStringLiteral("For Cash Basis");
    return QStringLiteral("Pending");
}

ReferralOpening OpenReferral(const ListChoice& notices, const ListChoice& history) {
    ReferralOpening o;
    o.readOnly = history.Valid;
    if (notices.Valid) {
        o.IDNUM = notices.IDNUM;
        o.REFNUM = notices.REFNUM;
    } else if (history.Valid) {
        o.IDNUM = history.IDNUM;
        o.REFNUM = history.REFNUM;
    }
    return o;
}

}  // namespace mss::notices
