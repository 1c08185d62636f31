#include "media/video_decoder.h"

#include "media/translate.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>
#include <utility>

namespace velimoro::media {
namespace {

using ffmpeg::errorText;
using ffmpeg::FormatPtr;
using ffmpeg::PacketGuard;
using Packet = VideoFrameIndex::Packet;

constexpr int kMaxDimension = 16384;
// The cache keeps at least four pictures, whose RGB copies must fit in its budget.
constexpr std::size_t kMaxRgbBytes = (std::size_t{96} << 20) / 4;
// An AVI chunk's identifier and size, before its data: the demuxer's index gives a chunk's place
// as where its header starts, a packet's place is where its data starts.
constexpr std::int64_t kChunkHeaderBytes = 8;
constexpr int kMaxPackets = std::numeric_limits<int>::max() / 2;
// Decoders whose pictures come out in the file's order, one picture a packet after a fixed delay,
// are read on one thread, so that the packet which gave each picture out tells its clock tick.
constexpr int kMaxThreads = 4;
constexpr int kMaxErrorsInARow = 8;

// The reader answers failures through return values; a damaged frame in a route video would
// otherwise print a line per frame while the train moves (the JPEG decoder reports a frame
// without picture data as fatal).
void quietLibraryLog() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The first video stream that is a moving picture (not a cover picture); -1 when none.
int firstVideoStream(const AVFormatContext* format) {
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream* stream = format->streams[i];
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
        !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
      return static_cast<int>(i);
  }
  return -1;
}

// Whether a packet flagged as a keyframe holds a picture to start decoding from. A "not coded"
// MPEG-4 picture (no more than the decoder's own limit of 19 bytes) holds none: where B-frames are
// packed, the chunk in a keyframe's place is one, the keyframe itself lying in the chunk before.
bool startsPictures(AVCodecID codec, std::int64_t size) {
  constexpr std::int64_t kMaxNotCodedBytes = 19;
  return size > 0 && (codec != AV_CODEC_ID_MPEG4 || size > kMaxNotCodedBytes);
}

bool isAvi(const AVFormatContext* format) {
  return std::strcmp(format->iformat->name, "avi") == 0;
}

// Opens the demuxer on `path` and finds its first video stream; only that stream is read.
// `headerEntries`, when given, gets the entries of that stream's index that the file's header gave
// before any packet was read (the demuxer adds entries of its own as it reads).
FormatPtr openDemuxer(const std::string& path, int& stream, std::string& error,
                      int* headerEntries = nullptr) {
  AVFormatContext* raw = nullptr;
  const int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
  if (rc < 0) {
    error = fill(translate("VideoFiles", "映像「%1」を開けません: %2"), {path, errorText(rc)});
    return nullptr;
  }
  FormatPtr format(raw);
  std::vector<int> entries;
  for (unsigned i = 0; headerEntries != nullptr && i < format->nb_streams; ++i)
    entries.push_back(avformat_index_get_entries_count(format->streams[i]));
  // Failing to probe every stream is no reason to refuse the file: the video stream's header may
  // still be complete, and the decoder's own open decides.
  avformat_find_stream_info(format.get(), nullptr);
  stream = firstVideoStream(format.get());
  if (stream < 0) {
    error = fill(translate("VideoFiles", "「%1」に映像のストリームがありません"), {path});
    return nullptr;
  }
  if (headerEntries != nullptr)
    *headerEntries = static_cast<std::size_t>(stream) < entries.size() ? entries[stream] : 0;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    if (static_cast<int>(i) != stream) format->streams[i]->discard = AVDISCARD_ALL;
  }
  return format;
}

}  // namespace

