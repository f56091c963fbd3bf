#pragma once

namespace loader {

// Registers the loader's resources (icon, logo, licence texts). They live in
// a static library, whose resource initialiser the linker would otherwise
// drop; safe to call any number of times.
void initResources();

} // namespace loader
