#include "media/ffmpeg_video_reader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <utility>

namespace velimoro::media {
namespace {

constexpr int kMaxCachedFrames = 32;
constexpr std::size_t kCacheBudgetBytes = std::size_t{96} << 20;
constexpr int kPrefetchFrames = 8;
constexpr int kMaxDimension = 16384;
// The cache keeps at least this many frames, so a picture may take at most this share of its
// budget: whatever size a file gives, the cache stays within the budget.
constexpr int kMinCachedFrames = 4;
constexpr std::size_t kMaxFrameBytes = kCacheBudgetBytes / kMinCachedFrames;
// An AVI chunk's identifier and size, before its data: the demuxer's index gives a chunk's place
// as where its header starts, a packet's place is where its data starts.
constexpr std::int64_t kChunkHeaderBytes = 8;

// The value an enum field of a decoded frame holds. A damaged stream can leave a value there
// that the enum does not name, which is no value of the enum type to read as such.
template <typename Enum>
int rawValue(const Enum& field) {
  static_assert(sizeof(Enum) == sizeof(int));
  int value = 0;
  std::memcpy(&value, &field, sizeof value);
  return value;
}

std::string errorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// The reader answers failures through return values; a damaged frame in a route video would
// otherwise print a line per frame while the train moves (the JPEG decoder reports a frame
// without picture data as fatal).
void quietLibraryLog() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

struct FormatCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScalerFreer {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;

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

// Opens the demuxer on `path` and finds its first video stream; only that stream is read.
// `headerEntries`, when given, gets the entries of that stream's index that the file's header gave
// before any packet was read (the demuxer adds entries of its own as it reads).
FormatPtr openDemuxer(const std::string& path, int& stream, std::string& error,
                      int* headerEntries = nullptr) {
  AVFormatContext* raw = nullptr;
  const int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
  if (rc < 0) {
    error = "cannot open video '" + path + "': " + errorText(rc);
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
    error = "no video stream in '" + path + "'";
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

// One demuxer and decoder over the open file, with the index of its video packets. Frames are
// numbered as the file's video chunks are: one per packet, and where the stream's clock counts
// frames, one for each chunk the capture left empty (a dropped frame, which shows the frame
// before it again). One thread at a time uses it.
class FfmpegVideoReader::Decoder {
 public:
  enum class Status { kDecoded, kFailed, kEnd };
  struct Emitted {
    int frame = -1;
    Status status = Status::kEnd;
  };

  bool open(const std::string& path, std::string& error) {
    quietLibraryLog();
    m_path = path;
    int headerEntries = 0;
    m_format = openDemuxer(path, m_stream, error, &headerEntries);
    if (!m_format) return false;
    const AVCodecParameters* parameters = m_format->streams[m_stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (codec == nullptr) {
      error = std::string("no decoder for the ") + avcodec_get_name(parameters->codec_id) +
              " video of '" + path + "'";
      return false;
    }
    m_codec.reset(avcodec_alloc_context3(codec));
    m_packet.reset(av_packet_alloc());
    m_frame.reset(av_frame_alloc());
    m_received.reset(av_frame_alloc());
    if (!m_codec || !m_packet || !m_frame || !m_received) {
      error = "out of memory opening '" + path + "'";
      return false;
    }
    if (avcodec_parameters_to_context(m_codec.get(), parameters) < 0) {
      error = "unusable video parameters in '" + path + "'";
      return false;
    }
    // One thread: frame threading would hold frames back and blur which packet a failure
    // belongs to; the reader decodes ahead on its own worker instead.
    m_codec->thread_count = 1;
    const int rc = avcodec_open2(m_codec.get(), codec, nullptr);
    if (rc < 0) {
      error = std::string("cannot decode the ") + avcodec_get_name(parameters->codec_id) +
              " video of '" + path + "': " + errorText(rc);
      return false;
    }
    m_width = parameters->width;
    m_height = parameters->height;
    if (m_width <= 0 || m_height <= 0 || m_width > kMaxDimension || m_height > kMaxDimension ||
        av_image_check_size(static_cast<unsigned>(m_width), static_cast<unsigned>(m_height), 0,
                            nullptr) < 0 ||
        paddedSize() > kMaxFrameBytes) {
      error = "unusable picture size " + std::to_string(m_width) + " x " +
              std::to_string(m_height) + " in '" + path + "'";
      return false;
    }
    if (!indexFromHeader(headerEntries) && !m_broken) readIndex();
    if (m_broken) {
      error = "cannot read video '" + path + "' again";
      return false;
    }
    if (m_frames.empty()) {
      error = "no video frames in '" + path + "'";
      return false;
    }
    m_positioned = false;
    return true;
  }

  int frameCount() const { return m_frames.back() + 1; }
  int width() const { return m_width; }
  int height() const { return m_height; }

  // Makes frame `n` come out of next() after at most the frames before it in its group of
  // pictures: decodes on from where the decoder is when n lies ahead in the same group, else
  // seeks to the keyframe at or before n.
  void aimAt(int n) {
    const int keyIndex = keyAtOrBefore(n);
    const int key = m_keys[keyIndex].packet;
    if (m_positioned && n >= m_nextFrame) {
      const bool skipping = m_nextPacket < m_skipUntil;  // nothing sent since a restart
      if (skipping && key >= m_nextPacket) {
        m_skipUntil = key;
        return;
      }
      if (!skipping && key <= m_nextPacket) return;
    }
    seekTo(keyIndex);
  }

  // The next frame in order: decoded, failed (its packet is damaged), or the end (the file ends
  // early or cannot be read any more).
  Emitted next() {
    if (m_broken || !m_positioned) return {};
    for (;;) {
      if (!m_marks.empty() && m_marks.front().first <= m_nextFrame) {
        Mark& mark = m_marks.front();
        const int frame = std::max(mark.first, m_nextFrame);
        const bool repeat = mark.repeat;
        mark.first = frame + 1;
        if (mark.first >= mark.end) m_marks.pop_front();
        if (frame != m_nextFrame) continue;
        ++m_nextFrame;
        const bool ok = repeat && m_lastOk && m_lastFrame == frame - 1;
        m_lastFrame = frame;
        m_lastOk = ok;
        return {frame, ok ? Status::kDecoded : Status::kFailed};
      }
      int rc = avcodec_receive_frame(m_codec.get(), m_received.get());
      if (rc == 0) {
        av_frame_unref(m_frame.get());
        av_frame_move_ref(m_frame.get(), m_received.get());
        m_lastFrame = m_nextFrame++;
        m_lastOk = !(m_frame->flags & AV_FRAME_FLAG_CORRUPT) && m_frame->decode_error_flags == 0;
        return {m_lastFrame, m_lastOk ? Status::kDecoded : Status::kFailed};
      }
      if (rc == AVERROR_EOF) {
        m_positioned = false;  // drained: only a seek makes the decoder usable again
        return {};
      }
      if (rc != AVERROR(EAGAIN)) {
        m_lastFrame = m_nextFrame++;
        m_lastOk = false;
        return {m_lastFrame, Status::kFailed};
      }
      if (m_draining) {
        m_positioned = false;
        return {};
      }
      rc = av_read_frame(m_format.get(), m_packet.get());
      if (rc < 0) {
        startDraining();
        continue;
      }
      PacketGuard guard{m_packet.get()};
      if (m_packet->stream_index != m_stream) continue;
      if (m_landing >= 0 && !checkLanding()) {
        if (m_broken) return {};
        continue;  // restarted from the file's beginning; this packet is gone
      }
      const int number = m_nextPacket++;
      if (number >= static_cast<int>(m_frames.size())) {
        startDraining();  // the file grew since it was indexed: the index decides
        continue;
      }
      const int frame = m_frames[number];
      if (number < m_skipUntil) {
        m_nextFrame = frame + 1;
        m_expectedFrame = frame + 1;
        continue;
      }
      if (frame > m_expectedFrame) m_marks.push_back({m_expectedFrame, frame, true});
      m_expectedFrame = frame + 1;
      if (m_packet->size == 0) {
        m_marks.push_back({frame, frame + 1, true});
        continue;
      }
      // A packet the file cut short (the demuxer flags it) would decode to a picture whose
      // missing part is whatever the decoder's buffer held before.
      if ((m_packet->flags & AV_PKT_FLAG_CORRUPT) ||
          avcodec_send_packet(m_codec.get(), m_packet.get()) < 0)
        m_marks.push_back({frame, frame + 1, false});
    }
  }

  // Bytes from one row of a converted picture to the next, and bytes of the whole buffer: the
  // scaler's fast paths write whole blocks of pixels, past the end of a row whose width is not a
  // multiple of the block (by 12 bytes at 604 pixels), so its rows are padded and the buffer
  // has room after the last.
  std::size_t stride() const { return (static_cast<std::size_t>(m_width) * 3 + 63) / 64 * 64; }
  std::size_t paddedSize() const { return stride() * static_cast<std::size_t>(m_height) + 256; }

  // The last frame next() gave as decoded, as 24-bit RGB at the video's size, into `pixels`
  // with padded rows.
  bool convert(std::vector<std::uint8_t>& pixels) {
    const AVFrame* frame = m_frame.get();
    if (!m_lastOk || frame->data[0] == nullptr || frame->width <= 0 || frame->height <= 0)
      return false;
    auto format = static_cast<AVPixelFormat>(frame->format);
    bool fullRange = rawValue(frame->color_range) == AVCOL_RANGE_JPEG;
    const int colourSpace = rawValue(frame->colorspace);
    // The JPEG formats are the plain YUV layouts at full range; naming the range keeps the
    // scaler from guessing it.
    static constexpr std::pair<AVPixelFormat, AVPixelFormat> kJpegFormats[] = {
        {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUV420P},
        {AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUV422P},
        {AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_YUV444P},
        {AV_PIX_FMT_YUVJ440P, AV_PIX_FMT_YUV440P},
        {AV_PIX_FMT_YUVJ411P, AV_PIX_FMT_YUV411P}};
    for (const auto& [jpeg, plain] : kJpegFormats) {
      if (format == jpeg) {
        format = plain;
        fullRange = true;
      }
    }
    const ScalerKey key{frame->width, frame->height, format, fullRange, colourSpace};
    if (!m_scaler || !(key == m_scalerKey)) {
      m_scaler.reset(sws_getContext(frame->width, frame->height, format, m_width, m_height,
                                    AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr));
      if (!m_scaler) return false;
      m_scalerKey = key;
      const int colours = colourSpace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
      sws_setColorspaceDetails(m_scaler.get(), sws_getCoefficients(colours), fullRange ? 1 : 0,
                               sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    }
    if (pixels.size() != paddedSize()) pixels.resize(paddedSize());
    std::uint8_t* planes[4] = {pixels.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {static_cast<int>(stride()), 0, 0, 0};
    return sws_scale(m_scaler.get(), frame->data, frame->linesize, 0, frame->height, planes,
                     strides) == m_height;
  }

 private:
  struct Keyframe {
    int packet;
    int frame;
    std::int64_t pos;
    std::int64_t dts;
    std::int64_t pts;
  };
  // Frames first … end - 1 give no picture of their own: dropped by the capture (`repeat`: the
  // frame before shows again) or rejected by the decoder.
  struct Mark {
    int first;
    int end;
    bool repeat;
  };
  struct PacketGuard {
    AVPacket* packet;
    ~PacketGuard() { av_packet_unref(packet); }
  };
  struct ScalerKey {
    int width;
    int height;
    AVPixelFormat format;
    bool fullRange;
    int colours;  // the frame's AVColorSpace as it holds it
    bool operator==(const ScalerKey&) const = default;
  };

  // Numbers the frames from the index an AVI file carries (its idx1 list or OpenDML indexes),
  // which lists every chunk of picture data with its place, timestamp and keyframe flag, so only
  // the first packet is read, to see that it is the index's first. False, with nothing indexed,
  // for a file without one or one that cannot be the packets the demuxer will give: entries added
  // while probing, an empty chunk, places that go back or lie past the end of the file,
  // timestamps that do not rise, fewer frames than the stream's header counts, or a first packet
  // elsewhere. Other containers' indexes may list keyframes only or samples the demuxer leaves
  // out, so they are read packet by packet.
  bool indexFromHeader(int headerEntries) {
    AVStream* stream = m_format->streams[m_stream];
    const int count = avformat_index_get_entries_count(stream);
    if (std::strcmp(m_format->iformat->name, "avi") != 0 || count <= 0 || count != headerEntries ||
        count > std::numeric_limits<int>::max() / 2)
      return false;
    const std::int64_t fileSize = m_format->pb != nullptr ? avio_size(m_format->pb) : -1;
    std::vector<std::int64_t> dts;
    dts.reserve(static_cast<std::size_t>(count));
    m_frames.reserve(static_cast<std::size_t>(count));
    std::int64_t end = 0;  // of the entry before
    for (int i = 0; i < count; ++i) {
      const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
      const bool usable = entry != nullptr && entry->size > 0 && entry->pos >= end &&
                          entry->timestamp >= 0 && (dts.empty() || entry->timestamp > dts.back()) &&
                          (fileSize <= 0 || entry->pos <= fileSize - entry->size);
      if (!usable) {
        clearIndex();
        return false;
      }
      end = entry->pos + entry->size;
      if ((entry->flags & AVINDEX_KEYFRAME) || i == 0)
        m_keys.push_back({i, i, entry->pos + kChunkHeaderBytes, entry->timestamp, AV_NOPTS_VALUE});
      m_frames.push_back(i);
      dts.push_back(entry->timestamp);
    }
    if (stream->nb_frames != dts.back() - dts.front() + 1) {
      clearIndex();
      return false;
    }
    if (!firstPacketIs(m_keys.front())) {
      clearIndex();
      reopenDemuxer();  // the packet read is gone, and every packet is to be read
      return false;
    }
    numberByClock(dts);
    return true;
  }

  // Whether the stream's first packet is the keyframe at `key`'s place and time. Probing has
  // read it already, so the demuxer gives it without reading the file again.
  bool firstPacketIs(const Keyframe& key) {
    while (av_read_frame(m_format.get(), m_packet.get()) >= 0) {
      PacketGuard guard{m_packet.get()};
      if (m_packet->stream_index == m_stream)
        return m_packet->pos == key.pos && m_packet->dts == key.dts;
    }
    return false;
  }

  // Reads every packet once, without decoding, to number the frames and note the keyframes.
  void readIndex() {
    std::vector<std::int64_t> dts;
    clearIndex();
    while (av_read_frame(m_format.get(), m_packet.get()) >= 0) {
      PacketGuard guard{m_packet.get()};
      if (m_packet->stream_index != m_stream) continue;
      if (m_frames.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max() / 2)) break;
      const int number = static_cast<int>(m_frames.size());
      const bool key = (m_packet->flags & AV_PKT_FLAG_KEY) && m_packet->size > 0;
      // The first frame is where decoding starts whatever its flag says.
      if (key || number == 0)
        m_keys.push_back({number, number, m_packet->pos, m_packet->dts, m_packet->pts});
      m_frames.push_back(number);
      dts.push_back(m_packet->dts);
    }
    numberByClock(dts);
  }

  void clearIndex() {
    m_keys.clear();
    m_frames.clear();
  }

  // Packets are frames one after the other; where the stream's clock counts frames, a gap in it
  // is frames the capture dropped. `dts` holds each packet's timestamp.
  void numberByClock(const std::vector<std::int64_t>& dts) {
    if (m_frames.empty() || !clockCountsFrames(dts)) return;
    for (std::size_t i = 0; i < dts.size(); ++i)
      m_frames[i] = static_cast<int>(dts[i] - dts.front());
    for (Keyframe& key : m_keys)
      key.frame = m_frames[static_cast<std::size_t>(key.packet)];
  }

  // Whether the stream's clock ticks once a frame with every packet on a tick of its own (as an
  // AVI file's does, where a dropped frame is an empty chunk the demuxer passes over), so a gap
  // between two packets' timestamps is frames the file holds no picture for.
  bool clockCountsFrames(const std::vector<std::int64_t>& dts) const {
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

  int keyAtOrBefore(int frame) const {
    const auto after = std::upper_bound(m_keys.begin(), m_keys.end(), frame,
                                        [](int n, const Keyframe& key) { return n < key.frame; });
    return static_cast<int>(after - m_keys.begin()) - 1;
  }

  void resetDecoder() {
    avcodec_flush_buffers(m_codec.get());
    m_marks.clear();
    m_draining = false;
    m_lastOk = false;
    m_lastFrame = -1;
    m_skipUntil = 0;
  }

  void startDraining() {
    avcodec_send_packet(m_codec.get(), nullptr);
    m_draining = true;
  }

  void placeAt(const Keyframe& key) {
    m_positioned = true;
    m_nextPacket = key.packet;
    m_nextFrame = key.frame;
    m_expectedFrame = key.frame;
  }

  // Seeks by the keyframe's timestamp, backwards so the demuxer never lands after it; where the
  // file gives no timestamp, reads on from its beginning instead.
  void seekTo(int keyIndex) {
    const Keyframe& key = m_keys[keyIndex];
    resetDecoder();
    placeAt(key);
    const std::int64_t timestamp = key.dts != AV_NOPTS_VALUE ? key.dts : key.pts;
    if (timestamp != AV_NOPTS_VALUE &&
        av_seek_frame(m_format.get(), m_stream, timestamp, AVSEEK_FLAG_BACKWARD) >= 0) {
      m_landing = keyIndex;
      return;
    }
    restartFromBeginning(key.packet);
  }

  // The first packet after a seek must be the keyframe asked for or one before it, else the
  // frame numbers would drift; when the demuxer landed elsewhere, read on from the beginning.
  bool checkLanding() {
    const int wanted = m_landing;
    m_landing = -1;
    const AVPacket& packet = *m_packet;
    for (int i = wanted; i >= 0; --i) {
      const Keyframe& key = m_keys[i];
      const bool samePlace = packet.pos >= 0 && key.pos >= 0
                                 ? packet.pos == key.pos
                                 : packet.dts != AV_NOPTS_VALUE && packet.dts == key.dts;
      if (samePlace) {
        placeAt(key);
        return true;
      }
    }
    restartFromBeginning(m_keys[wanted].packet);
    return false;
  }

  // Opens the file anew and reads, without decoding, up to the keyframe packet `skipUntil`.
  void restartFromBeginning(int skipUntil) {
    m_landing = -1;
    if (!reopenDemuxer()) return;
    resetDecoder();
    placeAt(m_keys.front());
    m_skipUntil = skipUntil;
  }

  // Opens the file anew, at its beginning; marks it broken when it can no longer be.
  bool reopenDemuxer() {
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

  std::string m_path;
  FormatPtr m_format;
  std::unique_ptr<AVCodecContext, CodecFreer> m_codec;
  std::unique_ptr<AVPacket, PacketFreer> m_packet;
  std::unique_ptr<AVFrame, FrameFreer> m_frame;     // the last picture decoded
  std::unique_ptr<AVFrame, FrameFreer> m_received;  // the decoder's output before it is taken
  std::unique_ptr<SwsContext, ScalerFreer> m_scaler;
  ScalerKey m_scalerKey{};
  int m_stream = -1;
  int m_width = 0;
  int m_height = 0;

  std::vector<int> m_frames;     // frame number of each video packet, ascending
  std::vector<Keyframe> m_keys;  // ascending; the first is packet 0

  bool m_positioned = false;  // false: the next frame needs a seek first
  bool m_broken = false;      // the file can no longer be read
  bool m_draining = false;    // the demuxer ended; the decoder gives out what it holds
  int m_landing = -1;         // after a seek: the keyframe the first packet should be
  int m_nextPacket = 0;       // number of the next video packet the demuxer gives
  int m_nextFrame = 0;        // number of the next frame the decoder gives
  int m_expectedFrame = 0;    // frame of the next packet unless the capture dropped some
  int m_skipUntil = 0;        // packets before this are read but not decoded
  std::deque<Mark> m_marks;
  int m_lastFrame = -1;
  bool m_lastOk = false;
};

// The frames decoded last, with the pictures of those that decoded and the failures of those
// that did not (so a damaged frame is not decoded again and again). When full, it gives up the
// frames the train has passed first, then those farthest ahead.
class FfmpegVideoReader::FrameCache {
 public:
  explicit FrameCache(int capacity) : m_capacity(capacity) {}

  struct Entry {
    int frame = -1;
    bool ok = false;
    std::vector<std::uint8_t> pixels;  // with the decoder's padded rows
  };

  const Entry* find(int frame) const {
    for (const Entry& entry : m_entries) {
      if (entry.frame == frame) return &entry;
    }
    return nullptr;
  }

  // Whether a frame decoded now would be kept, seen from the frame shown and the way it goes.
  bool worthKeeping(int frame, int anchor, int direction) const {
    if ((frame - anchor) * direction < -2) return false;  // passed: only a short step back
    if (static_cast<int>(m_entries.size()) < m_capacity) return true;
    const std::int64_t cost = evictionRank(frame, anchor, direction);
    for (const Entry& entry : m_entries) {
      if (evictionRank(entry.frame, anchor, direction) > cost) return true;
    }
    return false;
  }

  // Keeps `frame` with `pixels` (taking them and handing back a spare buffer), or as failed
  // when `pixels` is null.
  void store(int frame, std::vector<std::uint8_t>* pixels, int anchor, int direction) {
    Entry* slot = nullptr;
    for (Entry& entry : m_entries) {
      if (entry.frame == frame) slot = &entry;
    }
    if (slot == nullptr && static_cast<int>(m_entries.size()) < m_capacity) {
      slot = &m_entries.emplace_back();
    }
    if (slot == nullptr) {
      const std::int64_t cost = evictionRank(frame, anchor, direction);
      for (Entry& entry : m_entries) {
        const std::int64_t rank = evictionRank(entry.frame, anchor, direction);
        if (rank > cost && (slot == nullptr || rank > evictionRank(slot->frame, anchor, direction)))
          slot = &entry;
      }
      if (slot == nullptr) return;
    }
    slot->frame = frame;
    slot->ok = pixels != nullptr;
    if (pixels != nullptr) std::swap(slot->pixels, *pixels);
  }

  int capacity() const { return m_capacity; }

 private:
  // Larger goes first: passed frames before frames ahead, far before near.
  static std::int64_t evictionRank(int frame, int anchor, int direction) {
    const std::int64_t ahead = static_cast<std::int64_t>(frame - anchor) * direction;
    return ahead < 0 ? (std::int64_t{1} << 40) - ahead : ahead;
  }

  int m_capacity;
  std::vector<Entry> m_entries;
};

FfmpegVideoReader::FfmpegVideoReader() : m_cache(std::make_unique<FrameCache>(0)) {}

FfmpegVideoReader::~FfmpegVideoReader() {
  stopWorker();
}

bool FfmpegVideoReader::open(const std::string& path, std::string& error) {
  stopWorker();
  std::lock_guard decoderLock(m_decoderMutex);
  std::lock_guard stateLock(m_stateMutex);
  m_frameCount = 0;
  m_anchor = 0;
  m_direction = 1;
  m_prefetchWanted = false;
  m_cache = std::make_unique<FrameCache>(0);
  m_decoder = std::make_unique<Decoder>();
  if (!m_decoder->open(path, error)) {
    m_decoder.reset();
    return false;
  }
  m_frameCount = m_decoder->frameCount();
  m_width = m_decoder->width();
  m_height = m_decoder->height();
  m_stride = m_decoder->stride();
  const std::size_t frameBytes = m_decoder->paddedSize();
  const auto affordable =
      static_cast<int>(std::min<std::size_t>(kMaxCachedFrames, kCacheBudgetBytes / frameBytes));
  m_cache = std::make_unique<FrameCache>(std::max(affordable, kMinCachedFrames));
  return true;
}

int FfmpegVideoReader::frameCount() const {
  return m_frameCount;
}

void FfmpegVideoReader::copyOut(const std::vector<std::uint8_t>& pixels,
                                RgbPicture& picture) const {
  const std::size_t row = static_cast<std::size_t>(m_width) * 3;
  picture.width = m_width;
  picture.height = m_height;
  picture.pixels.resize(row * static_cast<std::size_t>(m_height));
  for (int y = 0; y < m_height; ++y) {
    const auto line = static_cast<std::size_t>(y);
    std::memcpy(picture.pixels.data() + row * line, pixels.data() + m_stride * line, row);
  }
}

bool FfmpegVideoReader::decodeFrame(int n, RgbPicture& picture) {
  if (n < 0 || n >= m_frameCount) return false;
  int direction = 1;
  {
    std::lock_guard stateLock(m_stateMutex);
    // A short step tells which way the train moves; a jump does not.
    if (n != m_anchor && std::abs(n - m_anchor) <= kPrefetchFrames)
      m_direction = n < m_anchor ? -1 : 1;
    m_anchor = n;
    direction = m_direction;
    if (const FrameCache::Entry* entry = m_cache->find(n)) {
      if (entry->ok) copyOut(entry->pixels, picture);
      return entry->ok;
    }
    ++m_callerWaiting;
  }
  std::unique_lock decoderLock(m_decoderMutex);
  bool ok = false;
  bool done = false;
  {
    std::lock_guard stateLock(m_stateMutex);
    // The worker may have finished this very frame while we waited for the decoder.
    if (const FrameCache::Entry* entry = m_cache->find(n)) {
      if (entry->ok) copyOut(entry->pixels, picture);
      ok = entry->ok;
      done = true;
    }
  }
  if (!done) m_decoder->aimAt(n);
  while (!done) {
    const Decoder::Emitted emitted = m_decoder->next();
    if (emitted.status == Decoder::Status::kEnd || emitted.frame > n) {
      std::lock_guard stateLock(m_stateMutex);
      m_cache->store(n, nullptr, n, direction);
      break;
    }
    const bool decoded = emitted.status == Decoder::Status::kDecoded;
    if (emitted.frame == n) {
      ok = decoded && m_decoder->convert(m_callerPixels);
      if (ok) copyOut(m_callerPixels, picture);
      std::lock_guard stateLock(m_stateMutex);
      m_cache->store(n, ok ? &m_callerPixels : nullptr, n, direction);
      done = true;
    } else if (decoded) {
      // Frames on the way to n are worth converting when the train goes back through them.
      bool keep = false;
      {
        std::lock_guard stateLock(m_stateMutex);
        keep = m_cache->worthKeeping(emitted.frame, n, direction);
      }
      if (keep && m_decoder->convert(m_callerPixels)) {
        std::lock_guard stateLock(m_stateMutex);
        m_cache->store(emitted.frame, &m_callerPixels, n, direction);
      }
    }
  }
  decoderLock.unlock();
  {
    std::lock_guard stateLock(m_stateMutex);
    --m_callerWaiting;
  }
  m_wake.notify_all();
  return ok;
}

void FfmpegVideoReader::prefetch(int n, int direction) {
  if (n < 0 || n >= m_frameCount) return;
  {
    std::lock_guard stateLock(m_stateMutex);
    m_anchor = n;
    m_direction = direction < 0 ? -1 : 1;
    m_prefetchWanted = true;
  }
  if (!m_worker.joinable()) {
    m_stop = false;
    m_worker = std::thread([this] { workerLoop(); });
  }
  m_wake.notify_all();
}

int FfmpegVideoReader::nextFrameToPrefetch() const {
  const int window = std::min(kPrefetchFrames, m_cache->capacity() / 2);
  for (int i = 0; i < window; ++i) {
    const int frame = m_anchor + i * m_direction;
    if (frame < 0 || frame >= m_frameCount) break;
    if (m_cache->find(frame) == nullptr) return frame;
  }
  return -1;
}

void FfmpegVideoReader::workerLoop() {
  for (;;) {
    {
      std::unique_lock stateLock(m_stateMutex);
      m_wake.wait(stateLock,
                  [this] { return m_stop || (m_prefetchWanted && m_callerWaiting == 0); });
      if (m_stop) return;
    }
    // One frame per turn with the decoder, so decodeFrame never waits longer than that.
    std::lock_guard decoderLock(m_decoderMutex);
    int target = -1;
    int anchor = 0;
    int direction = 1;
    {
      std::lock_guard stateLock(m_stateMutex);
      if (m_stop) return;
      if (m_callerWaiting > 0) continue;
      target = nextFrameToPrefetch();
      if (target < 0) {
        m_prefetchWanted = false;
        continue;
      }
      anchor = m_anchor;
      direction = m_direction;
    }
    m_decoder->aimAt(target);
    const Decoder::Emitted emitted = m_decoder->next();
    bool converted = false;
    if (emitted.status == Decoder::Status::kDecoded && emitted.frame <= target) {
      bool keep = emitted.frame == target;
      if (!keep) {
        std::lock_guard stateLock(m_stateMutex);
        keep = m_cache->worthKeeping(emitted.frame, anchor, direction);
      }
      converted = keep && m_decoder->convert(m_workerPixels);
    }
    std::lock_guard stateLock(m_stateMutex);
    if (converted) {
      m_cache->store(emitted.frame, &m_workerPixels, m_anchor, m_direction);
    } else if (emitted.frame == target || emitted.status == Decoder::Status::kEnd ||
               emitted.frame > target) {
      // The target cannot be had: note it as failed rather than try again and again.
      m_cache->store(target, nullptr, m_anchor, m_direction);
    }
  }
}

void FfmpegVideoReader::stopWorker() {
  if (!m_worker.joinable()) return;
  {
    std::lock_guard stateLock(m_stateMutex);
    m_stop = true;
  }
  m_wake.notify_all();
  m_worker.join();
  m_stop = false;
}

}  // namespace velimoro::media