bool VideoDecoder::open(const std::string& path, std::string& error) {
  quietLibraryLog();
  m_path = path;
  int headerEntries = 0;
  m_format = openDemuxer(path, m_stream, error, &headerEntries);
  if (!m_format) return false;
  const AVCodecParameters* parameters = m_format->streams[m_stream]->codecpar;
  m_decoder = avcodec_find_decoder(parameters->codec_id);
  if (m_decoder == nullptr) {
    error = fill(translate("VideoFiles", "「%2」の %1 の映像を復号するデコーダがありません"),
                 {avcodec_get_name(parameters->codec_id), path});
    return false;
  }
  m_packet.reset(av_packet_alloc());
  m_frame.reset(av_frame_alloc());
  m_received.reset(av_frame_alloc());
  if (!m_packet || !m_frame || !m_received) {
    error = fill(translate("VideoFiles", "「%1」を開くためのメモリが足りません"), {path});
    return false;
  }
  m_width = parameters->width;
  m_height = parameters->height;
  // As the converter writes it: rows padded to 64 bytes, with room after the last.
  const std::size_t rgbBytes = (static_cast<std::size_t>(std::max(m_width, 0)) * 3 + 63) / 64 * 64 *
                                   static_cast<std::size_t>(std::max(m_height, 0)) +
                               256;
  if (m_width <= 0 || m_height <= 0 || m_width > kMaxDimension || m_height > kMaxDimension ||
      av_image_check_size(static_cast<unsigned>(m_width), static_cast<unsigned>(m_height), 0,
                          nullptr) < 0 ||
      rgbBytes > kMaxRgbBytes) {
    error = fill(translate("VideoFiles", "「%3」の画像の大きさ %1 x %2 は使えません"),
                 {std::to_string(m_width), std::to_string(m_height), path});
    return false;
  }
  const int bytes = av_image_get_buffer_size(static_cast<AVPixelFormat>(parameters->format),
                                             m_width, m_height, 64);
  m_pictureBytes = bytes > 0 ? static_cast<std::size_t>(bytes) : rgbBytes;
  if (!buildIndex(headerEntries)) {
    error = m_broken ? fill(translate("VideoFiles", "映像「%1」をもう一度読めません"), {path})
                     : fill(translate("VideoFiles", "「%1」に映像のフレームがありません"), {path});
    return false;
  }
  if (!openCodec(error)) return false;
  m_positioned = false;
  return true;
}

bool VideoDecoder::openCodec(std::string& error) {
  const AVCodecParameters* parameters = m_format->streams[m_stream]->codecpar;
  m_codec.reset(avcodec_alloc_context3(m_decoder));
  if (!m_codec) {
    error = fill(translate("VideoFiles", "「%1」を開くためのメモリが足りません"), {m_path});
    return false;
  }
  if (avcodec_parameters_to_context(m_codec.get(), parameters) < 0) {
    error = fill(translate("VideoFiles", "「%1」の映像のパラメータは使えません"), {m_path});
    return false;
  }
  // Frames by time are known by the packet they came from whatever the decoder's threads delay;
  // frames by output are known by when they come out, which only one thread keeps regular.
  if (m_index.order() == VideoFrameIndex::Order::kByTime) {
    const unsigned cores = std::thread::hardware_concurrency();
    m_codec->thread_count = static_cast<int>(std::clamp(cores, 1u, unsigned{kMaxThreads}));
    m_codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  } else {
    m_codec->thread_count = 1;
  }
  const int rc = avcodec_open2(m_codec.get(), m_decoder, nullptr);
  if (rc < 0) {
    error = fill(translate("VideoFiles", "「%2」の %1 の映像を復号できません: %3"),
                 {avcodec_get_name(parameters->codec_id), m_path, errorText(rc)});
    return false;
  }
  return true;
}

bool VideoDecoder::buildIndex(int headerEntries) {
  if (!indexFromHeader(headerEntries) && !m_broken) readIndex();
  return !m_broken && m_index.packetCount() > 0;
}

