// Fetching route video frames through the FFmpeg reader: play in order, a jump of 1000 frames,
// steps backwards, and play with decoding ahead on the worker, on MJPEG and MPEG-4 Visual files of
// 604 x 340 at 30 frames a second with a keyframe every 30 frames. The files are written at start
// by the ffmpeg tool, which also decodes the same files for comparison
// (`ffmpeg -benchmark -i FILE -f null -`). Times are per frame fetched, in milliseconds.
//
// The HD cases read 1080p H.264 (in MP4) and HEVC (in Matroska) files with B-frames and a keyframe
// every 5 s (150 frames), written on first use: frame after frame (against the ffmpeg tool's
// single-threaded decode to RGB of the same file, measured in the same run), backwards with the
// worker decoding the stretch behind the train (frames a second the caller gets), and exact jumps
// to places chosen at random. Run only those with `--benchmark_filter=Hd`.
//
// BM_OpenRouteVideo opens a route-length video: the file VELIMORO_BENCH_VIDEO names, else a
// generated one of 19500 MJPEG frames (the long file repeated). Its first open is the one that
// reads the file from disk when the page cache was dropped before the run
// (`sync; echo 3 > /proc/sys/vm/drop_caches`, as root); the median is an open of a cached file.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "media/ffmpeg_video_reader.h"

namespace {

using velimoro::media::FfmpegVideoReader;
using velimoro::media::RgbPicture;
using Clock = std::chrono::steady_clock;

constexpr int kShortFrames = 600;
constexpr int kLongFrames = 1500;
constexpr int kJump = 1000;
constexpr int kRouteFrames = 19500;
constexpr int kHdFrames = 450;

const char* const kCodecNames[] = {"mjpeg", "mpeg4"};

// What each codec's file is written with; the noise gives the pictures the grain of filmed
// scenery, so frames are about as large as a route video's (some 27 KB for MJPEG and 15 KB for
// MPEG-4 at this size).
std::string encoderArguments(int codec) {
  return codec == 0 ? "-c:v mjpeg -q:v 3"
                    : "-c:v mpeg4 -q:v 3 -g 30 -bf 0 -sc_threshold 1000000000";
}

class VideoFiles {
 public:
  VideoFiles() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velimoro-video-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
    m_routePath = m_root + "/mjpeg-route.avi";
    for (int codec = 0; codec < 2; ++codec) {
      write(path(codec, false), codec, kShortFrames);
      write(path(codec, true), codec, kLongFrames);
    }
  }
  ~VideoFiles() {
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
  }
  VideoFiles(const VideoFiles&) = delete;
  VideoFiles& operator=(const VideoFiles&) = delete;

  std::string path(int codec, bool longFile) const {
    return m_root + "/" + kCodecNames[codec] + (longFile ? "-long.avi" : ".avi");
  }

  // The 1080p file of `codec` (0: H.264 in MP4, 1: HEVC in Matroska), written on first use.
  const std::string& hdPath(int codec) const {
    std::call_once(m_hdWritten[codec], [this, codec] {
      m_hdPaths[codec] = m_root + (codec == 0 ? "/hd-h264.mp4" : "/hd-hevc.mkv");
      // No keyframes at scene changes: the encoders would put extra ones into the moving noise,
      // and the groups must be the full 150 frames a jump may have to decode through.
      const std::string encoder =
          codec == 0 ? "-c:v libx264 -preset veryfast -crf 23 -g 150 -bf 3 -sc_threshold 0"
                     : "-c:v libx265 -preset ultrafast -crf 26 -x265-params "
                       "keyint=150:min-keyint=150:scenecut=0:bframes=3:log-level=error";
      const std::string command =
          "ffmpeg -v error -nostdin -y -f lavfi -i "
          "'testsrc2=size=1920x1080:rate=30,noise=alls=4:allf=t' -frames:v " +
          std::to_string(kHdFrames) + " -pix_fmt yuv420p " + encoder + " '" + m_hdPaths[codec] +
          "'";
      if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot write " + m_hdPaths[codec] + " with: " + command);
    });
    return m_hdPaths[codec];
  }

