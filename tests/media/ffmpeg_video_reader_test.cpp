#include "media/ffmpeg_video_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

#include "media/avi_writer.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using media::FfmpegVideoReader;
using media::RgbPicture;
using testing::AviCodec;
using testing::AviOptions;
using testing::readFile;
using testing::TempDir;

constexpr int kFrames = 120;

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// Offset and size of the data of the `index`-th video chunk of an AVI file's movi list.
std::pair<std::size_t, std::size_t> videoChunk(const std::string& avi, int index) {
  std::size_t at = avi.find("movi");
  if (at == std::string::npos) return {0, 0};
  at += 4;
  while (at + 8 <= avi.size()) {
    const std::string id = avi.substr(at, 4);
    const std::size_t size = le32(avi, at + 4);
    if (id == "LIST") {
      at += 12;
      continue;
    }
    if (id == "00dc" && index-- == 0) return {at + 8, size};
    at += 8 + size + (size & 1);
  }
  return {0, 0};
}

// The marked videos, every frame carrying its number (paintNumberedFrame): written by the content
// generator's AVI writer, or piped into the ffmpeg tool in the codecs and containers route videos
// come in. Each has 120 frames with a keyframe every 30 (MJPEG: every frame).
struct MarkedVideo {
  const char* name;
  const char* file;     // its extension picks the container
  const char* encoder;  // the ffmpeg tool's arguments; null: the AVI writer
  AviCodec codec = AviCodec::kMjpeg;
  int bFrames = 0;
  const char* remux = nullptr;  // arguments of a copy the ffmpeg tool makes of its file
  int lost = 0;                 // frames the encoder leaves out at the end
};

const MarkedVideo kVideos[] = {
    {"Mjpeg", "mjpeg.avi", nullptr, AviCodec::kMjpeg},
    {"Mpeg4", "mpeg4.avi", nullptr, AviCodec::kMpeg4},
    {"Mpeg4ClosedBFrames", "mpeg4-closed.avi", nullptr, AviCodec::kMpeg4, 2},
    {"Mpeg4BFrames", "mpeg4-b.avi", "-c:v mpeg4 -bf 2 -g 30 -q:v 2"},
    // Packed as the Windows codecs wrote them: a P-frame and the B-frame before it in one chunk,
    // a "not coded" chunk in the P-frame's place. The encoder's delay leaves empty chunks at the
    // start of its file, which a copy with the chunks numbered one after the other closes.
    {"XvidPackedBFrames", "xvid-b.avi", "-c:v libxvid -bf 2 -g 30 -q:v 2 -vtag XVID",
     AviCodec::kMjpeg, 0, "-c copy -bsf:v setts=dts=N:pts=N", 2},
    {"Mpeg2BFrames", "mpeg2-b.avi", "-c:v mpeg2video -bf 2 -g 30 -q:v 2"},
    {"MsMpeg4", "msmpeg4.avi", "-c:v msmpeg4 -g 30 -q:v 2"},
    {"H264Avi", "h264.avi", "-c:v libx264 -g 30 -bf 3 -crf 16"},
    {"H264Mp4", "h264.mp4", "-c:v libx264 -g 30 -bf 3 -crf 16"},
    {"H264Mov", "h264.mov", "-c:v libx264 -g 30 -bf 2 -crf 16"},
    {"HevcMkv", "hevc.mkv",
     "-c:v libx265 -crf 16 -x265-params keyint=30:open-gop=1:log-level=error"},
    {"Vp9Webm", "vp9.webm", "-c:v libvpx-vp9 -g 30 -deadline realtime -cpu-used 8 -crf 16 -b:v 0"},
};

constexpr int kSmallWidth = 128;  // of the videos the ffmpeg tool writes
constexpr int kSmallHeight = 96;

