#include "hospitaldb/procedures.h"

namespace hospitaldb {

namespace {

// The five patient searches share one text; each keeps its own encounters and reads the
// index that serves its surname branch.
struct PatientSearch {
    const char* name;
    const char* purpose;
    const char* filter;        // a whole condition line, or empty for none
    const char* surnameIndex;  // an INDEXED BY clause, or empty
};

constexpr PatientSearch kPatientSearches[] = {
    {"sp_MSS_LoadInPatient", "Admissions not yet discharged.", "   AND Kind = 'I' AND DcrDate IS NULL",
     " INDEXED BY PATIENT_DATA__tbEncounterSearch_Current"},
    {"sp_MSS_LoadOutPatient", "Out-patient registrations that are not emergency-room visits.", "   AND Kind = 'O'",
     " INDEXED BY PATIENT_DATA__tbEncounterSearch_Kind"},
    {"sp_MSS_LoadERPatient", "Emergency-room visits (an out-patient registration with its ER number).",
     "   AND Kind = 'E'", " INDEXED BY PATIENT_DATA__tbEncounterSearch_Kind"},
    {"sp_MSS_LoadAllServicePatient", "Every encounter of every kind.", "", ""},
    {"sp_MSS_LoadMSSPatient", "Every encounter of the patients holding an MSS number.", "   AND MSS <> ''",
     " INDEXED BY PATIENT_DATA__tbEncounterSearch_MSS"},
};

void registerPatientSearches(ProcedureLibrary& library) {
    const QString path = QStringLiteral(":/hospitaldb/sql/templates/patient_search.sql");
    const QString text = readTextFile(path);
    for (const PatientSearch& s : kPatientSearches) {
        QStringList lines;
        for (const QString& line : text.split(u'\n')) {
            if (line == QLatin1String("{{FILTER}}")) {
                if (*s.filter) lines << QString::fromLatin1(s.filter);
                continue;
            }
            lines << line;
        }
        QString body = lines.join(u'\n');
        body.replace(QLatin1String("{{NAME}}"), QLatin1String(s.name))
            .replace(QLatin1String("{{PURPOSE}}"), QLatin1String(s.purpose))
            .replace(QLatin1String("{{SURNAME_INDEX}}"), QLatin1String(s.surnameIndex));
        library.loadText(body, path);
    }
}

// sp_pkeys, SQL Server's system procedure, in every database: the primary key of a table,
// which the database layer asks for to guard an optimistic update on the key.
void registerPrimaryKeys(ProcedureLibrary& library) {
    for (const QString& db : databaseNames()) {
        library.registerProcedure(db, QStringLiteral("sp_pkeys"), {"table_name"},
                                  [db](ProcedureContext& ctx, const QVector<QVariant>& args) {
            const QString table = args.value(0).toString();
            return ctx.query(QStringLiteral(
                                 "SELECT :db AS TABLE_QUALIFIER, 'dbo' AS TABLE_OWNER, :table AS TABLE_NAME, name AS COLUMN_NAME,"
                                 " pk AS KEY_SEQ, 'PK_' || :table AS PK_NAME"
                                 " FROM pragma_table_info(:mangled) WHERE pk > 0 ORDER BY pk"),
                             {{"db", db}, {"table", table}, {"mangled", db + QStringLiteral("__") + table}});
        });
    }
}

}  // namespace

void registerBuiltinProcedures(ProcedureLibrary& library) {
    registerPatientSearches(library);
    registerPrimaryKeys(library);
}

}  // namespace hospitaldb
