#include "promptdouble.h"
#include "shell/components/userlogin.h"
#include "shell/dialogs/frmdeletepassword.h"
#include "testhospital.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <gtest/gtest.h>

using namespace mss;
using dialogs::frmDeletePassword;

namespace {

struct FakeUser {
    QString code, password;
    QSet<QString> rights;
    QString employeecode() const { return code; }
    QString Password() const { return password; }
    bool have_rights(const QString& r) const { return rights.contains(r); }
};

int maskCharacter(QLineEdit* box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    return box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, box);
}

class RightsPrompt : public ::testing::Test {
protected:
    void open() {
        form.SetGetForm(2);
        form.show();
        QApplication::setActiveWindow(&form);
        box = form.findChild<QLineEdit*>("txtPassword");
        enter = form.findChild<QPushButton*>("cmdEnter");
        ASSERT_NE(box, nullptr);
        ASSERT_NE(enter, nullptr);
    }
    // Types the text into the emptied box and presses the button.
    void submit(const QString& typed) {
        box->clear();
        QTest::keyClicks(box, typed);
        QTest::mouseClick(enter, Qt::LeftButton);
    }

    test::ScriptedPrompts prompts;
    FakeUser user{"0001", "demo", {"A"}};
    dialogs::UserRights<FakeUser> rights{&user};
    frmDeletePassword form{&rights};
    QLineEdit* box = nullptr;
    QPushButton* enter = nullptr;
};

TEST_F(RightsPrompt, OpensClearedWithTheFocusInAMaskedBox) {
    form.SetDeleteOK(true);
    open();
    EXPECT_EQ(form.windowTitle(), "Password");
    EXPECT_EQ(enter->text(), "&Enter");
    EXPECT_EQ(form.GetForm(), 2);
    EXPECT_FALSE(form.DeleteOK());
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    EXPECT_EQ(maskCharacter(box), 183);
}

TEST_F(RightsPrompt, TheCodeFollowedByThePasswordPassesInAnyLetterCase) {
    for (const QString typed : {"0001demo", "0001DEMO", "0001dEmO"}) {
        open();
        submit(typed);
        EXPECT_TRUE(form.DeleteOK()) << typed.toStdString();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(RightsPrompt, AnythingElseIsRefusedAndTheBoxKeepsTheFocus) {
    for (const QString typed : {"0001 demo", "demo", "0001", "0001demo ", "0002demo", ""}) {
        prompts.expect("Password not valid!");
        open();
        submit(typed);
        EXPECT_FALSE(form.DeleteOK()) << typed.toStdString();
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(box->hasFocus());
    }
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().last().icon, ui::Icon::Information);
    EXPECT_EQ(prompts.shown().last().title, "Medical Social Service");
}

TEST_F(RightsPrompt, TheRightPasswordWithoutTheRightIsRefused) {
    user.rights = {"B", "a"};
    prompts.expect("Password not valid!");
    open();
    submit("0001demo");
    EXPECT_FALSE(form.DeleteOK());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(RightsPrompt, AUserWithoutCodeOrPasswordHasNoPasswordToMatch) {
    user = FakeUser{QString(), QString(), {"A"}};
    prompts.expect("Password not valid!").expect("Password not valid!");
    open();
    submit("");
    user.code = "0001";
    submit("0001");
    EXPECT_FALSE(form.DeleteOK());

    frmDeletePassword nobody;
    prompts.expect("Password not valid!");
    nobody.show();
    QTest::mouseClick(nobody.findChild<QPushButton*>("cmdEnter"), Qt::LeftButton);
    EXPECT_FALSE(nobody.DeleteOK());
}

TEST_F(RightsPrompt, EnterChecksOnceAndEscapeCloses) {
    open();
    prompts.expect("Password not valid!");
    QTest::keyClicks(box, "0001dem");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(prompts.shown().size(), 1);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClick(box, Qt::Key_O);
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_TRUE(form.DeleteOK());
    EXPECT_FALSE(form.isVisible());

    // Shown again it starts refused; Escape leaves it so.
    open();
    EXPECT_FALSE(form.DeleteOK());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.DeleteOK());
    EXPECT_EQ(prompts.shown().size(), 1);
}

TEST(RightsPromptWithLogIn, ChecksAgainstTheWorkerWhoLoggedIn) {
    test::TestHospital hospital;
    test::ScriptedPrompts prompts;
    components::CurrentUser user;
    user.PasswordDeptCode = "MSS";
    ASSERT_TRUE(user.LogIn(hospital.path(), "0001", "demo"));
    dialogs::UserRights<components::CurrentUser> rights(&user);
    frmDeletePassword form(&rights);
    form.show();
    auto* box = form.findChild<QLineEdit*>("txtPassword");
    QTest::keyClicks(box, "0001DEMO");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(form.DeleteOK());

    // A worker without the right is refused with the right password.
    ASSERT_TRUE(user.LogIn(hospital.path(), "0002", "demo"));
    prompts.expect("Password not valid!");
    form.show();
    EXPECT_FALSE(form.DeleteOK());
    box->clear();
    QTest::keyClicks(box, "0002demo");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(form.DeleteOK());
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
