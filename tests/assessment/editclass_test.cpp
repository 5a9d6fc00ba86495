#include "assessment/classhistoryqueries.h"
#include "assessment/frmeditclass.h"
#include "assessment/frmeditmssnumber.h"
#include "failure.h"
#include "hospitaldb/embedded.h"
#include "shell/db/text.h"
#include "startedprogram.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace mss;
using assessment::frmEditClass;
using assessment::frmEditMSSNumber;

namespace {

// The two maintenance screens, opened from the main window's menus by a logged-in worker.
class EditClassTest : public test::StartedProgram {
protected:
    // A numeric admission of a patient the department has classified.
    void chooseAdmission() {
        id_ = hospital_.scalar("SELECT TOP 1 p.IdNum FROM PATIENT_DATA..tbPatient2 p JOIN PATIENT_DATA..tbMaster m "
                               "ON m.HospNum = p.HospNum WHERE ISNULL(m.MSSClassification,'') <> '' "
                               "AND p.IdNum NOT LIKE 'T%' ORDER BY p.IdNum");
        hosp_ = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id_ + "'");
        Selection().HospNum = hosp_;
        Selection().IDNUM = id_;
        Selection().PatientName = hospital_.scalar("SELECT LastName + ', ' + FirstName FROM PATIENT_DATA..tbMaster "
                                                   "WHERE HospNum = '" + hosp_ + "'");
        Selection().MSSID = hospital_.scalar("SELECT MSSNum FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp_ + "'");
    }
    void setClass(const QString& letter) {
        hospital_.connection().Execute("UPDATE PATIENT_DATA..tbPatient2 SET PatientClass = '" + letter + "' WHERE IdNum = '" + id_ + "'");
    }
    void setExpiry(const QDate& d) {
        hospital_.connection().Execute("UPDATE PATIENT_DATA..tbMaster SET MSSDiscountExpiry = '" + text::DateMDY(d) +
                                       "' WHERE HospNum = '" + hosp_ + "'");
    }
    QString storedClass() {
        return hospital_.scalar("SELECT PatientClass FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id_ + "'");
    }
    // Opens "Edit Patient Classification" and lets `work` use the screen while it is up.
    int withEditClass(const std::function<void(frmEditClass&)>& work) {
        int result = -1;
        prompts_.expectDialog([&](QDialog& d) {
            auto* screen = qobject_cast<frmEditClass*>(&d);
            EXPECT_NE(screen, nullptr);
            if (!screen) return 0;
            d.show();
            // Keys such as F10 reach the screen only when it is the active window.
            QApplication::setActiveWindow(&d);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            work(*screen);
            result = d.result();
            return result;
        });
        choose("mnuEditPatClass");
        return result;
    }
    // Answers the rights prompt with a password.
    static std::function<int(QDialog&)> rights(const QString& typed) {
        return [typed](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Password");
            d.show();
            auto* box = d.findChild<QLineEdit*>("txtPassword");
            QTest::keyClicks(box, typed);
            QTest::keyClick(box, Qt::Key_Return);
            if (d.isVisible()) d.reject();
            return d.result();
        };
    }
    // Clicks a class option on its caption, where a worker clicks.
    static void pick(QRadioButton* option) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->iconSize().width() + 8, option->height() / 2));
    }
    static QStringList row(QTableWidget* grid, int r) {
        QStringList out;
        for (int c = 1; c < grid->columnCount(); ++c) out << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        return out;
    }

    QString id_, hosp_;
};

