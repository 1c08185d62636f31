#include "data/ui_strings.h"

#include <iterator>
#include <string_view>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/read_log.h"
#include "data/text_file.h"
#include "media/translate.h"

namespace velimoro {
namespace {

constexpr std::string_view kFileName = "dorvanel.dat";
// The message names the file, and the line where one is at fault.
[[noreturn]] void fail(int line) {
  if (line > 0) {
    throw DataError(
        media::fill(media::translate("UiStrings", "stringファイルに誤りがあります:%1:%2"),
                    {kFileName, std::to_string(line)}));
  }
  throw DataError(
      media::fill(media::translate("UiStrings", "stringファイルに誤りがあります:%1"), {kFileName}));
}

struct KeyTest {
  std::string_view key;
  std::string UiStrings::*field;
};

// The keys in the order every line is tested against them.
constexpr KeyTest kKeyTests[] = {
    {"[Path]", &UiStrings::Path},         {"[Forward]", &UiStrings::Forward},
    {"[Neutral]", &UiStrings::Neutral},   {"[Reverse]", &UiStrings::Reverse},
    {"[Stop]", &UiStrings::Stop},         {"[Pass]", &UiStrings::Pass},
    {"[Stop2]", &UiStrings::Stop2},       {"[Neut]", &UiStrings::Neut},
    {"[Neut2]", &UiStrings::Neut2},       {"[Apply]", &UiStrings::Apply},
    {"[Maintain]", &UiStrings::Maintain}, {"[Hold]", &UiStrings::Hold},
    {"[Hold2]", &UiStrings::Hold2},       {"[EB]", &UiStrings::EB},
    {"[Start]", &UiStrings::Start},       {"[Move]", &UiStrings::Move},
    {"[Display]", &UiStrings::Display},   {"[Control]", &UiStrings::Control},
    {"[Save]", &UiStrings::Save},
};
static_assert(std::size(kKeyTests) == 19, "the file has 19 keys");

}  // namespace

UiStrings readUiStrings(const std::string& root, ReadLog* log) {
  UiStrings strings;
  // A fault ends the reading, or with a log is noted and the reading goes on.
  const auto fault = [log](int line) {
    if (log == nullptr) fail(line);
    log->fault(line, media::translate("UiStrings", "stringファイルに誤りがあります"));
  };
  TextFileReader file;
  if (!file.open(resolvePath(root, std::string(kFileName)))) {
    fault(0);
    return strings;
  }
  std::string line;
  for (;;) {
    const TextFileReader::Line result = file.readLine(line);
    if (result == TextFileReader::Line::kEnd) break;
    if (result == TextFileReader::Line::kBad) {
      fault(file.lineNumber());
      continue;
    }
    // A matching key's value line becomes the current line, so the keys after it are tested
    // against the value. A key on the last line has an empty value, as a missing key does.
    for (const KeyTest& test : kKeyTests) {
      if (!std::string_view(line).starts_with(test.key)) continue;
      if (log != nullptr) log->section(test.key, file.lineNumber());
      const TextFileReader::Line value = file.readLine(line);
      if (value == TextFileReader::Line::kBad) fault(file.lineNumber());
      if (value != TextFileReader::Line::kRead) line.clear();
      strings.*test.field = line;
    }
  }
  return strings;
}

std::string videoFileName(const UiStrings& strings, const std::string& dataName) {
  return strings.Path + dataName + ".avi";
}

std::string findVideoFileName(const std::string& root, const UiStrings& strings,
                              const std::string& dataName) {
  const std::string avi = videoFileName(strings, dataName);
  PathResolver paths;
  for (const char* extension : {".avi", ".mp4", ".mkv", ".webm", ".mov"}) {
    const std::string name = strings.Path + dataName + extension;
    bool exists = false;
    paths.resolve(root, name, &exists);
    if (exists) return name;
  }
  return avi;
}

}  // namespace velimoro
