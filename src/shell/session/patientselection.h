#pragma once
// The patient last picked in the patient search. Every patient command reads it when it runs;
// nothing is notified when it changes.
#include <QString>

namespace mss {

struct PatientSelection {
    QString HospNum;
    QString IDNUM;
    QString ERNum;
    QString RoomID;
    QString MSSID;
    QString PatientName;
    QString PatientType = QStringLiteral("2");
    QString Billdate;
};

PatientSelection& Selection();

}  // namespace mss
