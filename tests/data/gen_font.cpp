// Builds the data-set generator's font module into the data tests.
#include "../../tools/datagen/font.cpp"
