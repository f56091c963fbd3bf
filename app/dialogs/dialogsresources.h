#pragma once

// Registers the dialogs' icons, logos and the licence texts. They live in a
// static library, whose resource initialisers the linker would otherwise
// drop; safe to call any number of times.
void initDialogsResources();
