#pragma once
// The department's classification scheme: the codes offered to the worker and the discount
// rates of each code. Read only; the scheme is maintained outside the program.
#include <QList>
#include <QString>
#include <QStringList>

namespace mss::assessment {

struct ClassificationCode {
    QString Code;
    QString Classification;
};

enum class CodeOrder {
    ByCode,    // the assessment screen
    AsStored   // the intake sheet
};

QList<ClassificationCode> ReadClassificationCodes(CodeOrder order);

// The items the screens offer: "Code -Classification" on the assessment screen, the code
// alone on the intake sheet.
QStringList AssessmentClassificationItems();
QStringList IntakeClassificationItems();

// Rates as fractions (0.25 is 25 %).
struct ClassificationRates {
    double Procedures = 0;
    double Medicines = 0;
    double Supplies = 0;
    double Room = 0;
};

// True only for the room id "OPD" exactly: out-patients have no room of their own.
bool IsOutPatientRoom(const QString& roomId);

// The rates of a classification for an in-patient or an out-patient; every rate is 0 for a
// code without a rate row, and the room rate is always 0 for an out-patient.
ClassificationRates ReadClassificationRates(const QString& code, bool outPatientRoom);

}  // namespace mss::assessment
