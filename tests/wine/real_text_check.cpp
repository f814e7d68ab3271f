// The data file's reals written by the Windows runtime: every value of the
// sweep (tests/datafile/RealTextSweep.h) must read as std::to_chars wrote it,
// also with a C locale whose decimal separator is a comma. A GoogleTest
// program; exit code 0 when every expectation held. Prints what it checked; a
// difference is reported with the first value that differs.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "datafile/LIB_Data1_ReadWrite.h"
#include "tests/datafile/RealTextSweep.h"

using namespace vorpane::datafile;

namespace {

// Compares the runtime's text of each value with std::to_chars's; counts the
// differences and keeps the first.
struct Comparison {
  unsigned long long differences = 0;
  std::string first;

  void operator()(double value) {
    const std::string text = FormatGeneralReal(value);
    const std::string before = test::ToCharsRealText(value);
    if (text == before) return;
    if (differences++ == 0) first = text + ", was " + before;
  }
};

TEST(RealText, EveryRealOfTheSweepKeepsItsText) {
  Comparison compare;
  const test::RealSweep sweep = test::DataFileRealSweep().run([&](double value) { compare(value); });
  std::printf("%llu values (%llu in the exponent form), %llu differ\n",
              static_cast<unsigned long long>(sweep.values),
              static_cast<unsigned long long>(sweep.exponentForms), compare.differences);
  EXPECT_EQ(compare.differences, 0u) << "the first: " << compare.first;
  EXPECT_GT(sweep.exponentForms, 0u) << "the sweep reaches the exponent form";
}

// The program never changes the C locale; should anything do so, the
// separator in the file stays a point.
TEST(RealText, ACommaLocaleLeavesThePoint) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "German_Germany.1252"), nullptr) << "no locale with a comma to try";
  Comparison compare;
  for (double value : {45417.5515625, -1.5e-7, 0.333333333333333}) compare(value);
  std::printf("with the separator \"%s\": %llu differ\n", std::localeconv()->decimal_point, compare.differences);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(compare.differences, 0u) << "the first: " << compare.first;
}

}  // namespace