// Numbers the frames from the index an AVI file carries (its idx1 list or OpenDML indexes),
// which lists every chunk of picture data with its place, timestamp and keyframe flag, so only
// the first packet is read, to see that it is the index's first. False, with nothing indexed,
// for a file without one or one that cannot be the packets the demuxer will give: entries added
// while probing, an empty chunk, places that go back or lie past the end of the file,
// timestamps that do not rise, fewer frames than the stream's header counts, or a first packet
// elsewhere. Other containers' indexes may list keyframes only or samples the demuxer leaves
// out, so they are read packet by packet.
bool VideoDecoder::indexFromHeader(int headerEntries) {
  AVStream* stream = m_format->streams[m_stream];
  const int count = avformat_index_get_entries_count(stream);
  if (!isAvi(m_format.get()) || count <= 0 || count != headerEntries || count > kMaxPackets)
    return false;
  const std::int64_t fileSize = m_format->pb != nullptr ? avio_size(m_format->pb) : -1;
  std::vector<std::int64_t> dts;
  dts.reserve(static_cast<std::size_t>(count));
  m_index.clear();
  std::int64_t end = 0;  // of the entry before
  for (int i = 0; i < count; ++i) {
    const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
    const bool usable = entry != nullptr && entry->size > 0 && entry->pos >= end &&
                        entry->timestamp >= 0 && (dts.empty() || entry->timestamp > dts.back()) &&
                        (fileSize <= 0 || entry->pos <= fileSize - entry->size);
    if (!usable) {
      m_index.clear();
      return false;
    }
    end = entry->pos + entry->size;
    Packet packet;
    packet.pos = entry->pos + kChunkHeaderBytes;
    packet.dts = entry->timestamp;
    packet.key = (entry->flags & AVINDEX_KEYFRAME) &&
                 startsPictures(stream->codecpar->codec_id, entry->size);
    m_index.add(packet);
    dts.push_back(entry->timestamp);
  }
  if (stream->nb_frames != dts.back() - dts.front() + 1) {
    m_index.clear();
    return false;
  }
  if (!firstPacketIs(m_index.packet(0))) {
    m_index.clear();
    reopenDemuxer();  // the packet read is gone, and every packet is to be read
    return false;
  }
  m_index.finish(false, clockCountsFrames(dts) ? dts : std::vector<std::int64_t>{});
  return true;
}

// Whether the stream's first packet is the keyframe at `key`'s place and time. Probing has read
// it already, so the demuxer gives it without reading the file again.
bool VideoDecoder::firstPacketIs(const Packet& key) {
  while (av_read_frame(m_format.get(), m_packet.get()) >= 0) {
    PacketGuard guard{m_packet.get()};
    if (m_packet->stream_index == m_stream)
      return m_packet->pos == key.pos && m_packet->dts == key.dts;
  }
  return false;
}

// Reads every packet once, without decoding, to note each one's place, times and keyframe flag.
void VideoDecoder::readIndex() {
  std::vector<std::int64_t> dts;
  m_index.clear();
  while (av_read_frame(m_format.get(), m_packet.get()) >= 0) {
    PacketGuard guard{m_packet.get()};
    if (m_packet->stream_index != m_stream) continue;
    if (m_index.packetCount() >= kMaxPackets) break;
    Packet packet;
    packet.pos = m_packet->pos;
    packet.dts = m_packet->dts;
    packet.pts = m_packet->pts;
    packet.key = (m_packet->flags & AV_PKT_FLAG_KEY) &&
                 startsPictures(m_format->streams[m_stream]->codecpar->codec_id, m_packet->size);
    packet.empty = m_packet->size == 0;
    m_index.add(packet);
    dts.push_back(m_packet->dts);
  }
  if (dts.empty()) return;
  // An AVI file gives presentation times only where its parser guessed them; its frames are the
  // ticks of its clock, which counts the frames a capture dropped too.
  const bool avi = isAvi(m_format.get());
  m_index.finish(!avi, avi && clockCountsFrames(dts) ? dts : std::vector<std::int64_t>{});
  // Reading on starts from a seek; a file that cannot seek is read again from its beginning.
}

// Whether the stream's clock ticks once a frame with every packet on a tick of its own (as an AVI
// file's does, where a dropped frame is an empty chunk the demuxer passes over), so a gap between
// two packets' timestamps is frames the file holds no picture for.
bool VideoDecoder::clockCountsFrames(const std::vector<std::int64_t>& dts) const {
  const AVStream* stream = m_format->streams[m_stream];
  const AVRational rate =
      stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
  if (rate.num <= 0 || rate.den <= 0 || av_cmp_q(av_inv_q(stream->time_base), rate) != 0)
    return false;
  if (dts.front() == AV_NOPTS_VALUE) return false;
  for (std::size_t i = 1; i < dts.size(); ++i) {
    if (dts[i] == AV_NOPTS_VALUE || dts[i] <= dts[i - 1]) return false;
  }
  // A clock that leaps far past the packets is a damaged header, not dropped frames.
  const std::int64_t span = dts.back() - dts.front();
  return span < std::numeric_limits<int>::max() / 2 &&
         span < 16 * static_cast<std::int64_t>(dts.size()) + 1000;
}