// Pipes the marked frames into the ffmpeg tool; an empty string, or what went wrong.
std::string encodeWithFfmpeg(const std::string& path, const MarkedVideo& video) {
  const int width = kSmallWidth;
  const int height = kSmallHeight;
  const std::string encoded = video.remux != nullptr ? path + ".first.avi" : path;
  const std::string command = "ffmpeg -v error -y -f rawvideo -pix_fmt rgb24 -s " +
                              std::to_string(width) + "x" + std::to_string(height) +
                              " -r 30 -i pipe:0 -pix_fmt yuv420p " + video.encoder + " '" +
                              encoded + "'";
  FILE* pipe = popen(command.c_str(), "w");
  if (pipe == nullptr) return "cannot run " + command;
  RgbPicture picture;
  for (int i = 0; i < kFrames + video.lost; ++i) {
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * height * 3, 0);
    testing::paintNumberedFrame(i, picture);
    fwrite(picture.pixels.data(), 1, picture.pixels.size(), pipe);
  }
  if (pclose(pipe) != 0) return "failed: " + command;
  if (video.remux == nullptr) return "";
  const std::string copy =
      "ffmpeg -v error -y -i '" + encoded + "' " + video.remux + " '" + path + "'";
  return std::system(copy.c_str()) == 0 ? "" : "failed: " + copy;
}

// The test videos, each written when a test first asks for it (a test runs in a process of its
// own and needs one or two of them).
class VideoFiles {
 public:
  static VideoFiles& get() {
    static VideoFiles files;
    return files;
  }
  std::string path(const MarkedVideo& video) {
    const std::string file = dir.file(video.file);
    const auto index = static_cast<std::size_t>(&video - kVideos);
    std::call_once(m_written[index], [&] {
      std::string error;
      if (video.encoder != nullptr) {
        error = encodeWithFfmpeg(file, video);
      } else {
        AviOptions options;
        options.codec = video.codec;
        options.bFrames = video.bFrames;
        error = testing::writeAvi(file, options, testing::paintNumberedFrame);
      }
      if (!error.empty()) throw std::runtime_error(error);
    });
    return file;
  }
  std::string path(int video) { return path(kVideos[video]); }
  TempDir dir;

 private:
  std::once_flag m_written[std::size(kVideos)];
};

std::string writeVideo(const TempDir& dir, const std::string& name, const AviOptions& options) {
  const std::string path = dir.file(name);
  const std::string error = testing::writeAvi(path, options, testing::paintNumberedFrame);
  EXPECT_EQ(error, "");
  return path;
}

std::vector<int> range(int from, int to) {  // inclusive, either way
  std::vector<int> frames;
  for (int n = from;; n += from <= to ? 1 : -1) {
    frames.push_back(n);
    if (n == to) break;
  }
  return frames;
}

class FfmpegVideoReaderTest : public ::testing::TestWithParam<int> {
 protected:
  const MarkedVideo& video() const { return kVideos[GetParam()]; }
  std::string path() const { return VideoFiles::get().path(video()); }

  // The video's frames as a reader that opened it reads them in order, each checked to carry its
  // own number: what every other way of reading must give.
  const std::vector<RgbPicture>& inOrder() {
    if (m_inOrder.empty()) {
      FfmpegVideoReader reader;
      std::string error;
      EXPECT_TRUE(reader.open(path(), error)) << error;
      EXPECT_EQ(reader.frameCount(), kFrames);
      m_inOrder.resize(kFrames);
      for (int n = 0; n < kFrames; ++n) {
        EXPECT_TRUE(reader.decodeFrame(n, m_inOrder[static_cast<std::size_t>(n)])) << n;
        EXPECT_EQ(testing::readFrameNumber(m_inOrder[static_cast<std::size_t>(n)]), n);
      }
    }
    return m_inOrder;
  }

  // Reads `frames` in their order (telling the worker where the train goes next when `ahead`) and
  // checks each against the frame read in order; the number of frames that differ.
  int countWrong(FfmpegVideoReader& reader, const std::vector<int>& frames, bool ahead) {
    const std::vector<RgbPicture>& reference = inOrder();
    RgbPicture picture;
    int wrong = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
      const int n = frames[i];
      const bool same = reader.decodeFrame(n, picture) &&
                        picture.pixels == reference[static_cast<std::size_t>(n)].pixels;
      wrong += same ? 0 : 1;
      if (ahead && i + 1 < frames.size())
        reader.prefetch(frames[i + 1], frames[i + 1] < n ? -1 : 1);
    }
    return wrong;
  }

  void expectFrames(FfmpegVideoReader& reader, const std::vector<int>& frames, const char* how) {
    EXPECT_EQ(countWrong(reader, frames, false), 0) << how;
  }
  const RgbPicture& fresh(int n) { return inOrder()[static_cast<std::size_t>(n)]; }

 private:
  std::vector<RgbPicture> m_inOrder;
};

