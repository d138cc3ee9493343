// Builds the data-set generator's noise module into the data tests.
#include "../../tools/datagen/noise.cpp"
