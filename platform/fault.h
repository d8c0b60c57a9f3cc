// Fault injection for the file layer. Every file-system call of the platform layer asks Check()
// first, so a test can make the N-th call (of chosen kinds) fail with a chosen errno, or transfer
// fewer bytes than asked, and watch the caller cope. Nothing is armed in production.
#pragma once

#include <cstdint>
#include <vector>

namespace vh::platform::fault {

enum Op : unsigned {
    kOpen = 1u << 0,
    kRead = 1u << 1,
    kWrite = 1u << 2,
    kClose = 1u << 3,
    kStat = 1u << 4,
    kRemove = 1u << 5,
    kMakeDir = 1u << 6,
    kRename = 1u << 7,
    kAttr = 1u << 8,
    kList = 1u << 9,
    kSync = 1u << 10,
    kAny = 0xFFFFu,
};

enum class Kind {
    kError,  // the call fails with `err`
    kShort,  // a read or write moves only part of what was asked (other calls: no effect)
    // A read or write moves part of what was asked and the next matching call, the one that
    // would move the rest, fails with `err`: a disk that fills up in the middle of a record.
    // Other calls fail at once.
    kShortThenError,
    // The process is killed (SIGKILL) just before the nth matching call: a crash or a power cut
    // at that point, for the crash tests. Where there is no SIGKILL the process ends at once.
    kKill,
};

struct Plan {
    unsigned ops = kAny;  // which calls count
    int nth = 1;          // 1 = the next matching call; 0 (not sticky): never
    Kind kind = Kind::kError;
    int err = 0;          // errno for kError
    bool sticky = false;  // keep failing every matching call from the nth on
};

void Arm(const Plan& plan);
void Disarm();
// Number of matching calls seen since Arm, and whether the fault has fired.
int SeenSinceArm();
bool Fired();
// The kinds of the matching calls since Arm, in order: the order of a write path's steps.
const std::vector<Op>& Trace();
// Total platform file-system calls since the program started (any kind).
std::uint64_t TotalCalls();

struct Outcome {
    int err = 0;  // non-zero: fail with this errno
    bool shortTransfer = false;
};
Outcome Check(Op op);

// Arms on construction, disarms on destruction.
class Scoped {
  public:
    explicit Scoped(const Plan& plan) { Arm(plan); }
    ~Scoped() { Disarm(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
};

}  // namespace vh::platform::fault