// Frame n is the n-th frame shown whatever was read before: in order, backwards (with and
// without the worker decoding the stretch behind), at random places and across keyframes.
TEST_P(FfmpegVideoReaderTest, GivesExactlyFrameNInEveryOrder) {
  const std::vector<RgbPicture>& reference = inOrder();
  ASSERT_EQ(reference.size(), static_cast<std::size_t>(kFrames));
  const bool small = video().encoder != nullptr;
  EXPECT_EQ(reference.back().width, small ? kSmallWidth : 160);
  EXPECT_EQ(reference.back().height, small ? kSmallHeight : 96);
  std::mt19937 random(5);
  std::vector<int> atRandom(200);
  for (int& n : atRandom)
    n = static_cast<int>(random() % kFrames);
  std::vector<int> mixed = range(0, 75);
  for (const std::vector<int>& part :
       {range(74, 25), std::vector<int>{100, 5, 119, 59, 60, 31, 0, 89, 90, 61, 118, 29, 30},
        std::vector<int>{40, 42, 47, 55, 62, 71, 95, 119},
        std::vector<int>{119, 117, 113, 100, 88, 59, 30, 1}})
    mixed.insert(mixed.end(), part.begin(), part.end());
  for (const bool ahead : {false, true}) {
    FfmpegVideoReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(path(), error)) << error;
    EXPECT_EQ(countWrong(reader, range(kFrames - 1, 0), ahead), 0) << "backwards " << ahead;
    EXPECT_EQ(countWrong(reader, atRandom, ahead), 0) << "at random " << ahead;
    EXPECT_EQ(countWrong(reader, mixed, ahead), 0) << "steps and jumps " << ahead;
  }
  // Frames decoded beforehand for jumps, by a decoder of their own, are the same frames, and the
  // train's own reading around them is undisturbed.
  FfmpegVideoReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(path(), error)) << error;
  const std::vector<int> jumps = {119, 59, 5, 90, 61, 0};
  reader.expectJumps(jumps);
  EXPECT_EQ(countWrong(reader, range(0, 20), true), 0) << "running while the jumps decode";
  for (int wait = 0; wait < 1000 && !reader.jumpsReady(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(reader.jumpsReady());
  std::vector<int> after = jumps;
  for (const std::vector<int>& part : {range(60, 70), range(89, 80), std::vector<int>{119, 5}})
    after.insert(after.end(), part.begin(), part.end());
  EXPECT_EQ(countWrong(reader, after, true), 0) << "jumps and steps after them";
}

TEST_P(FfmpegVideoReaderTest, RefusesFramesOutOfRange) {
  FfmpegVideoReader reader;
  RgbPicture picture;
  EXPECT_EQ(reader.frameCount(), 0);
  EXPECT_FALSE(reader.decodeFrame(0, picture));
  std::string error;
  ASSERT_TRUE(reader.open(path(), error)) << error;
  ASSERT_TRUE(reader.decodeFrame(7, picture));
  const RgbPicture kept = picture;
  for (const int n : {-1, kFrames, kFrames + 30, INT_MAX, INT_MIN}) {
    EXPECT_FALSE(reader.decodeFrame(n, picture)) << n;
  }
  EXPECT_TRUE(picture.pixels == kept.pixels);
  reader.prefetch(-5, 1);
  reader.prefetch(kFrames, -1);
  expectFrames(reader, {kFrames - 1, 0}, "after refused frames");
}

TEST_P(FfmpegVideoReaderTest, PrefetchedFramesAreTheFramesAskedFor) {
  FfmpegVideoReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(path(), error)) << error;
  RgbPicture picture;
  reader.prefetch(10, 1);
  for (int n = 10; n < 70; ++n) {
    ASSERT_TRUE(reader.decodeFrame(n, picture)) << n;
    EXPECT_TRUE(picture.pixels == fresh(n).pixels) << "forwards frame " << n;
    reader.prefetch(n + 1, 1);
  }
  reader.prefetch(110, -1);
  for (int n = 110; n > 20; n -= 2) {
    ASSERT_TRUE(reader.decodeFrame(n, picture)) << n;
    EXPECT_TRUE(picture.pixels == fresh(n).pixels) << "backwards frame " << n;
    reader.prefetch(n - 2, -1);
  }
  // Steps and jumps either way while the worker decodes ahead of wherever the train went.
  std::mt19937 random(11);
  int n = 60;
  for (int step = 0; step < 300; ++step) {
    const int roll = static_cast<int>(random() % 20);
    const int direction = roll < 12 ? 1 : -1;
    n = roll == 0 ? static_cast<int>(random() % kFrames)
                  : std::clamp(n + direction * (1 + roll % 3), 0, kFrames - 1);
    ASSERT_TRUE(reader.decodeFrame(n, picture)) << n;
    EXPECT_TRUE(picture.pixels == fresh(n).pixels) << "random walk frame " << n;
    reader.prefetch(std::clamp(n + direction, 0, kFrames - 1), direction);
  }
  // The worker may still be decoding when the file changes or the reader goes.
  reader.prefetch(50, 1);
  ASSERT_TRUE(reader.open(path(), error)) << error;
  expectFrames(reader, {3, 2}, "after reopening");
  reader.prefetch(90, -1);
}

