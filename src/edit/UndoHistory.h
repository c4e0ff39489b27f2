#pragma once

#include "params/ParameterImage.h"

#include <array>
#include <cstdint>

namespace orna5 {

// One remembered state: the whole image and the tab page that was showing
// when it was recorded.
struct UndoState {
    ParameterImage image{};
    std::uint8_t page = 0;
};

// A ring of the last image states for undo and redo. The states from oldest
// forward to newest (wrapping from the last slot to slot 0) are valid and
// current is among them; a full ring gives up its oldest state, so at most
// kUndoSlots - 1 undo steps are possible.
//
// The ring only keeps images; the window restores the returned state into its
// image and controls, brings the page to the front, refreshes the enabling of
// its buttons from CanUndo/CanRedo and decides about programming the unit.
class UndoHistory {
public:
    static constexpr std::uint16_t kUndoSlots = 200;

    // Starts over with the given state as the only one.
    void InitUndoHistory(const ParameterImage& image, std::uint8_t page);

    // Appends the state after current when the image differs from the current
    // state (the page alone does not count), dropping any redo states.
    // Returns whether the image differed.
    bool RecordUndoState(const ParameterImage& image, std::uint8_t page);

    // Step back or forward; the state to restore, or nullptr when there is
    // nothing to step to. The pointer stays valid until the next record.
    const UndoState* Undo();
    const UndoState* Redo();

    bool CanUndo() const { return current != oldest; }
    bool CanRedo() const { return current != newest; }

    std::uint16_t Oldest() const { return oldest; }
    std::uint16_t Current() const { return current; }
    std::uint16_t Newest() const { return newest; }

private:
    static std::uint16_t Next(std::uint16_t slot);
    static std::uint16_t Previous(std::uint16_t slot);

    // Not named "slots": Qt defines that word as a macro.
    std::array<UndoState, kUndoSlots> ring{};
    std::uint16_t oldest = 0;
    std::uint16_t current = 0;
    std::uint16_t newest = 0;
};

} // namespace orna5
