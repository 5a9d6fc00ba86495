// The assessment and referral: the save sequence as the screen sends it, and every reader of it.
#include "tests/hospitaldb/casework/casedb.h"

namespace casework_test {
namespace {

struct Assessment {
    QString hospNum = "91000001", idNum = "991201", mssNum = "2026-990001", code = "C1";
    QString categoryName = "INDIGENT", categoryId = "03", remarks = "Family can''t pay";  // as the layer carries an apostrophe
    QString intake = mdy(0), validity = mdy(180), worker = "0002", user = "0001";
    QString pcso = "1", sponsor = "1", special = "1", nc = "2500", pcsoType = "G", parent = "02";
    QString referring = "D", active = "Y", status = "02", services = "1.1|1.6.1|";
    QString docs = "1|0|1|0|0|0|0|0|0|0|0|1|0|0|0|0|1|0|", activities = "1.2|1.3.2|";

    QString save() const {
        return "MSS..sp_MSS_SaveAssessment_NEW'" +
               QStringList{hospNum, idNum, mssNum, code, categoryName, categoryId, remarks, intake, validity,
                           worker, user, pcso, sponsor, special, nc, pcsoType, parent, categoryId, referring,
                           active, status, services}.join("','") + "'";
    }
    QString transaction() const {
        return "MSS..sp_MSS_SaveTransaction '" +
               QStringList{hospNum, idNum, mssNum, code, intake, validity, categoryName, worker, user, remarks}
                   .join("','") + "'";
    }
    QString removeDiscount() const {
        return "DELETE   FROM BILLING..tbBillDailyBill WHERE revenueid = 'QF' and refNum = '" + mssNum +
               "' and IdNum = '" + idNum + "'";
    }
    QString documentation() const {
        return "Mss..spMSS_SaveDocumentation '" + hospNum + "', '" + idNum + "', '" + active + "', '" + status +
               "','" + docs + "', '" + intake + "','" + user + "','" + worker + "','" + activities + "'";
    }
};

class AssessmentSave : public CaseDb {
protected:
    // The save sequence of the screen: one transaction, rolled back on any failure.
    long save(const Assessment& a, QString* why = nullptr) {
        backend().beginTransaction();
        try {
            run(a.save());
            run(a.transaction());
            if (a.special != "1") run(a.removeDiscount());
            run(a.documentation());
            backend().commitTransaction();
        } catch (const mss::db::Failure& f) {
            backend().rollbackTransaction();
            if (why) *why = f.Description;
            return f.Number;
        }
        return 0;
    }
};

TEST_F(AssessmentSave, EveryReaderReadsBackWhatWasSaved) {
    const Assessment a;
    ASSERT_EQ(save(a), 0);

    Rows r = run("MSS..sp_MSS_GetAssessmentRecord '991201'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "LastName"), "CASTILLO");
    EXPECT_EQ(r.text(0, "FirstName"), "MARIA");
    EXPECT_EQ(r.text(0, "MiddleName"), "LOPEZ");
    EXPECT_EQ(r.text(0, "HospNum"), "91000001");
    EXPECT_EQ(r.text(0, "IDNUM"), "991201");
    EXPECT_EQ(r.text(0, "MSSNum"), "2026-990001");
    EXPECT_EQ(r.text(0, "DoctorName"), "DR. ROBERTO VILLANUEVA");
    EXPECT_EQ(r.text(0, "RoomID"), "201");
    EXPECT_EQ(r.at(0, "MSSDiscountValidity").toDate(), QDate::currentDate());
    EXPECT_EQ(r.at(0, "MSSDiscountExpiry").toDate(), QDate::currentDate().addDays(180));
    EXPECT_EQ(r.text(0, "MSSW"), "0002");
    EXPECT_EQ(r.text(0, "MSSWName"), "MANALASTAS, RODEL CRUZ");
    EXPECT_DOUBLE_EQ(r.number(0, "NC"), 2500);
    EXPECT_EQ(r.text(0, "REMARKS"), "Family can't pay");
    EXPECT_EQ(r.text(0, "Code"), "C1");
    EXPECT_TRUE(r.at(0, "IsCDF").toBool());
    EXPECT_TRUE(r.at(0, "IsPCSO").toBool());
    EXPECT_TRUE(r.at(0, "IsSpecial").toBool());
    EXPECT_EQ(r.text(0, "pcsotype"), "G");
    EXPECT_EQ(r.text(0, "CaseCategory"), "03");
    EXPECT_EQ(r.text(0, "parentcategory"), "02");
    EXPECT_EQ(r.text(0, "ReferringPartyID"), "D");
    EXPECT_EQ(r.text(0, "serviceid"), "1.1|1.6.1|");

    Rows h = run("Mss..sp_LoadPatCaseHistory '91000001', '991201'");
    ASSERT_EQ(h.size(), 1);
    EXPECT_EQ(h.text(0, "docs"), a.docs);
    EXPECT_EQ(h.text(0, "docs").split('|').size(), 19);  // eighteen flags, each followed by "|"
    EXPECT_EQ(h.text(0, "casestatus"), "02");
    EXPECT_EQ(h.text(0, "casedesc"), "ON-GOING");
    EXPECT_EQ(h.text(0, "activityid"), "1.2|1.3.2|");
    EXPECT_EQ(h.text(0, "Active"), "Y");

    Rows p = run("MSS..sp_MSS_PrintAssessment '91000001','991201'");
    ASSERT_EQ(p.size(), 1);
    // The clearance screen shows HospNum as the MSS number.
    EXPECT_EQ(p.text(0, "HospNum"), "2026-990001");
    EXPECT_EQ(p.text(0, "MSSNum"), "2026-990001");
    EXPECT_EQ(p.text(0, "category"), "INDIGENT");
    EXPECT_EQ(p.text(0, "Code"), "C1");
    EXPECT_EQ(p.at(0, "CDF").toInt(), 1);
    EXPECT_EQ(p.at(0, "PCSO").toInt(), 1);
    EXPECT_EQ(p.at(0, "special").toInt(), 1);
    EXPECT_NE(p.text(0, "NC"), "0.00");
    EXPECT_DOUBLE_EQ(p.text(0, "NC").toDouble(), 2500);

    Rows rp = run("MSS..sp_MSS_ReprintARR '91000001'");
    ASSERT_EQ(rp.size(), 1);
    EXPECT_EQ(rp.table.columns, QStringList({"HospNum", "IDNUM", "MSSNum", "PatientName", "Classification",
                                             "Category", "AssessDate", "Remarks", "UserName", "lisencenumber"}));
    EXPECT_EQ(rp.text(0, "IDNUM"), "991201");
    EXPECT_EQ(rp.text(0, "MSSNum"), "2026-990001");
    EXPECT_EQ(rp.text(0, "PatientName"), "CASTILLO, MARIA LOPEZ");
    EXPECT_EQ(rp.text(0, "UserName"), "MANALASTAS, RODEL CRUZ");
    EXPECT_EQ(rp.text(0, "lisencenumber"), "SW-0023456");
    const Rows byName = run("MSS..sp_MSS_ReprintARR 'CASTIL'");
    bool ours = false;
    for (int i = 0; i < byName.size(); ++i) {
        EXPECT_TRUE(byName.text(i, "PatientName").startsWith("CASTIL"));
        ours = ours || byName.text(i, "IDNUM") == "991201";
    }
    EXPECT_TRUE(ours);

    // The master holds the classification in force.
    EXPECT_EQ(value("SELECT MSSNum || '/' || MSSClassification FROM PATIENT_DATA__tbMaster WHERE HospNum = '91000001'")
                  .toString(), "2026-990001/C1");
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSTransaction WHERE HospNum = '91000001'"), 1);
}

TEST_F(AssessmentSave, ResavingKeepsOneCurrentAssessmentAndTheHistory) {
    Assessment a;
    ASSERT_EQ(save(a), 0);
    a.code = "C2";
    a.remarks = "Re-assessed";
    a.special = "";
    a.nc = "0";
    a.pcso = "";
    ASSERT_EQ(save(a), 0);
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSAssessment WHERE IdNum = '991201'"), 1);
    Rows r = run("MSS..sp_MSS_GetAssessmentRecord '991201'");
    EXPECT_EQ(r.text(0, "Code"), "C2");
    EXPECT_FALSE(r.at(0, "IsSpecial").toBool());
    EXPECT_FALSE(r.at(0, "IsPCSO").toBool());
    EXPECT_EQ(r.text(0, "pcsotype"), "");  // no type without the PCSO flag
    EXPECT_EQ(run("MSS..sp_MSS_PrintAssessment '91000001','991201'").text(0, "NC"), "0.00");

    Rows prev = run("MSS..sp_MSS_GetPreviousAssessment '91000001'");
    ASSERT_EQ(prev.size(), 2);
    EXPECT_EQ(prev.table.columns, QStringList({"IDNUM", "Code", "Classification", "Category", "AssessDate",
                                               "Remarks", "ExpiryDate"}));
    EXPECT_EQ(prev.text(0, "Code"), "C2");  // newest first
    EXPECT_EQ(prev.text(0, "Remarks"), "Re-assessed");
    EXPECT_EQ(prev.text(1, "Code"), "C1");
    EXPECT_EQ(prev.at(0, "ExpiryDate").toDate(), QDate::currentDate().addDays(180));
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSTransaction WHERE HospNum = '91000001'"), 2);
}

TEST_F(AssessmentSave, ARefusedSaveLeavesNothingWritten) {
    struct Case { const char* what; Assessment a; };
    QList<Case> cases;
    Assessment other;   other.mssNum = "2020-777777";                 cases.append({"number of another patient", other});
    Assessment code;    code.code = "ZZ";                              cases.append({"unknown classification", code});
    Assessment before;  before.validity = mdy(-1);                     cases.append({"validity before intake", before});
    Assessment noDate;  noDate.validity = "";                          cases.append({"missing validity", noDate});
    Assessment empty;   empty.mssNum = "";                             cases.append({"empty MSS number", empty});
    Assessment nc;      nc.nc = "12abc";                               cases.append({"non-numeric counterpart", nc});
    Assessment foreign; foreign.idNum = "991401";                      cases.append({"admission of another patient", foreign});
    Assessment docs;    docs.docs = "1|0|1|";                          cases.append({"short documentation flags", docs});
    Assessment unknown; unknown.hospNum = "99999999";                  cases.append({"unknown patient", unknown});
    for (const Case& c : cases) {
        QString why;
        EXPECT_NE(save(c.a, &why), 0) << c.what;
        EXPECT_FALSE(why.isEmpty()) << c.what;
        EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSAssessment WHERE IdNum IN ('991201', '991401')"), 0) << c.what;
        EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSTransaction WHERE HospNum = '91000001'"), 0) << c.what;
        EXPECT_TRUE(value("SELECT MSSNum FROM PATIENT_DATA__tbMaster WHERE HospNum = '91000001'").isNull()) << c.what;
    }
}

TEST_F(AssessmentSave, AnExpiredClassificationReadsAsAnEmptyCodeBesideTheNumber) {
    Assessment a;
    a.intake = mdy(-200);
    a.validity = mdy(-20);
    ASSERT_EQ(save(a), 0);
    Rows r = run("MSS..sp_MSS_GetAssessmentRecord '991201'");
    EXPECT_EQ(r.text(0, "Code"), "");
    EXPECT_EQ(r.text(0, "MSSNum"), "2026-990001");
    EXPECT_EQ(r.at(0, "MSSDiscountExpiry").toDate(), QDate::currentDate().addDays(-20));
}

TEST_F(AssessmentSave, AClassificationWithoutAnExpiryDateReadsAsExpiredEverywhere) {
    ASSERT_EQ(save(Assessment{}), 0);
    value("UPDATE PATIENT_DATA__tbMaster SET MSSDiscountExpiry = NULL WHERE HospNum = '91000001'");
    EXPECT_EQ(run("MSS..sp_MSS_GetAssessmentRecord '991201'").text(0, "Code"), "");
    Rows info = run("MSS..sp_MSS_GetPatientInfo '91000001','991201'");
    ASSERT_EQ(info.size(), 1);
    EXPECT_EQ(info.text(0, "Code"), "");
    EXPECT_EQ(info.text(0, "MSSNumber"), "2026-990001");
}

TEST_F(AssessmentSave, AnEncounterWithoutAssessmentStillHasARecord) {
    Rows r = run("MSS..sp_MSS_GetAssessmentRecord '991301B'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "HospNum"), "91000003");
    EXPECT_EQ(r.text(0, "RoomID"), "OPD");
    EXPECT_EQ(r.text(0, "MSSNum"), "");
    EXPECT_EQ(r.text(0, "Code"), "");
    EXPECT_EQ(r.text(0, "IsSpecial"), "");
    EXPECT_EQ(run("MSS..sp_MSS_GetAssessmentRecord 'NOSUCH'").size(), 0);
    EXPECT_EQ(run("Mss..sp_LoadPatCaseHistory '91000003', '991301B'").size(), 0);
    EXPECT_EQ(run("MSS..sp_MSS_PrintAssessment '91000003','991301B'").size(), 0);
}

TEST_F(AssessmentSave, OutPatientSaveRemovesItsOwnDiscountLinesOnly) {
    Assessment a;
    a.hospNum = "91000003";
    a.idNum = "991301B";
    a.mssNum = "2026-990003";
    a.special = "";
    backend().runSql("INSERT INTO BILLING__tbBillOPDailyOut (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Amount)"
                     " VALUES ('991301B', 'QF', '2026-990003', 'LB', 'LABORATORY', datetime('now'), -100),"
                     "        ('991301B', 'QF', 'OTHER', 'CS', 'SUPPLIES', datetime('now'), -10)", {});
    backend().beginTransaction();
    run(a.save());
    run(a.transaction());
    run("DELETE  FROM BILLING..tbBillOPDailyOut WHERE revenueid = 'QF' and refNum = '" + a.mssNum +
        "' and IdNum = '" + a.idNum + "'");
    run(a.documentation());
    backend().commitTransaction();
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillOPDailyOut WHERE IdNum = '991301B' AND RevenueID = 'QF'"), 1);
    EXPECT_EQ(run("MSS..sp_MSS_GetAssessmentRecord '991301B'").text(0, "Code"), "C1");
}

}  // namespace
}  // namespace casework_test
