#include "app/firststart.h"
#include "hospitaldb/demo.h"
#include "hospitaldb/engine.h"
#include "shell/db/error.h"
#include "shell/db/privatefiles.h"

#include <QDir>
#include <QFileInfo>

namespace mss::app {

QString PrepareDemoHospital(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    // The workstation's own hospital folder: no other user may look into it, even where an
    // earlier version made it open to all.
    if (!db::makePrivateFolder(folder) || !db::restrictToOwner(folder))
        throw db::Failure(db::errnum::FileWrite, QStringLiteral("Log In"),
                          QStringLiteral("%1: the folder cannot be made").arg(QDir::toNativeSeparators(folder)));
    hospitaldb::buildInPlaceOf(path, [](const QString& aside) { hospitaldb::buildDemo(aside); });
    return QStringLiteral("A new hospital database was created from the demo hospital: %1")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace mss::app
