// Builds the data-set generator's texts module into the data tests.
#include "../../tools/datagen/texts.cpp"
