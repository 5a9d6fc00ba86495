#include "hospitaldb/translator.h"
#include "hospitaldb/engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>

using namespace hospitaldb;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A schema of a few tables, so translation can be checked without a file.
SchemaInfo fakeSchema() {
    static const QHash<QString, QHash<QString, QString>> tables{
        {"mss__tbmssactive", {{"code", "TEXT"}, {"casestatus", "TEXT"}}},
        {"patient_data__tbmaster", {{"hospnum", "VARCHAR(10)"}, {"mssdiscountexpiry", "DATETIME"}, {"visits", "INTEGER"}}},
        {"build_file__tbcomssseverityindex", {{"id", "INTEGER"}, {"type", "TEXT"}}},
        {"billing__tbbilldailybill", {{"revenueid", "TEXT"}, {"refnum", "TEXT"}, {"amount", "MONEY"}}},
    };
    return {[](const QString& t) { return tables.contains(t.toLower()); },
            [](const QString& t, const QString& c) { return tables.value(t.toLower()).value(c.toLower()); }};
}

QString tr(const QString& sql, const QString& db = "MSS") { return translate(tokenize(sql), fakeSchema(), db); }

TEST(HdbTokenize, LiteralsBecomePlaceholdersOfOneShape) {
    const Tokens a = tokenize("select * from t where a = 'x''y' and b = N'z'  -- note\n and c = 5");
    const Tokens b = tokenize("select *  from t where a = 'other' and b = N''   and c = 5");
    EXPECT_EQ(a.shape, b.shape);
    ASSERT_EQ(a.literals.size(), 2);
    EXPECT_EQ(a.literals[0], "x'y");
    EXPECT_EQ(a.literals[1], "z");
    EXPECT_NE(tokenize("select 1 from t where c = 6").shape, tokenize("select 1 from t where c = 5").shape);
    EXPECT_THROW(tokenize("select 'open"), Failure);
    EXPECT_EQ(tokenize("select '/* -- ; [x]'").literals[0], "/* -- ; [x]");
}

// The cache-hit scan must key a text exactly as the full tokenizer does, also when it
// reuses one buffer from statement to statement.
TEST(HdbTokenize, QuickScanGivesTheTokenizersShapeAndLiterals) {
    const QStringList texts{
        "MSS..sp_MSS_LoadInPatient '', 'BAUTISTA','','',''",
        "EXEC  Billing..sp_X 'a''b',-12, 3.5 ,NULL",
        "select [Last Name], \"x\"\"y\" from t where a=N'n' and nb = 'q' and b-1>2/3 -- tail",
        "select a/*c*/from t where x = 'y'\n\t and z <> 'w'",
        "select count(*) from tbN where Name='N' and n=1",
        "  select 1  ",
    };
    Tokens reused;
    for (const QString& text : texts) {
        const Tokens full = tokenize(text, true);
        reused.shape.clear();
        reused.literals.clear();
        ASSERT_TRUE(quickShape(text, reused)) << text.toStdString();
        EXPECT_EQ(reused.shape, full.shape) << text.toStdString();
        EXPECT_EQ(reused.literals, full.literals) << text.toStdString();
    }
    // Texts the quick scan leaves to the tokenizer leave no half-built shape behind.
    for (const QString& text : {QStringLiteral("select 'open"), QStringLiteral("select \u00e9 from t"),
                                QStringLiteral("select [open from t")}) {
        reused.shape = QStringLiteral("x");
        reused.literals.clear();
        EXPECT_FALSE(quickShape(text, reused)) << text.toStdString();
        EXPECT_EQ(reused.shape, "x");
    }
}

