#include "params/FieldTable.h"

#include <iterator>

namespace orna5 {

namespace {

namespace s = fieldScale;

const FieldScale* const kRows[] = {
    &s::limiter,  &s::shiftLight,      &s::clutchTime,      &s::clutchPause, &s::tpsZero,
    &s::tpsFull,  &s::tachoCorrection, &s::mapRpm,          &s::baseAdvance, &s::mapAdvance,
    &s::servoRpm, &s::servoMv,         &s::servoHysteresis,
};

} // namespace

const FieldScale* const* FieldTable(std::size_t& rows) {
    rows = std::size(kRows);
    return kRows;
}

const FieldScale* FieldAt(std::size_t offset) {
    for (const FieldScale* row : kRows) {
        if (offset >= row->offset && offset < row->offset + row->count) {
            return row;
        }
    }
    return nullptr;
}

} // namespace orna5