INSTANTIATE_TEST_SUITE_P(Codecs, FfmpegVideoReaderTest,
                         ::testing::Range(0, static_cast<int>(std::size(kVideos))),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return std::string(kVideos[param.param].name);
                         });

TEST(FfmpegVideoReader, TruncatedFileOpensOrFailsCleanlyAndNeverGivesAWrongFrame) {
  TempDir dir;
  for (const MarkedVideo& video : kVideos) {
    const std::string whole = readFile(VideoFiles::get().path(video));
    for (const std::size_t cut : {whole.size() / 2, whole.size() / 3 + 1, std::size_t{600}}) {
      const std::string path = dir.writeBytes(video.file, whole.substr(0, cut));
      FfmpegVideoReader reader;
      std::string error;
      if (!reader.open(path, error)) {
        EXPECT_NE(error, "");
        continue;
      }
      const int count = reader.frameCount();
      EXPECT_GT(count, 0);
      EXPECT_LE(count, kFrames);
      // Every frame carries its own number but the last few, which the cut may have split, left
      // without the pictures they lean on or, where the file holds pictures in another order
      // than it shows them, left without some shown before them; each frame is the same picture
      // however it was reached.
      std::vector<int> order = range(0, count - 1);
      const std::vector<int> back = range(count - 1, 0);
      order.insert(order.end(), back.begin(), back.end());
      order.insert(order.end(), {count / 2, 0, count - 1, count / 3, count + 5});
      std::map<int, RgbPicture> seen;
      RgbPicture picture;
      for (const int n : order) {
        const bool intact = n + 4 < count;
        const bool decoded = reader.decodeFrame(n, picture);
        EXPECT_TRUE(decoded || !intact) << video.name << " cut at " << cut << " frame " << n;
        if (!decoded) continue;
        if (intact) {
          EXPECT_EQ(testing::readFrameNumber(picture), n) << video.name << " cut at " << cut;
        }
        const auto [before, first] = seen.try_emplace(n, picture);
        EXPECT_TRUE(first || before->second.pixels == picture.pixels) << video.name << " " << n;
      }
    }
  }
}

