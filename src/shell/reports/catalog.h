#pragma once
// The report commands of the main window: prompt, parameters, report file and title.
// The main window passes what the Session and the Patient selection hold at that moment.
#include "shell/session/patientselection.h"

namespace mss::reports {

struct CatalogContext {
    QString reportFolder;   // the Session's ReportFolder
    QString company;
    QString address1;
    PatientSelection patient;
};

// What the Session and the Patient selection hold now.
CatalogContext CurrentContext();

// Reports menu. Each shows its prompt (where it has one), then the report; a prompt closed
// with Close shows nothing. Failures are untrapped: run them under ui::RunAction.
void ViewListOfGrantees(const CatalogContext& ctx);
void ListOfAssessments(const CatalogContext& ctx);
void ARRTransactionReport(const CatalogContext& ctx);
void DischargeNoticeMonitoring(const CatalogContext& ctx);
void RevokedDischargeNotice(const CatalogContext& ctx);

// Patient documents.
void DetailedSOA(const CatalogContext& ctx);
// Through the Session's billing components; nothing visible when the billing connection
// cannot be made.
void SummarizedSOA(const CatalogContext& ctx);
void PatientDatasheet(const CatalogContext& ctx);
void ReprintIntakeSheet(const CatalogContext& ctx);
void ContractSlip(const CatalogContext& ctx);

}  // namespace mss::reports
