// Builds the data-set generator's datagen module into the data tests.
#include "../../tools/datagen/datagen.cpp"
