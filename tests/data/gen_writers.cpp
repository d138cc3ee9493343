// Builds the data-set generator's writers module into the data tests.
#include "../../tools/datagen/writers.cpp"
