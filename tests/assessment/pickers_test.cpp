#include "assessment/frmsearchactivity.h"
#include "assessment/frmsearchservice.h"
#include "assessment/pickcodes.h"
#include "promptdouble.h"
#include "testhospital.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace mss;
using namespace mss::assessment;

namespace {

// A user's double-click: the first click, then the second that the system reports as a double-click.
void userDoubleClick(QWidget* w, const QPoint& at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
}

QStringList children(const QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i) out << CataloguePicker::KeyOf(node->child(i));
    return out;
}

QTreeWidgetItem* node(QTreeWidget* tree, const QString& key) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (CataloguePicker::KeyOf(*it) == key) return *it;
    ADD_FAILURE() << "no node " << key.toStdString();
    return nullptr;
}

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QString item(const QString& description, const QString& code, int padding = kPickerPadding) {
    return description + QString(padding, ' ') + code;
}

QStringList calls(const QString& procedure, const QStringList& codes) {
    QStringList out;
    for (const QString& c : codes) out << "MSS.." + procedure + " '" + c + "'";
    return out;
}

const QStringList kServiceBranches = {"1.6",  "1.6.1", "1.7",  "1.9",  "1.10", "1.10.1", "1.11",
                                      "1.13", "1.19",  "1.22", "1.23", "1.25", "1.26"};
const QStringList kActivityBranches = {"1.2", "1.2.3", "1.3", "1.3.2", "1.3.5", "1.4",  "1.5",
                                       "1.6", "1.7",   "1.8", "1.8.1", "1.8.2", "1.8.3"};

// A picker opened by a caller that hands it a code list.
template <typename Picker>
class PickerTest : public ::testing::Test {
protected:
    void open(const QString& codes) {
        picker.SetResultCode(codes);
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
        tree = picker.template findChild<QTreeWidget*>("tvServices");
        ok = picker.template findChild<QPushButton*>("cmdOK");
        cancel = picker.template findChild<QPushButton*>("cmdCancel");
        ASSERT_TRUE(tree && ok && cancel);
    }
    void doubleClick(const QString& key) {
        QTreeWidgetItem* n = node(tree, key);
        ASSERT_NE(n, nullptr);
        tree->scrollToItem(n);
        userDoubleClick(tree->viewport(), tree->visualItemRect(n).center());
    }

