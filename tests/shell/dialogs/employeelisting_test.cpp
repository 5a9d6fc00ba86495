#include "promptdouble.h"
#include "shell/db/text.h"
#include "shell/dialogs/frmemployeelisting.h"
#include "shell/dialogs/workername.h"
#include "testhospital.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace mss;
using dialogs::frmEmployeeListing;

namespace {

// A user's double-click: the first click, then the second that the system reports as a double-click.
void userDoubleClick(QWidget* w, const QPoint& at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
}

template <typename T>
T* control(QWidget& form, const char* name) {
    T* w = form.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QStringList column(QTableWidget* grid, int c) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r) out << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
    return out;
}

// Opens the lookup as the screens do and leaves it showing.
class WorkerLookup : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        grid = control<QTableWidget>(form, "GridListWorkers");
        search = control<QLineEdit>(form, "txtSearch");
        count = control<QLineEdit>(form, "txtRecCount");
    }

    void doubleClickRow(int row) {
        QTableWidgetItem* item = grid->item(row, 2);
        ASSERT_NE(item, nullptr);
        userDoubleClick(grid->viewport(), grid->visualItemRect(item).center());
    }

    void clickHeader() {
        QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    }

    test::TestHospital hospital;
    test::ScriptedPrompts prompts;
    frmEmployeeListing form;
    QTableWidget* grid = nullptr;
    QLineEdit* search = nullptr;
    QLineEdit* count = nullptr;
};

const QStringList kAllWorkers = {"0001", "0002", "0003", "0004", "0005"};

TEST_F(WorkerLookup, OpensWithEveryWorkerOfTheDepartment) {
    EXPECT_EQ(form.windowTitle(), "Medical Social Service");
    EXPECT_EQ(control<QLabel>(form, "lblSearch")->text(), "Search Text :");
    EXPECT_EQ(control<QLabel>(form, "lblListOfEmployees")->text(), "List of MSS Employees");
    EXPECT_EQ(control<QLabel>(form, "lblRecCount")->text(), "No. of Records Listed :");
    EXPECT_NE(form.findChild<QToolButton*>("btnSearch"), nullptr);
    EXPECT_EQ(control<QPushButton>(form, "cmdSelect")->text(), "&Select");
    EXPECT_EQ(control<QPushButton>(form, "cmdClose")->text(), "&Close");

    EXPECT_EQ(hospital.takeStatements(), QStringList{"MSS..sp_MSS_GetEmployees ''"});
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), " ");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), " EmployeeID ");
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), " Employee Name ");
    EXPECT_EQ(grid->columnWidth(0), text::TwipsToPixels(100));
    EXPECT_EQ(grid->columnWidth(1), text::TwipsToPixels(1100));
    EXPECT_EQ(grid->columnWidth(2), text::TwipsToPixels(3000));

    // The administrative aide (0006) is not a social worker and is not offered.
    EXPECT_EQ(column(grid, 1), kAllWorkers);
    EXPECT_EQ(column(grid, 2).first(), "BUENAFLOR, CECILIA RAMOS");
    EXPECT_EQ(count->text(), "1 of 5");
}

TEST_F(WorkerLookup, EachKeySearchesWithTheTextBeforeIt) {
    hospital.takeStatements();
    QTest::keyClicks(search, "MA");
    EXPECT_EQ(search->text(), "MA");
    EXPECT_EQ(hospital.takeStatements(),
              (QStringList{"MSS..sp_MSS_GetEmployees ''", "MSS..sp_MSS_GetEmployees 'M'"}));
    EXPECT_EQ(column(grid, 1), QStringList{"0002"});
    EXPECT_EQ(count->text(), "1 of 1");

    // Enter brings the list up to date with what is in the box.
    QTest::keyClick(search, Qt::Key_Backspace);
    QTest::keyClick(search, Qt::Key_Backspace);
    EXPECT_EQ(hospital.takeStatements(),
              (QStringList{"MSS..sp_MSS_GetEmployees 'MA'", "MSS..sp_MSS_GetEmployees 'M'"}));
    EXPECT_EQ(column(grid, 1), QStringList{"0002"});
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(hospital.takeStatements(), QStringList{"MSS..sp_MSS_GetEmployees ''"});
    EXPECT_EQ(column(grid, 1), kAllWorkers);
    EXPECT_TRUE(form.isVisible());

    // A key that types nothing does not search; the search button does, with the text as typed.
    search->setText(" TAB");
    QTest::keyClick(search, Qt::Key_Left);
    EXPECT_TRUE(hospital.takeStatements().isEmpty());
    QTest::mouseClick(control<QToolButton>(form, "btnSearch"), Qt::LeftButton);
    EXPECT_EQ(hospital.takeStatements(), QStringList{"MSS..sp_MSS_GetEmployees ' TAB'"});
}

