#include "media/ffmpeg_video_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "media/picture_cache.h"
#include "media/video_decoder.h"

namespace velimoro::media {
namespace {

constexpr std::size_t kCacheBudgetBytes = std::size_t{192} << 20;
constexpr int kMaxCachedFrames = 64;
constexpr int kPrefetchFrames = 8;

}  // namespace

FfmpegVideoReader::FfmpegVideoReader()
    : m_cache(std::make_unique<PictureCache>(0, 1, 1)),
      m_converter(std::make_unique<RgbConverter>()) {}

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
  m_plan = {};
  m_frames = nullptr;
  m_cache = std::make_unique<PictureCache>(0, 1, 1);
  m_decoder = std::make_unique<VideoDecoder>();
  if (!m_decoder->open(path, error)) {
    m_decoder.reset();
    return false;
  }
  m_frames = m_decoder.get();
  m_frameCount = m_decoder->index().frameCount();
  m_width = m_decoder->width();
  m_height = m_decoder->height();
  m_cache = std::make_unique<PictureCache>(kCacheBudgetBytes, m_decoder->pictureBytes(),
                                           kMaxCachedFrames);
  return true;
}

int FfmpegVideoReader::frameCount() const {
  return m_frameCount;
}

bool FfmpegVideoReader::decodeFrame(int n, RgbPicture& picture) {
  if (n < 0 || n >= m_frameCount) return false;
  // A frame the capture dropped shows the picture of the frame before.
  const int wanted = m_frames->index().pictureOf(n);
  ffmpeg::FramePtr shown;
  bool ok = false;
  bool done = false;
  int direction = 1;
  int keepFrom = wanted;
  {
    std::lock_guard stateLock(m_stateMutex);
    // A short step tells which way the train moves; a jump does not.
    if (n != m_anchor && std::abs(n - m_anchor) <= kPrefetchFrames)
      m_direction = n < m_anchor ? -1 : 1;
    m_anchor = n;
    direction = m_direction;
    if (const PictureCache::Entry* entry = m_cache->find(wanted)) {
      ok = entry->ok;
      if (ok) shown.reset(av_frame_clone(entry->picture.get()));
      done = true;
    } else {
      ++m_callerWaiting;
    }
    // Going back, the pictures behind the one asked for are the next ones wanted: they are kept
    // from this pass, as many as the cache holds.
    if (direction < 0) keepFrom = std::max(0, wanted - m_cache->capacity() + 3);
  }
  if (!done) {
    std::unique_lock decoderLock(m_decoderMutex);
    {
      std::lock_guard stateLock(m_stateMutex);
      // The worker may have finished this very frame while we waited for the decoder.
      if (const PictureCache::Entry* entry = m_cache->find(wanted)) {
        ok = entry->ok;
        if (ok) shown.reset(av_frame_clone(entry->picture.get()));
        done = true;
      }
    }
    if (!done) m_decoder->aimAt(wanted, keepFrom);
    while (!done) {
      const VideoDecoder::Output out = m_decoder->next();
      std::lock_guard stateLock(m_stateMutex);
      if (out.status == VideoDecoder::Status::kEnd || out.frame > wanted) {
        m_cache->store(wanted, nullptr, n, direction);
        if (out.status == VideoDecoder::Status::kEnd) break;
      }
      const bool decoded = out.status == VideoDecoder::Status::kDecoded;
      if (out.frame >= wanted) {
        ok = out.frame == wanted && decoded;
        if (ok) shown.reset(av_frame_clone(m_decoder->picture()));
        done = true;
      }
      if (decoded && (out.frame == wanted || m_cache->worthKeeping(out.frame, n, direction)))
        m_cache->store(out.frame, m_decoder->picture(), n, direction);
      else if (out.frame == wanted)
        m_cache->store(wanted, nullptr, n, direction);
    }
    decoderLock.unlock();
    {
      std::lock_guard stateLock(m_stateMutex);
      --m_callerWaiting;
    }
    m_wake.notify_all();
  }
  if (!ok || !shown) return false;
  std::lock_guard convertLock(m_convertMutex);
  if (m_outWidth > 0) return m_converter->convert(*shown, m_outWidth, m_outHeight, picture);
  return m_converter->convert(*shown, m_width, m_height, picture);
}

