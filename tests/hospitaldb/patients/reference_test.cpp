// The reference lists, read with the screens' own statement texts.
#include "tests/hospitaldb/patients/hospital.h"

#include <QSet>

namespace patients_test {
namespace {

using Reference = Hospital;

TEST_F(Reference, ClassificationSchemeAndRates) {
    const Rows codes = run("SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] FROM MSS..tbMSSClassificationScheme ORDER BY Code");
    ASSERT_EQ(codes.size(), 6);
    double last = -1;
    for (int i = 0; i < codes.size(); ++i) {
        const QString code = codes.text(i, "Code");
        EXPECT_LE(code.size(), 2);
        const Rows rate = run("SELECT * FROM MSS..tbMSSClassification where Type = '" + code + "'");
        ASSERT_EQ(rate.size(), 1) << code.toStdString();
        // Ordered by code, the scheme runs from full pay to free: every rate rises.
        const double p = rate.at(0, "Procedures").toDouble();
        EXPECT_GT(p, last);
        last = p;
        for (const char* c : {"Procedures", "Medicines", "Supplies", "Room", "Procedures2", "Medicines2", "Supplies2"}) {
            const double v = rate.at(0, c).toDouble();
            EXPECT_TRUE(v >= 0 && v <= 1) << c;
        }
    }
    EXPECT_EQ(last, 1.0);
}

TEST_F(Reference, RatingScalesSortTheirIdsAsText) {
    for (const char* t : {"tbcoMSSSeverityIndex", "tbcoMSSDurationIndex", "tbcoMSSCopingIndex"}) {
        const Rows r = run(QString("SELECT  (cast(id as varchar(2)) + '. ' + isnull(type,'') ) [Type] FROM build_File..%1 order by cast(id as varchar(2)) asc").arg(t));
        ASSERT_GE(r.size(), 10) << t;
        EXPECT_TRUE(r.text(1, "Type").startsWith("10. ")) << t;
    }
    const Rows s = run("SELECT  (cast(id as varchar(2)) + '. ' + isnull(types,'') ) [InteractionProb] FROM build_File..tbcoMSSTypesSocialInteract order by cast(id as varchar(2)) asc");
    ASSERT_GE(s.size(), 10);
    EXPECT_EQ(s.text(0, "InteractionProb"), "1. POWER");
}

TEST_F(Reference, RolesAndProblemsAreTheRowsOfTheIntakeSheet) {
    for (int i = 0; i < 24; ++i) {
        const Rows r = run(QString("Select ID from mss..tbMSSRoles where code = '%1'").arg(i));
        ASSERT_EQ(r.size(), 1) << i;
        EXPECT_NE(r.text(0, "ID"), QString::number(i));
    }
    EXPECT_EQ(run("Select ID from mss..tbMSSRoles where code = '24'").size(), 0);
    EXPECT_EQ(run("SELECT Description FROM mss..tbMSSRoles WHERE code = '23'").text(0, "Description"),
              "NO SOCIAL INTERACTION PROBLEM");
    for (int i = 0; i < 19; ++i) EXPECT_EQ(run(QString("Select ID from mss..tbMSSProblems where code = '%1'").arg(i)).size(), 1) << i;
    EXPECT_EQ(run("Select ID from mss..tbMSSProblems where code = '19'").size(), 0);
}

TEST_F(Reference, LookupListsOfTheScreens) {
    const char* lists[] = {
        "select category from tbMssCaseCategory",
        "SELECT isnull(Code,'') [Code], isnull(ReferringParty,'') [ReferringParty] FROM MSS..tbMSSReferringParty ORDER BY Code",
        "SELECT  isnull(Religion,'') [Religion] FROM build_File..tbCoReligion ORDER BY religionid",
        "SELECT  isnull(Relationship,'') [Relationship] FROM build_File..tbCoRelationship",
        "SELECT  isnull(CivilStatus,'') [CivilStatus] FROM build_File..tbCoCivilStatus ORDER BY CivilStatusID",
        "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSLivingArrangement ORDER BY code ",
        "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSPhilhealthType ORDER BY code ",
        "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSCategoryType ORDER BY code ",
        "SELECT isnull(Code,'') [Code], isnull(CaseStatus,'') [CaseStatus] FROM MSS..tbMSSActive ORDER BY Code",
        "SELECT * FROM MSS..tbMSSParentCategory WHERE STATUS = 'A'",
        "SELECT * FROM MSS..tbMSSCaseCategory WHERE STATUS = 'A'  order by categoryid asc",
    };
    for (const char* sql : lists) EXPECT_GT(run(sql).size(), 1) << sql;
    // The screens read codes back by position: one character, two characters.
    const Rows parties = run(lists[1]);
    for (int i = 0; i < parties.size(); ++i) EXPECT_EQ(parties.text(i, "Code").size(), 1);
    const Rows cats = run(lists[10]);
    for (int i = 0; i < cats.size(); ++i) EXPECT_LE(cats.text(i, "categoryid").size(), 2);
    QStringList acc;
    const Rows a = run("SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSAccomodation ORDER BY code ");
    for (int i = 0; i < a.size(); ++i) acc << a.text(i, "Description");
    EXPECT_EQ(acc, (QStringList{"INPATIENT", "OUTPATIENT", "ER PATIENT"}));
    QSet<QString> parents;
    const Rows p = run(lists[9]);
    for (int i = 0; i < p.size(); ++i) parents << p.text(i, "parentcategory");
    for (const char* o : {"Medical", "Surgical", "Hemodialysis", "Transplant", "Out-Patient", "ER", "Pedia Nephro."})
        EXPECT_TRUE(parents.contains(o)) << o;
}

// The pickers open these branches at load: each must be reachable from the top level and
// have children, and every code must fit the ten characters a list item keeps.
TEST_F(Reference, CatalogueTreesHoldEveryBranchThePickersOpen) {
    struct Tree { const char *proc, *table; QStringList branches; };
    const Tree trees[] = {
        {"MSS..sp_MSS_GetService '", "MSS..tbMSSServiceCategory",
         {"1.1", "1.6", "1.6.1", "1.7", "1.9", "1.10", "1.10.1", "1.11", "1.13", "1.19", "1.22", "1.23", "1.25", "1.26"}},
        {"MSS..sp_MSS_GetActivity '", "MSS..tbMSSActivity",
         {"1.1", "1.2", "1.2.3", "1.3", "1.3.2", "1.3.5", "1.4", "1.5", "1.6", "1.7", "1.8", "1.8.1", "1.8.2", "1.8.3"}},
    };
    for (const Tree& t : trees) {
        QSet<QString> reached;
        QStringList queue{"0"};
        while (!queue.isEmpty()) {
            const QString code = queue.takeFirst();
            const Rows kids = run(QString(t.proc) + code + "'");
            for (int i = 0; i < kids.size(); ++i) {
                const QString c = kids.text(i, "Code");
                EXPECT_LE(c.size(), 10);
                EXPECT_FALSE(kids.text(i, "Description").isEmpty());
                EXPECT_FALSE(reached.contains(c)) << "listed twice: " << c.toStdString();
                reached << c;
                queue << c;
            }
        }
        const Rows top = run(QString(t.proc) + "0'");
        QStringList topCodes;
        for (int i = 0; i < top.size(); ++i) topCodes << top.text(i, "Code");
        EXPECT_TRUE(topCodes.contains("1.1"));
        // Numeric order: 1.2 before 1.10.
        EXPECT_LT(topCodes.indexOf("1.2"), topCodes.indexOf(topCodes.contains("1.10") ? "1.10" : "1.8"));
        for (const QString& b : t.branches) {
            EXPECT_TRUE(reached.contains(b)) << t.proc << b.toStdString();
            EXPECT_GT(run(QString(t.proc) + b + "'").size(), 0) << t.proc << b.toStdString();
            EXPECT_EQ(run(QString("select * from %1 WHERE CODE = '%2'").arg(t.table, b)).size(), 1);
        }
    }
}

TEST_F(Reference, RevenueCodesCoverEveryDiscountGroup) {
    for (const char* c : {"RA", "XS", "CU", "UU", "RU", "CS", "KS", "OS", "RN", "PH", "RM", "XD", "CN", "UM", "LB",
                          "PA", "NU", "NE", "XR", "CT", "UL", "HS", "PT", "DI", "OR", "MD", "QF"})
        EXPECT_EQ(run(QString("SELECT Description FROM BUILD_FILE..tbCoRevenueCode WHERE RevenueID = '%1'").arg(c)).size(), 1) << c;
    // Every charge line of the demo bills names a known department.
    EXPECT_EQ(run("SELECT count(*) AS n FROM BILLING..tbBillDailyBill b WHERE NOT EXISTS "
                  "(SELECT 1 FROM BUILD_FILE..tbCoRevenueCode r WHERE r.RevenueID = b.RevenueID)").at(0, "n").toInt(), 0);
}

}  // namespace
}  // namespace patients_test
