#pragma once
// The patient registry component: patient master, admission and room objects over a
// connection of its own.
#include "shell/db/connection.h"

#include <QDateTime>
#include <memory>

namespace mss::components {

struct Description { QString Description; };

class RegistryRoom {
public:
    explicit RegistryRoom(db::Connection* c) : connection_(c) {}
    bool LoadRoom(const QString& roomId);
    QString RoomID;
    QString StationID;
    QString RoomClass;
    double RoomRate = 0;
private:
    db::Connection* connection_;
};

class RegistryPatientMaster {
public:
    explicit RegistryPatientMaster(db::Connection* c) : connection_(c) {}
    // True when found; the properties then hold the patient (cleared otherwise).
    bool LoadPatient(const QString& hospitalNumber);
    QString HospitalNumber, LastName, FirstName, MiddleName, Sex, Age;
    QDateTime BirthDate;   // invalid when unknown
    QString BirthPlace, Occupation, TelNumber, Employer, Address;
    Description Religion, CivilStatus;
private:
    db::Connection* connection_;
};

struct AdmissionHistory { QString AdmittingDiagnosis; QString FinalDiagnosis; };

class RegistryAdmission {
public:
    explicit RegistryAdmission(db::Connection* c) : connection_(c), Room(c) {}
    // Loads the admission; an unknown number leaves the properties empty.
    bool OpenAdmission(const QString& admissionNumber);
    QString IdNum, HospNum;
    QDateTime AdmissionDate, DischargeDate;
    QString ReferringDoctor, AttendingDoctor;
    AdmissionHistory History;
    int timesOpened() const { return opened_; }
private:
    db::Connection* connection_;
    int opened_ = 0;
public:
    RegistryRoom Room;
};

class Patient {
public:
    Patient();
    ~Patient();
    // Opens the component's own connection; ActiveConnection is set only when that worked.
    void OpenConnection(const QString& connectionString);
    QString ActiveConnection() const { return active_; }
    RegistryPatientMaster* clsPatientMaster();
    RegistryAdmission* clsAdmission();
    RegistryRoom* clsRoom();
    db::Connection* connection() const { return connection_.get(); }
private:
    std::unique_ptr<db::Connection> connection_;
    QString active_;
    std::unique_ptr<components::RegistryPatientMaster> master_;
    std::unique_ptr<components::RegistryAdmission> admission_;
    std::unique_ptr<components::RegistryRoom> room_;
};

// Companion components that the program creates and keeps but barely uses.
class KeyPress {};

class CodeSearchDialog {
public:
    QString MTS_Server;
    bool SearchMode = false;
    void Initialize_Classes() { initialized_ = true; }
    bool initialized() const { return initialized_; }
    QString CompanyName;
    QString SearchTitle;
    db::Connection* Connection = nullptr;
private:
    bool initialized_ = false;
};

}  // namespace mss::components
