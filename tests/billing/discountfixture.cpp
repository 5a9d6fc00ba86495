#include "discountfixture.h"

#include "hospitaldb/embedded.h"
#include "shell/dialogs/action.h"
#include "shell/session/patientselection.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace mss::test {

namespace {

const char* const kPatients = R"SQL(
INSERT INTO MSS__tbMSSClassificationScheme (Code, Classification) VALUES ('T1', 'TEST RATES');
INSERT INTO MSS__tbMSSClassification (Type, Procedures, Medicines, Supplies, Room, Procedures2, Medicines2, Supplies2)
VALUES ('T1', 0.5, 0.4, 0.3, 0.25, 0.45, 0.35, 0.2);

INSERT INTO PATIENT_DATA__tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, MSSNum, MSSClassification,
    MSSDiscountValidity, MSSDiscountExpiry)
SELECT column1, column2, column3, 'TEST', 'F',
       CASE WHEN column1 = '99100007' THEN NULL ELSE '2099-' || substr(column1, 3) END,
       CASE WHEN column1 = '99100007' THEN NULL ELSE 'T1' END,
       CASE WHEN column1 = '99100007' THEN NULL ELSE datetime(date('now', '-30 days')) END,
       CASE WHEN column1 = '99100007' THEN NULL
            WHEN column1 = '99100008' THEN datetime(date('now', '-5 days'))
            ELSE datetime(date('now', '+150 days')) END
  FROM (VALUES ('99100001', 'ALONZO', 'ADA'), ('99100002', 'BAUTISTA', 'BEN'), ('99100003', 'CRUZ', 'CORA'),
               ('99100004', 'DIAZ', 'DINO'), ('99100005', 'ESTRADA', 'EVA'), ('99100006', 'FLORES', 'FE'),
               ('99100007', 'GARCIA', 'GIL'), ('99100008', 'HERRERA', 'HAL'), ('99100009', 'IBARRA', 'IVY'),
               ('99100010', 'JACINTO', 'JO'), ('99100011', 'KALAW', 'KIM'), ('99100012', 'LUNA', 'LEA'));

INSERT INTO PATIENT_DATA__tbOutPatient (IdNum, HospNum, AdmDate, Clinic, PatientType) VALUES
 ('991101B', '99100003', datetime('now', 'start of day', '+8 hours'), 'NEPHROLOGY', 'S'),
 ('991102B', '99100004', datetime('now', '-3 days', 'start of day', '+7 hours'), 'EMERGENCY', 'S');

INSERT INTO PATIENT_DATA__tbPatient2 (IdNum, HospNum, AdmDate, RoomID, PatientClass, OPDIdNum)
SELECT column1, column2, datetime('now', '-3 days', 'start of day', '+10 hours'), column3, 'S', column4
  FROM (VALUES ('991001', '99100001', '301', NULL), ('991002', '99100002', '302', NULL),
               ('991003', '99100004', '303', '991102B'), ('991004', '99100005', '201', NULL),
               ('991005', '99100006', '202', NULL), ('991006', '99100007', '203', NULL),
               ('991007', '99100008', '101', NULL), ('991008', '99100009', '102', NULL),
               ('991009', '99100010', '103', NULL), ('991010', '99100011', '104', NULL),
               ('T991011', '99100012', '105', NULL));

INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount)
SELECT column1, column2, 'K' || column1 || column2 || column3, column2 || '01', 'TEST ITEM',
       datetime('now', '-1 days'), 1, column3
  FROM (VALUES ('991001', 'LB', 1000), ('991001', 'LB', 2000), ('991001', 'PH', 2000), ('991001', 'MD', 5000),
               ('991001', 'SD', -500),
               ('991002', 'LB', 3000), ('991002', 'PH', 2000), ('991002', 'MD', 5000),
               ('991003', 'LB', 1000), ('991003', 'MD', 500),
               ('991004', 'RA', 1000), ('991004', 'DT', 400), ('991004', 'XR', 600),
               ('991005', 'MD', 3000),
               ('991006', 'LB', 700),
               ('991007', 'LB', 700),
               ('991008', 'LB', 700),
               ('991010', 'LB', 1000),
               ('T991011', 'RA', 2000), ('T991011', 'PH', 1000));

