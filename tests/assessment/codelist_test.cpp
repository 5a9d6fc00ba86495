#include "assessment/codelist.h"
#include "smalldb.h"

#include <QListWidget>
#include <gtest/gtest.h>

using namespace mss;
using namespace mss::assessment;

namespace {

const QByteArray kCatalogues = R"(
CREATE TABLE MSS__tbMSSServiceCategory (Code TEXT COLLATE TSQL, Description TEXT COLLATE TSQL);
INSERT INTO MSS__tbMSSServiceCategory VALUES ('1.1', 'PRE-ADMISSION PLANNING'), ('1.6.1', 'DISCOUNT ON HOSPITAL BILL'),
  ('1.10.1.1.10', 'A CODE TOO LONG'), ('O''1', 'QUOTED');
CREATE TABLE MSS__tbMSSActivity (Code TEXT COLLATE TSQL, Description TEXT COLLATE TSQL);
INSERT INTO MSS__tbMSSActivity VALUES ('1.1', 'CASE FINDING'), ('1.8.2', 'REPORT WRITING');
)";

QStringList texts(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

TEST(CodeList, EveryPartButTheLastIsACode) {
    EXPECT_EQ(SplitCodeList("1.1|1.6.1|"), (QStringList{"1.1", "1.6.1"}));
    EXPECT_EQ(SplitCodeList("1.1|1.6.1"), QStringList{"1.1"});
    EXPECT_EQ(SplitCodeList(" 1.1 | 1.6 |"), (QStringList{"1.1", "1.6"}));
    EXPECT_TRUE(SplitCodeList("").isEmpty());
    EXPECT_TRUE(SplitCodeList("1.1").isEmpty());
}

TEST(CodeList, AnItemCarriesItsCodeInItsLastTenCharacters) {
    const QString item = ListItemText("DISCOUNT ON HOSPITAL BILL", "1.6.1", kAssessmentPadding);
    EXPECT_EQ(item, "DISCOUNT ON HOSPITAL BILL" + QString(150, ' ') + "1.6.1");
    EXPECT_EQ(ListItemCode(item), "1.6.1");
    EXPECT_EQ(ListItemCode(ListItemText("X", "1.10.1.1.1", kPickerPadding)), "1.10.1.1.1");
    // Eleven characters do not fit: the first one is lost.
    EXPECT_EQ(ListItemCode(ListItemText("X", "1.10.1.1.10", kPickerPadding)), ".10.1.1.10");
}

TEST(CodeList, ListsRebuildFromTheCatalogueAndGiveTheirCodesBack) {
    test::SmallDatabase db(kCatalogues);
    QListWidget services;
    services.addItem("left over");
    RebuildList(services, Catalogue::Service, "1.1|9.9|1.6.1|", kAssessmentPadding);
    EXPECT_EQ(texts(services), (QStringList{"PRE-ADMISSION PLANNING" + QString(150, ' ') + "1.1",
                                            "DISCOUNT ON HOSPITAL BILL" + QString(150, ' ') + "1.6.1"}));
    EXPECT_EQ(db.takeStatements(), (QStringList{"select * from MSS..tbMSSServiceCategory WHERE CODE = '1.1'",
                                                "select * from MSS..tbMSSServiceCategory WHERE CODE = '9.9'",
                                                "select * from MSS..tbMSSServiceCategory WHERE CODE = '1.6.1'"}));
    // The code missing from the catalogue is gone from the next save.
    EXPECT_EQ(CodeListOf(services), "1.1|1.6.1|");

    // Without the final "|" the last code is lost.
    RebuildList(services, Catalogue::Service, "1.6.1|1.1", kPickerPadding);
    EXPECT_EQ(texts(services), QStringList{"DISCOUNT ON HOSPITAL BILL" + QString(100, ' ') + "1.6.1"});
    RebuildList(services, Catalogue::Service, "", kPickerPadding);
    EXPECT_EQ(services.count(), 0);
    EXPECT_EQ(CodeListOf(services), "");

    QListWidget activities;
    RebuildList(activities, Catalogue::Activity, "1.8.2|1.6.1|", kAssessmentPadding);
    EXPECT_EQ(db.takeStatements().last(), "select * from MSS..tbMSSActivity WHERE CODE = '1.6.1'");
    EXPECT_EQ(CodeListOf(activities), "1.8.2|");
}

TEST(CodeList, OddCodesDoNotBreakTheStatementOrComeBackWhole) {
    test::SmallDatabase db(kCatalogues);
    QListWidget services;
    RebuildList(services, Catalogue::Service, "O'1|1.10.1.1.10|", kPickerPadding);
    const QStringList sent = db.takeStatements();
    EXPECT_EQ(sent.first(), "select * from MSS..tbMSSServiceCategory WHERE CODE = 'O''1'");
    ASSERT_EQ(services.count(), 2);
    EXPECT_EQ(CodeListOf(services), "O'1|.10.1.1.10|");
}

TEST(CodeList, RemovingACodeRemovesEveryItemOfIt) {
    QListWidget list;
    for (const char* code : {"1.1", "1.6", "1.1", "1.6.1"}) list.addItem(ListItemText("D", code, kAssessmentPadding));
    EXPECT_TRUE(ListHoldsCode(list, "1.6.1"));
    EXPECT_FALSE(ListHoldsCode(list, "1.6.2"));
    RemoveItemsWithCode(list, "1.1");
    EXPECT_EQ(CodeListOf(list), "1.6|1.6.1|");
    RemoveItemsWithCode(list, "1.6");
    EXPECT_EQ(CodeListOf(list), "1.6.1|");
}

}  // namespace
