// The subsystem hook table.
#include "core/hooks.h"

LibraryHooks g_libraryHooks;
