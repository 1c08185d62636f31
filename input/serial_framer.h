#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/controller_map.h"

namespace velimoro {

/// Cuts the serial master controller's codes out of its byte stream. The line delivers bytes as
/// they come, one or a few per read and several codes in one read, so a read is no code: codes
/// are cut from the head of a receive buffer by the lines of "mascon.dat", the longest that
/// fits first; a byte that can start no code is dropped; bytes that may still grow into a code
/// are held a short while and dropped when the rest does not come. What is held never exceeds
/// the longest code, whatever the line sends.
class SerialFramer {
 public:
  /// How long the start of a code waits for its rest. At 19200 baud a byte takes half a
  /// millisecond, but USB serial adapters pass bytes on in bursts up to 16 ms apart and a busy
  /// machine may hand them on later still. Waiting costs little: only bytes that may still
  /// grow into a code wait, and with the usual map no code begins another.
  static constexpr std::int64_t kHoldMs = 50;

  /// A piece of the stream: a whole code, or bytes that spelled none (consecutive ones joined).
  struct Piece {
    std::string bytes;
    bool code = false;
    bool operator==(const Piece&) const = default;
  };

  /// Frames by the map lines of one to five characters (longer ones never match a code), in
  /// the CP932 bytes the controller sends; lines CP932 cannot spell are no codes.
  explicit SerialFramer(const ControllerMap& map);

  /// Takes the bytes received at host time `nowMs` and returns the pieces they completed.
  std::vector<Piece> receive(std::string_view bytes, std::int64_t nowMs);
  /// Returns the pieces of held bytes whose hold has run out by `nowMs`.
  std::vector<Piece> expire(std::int64_t nowMs);
  /// Host time at which the held bytes run out; -1 when none are held.
  std::int64_t holdEndsMs() const { return m_held.empty() ? -1 : m_lastBytesMs + kHoldMs; }
  /// How many bytes wait for the rest of a code.
  std::size_t heldBytes() const { return m_held.size(); }
  /// Forgets the held bytes (the line was closed).
  void clear() { m_held.clear(); }

 private:
  void frame(bool expired, std::vector<Piece>& out);

  std::vector<std::string> m_codes;
  std::array<bool, 256> m_starts{};  // the first bytes of codes
  std::string m_held;
  std::int64_t m_lastBytesMs = 0;
};

}  // namespace velimoro
