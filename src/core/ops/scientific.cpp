// Trigonometric, hyperbolic, logarithmic and power functions, and the
// angle units.
#include "ops/opframe.h"

namespace tallix {
namespace {

using R = OpResult;

constexpr Value kPi = 3.14159265358979323846264338327950288L;

R Pi(Calculator&, Value, Value) { return R::One(kPi); }

constexpr OpDef kScientificOps[] = {
    {Cmd::Pi, "PI", 0, false, Pi},
};

} // namespace

std::span<const OpDef> ScientificOps() { return kScientificOps; }

} // namespace tallix