void VideoDecoder::aimAt(int n, int keepFrom) {
  m_target = n;
  m_keepFrom = std::min(keepFrom, n);
  const int key = m_index.startKeyFor(n);
  const int keyPacket = m_index.keyPacket(key);
  const bool byTime = m_index.order() == VideoFrameIndex::Order::kByTime;
  if (m_positioned && !m_broken) {
    const bool skipping = m_nextPacket < m_skipUntil;  // nothing sent since a restart
    if (skipping && keyPacket >= m_nextPacket) {
      m_skipUntil = keyPacket;
      m_runKey = key;
      if (byTime) m_skipBelow = m_keepFrom;
      return;
    }
    if (!skipping && n > m_lastFrame && n >= m_skipBelow && key >= m_runKey &&
        keyPacket <= m_nextPacket) {
      if (byTime) m_skipBelow = std::max(m_skipBelow, m_keepFrom);
      return;
    }
  }
  seekTo(key);
}

// Frames by time are named by the packet their picture came from, which the packet's time carries
// through the decoder (the reader numbers the packets it sends). Frames by output come out in
// order, one a packet after the decoder's delay, so the packet that gave a picture out tells its
// tick; where the decoder dropped pictures it could not make (after a seek, pictures shown before
// the keyframe that lean on pictures before it), the next one still gets its own tick.
int VideoDecoder::frameOfOutput(const AVFrame& frame) {
  if (m_index.order() == VideoFrameIndex::Order::kByTime) {
    const std::int64_t packet = frame.pts;
    if (packet < 0 || packet >= m_index.packetCount()) return -1;
    const int number = m_index.frameOfPacket(static_cast<int>(packet));
    // Shown before the keyframe the run started at: it may lean on pictures never decoded.
    if (number < m_index.frameOfPacket(m_index.keyPacket(m_runKey))) return -1;
    return number;
  }
  if (m_draining) ++m_releaseTick;
  const int delay = std::clamp(m_codec->has_b_frames, 0, 16);
  return m_index.nextPicture(std::max(m_lastFrame + 1, m_releaseTick - delay));
}

VideoDecoder::Output VideoDecoder::next() {
  int errors = 0;
  while (!m_broken && m_positioned) {
    const int rc = avcodec_receive_frame(m_codec.get(), m_received.get());
    if (rc == 0) {
      const int frame = frameOfOutput(*m_received);
      if (frame < 0 || frame >= m_index.frameCount()) {
        av_frame_unref(m_received.get());
        continue;
      }
      if (m_lastFrame < 0 && m_index.order() == VideoFrameIndex::Order::kByOutput &&
          !m_index.firstFrameKnown(m_runKey)) {
        m_index.noteFirstFrame(m_runKey, frame);
        // The frame asked for is shown before the keyframe's own picture and leans on pictures
        // before it: it decodes from the keyframe before.
        if (frame > m_target && m_runKey > 0 && m_index.startKeyFor(m_target) < m_runKey) {
          av_frame_unref(m_received.get());
          seekTo(m_index.startKeyFor(m_target));
          continue;
        }
      }
      m_lastFrame = std::max(m_lastFrame, frame);
      av_frame_unref(m_frame.get());
      av_frame_move_ref(m_frame.get(), m_received.get());
      const bool ok = !(m_frame->flags & AV_FRAME_FLAG_CORRUPT) && m_frame->decode_error_flags == 0;
      return {frame, ok ? Status::kDecoded : Status::kFailed};
    }
    if (rc == AVERROR_EOF) break;  // drained: only a seek makes the decoder usable again
    // A damaged picture: the frames after it tell. The decoder may hold more to give out first.
    if (rc != AVERROR(EAGAIN) && ++errors < kMaxErrorsInARow) continue;
    errors = 0;
    if (m_draining) break;
    if (!sendPacket() && m_broken) break;
  }
  m_positioned = false;
  return {};
}

