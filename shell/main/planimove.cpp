// Planimove, the full edition.
#include "shell/qt/run_program.h"

int main(int argc, char** argv) { return pm::runProgram(argc, argv, pm::planimoveEdition()); }