    test::TestHospital hospital;
    test::ScriptedPrompts prompts;
    Picker picker;
    QTreeWidget* tree = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

using ServicePicker = PickerTest<frmSearchService>;
using ActivityPicker = PickerTest<frmSearchActivity>;

TEST_F(ServicePicker, ShowsItsControls) {
    open("");
    EXPECT_EQ(picker.windowTitle(), "Select Service");
    EXPECT_EQ(picker.findChild<QLabel*>("lblHeading")->text(), "Medical Social Services");
    EXPECT_EQ(picker.findChild<QGroupBox*>("fraSelected")->title(), "Selected Services");
    EXPECT_EQ(picker.findChild<QLabel*>("lblRemoveHint")->text(), "Double-click item to remove selected item.");
    EXPECT_NE(picker.findChild<QListWidget*>("lstServices"), nullptr);
    EXPECT_EQ(picker.findChild<QGroupBox*>("fraSearchService")->title(), "Search Service");
    EXPECT_NE(picker.findChild<QLineEdit*>("txtService"), nullptr);
    EXPECT_EQ(picker.findChild<QPushButton*>("cmdSearchService")->text(), "...");
    EXPECT_EQ(ok->text(), "&OK");
    EXPECT_EQ(cancel->text(), "&Cancel");
}

TEST_F(ServicePicker, LoadsTheTopLevelTheFirstBranchAndTheBranchesItOpens) {
    open("1.1|1.6.1|9.9|");
    QStringList expected = calls("sp_MSS_GetService", QStringList{"0", "1.1"} + kServiceBranches);
    for (const char* code : {"1.1", "1.6.1", "9.9"})
        expected << QString("select * from MSS..tbMSSServiceCategory WHERE CODE = '%1'").arg(code);
    EXPECT_EQ(hospital.takeStatements(), expected);

    ASSERT_EQ(tree->topLevelItemCount(), 26);
    EXPECT_EQ(CataloguePicker::KeyOf(tree->topLevelItem(0)), "A1.1");
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "PRE-ADMISSION PLANNING");
    EXPECT_EQ(children(tree->topLevelItem(0)), (QStringList{"A1.1.1", "A1.1.2"}));
    EXPECT_FALSE(tree->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(node(tree, "A1.26")->isExpanded());
    EXPECT_TRUE(node(tree, "A1.6")->isExpanded());
    EXPECT_EQ(children(node(tree, "A1.6.1")), (QStringList{"A1.6.1.1", "A1.6.1.2"}));
    EXPECT_TRUE(node(tree, "A1.6.1")->isExpanded());
    EXPECT_EQ(children(node(tree, "A1.2")), QStringList{});

    // The code that the catalogue does not know is dropped.
    EXPECT_EQ(texts(picker.findChild<QListWidget*>("lstServices")),
              (QStringList{item("PRE-ADMISSION PLANNING", "1.1"), item("DISCOUNT ON HOSPITAL BILL", "1.6.1")}));
}

TEST_F(ServicePicker, DoubleClickOpensOnceAndAddsOnce) {
    open("");
    hospital.takeStatements();
    auto* chosen = picker.findChild<QListWidget*>("lstServices");

    doubleClick("A1.2");
    EXPECT_EQ(hospital.takeStatements(), calls("sp_MSS_GetService", {"1.2"}));
    EXPECT_EQ(picker.ServiceCode(), "1.2");
    EXPECT_EQ(picker.Service(), "INTAKE INTERVIEW");
    EXPECT_EQ(texts(chosen), QStringList{item("INTAKE INTERVIEW", "1.2")});

    // An open branch closes and is not loaded again; the item is there already.
    QTreeWidgetItem* finance = node(tree, "A1.6");
    prompts.expect("Item is already added in the list.");
    doubleClick("A1.6");
    EXPECT_FALSE(finance->isExpanded());
    doubleClick("A1.6");
    EXPECT_TRUE(finance->isExpanded());
    EXPECT_EQ(children(finance), (QStringList{"A1.6.1", "A1.6.2", "A1.6.3"}));
    EXPECT_TRUE(hospital.takeStatements().isEmpty());
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].icon, ui::Icon::Information);
    EXPECT_EQ(prompts.shown()[0].title, "Medical Social Service");

    // A closed branch loaded at opening opens without asking again; a leaf can be chosen too.
    doubleClick("A1.1");
    EXPECT_TRUE(node(tree, "A1.1")->isExpanded());
    doubleClick("A1.1.2");
    EXPECT_EQ(hospital.takeStatements(), calls("sp_MSS_GetService", {"1.1.2"}));
    doubleClick("A1.10.1.2");
    EXPECT_EQ(picker.Service(), "OUTSIDE PHARMACY");
    EXPECT_EQ(texts(chosen), (QStringList{item("INTAKE INTERVIEW", "1.2"), item("FINANCIAL ASSISTANCE", "1.6"),
                                          item("PRE-ADMISSION PLANNING", "1.1"),
                                          item("ESTIMATE OF HOSPITAL EXPENSES", "1.1.2"),
                                          item("OUTSIDE PHARMACY", "1.10.1.2")}));
    EXPECT_EQ(prompts.shown().size(), 1);
}

TEST_F(ServicePicker, DoubleClickRemovesAChosenItemAndOkReturnsTheList) {
    open("1.1|1.6.1|1.22.1|");
    auto* chosen = picker.findChild<QListWidget*>("lstServices");
    ASSERT_EQ(chosen->count(), 3);
    QTest::mouseClick(chosen->viewport(), Qt::LeftButton, {}, chosen->visualItemRect(chosen->item(1)).center());
    EXPECT_EQ(chosen->count(), 3);
    userDoubleClick(chosen->viewport(), chosen->visualItemRect(chosen->item(1)).center());
    EXPECT_EQ(texts(chosen), (QStringList{item("PRE-ADMISSION PLANNING", "1.1"), item("CDF ALLOCATION", "1.22.1")}));
    doubleClick("A1.26.2");
    EXPECT_FALSE(picker.Selected());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(picker.Selected());
    EXPECT_EQ(picker.ResultCode(), "1.1|1.22.1|1.26.2|");
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
}

