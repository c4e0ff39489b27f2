#pragma once

#include <cstdint>

namespace orna5 {

enum class Operation : std::uint8_t { Idle = 0, Program = 1, Verify = 2, Read = 3 };

// How an operation ended. A Read or Program ends after its closing Verify,
// so either can end in VerifyError. The resends running out end in the error
// of the phase when the unit still answers, in NoConnection when it has been
// silent long enough for the "No Connection" indicator to show.
enum class Outcome : std::uint8_t {
    Success,
    ReadError,
    ProgramError,
    VerifyError,
    VersionMismatch,
    NoConnection,
    // A Program stopped before writing anything: the `before program`
    // restore point of what the unit held could not be put on disk.
    BackupNotKept
};

// The operation the user started (never the closing Verify) and its end.
struct OperationOutcome {
    Operation operation = Operation::Idle;
    Outcome outcome = Outcome::Success;
};

} // namespace orna5
