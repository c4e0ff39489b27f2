// View > Map table: the table editor of the advance map, one per window,
// kept when closed so that it opens again where the user left it.

#include "app/form/FormHlav.h"
#include "app/views/MapTableWindow.h"

namespace orna5 {

void TFormHlav::MenuMapTableClick() {
    if (!mapTableWindow)
        mapTableWindow = new MapTableWindow(*this);
    mapTableWindow->show();
    mapTableWindow->raise();
    mapTableWindow->activateWindow();
}

} // namespace orna5
