#include "device/RestoreRule.h"

#include "device/DeviceSession.h"

namespace orna5 {

std::vector<PointToKeep> PointsToKeep(const TickResult& result, const DeviceSession& session) {
    std::vector<PointToKeep> points;
    if (result.backup) {
        points.push_back({RestoreKind::BeforeProgram, *result.backup, true});
    }
    if (result.ended && result.ended->outcome == Outcome::Success) {
        // Every operation ends in a Verify that passed, so the unit holds
        // exactly what it sent in it.
        switch (result.ended->operation) {
        case Operation::Read:
            points.push_back({RestoreKind::Read, session.UnitBytes(), false});
            break;
        case Operation::Program:
            points.push_back({RestoreKind::Programmed, session.UnitBytes(), false});
            break;
        case Operation::Verify:
            points.push_back({RestoreKind::Verified, session.UnitBytes(), false});
            break;
        case Operation::Idle:
            break;
        }
    }
    return points;
}

} // namespace orna5