void FfmpegVideoReader::setOutputSize(int width, int height) {
  constexpr int kMaxSide = 8192;
  constexpr std::int64_t kMaxPixels = std::int64_t{4096} * 2304;
  const bool usable = width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
                      std::int64_t{width} * height <= kMaxPixels;
  std::lock_guard convertLock(m_convertMutex);
  m_outWidth = usable ? width : 0;
  m_outHeight = usable ? height : 0;
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

// What the worker decodes next. Forwards: the frames just ahead of the train that the cache
// lacks. Backwards: when fewer than half the frames the cache holds lie ready behind the train,
// the stretch below them, decoded in one forward pass from its keyframe, so that a train rolling
// back costs one pass a stretch, not one seek a frame.
FfmpegVideoReader::Plan FfmpegVideoReader::nextPlan() const {
  const VideoFrameIndex& index = m_frames->index();
  const int capacity = m_cache->capacity();
  if (m_direction > 0) {
    const int window = std::max(1, std::min(kPrefetchFrames, capacity / 2));
    const int last = std::min(m_anchor + window - 1, m_frameCount - 1);
    for (int frame = m_anchor; frame <= last; ++frame) {
      if (m_cache->find(index.pictureOf(frame)) == nullptr) return {index.pictureOf(frame), last};
    }
    return {};
  }
  int ready = 0;
  int top = m_anchor;
  while (top >= 0 && m_cache->find(index.pictureOf(top)) != nullptr) {
    ++ready;
    --top;
  }
  // The next stretch is decoded while the train passes the frames still ready, and takes the
  // room the cache has besides those: half and half, so that a stretch far from its keyframe is
  // ready in time and one near it costs little more than its own frames.
  const int reserve = std::max(2, capacity / 2);
  if (top < 0 || ready > reserve) return {};
  const int stretch = std::max(1, capacity - ready - 2);
  return {index.pictureOf(std::max(0, top - stretch + 1)), top};
}

// Whether the pass is over or no longer wanted where the train is now.
bool FfmpegVideoReader::planDone(const Plan& plan) const {
  if (plan.from < 0 || plan.from > plan.to) return true;
  if (m_direction > 0) return m_anchor > plan.to || m_anchor < plan.from - kPrefetchFrames;
  return m_anchor < plan.from || m_anchor > plan.to + m_cache->capacity();
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
    Plan plan;
    {
      std::lock_guard stateLock(m_stateMutex);
      if (m_stop) return;
      if (m_callerWaiting > 0) continue;
      if (planDone(m_plan)) m_plan = nextPlan();
      // Frames the cache got meanwhile (from the caller) need not be decoded again.
      const VideoFrameIndex& index = m_frames->index();
      while (m_plan.from >= 0 && m_plan.from <= m_plan.to && m_cache->find(m_plan.from) != nullptr)
        m_plan.from = index.nextPicture(m_plan.from + 1);
      if (planDone(m_plan)) {
        m_plan = {};
        m_prefetchWanted = false;
        continue;
      }
      plan = m_plan;
    }
    m_decoder->aimAt(plan.from, plan.from);
    const VideoDecoder::Output out = m_decoder->next();
    std::lock_guard stateLock(m_stateMutex);
    const VideoFrameIndex& index = m_frames->index();
    const bool decoded = out.status == VideoDecoder::Status::kDecoded;
    if (decoded && ((out.frame >= plan.from && out.frame <= plan.to) ||
                    m_cache->worthKeeping(out.frame, m_anchor, m_direction)))
      m_cache->store(out.frame, m_decoder->picture(), m_anchor, m_direction);
    if (out.status == VideoDecoder::Status::kEnd || out.frame >= plan.from) {
      // The frame aimed at cannot be had when the decoder ended or passed it: note it as failed
      // rather than try again and again.
      if (out.frame != plan.from || !decoded)
        m_cache->store(plan.from, nullptr, m_anchor, m_direction);
      if (m_plan.from == plan.from)
        m_plan.from = out.status == VideoDecoder::Status::kEnd
                          ? index.nextPicture(plan.from + 1)
                          : index.nextPicture(std::max(out.frame, plan.from) + 1);
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
