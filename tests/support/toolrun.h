#pragma once
// The command-line tools run as hospital IT runs them, and what they leave on disk.
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace mss::test {

struct ToolRun {
    int status = -1;
    QString out, err;
};

// Runs build/bin/`tool` with `args`, feeding `input` on standard input.
inline ToolRun runTool(const QString& tool, const QStringList& args, const QString& input = QString()) {
    QProcess p;
    p.start(QStringLiteral(MSS_BINARY_DIR "/bin/") + tool, args);
    EXPECT_TRUE(p.waitForStarted());
    p.write(input.toUtf8());
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Readable (and, for a folder, enterable) by its owner, by nobody else.
inline bool ownerOnly(const QString& path) {
    const QFileInfo info(path);
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions owner =
        info.isDir() ? QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    return info.exists() && !(info.permissions() & others) && (info.permissions() & owner) == owner;
}

}  // namespace mss::test
