#include "shell/session/session.h"
#include "shell/db/dbaccess.h"

#include <QCoreApplication>
#include <QDir>

namespace mss {

namespace {
QString g_programFolder;
}

Session& session() {
    static Session s;
    return s;
}

PatientSelection& Selection() {
    static PatientSelection selection;
    return selection;
}

db::Connection* Session::Connection() const {
    return db::HasSessionConnection() ? &db::SessionConnection() : nullptr;
}

void setProgramFolder(const QString& folder) { g_programFolder = folder; }

QString programFolder() {
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

}  // namespace mss
