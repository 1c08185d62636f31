#include "support/csv_table.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace velimoro::testing {
namespace {

std::vector<std::string> splitCsvLine(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        cells.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

}  // namespace

std::vector<CsvRow> readCsvFile(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> header = splitCsvLine(line);
  std::vector<CsvRow> rows;
  while (std::getline(in, line)) {
    const std::vector<std::string> cells = splitCsvLine(line);
    CsvRow row;
    for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i)
      row[header[i]] = cells[i];
    rows.push_back(row);
  }
  return rows;
}

bool sameCell(const std::string& expected, const std::string& actual) {
  if (expected == actual) return true;
  char* endE = nullptr;
  char* endA = nullptr;
  const double e = std::strtod(expected.c_str(), &endE);
  const double a = std::strtod(actual.c_str(), &endA);
  if (expected.empty() || actual.empty() || *endE != '\0' || *endA != '\0') return false;
  return std::fabs(e - a) <= 1e-4 + 1e-6 * std::fabs(e);
}

}  // namespace velimoro::testing
