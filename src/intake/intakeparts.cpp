#include "intake/intakeparts.h"
#include "shell/db/dbaccess.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace mss::intake::parts {

QLineEdit* Box(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QComboBox* DropDown(const char* name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(10);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QPlainTextEdit* Memo(const char* name, QWidget* parent) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setTabChangesFocus(true);
    return m;
}

QLabel* Caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QStringList ListItems(const QString& sql, const QString& column) {
    db::Recordset rs;
    db::OpenQuery(rs, sql);
    QStringList items;
    for (; !rs.Eof(); rs.MoveNext()) items << db::FieldText(rs, column);
    rs.Close();
    return items;
}

void AddRow(QGridLayout* grid, int row, int column, const QString& label, QWidget* control, int span) {
    QLabel* l = Caption(label, grid->parentWidget());
    l->setBuddy(control);
    grid->addWidget(l, row, column);
    grid->addWidget(control, row, column + 1, 1, span);
}

}  // namespace mss::intake::parts
