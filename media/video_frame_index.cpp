#include "media/video_frame_index.h"

#include <algorithm>
#include <numeric>

namespace velimoro::media {

void VideoFrameIndex::clear() {
  m_packets.clear();
  m_keys.clear();
  m_frameOfPacket.clear();
  m_packetOfFrame.clear();
  m_pictureOf.clear();
  m_firstFrame.clear();
  m_frameCount = 0;
  m_order = Order::kByOutput;
}

bool VideoFrameIndex::finish(bool byTime, const std::vector<std::int64_t>& ticks) {
  if (m_packets.empty()) return false;
  m_keys.clear();
  for (int i = 0; i < packetCount(); ++i) {
    // The first packet is where decoding starts whatever its flag says.
    if (i == 0 || (m_packets[static_cast<std::size_t>(i)].key &&
                   !m_packets[static_cast<std::size_t>(i)].empty))
      m_keys.push_back(i);
  }
  m_firstFrame.assign(m_keys.size(), -1);
  if (byTime && numberByTime()) return true;
  m_order = Order::kByOutput;
  m_packetOfFrame.clear();
  const std::size_t count = m_packets.size();
  m_frameOfPacket.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    m_frameOfPacket[i] =
        ticks.size() == count ? static_cast<int>(ticks[i] - ticks.front()) : static_cast<int>(i);
  m_frameCount = m_frameOfPacket.back() + 1;
  // A tick without a packet, or with an empty one, shows the picture before it again.
  m_pictureOf.assign(static_cast<std::size_t>(m_frameCount), -1);
  for (std::size_t i = 0; i < count; ++i) {
    if (!m_packets[i].empty) m_pictureOf[static_cast<std::size_t>(m_frameOfPacket[i])] = 0;
  }
  int last = 0;
  for (int n = 0; n < m_frameCount; ++n) {
    int& picture = m_pictureOf[static_cast<std::size_t>(n)];
    if (picture == 0) last = n;
    picture = last;
  }
  return true;
}

// Presentation order by the packets' own times: only where each packet has one, with data, and no
// two share a time.
bool VideoFrameIndex::numberByTime() {
  const std::size_t count = m_packets.size();
  std::vector<int> order(count);
  std::iota(order.begin(), order.end(), 0);
  for (const Packet& packet : m_packets) {
    if (packet.pts == kNoTime || packet.empty) return false;
  }
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return m_packets[static_cast<std::size_t>(a)].pts < m_packets[static_cast<std::size_t>(b)].pts;
  });
  for (std::size_t i = 1; i < count; ++i) {
    if (m_packets[static_cast<std::size_t>(order[i])].pts ==
        m_packets[static_cast<std::size_t>(order[i - 1])].pts)
      return false;
  }
  m_order = Order::kByTime;
  m_packetOfFrame = order;
  m_frameOfPacket.assign(count, 0);
  for (std::size_t n = 0; n < count; ++n)
    m_frameOfPacket[static_cast<std::size_t>(order[n])] = static_cast<int>(n);
  m_pictureOf.clear();
  m_frameCount = static_cast<int>(count);
  return true;
}

int VideoFrameIndex::pictureOf(int n) const {
  if (m_order == Order::kByTime) return n;
  return m_pictureOf[static_cast<std::size_t>(n)];
}

int VideoFrameIndex::nextPicture(int n) const {
  if (m_order == Order::kByTime) return std::min(std::max(n, 0), m_frameCount);
  for (n = std::max(n, 0); n < m_frameCount; ++n) {
    if (m_pictureOf[static_cast<std::size_t>(n)] == n) return n;
  }
  return m_frameCount;
}

int VideoFrameIndex::frameOfPacket(int number) const {
  if (number < packetCount()) return m_frameOfPacket[static_cast<std::size_t>(number)];
  return m_frameOfPacket.back() + (number - packetCount() + 1);
}

int VideoFrameIndex::firstFrameOf(int key) const {
  const int learned = m_firstFrame[static_cast<std::size_t>(key)];
  return learned >= 0 ? learned : frameOfPacket(keyPacket(key));
}

int VideoFrameIndex::startKeyFor(int n) const {
  int key = 0;
  if (m_order == Order::kByTime) {
    // Pictures after a keyframe in the file that are shown before it may lean on pictures before
    // it: such a frame decodes from an earlier keyframe.
    const int packet = m_packetOfFrame[static_cast<std::size_t>(n)];
    key =
        static_cast<int>(std::upper_bound(m_keys.begin(), m_keys.end(), packet) - m_keys.begin()) -
        1;
    while (key > 0 && frameOfPacket(keyPacket(key)) > n)
      --key;
    return key;
  }
  const auto after = std::upper_bound(m_keys.begin(), m_keys.end(), n, [this](int frame, int p) {
    return frame < frameOfPacket(p);
  });
  key = static_cast<int>(after - m_keys.begin()) - 1;
  while (key > 0 && firstFrameOf(key) > n)
    --key;
  return std::max(key, 0);
}

void VideoFrameIndex::noteFirstFrame(int key, int frame) {
  if (m_order == Order::kByOutput) m_firstFrame[static_cast<std::size_t>(key)] = frame;
}

}  // namespace velimoro::media
