// Bitwise logic, shifts and rotations, and the word size.
#include "ops/opframe.h"

namespace tallix {

std::span<const OpDef> LogicOps() { return {}; }

} // namespace tallix