  // The long MJPEG file repeated to a route's length, written on first use (copied, not coded).
  const std::string& routePath() const {
    std::call_once(m_routeWritten, [this] {
      const std::string command = "ffmpeg -v error -nostdin -y -stream_loop " +
                                  std::to_string(kRouteFrames / kLongFrames - 1) + " -i '" +
                                  path(0, true) + "' -c copy '" + m_routePath + "'";
      if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot write " + m_routePath + " with: " + command);
    });
    return m_routePath;
  }

 private:
  static void write(const std::string& path, int codec, int frames) {
    const std::string command =
        "ffmpeg -v error -nostdin -y -f lavfi -i "
        "'testsrc2=size=604x340:rate=30,noise=alls=4:allf=t' -frames:v " +
        std::to_string(frames) + " " + encoderArguments(codec) + " '" + path + "'";
    if (std::system(command.c_str()) != 0)
      throw std::runtime_error("cannot write " + path + " with: " + command);
  }

  std::string m_root;
  std::string m_routePath;
  mutable std::once_flag m_routeWritten;
  mutable std::string m_hdPaths[2];
  mutable std::once_flag m_hdWritten[2];
};

const VideoFiles& files() {
  static const VideoFiles instance;
  return instance;
}

// The value `percent` % of `values` lie at or below (nearest rank); 0 for none.
double percentile(std::vector<double> values, int percent) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t rank = (values.size() * static_cast<std::size_t>(percent) + 99) / 100;
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double maximum(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Times one fetch in milliseconds and feeds it to the benchmark's manual clock.
double timedFetch(benchmark::State& state, FfmpegVideoReader& reader, int n, RgbPicture& picture) {
  const auto start = Clock::now();
  const bool ok = reader.decodeFrame(n, picture);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!ok) state.SkipWithError(("frame " + std::to_string(n) + " failed").c_str());
  state.SetIterationTime(seconds);
  return seconds * 1000;
}

void report(benchmark::State& state, const std::vector<double>& ms) {
  state.counters["median_ms"] = median(ms);
  state.counters["max_ms"] = maximum(ms);
}

void openOrFail(benchmark::State& state, FfmpegVideoReader& reader, const std::string& path) {
  std::string error;
  if (!reader.open(path, error)) state.SkipWithError(error.c_str());
}

// Milliseconds per frame the ffmpeg tool takes to decode `path`, from the "rtime" of its
// -benchmark line (the best of three runs); `decoding` go before the input, `output` after it.
double ffmpegMsPerFrame(const std::string& path, const std::string& decoding,
                        const std::string& output, int frames) {
  static std::map<std::string, double> measured;
  const std::string command = "ffmpeg -hide_banner -nostdin -benchmark " + decoding + " -i '" +
                              path + "' " + output + " -f null - 2>&1";
  if (const auto found = measured.find(command); found != measured.end()) return found->second;
  double best = 0;
  for (int run = 0; run < 3; ++run) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return 0;
    std::string printed;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr)
      printed += buffer;
    pclose(pipe);
    const std::size_t at = printed.find("rtime=");
    if (at == std::string::npos) return 0;
    const double ms = std::stod(printed.substr(at + 6)) * 1000 / frames;
    best = run == 0 ? ms : std::min(best, ms);
  }
  measured[command] = best;
  return best;
}

// The process's resident memory in MB, from /proc/self/status; 0 where it cannot be read.
double residentMb() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  double kb = 0;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, "VmRSS: %lf kB", &kb) == 1) break;
  }
  std::fclose(status);
  return kb / 1024;
}

void BM_Open(benchmark::State& state) {
  const std::string path = files().path(static_cast<int>(state.range(0)), true);
  for (auto _ : state) {
    FfmpegVideoReader reader;
    openOrFail(state, reader, path);
    benchmark::DoNotOptimize(reader.frameCount());
  }
  state.counters["frames"] = kLongFrames;
}

// Opening a route video, as at the start of a drive and at the end of each scene movie; the open
// is all the UI thread waits for before the first frame.
void BM_OpenRouteVideo(benchmark::State& state) {
  const char* named = std::getenv("VELIMORO_BENCH_VIDEO");
  const std::string path = named != nullptr && *named != '\0' ? named : files().routePath();
  std::vector<double> ms;
  int frames = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    FfmpegVideoReader reader;
    openOrFail(state, reader, path);
    frames = reader.frameCount();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    ms.push_back(seconds * 1000);
  }
  report(state, ms);
  state.counters["first_ms"] = ms.empty() ? 0 : ms.front();
  state.counters["frames"] = frames;
  std::error_code ec;
  const auto bytes = std::filesystem::file_size(path, ec);
  state.counters["MB"] = ec ? 0 : static_cast<double>(bytes) / (1 << 20);
}

