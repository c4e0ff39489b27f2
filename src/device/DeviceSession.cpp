#include "device/DeviceSession.h"

namespace orna5 {

DeviceSession::DeviceSession(ParameterImage& image) : image(image) {}

} // namespace orna5
