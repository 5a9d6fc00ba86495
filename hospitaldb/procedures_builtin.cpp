#include "hospitaldb/procedures.h"

namespace hospitaldb {

// The hospital's C++ procedures are registered here.
void registerBuiltinProcedures(ProcedureLibrary& library) { Q_UNUSED(library); }

}  // namespace hospitaldb