TEST_F(EditClassTest, PayIsRefusedWhileAClassificationIsInForceAndServiceNeverIs) {
    start();
    chooseAdmission();
    const QString classification = hospital_.scalar("SELECT MSSClassification FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp_ + "'");
    const QDate expiry = QDate::currentDate().addDays(40);
    setExpiry(expiry);
    setClass("S");
    statements();

    const QString refusal = "You cannot Change the classification to Service \n because the patient has an existing "
                            "classification of " + classification + "\n which will expire on " + text::DateMDY(expiry);
    prompts_.expect(refusal);
    int result = withEditClass([&](frmEditClass& s) {
        EXPECT_EQ(s.windowTitle(), "MSS");
        EXPECT_EQ(s.width(), text::TwipsToPixels(4815));
        EXPECT_FALSE(s.fraHistory->isVisible()) << "the history is out of sight at first";
        EXPECT_EQ(s.txtHospNo->text(), hosp_);
        EXPECT_EQ(s.txtIDNum->text(), id_);
        EXPECT_EQ(s.txtMSSno->text(), Selection().MSSID);
        EXPECT_EQ(s.txtName->text(), Selection().PatientName);
        EXPECT_TRUE(s.optClass_1->isChecked());
        EXPECT_FALSE(s.optClass_0->isChecked());
        pick(s.optClass_0);
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        EXPECT_TRUE(s.isVisible()) << "a refused save keeps the screen open";
        s.reject();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(prompts_.shown().size(), 1);
    EXPECT_EQ(prompts_.shown()[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(prompts_.shown()[0].title, "Message");
    EXPECT_EQ(storedClass(), "S");
    EXPECT_EQ(statements(),
              (QStringList{"SELECT left(isnull(PatientClass,''),1) [PatientClass] FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id_ + "'",
                           "Select isnull(MSSClassification,'') as MSSClassification,  CONVERT(VARCHAR(10), MssDiscountExpiry, 101) "
                           "as MssDiscountExpiry  From PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp_ + "'"}));

    // On the day of expiry the patient may go back to pay; the history records the switch.
    setExpiry(QDate::currentDate());
    auto switchesToPay = [&] {
        return hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSPatClassHistory WHERE IdNum = '" + id_ +
                               "' AND Class = 'P' AND UserID = '0001'");
    };
    const long before = switchesToPay();
    prompts_.expect("Record Updated");
    result = withEditClass([&](frmEditClass& s) {
        pick(s.optClass_0);
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted) << "a save closes the screen";
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Information);
    EXPECT_EQ(prompts_.shown().last().title, ui::applicationTitle());
    EXPECT_EQ(storedClass(), "P");
    EXPECT_EQ(statements().last(), "MSS..sp_MSS_UpdatePatientClass '" + id_ + "','P','0001'");
    EXPECT_EQ(switchesToPay(), before + 1);

    // Service is never refused, whatever the classification.
    setExpiry(QDate::currentDate().addYears(1));
    prompts_.expect("Record Updated");
    withEditClass([&](frmEditClass& s) {
        EXPECT_TRUE(s.optClass_0->isChecked());
        pick(s.optClass_1);
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
    });
    EXPECT_EQ(storedClass(), "S");
    EXPECT_EQ(statements().last(), "MSS..sp_MSS_UpdatePatientClass '" + id_ + "','S','0001'");
}

TEST_F(EditClassTest, AnUnknownClassSelectsNeitherAndAnOutPatientReadsItsRegistration) {
    start();
    chooseAdmission();
    setClass("X");
    statements();
    prompts_.expect("Please choose Pay or Service.");
    withEditClass([&](frmEditClass& s) {
        EXPECT_FALSE(s.optClass_0->isChecked());
        EXPECT_FALSE(s.optClass_1->isChecked());
        QTest::mouseClick(s.cmdSave, Qt::LeftButton);
        s.reject();
    });
    EXPECT_EQ(statements().size(), 1) << "nothing is sent without a class";
    EXPECT_EQ(storedClass(), "X");

    const QString opd = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbOutPatient WHERE PatientType LIKE 'S%' ORDER BY IdNum");
    Selection().IDNUM = " " + opd + " ";
    withEditClass([&](frmEditClass& s) {
        EXPECT_TRUE(s.optClass_1->isChecked());
        s.reject();
    });
    EXPECT_EQ(statements(), QStringList{"SELECT left(isnull(PatientType,''),1) [PatientClass] FROM PATIENT_DATA..tbOutPatient "
                                        "WHERE IdNum = '" + opd + "'"});
}

TEST_F(EditClassTest, ExpiryIsComparedAsADate) {
    using assessment::classhistory::PayRefused;
    const QDate december(2026, 12, 15);
    EXPECT_TRUE(PayRefused("C2", "01/10/2027", december)) << "January next year is the future";
    EXPECT_FALSE(PayRefused("C2", "12/15/2026", december));
    EXPECT_FALSE(PayRefused("C2", "11/30/2026", december));
    EXPECT_FALSE(PayRefused("", "01/10/2027", december)) << "no classification, nothing to keep";
    EXPECT_FALSE(PayRefused("C2", "", december)) << "a classification without an expiry gives no discount";
    EXPECT_FAILURE(PayRefused("C2", "soon", december), db::errnum::TypeMismatch);
}

// The history: shown beside the class, and a row removed only with rights and a reason.
TEST_F(EditClassTest, DeleteRecordRemovesTheChosenHistoryRowBehindRightsAndAReason) {
    start();
    chooseAdmission();
    auto& db = hospital_.connection();
    db.Execute("DELETE FROM MSS..tbMSSPatClassHistory WHERE IdNum = '" + id_ + "'");
    const QStringList rows[] = {{"01/05/2026 10:00", "P", "0003"}, {"01/06/2026 11:00", "S", "0004"}, {"01/07/2026 12:00", "P", "0003"}};
    for (const QStringList& r : rows)
        db.Execute("INSERT INTO MSS..tbMSSPatClassHistory (IdNum, TransDate, Class, UserID, UserName) VALUES ('" + id_ + "','" +
                   r[0] + "','" + r[1] + "','" + r[2] + "','WORKER " + r[2] + "')");
    auto remaining = [&] {
        return hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSPatClassHistory WHERE IdNum = '" + id_ + "'");
    };
    statements();

    withEditClass([&](frmEditClass& s) {
        QTableWidget* grid = s.grdClassHistory;
        QTest::mouseClick(s.cmdPrev, Qt::LeftButton);
        EXPECT_EQ(s.width(), text::TwipsToPixels(9870));
        EXPECT_TRUE(s.fraHistory->isVisible());
        EXPECT_EQ(statements().last(), "MSS..sp_MSS_GetPatClassHistory '" + id_ + "'");
        ASSERT_EQ(grid->rowCount(), 3);
        QStringList header;
        for (int c = 0; c < grid->columnCount(); ++c) header << grid->horizontalHeaderItem(c)->text();
        EXPECT_EQ(header, (QStringList{"", "Transdate", "Class", "UserID", "UserName"}));
        EXPECT_EQ(grid->columnWidth(1), text::TwipsToPixels(1800));
        EXPECT_EQ(row(grid, 0), (QStringList{"1/5/2026 10:00:00 AM", "P", "0003", "WORKER 0003"}));

        // F10 with no row chosen says so and removes nothing.
        grid->setFocus();
        prompts_.expect("Please select the class history record to delete.");
        QTest::keyClick(grid, Qt::Key_F10);
        EXPECT_EQ(remaining(), 3);

        // A reason of five characters is refused after the rights check.
        grid->selectRow(1);
        prompts_.expectDialog(rights("0001DEMO"));
        prompts_.expectInput(QString("oops "));
        prompts_.expect(assessment::classhistory::ShortReasonMessage());
        QTest::keyClick(grid, Qt::Key_F10);
        EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
        const test::ShownMessage asked = prompts_.shown().value(prompts_.shown().size() - 2);
        EXPECT_EQ(asked.text, "Enter Reason for deleting the Class History: ");
        EXPECT_EQ(asked.title, "Update Record");
        EXPECT_EQ(remaining(), 3);

        // A wrong password is no authority.
        prompts_.expect("Password not valid!");
        prompts_.expectDialog(rights("0001wrong"));
        prompts_.expect("Unauthorized User.");
        grid->selectRow(1);
        QTest::keyClick(&s, Qt::Key_F10);
        EXPECT_EQ(remaining(), 3);

        // The chosen (middle) row goes, not the last one.
        statements();
        grid->selectRow(1);
        prompts_.expectDialog(rights("0001demo"));
        prompts_.expectInput(QString("entered on the wrong admission"));
        prompts_.expect("Record Successfully deleted.");
        s.mnuDelete->trigger();
        EXPECT_EQ(statements(), (QStringList{"sp_MSS_SavePatClassHistory_Deletion '" + id_ +
                                                 "','S','entered on the wrong admission','1/6/2026 11:00:00 AM',"
                                                 "'1/6/2026 11:00:00 AM','0001'",
                                             "MSS..sp_MSS_GetPatClassHistory '" + id_ + "'"}));
        EXPECT_EQ(remaining(), 2);
        EXPECT_EQ(hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSPatClassHistory WHERE IdNum = '" + id_ + "' AND Class = 'S'"), 0);
        EXPECT_EQ(hospital_.scalar("SELECT Reason + '/' + DeletedBy FROM MSS..tbMSSPatClassHistoryDeleted WHERE IdNum = '" + id_ + "'"),
                  "entered on the wrong admission/0001");
        ASSERT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(row(grid, 1)[0], "1/7/2026 12:00:00 PM");
        EXPECT_TRUE(grid->selectionModel()->selectedRows().isEmpty());

        // A right click on a row chooses it and pops up the menu.
        const QRect cell = grid->visualRect(grid->model()->index(0, 2));
        QContextMenuEvent click(QContextMenuEvent::Mouse, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &click);
        EXPECT_TRUE(s.mnuFileDelete->isVisible());
        EXPECT_EQ(s.mnuFileDelete->title(), "File");
        EXPECT_EQ(grid->selectionModel()->selectedRows().value(0).row(), 0);
        s.mnuFileDelete->hide();

        // A failing removal is reported as such and the row stays.
        auto* embedded = dynamic_cast<hospitaldb::EmbeddedBackend*>(session().Connection()->backend());
        ASSERT_NE(embedded, nullptr);
        embedded->failMatching(QRegularExpression("Deletion"), 1205, "deadlock");
        prompts_.expectDialog(rights("0001demo"));
        prompts_.expectInput(QString("duplicate entry"));
        prompts_.expect("Error in saving/ deleting data.");
        s.mnuDelete->trigger();
        embedded->clearFaults();
        EXPECT_EQ(remaining(), 2);

        QTest::mouseClick(s.cmdBack, Qt::LeftButton);
        EXPECT_EQ(s.width(), text::TwipsToPixels(4815));
        s.reject();
    });
}

TEST_F(EditClassTest, AWorkerWithoutRightsCannotDeleteHistory) {
    start("0002");
    chooseAdmission();
    hospital_.connection().Execute("INSERT INTO MSS..tbMSSPatClassHistory (IdNum, TransDate, Class, UserID, UserName) VALUES ('" +
                                   id_ + "','02/01/2026 08:00','S','0002','X')");
    const long before = hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSPatClassHistory WHERE IdNum = '" + id_ + "'");
    withEditClass([&](frmEditClass& s) {
        QTest::mouseClick(s.cmdPrev, Qt::LeftButton);
        ASSERT_GT(s.grdClassHistory->rowCount(), 0);
        // A double-click pops the menu up too.
        const QRect cell = s.grdClassHistory->visualRect(s.grdClassHistory->model()->index(0, 1));
        QTest::mouseClick(s.grdClassHistory->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(s.grdClassHistory->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_TRUE(s.mnuFileDelete->isVisible());
        s.mnuFileDelete->hide();
        // The right password of a worker without the A right is still refused.
        prompts_.expect("Password not valid!");
        prompts_.expectDialog(rights("0002demo"));
        prompts_.expect("Unauthorized User.");
        s.mnuDelete->trigger();
        s.reject();
    });
    EXPECT_EQ(hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSPatClassHistory WHERE IdNum = '" + id_ + "'"), before);
}

TEST_F(EditClassTest, ANewMSSNumberIsStoredAndANumberOfAnotherPatientIsRefused) {
    start();
    chooseAdmission();
    const QString old = Selection().MSSID;
    const QString other = hospital_.scalar("SELECT TOP 1 MSSNum FROM PATIENT_DATA..tbMaster WHERE ISNULL(MSSNum,'') <> '' "
                                           "AND HospNum <> '" + hosp_ + "' ORDER BY HospNum");
    statements();
    prompts_.expectDialog([&](QDialog& d) {
        auto* s = qobject_cast<frmEditMSSNumber*>(&d);
        EXPECT_NE(s, nullptr);
        if (!s) return 0;
        d.show();
        EXPECT_EQ(s->windowTitle(), "Medical Social Service");
        EXPECT_EQ(s->fraNewMSSNo->title(), "Enter New MSS Number :");
        EXPECT_EQ(s->txtHospNo->text(), hosp_);
        EXPECT_EQ(s->txtName->text(), Selection().PatientName);
        EXPECT_EQ(s->txtMSSno->text(), old);

        QTest::keyClicks(s->txtNewMSSNo, " 2026-999001 ");
        prompts_.expect("Records Successfully Updated");
        QTest::mouseClick(s->cmdUpdate, Qt::LeftButton);
        EXPECT_EQ(prompts_.shown().last().title, "Message");
        EXPECT_TRUE(s->isVisible()) << "the screen stays open";
        EXPECT_EQ(s->txtMSSno->text(), "2026-999001");
        EXPECT_EQ(statements(), QStringList{"MSS..sp_MSS_UpdateMSSNumber '" + hosp_ + "','2026-999001'"});
        EXPECT_EQ(hospital_.scalar("SELECT MSSNum FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp_ + "'"), "2026-999001");

        // The database refuses a number another patient holds; nothing changes.
        s->txtNewMSSNo->setText(other);
        prompts_.expect("Run-time error '50003':*");
        QTest::mouseClick(s->cmdUpdate, Qt::LeftButton);
        EXPECT_TRUE(prompts_.shown().last().text.contains(other));
        EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
        EXPECT_EQ(s->txtMSSno->text(), "2026-999001");
        EXPECT_EQ(hospital_.scalar("SELECT MSSNum FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp_ + "'"), "2026-999001");
        d.reject();
        return d.result();
    });
    choose("mnuEditMSSNo");
}

}  // namespace
