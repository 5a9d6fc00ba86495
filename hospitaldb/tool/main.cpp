#include "hospitaldb/tool/subcommands.h"

#include "hospitaldb/engine.h"

#include <QCoreApplication>
#include <exception>

namespace hospitaldb::tool {

mss::cli::Tool& tool() {
    static mss::cli::Tool t(QStringLiteral("mss-hospitaldb"),
                            QStringLiteral("Creates, fills and queries the embedded hospital database of the Medical "
                                           "Social Service program."));
    return t;
}

int createDatabaseFile(const QString& path, bool force, const std::function<void(const QString&)>& build) {
    if (tool().refusesToReplace(path, force)) return 1;
    try {
        buildInPlaceOf(path, build);
        return 0;
    } catch (const Failure& e) {
        err() << "mss-hospitaldb: " << e.Description << "\n";
    } catch (const std::exception& e) {
        err() << "mss-hospitaldb: " << e.what() << "\n";
    }
    return 1;
}

}  // namespace hospitaldb::tool

int main(int argc, char** argv) {
    using namespace hospitaldb::tool;
    QCoreApplication app(argc, argv);
    registerEngineSubcommands();
    registerBuilderSubcommands();
    return tool().run(app.arguments().mid(1));
}
