#pragma once
// The assessment screen opened from the File menu by a logged-in worker on the demo hospital,
// with what the database holds of an admission's assessment read on a second connection.
#include "assessment/frmarr.h"
#include "hospitaldb/embedded.h"
#include "shell/db/text.h"
#include "startedprogram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace mss::test {

class ArrScreenTest : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        start();
        reader_ = hospital_.openAnother();
    }

    // Opens "Assessment and Referal" for an admission and lets `work` use the screen while it is up.
    void withARR(const QString& hosp, const QString& id, const std::function<void(assessment::frmARR&)>& work) {
        Selection().HospNum = hosp;
        Selection().IDNUM = id;
        prompts_.expectDialog([&](QDialog& d) {
            auto* screen = qobject_cast<assessment::frmARR*>(&d);
            EXPECT_NE(screen, nullptr);
            if (!screen) return 0;
            d.show();
            QApplication::setActiveWindow(&d);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            work(*screen);
            if (d.isVisible()) d.reject();
            return d.result();
        });
        choose("mnuARR");
    }

    // Every row a query gives, as text, from the second connection.
    QString dump(const QString& sql) {
        QStringList out;
        const db::ResultTable t = reader_->Execute(sql);
        for (const auto& row : t.rows) {
            QStringList values;
            for (const QVariant& v : row) values << text::VariantText(v);
            out << values.join('|');
        }
        return out.join('\n');
    }
    QString one(const QString& sql) {
        const db::ResultTable t = reader_->Execute(sql);
        return t.rows.isEmpty() ? QString() : text::VariantText(t.rows[0].value(0));
    }

    // What a save writes for the patient and admission: assessment and its history,
    // transactions, case history, patient master and the admission's QF lines.
    QString snapshot(const QString& hosp, const QString& id) {
        return QStringList{dump("SELECT * FROM MSS..tbMSSAssessment WHERE HospNum = '" + hosp + "'"),
                           dump("SELECT COUNT(*) FROM MSS..tbMSSAssessmentHistory WHERE HospNum = '" + hosp + "'"),
                           dump("SELECT COUNT(*) FROM MSS..tbMSSTransaction WHERE HospNum = '" + hosp + "'"),
                           dump("SELECT * FROM MSS..tbMSSCaseHistory WHERE HospNum = '" + hosp + "'"),
                           dump("SELECT MSSNum, MSSClassification, MSSDiscountValidity, MSSDiscountExpiry FROM "
                                "PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'"),
                           dump("SELECT COUNT(*) FROM BILLING..tbBillDailyBill WHERE RevenueID = 'QF' AND IdNum = '" + id + "'"),
                           dump("SELECT COUNT(*) FROM BILLING..tbBillOPDailyOut WHERE RevenueID = 'QF' AND IdNum = '" + id + "'")}
            .join("\n--\n");
    }

    hospitaldb::EmbeddedBackend& engine() {
        return *dynamic_cast<hospitaldb::EmbeddedBackend*>(session().Connection()->backend());
    }

    static void pickItem(QComboBox* box, const QString& prefix) {
        for (int i = 0; i < box->count(); ++i)
            if (box->itemText(i).startsWith(prefix)) box->setCurrentIndex(i);
    }
    static void clickItem(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    static QString mdy(const QDate& d) { return text::DateMDY(d); }

    std::unique_ptr<db::Connection> reader_;
};

}  // namespace mss::test
