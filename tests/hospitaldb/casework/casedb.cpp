#include "tests/hospitaldb/casework/casedb.h"

#include "demotemplate.h"
#include "hospitaldb/demo.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace casework_test {

namespace {

// Patients of known values. 91000001 is admitted (991201, with the out-patient visit 991202B
// consolidated into it); 91000002 holds the MSS number 2020-777777; 91000003 is an
// out-patient; 91000004 was discharged. Every charge is known, so discounts can be checked.
const char* const kKnown = R"SQL(
INSERT INTO PATIENT_DATA__tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, BirthDate, CivilStatusID,
    ReligionID, Street, Barangay, Municipality, Province, MSSNum, MSSClassification, MSSDiscountValidity,
    MSSDiscountExpiry)
VALUES
 ('91000001', 'CASTILLO', 'MARIA', 'LOPEZ', 'F', '1961-04-02', '2', '01', '4 RIZAL ST.', 'BRGY. UNO', 'PASIG', 'METRO MANILA',
  NULL, NULL, NULL, NULL),
 ('91000002', 'OCAMPO', 'PEDRO', 'SY', 'M', '1975-09-09', '1', '01', '', '', '', '', '2020-777777', 'C2',
  datetime(date('now', '-10 days')), datetime(date('now', '+170 days'))),
 ('91000003', 'RAMIREZ', 'JOSE', '', 'M', '1988-01-20', '1', '01', '', '', '', '', NULL, NULL, NULL, NULL),
 ('91000004', 'SALAZAR', 'LUZ', 'DIAZ', 'F', '1950-06-30', '3', '01', '', '', '', '', NULL, NULL, NULL, NULL);

INSERT INTO PATIENT_DATA__tbOutPatient (IdNum, HospNum, AdmDate, DcrDate, AttendingDoctorID, Clinic, PatientType)
VALUES
 ('991202B', '91000001', datetime('now', '-2 days', 'start of day', '+7 hours'),
  datetime('now', '-2 days', 'start of day', '+9 hours'), 'D001', 'EMERGENCY', 'P'),
 ('991301B', '91000003', datetime('now', 'start of day', '+8 hours'), NULL, 'D002', 'NEPHROLOGY', 'P');

INSERT INTO PATIENT_DATA__tbPatient2 (IdNum, HospNum, AdmDate, DcrDate, RoomID, AttendingDoctorID,
    AdmittingDiagnosis, PatientClass, OPDIdNum)
VALUES
 ('991201', '91000001', datetime('now', '-2 days', 'start of day', '+10 hours'), NULL, '201', 'D001',
  'CHRONIC KIDNEY DISEASE', 'P', '991202B'),
 ('991401', '91000004', datetime('now', '-20 days', 'start of day', '+10 hours'),
  datetime('now', '-12 days', 'start of day', '+10 hours'), '101', 'D003', 'PNEUMONIA', 'S', NULL);

INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount)
VALUES
 ('991201', 'RA', 'K1', 'RA001', 'ROOM AND BOARD', datetime('now', '-2 days'), 1, 500),
 ('991201', 'RA', 'K2', 'RA001', 'ROOM AND BOARD', datetime('now', '-1 days'), 1, 500),
 ('991201', 'PH', 'K3', 'P01', 'MEDICINES', datetime('now', '-1 days'), 4, 2000),
 ('991201', 'CS', 'K4', 'S01', 'SUPPLIES', datetime('now', '-1 days'), 2, 1000),
 ('991201', 'LB', 'K5', 'L001', 'LABORATORY', datetime('now', '-1 days'), 1, 3000),
 ('991201', 'MD', 'K6', 'D001', 'PROFESSIONAL FEE', datetime('now', '-1 days'), 1, 5000),
 ('991201', 'SD', 'K7', '', 'SENIOR CITIZEN DISCOUNT', datetime('now', '-1 days'), 1, -400);

INSERT INTO BILLING__tbBillOPDailyOut (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount)
VALUES
 ('991202B', 'LB', 'K8', 'L002', 'URINALYSIS', datetime('now', '-2 days'), 1, 500),
 ('991202B', 'PH', 'K9', 'P02', 'MEDICINES', datetime('now', '-2 days'), 1, 300),
 ('991301B', 'LB', 'K10', 'L003', 'CREATININE', datetime('now'), 1, 800),
 ('991301B', 'CS', 'K11', 'S02', 'SUPPLIES', datetime('now'), 1, 200);

INSERT INTO BILLING__tbBillMedicare (ClaimID, IdNum, DeductionType, ClaimNum, Amount)
VALUES (99001, '991201', 'MEDICARE', 'PHIC-T1', 200);
INSERT INTO BILLING__tbBillMedicareItem (ClaimID, RevenueID, Amount)
VALUES (99001, 'PH', 100), (99001, 'LB', 300);
)SQL";

void execScript(const QString& path, const QString& sql) {
    hospitaldb::Engine e(path, false);
    e.runScript(sql, QStringLiteral("known patients"));
}
}  // namespace

QVariant Rows::at(int row, const QString& column) const {
    const int c = int(table.columns.indexOf(column));
    if (c < 0) throw std::runtime_error(("no column " + column).toStdString());
    if (row >= size()) throw std::runtime_error("no row " + std::to_string(row));
    return table.rows.at(row).at(c);
}

QString Rows::text(int row, const QString& column) const {
    const QVariant v = at(row, column);
    return v.isNull() ? QString() : v.toString();
}

QString mdy(int daysFromToday) {
    return QDate::currentDate().addDays(daysFromToday).toString(QStringLiteral("MM/dd/yyyy"));
}
QString iso(int daysFromToday) {
    return QDate::currentDate().addDays(daysFromToday).toString(Qt::ISODate);
}

void CaseDb::SetUpTestSuite() { templatePath(); }

QString CaseDb::templatePath() {
    static const QString path = mss::test::cachedDemo(QStringLiteral("casework"), [](const QString& built) {
        execScript(built, QString::fromLatin1(kKnown));
    });
    return path;
}

void CaseDb::SetUp() {
    path_ = dir_.filePath(QStringLiteral("hospital.db"));
    ASSERT_TRUE(QFile::copy(templatePath(), path_));
    backend_ = std::make_unique<hospitaldb::EmbeddedBackend>(path_);
    backend_->setUser(QStringLiteral("0001"));
}

std::unique_ptr<hospitaldb::EmbeddedBackend> CaseDb::openAnother() const {
    auto other = std::make_unique<hospitaldb::EmbeddedBackend>(path_);
    other->setUser(QStringLiteral("0002"));
    return other;
}

Rows CaseDb::run(const QString& sql) {
    messages_.clear();
    return Rows{backend_->execute(sql, messages_)};
}

long CaseDb::failure(const QString& sql, QString* description) {
    try {
        run(sql);
    } catch (const mss::db::Failure& f) {
        if (description) *description = f.Description;
        return f.Number;
    }
    return 0;
}

QVariant CaseDb::value(const QString& sqliteSql) {
    const mss::db::ResultTable r = backend_->runSql(sqliteSql, {});
    if (r.rows.isEmpty() || r.rows.first().isEmpty()) return QVariant();
    return r.rows.first().first();
}

}  // namespace casework_test
