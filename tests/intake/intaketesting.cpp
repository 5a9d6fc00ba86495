#include "intaketesting.h"

#include "hospitaldb/embedded.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

namespace mss::test {

void IntakeSheetTest::SetUp() {
    StartedProgram::SetUp();
    newId_ = hospital_.scalar(
        "SELECT TOP 1 p.IdNum FROM PATIENT_DATA..tbPatient2 p JOIN PATIENT_DATA..tbMaster m ON m.HospNum = p.HospNum "
        "WHERE m.MSSNum IS NULL AND p.DcrDate IS NULL AND p.IdNum NOT LIKE 'T%' "
        "AND NOT EXISTS (SELECT 1 FROM MSS..tbMSSIntakeSheet s WHERE s.HospNum = m.HospNum) ORDER BY p.IdNum");
    newHosp_ = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + newId_ + "'");
    showcaseHosp_ = hospital_.scalar("SELECT HospNum FROM MSS..tbMSSIntakeSheet WHERE OtherSectorialMembership = 'SOLO PARENT'");
    showcaseId_ = hospital_.scalar("SELECT IdNum FROM MSS..tbMSSIntakeSheet WHERE HospNum = '" + showcaseHosp_ + "'");
}

hospitaldb::EmbeddedBackend& IntakeSheetTest::backend() {
    return dynamic_cast<hospitaldb::EmbeddedBackend&>(*session().Connection()->backend());
}

intake::frmIntakeSheet* IntakeSheetTest::open(const QString& hospNum, const QString& idNum, const QString& type,
                                              const QString& erNum) {
    Selection().HospNum = hospNum;
    Selection().IDNUM = idNum;
    Selection().PatientType = type;
    Selection().ERNum = erNum;
    statements();
    choose("mnuIntakeSheet");
    screen_ = window()->area()->findChild<intake::frmIntakeSheet*>("frmIntakeSheet");
    return screen_;
}

bool IntakeSheetTest::screenOpen() {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !screen_.isNull();
}

void IntakeSheetTest::type(QWidget* box, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(box)) box = combo->lineEdit();
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->clear();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) plain->clear();
    else if (auto* rich = qobject_cast<QTextEdit*>(box)) rich->clear();
    QTest::keyClicks(box, text);
}

void IntakeSheetTest::leave(QWidget* box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

QMap<QString, QString> IntakeSheetTest::snapshot() const {
    QMap<QString, QString> v;
    auto named = [](QObject* o) { return !o->objectName().isEmpty() && !o->objectName().startsWith("qt_"); };
    for (auto* e : screen_->findChildren<QLineEdit*>())
        if (named(e) && !qobject_cast<QComboBox*>(e->parent())) v[e->objectName()] = e->text();
    for (auto* c : screen_->findChildren<QComboBox*>())
        if (named(c)) v[c->objectName()] = c->currentText();
    for (auto* c : screen_->findChildren<QCheckBox*>()) v[c->objectName()] = c->isChecked() ? "ticked" : "clear";
    for (auto* o : screen_->findChildren<QRadioButton*>()) v[o->objectName()] = o->isChecked() ? "selected" : "clear";
    for (auto* t : screen_->findChildren<QPlainTextEdit*>()) v[t->objectName()] = t->toPlainText();
    for (auto* t : screen_->findChildren<QTextEdit*>()) v[t->objectName()] = t->toPlainText();
    for (auto* d : screen_->findChildren<QDateEdit*>()) v[d->objectName()] = d->date().toString(Qt::ISODate);
    const intake::FamilyGrid* g = screen_->family;
    for (int r = 1; r < g->Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c <= intake::FamilyGrid::kIncome; ++c) cells << g->cell(r, c);
        if (!cells.join("").isEmpty()) v[QString("FCFlexGrid[%1]").arg(r)] = cells.join("|");
    }
    return v;
}

QStringList IntakeSheetTest::stored(const QString& hospNum) {
    QStringList out;
    const QString h = hospNum;
    const QList<QPair<QString, QString>> tables = {
        {"MSS__tbMSSIntakeSheet", "HospNum"}, {"MSS__tbMSSFamilyComposition", "HospNum"},
        {"MSS__tbMSSMonthlyExpenses", "HospNum"}, {"MSS__tbMSSSocialFunctioning", "Hospnum"},
        {"MSS__tbMSSEnvironmentProblems", "Hospnum"}, {"PATIENT_DATA__tbMaster", "HospNum"}};
    for (const auto& [table, key] : tables) {
        const auto t = backend().engine().query("SELECT * FROM " + table + " WHERE " + key + " = ?1 ORDER BY 1", {h});
        for (const auto& row : t.rows) {
            QStringList cells;
            for (const QVariant& value : row) cells << value.toString();
            out << table + ": " + cells.join("|");
        }
    }
    return out;
}

}  // namespace mss::test
