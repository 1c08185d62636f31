#include "data/numbers.h"

#include <gtest/gtest.h>

#include "data/csv.h"

namespace velimoro {
namespace {

TEST(ParseInt, AcceptsSignAndLeadingBlanksOnly) {
  EXPECT_EQ(parseInt("42"), 42);
  EXPECT_EQ(parseInt("  -7"), -7);
  EXPECT_EQ(parseInt("+3"), 3);
  EXPECT_EQ(parseInt("\t5"), 5);
  EXPECT_EQ(parseInt("2147483647"), 2147483647);
  EXPECT_EQ(parseInt("-2147483648"), -2147483647 - 1);
  // Nothing may follow the digits, and an empty or sign-only line is no number.
  EXPECT_FALSE(parseInt("5 "));
  EXPECT_FALSE(parseInt("5a"));
  EXPECT_FALSE(parseInt("1.0"));
  EXPECT_FALSE(parseInt(""));
  EXPECT_FALSE(parseInt("-"));
  EXPECT_FALSE(parseInt("Error"));
  EXPECT_FALSE(parseInt("2147483648"));
  EXPECT_FALSE(parseInt("99999999999999999999999"));
}

TEST(ParseFixed, RoundsHalfToEvenAtTheFourthPlace) {
  EXPECT_EQ(parseFixed("1.5")->raw(), 15000);
  EXPECT_EQ(parseFixed(" -0.25 ")->raw(), -2500);
  EXPECT_EQ(parseFixed("3")->raw(), 30000);
  EXPECT_EQ(parseFixed(".5")->raw(), 5000);
  EXPECT_EQ(parseFixed("0.00005")->raw(), 0);   // half, 0 is even
  EXPECT_EQ(parseFixed("0.00015")->raw(), 2);   // half, 1 rounds up to 2
  EXPECT_EQ(parseFixed("0.000051")->raw(), 1);  // above half
  EXPECT_EQ(parseFixed("-0.00015")->raw(), -2);
  EXPECT_EQ(parseFixed("1.23456789")->raw(), 12346);
  EXPECT_EQ(parseFixed("2.5e2")->raw(), 2500000);
  EXPECT_EQ(parseFixed("1e-300")->raw(), 0);
  EXPECT_FALSE(parseFixed(""));
  EXPECT_FALSE(parseFixed("."));
  EXPECT_FALSE(parseFixed("1,5"));
  EXPECT_FALSE(parseFixed("Error"));
  EXPECT_FALSE(parseFixed("1e300"));
  EXPECT_FALSE(parseFixed("99999999999999999999"));
}

TEST(ParseReal, DecimalPointOnlyAndNoSpecialValues) {
  EXPECT_DOUBLE_EQ(*parseReal("0.35"), 0.35);
  EXPECT_DOUBLE_EQ(*parseReal("+2"), 2.0);
  EXPECT_DOUBLE_EQ(*parseReal(" -1.5e1 "), -15.0);
  EXPECT_EQ(*parseExtended("0.1"), 0.1L);
  EXPECT_FALSE(parseReal("1,5"));
  EXPECT_FALSE(parseReal("inf"));
  EXPECT_FALSE(parseReal("nan"));
  EXPECT_FALSE(parseReal("0x10"));
  EXPECT_FALSE(parseReal(""));
  EXPECT_FALSE(parseExtended("abc"));
}

TEST(CsvField, TakesTextBetweenCommasAndErrorBeyondTheLast) {
  EXPECT_EQ(csvField("1,2,3", 1), "1");
  EXPECT_EQ(csvField("1,2,3", 2), "2");
  EXPECT_EQ(csvField("1,2,3", 3), "3");
  EXPECT_EQ(csvField("1,2", 3), "Error");
  EXPECT_EQ(csvField("1,2", 4), "Error");
  EXPECT_EQ(csvField("abc", 1), "abc");
  EXPECT_EQ(csvField(" a , b", 2), " b");  // no trimming
  EXPECT_EQ(csvField("1,2,3,4", 2), "2");  // extra fields are ignored
  EXPECT_EQ(csvField("1,,3", 2), "");
  EXPECT_EQ(csvField("1,2,", 3), "");
  EXPECT_EQ(csvField("", 1), "");
}

}  // namespace
}  // namespace velimoro
