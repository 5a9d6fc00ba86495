#pragma once
// The demo hospital as tests start from it. ctest runs every case in a process of its own,
// so the demo is built once per test binary and day (it is dated from today), kept in the
// build tree, and copied by each case.
#include <QString>
#include <functional>

namespace mss::test {

// The cached demo file for `name`; `extra` adds a test program's own rows to a fresh build.
QString cachedDemo(const QString& name, const std::function<void(const QString& path)>& extra = {});

}  // namespace mss::test
