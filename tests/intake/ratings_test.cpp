#include "intake/ratings.h"
#include "failure.h"
#include "hospitaldb/embedded.h"
#include "promptdouble.h"
#include "shell/db/dbaccess.h"
#include "testhospital.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace mss;
using intake::Ratings;

namespace {

const QStringList kSeverityList = {"1. NO PROBLEM", "10. NOT ASSESSED", "2. LOW",          "3. MODERATE",
                                   "4. HIGH",       "5. VERY HIGH",     "6. CATASTROPHIC", "7. NOT APPLICABLE",
                                   "8. UNKNOWN",    "9. OTHERS"};

// The two tab pages the intake sheet hands the component, in a window the worker sees.
struct Sheet {
    QTabWidget window;
    Ratings* ratings;

    Sheet() {
        auto* social = new QWidget;
        auto* environment = new QWidget;
        window.addTab(social, "III.Assesmt of Soc Fxning");
        window.addTab(environment, "IV Problems in the Env");
        ratings = new Ratings(social, environment);
        window.resize(1000, 700);
        window.show();
    }
    // As the sheet opens: the stored ratings, then the lists.
    void open(const QString& hospNum) {
        ratings->LoadSocialFunctioning(hospNum);
        ratings->LoadEnvironmentProblems(hospNum);
        ratings->FillLists();
    }
    QComboBox* box(const QString& name) {
        auto* b = window.findChild<QComboBox*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    // Every rating box by name with the text it shows.
    QMap<QString, QString> shown() const {
        QMap<QString, QString> out;
        for (QComboBox* b : window.findChildren<QComboBox*>()) out.insert(b->objectName(), b->currentText());
        return out;
    }
    // Brings the box's page forward, as the worker does before using it.
    void reveal(QComboBox* b) {
        for (QWidget* w = b->parentWidget(); w; w = w->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(w))
                for (int i = 0; i < tabs->count(); ++i)
                    if (tabs->widget(i)->isAncestorOf(b)) tabs->setCurrentIndex(i);
    }
    // Opens the drop-down and clicks the item.
    void pick(const QString& name, const QString& item) {
        QComboBox* b = box(name);
        reveal(b);
        const int row = b->findText(item);
        ASSERT_GE(row, 0) << item.toStdString();
        b->showPopup();
        QAbstractItemView* view = b->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        EXPECT_EQ(b->currentText(), item);
    }
    // Replaces the box's text by typing.
    void type(const QString& name, const QString& keys) {
        QComboBox* b = box(name);
        reveal(b);
        b->lineEdit()->setFocus();
        QTest::keyClick(b->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        if (keys.isEmpty())
            QTest::keyClick(b->lineEdit(), Qt::Key_Delete);
        else
            QTest::keyClicks(b->lineEdit(), keys);
    }
};

class RatingsTest : public ::testing::Test {
protected:
    void SetUp() override { hospital_.connection().SetLogging(true); }

    hospitaldb::EmbeddedBackend& backend() {
        return dynamic_cast<hospitaldb::EmbeddedBackend&>(*hospital_.connection().backend());
    }
    // A registered patient the department has never rated.
    QString newPatient() {
        return hospital_.scalar("SELECT TOP 1 HospNum FROM PATIENT_DATA..tbMaster WHERE HospNum NOT IN "
                                "(SELECT Hospnum FROM MSS..tbMSSSocialFunctioning) AND HospNum NOT IN "
                                "(SELECT Hospnum FROM MSS..tbMSSEnvironmentProblems) ORDER BY HospNum");
    }
    void saveBoth(Ratings& ratings, const QString& hospNum) {
        EXPECT_EQ(ratings.CheckRatings(), "");
        db::BeginTrans();
        ratings.Save_SocialFunctioning(hospNum);
        ratings.Save_EnvironmentProblems(hospNum);
        db::CommitTrans();
    }
    // Description -> the stored ratings in column order, and the record's id.
    QMap<QString, QStringList> stored(const QString& table, const QString& hospNum) {
        const bool social = table.endsWith("SocialFunctioning");
        db::Recordset rs;
        db::OpenQuery(rs, "SELECT * FROM MSS.." + table + " WHERE Hospnum = " + db::QuoteText(hospNum));
        QMap<QString, QStringList> out;
        while (!rs.Eof()) {
            QStringList values;
            const QStringList columns = social ? QStringList{"Interaction", "SeverityIndex", "DurationIndex",
                                                             "CopingIndex", "RatingID"}
                                               : QStringList{"SeverityIndex", "DurationIndex", "RatingID"};
            for (const QString& c : columns)
                values << db::FieldText(rs, c);
            EXPECT_FALSE(out.contains(db::FieldText(rs, "Description"))) << "one record per role or problem";
            out.insert(db::FieldText(rs, "Description"), values);
            rs.MoveNext();
        }
        rs.Close();
        return out;
    }

    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
};

TEST_F(RatingsTest, RatingsPickedAndTypedAreStoredAndShownAgainWhenTheSheetReopens) {
    const QString hosp = newPatient();
    ASSERT_FALSE(hosp.isEmpty());
    Sheet sheet;
    hospital_.takeStatements();
    sheet.open(hosp);

    const QStringList sent = hospital_.takeStatements();
    ASSERT_EQ(sent.size(), 24 + 19 + 6);
    EXPECT_EQ(sent.at(0),
              "Select b.Code as codeIndex,                                                      "
              "isnull(cast(c.id as varchar(3)) + '. ' + c.types,'')   as SocialInteractValue,    "
              "isnull(cast(d.id as varchar(3)) + '. ' + d.type,'')   as SeverityIndexValue,      "
              "isnull(cast(e.id as varchar(3)) + '. ' + e.type,'')   as DurationIndexValue,      "
              "isnull(cast(f.id as varchar(3)) + '. ' + f.type,'')   as CopingIndexValue,  *     "
              "from mss..tbMSSSocialFunctioning a                                                "
              "left outer join tbMSSRoles b  on a.Description = b.ID                             "
              "left outer join build_file..tbcoMSSTypesSocialInteract c on  c.id = a.Interaction "
              "left outer join build_file..tbcoMSSSeverityIndex d on d.id = a.SeverityIndex      "
              "left outer join build_file..tbcoMSSDurationIndex e on e.id  = a.DurationIndex     "
              "left outer join build_file..tbcoMSSCopingIndex f on f.id = a.CopingIndex          "
              "where a.hospnum ='" + hosp + "'       and b.code = '0'    order by b.code asc       ");
    EXPECT_TRUE(sent.at(23).contains("and b.code = '23'    "));
    EXPECT_EQ(sent.at(24 + 18),
              "Select b.Code as codeIndex,                                                      "
              "isnull(cast(d.id as varchar(3)) + '. ' + d.type,'')   as SeverityIndexValue,      "
              "isnull(cast(e.id as varchar(3)) + '. ' + e.type,'')   as DurationIndexValue       "
              "from mss..tbMSSEnvironmentProblems a                                              "
              "left outer join tbMSSProblems b  on a.Description = b.ID                             "
              "left outer join build_file..tbcoMSSSeverityIndex d on d.id = a.SeverityIndex      "
              "left outer join build_file..tbcoMSSDurationIndex e on e.id  = a.DurationIndex     "
              "where a.hospnum ='" + hosp + "'                                             "
              "      and b.code = '18'                                                  order by b.code asc ");
    const QString severity = "SELECT  (cast(id as varchar(2)) + '. ' + isnull(type,'') ) [Type] FROM "
                             "build_File..tbcoMSSSeverityIndex order by cast(id as varchar(2)) asc";
    const QString duration = "SELECT  (cast(id as varchar(2)) + '. ' + isnull(type,'') ) [Type] FROM "
                             "build_File..tbcoMSSDurationIndex order by cast(id as varchar(2)) asc";
    EXPECT_EQ(sent.mid(43), (QStringList{
                                "SELECT  (cast(id as varchar(2)) + '. ' + isnull(types,'') ) [InteractionProb] FROM "
                                "build_File..tbcoMSSTypesSocialInteract order by cast(id as varchar(2)) asc",
                                severity, duration,
                                "SELECT  (cast(id as varchar(2)) + '. ' + isnull(type,'') ) [Type] FROM "
                                "build_File..tbcoMSSCopingIndex order by cast(id as varchar(2)) asc",
                                severity, duration}));
    EXPECT_EQ(hospital_.connection().TransactionLevel(), 0);

    // Read-only until Edit: every box empty and disabled, each with the whole list in id-as-text order.
    Ratings& r = *sheet.ratings;
    ASSERT_EQ(r.cmbSocialInteraction.size(), 24);
    ASSERT_EQ(r.cmbCopingIndex.size(), 24);
    ASSERT_EQ(r.cmbPESeverityIndex.size(), 19);
    ASSERT_EQ(r.cmbPEDurationIndex.size(), 19);
    const auto shownBefore = sheet.shown();
    EXPECT_EQ(shownBefore.size(), 24 * 4 + 19 * 2);
    for (const QString& text : shownBefore) EXPECT_EQ(text, "");
    for (QComboBox* b : sheet.window.findChildren<QComboBox*>()) {
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(b->count(), 10) << b->objectName().toStdString();
    }
    QStringList items;
    for (int i = 0; i < r.cmbPESeverityIndex.at(7)->count(); ++i) items << r.cmbPESeverityIndex.at(7)->itemText(i);
    EXPECT_EQ(items, kSeverityList);
    EXPECT_EQ(sheet.box("cmbSocialInteraction_23")->itemText(1), "10. NO PROBLEM");
    EXPECT_FALSE(r.txtAssessment->isEnabled());
    EXPECT_FALSE(r.txtRecommendedInterventions->isEnabled());
    for (const char* name : {"txtOIPROthers", "txtOROthers", "txtFNOthers", "txtSherlterOthers", "txtEROthers",
                             "txtTranspoOThers", "txtASSOthers"}) {
        auto* specify = sheet.window.findChild<QLineEdit*>(name);
        ASSERT_NE(specify, nullptr) << name;
        EXPECT_TRUE(specify->isEnabled()) << name;
        EXPECT_EQ(specify->text(), "(SPECIFY)");
    }

    r.setEditable(true);
    for (QComboBox* b : sheet.window.findChildren<QComboBox*>()) EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(r.txtAssessment->isEnabled());

    sheet.pick("cmbSeverityIndex_3", "10. NOT ASSESSED");
    sheet.pick("cmbSocialInteraction_0", "4. DEPENDENCY");
    sheet.pick("cmbCopingIndex_23", "1. OUTSTANDING");
    sheet.pick("cmbPEDurationIndex_18", "2. ONE TO FIVE YEARS");
    sheet.pick("cmbPESeverityIndex_0", "6. CATASTROPHIC");
    sheet.type("cmbDurationIndex_10", "3");
    EXPECT_EQ(sheet.box("cmbDurationIndex_10")->currentText(), "3");
    sheet.type("cmbSeverityIndex_15", "8. as the son tells it");
    EXPECT_EQ(sheet.box("cmbSeverityIndex_15")->currentText(), "8. as the son tells it");
    sheet.type("cmbPESeverityIndex_12", "12");
    EXPECT_EQ(sheet.box("cmbPESeverityIndex_12")->currentText(), "12") << "a number no list value has";
    QTest::keyClicks(sheet.window.findChild<QLineEdit*>("txtOIPROthers"), " GODPARENT");

    saveBoth(r, hosp);
    const QStringList writes = hospital_.takeStatements();
    ASSERT_GE(writes.size(), 2);
    EXPECT_EQ(writes.at(0), "Select ID from mss..tbMSSRoles where code = '0'");
    EXPECT_EQ(writes.at(1), " SELECT a.* FROM mss..tbMSSSocialFunctioning a  where a.hospnum = '" + hosp +
                                "'   and a.description = '101'");
    EXPECT_TRUE(writes.contains("Select ID from mss..tbMSSProblems where code = '18'"));
    EXPECT_TRUE(writes.contains(" SELECT a.* FROM mss..tbMSSEnvironmentProblems a  where a.hospnum = '" + hosp +
                                "'   and a.description = '219'"));

    // A record for every role and problem, the ids alone, empty where nothing was rated.
    const auto social = stored("tbMSSSocialFunctioning", hosp);
    const auto environment = stored("tbMSSEnvironmentProblems", hosp);
    ASSERT_EQ(social.size(), 24);
    ASSERT_EQ(environment.size(), 19);
    QMap<QString, QStringList> socialWanted, environmentWanted;
    for (int i = 0; i < 24; ++i) socialWanted.insert(QString::number(101 + i), {"", "", "", ""});
    for (int i = 0; i < 19; ++i) environmentWanted.insert(QString::number(201 + i), {"", ""});
    socialWanted["101"][0] = "4";
    socialWanted["104"][1] = "10";
    socialWanted["111"][2] = "3";
    socialWanted["116"][1] = "8";
    socialWanted["124"][3] = "1";
    environmentWanted["201"][0] = "6";
    environmentWanted["213"][0] = "12";
    environmentWanted["219"][1] = "2";
    for (auto it = social.begin(); it != social.end(); ++it)
        EXPECT_EQ(it.value().mid(0, 4), socialWanted.value(it.key())) << "role " << it.key().toStdString();
    for (auto it = environment.begin(); it != environment.end(); ++it)
        EXPECT_EQ(it.value().mid(0, 2), environmentWanted.value(it.key())) << "problem " << it.key().toStdString();

    // Reopened: each stored id shows as its list text; an id no list has shows empty.
    Sheet again;
    again.open(hosp);
    QMap<QString, QString> wanted = shownBefore;
    wanted["cmbSocialInteraction_0"] = "4. DEPENDENCY";
    wanted["cmbSeverityIndex_3"] = "10. NOT ASSESSED";
    wanted["cmbDurationIndex_10"] = "3. SIX MONTHS TO ONE YEAR";
    wanted["cmbSeverityIndex_15"] = "8. UNKNOWN";
    wanted["cmbCopingIndex_23"] = "1. OUTSTANDING";
    wanted["cmbPESeverityIndex_0"] = "6. CATASTROPHIC";
    wanted["cmbPEDurationIndex_18"] = "2. ONE TO FIVE YEARS";
    EXPECT_EQ(again.shown(), wanted);
    EXPECT_EQ(again.box("cmbSeverityIndex_3")->currentIndex(), 1) << "the list item itself is chosen";
    EXPECT_EQ(again.window.findChild<QLineEdit*>("txtOIPROthers")->text(), "(SPECIFY)");
}

TEST_F(RatingsTest, ASecondSaveUpdatesTheStoredRecordsInPlace) {
    const QString hosp = hospital_.scalar("SELECT TOP 1 Hospnum FROM MSS..tbMSSSocialFunctioning "
                                          "WHERE Interaction <> '' AND CopingIndex <> '' ORDER BY Hospnum");
    ASSERT_FALSE(hosp.isEmpty());
    const auto socialBefore = stored("tbMSSSocialFunctioning", hosp);
    const auto environmentBefore = stored("tbMSSEnvironmentProblems", hosp);
    ASSERT_EQ(socialBefore.size(), 24);
    ASSERT_EQ(environmentBefore.size(), 19);

    Sheet sheet;
    sheet.open(hosp);
    // What the demo holds for the role with code 0 shows as its list texts.
    const QStringList parent = socialBefore.value("101");
    const QString interaction = hospital_.scalar("SELECT types FROM BUILD_FILE..tbcoMSSTypesSocialInteract WHERE id = " +
                                                 (parent.at(0).isEmpty() ? "0" : parent.at(0)));
    EXPECT_EQ(sheet.box("cmbSocialInteraction_0")->currentText(),
              parent.at(0).isEmpty() ? "" : parent.at(0) + ". " + interaction);

    sheet.ratings->setEditable(true);
    sheet.pick("cmbSeverityIndex_5", "2. LOW");
    sheet.type("cmbCopingIndex_0", "");
    sheet.pick("cmbPEDurationIndex_9", "7. NOT APPLICABLE");
    saveBoth(*sheet.ratings, hosp);

    const auto socialAfter = stored("tbMSSSocialFunctioning", hosp);
    const auto environmentAfter = stored("tbMSSEnvironmentProblems", hosp);
    ASSERT_EQ(socialAfter.size(), 24) << "no record added";
    ASSERT_EQ(environmentAfter.size(), 19) << "no record added";
    EXPECT_EQ(socialAfter.keys(), socialBefore.keys());
    for (auto it = socialAfter.begin(); it != socialAfter.end(); ++it)
        EXPECT_EQ(it.value().last(), socialBefore.value(it.key()).last()) << "the same record";
    EXPECT_EQ(socialAfter.value("106").at(1), "2");
    EXPECT_EQ(socialAfter.value("101").at(3), "");
    EXPECT_EQ(environmentAfter.value("210").at(1), "7");
    EXPECT_EQ(socialAfter.value("102"), socialBefore.value("102")) << "what was not touched stays";
}

TEST_F(RatingsTest, ARatingWithoutAnIndexNumberIsRefusedBeforeAnythingIsWritten) {
    const QString hosp = newPatient();
    Sheet sheet;
    sheet.open(hosp);
    sheet.ratings->setEditable(true);
    sheet.pick("cmbSeverityIndex_0", "3. MODERATE");
    sheet.type("cmbDurationIndex_10", "about a year");
    EXPECT_EQ(sheet.ratings->CheckRatings(),
              "The DURATION INDEX of row \"Others\" (OTHER INTER PERSONAL ROLES, PART 1) on the tab "
              "\"III.Assesmt of Soc Fxning\" reads \"about a year\", which has no index number. Pick a value from "
              "its list.");

    sheet.type("cmbDurationIndex_10", "2");
    sheet.type("cmbPESeverityIndex_14", "x. see notes");
    EXPECT_EQ(sheet.ratings->CheckRatings(),
              "The SEVERITY INDEX of row \"Other:\" (5.TRANSPORTATION, Part 2) on the tab \"IV Problems in the Env\" "
              "reads \"x. see notes\", which has no index number. Pick a value from its list.");

    // A save that is not refused first still stores no such text: it fails inside the caller's transaction.
    db::BeginTrans();
    sheet.ratings->Save_SocialFunctioning(hosp);
    EXPECT_FAILURE(sheet.ratings->Save_EnvironmentProblems(hosp), db::errnum::TypeMismatch);
    db::RollbackTrans();
    EXPECT_EQ(hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSSocialFunctioning WHERE Hospnum = " + db::QuoteText(hosp)), 0);
    EXPECT_EQ(hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSEnvironmentProblems WHERE Hospnum = " + db::QuoteText(hosp)), 0);
}

TEST_F(RatingsTest, AFailingLoadLeavesNoTransactionOpen) {
    const QString hosp = hospital_.scalar("SELECT TOP 1 Hospnum FROM MSS..tbMSSEnvironmentProblems ORDER BY Hospnum");
    Sheet sheet;
    backend().failMatching(QRegularExpression("b.code = '5'"), 208, "Invalid object name 'tbMSSRoles'.");
    EXPECT_FAILURE(sheet.ratings->LoadSocialFunctioning(hosp), 208);
    EXPECT_FAILURE(sheet.ratings->LoadEnvironmentProblems(hosp), 208);
    EXPECT_EQ(hospital_.connection().TransactionLevel(), 0);
    backend().clearFaults();

    // The next action can begin its own transaction.
    sheet.ratings->LoadEnvironmentProblems(hosp);
    EXPECT_EQ(hospital_.connection().TransactionLevel(), 0);
    db::BeginTrans();
    sheet.ratings->Save_EnvironmentProblems(hosp);
    db::CommitTrans();
    EXPECT_EQ(hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSEnvironmentProblems WHERE Hospnum = " + db::QuoteText(hosp)), 19);
}

TEST_F(RatingsTest, ARowWhoseRoleIsMissingIsNotStoredOverThePreviousRole) {
    const QString hosp = newPatient();
    hospital_.connection().Execute("DELETE FROM MSS..tbMSSRoles WHERE code = '4'");
    Sheet sheet;
    sheet.open(hosp);
    sheet.ratings->setEditable(true);
    sheet.pick("cmbSeverityIndex_3", "4. HIGH");
    sheet.pick("cmbSeverityIndex_4", "6. CATASTROPHIC");
    saveBoth(*sheet.ratings, hosp);

    const auto social = stored("tbMSSSocialFunctioning", hosp);
    EXPECT_EQ(social.size(), 23);
    EXPECT_EQ(social.value("104").at(1), "4") << "the role with code 3 keeps its own rating";
    EXPECT_FALSE(social.contains("")) << "no record without a role";
}

}  // namespace
