#include "shell/components/patientregistry.h"
#include "shell/db/recordset.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::components {

namespace {
// Opens a one-row read on the component's connection; false when nothing came back.
bool readOne(db::Connection* c, const QString& sql, db::Recordset& rs) {
    if (!c || c->State() != db::adStateOpen)
        throw db::Failure(db::errnum::ObjectClosed, QStringLiteral("PatientRegistry"),
                          QStringLiteral("The patient registry is not connected."));
    rs.Open(sql, *c, db::CursorType::Static, db::LockType::ReadOnly);
    return rs.IsOpen() && !rs.Eof();
}
QString txt(const db::Recordset& rs, const char* col) { return text::VariantText(rs.Value(QString::fromLatin1(col))); }
QDateTime date(const db::Recordset& rs, const char* col) {
    const QVariant v = rs.Value(QString::fromLatin1(col));
    if (!v.isValid() || v.isNull()) return QDateTime();
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime() : text::ParseDateTime(v.toString());
}
}  // namespace

bool RegistryRoom::LoadRoom(const QString& roomId) {
    db::Recordset rs;
    const bool found = readOne(connection_, db::Sql(QStringLiteral("Patient_Data..sp_Reg_LoadRoom '")).val(roomId).lit("'"), rs);
    RoomID = found ? txt(rs, "RoomID") : QString();
    StationID = found ? txt(rs, "StationID") : QString();
    RoomClass = found ? txt(rs, "RoomClass") : QString();
    RoomRate = found ? text::Val(txt(rs, "RoomRate")) : 0.0;
    return found;
}

bool RegistryPatientMaster::LoadPatient(const QString& hospitalNumber) {
    db::Recordset rs;
    const bool found =
        readOne(connection_, db::Sql(QStringLiteral("Patient_Data..sp_Reg_LoadPatient '")).val(hospitalNumber).lit("'"), rs);
    auto get = [&](const char* c) { return found ? txt(rs, c) : QString(); };
    HospitalNumber = get("HospitalNumber");
    LastName = get("LastName");
    FirstName = get("FirstName");
    MiddleName = get("MiddleName");
    Sex = get("Sex");
    Age = get("Age");
    BirthDate = found ? date(rs, "BirthDate") : QDateTime();
    BirthPlace = get("BirthPlace");
    Occupation = get("Occupation");
    TelNumber = get("TelNumber");
    Employer = get("Employer");
    Address = get("Address");
    Religion.Description = get("Religion");
    CivilStatus.Description = get("CivilStatus");
    return found;
}

bool RegistryAdmission::OpenAdmission(const QString& admissionNumber) {
    ++opened_;
    db::Recordset rs;
    const bool found =
        readOne(connection_, db::Sql(QStringLiteral("Patient_Data..sp_Reg_OpenAdmission '")).val(admissionNumber).lit("'"), rs);
    auto get = [&](const char* c) { return found ? txt(rs, c) : QString(); };
    IdNum = get("IdNum");
    HospNum = get("HospNum");
    AdmissionDate = found ? date(rs, "AdmissionDate") : QDateTime();
    DischargeDate = found ? date(rs, "DischargeDate") : QDateTime();
    ReferringDoctor = get("ReferringDoctor");
    AttendingDoctor = get("AttendingDoctor");
    History.AdmittingDiagnosis = get("AdmittingDiagnosis");
    History.FinalDiagnosis = get("FinalDiagnosis");
    const QString room = get("RoomID");
    if (!room.isEmpty()) Room.LoadRoom(room);
    else Room.RoomID.clear();
    return found;
}

Patient::Patient() = default;
Patient::~Patient() = default;

void Patient::OpenConnection(const QString& connectionString) {
    auto c = std::make_unique<db::Connection>();
    c->Open(connectionString);
    c->SetCursorLocation(db::CursorLocation::Client);
    connection_ = std::move(c);
    master_.reset();
    admission_.reset();
    room_.reset();
    active_ = connectionString;
}

RegistryPatientMaster* Patient::clsPatientMaster() {
    if (!master_) master_ = std::make_unique<components::RegistryPatientMaster>(connection_.get());
    return master_.get();
}

RegistryAdmission* Patient::clsAdmission() {
    if (!admission_) admission_ = std::make_unique<components::RegistryAdmission>(connection_.get());
    return admission_.get();
}

RegistryRoom* Patient::clsRoom() {
    if (!room_) room_ = std::make_unique<components::RegistryRoom>(connection_.get());
    return room_.get();
}

}  // namespace mss::components