TEST(FfmpegVideoReader, FilesThatAreNoVideoFailToOpenWithAReason) {
  TempDir dir;
  std::mt19937 random(7);
  std::string garbage(200000, '\0');
  for (char& c : garbage)
    c = static_cast<char>(random());
  const char header[] = "RIFF\x10\0\0\0AVI LIST";
  const std::string fakeAvi = std::string(header, sizeof header - 1) + garbage.substr(0, 5000);
  // A video of pictures so large that the four frames the cache keeps at least would pass its
  // budget.
  AviOptions huge;
  huge.width = 4096;
  huge.height = 2048;
  huge.frames = 1;
  const std::vector<std::string> paths = {dir.writeBytes("garbage.avi", garbage),
                                          dir.writeBytes("fake.avi", fakeAvi),
                                          dir.writeBytes("empty.avi", ""),
                                          dir.writeBytes("sound.wav", testing::waveFile(0.5)),
                                          dir.file("missing.avi"),
                                          writeVideo(dir, "huge.avi", huge)};
  for (const std::string& path : paths) {
    FfmpegVideoReader reader;
    std::string error;
    EXPECT_FALSE(reader.open(path, error)) << path;
    EXPECT_NE(error, "") << path;
    if (path == paths.back()) {
      EXPECT_NE(error.find("画像の大きさ 4096 x 2048"), std::string::npos);
    }
    EXPECT_EQ(reader.frameCount(), 0) << path;
    RgbPicture picture;
    EXPECT_FALSE(reader.decodeFrame(0, picture));
  }
  // A failed open leaves nothing of the file before.
  FfmpegVideoReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(VideoFiles::get().path(0), error)) << error;
  EXPECT_FALSE(reader.open(paths[0], error));
  EXPECT_EQ(reader.frameCount(), 0);

  // A damaged stream whose frames name no known colour space (found by fuzzing) decodes or
  // fails frame by frame; the sanitizer build checks that nothing reads the unknown value as one.
  if (reader.open(VELIMORO_SOURCE_DIR "/tests/fuzz/video/unknown-colour-space.avi", error)) {
    RgbPicture picture;
    for (int n = 0; n < reader.frameCount(); ++n)
      reader.decodeFrame(n, picture);
  }
}

TEST(FfmpegVideoReader, ADamagedFrameFailsAloneAndTheCallerKeepsItsPicture) {
  TempDir dir;
  std::string avi = readFile(VideoFiles::get().path(0));
  const auto [at, size] = videoChunk(avi, 50);
  ASSERT_GT(size, 100u);
  for (std::size_t i = 0; i < size; ++i)
    avi[at + i] = static_cast<char>(0x5A);
  const std::string path = dir.writeBytes("damaged.avi", avi);

  FfmpegVideoReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(path, error)) << error;
  EXPECT_EQ(reader.frameCount(), kFrames);
  RgbPicture picture;
  for (int n = 45; n < 56; ++n) {
    const RgbPicture before = picture;
    if (n == 50) {
      EXPECT_FALSE(reader.decodeFrame(n, picture));
      EXPECT_TRUE(picture.pixels == before.pixels);
      EXPECT_FALSE(reader.decodeFrame(n, picture));  // again, now from the cache
    } else {
      ASSERT_TRUE(reader.decodeFrame(n, picture)) << n;
      EXPECT_EQ(testing::readFrameNumber(picture), n);
    }
  }
  reader.prefetch(47, 1);
  for (int n = 47; n < 56; ++n) {
    EXPECT_EQ(reader.decodeFrame(n, picture), n != 50) << n;
    reader.prefetch(n + 1, 1);
  }
}

