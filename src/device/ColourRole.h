#pragma once

namespace orna5 {

// Colours the core asks for; the shell maps them to real colours. ButtonFace
// and Window are the desktop's normal label and edit backgrounds.
enum class ColourRole { ButtonFace, Window, Red, Yellow, Lime, Fuchsia, Aqua };

} // namespace orna5
