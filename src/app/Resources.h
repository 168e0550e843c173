#pragma once

namespace quenmar::app {

/// Registers the pictures compiled into the program (icons, splash). The program's windows
/// live in a static library, whose resources the linker would otherwise leave out.
void initResources();

} // namespace quenmar::app
