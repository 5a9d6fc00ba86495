#include "assessment/classificationscheme.h"

#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::assessment {

namespace {
const QString kCodeList = QStringLiteral(
    "SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] "
    "FROM MSS..tbMSSClassificationScheme");
}

QList<ClassificationCode> ReadClassificationCodes(CodeOrder order) {
    db::Recordset rs;
    db::OpenQuery(rs, order == CodeOrder::ByCode ? kCodeList + " ORDER BY Code" : kCodeList);
    QList<ClassificationCode> codes;
    while (!rs.Eof()) {
        codes.append({db::FieldText(rs, "Code"), db::FieldText(rs, "Classification")});
        rs.MoveNext();
    }
    rs.Close();
    return codes;
}

QStringList AssessmentClassificationItems() {
    QStringList items;
    for (const auto& c : ReadClassificationCodes(CodeOrder::ByCode)) items.append(c.Code + " -" + c.Classification);
    return items;
}

QStringList IntakeClassificationItems() {
    QStringList items;
    for (const auto& c : ReadClassificationCodes(CodeOrder::AsStored)) items.append(c.Code);
    return items;
}

bool IsOutPatientRoom(const QString& roomId) { return roomId == QLatin1String("OPD"); }

ClassificationRates ReadClassificationRates(const QString& code, bool outPatientRoom) {
    db::Recordset rs;
    db::OpenQuery(rs, db::Sql("SELECT * FROM MSS..tbMSSClassification where Type = '")
                          .val(text::Trim(code))
                          .lit("'"));
    ClassificationRates rates;
    if (!rs.Eof()) {
        // A null rate is a broken scheme row: it fails rather than pass as no discount.
        if (outPatientRoom) {
            rates.Procedures = text::AsNumber(rs.Value("Procedures2"));
            rates.Supplies = text::AsNumber(rs.Value("Supplies2"));
            rates.Medicines = text::AsNumber(rs.Value("Medicines2"));
        } else {
            rates.Procedures = text::AsNumber(rs.Value("Procedures"));
            rates.Supplies = text::AsNumber(rs.Value("Supplies"));
            rates.Medicines = text::AsNumber(rs.Value("Medicines"));
            rates.Room = text::AsNumber(rs.Value("Room"));
        }
    }
    rs.Close();
    return rates;
}

}  // namespace mss::assessment
