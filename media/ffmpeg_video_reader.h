#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/video_reader.h"

namespace velimoro::media {

class PictureCache;
class RgbConverter;
class VideoDecoder;

/// The video frame reader over FFmpeg (libavformat, libavcodec, libswscale), for every codec and
/// container FFmpeg reads. It indexes the packets of the file's first video stream once at open,
/// decodes exactly the frame asked for (in presentation order) by seeking to the keyframe it
/// decodes from, keeps the pictures it decoded last within a memory budget, and decodes ahead on a
/// worker thread when told where the train goes next: forwards frame by frame, backwards the
/// stretch behind the train in one forward pass.
class FfmpegVideoReader final : public VideoReader {
 public:
  FfmpegVideoReader();
  ~FfmpegVideoReader() override;
  FfmpegVideoReader(const FfmpegVideoReader&) = delete;
  FfmpegVideoReader& operator=(const FfmpegVideoReader&) = delete;

  /// Opens `path` and indexes its first video stream; false with `error` set when the file
  /// cannot be read, has no video stream, no decoder for it, or no video packet.
  bool open(const std::string& path, std::string& error) override;
  /// Frames the file's first video stream shows; 0 when none is open.
  int frameCount() const override;
  /// Decodes frame `n` as RGB at the video's own size or the one set; false when out of range or
  /// undecodable.
  bool decodeFrame(int n, RgbPicture& picture) override;
  /// Sizes past 8192 a side or 4096 x 2304 pixels give the video's own size.
  void setOutputSize(int width, int height) override;
  /// Decodes frames `n`, `n + direction`, … ahead on the worker thread.
  void prefetch(int n, int direction) override;
  /// Decodes these frames on the worker, with a decoder of their own while the train needs
  /// nothing ahead, and keeps as many of their pictures as a share of the budget holds.
  void expectJumps(const std::vector<int>& frames) override;
  /// Whether every frame expectJumps kept room for is decoded (or found undecodable).
  bool jumpsReady() const;

 private:
  struct Plan {
    int from = -1;  // frames from … to to decode in one forward pass; from < 0: none
    int to = -1;
  };

  void stopWorker();
  void startWorker();
  void workerLoop();
  bool decodeJumpTarget();
  Plan nextPlan() const;  // needs m_stateMutex
  bool planDone(const Plan& plan) const;

  // Lock order: m_decoderMutex before m_stateMutex. The worker holds the decoder for one frame
  // at a time, so decodeFrame never waits longer than one frame's decoding for it.
  std::mutex m_decoderMutex;
  std::unique_ptr<VideoDecoder> m_decoder;  // guarded by m_decoderMutex

  mutable std::mutex m_stateMutex;
  std::condition_variable m_wake;
  std::unique_ptr<PictureCache> m_cache;  // guarded by m_stateMutex
  // The index's numbering of frames to pictures, which stays as open made it.
  const VideoDecoder* m_frames = nullptr;
  int m_frameCount = 0;  // these three are set by open with the worker stopped
  int m_width = 0;
  int m_height = 0;
  int m_anchor = 0;     // the frame the train shows now
  int m_direction = 1;  // where it goes next
  bool m_prefetchWanted = false;
  Plan m_plan;              // the worker's pass under way
  int m_callerWaiting = 0;  // decodeFrame wants the decoder: the worker stands aside
  // The frames a jump may land on and their pictures; see expectJumps.
  struct Jumps;
  std::unique_ptr<Jumps> m_jumps;
  std::string m_path;
  bool m_stop = false;
  std::thread m_worker;

  std::mutex m_convertMutex;  // the caller's conversion to RGB
  std::unique_ptr<RgbConverter> m_converter;
  int m_outWidth = 0;  // guarded by m_convertMutex; 0: the video's own size
  int m_outHeight = 0;
};

}  // namespace velimoro::media