// Frame after frame, as the train moves at one frame per step; no decoding ahead.
void BM_Sequential(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  const std::string path = files().path(codec, false);
  FfmpegVideoReader reader;
  openOrFail(state, reader, path);
  RgbPicture picture;
  std::vector<double> ms;
  int n = 0;
  for (auto _ : state) {
    ms.push_back(timedFetch(state, reader, n, picture));
    n = (n + 1) % kShortFrames;
  }
  report(state, ms);
  // The tool as it stands (threads on every core, no colour conversion), on one thread as the
  // reader decodes, and on one thread converting to RGB as the reader does.
  state.counters["ffmpeg_ms"] = ffmpegMsPerFrame(path, "", "", kShortFrames);
  state.counters["ffmpeg_1thread_ms"] = ffmpegMsPerFrame(path, "-threads 1", "", kShortFrames);
  state.counters["ffmpeg_1thread_rgb_ms"] =
      ffmpegMsPerFrame(path, "-threads 1", "-pix_fmt rgb24", kShortFrames);
}

// Exact frames 1000 apart, forwards and back, each landing somewhere inside a group of pictures.
void BM_Jump1000(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  FfmpegVideoReader reader;
  openOrFail(state, reader, files().path(codec, true));
  RgbPicture picture;
  std::vector<double> ms;
  unsigned step = 0;
  for (auto _ : state) {
    const int low = static_cast<int>((step * 7919u) % (kLongFrames - kJump));
    const int n = step % 2 == 0 ? low + kJump : low;
    ms.push_back(timedFetch(state, reader, n, picture));
    ++step;
  }
  report(state, ms);
}

// One frame back from where forward play stopped: the frame behind is still kept.
void BM_StepBack(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  FfmpegVideoReader reader;
  openOrFail(state, reader, files().path(codec, false));
  RgbPicture picture;
  std::vector<double> ms;
  int n = 40;
  for (auto _ : state) {
    state.PauseTiming();
    reader.decodeFrame(n, picture);
    state.ResumeTiming();
    ms.push_back(timedFetch(state, reader, n - 1, picture));
    n = n + 37 < kShortFrames ? n + 37 : 40 + n % 7;
  }
  report(state, ms);
}

// Reversing frame by frame from a fresh position: the first step into each group of pictures
// decodes the group, the rest of the group comes from the cache.
void BM_BackwardPlay(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  FfmpegVideoReader reader;
  openOrFail(state, reader, files().path(codec, false));
  RgbPicture picture;
  std::vector<double> ms;
  int n = kShortFrames - 1;
  for (auto _ : state) {
    ms.push_back(timedFetch(state, reader, n, picture));
    n = n > 0 ? n - 1 : kShortFrames - 1;
  }
  report(state, ms);
}

// The UI thread's wait per frame when the worker decodes ahead between the 33 ms steps of the
// simulation: state.range(1) frames a step (1: the speed the video was filmed at), state.range(2)
// the direction.
void BM_PlayWithPrefetch(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  const int stride = static_cast<int>(state.range(1));
  const int direction = static_cast<int>(state.range(2));
  FfmpegVideoReader reader;
  openOrFail(state, reader, files().path(codec, false));
  RgbPicture picture;
  std::vector<double> ms;
  int n = direction > 0 ? 0 : kShortFrames - 1;
  // The first frame after a jump costs what BM_Jump1000 measures; this measures the play after.
  reader.decodeFrame(n, picture);
  reader.prefetch(n, direction);
  std::this_thread::sleep_for(std::chrono::milliseconds(33));
  for (auto _ : state) {
    ms.push_back(timedFetch(state, reader, n, picture));
    n += stride * direction;
    if (n < 0 || n >= kShortFrames) n = direction > 0 ? 0 : kShortFrames - 1;
    reader.prefetch(n, direction);
    std::this_thread::sleep_for(std::chrono::milliseconds(33));
  }
  report(state, ms);
}

