#include "assessment/codelist.h"

#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

#include <QListWidget>

namespace mss::assessment {

QString ChildrenStatement(Catalogue catalogue, const QString& code) {
    const char* procedure = catalogue == Catalogue::Service ? "MSS..sp_MSS_GetService '" : "MSS..sp_MSS_GetActivity '";
    return db::Sql(procedure).val(code).lit("'");
}

QString CatalogueStatement(Catalogue catalogue, const QString& code) {
    const char* table = catalogue == Catalogue::Service ? "select * from MSS..tbMSSServiceCategory WHERE CODE = '"
                                                        : "select * from MSS..tbMSSActivity WHERE CODE = '";
    return db::Sql(table).val(code).lit("'");
}

QStringList SplitCodeList(const QString& codeList) {
    QStringList parts = codeList.split('|');
    parts.removeLast();
    for (QString& p : parts) p = text::Trim(p);
    return parts;
}

QString ListItemText(const QString& description, const QString& code, int padding) {
    return description + QString(padding, ' ') + code;
}

QString ListItemCode(const QString& itemText) { return text::Trim(itemText.right(kCodeWidth)); }

QString CodeListOf(const QListWidget& list) {
    QString codes;
    for (int i = 0; i < list.count(); ++i) codes += ListItemCode(list.item(i)->text()) + "|";
    return codes;
}

bool ListHoldsCode(const QListWidget& list, const QString& code) {
    for (int i = 0; i < list.count(); ++i)
        if (ListItemCode(list.item(i)->text()) == code) return true;
    return false;
}

void RemoveItemsWithCode(QListWidget& list, const QString& code) {
    for (int i = list.count() - 1; i >= 0; --i)
        if (ListItemCode(list.item(i)->text()) == code) delete list.takeItem(i);
}

void RebuildList(QListWidget& list, Catalogue catalogue, const QString& codeList, int padding) {
    list.clear();
    for (const QString& code : SplitCodeList(codeList)) {
        db::Recordset rs;
        db::OpenQuery(rs, CatalogueStatement(catalogue, code));
        if (!rs.Eof()) list.addItem(ListItemText(db::FieldText(rs, "Description"), code, padding));
        rs.Close();
    }
}

}  // namespace mss::assessment
