// The data file's reals written by the Windows runtime: every value of the
// sweep (tests/datafile/RealTextSweep.h) must read as std::to_chars wrote it,
// also with a C locale whose decimal separator is a comma. Prints what it
// checked and the first difference; exits with 1 on any.

#include <clocale>
#include <cstdio>
#include <string>

#include "datafile/LIB_Data1_ReadWrite.h"
#include "tests/datafile/RealTextSweep.h"

using namespace vorpane::datafile;

namespace {

int differences = 0;

void compare(double value) {
  const std::string text = FormatGeneralReal(value);
  const std::string before = test::ToCharsRealText(value);
  if (text == before) return;
  if (differences++ == 0) std::printf("FAIL %s, was %s\n", text.c_str(), before.c_str());
}

}  // namespace

int main() {
  const test::RealSweep sweep = test::DataFileRealSweep().run(compare);
  std::printf("%llu values (%llu in the exponent form), %d differ\n",
              static_cast<unsigned long long>(sweep.values),
              static_cast<unsigned long long>(sweep.exponentForms), differences);
  // The program never changes the C locale; should anything do so, the
  // separator in the file stays a point.
  if (std::setlocale(LC_NUMERIC, "German_Germany.1252") == nullptr) {
    std::printf("FAIL no locale with a comma to try\n");
    return 1;
  }
  for (double value : {45417.5515625, -1.5e-7, 0.333333333333333}) compare(value);
  std::printf("with the separator \"%s\": %d differ\n", std::localeconv()->decimal_point, differences);
  std::fflush(stdout);
  return differences == 0 && sweep.exponentForms > 0 ? 0 : 1;
}
