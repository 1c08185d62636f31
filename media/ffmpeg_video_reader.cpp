#include "media/ffmpeg_video_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "media/picture_cache.h"
#include "media/video_decoder.h"

namespace velimoro::media {
namespace {

// The reader's pictures stay within 240 MB: the cache of frames around the train (at 1080p about
// 60 frames, which a train rolling back needs) and the pictures of the frames a jump may land on
// (at 1080p 15: three save slots and twelve stations).
constexpr std::size_t kCacheBudgetBytes = std::size_t{192} << 20;
constexpr std::size_t kJumpBudgetBytes = std::size_t{48} << 20;
constexpr int kMaxCachedFrames = 64;
constexpr int kMaxJumpPictures = 24;
constexpr int kPrefetchFrames = 8;

}  // namespace

struct FfmpegVideoReader::Jumps {
  std::vector<int> targets;                  // still to decode, first first (m_stateMutex)
  std::map<int, ffmpeg::FramePtr> pictures;  // those decoded (m_stateMutex)
  std::unique_ptr<VideoDecoder> decoder;     // the worker's own, while targets are left
  int aimedAt = -1;                          // the target the decoder is aimed at
};

FfmpegVideoReader::FfmpegVideoReader()
    : m_cache(std::make_unique<PictureCache>(0, 1, 1)),
      m_jumps(std::make_unique<Jumps>()),
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
  m_jumps = std::make_unique<Jumps>();
  m_path = path;
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
    if (const auto jump = m_jumps->pictures.find(wanted); jump != m_jumps->pictures.end()) {
      ok = true;
      shown.reset(av_frame_clone(jump->second.get()));
      done = true;
    } else if (const PictureCache::Entry* entry = m_cache->find(wanted)) {
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
  startWorker();
}

void FfmpegVideoReader::expectJumps(const std::vector<int>& frames) {
  {
    std::lock_guard stateLock(m_stateMutex);
    if (m_frameCount <= 0) return;
    const std::size_t bytes = std::max<std::size_t>(1, m_decoder->pictureBytes());
    const auto room =
        static_cast<std::size_t>(std::min<std::size_t>(kMaxJumpPictures, kJumpBudgetBytes / bytes));
    std::vector<int> wanted;
    for (const int frame : frames) {
      if (wanted.size() >= room) break;
      if (frame < 0 || frame >= m_frameCount) continue;
      const int picture = m_frames->index().pictureOf(frame);
      if (std::find(wanted.begin(), wanted.end(), picture) == wanted.end())
        wanted.push_back(picture);
    }
    std::erase_if(m_jumps->pictures, [&](const auto& kept) {
      return std::find(wanted.begin(), wanted.end(), kept.first) == wanted.end();
    });
    std::erase_if(wanted, [&](int picture) { return m_jumps->pictures.contains(picture); });
    m_jumps->targets = std::move(wanted);
    if (m_jumps->targets.empty()) return;
  }
  startWorker();
}

bool FfmpegVideoReader::jumpsReady() const {
  std::lock_guard stateLock(m_stateMutex);
  return m_jumps->targets.empty();
}

void FfmpegVideoReader::startWorker() {
  if (!m_worker.joinable()) {
    m_stop = false;
    m_worker = std::thread([this] { workerLoop(); });
  }
  m_wake.notify_all();
}

// One turn of decoding toward the next frame a jump may land on, with the worker's own decoder,
// so the train's decoder keeps its place. False when there was nothing to do.
bool FfmpegVideoReader::decodeJumpTarget() {
  Jumps& jumps = *m_jumps;
  int target = -1;
  {
    std::lock_guard stateLock(m_stateMutex);
    if (m_stop || m_callerWaiting > 0 || m_prefetchWanted || jumps.targets.empty()) return false;
    target = jumps.targets.front();
  }
  if (!jumps.decoder) {
    auto decoder = std::make_unique<VideoDecoder>();
    std::string error;
    if (!decoder->open(m_path, error)) {
      std::lock_guard stateLock(m_stateMutex);
      jumps.targets.clear();
      return false;
    }
    jumps.decoder = std::move(decoder);
    jumps.aimedAt = -1;
  }
  if (jumps.aimedAt != target) {
    jumps.decoder->aimAt(target, target);
    jumps.aimedAt = target;
  }
  const VideoDecoder::Output out = jumps.decoder->next();
  bool finished = false;
  {
    std::lock_guard stateLock(m_stateMutex);
    // The list may have changed meanwhile; the next turn aims at its new head.
    if (jumps.targets.empty() || jumps.targets.front() != target) return true;
    if (out.status != VideoDecoder::Status::kEnd && out.frame < target) return true;
    // A target that cannot be decoded is left to decodeFrame, which says so.
    if (out.status == VideoDecoder::Status::kDecoded && out.frame == target)
      jumps.pictures[target].reset(av_frame_clone(jumps.decoder->picture()));
    jumps.targets.erase(jumps.targets.begin());
    jumps.aimedAt = -1;
    finished = jumps.targets.empty();
  }
  // Its buffers go once every target is decoded.
  if (finished) jumps.decoder.reset();
  return true;
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
    bool jumpsOnly = false;
    {
      std::unique_lock stateLock(m_stateMutex);
      m_wake.wait(stateLock, [this] {
        return m_stop || (m_callerWaiting == 0 && (m_prefetchWanted || !m_jumps->targets.empty()));
      });
      if (m_stop) return;
      jumpsOnly = !m_prefetchWanted;
    }
    // The frames ahead of the train come first; the jump targets take the time left over.
    if (jumpsOnly) {
      decodeJumpTarget();
      continue;
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
