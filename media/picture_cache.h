#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/ffmpeg_support.h"
#include "media/video_reader.h"

namespace velimoro::media {

/// The frames decoded last, as the decoder gave their pictures (no copy), with the failures of
/// those that did not decode (so a damaged frame is not decoded again and again), within a budget
/// of bytes. When full, it gives up the frames the train has passed first, then those farthest
/// ahead.
class PictureCache {
 public:
  struct Entry {
    int frame = -1;
    bool ok = false;
    ffmpeg::FramePtr picture;  // a reference to the decoder's picture; null when failed
    std::size_t bytes = 0;
  };

  /// A cache of at most `budgetBytes` of pictures of about `pictureBytes` each, and of at most
  /// `maxEntries` frames.
  PictureCache(std::size_t budgetBytes, std::size_t pictureBytes, int maxEntries);

  const Entry* find(int frame) const;
  /// Whether a frame decoded now would be kept, seen from the frame shown and the way it goes.
  bool worthKeeping(int frame, int anchor, int direction) const;
  /// Keeps `frame` with a reference to `picture`, or as failed when `picture` is null.
  void store(int frame, const AVFrame* picture, int anchor, int direction);
  /// Frames the budget holds.
  int capacity() const { return m_capacity; }
  std::size_t bytes() const { return m_bytes; }

 private:
  // Larger goes first: passed frames before frames ahead, far before near.
  static std::int64_t evictionRank(int frame, int anchor, int direction) {
    const std::int64_t ahead = static_cast<std::int64_t>(frame - anchor) * direction;
    return ahead < 0 ? (std::int64_t{1} << 40) - ahead : ahead;
  }
  Entry* mostEvictable(int anchor, int direction);

  std::size_t m_budget;
  int m_maxEntries;
  int m_capacity;
  std::size_t m_bytes = 0;
  std::vector<Entry> m_entries;
};

/// Converts decoded pictures to RGB, scaled to the size asked for.
class RgbConverter {
 public:
  /// `picture` as RGB of `width` x `height` in `out`'s layout into `out`; false when it cannot
  /// be converted.
  bool convert(const AVFrame& picture, int width, int height, RgbPicture& out);

 private:
  struct ScalerKey {
    int width;
    int height;
    AVPixelFormat format;
    bool fullRange;
    int colours;  // the frame's AVColorSpace as it holds it
    PixelLayout layout;
    bool operator==(const ScalerKey&) const = default;
  };
  ffmpeg::ScalerPtr m_scaler;
  ScalerKey m_key{};
  int m_outWidth = 0;
  int m_outHeight = 0;
  std::vector<std::uint8_t> m_padded;
};

}  // namespace velimoro::media
