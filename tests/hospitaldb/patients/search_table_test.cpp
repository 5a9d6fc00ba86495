// The searches read a search table kept by triggers; they must list exactly what the plain
// joins over the master and encounter tables (search_reference.sql) list.
#include "tests/hospitaldb/patients/hospital.h"

#include "hospitaldb/engine.h"

#include <QFile>
#include <QRegularExpression>

#include <random>

namespace patients_test {
namespace {

const char* const kNames[] = {"LoadInPatient", "LoadOutPatient", "LoadERPatient", "LoadAllServicePatient",
                              "LoadMSSPatient"};

struct Criteria {
    QString hosp, last, id, first, middle;
    static Criteria of(const QString& hosp, const QString& last = {}) { return {hosp, last, {}, {}, {}}; }
    QString args() const {
        const auto q = [](QString s) { return s.replace("'", "''"); };
        return "'" + q(hosp) + "', '" + q(last) + "','" + q(id) + "','" + q(first) + "','" + q(middle) + "'";
    }
};

class SearchTable : public Hospital {
protected:
    void SetUp() override {
        Hospital::SetUp();
        loadReference();
    }
    void open(const QString& path) {
        backend_ = hospitaldb::openEmbedded(path);
        loadReference();
    }
    void loadReference() {
        QFile f(QStringLiteral(MSS_SOURCE_DIR "/tests/hospitaldb/patients/search_reference.sql"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        auto& lib = static_cast<hospitaldb::EmbeddedBackend&>(db()).procedures();
        ASSERT_EQ(lib.loadText(QString::fromUtf8(f.readAll()), "search_reference.sql"), 5);
    }

    // Every search with these criteria against its reference; returns the reference rows seen.
    int expectSameLists(const Criteria& c) {
        int seen = 0;
        for (const char* n : kNames) {
            const Rows got = run(QStringLiteral("MSS..sp_MSS_%1 ").arg(n) + c.args());
            EXPECT_TRUE(messages_.isEmpty()) << n << " " << c.args().toStdString();
            const Rows want = run(QStringLiteral("MSS..ref_%1 ").arg(n) + c.args());
            const std::string where = std::string(n) + " " + c.args().toStdString();
            EXPECT_EQ(got.table.columns, want.table.columns) << where;
            EXPECT_EQ(got.size(), want.size()) << where;
            if (got.size() != want.size()) continue;
            seen += want.size();
            for (int r = 0; r < want.size(); ++r)
                for (int k = 0; k < int(want.table.rows[r].size()); ++k) {
                    const QVariant& a = got.table.rows[r][k];
                    const QVariant& b = want.table.rows[r][k];
                    if (a.metaType() != b.metaType() || a != b) {
                        ADD_FAILURE() << where << " row " << r << " column " << want.table.columns.value(k).toStdString()
                                      << ": " << a.toString().toStdString() << " (" << a.typeName() << ") instead of "
                                      << b.toString().toStdString() << " (" << b.typeName() << ")";
                        return seen;
                    }
                }
        }
        return seen;
    }

    // The triggers' copy against the view it is defined by, both ways.
    void expectTableInStep(const char* after) {
        const Rows r = run("SELECT (SELECT count(*) FROM (SELECT * FROM PATIENT_DATA__vwEncounterSearch"
                           " EXCEPT SELECT * FROM PATIENT_DATA__tbEncounterSearch) AS missing),"
                           " (SELECT count(*) FROM (SELECT * FROM PATIENT_DATA__tbEncounterSearch"
                           " EXCEPT SELECT * FROM PATIENT_DATA__vwEncounterSearch) AS extra),"
                           " (SELECT count(*) FROM PATIENT_DATA__tbEncounterSearch),"
                           " (SELECT count(*) FROM PATIENT_DATA__tbPatient2) + (SELECT count(*) FROM PATIENT_DATA__tbOutPatient)");
        ASSERT_EQ(r.size(), 1) << after;
        EXPECT_EQ(r.table.rows[0][0].toInt(), 0) << "missing rows after " << after;
        EXPECT_EQ(r.table.rows[0][1].toInt(), 0) << "stale rows after " << after;
        EXPECT_EQ(r.table.rows[0][2], r.table.rows[0][3]) << after;
    }

    void exec(const QString& sql) {
        run(sql);
        for (const auto& m : messages_) ADD_FAILURE() << sql.toStdString() << ": " << m.Description.toStdString();
    }
};

TEST_F(SearchTable, RandomCriteriaListWhatTheJoinsList) {
    expectTableInStep("the demo load");
    struct Patient { QString hosp, last, first, middle; };
    QList<Patient> patients;
    for (const auto& row : run("SELECT HospNum, LastName, FirstName, MiddleName FROM PATIENT_DATA..tbMaster"
                               " ORDER BY HospNum").table.rows)
        patients.append({row[0].toString(), row[1].toString(), row[2].toString(), row[3].toString()});
    QStringList ids;
    for (const auto& row : run("SELECT IdNum FROM PATIENT_DATA..tbPatient2 UNION ALL"
                               " SELECT IdNum FROM PATIENT_DATA..tbOutPatient ORDER BY 1").table.rows)
        ids << row[0].toString();
    ASSERT_GT(patients.size(), 100);
    ASSERT_GT(ids.size(), 100);

    std::mt19937 rng(20240601);
    const auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    // A prefix of random length in random case, sometimes with a trailing blank (ignored by TSQL).
    const auto prefix = [&](const QString& s) {
        QString p = s.left(1 + pick(std::max<int>(1, int(s.size()))));
        if (pick(3) == 0) p = p.toLower();
        if (pick(8) == 0) p += ' ';
        return p;
    };
    int rows = 0;
    int searches = 0;
    for (const Criteria& c : {Criteria::of(""), Criteria::of("", "ZZZNOBODY"), Criteria::of("NO-SUCH"),
                              Criteria{"", "", "NO-SUCH", "", ""}})
        rows += expectSameLists(c), ++searches;
    for (int i = 0; i < 300; ++i) {
        const Patient& p = patients[pick(int(patients.size()))];
        // Another patient's names: a second criterion that really narrows the list.
        const Patient& q = patients[pick(int(patients.size()))];
        Criteria c;
        switch (pick(10)) {
        case 7: c.last = prefix(p.last).left(2); c.middle = prefix(q.middle).left(1); break;
        case 8: c.last = prefix(p.last).left(2); c.first = prefix(q.first).left(2); break;
        case 9: c.first = prefix(q.first).left(1); c.middle = prefix(p.middle).left(2); break;
        case 0: c.last = prefix(p.last); break;
        case 1: c.last = prefix(p.last); c.first = prefix(p.first); break;
        case 2: c.last = prefix(p.last); c.first = prefix(p.first); c.middle = prefix(p.middle); break;
        case 3: c.first = prefix(p.first); if (pick(2)) c.middle = prefix(p.middle); break;
        case 4: c.middle = prefix(p.middle); break;
        case 5: c.hosp = p.hosp; if (pick(2)) c.last = prefix(p.last); break;
        default:
            c.id = ids[pick(int(ids.size()))];
            if (pick(3) == 0) c.id = c.id.toLower();
            // With a hospital number that may or may not be the encounter's.
            if (pick(3) == 0) c.hosp = p.hosp;
            break;
        }
        rows += expectSameLists(c), ++searches;
        if (HasFailure()) break;
    }
    // The comparison must have seen real lists, not just empty ones.
    EXPECT_GT(rows, 2000) << searches << " searches";
}

// Each branch runs on an index of the search table: a full scan would take seconds on a
// large hospital, and the surname branch must come in list order (no sort of its rows).
TEST_F(SearchTable, SearchesRunOnItsIndexes) {
    hospitaldb::ProcedureLibrary& lib = static_cast<hospitaldb::EmbeddedBackend&>(db()).procedures();
    for (const char* n : kNames) {
        const hospitaldb::Procedure* p = lib.find("MSS", QStringLiteral("sp_MSS_%1").arg(n));
        ASSERT_NE(p, nullptr) << n;
        ASSERT_EQ(p->statements.size(), 1);
        const QHash<QString, QVariant> binds{{":HospNum", ""}, {":LastName", "SANTOS"}, {":IdNum", ""},
                                             {":FirstName", ""}, {":MiddleName", ""}};
        const auto plan = engine().query("EXPLAIN QUERY PLAN " + p->statements.first(), binds);
        QStringList lines;
        for (const auto& row : plan.rows) lines << row.last().toString();
        const QString text = lines.join('\n');
        EXPECT_FALSE(text.contains(QRegularExpression(R"(^SCAN PATIENT_DATA__tb\w+$)",
                                                      QRegularExpression::MultilineOption)))
            << n << "\n" << text.toStdString();
        EXPECT_FALSE(text.contains("tbPatient2") || text.contains("tbOutPatient") || text.contains("tbERMaster"))
            << n << "\n" << text.toStdString();
        // The surname branch (the last) reads a name range in list order: no sort of its rows.
        QString branch = p->statements.first().split("\nUNION ALL\n").last();
        branch.truncate(branch.indexOf(" ORDER BY"));
        const auto bplan = engine().query("EXPLAIN QUERY PLAN " + branch + " ORDER BY LastName, FirstName, AdmDate, IdNum",
                                          binds);
        QStringList b;
        for (const auto& row : bplan.rows) b << row.last().toString();
        const QString bt = b.join('\n');
        EXPECT_TRUE(bt.contains("LastName>? AND LastName<?")) << n << "\n" << bt.toStdString();
        EXPECT_FALSE(bt.contains("TEMP B-TREE")) << n << "\n" << bt.toStdString();
    }
}

TEST_F(SearchTable, TriggersFollowEveryChangeOfThePatientsAndEncounters) {
    open(freshCopy());
    // A patient with a current numeric admission, and a second room to move him to.
    const Rows cur = run("SELECT TOP 1 p.IdNum, p.HospNum, p.RoomID, m.LastName FROM PATIENT_DATA..tbPatient2 p"
                         " JOIN PATIENT_DATA..tbMaster m ON m.HospNum = p.HospNum"
                         " WHERE p.DcrDate IS NULL AND p.RoomID IS NOT NULL ORDER BY p.IdNum");
    ASSERT_EQ(cur.size(), 1);
    const QString id = cur.text(0, "IdNum"), hosp = cur.text(0, "HospNum"), room = cur.text(0, "RoomID");
    const QString last = cur.text(0, "LastName");
    const Rows other = run("SELECT TOP 1 RoomID FROM BUILD_FILE..tbCoRoom WHERE RoomID <> '" + room + "' ORDER BY RoomID");
    ASSERT_EQ(other.size(), 1);
    const QString room2 = other.text(0, "RoomID");
    const auto check = [&](const char* after, const QString& surname) {
        expectTableInStep(after);
        EXPECT_GT(expectSameLists(Criteria::of(hosp)), 0) << after;
        expectSameLists(Criteria::of("", surname));
        expectSameLists(Criteria::of(""));
    };

    exec("INSERT INTO PATIENT_DATA..tbPatient2 (IdNum, HospNum, AdmDate, RoomID) VALUES ('880001', '" + hosp +
         "', '2026-01-02 08:00:00', '" + room + "')");
    check("an admission", last);
    EXPECT_EQ(run("MSS..sp_MSS_LoadInPatient '', '','880001','',''").text(0, "RoomID"), room);

    exec("UPDATE PATIENT_DATA..tbPatient2 SET RoomID = '" + room2 + "' WHERE IdNum = '880001'");
    check("a room change", last);
    EXPECT_EQ(run("MSS..sp_MSS_LoadInPatient '', '','880001','',''").text(0, "RoomID"), room2);

    exec("UPDATE PATIENT_DATA..tbPatient2 SET DcrDate = '2026-01-05 10:00:00' WHERE IdNum = '880001'");
    check("a discharge", last);
    EXPECT_EQ(run("MSS..sp_MSS_LoadInPatient '', '','880001','',''").size(), 0);
    EXPECT_EQ(run("MSS..sp_MSS_LoadAllServicePatient '', '','880001','',''").size(), 1);

    exec("INSERT INTO PATIENT_DATA..tbOutPatient (IdNum, HospNum, AdmDate) VALUES ('880002B', '" + hosp +
         "', '2026-02-01 09:00:00')");
    check("an out-patient registration", last);
    EXPECT_EQ(run("MSS..sp_MSS_LoadOutPatient '', '','880002B','',''").size(), 1);

    exec("INSERT INTO PATIENT_DATA..tbERMaster (ERNum, IdNum, HospNum, ERDate) VALUES ('ER8800001', '880002B', '" +
         hosp + "', '2026-02-01 08:30:00')");
    check("an ER arrival", last);
    EXPECT_EQ(run("MSS..sp_MSS_LoadOutPatient '', '','880002B','',''").size(), 0);
    EXPECT_EQ(run("MSS..sp_MSS_LoadERPatient '', '','880002B','',''").text(0, "ERNum"), "ER8800001");

    // Another surname than the demo's, and a name prefix of none of them.
    exec("UPDATE PATIENT_DATA..tbMaster SET LastName = 'ZUBIRI-CORRECTED', Street = '1 NEW ST.' WHERE HospNum = '" +
         hosp + "'");
    check("a name and address correction", "ZUBIRI");
    const Rows before = run("MSS..sp_MSS_LoadAllServicePatient '', '" + last + "','','',''");
    for (int i = 0; i < before.size(); ++i) EXPECT_NE(before.text(i, "HospNum"), hosp);
    EXPECT_EQ(run("MSS..sp_MSS_LoadAllServicePatient '', 'zubiri','','',''").text(0, "Address").left(9), "1 NEW ST.");

    exec("MSS..sp_MSS_UpdateMSSNumber '" + hosp + "', '2099-880001'");
    check("an MSS number change", "ZUBIRI");
    const Rows mss = run("MSS..sp_MSS_LoadMSSPatient '" + hosp + "', '','','',''");
    ASSERT_GT(mss.size(), 0);
    EXPECT_EQ(mss.text(0, "MSS"), "2099-880001");

    exec("DELETE FROM PATIENT_DATA..tbERMaster WHERE ERNum = 'ER8800001'");
    check("a removed ER row", "ZUBIRI");
    EXPECT_EQ(run("MSS..sp_MSS_LoadOutPatient '', '','880002B','',''").size(), 1);
    exec("DELETE FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '880002B'");
    exec("DELETE FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '880001'");
    check("removed encounters", "ZUBIRI");
}

}  // namespace
}  // namespace patients_test
