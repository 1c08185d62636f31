#pragma once

#include <map>
#include <string>
#include <vector>

namespace velimoro::testing {

using CsvRow = std::map<std::string, std::string>;

/// The rows of a CSV file with a header row (the headless driver's trace and events), each as
/// column name to text. Quoted cells are not split at their commas.
std::vector<CsvRow> readCsvFile(const std::string& path);

/// `column` of `row` as a number.
inline double number(const CsvRow& row, const std::string& column) {
  return std::stod(row.at(column));
}

/// Whether two trace cells agree: numbers to a millionth of their size (the last digits of long
/// double sums may differ between compilers), texts exactly.
bool sameCell(const std::string& expected, const std::string& actual);

}  // namespace velimoro::testing
