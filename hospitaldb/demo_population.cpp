#include "hospitaldb/demo.h"

#include "hospitaldb/engine.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QVector>
#include <sodium.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace hospitaldb {

namespace {

// splitmix64: the same sequence on every platform, unlike the standard distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % std::uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return double(next() >> 11) * (1.0 / 9007199254740992.0) < p; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * double(next() >> 11) * (1.0 / 9007199254740992.0); }
    template <class T, std::size_t N> const T& pick(const std::array<T, N>& a) { return a[std::size_t(below(int(N)))]; }

private:
    std::uint64_t s_;
};

const std::array<const char*, 160> kSurnames = {
    "SANTOS", "REYES", "CRUZ", "BAUTISTA", "DELA CRUZ", "GARCIA", "MENDOZA", "OCAMPO", "TORRES", "TOMAS",
    "ANDRADA", "CASTILLO", "FLORES", "VILLANUEVA", "RAMOS", "CASTRO", "RIVERA", "AQUINO", "NAVARRO", "SALAZAR",
    "MERCADO", "AGUILAR", "DOMINGO", "GONZALES", "LOPEZ", "HERNANDEZ", "PEREZ", "DE LEON", "DE GUZMAN", "DEL ROSARIO",
    "SORIANO", "PASCUAL", "DIZON", "MARQUEZ", "MORALES", "GUTIERREZ", "FERNANDEZ", "VALDEZ", "SANCHEZ", "ROXAS",
    "ESPIRITU", "MANALO", "MACARAEG", "ILAGAN", "TOLENTINO", "LIM", "TAN", "GO", "SY", "CO",
    "MAGBANUA", "MAGSAYSAY", "QUIMPO", "LACSON", "LAUREL", "MACAPAGAL", "ESTRADA", "CORPUZ", "ABAD", "ABELLA",
    "ACOSTA", "ADRIANO", "AGBAYANI", "ALCANTARA", "ALVAREZ", "AMPARO", "ANGELES", "ANTONIO", "ARCE", "ARELLANO",
    "BALTAZAR", "BANZON", "BARRERA", "BELTRAN", "BERNARDO", "BONIFACIO", "BUENAVENTURA", "CABRERA", "CALDERON", "CAMACHO",
    "CANLAS", "CARPIO", "CATACUTAN", "CERVANTES", "CONCEPCION", "CORDERO", "CUSTODIO", "DAVID", "DIAZ", "DIMAANO",
    "EBRON", "ENRIQUEZ", "ESGUERRA", "ESPINOSA", "EVANGELISTA", "FAJARDO", "FELICIANO", "FRANCISCO", "GALANG", "GATCHALIAN",
    "GERONIMO", "GUEVARRA", "IBARRA", "JAVIER", "JIMENEZ", "JOSE", "LACANILAO", "LAGMAN", "LEGASPI", "LUNA",
    "MACALINTAL", "MALLARI", "MANALANG", "MANGUBAT", "MARTINEZ", "MATEO", "MEDINA", "MIRANDA", "MONTERO", "NATIVIDAD",
    "NOLASCO", "OLIVARES", "ORTEGA", "PACHECO", "PADILLA", "PANGANIBAN", "PANGILINAN", "PINEDA", "QUIAMBAO", "QUINTO",
    "RAMIREZ", "ROBLES", "RODRIGUEZ", "ROMERO", "SALVADOR", "SAMSON", "SANTIAGO", "SARMIENTO", "SERRANO", "SISON",
    "SUAREZ", "TABOR", "TAMAYO", "TIONGSON", "UMALI", "URBANO", "VALENZUELA", "VELASCO", "VERGARA", "VILLAREAL",
    "YAP", "YULO", "ZAMORA", "ZABALA", "DE LOS SANTOS", "DE CASTRO", "DELOS REYES", "SAN JUAN", "NUÑEZ", "PEÑA"};

const std::array<const char*, 60> kMaleNames = {
    "JOSE", "JUAN", "ANTONIO", "RODRIGO", "EDUARDO", "ROBERTO", "RICARDO", "FERNANDO", "MANUEL", "RAMON",
    "ERNESTO", "ROMEO", "DANILO", "ROGELIO", "ARNEL", "JOEL", "NOEL", "JERRY", "REYNALDO", "ALFREDO",
    "MARK ANTHONY", "JOHN PAUL", "JOHN MICHAEL", "CHRISTIAN", "JEROME", "KENNETH", "RYAN", "JAYSON", "MICHAEL", "RICHARD",
    "PAOLO", "MIGUEL", "GABRIEL", "RAFAEL", "ANGELO", "CARLO", "JOSHUA", "JERICHO", "NATHANIEL", "EMMANUEL",
    "BENJAMIN", "FRANCISCO", "GREGORIO", "LEONARDO", "MARIO", "NESTOR", "ORLANDO", "PEDRO", "RENATO", "SALVADOR",
    "TEODORO", "VICENTE", "WILFREDO", "ZALDY", "BONG", "DONDON", "JUNJUN", "EFREN", "ARMANDO", "CESAR"};