TEST(FfmpegVideoReader, DecodesPicturesOfRouteVideoSizes) {
  TempDir dir;
  for (const auto& [width, height] : {std::pair{604, 340}, std::pair{98, 62}}) {
    AviOptions options;
    options.width = width;
    options.height = height;
    options.frames = 12;
    const std::string path = writeVideo(dir, "sized.avi", options);
    FfmpegVideoReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(path, error)) << error;
    RgbPicture picture;
    for (const int n : {0, 1, 2, 11, 5}) {
      ASSERT_TRUE(reader.decodeFrame(n, picture)) << n;
      ASSERT_EQ(picture.width, width);
      ASSERT_EQ(picture.height, height);
      ASSERT_EQ(picture.pixels.size(), static_cast<std::size_t>(width * height * 3));
      EXPECT_EQ(testing::readFrameNumber(picture), n);
    }
    if (width != 604) continue;
    // Scaled to half, one column short of it (an odd width), in both layouts: each pixel is the
    // mean of the four it stands for, and the word layout holds the same colours, opaque.
    const RgbPicture own = picture;
    reader.setOutputSize(301, 170);
    RgbPicture words;
    words.layout = media::PixelLayout::kXrgb32;
    ASSERT_TRUE(reader.decodeFrame(5, picture));
    ASSERT_TRUE(reader.decodeFrame(5, words));
    ASSERT_EQ(words.pixels.size(), std::size_t{301} * 170 * 4);
    double fromOwn = 0;
    int apart = 0;
    for (int y = 0; y < 170; ++y) {
      for (int x = 0; x < 301; ++x) {
        const std::size_t at = static_cast<std::size_t>(y * 301 + x);
        const std::uint32_t word = words.rgbAt(at * 4);
        if (words.pixels[at * 4 + 3 - static_cast<std::size_t>(words.colourOffset()) * 3] != 0xff)
          ++apart;
        for (int c = 0; c < 3; ++c) {
          const int rgb = picture.pixels[at * 3 + static_cast<std::size_t>(c)];
          if (std::abs(rgb - static_cast<int>(word >> (16 - 8 * c) & 0xff)) > 3) ++apart;
          int four = 0;
          for (int k = 0; k < 4; ++k)
            four += own.pixels[(static_cast<std::size_t>(2 * y + k / 2) * 604 + 2 * x + k % 2) * 3 +
                               static_cast<std::size_t>(c)];
          fromOwn += std::abs(rgb - four / 4);
        }
      }
    }
    EXPECT_EQ(apart, 0);
    EXPECT_LT(fromOwn / (301 * 170 * 3), 8);
  }
}

// Frames are numbered from the AVI file's own index, or by reading every packet where the index
// is gone or lacks its last entry; either way a dropped frame shows the frame before it again and
// the pictures are the same.
TEST(FfmpegVideoReader, ADroppedFrameShowsTheFrameBeforeItWithOrWithoutTheFilesIndex) {
  TempDir dir;
  for (const AviCodec codec : {AviCodec::kMjpeg, AviCodec::kMpeg4}) {
    AviOptions options;
    options.codec = codec;
    options.frames = 60;
    options.keyframeInterval = 10;
    options.dropped = {12, 13, 40};
    const std::string avi = readFile(writeVideo(dir, "dropped.avi", options));
    const std::size_t index = avi.rfind("idx1");
    ASSERT_NE(index, std::string::npos);
    std::string stripped = avi;
    stripped.replace(index, 4, "JUNK");
    std::string shortened = avi;
    const std::uint32_t size = le32(avi, index + 4) - 16;  // one entry less
    for (int i = 0; i < 4; ++i)
      shortened[index + 4 + static_cast<std::size_t>(i)] = static_cast<char>(size >> (8 * i));
    std::vector<int> order = range(0, options.frames - 1);
    order.insert(order.end(), {13, 40, 12, 59, 41, 0});
    const std::pair<const char*, std::string> variants[] = {
        {"indexed", avi}, {"stripped", stripped}, {"shortened", shortened}};
    std::map<int, RgbPicture> shown;  // as the file with its index shows them first
    for (const auto& [how, bytes] : variants) {
      FfmpegVideoReader reader;
      std::string error;
      ASSERT_TRUE(reader.open(dir.writeBytes("variant.avi", bytes), error)) << error;
      EXPECT_EQ(reader.frameCount(), options.frames) << how;
      RgbPicture picture;
      for (const int n : order) {
        ASSERT_TRUE(reader.decodeFrame(n, picture)) << how << " frame " << n;
        const int number = n == 12 || n == 13 ? 11 : n == 40 ? 39 : n;
        EXPECT_EQ(testing::readFrameNumber(picture), number) << how << " frame " << n;
        const auto [before, first] = shown.try_emplace(n, picture);
        if (!first) {
          EXPECT_TRUE(picture.pixels == before->second.pixels) << how << " frame " << n;
        }
      }
    }
  }
}

}  // namespace
}  // namespace velimoro
