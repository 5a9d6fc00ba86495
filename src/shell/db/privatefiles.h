#pragma once
// Files that hold patient records or the workstation's log-ins: only the user who made them
// may read them. Made with their final mode, so they are never readable by others, not even
// for a moment.
#include <QString>

namespace mss::db {

// Makes `folder` and any missing parents, each readable by its owner alone. Folders that
// exist are left as they are: they may be shared ones such as /tmp.
bool makePrivateFolder(const QString& folder);

// Creates `path` empty, readable and writable by its owner alone. Fails, with `error` set,
// when the file exists or cannot be made; an existing file is never touched.
bool createPrivateFile(const QString& path, QString* error = nullptr);

// Takes every right of others away from an existing file or folder of the program's own.
bool restrictToOwner(const QString& path);

}  // namespace mss::db
