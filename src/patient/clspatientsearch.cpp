#include "patient/clspatientsearch.h"
#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"
#include "shell/dialogs/prompt.h"

namespace mss::patient {

clsPatientSearch& PatientSearch() {
    static clsPatientSearch gateway;
    return gateway;
}

clsPatientSearch::clsPatientSearch() = default;
clsPatientSearch::~clsPatientSearch() = default;

bool clsPatientSearch::InitConnection(const QString& strConnectionString, const QString& /*strServerName*/) {
    bool connected = false;
    try {
        if (!text::Trim(strConnectionString).isEmpty()) {
            // Every component is created locally, whatever server is named.
            auto registry = std::make_unique<components::Patient>();
            registry->OpenConnection(strConnectionString);
            if (!registry->ActiveConnection().isEmpty()) {
                registry_ = std::move(registry);
                master_ = nullptr;
                admission_ = nullptr;
                loaded_.clear();
                connected = true;
            }
        } else {
            connected = registry_ && !registry_->ActiveConnection().isEmpty();
        }
    } catch (const db::Failure&) {
        connected = false;
    }
    if (!connected) {
        ui::MsgBox(QStringLiteral("Unable to stablish a connection..."), ui::Icon::None, ui::Buttons::Ok);
        return false;
    }
    // Not trapped: a connection that cannot be opened here is a failure of its own.
    if (!db::HasSessionConnection() || db::SessionConnection().State() == db::adStateClosed)
        db::OpenSessionConnection(strConnectionString);
    return true;
}

components::RegistryPatientMaster* clsPatientSearch::PatientMaster() {
    if (!master_) master_ = registry_->clsPatientMaster();
    return master_;
}

components::RegistryAdmission* clsPatientSearch::Admission() {
    if (!admission_) admission_ = registry_->clsAdmission();
    if (pending_ != loaded_) {
        loaded_ = pending_;
        admission_->OpenAdmission(loaded_);
    }
    return admission_;
}

bool clsPatientSearch::ValidateAdmission(const QString& IDNumber, const QString& /*StationID*/) {
    const QString trimmed = text::Trim(IDNumber);
    if (trimmed.isEmpty()) return false;
    db::OpenQuery(rs_, db::Sql(QStringLiteral("Patient_Data..sp_Adm_LoadInPatient '")).val(trimmed).lit("',''"));
    if (rs_.Bof() && rs_.Eof()) {
        rs_.Close();
        return false;
    }
    pending_ = IDNumber;
    return true;
}

}  // namespace mss::patient
