// Rautenwerk, the earlier edition (its own function keys and display menus).
#include "shell/qt/run_program.h"

int main(int argc, char** argv) { return pm::runProgram(argc, argv, pm::rautenwerkEdition()); }