INSERT INTO BILLING__tbBillOPDailyOut (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount)
SELECT column1, column2, 'K' || column1 || column2, column2 || '01', 'TEST ITEM', datetime('now', '-1 days'), 1, column3
  FROM (VALUES ('991101B', 'LB', 800), ('991101B', 'CS', 200), ('991101B', 'RA', 100), ('991101B', 'DT', 100),
               ('991102B', 'PH', 500));

INSERT INTO BILLING__tbBillMedicare (ClaimID, IdNum, DeductionType, ClaimNum, Amount) VALUES
 (991001, '991001', 'MEDICARE', 'PHIC-991001', 200),
 (991002, '991002', 'MEDICARE', 'PHIC-991002', 200),
 (991004, '991004', 'MEDICARE', 'PHIC-991004', 100),
 (991010, '991010', 'MEDICARE', 'PHIC-991010', 100);
INSERT INTO BILLING__tbBillMedicareItem (ClaimID, RevenueID, Amount) VALUES
 (991001, 'LB', 300), (991001, 'MD', 100), (991002, 'LB', 300), (991002, 'MD', 100),
 (991004, 'XR', 100), (991010, 'LB', 0);

INSERT INTO MSS__tbMSSAssessment (IdNum, HospNum, MSSNum, Code, IntakeDate, ValidityDate, IsSpecial, NC, Active)
SELECT p.IdNum, p.HospNum, m.MSSNum, 'T1', datetime(date('now', '-30 days')),
       datetime(date('now', CASE WHEN p.HospNum = '99100008' THEN '-5 days' ELSE '+150 days' END)),
       column2, column3, 'Y'
  FROM (VALUES ('991001', 0, 0), ('991002', 1, 1000), ('991101B', 1, 500), ('991003', 1, 300),
               ('991004', 1, 0), ('991005', 1, 1000), ('991007', 0, 0), ('991008', 1, 'abc'),
               ('991009', 0, 0), ('991010', 0, 0), ('T991011', 0, 0)) v
  JOIN MSS__vwMSSEncounter p ON p.IdNum = v.column1
  JOIN PATIENT_DATA__tbMaster m ON m.HospNum = p.HospNum;
)SQL";

}  // namespace

void DiscountScreenTest::SetUp() {
    script(QString::fromUtf8(kPatients));
    Selection() = PatientSelection{};
    hospital_.takeStatements();
}

void DiscountScreenTest::TearDown() { delete screen_.data(); }

hospitaldb::EmbeddedBackend& DiscountScreenTest::backend() {
    return dynamic_cast<hospitaldb::EmbeddedBackend&>(*hospital_.connection().backend());
}

void DiscountScreenTest::script(const QString& sql) { backend().engine().runScript(sql, QStringLiteral("test")); }

billing::frmComputeDiscount* DiscountScreenTest::open(const QString& hospNum, const QString& idNum) {
    delete screen_.data();
    Selection().HospNum = hospNum;
    Selection().IDNUM = idNum;
    screen_ = new billing::frmComputeDiscount;
    screen_->show();
    ui::RunAction([this] { screen_->Load(); });
    return screen_;
}

billing::frmComputeDiscount* DiscountScreenTest::open(const KnownEncounter& e) {
    return open(QString::fromLatin1(e.hospNum), QString::fromLatin1(e.idNum));
}

QList<QStringList> DiscountScreenTest::grid() const {
    QList<QStringList> rows;
    const QTableWidget* g = screen_->mshDiscount;
    for (int r = 0; r < g->rowCount(); ++r) {
        QStringList row;
        for (int c = 1; c <= 5; ++c) row << (g->item(r, c) ? g->item(r, c)->text() : QString());
        rows << row;
    }
    return rows;
}

QMap<QString, double> DiscountScreenTest::storedQF(const QString& idNum) {
    QMap<QString, double> lines;
    const auto t = backend().engine().query(
        QStringLiteral("SELECT ItemID, Amount FROM BILLING__tbBillDailyBill WHERE IdNum = ?1 AND RevenueID = 'QF' "
                       "UNION ALL SELECT ItemID, Amount FROM BILLING__tbBillOPDailyOut WHERE IdNum = ?1 AND RevenueID = 'QF'"),
        {idNum});
    for (const auto& row : t.rows) lines.insert(row.at(0).toString(), row.at(1).toDouble());
    return lines;
}

void DiscountScreenTest::clickRecompute(ui::Answer answer) {
    prompts_.expect(billing::RecomputeWarning(), answer);
    QTest::mouseClick(screen_->cmdRecompute, Qt::LeftButton);
}

}  // namespace mss::test
