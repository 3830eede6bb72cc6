// Whole-number and number-part functions.
#include "ops/opframe.h"

namespace tallix {

std::span<const OpDef> IntegerOps() { return {}; }

} // namespace tallix