// The quick scan reads sixteen characters at a time: random texts put blanks, quotes,
// comments, N-literals and letters past ASCII at every offset of those blocks. Wherever the
// scan takes a text it must agree with the tokenizer, and it must refuse what the tokenizer
// refuses.
TEST(HdbTokenize, QuickScanAgreesWithTheTokenizerOnRandomTexts) {
    const QStringList pieces{
        "select", "HospNum", "MSS..tbMaster", "N", "n", "x", "=", ",", "(", ")", "*", "+", "-", "/", ".",
        " ", " ", "  ", "\t", "\n", "\r\n", "'a'", "'it''s'", "''", "N'\u00f1'", "'--'", "'/*'", "'\u4e2d'",
        "--c\n", "/*c*/", "[a b]", "[x]]y]", "\"q\"", "~", "!", "0", "12.5",
    };
    // Each of these sends the text to the tokenizer (or is refused by it).
    const QStringList rare{"'", "/*", "[", "\u00e9", "\u00a0", "\u4e2d", "\u0100", "\u8000", "?", ":", "{", "\x7f", "\x01"};
    quint32 seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    QuickScan reused;
    int taken = 0;
    for (int round = 0; round < 4000; ++round) {
        QString text;
        const int count = 1 + int(next() % 30);
        for (int k = 0; k < count; ++k)
            text += next() % 60 == 0 ? rare[int(next() % rare.size())] : pieces[int(next() % pieces.size())];
        SCOPED_TRACE(text.toStdString());
        std::optional<Tokens> full;
        try {
            full = tokenize(text, true);
        } catch (const Failure&) {
        }
        if (!quickScan(text, reused)) continue;
        ++taken;
        ASSERT_TRUE(full.has_value()) << "the scan took a text the tokenizer refuses";
        ASSERT_EQ(reused.shape, full->shape);
        ASSERT_EQ(reused.literals.size(), full->literals.size());
        for (int k = 0; k < full->literals.size(); ++k) EXPECT_EQ(literalValue(text, reused.literals[k]), full->literals[k]);
    }
    EXPECT_GT(taken, 1000);  // the comparison is not vacuous
}

TEST(HdbParseCall, FormsAndRefusals) {
    Call c;
    ASSERT_TRUE(parseCall(tokenize("MSS..sp_MSS_SavePatientData'a','b'"), &c));
    EXPECT_EQ(c.database, "MSS");
    EXPECT_EQ(c.name, "sp_MSS_SavePatientData");
    EXPECT_EQ(c.args.size(), 2);
    ASSERT_TRUE(parseCall(tokenize("Billing..sp_x 'a','',4,1"), &c));
    EXPECT_EQ(c.written, "Billing..sp_x");
    ASSERT_EQ(c.args.size(), 4);
    EXPECT_EQ(c.args[1].toString(), "");
    EXPECT_TRUE(c.args[1].isValid());
    EXPECT_EQ(c.args[2].typeId(), QMetaType::LongLong);
    ASSERT_TRUE(parseCall(tokenize("sp_x 'a', -2.5"), &c));
    EXPECT_DOUBLE_EQ(c.args[1].toDouble(), -2.5);
    ASSERT_TRUE(parseCall(tokenize("MSS..sp_MSS_LoadDischargeNotice "), &c));
    EXPECT_TRUE(c.args.isEmpty());
    EXPECT_FALSE(parseCall(tokenize("SELECT 1"), &c));
    EXPECT_FALSE(parseCall(tokenize("update t set a = 1"), &c));
    EXPECT_FALSE(parseCall(tokenize("sp_x 'a',"), &c));
    EXPECT_FALSE(parseCall(tokenize("sp_x 'a' + 'b'"), &c));
}

TEST(HdbTranslate, TableNamesAreMangledWithTheirNameAsAlias) {
    EXPECT_THAT(tr("Select * from tbMSSActive where casestatus='x'").toStdString(),
                HasSubstr("MSS__tbMSSActive AS \"tbMSSActive\""));
    EXPECT_THAT(tr("SELECT * FROM Patient_Data..tbMaster m WHERE m.HospNum = 'x'").toStdString(),
                HasSubstr("PATIENT_DATA__tbMaster m"));
    EXPECT_THAT(tr("select * from tbMaster, MSS..tbMSSActive", "PATIENT_DATA").toStdString(),
                HasSubstr("PATIENT_DATA__tbMaster AS \"tbMaster\", MSS__tbMSSActive AS \"tbMSSActive\""));
    EXPECT_THAT(tr("DELETE  FROM BILLING..tbBillDailyBill WHERE revenueid = 'QF'").toStdString(),
                HasSubstr("DELETE FROM BILLING__tbBillDailyBill AS \"tbBillDailyBill\""));
    EXPECT_THAT(tr("select * from PATIENT_DATA.dbo.tbMaster").toStdString(), HasSubstr("PATIENT_DATA__tbMaster"));
    EXPECT_THAT(tr("select * from tbMSSActive with (nolock)").toStdString(), Not(HasSubstr("nolock")));
    try {
        tr("select * from Patient_Data..tbNothing");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 208);
        EXPECT_EQ(f.Description, "Invalid object name 'Patient_Data..tbNothing'.");
    }
}

