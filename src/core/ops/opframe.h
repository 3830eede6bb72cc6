// The command frame shared by every operation that pops its arguments,
// computes and pushes: commit the entry, pop, compute, push or put the
// arguments back with a message, reset the entry line.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/calc/calculator.h"
#include "core/calc/errors.h"

namespace tallix {

struct OpResult {
    enum class Kind { Push, Text, Error, Keep, Report };
    Kind kind = Kind::Push;
    int count = 0;
    Value values[4]{};
    Reason reason{};  // Kind::Error, Kind::Report
    std::string text; // Kind::Text

    static OpResult None() { return {}; }
    static OpResult One(Value a) {
        OpResult r;
        r.count = 1;
        r.values[0] = a;
        return r;
    }
    // Pushed in order: a first, b ends at level 1.
    static OpResult Two(Value a, Value b) {
        OpResult r = One(a);
        r.count = 2;
        r.values[1] = b;
        return r;
    }
    static OpResult Four(Value a, Value b, Value c, Value d) {
        OpResult r = Two(a, b);
        r.count = 4;
        r.values[2] = c;
        r.values[3] = d;
        return r;
    }
    // Put the arguments back and report NAME + " Error: \r\n" + reason.
    static OpResult Error(Reason reason) {
        OpResult r;
        r.kind = Kind::Error;
        r.reason = reason;
        return r;
    }
    // Report NAME + " Error: \r\n" + reason; the arguments stay consumed.
    static OpResult Report(Reason reason) {
        OpResult r;
        r.kind = Kind::Report;
        r.reason = reason;
        return r;
    }
    // Put the arguments back without a message.
    static OpResult Keep() {
        OpResult r;
        r.kind = Kind::Keep;
        return r;
    }
    // Push a text built by the operation itself.
    static OpResult Text(std::string t) {
        OpResult r;
        r.kind = Kind::Text;
        r.text = std::move(t);
        return r;
    }
};

// x is level 1 and y level 2 when the operation starts (0 when unused).
using OpFn = OpResult (*)(Calculator::Change& calc, Value x, Value y);

// How an operation takes its arguments and reports its faults: the
// operation part of a command's row in the registry.
struct OpSpec {
    std::string_view name; // NAME of its messages
    int args = 0;          // 0, 1 or 2
    bool intArgs = false;  // arguments parsed as signed 32-bit whole numbers
    OpFn fn = nullptr;
    // Reason reported when a result is not finite (an overflow, an invalid
    // operation or a division by zero inside the computation).
    Reason faultReason = Reason::Overflow;
};

// The command frame: commit the entry, pop, compute, push or put the
// arguments back with the message, reset the entry line.
void RunOp(Calculator::Change& calc, const OpSpec& op);

} // namespace tallix
