// Linked into the tests and benchmarks: the backends are registered before main, as the
// program registers them first thing.
#include "app/backends.h"

namespace {
const bool registered = (mss::app::RegisterBackends(), true);
}
