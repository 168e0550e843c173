#include "app/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initQuenmarResources() {
    Q_INIT_RESOURCE(quenmar);
}

namespace quenmar::app {

void initResources() {
    initQuenmarResources();
}

} // namespace quenmar::app