// 1080p frame after frame, as the train moves at the speed the video was filmed at.
void BM_HdSequential(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  const std::string& path = files().hdPath(codec);
  FfmpegVideoReader reader;
  openOrFail(state, reader, path);
  RgbPicture picture;
  std::vector<double> ms;
  int n = 0;
  for (auto _ : state) {
    ms.push_back(timedFetch(state, reader, n, picture));
    n = (n + 1) % kHdFrames;
  }
  report(state, ms);
  double total = 0;
  for (const double each : ms)
    total += each;
  const double ffmpeg = ffmpegMsPerFrame(path, "-threads 1", "-pix_fmt rgb24", kHdFrames);
  state.counters["mean_ms"] = ms.empty() ? 0 : total / static_cast<double>(ms.size());
  state.counters["ffmpeg_1thread_rgb_ms"] = ffmpeg;
  state.counters["ratio"] =
      ffmpeg > 0 && !ms.empty() ? total / static_cast<double>(ms.size()) / ffmpeg : 0;
}

// 1080p backwards from the end to the start, the worker told each time where the train goes
// next. Flat out (state.range(1) 0): the frames a second the caller gets when it asks for the next
// one as soon as it has one. At 30 frames a second (1): how long the caller waits, and how many
// frames come later than the next step is due.
void BM_HdBackward(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  const bool paced = state.range(1) != 0;
  FfmpegVideoReader reader;
  openOrFail(state, reader, files().hdPath(codec));
  RgbPicture picture;
  std::vector<double> ms;
  int n = kHdFrames - 1;
  reader.decodeFrame(n, picture);
  reader.prefetch(n, -1);
  // A train starts rolling back slowly: the worker has the first stretch ready before it counts.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  int late = 0;
  const auto start = Clock::now();
  auto due = start;
  for (auto _ : state) {
    n = n > 0 ? n - 1 : kHdFrames - 1;
    due += std::chrono::microseconds(33333);
    ms.push_back(timedFetch(state, reader, n, picture));
    reader.prefetch(std::max(n - 1, 0), -1);
    if (paced) {
      if (Clock::now() > due) ++late;
      std::this_thread::sleep_until(due);
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  report(state, ms);
  state.counters["frames_per_s"] = seconds > 0 ? static_cast<double>(ms.size()) / seconds : 0;
  if (paced) state.counters["late"] = late;
  // With the cache full of 1080p pictures: its budget is 192 MB.
  state.counters["resident_MB"] = residentMb();
}

// 1080p exact jumps to frames chosen at random, as a station jump or a restored drive makes.
void BM_HdJump(benchmark::State& state) {
  const int codec = static_cast<int>(state.range(0));
  FfmpegVideoReader reader;
  openOrFail(state, reader, files().hdPath(codec));
  RgbPicture picture;
  std::vector<double> ms;
  unsigned step = 0;
  for (auto _ : state) {
    const int n = static_cast<int>((step++ * 7919u + 61u) % kHdFrames);
    ms.push_back(timedFetch(state, reader, n, picture));
  }
  report(state, ms);
  state.counters["p90_ms"] = percentile(ms, 90);
}

BENCHMARK(BM_HdSequential)
    ->ArgName("h264_0_hevc_1")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kHdFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HdBackward)
    ->ArgNames({"h264_0_hevc_1", "paced"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Iterations(kHdFrames - 1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HdJump)
    ->ArgName("h264_0_hevc_1")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->ArgName("mjpeg0_mpeg4_1")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenRouteVideo)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sequential)
    ->ArgName("mjpeg0_mpeg4_1")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jump1000)
    ->ArgName("mjpeg0_mpeg4_1")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepBack)
    ->ArgName("mjpeg0_mpeg4_1")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BackwardPlay)
    ->ArgName("mjpeg0_mpeg4_1")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kShortFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayWithPrefetch)
    ->ArgNames({"codec", "stride", "direction"})
    ->Args({0, 1, 1})
    ->Args({1, 1, 1})
    ->Args({0, 3, 1})
    ->Args({1, 3, 1})
    ->Args({0, 1, -1})
    ->Args({1, 1, -1})
    ->Iterations(150)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
