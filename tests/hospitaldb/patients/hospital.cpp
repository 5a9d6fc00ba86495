#include "tests/hospitaldb/patients/hospital.h"

#include "demotemplate.h"
#include "hospitaldb/demo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace patients_test {

namespace {
QTemporaryDir* g_dir = nullptr;
int g_copies = 0;

// Patients whose every value the tests know. Dates are relative to today so that "current"
// stays current.
const char* const kKnownPatients = R"SQL(
INSERT INTO PATIENT_DATA__tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, BirthDate, CivilStatusID,
    ReligionID, Street, Barangay, Municipality, Province, TelNumber, MSSNum, MSSClassification,
    MSSDiscountValidity, MSSDiscountExpiry)
VALUES
 ('90000001', 'DELA PAZ', 'JUANITO', 'REYES', 'M', '1970-03-15', '2', '01', '12 MABINI ST.', 'BRGY. SAN ROQUE',
  'MARIKINA', 'METRO MANILA', '0917-555-1234', '2023-900001', 'C2', datetime(date('now', '-30 days')), datetime(date('now', '+150 days'))),
 ('90000002', 'DELA PAZ', 'ANA', 'LIM', 'F', '1985-07-01', '1', '02', '', '', 'PASIG', 'METRO MANILA', '',
  '2023-900002', 'B', datetime(date('now', '-400 days')), datetime(date('now', '-35 days'))),
 ('90000003', 'DELAPAZ', 'BERTO', '', 'M', '1990-01-01', '1', '01', '', '', '', '', '', NULL, NULL, NULL, NULL),
 ('90000004', 'DELA', 'ZENY', 'PAZ', 'F', '1960-12-31', '3', '01', '', '', '', '', '', NULL, NULL, NULL, NULL);

INSERT INTO PATIENT_DATA__tbOutPatient (IdNum, HospNum, AdmDate, DcrDate, AttendingDoctorID, Clinic, PatientType, AccountNum)
VALUES
 ('990001B', '90000001', datetime('now', '-3 days', 'start of day', '+8 hours'), datetime('now', '-3 days', 'start of day', '+10 hours'), 'D002', 'EMERGENCY', 'S', NULL),
 ('990002B', '90000001', datetime('now', '-60 days', 'start of day', '+9 hours'), datetime('now', '-60 days', 'start of day', '+11 hours'), 'D001', 'NEPHROLOGY', 'S', NULL),
 ('990003B', '90000003', datetime('now', 'start of day', '+7 hours'), NULL, 'D009', 'EMERGENCY', '', 'S001'),
 ('990004B', '90000004', datetime('now', '-10 days', 'start of day', '+7 hours'), datetime('now', '-10 days', 'start of day', '+9 hours'), 'D001', 'NEPHROLOGY', 'P', NULL);

INSERT INTO PATIENT_DATA__tbERMaster (ERNum, IdNum, HospNum, ERDate, ChiefComplaint, PatientClassification)
VALUES ('ER9900001', '990001B', '90000001', datetime('now', '-3 days', 'start of day', '+8 hours'), 'CHEST PAIN', 'S'),
       ('ER9900002', '990003B', '90000003', datetime('now', 'start of day', '+7 hours'), 'FEVER', '');

INSERT INTO PATIENT_DATA__tbPatient2 (IdNum, HospNum, AdmDate, DcrDate, RoomID, AttendingDoctorID, ReferringDoctor,
    AdmittingDiagnosis, PatientClass, OPDIdNum, AccountNum, BillingDate)
VALUES
 ('990101', '90000001', datetime('now', '-3 days', 'start of day', '+10 hours'), NULL, '201', 'D001', 'DR. PEDRO SANTOS',
  'CHRONIC KIDNEY DISEASE STAGE 5', 'S', '990001B', 'S002', NULL),
 ('990102', '90000001', datetime('now', '-200 days', 'start of day', '+14 hours'), datetime('now', '-190 days', 'start of day', '+15 hours'),
  '101', 'D003', '', 'ACUTE APPENDICITIS', 'S', NULL, 'C001', datetime('now', '-190 days', 'start of day', '+15 hours')),
 ('990103', '90000002', datetime('now', '-1 days', 'start of day', '+20 hours'), NULL, '102', 'D002', '', 'DENGUE FEVER', '', NULL, NULL, NULL),
 ('T990104', '90000004', datetime('now', '-2 days', 'start of day', '+9 hours'), NULL, '301', 'D004', '', 'SEPSIS', 'P', NULL, NULL, NULL);
)SQL";
}  // namespace

QVariant Rows::at(int row, const QString& column) const {
    const int c = int(table.columns.indexOf(column));
    if (c < 0) throw std::runtime_error(("no column " + column).toStdString());
    return table.rows.at(row).at(c);
}
QString Rows::text(int row, const QString& column) const {
    const QVariant v = at(row, column);
    return v.isNull() ? QString() : v.toString();
}
bool Rows::has(const QString& column) const { return table.columns.contains(column); }

void Hospital::SetUpTestSuite() {
    if (g_dir) return;
    g_dir = new QTemporaryDir;
    const QString cache = mss::test::cachedDemo(QStringLiteral("patients"), [](const QString& built) {
        hospitaldb::Engine e(built, false);
        e.runScript(QString::fromUtf8(kKnownPatients), QStringLiteral("known patients"));
    });
    if (!QFile::copy(cache, demoPath())) throw std::runtime_error("cannot copy the demo hospital");
}

void Hospital::TearDownTestSuite() {}

QString Hospital::demoPath() { return g_dir->filePath(QStringLiteral("demo.db")); }

QString Hospital::freshCopy() {
    const QString p = g_dir->filePath(QStringLiteral("copy%1.db").arg(++g_copies));
    QFile::copy(demoPath(), p);
    return p;
}

void Hospital::SetUp() { backend_ = hospitaldb::openEmbedded(demoPath()); }

Rows Hospital::run(const QString& sql) {
    messages_.clear();
    return Rows{backend_->execute(sql, messages_)};
}

hospitaldb::Engine& Hospital::engine() { return static_cast<hospitaldb::EmbeddedBackend&>(*backend_).engine(); }

}  // namespace patients_test
