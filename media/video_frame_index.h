#pragma once

#include <cstdint>
#include <vector>

namespace velimoro::media {

/// Where each frame of a video stream is found: the stream's packets in decode order, which of
/// them are keyframes, and which frame shown each packet's picture is. Frames are numbered in
/// presentation order: by the packets' presentation times where every packet carries its own, else
/// (as in AVI files, whose B-frames carry none) by the ticks of the stream's clock, the decoder
/// giving the pictures out in that order.
class VideoFrameIndex {
 public:
  static constexpr std::int64_t kNoTime = INT64_MIN;  // FFmpeg's AV_NOPTS_VALUE

  enum class Order {
    kByTime,    // frame n is the packet with the n-th presentation time
    kByOutput,  // frame n is the picture the decoder gives out at tick n of the stream's clock
  };

  struct Packet {
    std::int64_t pos = -1;  // in the file; -1 when unknown
    std::int64_t dts = kNoTime;
    std::int64_t pts = kNoTime;
    bool key = false;
    bool empty = false;  // no data: a frame the capture dropped, which shows the frame before again
  };

  /// Starts an index anew.
  void clear();
  /// Adds the next packet in decode order.
  void add(const Packet& packet) { m_packets.push_back(packet); }
  int packetCount() const { return static_cast<int>(m_packets.size()); }
  const Packet& packet(int number) const { return m_packets[static_cast<std::size_t>(number)]; }
  /// Numbers the frames once every packet is in: by presentation time when `byTime` and every
  /// packet has a time of its own, else by clock ticks, `ticks[i]` being packet i's (ascending;
  /// empty: one tick a packet). False when there is no packet.
  bool finish(bool byTime, const std::vector<std::int64_t>& ticks);

  Order order() const { return m_order; }
  /// Frames shown.
  int frameCount() const { return m_frameCount; }
  /// The frame whose picture frame `n` shows: n itself, or the last one before it that has a
  /// picture of its own (0 … frameCount() - 1).
  int pictureOf(int n) const;
  /// The first frame from `n` on that has a picture of its own; frameCount() when none.
  int nextPicture(int n) const;
  /// The frame of packet `number`'s picture (by time), or its clock tick (by output); packets past
  /// the last count on one tick each.
  int frameOfPacket(int number) const;

  int keyCount() const { return static_cast<int>(m_keys.size()); }
  int keyPacket(int key) const { return m_keys[static_cast<std::size_t>(key)]; }
  /// The keyframe to decode frame `n` (one with a picture of its own) from: the last one in decode
  /// order whose run of pictures starts at or before n.
  int startKeyFor(int n) const;
  /// Notes the first frame the decoder gave out when it started at keyframe `key`: the keyframe's
  /// clock tick or, where pictures after it in the file are shown before it, a later one. Only
  /// for frames by output, which learn it as they are decoded.
  void noteFirstFrame(int key, int frame);
  bool firstFrameKnown(int key) const { return m_firstFrame[static_cast<std::size_t>(key)] >= 0; }

 private:
  int firstFrameOf(int key) const;
  bool numberByTime();

  std::vector<Packet> m_packets;
  std::vector<int> m_keys;  // packet numbers, ascending; the first is packet 0
  Order m_order = Order::kByOutput;
  int m_frameCount = 0;
  std::vector<int> m_frameOfPacket;  // by time: presentation place; by output: clock tick
  std::vector<int> m_packetOfFrame;  // by time only
  std::vector<int> m_pictureOf;      // by output only: frame → the frame its picture is
  std::vector<int> m_firstFrame;     // by output: learned first frame of each keyframe's run; -1
};

}  // namespace velimoro::media
