// Names its own source file the way the compiler writes file names into the
// programs it builds with the shipped programs' options (assertions and
// diagnostics do): check_programs.py looks for the name, and for no absolute
// folder around it.
#include <cstdio>

int main() { return std::puts(__FILE__) < 0 ? 1 : 0; }
