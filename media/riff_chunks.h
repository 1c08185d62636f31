#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The chunk walk of a RIFF "WAVE" file, shared by the header reader of the data layer and the
// sound loader: header-only, standard library only.
namespace velimoro::media {

/// The little-endian 32-bit word at byte `at` of `bytes` (which holds at least at + 4 bytes).
inline std::uint32_t littleEndian32(std::span<const unsigned char> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

/// One chunk: its four-letter tag, the size its header claims and where its body begins. The
/// claimed size may run past the bytes at hand and past the file.
struct RiffChunk {
  std::string_view tag;
  std::uint32_t size = 0;
  std::size_t body = 0;

  /// Where the next chunk begins: after the body and the pad byte of an odd size.
  std::uint64_t end() const { return std::uint64_t{body} + size + (size & 1u); }
};

/// Calls `visit(chunk)` for each chunk of the "RIFF" "WAVE" file whose first bytes are `head`, in
/// order, as long as the chunk's 8-byte header lies within `head` and `visit` returns true. False
/// when `head` is no WAVE file.
template <typename Visit>
bool forEachWaveChunk(std::span<const unsigned char> head, Visit&& visit) {
  const auto tagAt = [&](std::size_t at) {
    return std::string_view(reinterpret_cast<const char*>(head.data()) + at, 4);
  };
  if (head.size() < 12 || tagAt(0) != "RIFF" || tagAt(8) != "WAVE") return false;
  for (std::uint64_t at = 12; at + 8 <= head.size();) {
    const auto offset = static_cast<std::size_t>(at);
    const RiffChunk chunk{tagAt(offset), littleEndian32(head, offset + 4), offset + 8};
    if (!visit(chunk)) break;
    at = chunk.end();
  }
  return true;
}

}  // namespace velimoro::media