const std::array<const char*, 60> kFemaleNames = {
    "MARIA", "MA. CRISTINA", "MA. LUISA", "ANA", "JOSEFINA", "ROSARIO", "TERESITA", "LOURDES", "CORAZON", "ELENA",
    "CARMELITA", "REMEDIOS", "LUZVIMINDA", "MILAGROS", "NORMA", "ROSALINDA", "EVANGELINE", "MARILOU", "MARICEL", "JOCELYN",
    "MARY JOY", "MARY GRACE", "KRISTINE", "JENNIFER", "MICHELLE", "ANGELICA", "PRINCESS", "NICOLE", "CAMILLE", "PATRICIA",
    "ANGEL", "JASMINE", "KIMBERLY", "SHEILA", "MARIANNE", "RACHEL", "CHRISTINE", "ABIGAIL", "ALTHEA", "BEATRIZ",
    "CRISTINA", "DOLORES", "ESPERANZA", "FE", "GLORIA", "HERMINIA", "IMELDA", "JULIETA", "LETICIA", "MERCEDES",
    "NENITA", "OFELIA", "PACITA", "ROSA", "SUSANA", "TERESA", "VIRGINIA", "WILMA", "YOLANDA", "ZENAIDA"};

struct Place { const char* municipality; const char* province; };
const std::array<Place, 24> kPlaces = {{
    {"QUEZON CITY", "METRO MANILA"}, {"MANILA", "METRO MANILA"}, {"CALOOCAN", "METRO MANILA"},
    {"PASIG", "METRO MANILA"}, {"MARIKINA", "METRO MANILA"}, {"TAGUIG", "METRO MANILA"},
    {"VALENZUELA", "METRO MANILA"}, {"MALABON", "METRO MANILA"}, {"PARAÑAQUE", "METRO MANILA"},
    {"MALOLOS", "BULACAN"}, {"MEYCAUAYAN", "BULACAN"}, {"SAN JOSE DEL MONTE", "BULACAN"},
    {"ANTIPOLO", "RIZAL"}, {"CAINTA", "RIZAL"}, {"TAYTAY", "RIZAL"},
    {"BACOOR", "CAVITE"}, {"DASMARIÑAS", "CAVITE"}, {"IMUS", "CAVITE"},
    {"CALAMBA", "LAGUNA"}, {"SANTA ROSA", "LAGUNA"}, {"SAN PABLO", "LAGUNA"},
    {"LUCENA", "QUEZON"}, {"BATANGAS CITY", "BATANGAS"}, {"SAN FERNANDO", "PAMPANGA"}}};

const std::array<const char*, 20> kBarangays = {
    "BRGY. SAN ISIDRO", "BRGY. SAN ROQUE", "BRGY. POBLACION", "BRGY. SANTO NIÑO", "BRGY. BAGONG SILANG",
    "BRGY. MALIGAYA", "BRGY. SAN JOSE", "BRGY. STA. LUCIA", "BRGY. BAGUMBAYAN", "BRGY. COMMONWEALTH",
    "BRGY. PINAGBUHATAN", "BRGY. DOLORES", "BRGY. SAN ANTONIO", "BRGY. MABINI", "BRGY. RIZAL",
    "BRGY. BURGOS", "BRGY. MAGSAYSAY", "BRGY. LIBERTAD", "BRGY. BAGONG PAG-ASA", "BRGY. MASAGANA"};

const std::array<const char*, 16> kStreets = {
    "MABINI ST.", "RIZAL AVE.", "BONIFACIO ST.", "LUNA ST.", "DEL PILAR ST.", "AGUINALDO HIWAY",
    "QUEZON BLVD.", "P. BURGOS ST.", "JP RIZAL ST.", "SAMPAGUITA ST.", "ILANG-ILANG ST.", "ACACIA ST.",
    "NARRA ST.", "MOLAVE ST.", "KAMAGONG ST.", "MAHOGANY ST."};

const std::array<const char*, 20> kOccupations = {
    "HOUSEWIFE", "VENDOR", "JEEPNEY DRIVER", "TRICYCLE DRIVER", "FARMER", "FISHERMAN", "CONSTRUCTION WORKER",
    "TEACHER", "SALES CLERK", "SECURITY GUARD", "OFFICE CLERK", "CALL CENTER AGENT", "CARPENTER", "LAUNDRY WOMAN",
    "STUDENT", "NONE", "RETIRED", "MECHANIC", "SARI-SARI STORE OWNER", "HOUSEHELPER"};

