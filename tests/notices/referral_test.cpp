#include "noticetesting.h"
#include "notices/frmreferralapproval.h"
#include "notices/noticeboard.h"
#include "notices/referrallists.h"
#include "promptdouble.h"
#include "shell/db/text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

using namespace mss;
using namespace mss::notices;
using test::clickLine;
using test::kWorker;
using test::lineWith;

namespace {

class Referrals : public ::testing::Test {
protected:
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QDialog")) w->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString scalar(const QString& sql) { return hospital_.scalar(sql); }
    QString referral(const QString& column, const QString& refnum) {
        return scalar("SELECT " + column + " FROM MSS..tbMSSReferralNotice WHERE ReferralNo = " + refnum);
    }
    static frmReferralApproval* openScreen() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<frmReferralApproval*>(w); s && s->isVisible()) return s;
        return nullptr;
    }
    static void expectEditing(frmReferralApproval& s, bool editing) {
        EXPECT_EQ(s.cmdEdit->isVisibleTo(&s), !editing);
        EXPECT_EQ(s.frmApprovedBy->isVisibleTo(&s), !editing);
        for (QWidget* w : std::initializer_list<QWidget*>{s.cmdSave, s.txtRemarks, s.OptApproved, s.OptDeny, s.OptCash,
                                                          s.dtSchedDate})
            EXPECT_EQ(w->isEnabled(), editing) << w->objectName().toStdString();
    }

    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
};

