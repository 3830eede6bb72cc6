// The operations: each takes level 1 as x and level 2 as y (0 when unused)
// and says what to push or which fault to report. The command registry
// gives each its NAME, arguments and fault reason, and the command frame
// (RunOp) runs it.
#pragma once

#include "core/ops/opframe.h"

namespace tallix::ops {

// Arithmetic and stack commands.
OpResult Add(Calculator& calc, Value x, Value y);
OpResult Sub(Calculator& calc, Value x, Value y);
OpResult Mul(Calculator& calc, Value x, Value y);
OpResult Div(Calculator& calc, Value x, Value y);
OpResult Swap(Calculator& calc, Value x, Value y);
OpResult Dup2(Calculator& calc, Value x, Value y);
OpResult Drop(Calculator& calc, Value x, Value y);
OpResult Neg(Calculator& calc, Value x, Value y);
OpResult Abs(Calculator& calc, Value x, Value y);
OpResult Fix(Calculator& calc, Value x, Value y);
OpResult Last(Calculator& calc, Value x, Value y);
OpResult Depth(Calculator& calc, Value x, Value y);
OpResult Sum(Calculator& calc, Value x, Value y);
OpResult Rotate(Calculator& calc, Value x, Value y);
OpResult Roll(Calculator& calc, Value x, Value y);

// Trigonometric, hyperbolic, logarithmic and power functions.
OpResult Pi(Calculator& calc, Value x, Value y);
OpResult Sin(Calculator& calc, Value x, Value y);
OpResult Cos(Calculator& calc, Value x, Value y);
OpResult Tan(Calculator& calc, Value x, Value y);
OpResult ASin(Calculator& calc, Value x, Value y);
OpResult ACos(Calculator& calc, Value x, Value y);
OpResult ATan(Calculator& calc, Value x, Value y);
OpResult Inv(Calculator& calc, Value x, Value y);
OpResult Sqrt(Calculator& calc, Value x, Value y);
OpResult Sq(Calculator& calc, Value x, Value y);
OpResult Pow(Calculator& calc, Value x, Value y);
OpResult XRoot(Calculator& calc, Value x, Value y);
OpResult Ln(Calculator& calc, Value x, Value y);
OpResult Log(Calculator& calc, Value x, Value y);
OpResult Exp(Calculator& calc, Value x, Value y);
OpResult Alog(Calculator& calc, Value x, Value y);
OpResult SinH(Calculator& calc, Value x, Value y);
OpResult CosH(Calculator& calc, Value x, Value y);
OpResult TanH(Calculator& calc, Value x, Value y);
OpResult ASinH(Calculator& calc, Value x, Value y);
OpResult ACosH(Calculator& calc, Value x, Value y);
OpResult ATanH(Calculator& calc, Value x, Value y);

// Whole-number and number-part functions, random numbers.
OpResult Mod(Calculator& calc, Value x, Value y);
OpResult Fact(Calculator& calc, Value x, Value y);
OpResult Gcd(Calculator& calc, Value x, Value y);
OpResult Lcm(Calculator& calc, Value x, Value y);
OpResult Reduce(Calculator& calc, Value x, Value y);
OpResult ToFrac(Calculator& calc, Value x, Value y);
OpResult Comb(Calculator& calc, Value x, Value y);
OpResult Perm(Calculator& calc, Value x, Value y);
OpResult Round(Calculator& calc, Value x, Value y);
OpResult Floor(Calculator& calc, Value x, Value y);
OpResult Ceil(Calculator& calc, Value x, Value y);
OpResult CropR(Calculator& calc, Value x, Value y);
OpResult CropT(Calculator& calc, Value x, Value y);
OpResult IP(Calculator& calc, Value x, Value y);
OpResult FP(Calculator& calc, Value x, Value y);
OpResult Mant(Calculator& calc, Value x, Value y);
OpResult Xpon(Calculator& calc, Value x, Value y);
OpResult Hypot(Calculator& calc, Value x, Value y);
OpResult Random(Calculator& calc, Value x, Value y);

// Bitwise logic, shifts, rotations and the word size.
OpResult And(Calculator& calc, Value x, Value y);
OpResult Or(Calculator& calc, Value x, Value y);
OpResult Xor(Calculator& calc, Value x, Value y);
OpResult Not(Calculator& calc, Value x, Value y);
OpResult SL(Calculator& calc, Value x, Value y);
OpResult SR(Calculator& calc, Value x, Value y);
OpResult RL(Calculator& calc, Value x, Value y);
OpResult RR(Calculator& calc, Value x, Value y);
OpResult StoreWordSize(Calculator& calc, Value x, Value y);
OpResult RecallWordSize(Calculator& calc, Value x, Value y);

} // namespace tallix::ops