const std::array<const char*, 10> kEmployers = {
    "SELF-EMPLOYED", "DEPARTMENT OF EDUCATION", "SM SUPERMALLS", "JOLLIBEE FOODS CORP.", "ABC SECURITY AGENCY",
    "CITY GOVERNMENT", "CONVERGYS", "PRIVATE HOUSEHOLD", "MERALCO", "NONE"};

const std::array<const char*, 24> kDiagnoses = {
    "CHRONIC KIDNEY DISEASE STAGE 5", "END STAGE RENAL DISEASE FOR HEMODIALYSIS", "KIDNEY TRANSPLANT RECIPIENT",
    "COMMUNITY-ACQUIRED PNEUMONIA", "DENGUE FEVER WITH WARNING SIGNS", "ACUTE GASTROENTERITIS",
    "URINARY TRACT INFECTION", "HYPERTENSIVE URGENCY", "TYPE 2 DIABETES MELLITUS, UNCONTROLLED",
    "NEPHROLITHIASIS, LEFT", "ACUTE APPENDICITIS", "PULMONARY TUBERCULOSIS", "CONGESTIVE HEART FAILURE",
    "CEREBROVASCULAR ACCIDENT", "LUPUS NEPHRITIS", "NEPHROTIC SYNDROME", "BENIGN PROSTATIC HYPERPLASIA",
    "ACUTE KIDNEY INJURY", "SEPSIS", "CHOLELITHIASIS", "OBSTRUCTIVE UROPATHY", "LEPTOSPIROSIS",
    "POLYCYSTIC KIDNEY DISEASE", "RENAL DONOR WORK-UP"};

const std::array<const char*, 10> kComplaints = {
    "FEVER", "ABDOMINAL PAIN", "DIFFICULTY OF BREATHING", "CHEST PAIN", "VOMITING", "HEADACHE", "BODY WEAKNESS",
    "DYSURIA", "VEHICULAR ACCIDENT", "HYPERTENSION"};

const std::array<const char*, 6> kClinics = {"NEPHROLOGY", "INTERNAL MEDICINE", "SURGERY", "UROLOGY", "PEDIATRICS",
                                             "TRANSPLANT"};

const std::array<const char*, 10> kDoctors = {"D001", "D002", "D003", "D004", "D005", "D006", "D007", "D008", "D009",
                                              "D010"};
const std::array<const char*, 15> kWardRooms = {"101", "102", "103", "104", "105", "201", "202", "203", "301",
                                                "302", "303", "P01", "P02", "ICU1", "ICU2"};

struct Charge { const char* revenue; const char* item; const char* description; double low, high; };
// Weighted by repetition: pharmacy and supplies make up most lines of a real bill.
const std::array<Charge, 32> kCharges = {{
    {"PH", "PH001", "PARACETAMOL 500MG TAB", 2, 12}, {"PH", "PH002", "CEFTRIAXONE 1G VIAL", 180, 450},
    {"PH", "PH003", "OMEPRAZOLE 40MG VIAL", 150, 380}, {"PH", "PH004", "ERYTHROPOIETIN 4000IU", 900, 1800},
    {"PH", "PH005", "PLAIN NSS 1L", 60, 120}, {"PH", "PH006", "LOSARTAN 50MG TAB", 8, 25},
    {"RN", "RN001", "FLOOR STOCK MEDICINES", 50, 600}, {"XD", "XD001", "HEPARIN 5000IU", 250, 600},
    {"CS", "CS001", "IV CANNULA G18", 45, 90}, {"CS", "CS002", "SYRINGE 5CC", 8, 20},
    {"CS", "CS003", "MACRO IV SET", 60, 140}, {"CU", "CU001", "UNIT DOSE SUPPLIES", 20, 300},
    {"KS", "KS001", "DIALYZER", 1200, 2500}, {"KS", "KS002", "BLOOD LINES", 450, 900},
    {"OS", "OS001", "SUTURE VICRYL 2-0", 350, 700}, {"UU", "UU001", "FOLEY CATHETER FR16", 120, 280},
    {"LB", "L001", "COMPLETE BLOOD COUNT", 250, 250}, {"LB", "L003", "SERUM CREATININE", 180, 180},
    {"LB", "L005", "SERUM ELECTROLYTES", 650, 650}, {"LB", "L002", "URINALYSIS", 120, 120},
    {"PA", "L008", "HISTOPATHOLOGY", 1800, 1800}, {"XR", "X001", "CHEST PA", 450, 450},
    {"UL", "X002", "KUB ULTRASOUND", 1500, 1500}, {"CT", "X004", "CT SCAN CRANIAL PLAIN", 5500, 5500},
    {"NU", "X006", "RENAL SCAN", 7500, 7500}, {"HS", "HS001", "HEMODIALYSIS SESSION", 2800, 3500},
    {"DI", "DI001", "12-LEAD ECG", 350, 450}, {"PT", "PT001", "PHYSICAL THERAPY SESSION", 500, 800},
    {"OR", "OR001", "OPERATING ROOM FEE", 8000, 25000}, {"MD", "MD001", "PROFESSIONAL FEE", 500, 15000},
    {"DT", "DT001", "SPECIAL DIET", 150, 300}, {"MS", "MS001", "MEDICAL RECORDS FEE", 50, 150}}};