TEST(HdbTranslate, PlusBecomesConcatenationOnlyForText) {
    EXPECT_THAT(tr("SELECT (cast(id as varchar(2)) + '. ' + isnull(type,'')) [Type] FROM build_File..tbcoMSSSeverityIndex").toStdString(),
                HasSubstr("(tsql_str(tbcoMSSSeverityIndex.id, 2, 0, 0, 0) || ?1) || ifnull(tbcoMSSSeverityIndex.type, ?2)"));
    EXPECT_THAT(tr("select Visits + 1 from PATIENT_DATA..tbMaster").toStdString(), HasSubstr("Visits + 1"));
    // A text beside a number becomes a number, as the server decides by type precedence.
    EXPECT_THAT(tr("select HospNum + Visits from PATIENT_DATA..tbMaster").toStdString(),
                HasSubstr("tsql_int(tbMaster.HospNum, 32, 0) + tbMaster.Visits"));
    EXPECT_THAT(tr("select d.id + d.id from build_File..tbcoMSSSeverityIndex d").toStdString(), Not(HasSubstr("||")));
    EXPECT_THAT(tr("select d.type + 'x' from build_File..tbcoMSSSeverityIndex d").toStdString(), HasSubstr("||"));
}

TEST(HdbTranslate, TopBracketsConvertAndDates) {
    EXPECT_THAT(tr("select top 5 * from tbMSSActive order by Code").toStdString(), HasSubstr("LIMIT 5"));
    EXPECT_THAT(tr("select top 5 * from tbMSSActive").toStdString(), Not(HasSubstr("top")));
    EXPECT_THAT(tr("SELECT isnull(Code,'') [Code] FROM MSS..tbMSSActive").toStdString(), HasSubstr("\"Code\""));
    EXPECT_THAT(tr("select CONVERT(VARCHAR(10), MssDiscountExpiry, 101) as x from PATIENT_DATA..tbMaster").toStdString(),
                HasSubstr("tsql_str(tbMaster.MssDiscountExpiry, 10, 4, 0, 101)"));
    // A date text beside a date column is read as the server reads a datetime.
    EXPECT_THAT(tr("select * from PATIENT_DATA..tbMaster where MssDiscountExpiry = '12/31/2024'").toStdString(),
                HasSubstr("= tsql_datetime(?1, 0, 0, 0)"));
    EXPECT_THAT(tr("update PATIENT_DATA..tbMaster set MssDiscountExpiry = '12/31/2024', HospNum = 'x'").toStdString(),
                HasSubstr("MssDiscountExpiry = tsql_datetime(?1, 0, 0, 0)"));
    EXPECT_THAT(tr("update PATIENT_DATA..tbMaster set HospNum = 'x'").toStdString(), Not(HasSubstr("tsql_datetime")));
    EXPECT_THAT(tr("insert into PATIENT_DATA..tbMaster (HospNum, MssDiscountExpiry) values ('a', '1/2/2003')").toStdString(),
                HasSubstr("?1, tsql_datetime(?2, 0, 0, 0)"));
    EXPECT_THAT(tr("update BILLING..tbBillDailyBill SET Amount = CAST('12.50' as Money) ").toStdString(),
                HasSubstr("tsql_money(?1, 0)"));
    EXPECT_THROW(tr("select * from tbMSSActive; drop table x"), Failure);
}

}  // namespace