TEST_F(Referrals, AWaitingReferralIsTaggedFromTheNoticeList) {
    const auto pending = test::rows(hospital_, "SELECT ReferralNo, IdNum FROM MSS..tbMSSReferralNotice WHERE Status = 'P' "
                                               "AND ScheduleDate IS NULL AND Tick4 = 'Y' ORDER BY ReferralDate, ReferralNo");
    ASSERT_FALSE(pending.isEmpty());
    const QString refnum = pending.first()[0].toString();
    const QString idnum = pending.first()[1].toString();
    const long waiting = hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSReferralNotice WHERE Status = 'P'");

    QPointer<frmReferralToMedicalTeam> list = new frmReferralToMedicalTeam(kWorker);
    list->setAttribute(Qt::WA_DeleteOnClose);
    list->show();
    EXPECT_EQ(list->windowTitle(), "Referral");
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadReferralNotice"});
    QTreeWidget& lvw = *list->lvwRequest;
    EXPECT_EQ(test::headings(lvw), (QStringList{"Patient", "Admission #", "Hosp #", "Diagnosis", "Referral Date",
                                                "Referral No.", "Referred By"}));
    EXPECT_EQ(lvw.columnWidth(0), text::TwipsToPixels(3000));
    EXPECT_GE(lvw.columnWidth(6), text::TwipsToPixels(2100));
    EXPECT_TRUE(lvw.isColumnHidden(5));
    EXPECT_EQ(lvw.topLevelItemCount(), waiting);
    for (int i = 0; i < lvw.topLevelItemCount(); ++i) EXPECT_EQ(IconKey(*lvw.topLevelItem(i)), "open");
    EXPECT_EQ(list->cmdClose->text(), "Close");

    EXPECT_EQ(SelectedLine(lvw), lvw.topLevelItem(0));
    lvw.clearSelection();
    list->cmdSelect->click();   // nothing chosen
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(openScreen(), nullptr);

    QTreeWidgetItem* line = lineWith(lvw, 5, refnum);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(1), idnum);
    clickLine(lvw, line);
    list->cmdSelect->click();
    EXPECT_FALSE(list->isVisible()) << "the list closes";
    ASSERT_FALSE(list.isNull());
    EXPECT_EQ(list->IDNUM(), "");
    EXPECT_FALSE(list->Valid()) << "the choice is offered only while the referral screen opens";

    frmReferralApproval* s = openScreen();
    ASSERT_NE(s, nullptr);
    QPointer<frmReferralApproval> screen = s;
    EXPECT_FALSE(s->isModal());
    EXPECT_EQ(s->windowTitle(), "Referral From Medical Team");
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadReferralNoticePatient'" + idnum + "','" + refnum + "'"});
    expectEditing(*s, true);
    EXPECT_EQ(s->txtAdmNo->text(), idnum);
    EXPECT_EQ(s->txtHospNo->text(), referral("HospNum", refnum));
    EXPECT_EQ(s->txtDiagnosis->text(), referral("Diagnosis", refnum));
    EXPECT_EQ(s->txtReferredBy->text(), referral("ReferredBy", refnum));
    EXPECT_TRUE(s->chktick4->isChecked());
    EXPECT_EQ(s->chkTick1->isChecked(), referral("Tick1", refnum) == "Y");
    EXPECT_EQ(s->chktick5->isChecked(), referral("Tick5", refnum) == "Y");
    EXPECT_EQ(s->txtOtherReason->text(), referral("Others", refnum));
    EXPECT_FALSE(s->OptApproved->isChecked() || s->OptDeny->isChecked() || s->OptCash->isChecked());
    EXPECT_EQ(s->dtSchedDate->date(), QDate::currentDate()) << "no schedule yet: today";
    // The reasons are the medical team's: a click does not change them.
    const bool tick2 = s->chkTick2->isChecked();
    QTest::mouseClick(s->chkTick2, Qt::LeftButton);
    EXPECT_EQ(s->chkTick2->isChecked(), tick2);

    const QString remarks = "Señora can't pay; “charity” ward — ₱0 for the patient's son";
    s->txtRemarks->clear();
    s->txtRemarks->setFocus();
    test::typeText(s->txtRemarks, remarks);
    s->txtCategory->setText("INDIGENT");
    s->OptApproved->click();
    const QDate schedule = QDate::currentDate().addDays(3);
    s->dtSchedDate->setDate(schedule);
    prompts_.expect("Are you sure you want to tag thi Referral as Include to Bill ? ", ui::Answer::Ok);
    prompts_.expect("Successfuly saved");
    s->cmdSave->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(screen.isNull()) << "saved, the screen closes";
    EXPECT_EQ(hospital_.takeStatements(),
              QStringList{"MSS..sp_MSS_SaveReferralNoticePatient'" + idnum + "', '" +
                          QDate::currentDate().toString("yyyy-MM-dd") + "','A','Señora can''t pay; “charity” ward — ₱0 "
                          "for the patient''s son', 'INDIGENT', '" + text::ShortDate(schedule) + "','0002','" + refnum + "' "});
    ASSERT_EQ(prompts_.shown().size(), 2);
    EXPECT_EQ(prompts_.shown()[0].title, "Confirmation");
    EXPECT_EQ(prompts_.shown()[0].buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(prompts_.shown()[1].title, "Message");
    EXPECT_EQ(prompts_.shown()[1].icon, ui::Icon::Exclamation);
    EXPECT_EQ(referral("Status", refnum), "A");
    EXPECT_EQ(referral("Remarks", refnum), remarks);
    EXPECT_EQ(referral("ApprovedBy", refnum), "0002");
    EXPECT_EQ(text::ParseDateTime(referral("ScheduleDate", refnum)).date(), schedule);

    // Tagged, it leaves the notice list and shows as acted on in the history.
    frmReferralToMedicalTeam again(kWorker);
    EXPECT_EQ(again.lvwRequest->topLevelItemCount(), waiting - 1);
    EXPECT_EQ(lineWith(*again.lvwRequest, 5, refnum), nullptr);
    frmReferralHistory history(kWorker);
    QTreeWidgetItem* tagged = lineWith(*history.lvwRequest, 7, refnum);
    ASSERT_NE(tagged, nullptr);
    EXPECT_EQ(IconKey(*tagged), "clear");
    EXPECT_EQ(tagged->text(5), "A");
    EXPECT_EQ(tagged->text(9), "0002");
}

