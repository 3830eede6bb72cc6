// The operations: each takes level 1 as x and level 2 as y (0 when unused)
// and says what to push or which fault to report. The command registry
// gives each its NAME, arguments and fault reason, and the command frame
// (RunOp) runs it.
#pragma once

#include "core/ops/opframe.h"

namespace tallix::ops {

// Arithmetic and stack commands.
OpResult Add(Calculator::Change& calc, Value x, Value y);
OpResult Sub(Calculator::Change& calc, Value x, Value y);
OpResult Mul(Calculator::Change& calc, Value x, Value y);
OpResult Div(Calculator::Change& calc, Value x, Value y);
OpResult Swap(Calculator::Change& calc, Value x, Value y);
OpResult Dup2(Calculator::Change& calc, Value x, Value y);
OpResult Drop(Calculator::Change& calc, Value x, Value y);
OpResult Neg(Calculator::Change& calc, Value x, Value y);
OpResult Abs(Calculator::Change& calc, Value x, Value y);
OpResult Fix(Calculator::Change& calc, Value x, Value y);
OpResult Last(Calculator::Change& calc, Value x, Value y);
OpResult Depth(Calculator::Change& calc, Value x, Value y);
OpResult Sum(Calculator::Change& calc, Value x, Value y);
OpResult Rotate(Calculator::Change& calc, Value x, Value y);
OpResult Roll(Calculator::Change& calc, Value x, Value y);

// Trigonometric, hyperbolic, logarithmic and power functions.
OpResult Pi(Calculator::Change& calc, Value x, Value y);
OpResult Sin(Calculator::Change& calc, Value x, Value y);
OpResult Cos(Calculator::Change& calc, Value x, Value y);
OpResult Tan(Calculator::Change& calc, Value x, Value y);
OpResult ASin(Calculator::Change& calc, Value x, Value y);
OpResult ACos(Calculator::Change& calc, Value x, Value y);
OpResult ATan(Calculator::Change& calc, Value x, Value y);
OpResult Inv(Calculator::Change& calc, Value x, Value y);
OpResult Sqrt(Calculator::Change& calc, Value x, Value y);
OpResult Sq(Calculator::Change& calc, Value x, Value y);
OpResult Pow(Calculator::Change& calc, Value x, Value y);
OpResult XRoot(Calculator::Change& calc, Value x, Value y);
OpResult Ln(Calculator::Change& calc, Value x, Value y);
OpResult Log(Calculator::Change& calc, Value x, Value y);
OpResult Exp(Calculator::Change& calc, Value x, Value y);
OpResult Alog(Calculator::Change& calc, Value x, Value y);
OpResult SinH(Calculator::Change& calc, Value x, Value y);
OpResult CosH(Calculator::Change& calc, Value x, Value y);
OpResult TanH(Calculator::Change& calc, Value x, Value y);
OpResult ASinH(Calculator::Change& calc, Value x, Value y);
OpResult ACosH(Calculator::Change& calc, Value x, Value y);
OpResult ATanH(Calculator::Change& calc, Value x, Value y);

// Whole-number and number-part functions, random numbers.
OpResult Mod(Calculator::Change& calc, Value x, Value y);
OpResult Fact(Calculator::Change& calc, Value x, Value y);
OpResult Gcd(Calculator::Change& calc, Value x, Value y);
OpResult Lcm(Calculator::Change& calc, Value x, Value y);
OpResult Reduce(Calculator::Change& calc, Value x, Value y);
OpResult ToFrac(Calculator::Change& calc, Value x, Value y);
OpResult Comb(Calculator::Change& calc, Value x, Value y);
OpResult Perm(Calculator::Change& calc, Value x, Value y);
OpResult Round(Calculator::Change& calc, Value x, Value y);
OpResult Floor(Calculator::Change& calc, Value x, Value y);
OpResult Ceil(Calculator::Change& calc, Value x, Value y);
OpResult CropR(Calculator::Change& calc, Value x, Value y);
OpResult CropT(Calculator::Change& calc, Value x, Value y);
OpResult IP(Calculator::Change& calc, Value x, Value y);
OpResult FP(Calculator::Change& calc, Value x, Value y);
OpResult Mant(Calculator::Change& calc, Value x, Value y);
OpResult Xpon(Calculator::Change& calc, Value x, Value y);
OpResult Hypot(Calculator::Change& calc, Value x, Value y);
OpResult Random(Calculator::Change& calc, Value x, Value y);

// Bitwise logic, shifts, rotations and the word size.
OpResult And(Calculator::Change& calc, Value x, Value y);
OpResult Or(Calculator::Change& calc, Value x, Value y);
OpResult Xor(Calculator::Change& calc, Value x, Value y);
OpResult Not(Calculator::Change& calc, Value x, Value y);
OpResult SL(Calculator::Change& calc, Value x, Value y);
OpResult SR(Calculator::Change& calc, Value x, Value y);
OpResult RL(Calculator::Change& calc, Value x, Value y);
OpResult RR(Calculator::Change& calc, Value x, Value y);
OpResult StoreWordSize(Calculator::Change& calc, Value x, Value y);
OpResult RecallWordSize(Calculator::Change& calc, Value x, Value y);

} // namespace tallix::ops
