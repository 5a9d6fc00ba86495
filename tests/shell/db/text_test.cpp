#include "shell/db/error.h"
#include "failure.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

#include <gtest/gtest.h>

using namespace mss;
using namespace mss::text;

TEST(TextHelpers, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  Santos  "), "Santos");
    EXPECT_EQ(Trim("\tSantos\n"), "\tSantos\n");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(LTrim("  a b  "), "a b  ");
    EXPECT_EQ(RTrim("  a b  "), "  a b");
}

TEST(TextHelpers, NumericTexts) {
    for (const char* yes : {"0", "12", " 12 ", "-3.5", "+4", ".5", "5.", "1,234,567.25", "1e3", "2.5E-2"})
        EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", " ", ".", "-", "abc", "12a", "1,2", "1,23,456", "1.2.3", "e5", "--1", "1 2"})
        EXPECT_FALSE(IsNumeric(no)) << no;
    EXPECT_DOUBLE_EQ(Val("1,234.5"), 1234.5);
    EXPECT_DOUBLE_EQ(Val("abc"), 0.0);
}

TEST(TextHelpers, PlainDecimalText) {
    EXPECT_EQ(NumberText(1500), "1500");
    EXPECT_EQ(NumberText(1500.5), "1500.5");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(-12.25), "-12.25");
    EXPECT_EQ(NumberText(123456789012345678.0), "123456789012346000");
    EXPECT_EQ(NumberText(0.000001), "0.000001");
    EXPECT_EQ(NumberText(1.0 / 3.0), "0.333333333333333");
}

TEST(TextHelpers, AmountFormat) {
    EXPECT_EQ(AmountText(0), "0.00");
    EXPECT_EQ(AmountText(1234567.891), "1,234,567.89");
    EXPECT_EQ(AmountText(999.995), "1,000.00");
    EXPECT_EQ(AmountText(-1500), "-1,500.00");
    EXPECT_EQ(AmountText(12345678901.5), "12,345,678,901.50");
}

TEST(TextHelpers, DateForms) {
    const QDate d(2026, 3, 7);
    EXPECT_EQ(DateMDY(d), "03/07/2026");
    EXPECT_EQ(DateISO(d), "2026-03-07");
    EXPECT_EQ(ShortDate(d), "3/7/2026");
    EXPECT_EQ(GeneralDate(QDateTime(d, QTime(0, 0))), "3/7/2026");
    EXPECT_EQ(GeneralDate(QDateTime(d, QTime(14, 5, 9))), "3/7/2026 2:05:09 PM");
    EXPECT_EQ(GeneralDate(QDateTime(d, QTime(0, 30))), "3/7/2026 12:30:00 AM");
    EXPECT_EQ(ParseDateTime("03/07/2026").date(), d);
    EXPECT_EQ(ParseDateTime("3/7/2026 2:05:09 PM"), QDateTime(d, QTime(14, 5, 9)));
    EXPECT_EQ(ParseDateTime("2026-03-07 14:05:09"), QDateTime(d, QTime(14, 5, 9)));
    EXPECT_FALSE(ParseDateTime("02/30/2026").isValid());
    EXPECT_FALSE(ParseDateTime("13/01/2026").isValid());
    EXPECT_FALSE(ParseDateTime("yesterday").isValid());
}

TEST(TextHelpers, VariantTextAndNullRules) {
    EXPECT_EQ(VariantText(QVariant()), "");
    EXPECT_EQ(VariantText(QString("")), "");
    EXPECT_EQ(VariantText(2500.0), "2500");
    EXPECT_EQ(VariantText(qlonglong(42)), "42");
    EXPECT_EQ(VariantText(true), "True");
    EXPECT_EQ(AsText(QString("")), "");
    try {
        AsText(QVariant());
        FAIL() << "a null read as text must fail";
    } catch (const db::Failure& f) {
        EXPECT_EQ(f.Number, 94);
        EXPECT_EQ(f.Description, "Invalid use of Null");
    }
    EXPECT_FAILURE(AsNumber(QVariant()), db::errnum::InvalidUseOfNull);
    EXPECT_FAILURE(AsDate(QVariant()), db::errnum::InvalidUseOfNull);
    EXPECT_FAILURE(AsBool(QVariant()), db::errnum::InvalidUseOfNull);
    EXPECT_DOUBLE_EQ(AsNumber(QString("12.5")), 12.5);
    EXPECT_FAILURE(AsNumber(QString("twelve")), db::errnum::TypeMismatch);
    EXPECT_EQ(AsDate(QString("12/09/2026")).date(), QDate(2026, 12, 9));
}

TEST(TextHelpers, TwipsToPixels) {
    EXPECT_EQ(TwipsToPixels(1440), 96);
    EXPECT_EQ(TwipsToPixels(0), 0);
    EXPECT_EQ(TwipsToPixels(1000), 67);
}

TEST(StatementBuilder, ValuesLandBetweenApostrophesDoubled) {
    using db::Sql;
    const QString name = "O'Brien";
    EXPECT_EQ(QString(Sql("MSS..sp_MSS_UpdateMSSNumber '").val("123").lit("','").val(name).lit("'")),
              "MSS..sp_MSS_UpdateMSSNumber '123','O''Brien'");
    EXPECT_EQ(Sql::call("MSS..sp_MSS_LoadInPatient", {"", "DELA CRUZ", "x'; DROP TABLE t; --"}, "', '"),
              "MSS..sp_MSS_LoadInPatient '', 'DELA CRUZ', 'x''; DROP TABLE t; --'");
    EXPECT_EQ(Sql::call("MSS..sp_MSS_LoadReferralNoticeCount", {}), "MSS..sp_MSS_LoadReferralNoticeCount");
    EXPECT_EQ(QString(Sql("Billing..sp_X '").val("5").lit("',").num(QString("4")).lit(",").num(1LL)),
              "Billing..sp_X '5',4,1");
    EXPECT_EQ(QString(Sql("x ").num(1500.5)), "x 1500.5");
    EXPECT_FAILURE(Sql("x ").num(QString("1; DELETE")), db::errnum::TypeMismatch);
}
