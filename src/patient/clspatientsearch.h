#pragma once
// The gateway to the patient registry component: connects it, caches its objects and opens
// an admission only when the requested number changed.
#include "shell/components/patientregistry.h"
#include "shell/db/recordset.h"

#include <memory>

namespace mss::patient {

class clsPatientSearch {
public:
    clsPatientSearch();
    ~clsPatientSearch();

    // Shows "Unable to stablish a connection..." and returns false when the registry cannot be reached.
    bool InitConnection(const QString& strConnectionString, const QString& strServerName);
    components::RegistryPatientMaster* PatientMaster();
    components::RegistryAdmission* Admission();
    bool ValidateAdmission(const QString& IDNumber, const QString& StationID);

    components::Patient* registry() const { return registry_.get(); }
    const QString& pendingAdmission() const { return pending_; }

private:
    std::unique_ptr<components::Patient> registry_;
    components::RegistryPatientMaster* master_ = nullptr;
    components::RegistryAdmission* admission_ = nullptr;
    QString pending_;
    QString loaded_;
    db::Recordset rs_;
};

// The program's single gateway (the Session's PatientSearch), created on first use and kept
// across "Change Active User".
clsPatientSearch& PatientSearch();

}  // namespace mss::patient
