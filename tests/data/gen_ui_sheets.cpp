// Builds the data-set generator's ui_sheets module into the data tests.
#include "../../tools/datagen/ui_sheets.cpp"