// Reads the next packet of the stream and gives it to the decoder; false when none was given.
bool VideoDecoder::sendPacket() {
  const int rc = av_read_frame(m_format.get(), m_packet.get());
  if (rc < 0) {
    startDraining();
    return false;
  }
  PacketGuard guard{m_packet.get()};
  if (m_packet->stream_index != m_stream) return false;
  if (m_landing >= 0 && !checkLanding()) return false;  // restarted from the beginning
  const int number = m_nextPacket++;
  if (number >= m_index.packetCount()) {
    startDraining();  // the file grew since it was indexed: the index decides
    return false;
  }
  if (number < m_skipUntil || m_packet->size == 0) return false;
  const bool byTime = m_index.order() == VideoFrameIndex::Order::kByTime;
  if (byTime) {
    // Pictures shown before the one asked for that no other picture leans on need not be made.
    m_codec->skip_frame =
        m_index.frameOfPacket(number) < m_skipBelow ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
  }
  m_packet->pts = number;
  m_packet->dts = AV_NOPTS_VALUE;
  // A packet the file cut short (the demuxer flags it) would decode to a picture whose missing
  // part is whatever the decoder's buffer held before.
  if (m_packet->flags & AV_PKT_FLAG_CORRUPT) return false;
  // A packet the decoder refuses gives no picture out, not even one it holds back.
  if (avcodec_send_packet(m_codec.get(), m_packet.get()) < 0) return false;
  if (!byTime) m_releaseTick = m_index.frameOfPacket(number);
  return true;
}

void VideoDecoder::resetDecoder() {
  avcodec_flush_buffers(m_codec.get());
  m_draining = false;
  m_lastFrame = -1;
  m_skipUntil = 0;
  m_skipBelow = m_index.order() == VideoFrameIndex::Order::kByTime ? m_keepFrom : 0;
  m_releaseTick = 0;
}

void VideoDecoder::startDraining() {
  if (m_draining) return;
  avcodec_send_packet(m_codec.get(), nullptr);
  m_draining = true;
}

void VideoDecoder::placeAt(int key) {
  m_positioned = true;
  m_runKey = key;
  m_nextPacket = m_index.keyPacket(key);
  m_lastFrame = -1;
}

// Seeks by the keyframe's timestamp, backwards so the demuxer never lands after it; where the file
// gives no timestamp, reads on from its beginning instead.
void VideoDecoder::seekTo(int key) {
  const Packet& packet = m_index.packet(m_index.keyPacket(key));
  resetDecoder();
  placeAt(key);
  // Containers other than AVI index their keyframes by presentation time.
  const bool byTime = m_index.order() == VideoFrameIndex::Order::kByTime;
  std::int64_t timestamp = byTime && packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
  if (timestamp == AV_NOPTS_VALUE) timestamp = packet.pts;
  if (timestamp != AV_NOPTS_VALUE &&
      av_seek_frame(m_format.get(), m_stream, timestamp, AVSEEK_FLAG_BACKWARD) >= 0) {
    m_landing = key;
    return;
  }
  restartFromBeginning(m_index.keyPacket(key));
}

// The first packet after a seek must be the keyframe asked for or one before it, else the frame
// numbers would drift; when the demuxer landed elsewhere, read on from the beginning.
bool VideoDecoder::checkLanding() {
  const int wanted = m_landing;
  m_landing = -1;
  const AVPacket& read = *m_packet;
  for (int i = wanted; i >= 0; --i) {
    const Packet& key = m_index.packet(m_index.keyPacket(i));
    const bool samePlace = read.pos >= 0 && key.pos >= 0
                               ? read.pos == key.pos
                               : read.dts != AV_NOPTS_VALUE && read.dts == key.dts;
    if (samePlace) {
      placeAt(i);
      return true;
    }
  }
  restartFromBeginning(m_index.keyPacket(wanted));
  return false;
}

// Opens the file anew and reads, without decoding, up to the keyframe packet `skipUntil`.
void VideoDecoder::restartFromBeginning(int skipUntil) {
  m_landing = -1;
  if (!reopenDemuxer()) return;
  const int key = m_runKey;
  resetDecoder();
  placeAt(0);
  m_runKey = key;
  m_skipUntil = skipUntil;
}

// Opens the file anew, at its beginning; marks it broken when it can no longer be.
bool VideoDecoder::reopenDemuxer() {
  int stream = -1;
  std::string error;
  FormatPtr format = openDemuxer(m_path, stream, error);
  if (!format || stream != m_stream) {
    m_broken = true;
    return false;
  }
  m_format = std::move(format);
  return true;
}

}  // namespace velimoro::media
