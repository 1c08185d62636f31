// Framing the serial master controller's codes from its byte stream, on host times given by
// the test: the longest code first, bytes that start none dropped, the start of a code held a
// while for its rest, and never more held than the longest code whatever the line sends.
#include "input/serial_framer.h"

#include <gtest/gtest.h>

#include <random>

#include "data/controller_map.h"

namespace velimoro {
namespace {

using Piece = SerialFramer::Piece;

Piece code(const std::string& bytes) {
  return {bytes, true};
}
Piece dropped(const std::string& bytes) {
  return {bytes, false};
}

ControllerMap mapOf(std::initializer_list<const char*> lines) {
  ControllerMap map;
  for (const char* line : lines)
    map.MapLines[static_cast<std::size_t>(map.MapLineCount++)] = line;
  return map;
}

// "MP1" is the start of "MP10"; "ＥＢ" is two CP932 characters of two bytes; a line of six
// characters and an empty line are no codes.
const ControllerMap kMap = mapOf({"MP1", "MP10", "MN", "ＥＢ", "TOOLNG", ""});

TEST(SerialFramer, CutsCodesLongestFirstDropsWhatStartsNoneAndHoldsAStartForItsRest) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::int64_t, std::string>> writes;  // host ms, bytes
    std::vector<Piece> pieces;                                 // by 1 s later
  };
  const std::string eb = "\x82\x64\x82\x61";  // "ＥＢ" in CP932
  const Case cases[] = {
      {"two codes in one read", {{0, "MNMP10"}}, {code("MN"), code("MP10")}},
      {"byte by byte", {{0, "M"}, {1, "P"}, {2, "1"}, {3, "0"}}, {code("MP10")}},
      {"a code split 3 ms apart", {{0, "MP"}, {3, "10"}}, {code("MP10")}},
      {"a shorter code when the rest never comes", {{0, "MP1"}}, {code("MP1")}},
      {"a shorter code ended by what follows", {{0, "MP1MN"}}, {code("MP1"), code("MN")}},
      {"noise around codes",
       {{0, "\r\nxMN\xFFM"}, {1, "N?"}},
       {dropped("\r\nx"), code("MN"), dropped("\xFF"), code("MN"), dropped("?")}},
      {"a start whose rest comes too late", {{0, "MP"}, {60, "MN"}}, {dropped("MP"), code("MN")}},
      {"a start that turns out to be none", {{0, "MPMN"}}, {dropped("MP"), code("MN")}},
      {"CP932 codes, split inside a character",
       {{0, eb.substr(0, 3)}, {2, eb.substr(3)}},
       {code(eb)}},
      {"lines that are no codes", {{0, "TOOLNG"}}, {dropped("TOOLNG")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SerialFramer framer(kMap);
    std::vector<Piece> pieces;
    const auto take = [&pieces](std::vector<Piece> more) {
      for (Piece& piece : more) {
        if (!piece.code && !pieces.empty() && !pieces.back().code) {
          pieces.back().bytes += piece.bytes;
        } else {
          pieces.push_back(std::move(piece));
        }
      }
    };
    for (const auto& [atMs, bytes] : c.writes) {
      take(framer.expire(atMs));
      take(framer.receive(bytes, atMs));
    }
    // A host that wakes when the hold ends, a little late.
    take(framer.expire(framer.holdEndsMs() + 2));
    EXPECT_EQ(framer.holdEndsMs(), -1);
    EXPECT_EQ(pieces, c.pieces);
  }
}

TEST(SerialFramer, AFloodOfRandomBytesKeepsEveryCodeBetweenAndHoldsNoMoreThanACode) {
  // The bytes of the flood start no code; the codes between are written whole or in two
  // pieces, and some starts of codes are cut off by the flood.
  const ControllerMap map = mapOf({"MP1", "MP2", "MN", "MB1", "MB8", "MEB", "RF", "BANN"});
  SerialFramer framer(map);
  std::mt19937 random(7);
  std::string sent;
  std::vector<std::string> expected;
  std::vector<std::string> got;
  std::size_t droppedBytes = 0;
  std::size_t noiseBytes = 0;
  std::int64_t now = 0;
  const auto take = [&](const std::vector<Piece>& pieces) {
    for (const Piece& piece : pieces) {
      if (piece.code) {
        got.push_back(piece.bytes);
      } else {
        droppedBytes += piece.bytes.size();
      }
    }
  };
  for (int round = 0; round < 2000; ++round) {
    std::string noise(random() % 600, '\0');
    for (char& byte : noise) {
      do {
        byte = static_cast<char>(random());
      } while (byte == 'M' || byte == 'R' || byte == 'B');
    }
    if (round % 7 == 0) noise += "MB";  // a start cut off by what follows
    noiseBytes += noise.size();
    const std::string& next = map.MapLines[random() % 8];
    expected.push_back(next);
    const std::string bytes = noise + next;
    const std::size_t cut = random() % (bytes.size() + 1);
    take(framer.receive(bytes.substr(0, cut), now));
    take(framer.receive(bytes.substr(cut), now + 1));
    now += 2;
  }
  take(framer.expire(now + SerialFramer::kHoldMs));
  EXPECT_EQ(got, expected);
  EXPECT_EQ(droppedBytes, noiseBytes);

  // However long a flood of bytes that start codes, what is held stays shorter than a code.
  std::string starts(1 << 20, 'M');
  for (std::size_t i = 0; i < starts.size(); i += 2)
    starts[i] = 'B';
  std::size_t heldMost = 0;
  for (std::size_t at = 0; at < starts.size(); at += 4093) {
    take(framer.receive(std::string_view(starts).substr(at, 4093), now));
    heldMost = std::max(heldMost, framer.heldBytes());
  }
  EXPECT_EQ(got, expected);
  EXPECT_GT(heldMost, 0u);
  EXPECT_LT(heldMost, 4u);  // "BANN"
}

}  // namespace
}  // namespace velimoro