TEST_F(Referrals, TheHistoryOpensReadOnlyAndAnUntaggedSaveStaysPending) {
    const auto pending = test::rows(hospital_, "SELECT r.ReferralNo, r.IdNum, r.HospNum, m.LastName FROM MSS..tbMSSReferralNotice r "
                                               "JOIN PATIENT_DATA..tbMaster m ON m.HospNum = r.HospNum "
                                               "WHERE r.Status = 'P' ORDER BY r.ReferralNo");
    ASSERT_FALSE(pending.isEmpty());
    const QString refnum = pending.first()[0].toString(), idnum = pending.first()[1].toString();
    const QString hosp = pending.first()[2].toString(), last = pending.first()[3].toString();
    const long all = hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSReferralNotice");
    hospital_.takeStatements();

    prompts_.expectDialog([&](QDialog& d) {
        auto& h = static_cast<frmReferralHistory&>(d);
        h.show();
        EXPECT_EQ(h.windowTitle(), "Referral from Medical Team");
        EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadReferralHistory'', '',''"});
        QTreeWidget& lvw = *h.lvwRequest;
        EXPECT_EQ(test::headings(lvw), (QStringList{"Patient", "Admission #", "Hosp #", "Date Modified", "Referral Date",
                                                    "Status", "Diagnosis", "Refnum", "ReferredBy", "ApprovedBy"}));
        EXPECT_TRUE(lvw.isColumnHidden(7));
        EXPECT_EQ(lvw.columnWidth(3), text::TwipsToPixels(2100));
        EXPECT_EQ(lvw.topLevelItemCount(), all);
        int open = 0;
        for (int i = 0; i < lvw.topLevelItemCount(); ++i) {
            const QTreeWidgetItem& l = *lvw.topLevelItem(i);
            EXPECT_EQ(IconKey(l), l.text(5) == "P" ? "open" : "clear");
            open += l.text(5) == "P";
        }
        EXPECT_GT(open, 0);
        EXPECT_LT(open, lvw.topLevelItemCount());

        h.txtHospNum->setText(" " + hosp + " ");
        h.txtLastname->setText(last.left(3).toLower() + " ");
        h.cmdSearch->click();
        EXPECT_EQ(hospital_.takeStatements(),
                  QStringList{"MSS..sp_MSS_LoadReferralHistory'" + hosp + "', '" + last.left(3).toLower() + "',''"});
        for (int i = 0; i < lvw.topLevelItemCount(); ++i) EXPECT_EQ(lvw.topLevelItem(i)->text(2), hosp);
        clickLine(lvw, lineWith(lvw, 7, refnum));
        h.cmdSelect->click();
        EXPECT_FALSE(h.Valid());
        EXPECT_EQ(h.IDNUM(), "");
        return h.result();
    });
    prompts_.expectDialog([&](QDialog& d) {
        auto& s = static_cast<frmReferralApproval&>(d);
        s.show();
        expectEditing(s, false);
        EXPECT_EQ(s.txtAdmNo->text(), idnum);
        s.cmdEdit->click();
        expectEditing(s, true);
        s.txtRemarks->setPlainText("Waiting for the family's papers");
        s.cmdSave->click();   // no tag chosen: warned, then asked; Cancel saves nothing
        EXPECT_TRUE(s.isVisible());
        s.cmdSave->click();
        EXPECT_FALSE(s.isVisible());
        return s.result();
    });
    prompts_.expect("Please Tag the Patient ");
    prompts_.expect("Are you sure you want to tag thi Referral as Pending ? ", ui::Answer::Cancel);
    prompts_.expect("Please Tag the Patient ");
    prompts_.expect("Are you sure you want to tag thi Referral as Pending ? ", ui::Answer::Ok);
    prompts_.expect("Successfuly saved");
    ShowReferralHistory(nullptr, kWorker);

    const QStringList sent = hospital_.takeStatements();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0], "MSS..sp_MSS_LoadReferralNoticePatient'" + idnum + "','" + refnum + "'");
    EXPECT_TRUE(sent[1].startsWith("MSS..sp_MSS_SaveReferralNoticePatient'" + idnum + "', '" +
                                   QDate::currentDate().toString("yyyy-MM-dd") + "','P','Waiting for the family''s papers'"))
        << sent[1].toStdString();
    EXPECT_EQ(prompts_.shown()[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(prompts_.shown()[0].title, "Message");
    EXPECT_EQ(referral("Status", refnum), "P");
    EXPECT_EQ(referral("ApprovedBy", refnum), "0002");
    EXPECT_EQ(referral("Remarks", refnum), "Waiting for the family's papers");
}

TEST_F(Referrals, ADischargedPatientsReferralIsShownButNotRetagged) {
    const auto tagged = test::rows(hospital_, "SELECT ReferralNo, IdNum, Status, ScheduleDate, ApprovedBy "
                                              "FROM MSS..tbMSSReferralNotice WHERE Status <> 'P' ORDER BY ReferralNo");
    ASSERT_FALSE(tagged.isEmpty());
    const QString refnum = tagged.first()[0].toString(), idnum = tagged.first()[1].toString();
    const QString status = tagged.first()[2].toString();

    frmReferralApproval s(OpenReferral({}, {idnum, refnum, true}), kWorker);
    expectEditing(s, false);
    EXPECT_EQ(s.OptApproved->isChecked(), status == "A");
    EXPECT_EQ(s.OptDeny->isChecked(), status == "D");
    EXPECT_EQ(s.OptCash->isChecked(), status == "C");
    EXPECT_EQ(s.dtSchedDate->date(), tagged.first()[3].toDateTime().date());
    EXPECT_EQ(s.txtApprovedBy->text(), tagged.first()[4].toString());
    EXPECT_EQ(s.txtRemarks->toPlainText(), referral("Remarks", refnum));
    EXPECT_FALSE(s.dischargeDate().isEmpty());
    s.cmdEdit->click();
    s.OptCash->click();
    hospital_.takeStatements();
    prompts_.expect("Discharged Patient Cannot Be Updated.");
    s.cmdSave->click();
    EXPECT_TRUE(hospital_.takeStatements().isEmpty()) << "nothing is sent";
    EXPECT_EQ(prompts_.shown().last().title, "Message");
    EXPECT_EQ(referral("Status", refnum), status);
}

TEST_F(Referrals, TheDatabasesEmptyScheduleDateOpensAsTodayAndAMissingReferralOpensEmpty) {
    const QString refnum = scalar("SELECT TOP 1 ReferralNo FROM MSS..tbMSSReferralNotice WHERE Status = 'P' ORDER BY ReferralNo");
    const QString idnum = referral("IdNum", refnum);
    hospital_.openAnother()->Execute("UPDATE MSS..tbMSSReferralNotice SET ScheduleDate = '1900-01-01' WHERE ReferralNo = " +
                                     refnum);
    {
        frmReferralApproval s(OpenReferral({idnum, refnum, true}, {}), kWorker);
        EXPECT_EQ(s.txtAdmNo->text(), idnum);
        EXPECT_EQ(s.dtSchedDate->date(), QDate::currentDate());
    }
    hospital_.openAnother()->Execute("UPDATE MSS..tbMSSReferralNotice SET ScheduleDate = '2031-02-03' WHERE ReferralNo = " +
                                     refnum);
    {
        frmReferralApproval s(OpenReferral({idnum, refnum, true}, {}), kWorker);
        EXPECT_EQ(s.dtSchedDate->date(), QDate(2031, 2, 3));
    }
    frmReferralApproval none(OpenReferral({"999999", "1", true}, {}), kWorker);
    expectEditing(none, true);
    for (QLineEdit* box : {none.txtFullName, none.txtHospNo, none.txtAdmNo, none.txtDiagnosis, none.txtCategory})
        EXPECT_EQ(box->text(), "");
    EXPECT_FALSE(none.OptApproved->isChecked() || none.OptDeny->isChecked() || none.OptCash->isChecked());
    EXPECT_FALSE(none.chkTick1->isChecked());
}

}  // namespace
