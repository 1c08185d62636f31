#include "media/picture_cache.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <utility>

extern "C" {
#include <libavutil/opt.h>
}

#include "media/video_reader.h"

namespace velimoro::media {
namespace {

constexpr int kScalerBlock = 16;           // pixels the scaler's fast paths write at a time
constexpr std::size_t kScalerSpill = 256;  // bytes past the picture they may reach

std::size_t bytesOf(const AVFrame& picture) {
  std::size_t bytes = 0;
  for (const AVBufferRef* buffer : picture.buf) {
    if (buffer != nullptr) bytes += buffer->size;
  }
  return bytes;
}

// A scaler from the frame's format to `width` x `height` of `rgb`. Scaling ones cut the picture
// into slices done on threads of the scaler's own.
SwsContext* makeScaler(const AVFrame& frame, AVPixelFormat format, int width, int height,
                       AVPixelFormat rgb) {
  SwsContext* scaler = sws_alloc_context();
  if (scaler == nullptr) return nullptr;
  const bool scaling = width != frame.width || height != frame.height;
  const unsigned cores = std::thread::hardware_concurrency();
  const std::int64_t threads = scaling ? std::clamp<unsigned>(cores, 1, 4) : 1;
  const std::pair<const char*, std::int64_t> options[] = {{"srcw", frame.width},
                                                          {"srch", frame.height},
                                                          {"src_format", format},
                                                          {"dstw", width},
                                                          {"dsth", height},
                                                          {"dst_format", rgb},
                                                          {"sws_flags", SWS_BILINEAR},
                                                          {"threads", threads}};
  for (const auto& [name, value] : options) {
    if (av_opt_set_int(scaler, name, value, 0) < 0) {
      sws_freeContext(scaler);
      return nullptr;
    }
  }
  if (sws_init_context(scaler, nullptr, nullptr) < 0) {
    sws_freeContext(scaler);
    return nullptr;
  }
  return scaler;
}

void keepBuffer(void* /*opaque*/, std::uint8_t* /*data*/) {}

// Scales `frame` into `bytes` at `data`, rows `stride` bytes apart. The sliced scaler works on
// frames, so the memory is lent to one as a buffer it does not own.
bool scaleInto(SwsContext* scaler, const AVFrame& frame, bool sliced, std::uint8_t* data,
               std::size_t bytes, int stride, int width, int height, AVPixelFormat rgb) {
  if (!sliced) {
    std::uint8_t* planes[4] = {data, nullptr, nullptr, nullptr};
    const int strides[4] = {stride, 0, 0, 0};
    return sws_scale(scaler, frame.data, frame.linesize, 0, frame.height, planes, strides) ==
           height;
  }
  ffmpeg::FramePtr target(av_frame_alloc());
  if (!target) return false;
  target->buf[0] = av_buffer_create(data, bytes, keepBuffer, nullptr, 0);
  if (target->buf[0] == nullptr) return false;
  target->data[0] = data;
  target->linesize[0] = stride;
  target->width = width;
  target->height = height;
  target->format = rgb;
  return sws_scale_frame(scaler, target.get(), &frame) >= 0;
}

}  // namespace

PictureCache::PictureCache(std::size_t budgetBytes, std::size_t pictureBytes, int maxEntries)
    : m_budget(budgetBytes), m_maxEntries(std::max(maxEntries, 1)) {
  const std::size_t fit = budgetBytes / std::max<std::size_t>(pictureBytes, 1);
  m_capacity =
      static_cast<int>(std::clamp<std::size_t>(fit, 1, static_cast<std::size_t>(m_maxEntries)));
}

const PictureCache::Entry* PictureCache::find(int frame) const {
  for (const Entry& entry : m_entries) {
    if (entry.frame == frame) return &entry;
  }
  return nullptr;
}

bool PictureCache::worthKeeping(int frame, int anchor, int direction) const {
  if ((frame - anchor) * direction < -2) return false;  // passed: only a short step back
  if (static_cast<int>(m_entries.size()) < m_maxEntries && m_bytes < m_budget) return true;
  const std::int64_t cost = evictionRank(frame, anchor, direction);
  for (const Entry& entry : m_entries) {
    if (evictionRank(entry.frame, anchor, direction) > cost) return true;
  }
  return false;
}

PictureCache::Entry* PictureCache::mostEvictable(int anchor, int direction) {
  Entry* worst = nullptr;
  for (Entry& entry : m_entries) {
    if (worst == nullptr || evictionRank(entry.frame, anchor, direction) >
                                evictionRank(worst->frame, anchor, direction))
      worst = &entry;
  }
  return worst;
}

void PictureCache::store(int frame, const AVFrame* picture, int anchor, int direction) {
  ffmpeg::FramePtr reference;
  std::size_t bytes = 0;
  if (picture != nullptr) {
    reference.reset(av_frame_clone(picture));
    if (!reference) return;
    bytes = bytesOf(*reference);
  }
  auto same = std::find_if(m_entries.begin(), m_entries.end(),
                           [frame](const Entry& entry) { return entry.frame == frame; });
  if (same != m_entries.end()) {
    m_bytes -= same->bytes;
    m_entries.erase(same);
  }
  const std::int64_t cost = evictionRank(frame, anchor, direction);
  while (!m_entries.empty() &&
         (static_cast<int>(m_entries.size()) >= m_maxEntries || m_bytes + bytes > m_budget)) {
    Entry* worst = mostEvictable(anchor, direction);
    if (evictionRank(worst->frame, anchor, direction) <= cost) return;  // the rest matter more
    m_bytes -= worst->bytes;
    std::swap(*worst, m_entries.back());
    m_entries.pop_back();
  }
  m_bytes += bytes;
  m_entries.push_back({frame, picture != nullptr, std::move(reference), bytes});
}

bool RgbConverter::convert(const AVFrame& frame, int width, int height, RgbPicture& out) {
  if (frame.data[0] == nullptr || frame.width <= 0 || frame.height <= 0) return false;
  auto format = static_cast<AVPixelFormat>(frame.format);
  bool fullRange = ffmpeg::rawValue(frame.color_range) == AVCOL_RANGE_JPEG;
  const int colourSpace = ffmpeg::rawValue(frame.colorspace);
  // The JPEG formats are the plain YUV layouts at full range; naming the range keeps the scaler
  // from guessing it.
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
  const ScalerKey key{frame.width, frame.height, format, fullRange, colourSpace, out.layout};
  // Scaled to an odd width the scaler falls back to its slow full-chroma path, several times
  // slower: the picture is scaled one column wider, less than a pixel's stretch anywhere, and
  // the last column left out.
  const bool scaling = width != frame.width || height != frame.height;
  const int scaledWidth = scaling && width % 2 != 0 ? width + 1 : width;
  const AVPixelFormat rgb =
      out.layout == PixelLayout::kXrgb32 ? AV_PIX_FMT_RGB32 : AV_PIX_FMT_RGB24;
  if (!m_scaler || !(key == m_key) || width != m_outWidth || height != m_outHeight) {
    // AV_PIX_FMT_RGB32 is the native-order 0xAARRGGBB word of the layout, which the scaler also
    // writes faster than three-byte RGB.
    m_scaler.reset(makeScaler(frame, format, scaledWidth, height, rgb));
    if (!m_scaler) return false;
    m_key = key;
    m_outWidth = width;
    m_outHeight = height;
    const int colours = colourSpace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
    sws_setColorspaceDetails(m_scaler.get(), sws_getCoefficients(colours), fullRange ? 1 : 0,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
  }
  const std::size_t row =
      static_cast<std::size_t>(width) * static_cast<std::size_t>(out.bytesPerPixel());
  const std::size_t size = row * static_cast<std::size_t>(height);
  out.width = width;
  out.height = height;
  // The scaler's fast paths write whole blocks of pixels, past the end of a row whose width is
  // not a multiple of the block (by 12 bytes at 604 pixels): such pictures are written in padded
  // rows into a buffer with room after the last, and the rows copied out.
  if (width % kScalerBlock == 0) {
    out.pixels.reserve(size + kScalerSpill);
    out.pixels.resize(size);
    return scaleInto(m_scaler.get(), frame, scaling, out.pixels.data(), size, static_cast<int>(row),
                     scaledWidth, height, rgb);
  }
  const std::size_t stride =
      (static_cast<std::size_t>(scaledWidth) * static_cast<std::size_t>(out.bytesPerPixel()) + 63) /
      64 * 64;
  const std::size_t padded = stride * static_cast<std::size_t>(height) + kScalerSpill;
  if (m_padded.size() != padded) m_padded.resize(padded);
  if (!scaleInto(m_scaler.get(), frame, scaling, m_padded.data(), m_padded.size(),
                 static_cast<int>(stride), scaledWidth, height, rgb))
    return false;
  out.pixels.resize(size);
  for (int y = 0; y < height; ++y) {
    const auto line = static_cast<std::size_t>(y);
    std::memcpy(out.pixels.data() + row * line, m_padded.data() + stride * line, row);
  }
  return true;
}

}  // namespace velimoro::media