const std::array<const char*, 6> kClasses = {"A", "B", "C1", "C2", "C3", "D"};

QString iso(const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }
QString isoDate(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

// A prepared INSERT bound positionally and run once per row.
class Insert {
public:
    Insert(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) throwSqliteError(db, SQLITE_ERROR, sql);
    }
    ~Insert() { sqlite3_finalize(stmt_); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    Insert& text(const QString& v) {
        const QByteArray u = v.toUtf8();
        sqlite3_bind_text(stmt_, ++i_, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insert& textOrNull(const QString& v) { return v.isNull() ? null() : text(v); }
    Insert& real(double v) { sqlite3_bind_double(stmt_, ++i_, v); return *this; }
    Insert& integer(qint64 v) { sqlite3_bind_int64(stmt_, ++i_, v); return *this; }
    Insert& null() { sqlite3_bind_null(stmt_, ++i_); return *this; }
    qint64 run() {
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        i_ = 0;
        if (rc != SQLITE_DONE) throwSqliteError(db_, rc, QString::fromUtf8(sqlite3_sql(stmt_)));
        return sqlite3_last_insert_rowid(db_);
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int i_ = 0;
};

double money(double v) { return std::round(v * 100.0) / 100.0; }

const char* const kAudit = "SYSTEM";

struct Encounter {
    QString idNum;
    QDateTime start, end;   // end null: still admitted / not yet discharged
    bool admission;
};

class Populator {
public:
    Populator(Engine& e, const PopulationOptions& o)
        : db_(e.handle()), o_(o), r_(o.seed),
          master_(db_, "INSERT INTO PATIENT_DATA__tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, BirthDate,"
                       " BirthPlace, CivilStatusID, ReligionID, Occupation, Employer, TelNumber, Street, Barangay,"
                       " Municipality, Province, MSSNum, MSSClassification, MSSDiscountValidity, MSSDiscountExpiry,"
                       " CreatedBy, CreatedAt) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
          admission_(db_, "INSERT INTO PATIENT_DATA__tbPatient2 (IdNum, HospNum, AdmDate, DcrDate, RoomID,"
                          " AttendingDoctorID, ReferringDoctor, AdmittingDiagnosis, FinalDiagnosis, PatientClass,"
                          " OPDIdNum, AccountNum, BillingDate, CreatedBy, CreatedAt)"
                          " VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
          outPatient_(db_, "INSERT INTO PATIENT_DATA__tbOutPatient (IdNum, HospNum, AdmDate, DcrDate,"
                           " AttendingDoctorID, Clinic, Complaint, Diagnosis, PatientType, AccountNum, BillingDate,"
                           " CreatedBy, CreatedAt) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
          er_(db_, "INSERT INTO PATIENT_DATA__tbERMaster (ERNum, IdNum, HospNum, ERDate, ChiefComplaint, BroughtBy,"
                   " PatientClassification, CreatedBy, CreatedAt) VALUES (?,?,?,?,?,?,?,?,?)"),
          dailyBill_(db_, "INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description,"
                          " TransDate, Quantity, Amount, CreatedBy, CreatedAt) VALUES (?,?,?,?,?,?,?,?,?,?)"),
          opBill_(db_, "INSERT INTO BILLING__tbBillOPDailyOut (IdNum, RevenueID, RefNum, ItemID, Description,"
                       " TransDate, Quantity, Amount, CreatedBy, CreatedAt) VALUES (?,?,?,?,?,?,?,?,?,?)"),
          claim_(db_, "INSERT INTO BILLING__tbBillMedicare (IdNum, DeductionType, ClaimNum, Amount, CreatedBy,"
                      " CreatedAt) VALUES (?,?,?,?,?,?)"),
          claimItem_(db_, "INSERT INTO BILLING__tbBillMedicareItem (ClaimID, RevenueID, Amount, CreatedBy,"
                          " CreatedAt) VALUES (?,?,?,?,?)") {
        stamp_ = iso(QDateTime(o_.today, QTime(6, 0)));
    }

    PopulationStats run() {
        for (int i = 0; i < o_.patients; ++i) patient(i);
        return s_;
    }

private:
    void patient(int index) {
        const QString hospNum = QStringLiteral("%1").arg(100001 + index, 8, 10, QLatin1Char('0'));
        const bool male = r_.chance(0.48);
        const QString last = QString::fromUtf8(r_.pick(kSurnames));
        const QString first = QString::fromUtf8(male ? r_.pick(kMaleNames) : r_.pick(kFemaleNames));
        const QString middle = r_.chance(0.95) ? QString::fromUtf8(r_.pick(kSurnames)) : QString();
        const int age = r_.chance(0.12) ? r_.between(0, 17) : r_.between(18, 92);
        const QDate birth = o_.today.addYears(-age).addDays(-r_.below(365));
        const Place& home = r_.pick(kPlaces);
        const QString civil = age < 20 ? QStringLiteral("1")
                              : QString::number(r_.chance(0.55) ? 2 : r_.chance(0.5) ? 1 : r_.between(3, 6));
        const QString religion = r_.chance(0.8) ? QStringLiteral("01")
                                                : QStringLiteral("%1").arg(r_.between(2, 10), 2, 10, QLatin1Char('0'));
        const QString occupation = age < 18 ? QStringLiteral("STUDENT") : QString::fromUtf8(r_.pick(kOccupations));

        // The patient's encounters, oldest first; the last one fixes the MSS validity.
        const int count = 1 + (r_.chance(0.45) ? 1 : 0) + (r_.chance(0.12) ? 1 : 0);
        QVector<int> ages;   // days before today
        for (int k = 0; k < count; ++k) ages << (r_.chance(0.06) ? r_.below(5) : r_.below(730));
        std::sort(ages.begin(), ages.end(), std::greater<int>());

        const bool mss = r_.chance(1.0 / 3.0);
        QString mssNum, mssClass, validity, expiry;
        if (mss) {
            const QDate valid = o_.today.addDays(-ages.last());
            mssNum = QStringLiteral("%1-%2").arg(valid.year()).arg(++mssSerial_, 6, 10, QLatin1Char('0'));
            static const std::array<int, 6> weights = {1, 2, 3, 3, 2, 2};
            int w = r_.below(13), c = 0;
            while (w >= weights[std::size_t(c)]) w -= weights[std::size_t(c++)];
            mssClass = QString::fromLatin1(kClasses[std::size_t(c)]);
            validity = isoDate(valid);
            expiry = isoDate(valid.addMonths(r_.chance(0.5) ? 6 : 12));
            ++s_.mssPatients;
        }

        master_.text(hospNum).text(last).text(first).text(middle).text(male ? "M" : "F").text(isoDate(birth))
            .text(QString::fromUtf8(r_.pick(kPlaces).municipality)).text(civil).text(religion).text(occupation)
            .text(age < 18 ? QString() : QString::fromUtf8(r_.pick(kEmployers)).replace(QStringLiteral("NONE"), QString()))
            .text(r_.chance(0.8) ? QStringLiteral("09%1-%2-%3").arg(r_.between(15, 99)).arg(r_.between(100, 999))
                                       .arg(r_.between(1000, 9999))
                                 : QString())
            .text(QStringLiteral("%1 %2").arg(r_.between(1, 999)).arg(QString::fromUtf8(r_.pick(kStreets))))
            .text(QString::fromUtf8(r_.pick(kBarangays))).text(QString::fromUtf8(home.municipality))
            .text(QString::fromUtf8(home.province))
            .textOrNull(mss ? mssNum : QString()).textOrNull(mss ? mssClass : QString())
            .textOrNull(mss ? validity : QString()).textOrNull(mss ? expiry : QString())
            .text(kAudit).text(stamp_).run();
        ++s_.patients;

        for (int daysAgo : ages) encounter(hospNum, daysAgo, mss);
    }

    QString account() {
        if (r_.chance(0.04)) return QStringLiteral("S%1").arg(r_.between(1, 4), 3, 10, QLatin1Char('0'));
        if (r_.chance(0.05)) return QStringLiteral("C%1").arg(r_.between(1, 4), 3, 10, QLatin1Char('0'));
        return QString();
    }

    QDateTime at(int daysAgo) {
        return QDateTime(o_.today.addDays(-daysAgo), QTime(r_.between(0, 23), r_.between(0, 59)));
    }

    void encounter(const QString& hospNum, int daysAgo, bool service) {
        const int kind = r_.below(100);
        const QString cls = service ? QStringLiteral("S") : QStringLiteral("P");
        if (kind < 48) {
            // Admission, a third of them through the ER or an out-patient clinic the same day.
            QString via;
            if (r_.chance(0.3)) {
                const bool viaEr = r_.chance(0.7);
                via = outPatient(hospNum, daysAgo, service, viaEr, true).idNum;
            }
            const bool cash = r_.chance(0.04);
            Encounter e;
            e.admission = true;
            e.idNum = cash ? QStringLiteral("T%1").arg(++cashSerial_, 6, 10, QLatin1Char('0'))
                           : QString::number(500000 + ++admissionSerial_);
            e.start = at(daysAgo);
            const int stay = r_.between(1, 14);
            if (daysAgo - stay >= 0 || r_.chance(0.05))
                e.end = e.start.addDays(std::min(stay, daysAgo)).addSecs(r_.between(1, 8) * 3600);
            if (e.end.isValid() && e.end > QDateTime(o_.today, QTime(23, 59))) e.end = QDateTime();
            const QString diagnosis = QString::fromUtf8(r_.pick(kDiagnoses));
            const QString doctor = QString::fromLatin1(r_.pick(kDoctors));
            QString referring;
            if (r_.chance(0.6)) {
                const QString given = QString::fromUtf8(r_.pick(kMaleNames));
                referring = QStringLiteral("DR. %1 %2").arg(given, QString::fromUtf8(r_.pick(kSurnames)));
            }
            admission_.text(e.idNum).text(hospNum).text(iso(e.start))
                .textOrNull(e.end.isValid() ? iso(e.end) : QString())
                .text(QString::fromLatin1(r_.pick(kWardRooms))).text(doctor)
                .text(referring)
                .text(diagnosis).text(e.end.isValid() ? diagnosis : QString()).text(cash ? QStringLiteral("P") : cls)
                .textOrNull(via.isEmpty() ? QString() : via).textOrNull(account())
                .textOrNull(e.end.isValid() ? iso(e.end) : QString()).text(kAudit).text(stamp_).run();
            ++s_.admissions;
            if (cash) ++s_.cashAdmissions;
            if (!e.end.isValid()) ++s_.currentAdmissions;
            bill(e, daysAgo);
        } else {
            outPatient(hospNum, daysAgo, service, kind >= 80, false);
        }
    }

    Encounter outPatient(const QString& hospNum, int daysAgo, bool service, bool viaEr, bool admitted) {
        Encounter e;
        e.admission = false;
        e.idNum = QStringLiteral("%1B").arg(300000 + ++opdSerial_);
        e.start = at(daysAgo);
        if (daysAgo > 0 || admitted) e.end = e.start.addSecs(r_.between(1, 6) * 3600);
        const QString complaint = QString::fromUtf8(r_.pick(kComplaints));
        const QString cls = service ? QStringLiteral("S") : QStringLiteral("P");
        outPatient_.text(e.idNum).text(hospNum).text(iso(e.start)).textOrNull(e.end.isValid() ? iso(e.end) : QString())
            .text(QString::fromLatin1(r_.pick(kDoctors))).text(viaEr ? QStringLiteral("EMERGENCY") : QString::fromUtf8(r_.pick(kClinics)))
            .text(complaint).text(e.end.isValid() ? QString::fromUtf8(r_.pick(kDiagnoses)) : QString()).text(cls)
            .textOrNull(account()).textOrNull(e.end.isValid() && !admitted ? iso(e.end) : QString())
            .text(kAudit).text(stamp_).run();
        if (viaEr) {
            er_.text(QStringLiteral("ER%1").arg(++erSerial_, 7, 10, QLatin1Char('0'))).text(e.idNum).text(hospNum)
                .text(iso(e.start)).text(complaint)
                .text(r_.chance(0.5) ? QStringLiteral("RELATIVE") : r_.chance(0.5) ? QStringLiteral("AMBULANCE")
                                                                                     : QStringLiteral("SELF"))
                .text(cls).text(kAudit).text(stamp_).run();
            ++s_.erVisits;
        } else {
            ++s_.outPatients;
        }
        bill(e, daysAgo);
        return e;
    }

    void bill(const Encounter& e, int daysAgo) {
        if (o_.billDays > 0 && daysAgo > o_.billDays) return;
        Insert& line = e.admission ? dailyBill_ : opBill_;
        const int lines = e.admission ? r_.between(o_.minBillLines, o_.maxBillLines)
                                      : r_.between(std::max(1, o_.minBillLines / 4), std::max(2, o_.maxBillLines / 8));
        const QDateTime last = e.end.isValid() ? e.end : QDateTime(o_.today, QTime(6, 0));
        const qint64 span = std::max<qint64>(1, e.start.secsTo(last));
        QHash<QString, double> byRevenue;
        int n = 0;
        if (e.admission) {
            // Room and board once a day of the stay.
            const double rate = 450.0 * (1 + r_.below(4));
            for (QDate d = e.start.date(); d <= last.date() && n < lines; d = d.addDays(1), ++n) {
                line.text(e.idNum).text("RA").text(QStringLiteral("RB%1").arg(++refSerial_)).text("RA001")
                    .text("ROOM AND BOARD").text(iso(QDateTime(d, QTime(0, 0)))).real(1).real(rate)
                    .text(kAudit).text(stamp_).run();
                byRevenue["RA"] += rate;
                ++s_.billLines;
            }
        }
        for (; n < lines; ++n) {
            const Charge& c = r_.pick(kCharges);
            if (!e.admission && (QByteArray(c.revenue) == "OR" || QByteArray(c.revenue) == "DT")) continue;
            const int qty = c.high <= 30 ? r_.between(1, 20) : 1;
            const double amount = money(r_.uniform(c.low, c.high) * qty);
            line.text(e.idNum).text(QString::fromLatin1(c.revenue)).text(QStringLiteral("CS%1").arg(++refSerial_))
                .text(QString::fromLatin1(c.item)).text(QString::fromLatin1(c.description))
                .text(iso(e.start.addSecs(qint64(r_.next() % std::uint64_t(span))))).real(qty).real(amount)
                .text(kAudit).text(stamp_).run();
            byRevenue[QString::fromLatin1(c.revenue)] += amount;
            ++s_.billLines;
        }
        // Medicare on some finished admissions: itemised per department, approved total below it.
        if (e.admission && e.end.isValid() && r_.chance(0.35)) {
            QVector<QPair<QString, double>> items;
            double sum = 0;
            for (const char* rev : {"RA", "PH", "LB", "MD", "CS"}) {
                const double charged = byRevenue.value(QString::fromLatin1(rev));
                if (charged <= 0) continue;
                const double amount = money(charged * r_.uniform(0.2, 0.6));
                items.append({QString::fromLatin1(rev), amount});
                sum += amount;
            }
            if (items.isEmpty()) return;
            const qint64 claim = claim_.text(e.idNum).text("MEDICARE").text(QStringLiteral("PHIC-%1").arg(refSerial_))
                                     .real(money(sum * r_.uniform(0.7, 1.0))).text(kAudit).text(stamp_).run();
            for (const auto& [rev, amount] : items)
                claimItem_.integer(claim).text(rev).real(amount).text(kAudit).text(stamp_).run();
            ++s_.medicareClaims;
        }
    }

    sqlite3* db_;
    PopulationOptions o_;
    Random r_;
    Insert master_, admission_, outPatient_, er_, dailyBill_, opBill_, claim_, claimItem_;
    QString stamp_;
    PopulationStats s_;
    int mssSerial_ = 0, cashSerial_ = 0, admissionSerial_ = 0, opdSerial_ = 0, erSerial_ = 0;
    qint64 refSerial_ = 0;
};

}  // namespace

void execSql(sqlite3* db, const QString& sql) {
    char* msg = nullptr;
    const QByteArray u = sql.toUtf8();
    const int rc = sqlite3_exec(db, u.constData(), nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        sqlite3_free(msg);
        throwSqliteError(db, rc, sql);
    }
}

void writeHospitalExtras(sqlite3* db) {
    execSql(db, QStringLiteral(
        "INSERT INTO PATIENT_DATA__tbHospitalInfo (RowID, Company, Address1, Address2, TelNumber, MTSServerName,"
        " CreatedBy, CreatedAt) VALUES (1, 'HALVERN MEDICAL CENTER', '1180 EAST AVENUE, DILIMAN, QUEZON CITY',"
        " 'METRO MANILA, PHILIPPINES', '(02) 8924-0000', '', 'SYSTEM', datetime('now'));"
        "INSERT INTO BILLING__tbCoCompany (AccountNum, Company, Address, AccountType) VALUES"
        " ('C001', 'MAXICARE HEALTHCARE CORP.', 'MAKATI CITY', 'C'),"
        " ('C002', 'INTELLICARE', 'PASIG CITY', 'C'),"
        " ('C003', 'MERALCO EMPLOYEES COOPERATIVE', 'PASIG CITY', 'C'),"
        " ('C004', 'DEPARTMENT OF EDUCATION', 'PASIG CITY', 'C'),"
        " ('S001', 'CDF - OFFICE OF REP. DIOSDADO LACUNA', 'QUEZON CITY', 'S'),"
        " ('S002', 'CDF - OFFICE OF SEN. AMELIA BARRIOS', 'PASAY CITY', 'S'),"
        " ('S003', 'PCSO MEDICAL ASSISTANCE', 'MANDALUYONG CITY', 'S'),"
        " ('S004', 'PHILIPPINE KIDNEY FOUNDATION', 'QUEZON CITY', 'S');"));
}

namespace {

QStringList deferrableIndexes(sqlite3* db, QStringList* names) {
    QStringList ddl;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL AND"
                       " (tbl_name LIKE 'PATIENT\\_DATA\\_\\_%' ESCAPE '\\' OR tbl_name LIKE 'BILLING\\_\\_tbBill%' ESCAPE '\\')",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        *names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        ddl << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    }
    sqlite3_finalize(st);
    return ddl;
}

QStringList searchTriggers(sqlite3* db, QStringList* names) {
    QStringList ddl;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND"
                       " name LIKE 'PATIENT\\_DATA\\_\\_tbEncounterSearch\\_%' ESCAPE '\\'",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        *names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        ddl << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    }
    sqlite3_finalize(st);
    return ddl;
}

}  // namespace

PopulationStats populate(Engine& engine, const PopulationOptions& options) {
    sqlite3* db = engine.handle();
    execSql(db, QStringLiteral("BEGIN"));
    try {
        QStringList names;
        QStringList ddl;
        QStringList triggerNames;
        QStringList triggerDdl;
        if (options.deferIndexes) {
            ddl = deferrableIndexes(db, &names);
            for (const QString& n : names) execSql(db, QStringLiteral("DROP INDEX \"%1\"").arg(n));
            // One INSERT ... SELECT after the load instead of a trigger per encounter row.
            triggerDdl = searchTriggers(db, &triggerNames);
            for (const QString& n : triggerNames) execSql(db, QStringLiteral("DROP TRIGGER \"%1\"").arg(n));
        }
        writeHospitalExtras(db);
        Populator p(engine, options);
        const PopulationStats stats = p.run();
        if (options.deferIndexes) {
            execSql(db, QStringLiteral("INSERT INTO PATIENT_DATA__tbEncounterSearch SELECT * FROM PATIENT_DATA__vwEncounterSearch"
                                       " ORDER BY LastName, FirstName, AdmDate, IdNum, Src"));
            for (const QString& d : triggerDdl) execSql(db, d);
        }
        for (const QString& d : ddl) execSql(db, d);
        execSql(db, QStringLiteral("COMMIT"));
        execSql(db, QStringLiteral("ANALYZE"));
        return stats;
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QString hashPassword(const QString& password) {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot be initialised");
    const QByteArray pw = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, pw.constData(), std::size_t(pw.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

bool verifyPassword(const QString& hash, const QString& password) {
    if (sodium_init() < 0) return false;
    const QByteArray h = hash.toLatin1();
    const QByteArray pw = password.toUtf8();
    return crypto_pwhash_str_verify(h.constData(), pw.constData(), std::size_t(pw.size())) == 0;
}

void addAccount(Engine& engine, const Account& a, const QString& password) {
    if (a.code.trimmed().isEmpty()) throw std::invalid_argument("an account needs an employee code");
    sqlite3* db = engine.handle();
    execSql(db, QStringLiteral("SAVEPOINT add_account"));
    try {
        Insert emp(db, "INSERT INTO MSS__tbMSSEmployee (EmployeeCode, LastName, FirstName, MiddleName, LicenseNumber,"
                       " Department, Position, IsSocialWorker, PasswordHash, CreatedBy, CreatedAt)"
                       " VALUES (?,?,?,?,?,?,?,?,?,?,datetime('now','localtime'))");
        emp.text(a.code.trimmed()).text(a.lastName).text(a.firstName).text(a.middleName).text(a.license)
            .text(a.department).text(a.position).integer(a.socialWorker ? 1 : 0).text(hashPassword(password))
            .text(kAudit).run();
        Insert right(db, "INSERT INTO MSS__tbMSSUserRights (EmployeeCode, DeptCode, RightsCode, CreatedBy, CreatedAt)"
                         " VALUES (?,?,?,?,datetime('now','localtime'))");
        for (const QString& r : a.rights) right.text(a.code.trimmed()).text(a.department).text(r).text(kAudit).run();
        execSql(db, QStringLiteral("RELEASE add_account"));
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO add_account; RELEASE add_account", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace hospitaldb
