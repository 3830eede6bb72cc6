#include "core/ops/opframe.h"

namespace tallix {

void RunOp(Calculator::Change& calc, const OpSpec& op) {
    if (!calc.CommitEntry()) return;
    Value x = 0, y = 0;
    bool popped = true;
    if (op.args == 1)
        popped = calc.PopOneArg(x, op.name, op.intArgs);
    else if (op.args == 2)
        popped = calc.PopTwoArgs(x, y, op.intArgs, op.name);
    if (popped) {
        OpResult r = op.fn(calc, x, y);
        if (r.kind == OpResult::Kind::Push) {
            for (int i = 0; i < r.count; ++i)
                if (IsFault(r.values[i])) r = OpResult::Error(op.faultReason);
        }
        switch (r.kind) {
        case OpResult::Kind::Push:
            for (int i = 0; i < r.count; ++i) calc.PushValue(r.values[i]);
            break;
        case OpResult::Kind::Text: calc.PushText(std::move(r.text)); break;
        case OpResult::Kind::Error:
        case OpResult::Kind::Keep:
            if (op.args == 2) calc.PushValue(y);
            if (op.args >= 1) calc.PushValue(x);
            if (r.kind == OpResult::Kind::Error)
                calc.ShowError(op.name, r.reason);
            else
                calc.CommandFailed();
            break;
        case OpResult::Kind::Report: calc.ShowError(op.name, r.reason); break;
        }
    }
    calc.ResetEntry();
}

} // namespace tallix
