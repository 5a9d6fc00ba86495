#include "assessment/classificationscheme.h"
#include "shell/db/error.h"
#include "smalldb.h"

#include <gtest/gtest.h>

using namespace mss;
using namespace mss::assessment;

namespace {

// Stored out of code order, one code without rates.
const QByteArray kScheme = R"(
CREATE TABLE MSS__tbMSSClassificationScheme (Code TEXT COLLATE TSQL, Classification TEXT COLLATE TSQL);
INSERT INTO MSS__tbMSSClassificationScheme VALUES ('C1', 'PARTIAL CHARITY - 50%'), ('A', 'FULL PAY'),
  ('B', NULL), ('X', 'NO RATES');
CREATE TABLE MSS__tbMSSClassification (Type TEXT COLLATE TSQL, Procedures REAL, Medicines REAL, Supplies REAL,
  Room REAL, Procedures2 REAL, Medicines2 REAL, Supplies2 REAL);
INSERT INTO MSS__tbMSSClassification VALUES ('C1', 0.5, 0.4, 0.3, 0.25, 0.45, 0.35, 0.2),
  ('A', 0, 0, 0, 0, 0, 0, 0), ('B', 0.25, NULL, 0.2, 0.1, 0.2, 0.15, 0.15);
)";

TEST(ClassificationScheme, TheAssessmentScreenGetsCodesInOrderWithTheirNames) {
    test::SmallDatabase db(kScheme);
    EXPECT_EQ(AssessmentClassificationItems(),
              (QStringList{"A -FULL PAY", "B -", "C1 -PARTIAL CHARITY - 50%", "X -NO RATES"}));
    EXPECT_EQ(db.takeStatements(),
              QStringList{"SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] "
                          "FROM MSS..tbMSSClassificationScheme ORDER BY Code"});
}

TEST(ClassificationScheme, TheIntakeSheetGetsCodesAsStored) {
    test::SmallDatabase db(kScheme);
    EXPECT_EQ(IntakeClassificationItems(), (QStringList{"C1", "A", "B", "X"}));
    EXPECT_EQ(db.takeStatements(),
              QStringList{"SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] "
                          "FROM MSS..tbMSSClassificationScheme"});
}

TEST(ClassificationScheme, RatesDependOnCodeAndRoom) {
    test::SmallDatabase db(kScheme);
    const ClassificationRates in = ReadClassificationRates(" C1 ", false);
    EXPECT_DOUBLE_EQ(in.Procedures, 0.5);
    EXPECT_DOUBLE_EQ(in.Medicines, 0.4);
    EXPECT_DOUBLE_EQ(in.Supplies, 0.3);
    EXPECT_DOUBLE_EQ(in.Room, 0.25);
    EXPECT_EQ(db.takeStatements(), QStringList{"SELECT * FROM MSS..tbMSSClassification where Type = 'C1'"});

    const ClassificationRates out = ReadClassificationRates("C1", true);
    EXPECT_DOUBLE_EQ(out.Procedures, 0.45);
    EXPECT_DOUBLE_EQ(out.Medicines, 0.35);
    EXPECT_DOUBLE_EQ(out.Supplies, 0.2);
    EXPECT_DOUBLE_EQ(out.Room, 0);

    for (bool opd : {false, true}) {
        const ClassificationRates none = ReadClassificationRates("X", opd);
        EXPECT_EQ(none.Procedures + none.Medicines + none.Supplies + none.Room, 0);
    }
    ReadClassificationRates("C1' OR '1'='1", false);
    EXPECT_EQ(db.takeStatements().last(),
              "SELECT * FROM MSS..tbMSSClassification where Type = 'C1'' OR ''1''=''1'");
    EXPECT_EQ(ReadClassificationRates("C1' OR '1'='1", false).Procedures, 0);

    EXPECT_TRUE(IsOutPatientRoom("OPD"));
    EXPECT_FALSE(IsOutPatientRoom("opd"));
    EXPECT_FALSE(IsOutPatientRoom("OPD "));
    EXPECT_FALSE(IsOutPatientRoom("101"));
}

TEST(ClassificationScheme, ANullRateFailsInsteadOfGivingNoDiscount) {
    test::SmallDatabase db(kScheme);
    try {
        ReadClassificationRates("B", false);
        FAIL() << "a null rate was read";
    } catch (const db::Failure& f) {
        EXPECT_EQ(f.Number, db::errnum::InvalidUseOfNull);
    }
    // The out-patient rates of the same row are all there.
    EXPECT_DOUBLE_EQ(ReadClassificationRates("B", true).Medicines, 0.15);
}

}  // namespace
