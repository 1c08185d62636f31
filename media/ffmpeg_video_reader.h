#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/video_reader.h"

namespace velimoro::media {

/// The video frame reader over FFmpeg (libavformat, libavcodec, libswscale). It indexes the
/// packets of the file's first video stream once at open (from the index an AVI file carries, else
/// by reading every packet), decodes exactly the frame asked for by seeking to the keyframe before
/// it, keeps the last frames it decoded, and decodes ahead on a worker thread when told where the
/// train goes next.
class FfmpegVideoReader final : public VideoReader {
 public:
  FfmpegVideoReader();
  ~FfmpegVideoReader() override;
  FfmpegVideoReader(const FfmpegVideoReader&) = delete;
  FfmpegVideoReader& operator=(const FfmpegVideoReader&) = delete;

  /// Opens `path` and indexes its first video stream; false with `error` set when the file
  /// cannot be read, has no video stream, no decoder for it, or no video packet.
  bool open(const std::string& path, std::string& error) override;
  /// Video packets in the file's first video stream; 0 when none is open.
  int frameCount() const override;
  /// Decodes frame `n` as RGB at the video's own size; false when out of range or undecodable.
  bool decodeFrame(int n, RgbPicture& picture) override;
  /// Decodes frames `n`, `n + direction`, … ahead on the worker thread, a few at a time.
  void prefetch(int n, int direction) override;

 private:
  class Decoder;
  class FrameCache;

  void copyOut(const std::vector<std::uint8_t>& pixels, RgbPicture& picture) const;
  void stopWorker();
  void workerLoop();
  int nextFrameToPrefetch() const;  // needs m_stateMutex

  // Lock order: m_decoderMutex before m_stateMutex. The decoder is held for one frame at a time
  // by the worker, so decodeFrame never waits longer than one frame's decoding for it.
  std::mutex m_decoderMutex;
  std::unique_ptr<Decoder> m_decoder;  // guarded by m_decoderMutex
  // Converted pictures on their way into the cache, in the decoder's padded rows: the worker's
  // and decodeFrame's. Guarded by m_decoderMutex.
  std::vector<std::uint8_t> m_workerPixels;
  std::vector<std::uint8_t> m_callerPixels;

  mutable std::mutex m_stateMutex;
  std::condition_variable m_wake;
  std::unique_ptr<FrameCache> m_cache;  // guarded by m_stateMutex
  int m_frameCount = 0;                 // these four are set by open with the worker stopped
  int m_width = 0;
  int m_height = 0;
  std::size_t m_stride = 0;  // bytes from one row of a cached picture to the next
  int m_anchor = 0;          // the frame the train shows now
  int m_direction = 1;       // where it goes next
  bool m_prefetchWanted = false;
  int m_callerWaiting = 0;  // decodeFrame wants the decoder: the worker stands aside
  bool m_stop = false;
  std::thread m_worker;
};

}  // namespace velimoro::media
