// Builds the data-set generator's figures module into the data tests.
#include "../../tools/datagen/figures.cpp"
