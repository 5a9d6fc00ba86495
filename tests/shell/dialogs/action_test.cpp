#include "promptdouble.h"
#include "shell/db/error.h"
#include "shell/dialogs/action.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace mss;

TEST(Actions, AFailureEndsTheHandlerAndIsShownWithNumberAndDescription) {
    test::ScriptedPrompts prompts;
    prompts.expect("Run-time error '208':\n\nInvalid object name 'tbNothing'.");
    int steps = 0;
    const bool finished = ui::RunAction([&] {
        ++steps;
        throw db::Failure(208, "HospitalDB", "Invalid object name 'tbNothing'.");
        ++steps;   // never reached
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(prompts.shown()[0].title, "Medical Social Service");
}

TEST(Actions, AGuardedButtonKeepsTheEventLoopAlive) {
    test::ScriptedPrompts prompts;
    prompts.expect("Run-time error '94':\n\nInvalid use of Null");
    QPushButton button("Save");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, ui::Guarded([&] {
        ++clicks;
        throw db::Failure(94, "MSS", "Invalid use of Null");
    }));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(ui::RunAction([] {}));
}

TEST(Prompts, MessagesUseTheApplicationTitleWhenNoneIsGiven) {
    test::ScriptedPrompts prompts;
    prompts.expect("Are you sure you want to save the changes?", ui::Answer::Yes).expect("Record Saved");
    EXPECT_EQ(ui::MsgBox("Are you sure you want to save the changes?", ui::Icon::Question, ui::Buttons::YesNo,
                         "Message"),
              ui::Answer::Yes);
    ui::MsgBox("Record Saved", ui::Icon::Information);
    EXPECT_EQ(prompts.shown()[0].title, "Message");
    EXPECT_EQ(prompts.shown()[1].title, "Medical Social Service");
}

TEST(Prompts, ModalDialogsGoThroughTheSeam) {
    test::ScriptedPrompts prompts;
    QDialog dialog;
    dialog.setObjectName("frmSample");
    prompts.expectDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), "frmSample");
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(ui::ShowModal(dialog), QDialog::Accepted);
}
