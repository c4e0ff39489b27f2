#include "edit/UndoHistory.h"

namespace orna5 {

std::uint16_t UndoHistory::Next(std::uint16_t slot) {
    return slot + 1 >= kUndoSlots ? 0 : static_cast<std::uint16_t>(slot + 1);
}

std::uint16_t UndoHistory::Previous(std::uint16_t slot) {
    return slot == 0 ? static_cast<std::uint16_t>(kUndoSlots - 1)
                     : static_cast<std::uint16_t>(slot - 1);
}

void UndoHistory::InitUndoHistory(const ParameterImage& image, std::uint8_t page) {
    oldest = 0;
    current = 0;
    newest = 0;
    ring[0] = UndoState{image, page};
}

bool UndoHistory::RecordUndoState(const ParameterImage& image, std::uint8_t page) {
    if (image == ring[current].image) {
        return false;
    }
    current = Next(current);
    newest = current;
    if (oldest == current) {
        oldest = Next(oldest);
    }
    ring[current] = UndoState{image, page};
    return true;
}

const UndoState* UndoHistory::Undo() {
    if (current == oldest) {
        return nullptr;
    }
    current = Previous(current);
    return &ring[current];
}

const UndoState* UndoHistory::Redo() {
    if (current == newest) {
        return nullptr;
    }
    current = Next(current);
    return &ring[current];
}

} // namespace orna5
