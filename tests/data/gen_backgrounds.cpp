// Builds the data-set generator's backgrounds module into the data tests.
#include "../../tools/datagen/backgrounds.cpp"
