#include "app/program.h"

int main(int argc, char* argv[]) { return mk::app::runProgram(argc, argv); }
