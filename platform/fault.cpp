#include "fault.h"

#include <csignal>
#include <cstdlib>

namespace vh::platform::fault {
namespace {
struct State {
    bool armed = false;
    Plan plan;
    int seen = 0;
    bool fired = false;
    bool failNext = false;  // kShortThenError: the rest of the transfer fails
    std::uint64_t total = 0;
    std::vector<Op> trace;
};
State& S() {
    static State s;
    return s;
}
}  // namespace

void Arm(const Plan& plan) {
    State& s = S();
    s.armed = true;
    s.plan = plan;
    s.seen = 0;
    s.fired = false;
    s.failNext = false;
    s.trace.clear();
}

void Disarm() {
    S().armed = false;
}
int SeenSinceArm() {
    return S().seen;
}
bool Fired() {
    return S().fired;
}
const std::vector<Op>& Trace() {
    return S().trace;
}
std::uint64_t TotalCalls() {
    return S().total;
}

Outcome Check(Op op) {
    State& s = S();
    ++s.total;
    if (!s.armed || (s.plan.ops & op) == 0) return {};
    ++s.seen;
    s.trace.push_back(op);
    if (s.failNext) {
        s.failNext = false;
        return {s.plan.err, false};
    }
    const bool hit = s.plan.sticky ? s.seen >= s.plan.nth : s.seen == s.plan.nth;
    if (!hit) return {};
    s.fired = true;
    if (s.plan.kind == Kind::kKill) {
#ifdef SIGKILL
        std::raise(SIGKILL);
#endif
        std::_Exit(137);
    }
    const bool transfer = (op & (kRead | kWrite)) != 0;
    if (s.plan.kind == Kind::kShort) return {0, transfer};
    if (s.plan.kind == Kind::kShortThenError && transfer) {
        s.failNext = true;
        return {0, true};
    }
    return {s.plan.err, false};
}

}  // namespace vh::platform::fault
