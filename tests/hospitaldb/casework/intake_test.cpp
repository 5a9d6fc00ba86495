// The intake sheet: its three saves, its sections and their loads, as the intake screen sends them.
#include "tests/hospitaldb/casework/casedb.h"

namespace casework_test {
namespace {

QString args(const QStringList& values) { return "'" + values.join("','") + "'"; }

class Intake : public CaseDb {
protected:
    QStringList sheet(const QString& hospNum, const QString& mssNum) {
        return {hospNum, "12/08/2026", "PARTIAL CHARITY - 50%", "INDIGENT", "4500", "HIGH SCHOOL", "201",
                "CASTILLO", "MARIA", "LOPEZ", "Female", "04/02/1961", "MARRIED", "VENDOR", "65", "0917-000-1111",
                "PASIG", "ROMAN CATHOLIC", "", "991201", "12/06/2026", "12/08/2026", "06/08/2027",
                "c/o daughter", "4 RIZAL ST., PASIG", mssNum, "1", "0", "1", "0", "0", "SOLO PARENT"};
    }
    QStringList patientData(const QString& hospNum, const QString& mssNum) {
        return {hospNum, "991201", mssNum, "C1", "INDIGENT", "03", "12/08/2026", "06/08/2027",
                "BUENAFLOR, CECILIA", "0001", "D"};
    }
};

TEST_F(Intake, SavedSheetReadsBackAsTyped) {
    run("MSS..sp_MSS_SaveIntakeSheetData " + args(sheet("91000001", "2026-990001")));
    run("MSS..sp_MSS_SaveOtherPatientInfo " +
        args({"91000001", "DOCTOR", "DR. VILLANUEVA", "MEDICAL ARTS BLDG", "0917-222-3333", "DAUGHTER",
              "ANA CASTILLO", "1200.50", "EXTENDED FAMILY", "DAUGHTER", "PASIG CITY", "CKD", "CKD STAGE 5",
              "2 years", "dialysis, 1 year", "transplant work-up", "Not Available", "Family can''t pay",
              "Refer to PCSO", "MEMBER", "INDIGENT", "INPATIENT"}));
    run("MSS..sp_MSS_SavePatientData'" + args(patientData("91000001", "2026-990001")).mid(1));
    EXPECT_TRUE(messages_.isEmpty());

    // Both forms the screen sends: trimmed with a blank, and as the box holds it without one.
    for (const QString& call : {QStringLiteral("MSS..sp_MSS_LoadExistIntakeSheet '91000001'"),
                                QStringLiteral("MSS..sp_MSS_LoadExistIntakeSheet'91000001'")}) {
        Rows r = run(call);
        ASSERT_EQ(r.size(), 1) << call.toStdString();
        EXPECT_EQ(r.at(0, "ExpiryDate").toDate(), QDate(2027, 6, 8));
        EXPECT_EQ(r.at(0, "InterviewDate").toDate(), QDate(2026, 12, 8));
        EXPECT_EQ(r.text(0, "refpartyid"), "D");
        EXPECT_EQ(r.text(0, "ReferringParty"), "DOCTOR");
        EXPECT_EQ(r.text(0, "categoryDescription"), "INDIGENT");
        EXPECT_EQ(r.text(0, "CategoryNum"), "03");
        EXPECT_EQ(r.text(0, "SenCitizen"), "1");
        EXPECT_EQ(r.text(0, "brgyOfficial"), "0");
        EXPECT_EQ(r.text(0, "BHW"), "1");
        EXPECT_EQ(r.text(0, "PWD"), "0");
        EXPECT_EQ(r.text(0, "Indigenous"), "0");
        EXPECT_EQ(r.text(0, "MSSW"), "BUENAFLOR, CECILIA");
        EXPECT_EQ(r.text(0, "MSSNumber"), "2026-990001");
        EXPECT_EQ(r.text(0, "Education"), "HIGH SCHOOL");
        EXPECT_EQ(r.text(0, "ClassificationDescription"), "PARTIAL CHARITY - 50%");
        EXPECT_EQ(r.text(0, "Salary"), "4500");
        EXPECT_EQ(r.text(0, "InfoSource"), "DAUGHTER");
        EXPECT_EQ(r.text(0, "ReferredBy"), "DR. VILLANUEVA");
        EXPECT_EQ(r.text(0, "ReferralAddress"), "MEDICAL ARTS BLDG");
        EXPECT_EQ(r.text(0, "TemporaryAddress"), "c/o daughter");
        EXPECT_EQ(r.text(0, "PermanentAddress"), "4 RIZAL ST., PASIG");
        EXPECT_EQ(r.text(0, "OtherSectorialMembership"), "SOLO PARENT");
        EXPECT_EQ(r.text(0, "classCode"), "C1");
    }

    Rows o = run("MSS..sp_MSS_LoadOtherPatientInfo '91000001'");
    ASSERT_EQ(o.size(), 1);
    const QStringList cols = {"ReferringParty", "ReferredBy", "ReferringPartyContactNo", "ReferralAddress",
                              "InfoSource", "CompanionUponAdmission", "PerCapitaIncome", "LivingArrangement",
                              "RelationToPatient", "AddressOfInformant", "FinalDiagnosis", "ProbSympDuration",
                              "PrevTretmentDuration", "PresentTreatmentPlan", "HealthAccessibility", "Assessment",
                              "RecommendedInterventions", "PhilhealthType", "CategoryType", "Accomodation"};
    const QStringList want = {"DOCTOR", "DR. VILLANUEVA", "0917-222-3333", "MEDICAL ARTS BLDG", "DAUGHTER",
                              "ANA CASTILLO", "1200.50", "EXTENDED FAMILY", "DAUGHTER", "PASIG CITY", "CKD STAGE 5",
                              "2 years", "dialysis, 1 year", "transplant work-up", "Not Available", "Family can't pay",
                              "Refer to PCSO", "MEMBER", "INDIGENT", "INPATIENT"};
    for (int i = 0; i < cols.size(); ++i) {
        ASSERT_TRUE(o.has(cols[i])) << cols[i].toStdString();
        EXPECT_FALSE(o.at(0, cols[i]).isNull()) << cols[i].toStdString();  // read without FieldText
        EXPECT_EQ(o.text(0, cols[i]), want[i]) << cols[i].toStdString();
    }
    // The master takes the number the patient did not have.
    EXPECT_EQ(value("SELECT MSSNum FROM PATIENT_DATA__tbMaster WHERE HospNum = '91000001'").toString(), "2026-990001");
}

TEST_F(Intake, AnotherPatientsNumberIsAWarningAndIsNotTaken) {
    run("MSS..sp_MSS_SaveIntakeSheetData " + args(sheet("91000001", "2020-777777")));
    run("MSS..sp_MSS_SavePatientData'" + args(patientData("91000001", "2020-777777")).mid(1));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_.first().Description.contains("OCAMPO")) << messages_.first().Description.toStdString();
    EXPECT_TRUE(value("SELECT MSSNum FROM PATIENT_DATA__tbMaster WHERE HospNum = '91000001'").isNull());
    EXPECT_EQ(run("MSS..sp_MSS_LoadExistIntakeSheet '91000001'").text(0, "MSSNumber"), "");
    // The rest of the patient data is saved.
    EXPECT_EQ(run("MSS..sp_MSS_LoadExistIntakeSheet '91000001'").text(0, "classCode"), "C1");