TEST_F(WorkerLookup, ASearchWithoutRowsKeepsTheListShown) {
    QTest::keyClicks(search, "VILX!");
    EXPECT_EQ(column(grid, 1), QStringList{"0005"});
    EXPECT_EQ(count->text(), "1 of 0");
}

TEST_F(WorkerLookup, AnApostropheTypedIsSentAsText) {
    hospital.takeStatements();
    QTest::keyClicks(search, "O'");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(hospital.takeStatements().last(), "MSS..sp_MSS_GetEmployees 'O'''");
    EXPECT_EQ(column(grid, 1), kAllWorkers);
}

TEST_F(WorkerLookup, SelectTakesTheCurrentRowsCode) {
    QTest::mouseClick(control<QPushButton>(form, "cmdSelect"), Qt::LeftButton);
    EXPECT_EQ(form.WorkerCode(), "0001");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);

    // Shown again it starts over, and a double-click picks the row clicked.
    form.show();
    EXPECT_EQ(count->text(), "1 of 5");
    doubleClickRow(2);
    EXPECT_EQ(form.WorkerCode(), "0003");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.property("WorkerCode").toString(), "0003");
}

TEST_F(WorkerLookup, NothingIsSelectedOnTheHeaderRow) {
    doubleClickRow(3);
    ASSERT_EQ(form.WorkerCode(), "0004");
    form.show();

    clickHeader();
    EXPECT_EQ(form.CurrentGridRow(), 0);
    QTest::mouseClick(control<QPushButton>(form, "cmdSelect"), Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    QHeaderView* header = grid->horizontalHeader();
    userDoubleClick(header->viewport(), QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.WorkerCode(), "0004");

    // Close leaves the code of the last choice.
    QTest::mouseClick(control<QPushButton>(form, "cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(form.WorkerCode(), "0004");
}

TEST_F(WorkerLookup, CallersShowItModallyAndReadTheCodeAfterwards) {
    frmEmployeeListing lookup;
    prompts.expectDialog([this](QDialog& d) {
        d.show();
        auto* g = d.findChild<QTableWidget*>("GridListWorkers");
        auto* s = d.findChild<QLineEdit*>("txtSearch");
        QTest::keyClicks(s, "TAB");
        QTest::keyClick(s, Qt::Key_Return);
        EXPECT_EQ(column(g, 1), QStringList{"0004"});
        QTest::mouseClick(d.findChild<QPushButton*>("cmdSelect"), Qt::LeftButton);
        return d.result();
    });
    EXPECT_EQ(ui::ShowModal(lookup), QDialog::Accepted);
    EXPECT_EQ(lookup.WorkerCode(), "0004");

    hospital.takeStatements();
    const auto name = dialogs::LookUpWorkerName(lookup.WorkerCode());
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->EmployeeName, "ARNOLD S. TABUENA");
    EXPECT_EQ(name->LicenseNumber, "SW-0045678");
    EXPECT_EQ(hospital.takeStatements(), QStringList{"MSS..sp_MSS_GetEmployeeName '0004'"});
}

TEST(WorkerName, AWorkerNoLongerThereIsReported) {
    test::TestHospital hospital;
    test::ScriptedPrompts prompts;
    prompts.expect("Employee No Longer Exists.");
    hospital.connection().Execute("UPDATE MSS..tbMSSEmployee SET IsActive = 0 WHERE EmployeeCode = '0003'");
    hospital.takeStatements();
    EXPECT_FALSE(dialogs::LookUpWorkerName("0003").has_value());
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(prompts.shown()[0].title, "MESSAGE");
    EXPECT_EQ(hospital.takeStatements(), QStringList{"MSS..sp_MSS_GetEmployeeName '0003'"});

    prompts.expect("Employee No Longer Exists.");
    EXPECT_FALSE(dialogs::LookUpWorkerName("x' OR '1'='1").has_value());
    EXPECT_EQ(hospital.takeStatements(), QStringList{"MSS..sp_MSS_GetEmployeeName 'x'' OR ''1''=''1'"});
}

}  // namespace
