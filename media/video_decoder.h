#pragma once

#include <string>

#include "media/ffmpeg_support.h"
#include "media/video_frame_index.h"

namespace velimoro::media {

/// One demuxer and decoder over a video file's first video stream, with the index of its frames.
/// It gives out frames in presentation order from wherever it was aimed, each named by its frame
/// number however the decoder reorders, skips or delays pictures. One thread at a time uses it.
class VideoDecoder {
 public:
  enum class Status { kDecoded, kFailed, kEnd };
  struct Output {
    int frame = -1;
    Status status = Status::kEnd;
  };

  /// Opens `path`, indexes its first video stream and opens a decoder for it; false with `error`
  /// set when the file cannot be read, has no video stream, no decoder for it, a picture size the
  /// reader cannot hold, or no video packet.
  bool open(const std::string& path, std::string& error);
  const VideoFrameIndex& index() const { return m_index; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  /// Bytes of one picture as the decoder gives it, for the cache's budget.
  std::size_t pictureBytes() const { return m_pictureBytes; }

  /// Makes frame `n` (one with a picture of its own) come out of next(): decodes on from where
  /// the decoder is when n lies ahead in the same run, else seeks to the keyframe n decodes from.
  /// Frames before `keepFrom` need not come out, so the decoder may skip those no other picture
  /// leans on.
  void aimAt(int n, int keepFrom);
  /// The next frame: decoded (its picture in picture()), failed (damaged), or the end (the file
  /// ends early or cannot be read any more; the next frame needs aimAt first).
  Output next();
  /// The picture of the frame next() last gave as decoded, in the decoder's own format.
  const AVFrame* picture() const { return m_frame.get(); }

 private:
  bool buildIndex(int headerEntries);
  bool indexFromHeader(int headerEntries);
  bool firstPacketIs(const VideoFrameIndex::Packet& key);
  void readIndex();
  bool clockCountsFrames(const std::vector<std::int64_t>& dts) const;
  bool openCodec(std::string& error);
  int frameOfOutput(const AVFrame& frame);
  bool sendPacket();
  void resetDecoder();
  void startDraining();
  void placeAt(int key);
  void seekTo(int key);
  bool checkLanding();
  void restartFromBeginning(int skipUntil);
  bool reopenDemuxer();

  std::string m_path;
  ffmpeg::FormatPtr m_format;
  ffmpeg::CodecPtr m_codec;
  ffmpeg::PacketPtr m_packet;
  ffmpeg::FramePtr m_frame;     // the last picture decoded
  ffmpeg::FramePtr m_received;  // the decoder's output before it is taken
  const AVCodec* m_decoder = nullptr;
  int m_stream = -1;
  int m_width = 0;
  int m_height = 0;
  std::size_t m_pictureBytes = 0;
  VideoFrameIndex m_index;

  bool m_positioned = false;  // false: the next frame needs a seek first
  bool m_broken = false;      // the file can no longer be read
  bool m_draining = false;    // the demuxer ended; the decoder gives out what it holds
  int m_landing = -1;         // after a seek: the keyframe the first packet should be
  int m_runKey = 0;           // the keyframe this run of decoding started at
  int m_nextPacket = 0;       // number of the next video packet the demuxer gives
  int m_skipUntil = 0;        // packets before this are read but not decoded
  int m_skipBelow = 0;        // frames before this may be skipped (by time only)
  int m_target = 0;           // the frame asked for last
  int m_keepFrom = 0;
  int m_lastFrame = -1;   // the last frame given out since the run started
  int m_releaseTick = 0;  // by output: the clock tick of the packet that gave the last picture
};

}  // namespace velimoro::media
