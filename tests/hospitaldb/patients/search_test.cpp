// The patient searches, called exactly as the search screen builds them.
#include "tests/hospitaldb/patients/hospital.h"

#include "hospitaldb/engine.h"


namespace patients_test {
namespace {

class Search : public Hospital {
protected:
    // procedure + hospital number + "', '" + last name + "','" + admission + "','" + first + "','" + middle + "'"
    Rows search(const QString& proc, const QString& hosp, const QString& last, const QString& id = {},
                const QString& first = {}, const QString& middle = {}) {
        return run(proc + hosp + "', '" + last + "','" + id + "','" + first + "','" + middle + "'");
    }
    static QStringList ids(const Rows& r) {
        QStringList out;
        for (int i = 0; i < r.size(); ++i) out << r.text(i, "IDNUM");
        return out;
    }
};

const QString kIn = "MSS..sp_MSS_LoadInPatient '";
const QString kOut = "MSS..sp_MSS_LoadOutPatient '";
const QString kAll = "MSS..sp_MSS_LoadAllServicePatient '";
const QString kEr = "MSS..sp_MSS_LoadERPatient '";
const QString kMss = "MSS..sp_MSS_LoadMSSPatient '";

TEST_F(Search, EveryProcedureReturnsTheColumnsTheListReads) {
    for (const QString& p : {kIn, kOut, kAll, kEr, kMss}) {
        const Rows r = search(p, "", "DELA PAZ");
        for (const char* c : {"IDNUM", "HospNum", "AdmDate", "LastName", "FirstName", "MiddleName", "RoomID", "MSS",
                              "Address", "dcrdate", "BillingDate", "ERNum"})
            EXPECT_TRUE(r.has(c)) << p.toStdString() << " lacks " << c;
    }
}

TEST_F(Search, InPatientsAreTheUndischargedAdmissions) {
    const Rows r = search(kIn, "", "DELA PAZ");
    // Admission 990102 of the same patient is discharged; sorted by last, first name.
    EXPECT_EQ(ids(r), (QStringList{"990103", "990101"}));
    EXPECT_EQ(r.text(1, "HospNum"), "90000001");
    EXPECT_EQ(r.text(1, "RoomID"), "201");
    EXPECT_EQ(r.text(1, "MSS"), "2023-900001");
    EXPECT_EQ(r.text(1, "Address"), "12 MABINI ST., BRGY. SAN ROQUE, MARIKINA, METRO MANILA");
    EXPECT_TRUE(r.at(1, "dcrdate").isNull());
    EXPECT_EQ(r.at(1, "AdmDate").toDateTime().time().hour(), 10);
    EXPECT_EQ(r.text(0, "Address"), "PASIG, METRO MANILA");
}

TEST_F(Search, NamesMatchFromTheirStartWithoutRegardToCase) {
    // "DELA" finds DELA, DELA PAZ and DELAPAZ; "ELA" finds none of them.
    const QStringList all = ids(search(kAll, "", "dela"));
    EXPECT_TRUE(all.contains("T990104") && all.contains("990101") && all.contains("990003B") && all.contains("990103"));
    EXPECT_TRUE(ids(search(kAll, "", "ELA PAZ")).isEmpty());
    // A first-name prefix alone, and combined with a surname.
    EXPECT_EQ(ids(search(kAll, "", "DELA", "", "juanit")).size(), 4);
    EXPECT_EQ(ids(search(kAll, "", "DELA P", "", "ANA")), (QStringList{"990103"}));
    EXPECT_EQ(ids(search(kAll, "", "", "", "ZENY", "PA")), (QStringList{"990004B", "T990104"}));
    // A prefix longer than the name matches nothing.
    EXPECT_TRUE(ids(search(kAll, "", "DELA PAZZ")).isEmpty());
}

TEST_F(Search, NumbersMatchExactly) {
    EXPECT_EQ(search(kAll, "90000001", "").size(), 4);
    EXPECT_EQ(search(kAll, "9000000", "").size(), 0);
    EXPECT_EQ(ids(search(kIn, "", "", "990101")), (QStringList{"990101"}));
    EXPECT_TRUE(ids(search(kIn, "", "", "99010")).isEmpty());
    // The admission number of a discharged stay is no in-patient.
    EXPECT_TRUE(ids(search(kIn, "", "", "990102")).isEmpty());
    // Hospital number and admission number together must agree.
    EXPECT_TRUE(ids(search(kAll, "90000002", "", "990101")).isEmpty());
    EXPECT_EQ(ids(search(kAll, "90000001", "DELA", "990102")), (QStringList{"990102"}));
}

TEST_F(Search, EncounterKindsAreKeptApart) {
    // 990001B is an ER visit: not among the out-patients, listed with its ER number.
    EXPECT_EQ(ids(search(kOut, "90000001", "")), (QStringList{"990002B"}));
    const Rows er = search(kEr, "90000001", "");
    ASSERT_EQ(ids(er), (QStringList{"990001B"}));
    EXPECT_EQ(er.text(0, "ERNum"), "ER9900001");
    EXPECT_EQ(er.text(0, "RoomID"), "OPD");
    // All patients: every encounter of the patient, oldest first, the ER visit with its number.
    const Rows all = search(kAll, "90000001", "");
    EXPECT_EQ(ids(all), (QStringList{"990102", "990002B", "990001B", "990101"}));
    EXPECT_EQ(all.text(2, "ERNum"), "ER9900001");
    EXPECT_EQ(all.text(0, "BillingDate").isEmpty(), false);
    // Cash admissions are in-patients too.
    EXPECT_EQ(ids(search(kIn, "", "DELA", "", "ZENY")), (QStringList{"T990104"}));
}

TEST_F(Search, MssPatientsAreThoseHoldingAnMssNumber) {
    const Rows r = search(kMss, "", "DELA PAZ");
    QStringList hosp;
    for (int i = 0; i < r.size(); ++i) hosp << r.text(i, "HospNum");
    hosp.removeDuplicates();
    EXPECT_EQ(hosp, (QStringList{"90000002", "90000001"}));
    // Every demo row listed holds a number.
    const Rows any = search(kMss, "", "SANTOS");
    ASSERT_GT(any.size(), 0);
    for (int i = 0; i < any.size(); ++i) EXPECT_FALSE(any.text(i, "MSS").isEmpty());
}

TEST_F(Search, WithoutCriteriaOnlyCurrentEncountersAreListed) {
    for (const QString& p : {kIn, kOut, kEr, kAll, kMss}) {
        const Rows r = search(p, "", "");
        ASSERT_GT(r.size(), 0) << p.toStdString();
        for (int i = 0; i < r.size(); ++i) EXPECT_TRUE(r.at(i, "dcrdate").isNull()) << p.toStdString();
    }
    EXPECT_TRUE(ids(search(kEr, "", "")).contains("990003B"));
    EXPECT_FALSE(ids(search(kOut, "", "")).contains("990003B"));
}

TEST_F(Search, ResultsAreOrderedByNameThenAdmissionDate) {
    const Rows r = search(kAll, "", "SA");
    ASSERT_GT(r.size(), 10);
    for (int i = 1; i < r.size(); ++i) {
        const auto key = [&](int k) {
            return std::make_tuple(r.text(k, "LastName").toUpper(), r.text(k, "FirstName").toUpper(),
                                   r.at(k, "AdmDate").toDateTime());
        };
        EXPECT_LE(key(i - 1), key(i)) << i;
    }
}

TEST_F(Search, ApostropheInANameIsCarriedSafely) {
    // The screen turns a typed apostrophe into "`"; a raw one must not break the statement.
    EXPECT_EQ(search(kAll, "", "D``ANGELO").size(), 0);
    EXPECT_EQ(run(kAll + "', 'O''BRIEN','','',''").size(), 0);
}

}  // namespace
}  // namespace patients_test