TEST_F(ServicePicker, CancelLeavesTheCallersList) {
    open("1.1|1.6.1|");
    doubleClick("A1.2");
    auto* chosen = picker.findChild<QListWidget*>("lstServices");
    userDoubleClick(chosen->viewport(), chosen->visualItemRect(chosen->item(0)).center());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_FALSE(picker.Selected());
    EXPECT_EQ(picker.ResultCode(), "1.1|1.6.1|");
}

TEST_F(ActivityPicker, HasItsOwnCatalogueCaptionAndSingleClickRemoval) {
    open("1.8.2|1.1|");
    EXPECT_EQ(picker.windowTitle(), "Servies");
    EXPECT_EQ(picker.findChild<QGroupBox*>("fraSelected")->title(), "Selected Services");
    EXPECT_EQ(picker.findChild<QLabel*>("lblRemoveHint")->text(), "Double-click item to remove selected item.");
    EXPECT_EQ(picker.findChild<QLineEdit*>("txtService"), nullptr);
    QStringList expected = calls("sp_MSS_GetActivity", QStringList{"0", "1.1"} + kActivityBranches);
    expected << "select * from MSS..tbMSSActivity WHERE CODE = '1.8.2'"
             << "select * from MSS..tbMSSActivity WHERE CODE = '1.1'";
    EXPECT_EQ(hospital.takeStatements(), expected);
    EXPECT_EQ(tree->topLevelItemCount(), 8);
    EXPECT_TRUE(node(tree, "A1.8")->isExpanded());
    EXPECT_EQ(children(node(tree, "A1.8.3")), (QStringList{"A1.8.3.1", "A1.8.3.2"}));

    auto* chosen = picker.findChild<QListWidget*>("lstactivity");
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(texts(chosen), (QStringList{item("REPORT WRITING", "1.8.2"), item("CASE FINDING", "1.1")}));
    QTest::mouseClick(chosen->viewport(), Qt::LeftButton, {}, chosen->visualItemRect(chosen->item(0)).center());
    EXPECT_EQ(texts(chosen), QStringList{item("CASE FINDING", "1.1")});

    prompts.expect("Item is already added in the list.");
    doubleClick("A1.1");
    doubleClick("A1.3.5.2");
    EXPECT_EQ(picker.ActivityCode(), "1.3.5.2");
    EXPECT_EQ(picker.Activity(), "FOR SPONSORSHIP");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(picker.ResultCode(), "1.1|1.3.5.2|");
    EXPECT_TRUE(picker.Selected());
}

// The assessment screen's buttons: the shown list goes in, the choice comes back.
TEST(PickCodes, TheShownListGoesInAndTheChoiceComesBack) {
    test::TestHospital hospital;
    test::ScriptedPrompts prompts;
    QListWidget shown;
    QString kept = "1.1|1.6.1|";
    RebuildList(shown, Catalogue::Service, kept, kAssessmentPadding);

    prompts.expectDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select Service");
        d.show();
        auto* chosen = d.findChild<QListWidget*>("lstServices");
        EXPECT_EQ(CodeListOf(*chosen), "1.1|1.6.1|");
        userDoubleClick(chosen->viewport(), chosen->visualItemRect(chosen->item(0)).center());
        QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        return d.result();
    });
    EXPECT_TRUE(PickCodes(Catalogue::Service, shown, kept));
    EXPECT_EQ(kept, "1.6.1|");
    EXPECT_EQ(texts(&shown), QStringList{item("DISCOUNT ON HOSPITAL BILL", "1.6.1", kAssessmentPadding)});

    QListWidget activities;
    QString keptActivities = "1.2|";
    RebuildList(activities, Catalogue::Activity, keptActivities, kAssessmentPadding);
    prompts.expectDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Servies");
        d.show();
        auto* chosen = d.findChild<QListWidget*>("lstactivity");
        QTest::mouseClick(chosen->viewport(), Qt::LeftButton, {}, chosen->visualItemRect(chosen->item(0)).center());
        EXPECT_EQ(chosen->count(), 0);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        return d.result();
    });
    EXPECT_FALSE(PickCodes(Catalogue::Activity, activities, keptActivities));
    EXPECT_EQ(keptActivities, "1.2|");
    EXPECT_EQ(texts(&activities), QStringList{item("INTERVIEW", "1.2", kAssessmentPadding)});
}

}  // namespace
