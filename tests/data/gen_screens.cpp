// Builds the data-set generator's screens module into the data tests.
#include "../../tools/datagen/screens.cpp"
