// An exception that nothing catches, in a program with the shipped programs'
// terminate handler: it must end with the runtime's abort (exit code 3) and
// write nothing; the runtime's verbose handler would name the exception on the
// error stream, which goes to the output here (test_runtime.py).

#include <io.h>

#include <cstdio>
#include <stdexcept>

int main() {
  _dup2(_fileno(stdout), _fileno(stderr));
  throw std::runtime_error("caught nowhere");
}
