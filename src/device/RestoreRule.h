#pragma once

#include "files/RestorePoint.h"
#include "params/ParameterImage.h"

#include <vector>

namespace orna5 {

class DeviceSession;
struct TickResult;

// A restore point that a tick asks the shell to keep.
struct PointToKeep {
    RestoreKind kind = RestoreKind::Read;
    // The unit's 200 bytes exactly as it sent them; 200..206 are zero.
    ParameterImage bytes;
    // The `before program` copy: the Program waits until the shell answers
    // DeviceSession::BackupKept() or BackupNotKept(). Otherwise the point of
    // an operation that passed: once it is on disk the shell says
    // DeviceSession::PointKept(), which lets the next Program skip its
    // backup read.
    bool backup = false;
};

// Which points a tick's result asks for, in the order they must be kept:
// the backup of a Program about to write, then the point of a Read, Program
// or Verify that passed. The window and orna5ctl both keep exactly these.
std::vector<PointToKeep> PointsToKeep(const TickResult& result, const DeviceSession& session);

} // namespace orna5