    // The holder himself gets no warning.
    run("MSS..sp_MSS_SavePatientData'" + args(patientData("91000002", "2020-777777")).mid(1));
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(Intake, SavesForAnUnknownPatientFail) {
    EXPECT_NE(failure("MSS..sp_MSS_SaveIntakeSheetData " + args(sheet("99999999", "2026-990001"))), 0);
    EXPECT_NE(failure("MSS..sp_MSS_SavePatientData'" + args(patientData("99999999", "")).mid(1)), 0);
    EXPECT_NE(failure("MSS..sp_MSS_ClearFamilyComposition '99999999'"), 0);
    EXPECT_NE(failure("MSS..sp_MSS_SaveMonthlyExpenses " + args(QStringList{"99999999"} + QStringList(26, QString()))), 0);
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSIntakeSheet WHERE HospNum = '99999999'"), 0);
}

TEST_F(Intake, FamilyCompositionIsReplacedAsAWholeAndKeepsItsOrder) {
    auto member = [](const QString& name, const QString& income) {
        return "MSS..sp_MSS_SaveFamilyComposition " +
               args({"91000001", name, "SON", "20", "SINGLE", "COLLEGE", "PASIG", "CLERK", income, "9000.5"});
    };
    run("MSS..sp_MSS_ClearFamilyComposition '91000001'");
    run(member("ZED CASTILLO", "5000"));
    run(member("ANA CASTILLO", "4000.5"));
    run(member("BEN CASTILLO", ""));
    Rows r = run("MSS..sp_MSS_LoadExistFamilyComposition '91000001'");
    ASSERT_EQ(r.size(), 3);
    // The grid binds the result: the eight member columns first, in grid order, then the total.
    ASSERT_GE(r.table.columns.size(), 9);
    EXPECT_EQ(r.table.columns.mid(1, 7), QStringList({"Relationship", "Age", "CivilStatus", "EducAttainment",
                                                      "Address", "Occupation", "Income"}));
    EXPECT_EQ(r.table.rows[0][0].toString(), "ZED CASTILLO");
    EXPECT_EQ(r.table.rows[1][0].toString(), "ANA CASTILLO");
    EXPECT_EQ(r.table.rows[2][0].toString(), "BEN CASTILLO");
    EXPECT_DOUBLE_EQ(r.number(1, "Income"), 4000.5);
    EXPECT_DOUBLE_EQ(r.number(2, "Income"), 0);
    EXPECT_DOUBLE_EQ(r.number(0, "TotalIncome"), 9000.5);

    run("MSS..sp_MSS_ClearFamilyComposition '91000001'");
    run(member("ANA CASTILLO", "4000.5"));
    EXPECT_EQ(run("MSS..sp_MSS_LoadExistFamilyComposition '91000001'").size(), 1);

    QString why;
    EXPECT_NE(failure(member("CARL CASTILLO", "five thousand"), &why), 0);
    EXPECT_EQ(run("MSS..sp_MSS_LoadExistFamilyComposition '91000001'").size(), 1);
}

TEST_F(Intake, MonthlyExpensesReadBackAsTheBoxesHeldThem) {
    QStringList values{"91000001"};
    for (int i = 0; i <= 22; ++i) values << (i == 0 ? "1500" : i == 10 ? "3000.50" : "");
    values << "CELLPHONE" << "" << "4500.5";
    ASSERT_EQ(values.size(), 27);
    run("MSS..sp_MSS_SaveMonthlyExpenses " + args(values));
    Rows r = run("MSS..sp_MSS_LoadMonthlyExpenses '91000001'");
    ASSERT_EQ(r.size(), 1);
    const QStringList cols = {"rent", "Owned", "Amortize", "Electric", "Kerosine", "Candle", "ArtesianWell",
                              "WaterDistrict", "WaterPublic", "WaterOwned", "Food", "Clothing", "Gas", "Firewood",
                              "Charcoal", "MCS", "TuitionFee", "Allowance", "TranspoAllowance", "TranspoMed",
                              "MedicalExpenditure", "HouseHelp", "InsurancePremium", "OTher", "OtherAmount",
                              "TotalMonthlyExpenditure"};
    for (int i = 0; i < cols.size(); ++i) {
        ASSERT_TRUE(r.has(cols[i])) << cols[i].toStdString();
        EXPECT_FALSE(r.at(0, cols[i]).isNull()) << cols[i].toStdString();  // no column may be null
        EXPECT_EQ(r.text(0, cols[i]), values[i + 1]) << cols[i].toStdString();
    }
    // A second save updates the same record.
    values[1] = "1600";
    run("MSS..sp_MSS_SaveMonthlyExpenses " + args(values));
    EXPECT_EQ(run("MSS..sp_MSS_LoadMonthlyExpenses '91000001'").text(0, "rent"), "1600");
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSMonthlyExpenses WHERE HospNum = '91000001'"), 1);
}

TEST_F(Intake, RatingsWrittenByTheScreenGetTheirAuditAndStayOnePerRole) {
    run(" SELECT a.* FROM mss..tbMSSSocialFunctioning a  where a.hospnum = '91000001'  and a.description = '104'");
    backend().runSql("INSERT INTO MSS__tbMSSSocialFunctioning (Hospnum, Description, Interaction, SeverityIndex,"
                     " DurationIndex, CopingIndex) VALUES ('91000001', '104', '3', '12', '', '')", {});
    EXPECT_EQ(value("SELECT CreatedBy FROM MSS__tbMSSSocialFunctioning WHERE Hospnum = '91000001'").toString(), "0001");
    EXPECT_FALSE(value("SELECT CreatedAt FROM MSS__tbMSSSocialFunctioning WHERE Hospnum = '91000001'").isNull());
    EXPECT_THROW(backend().runSql("INSERT INTO MSS__tbMSSSocialFunctioning (Hospnum, Description) VALUES ('91000001', '104')", {}),
                 mss::db::Failure);
}

}  // namespace
}  // namespace casework_test
