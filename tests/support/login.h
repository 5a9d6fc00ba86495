#pragma once
// Answers the log-in dialog as a worker would: server, code, password, Enter; `statuses`
// collects what the dialog said after each refused try.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace mss::test {

inline std::function<int(QDialog&)> logIn(const QString& server, const QString& code, const QStringList& passwords,
                                          QStringList* statuses = nullptr) {
    return [=](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Log In");
        auto* cbo = d.findChild<QComboBox*>("cboServer");
        auto* txtCode = d.findChild<QLineEdit*>("txtEmployeeCode");
        auto* txtPass = d.findChild<QLineEdit*>("txtPassword");
        EXPECT_TRUE(cbo && txtCode && txtPass);
        d.show();
        cbo->setEditText(server);
        QTest::keyClicks(txtCode, code);
        for (const QString& p : passwords) {
            txtPass->clear();
            QTest::keyClicks(txtPass, p);
            QTest::keyClick(txtPass, Qt::Key_Return);
            if (d.result() == QDialog::Accepted || !d.isVisible()) break;
            if (statuses) *statuses << d.findChild<QLabel*>("lblStatus")->text();
        }
        return d.result();
    };
}

}  // namespace mss::test
