// Reading and deriving a route file with every table full: 10000 frame-speed segments, the
// 501-entry tables, the 1000-entry tables and long image lists.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "data/picture_lists.h"
#include "data/route_data.h"
#include "data/route_reader.h"

namespace {

using velimoro::RouteData;

constexpr int kSegments = RouteData::kFrameSpeeds;
constexpr int kFramesPerSegment = 30;
constexpr int kLastFrame = kSegments * kFramesPerSegment;
constexpr int kPictureFiles = 16;

class AcceptAllPictures final : public velimoro::media::PictureLoader {
 public:
  std::optional<int> load(const std::string&) override { return m_next++; }

 private:
  int m_next = 0;
};

// A frame spread evenly along the route; every third object stands on a segment boundary.
int frameOf(int i, int count) {
  const int frame = static_cast<int>(static_cast<long long>(i) * kLastFrame / count);
  return i % 3 == 0 ? frame - frame % kFramesPerSegment : frame + 7;
}

std::string csv(std::initializer_list<long long> values) {
  std::string line;
  for (const long long v : values) {
    if (!line.empty()) line += ',';
    line += std::to_string(v);
  }
  return line;
}

class RouteFile {
 public:
  RouteFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velimoro-route-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
    std::filesystem::create_directories(root + "/image");
    for (int i = 0; i < kPictureFiles; ++i) {
      std::ofstream(root + "/image/p" + std::to_string(i) + ".bmp") << "x";
    }
    std::ofstream out(root + "/line.dat", std::ios::binary);
    write(out);
  }
  ~RouteFile() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  RouteFile(const RouteFile&) = delete;
  RouteFile& operator=(const RouteFile&) = delete;

  std::string root;

 private:
  static void put(std::ofstream& out, const std::string& line) { out << line << "\r\n"; }

  template <typename Line>
  static void list(std::ofstream& out, const char* header, int count, Line line) {
    put(out, header);
    for (int i = 0; i < count; ++i)
      put(out, line(i));
    put(out, "#");
  }

  static std::string picture(int i) {
    return "image\\p" + std::to_string(i % kPictureFiles) + ".bmp";
  }

  static void write(std::ofstream& out) {
    const int t = RouteData::kTable;
    const int big = RouteData::kBigTable;
    const int small = RouteData::kSmallTable;
    for (const char* line :
         {"; benchmark route", "[LineName]", "bench", "[LineName2]", "bench", "[StartPos]", "100",
          "[FrameRate]", "30", "[Staf]", "", "", "[Friction]", "0.35"}) {
      put(out, line);
    }
    put(out, "[StafSwitch]");
    list(out, "480", RouteData::kStaffSwitches - 1, [](int i) { return csv({i + 1}); });
    list(out, "[MovieStop]", small, [](int i) { return csv({kLastFrame - i}); });
    list(out, "[MovieSwitch]", small, [](int i) {
      return csv({1, i * 100, i * 100 + 50}) + ",scene" + std::to_string(i) + ",90,0";
    });
    list(out, "[Speed_Signal]", RouteData::kSpeedSignals, [](int i) { return csv({i * 10}); });
    for (const char* line : {"[DataName]", "bench", "[Perspective]", "12.5", "180"})
      put(out, line);
    put(out, "[Pre_Train]");
    list(out, "0,60", big, [](int i) { return csv({i % t, 60, i * 30}); });
    for (const char* line : {"[OneMan]", "0"})
      put(out, line);
    list(out, "[SoundData]", t, [](int i) { return "sound\\s" + std::to_string(i) + ".wav"; });
    put(out, "[Announce]");
    list(out, "0", t - 1, [](int i) { return csv({i, i % 2, i, 300}); });
    put(out, "[KankoSound1]");
    for (int i = 0; i < RouteData::kKankoSound1Lines; ++i)
      put(out, "voice\\k.wav");
    list(out, "[KankoSound2]", RouteData::kKankoSlots - RouteData::kFirstKankoSound2,
         [](int i) { return "voice\\v" + std::to_string(i) + ".wav"; });
    list(out, "[Sound]", t, [](int i) { return csv({i, i * 100, i * 100 + 90, 60, 1, 1, 1}); });
    list(out, "[Doppler]", t, [](int i) { return csv({i, frameOf(i, t), 4000, 0}); });
    list(out, "[Tunnel]", t, [](int i) { return csv({frameOf(i, t), frameOf(i, t) + 100, 128}); });
    list(out, "[Station]", t, [](int i) {
      return "station" + std::to_string(i) + "," +
             csv({i % 3, frameOf(i, t), 300, 0, 1, 0, 1080000 + i * 1800, 0, 0, 0, 0, 0, 0});
    });
    list(out, "[StopSound]", t, [](int i) { return csv({i}); });
    list(out, "[Signal]", t, [](int i) {
      const int f = frameOf(i, t);
      return csv({0, 1, 0, i % 5, f - 300, f + 10, 0, f, f - 200, f - 20, 0, 0});
    });
    list(out, "[TrafficSignal]", t, [](int i) {
      std::string line = csv({frameOf(i, t)});
      for (int n = 2; n <= 26; ++n)
        line += "," + std::to_string(n == 22 ? frameOf(i, t) + 60 : n);
      return line;
    });
    list(out, "[Slope]", t, [](int i) {
      return std::to_string(i % 20 - 10) + ".25," + csv({i * 500, i * 500 + 400});
    });
    list(out, "[Sign]", t, [](int i) { return csv({i % 10, i * 500, i * 500 + 100, 0}); });
    list(out, "[Anim]", t, [](int i) { return csv({i * 500, i * 500 + 100, 3, 0}); });
    list(out, "[SignalKanko]", t, [](int i) { return csv({i, i % 3, i % 40}); });
    list(out, "[StationKanko]", t, [](int i) { return csv({i, i % 6, 999}); });
    list(out, "[SpeedLimit]", t, [](int i) {
      return csv({45, i % 10, i, frameOf(i, t), frameOf(i, t) + 300});
    });
    list(out, "[SpeedCheck1]", t, [](int i) { return csv({45, i * 500}); });
    list(out, "[SpeedCheck2]", t, [](int i) { return csv({45, i * 500, i * 500 + 100}); });
    list(out, "[SignImageList]", t, picture);
    put(out, "[OtherImageList]");
    for (int i = 0; i < big; ++i) {
      put(out, picture(i));
      put(out, "sound\\o" + std::to_string(i) + ".wav");
    }
    put(out, "#");
    list(out, "[AnimImageList]", t, picture);
    list(out, "[SignalImageList]", t, picture);
    list(out, "[TrafficSignalImageList]", t, picture);
    list(out, "[SignalImageList2]", t, picture);
    list(out, "[SpeedUnit]", kSegments, [](int i) {
      const int from = i * kFramesPerSegment;
      return csv({from, from + kFramesPerSegment}) + "," + std::to_string(60 + i % 21) + ".5," +
             std::to_string(60 + (i + 1) % 21) + ".5";
    });
    list(out, "[CrossImageList]", t, picture);
    list(out, "[Cross]", big, [](int i) { return csv({0, 5, i * 300, i * 300 + 100, 0}); });
    list(out, "[Time]", small, [](int i) { return csv({i * 3000, i * 3000 + 60, 1080000 + i}); });
    list(out, "[Switch]", t, [](int i) { return csv({i * 600, i % 4}); });
  }
};

void BM_ReadAndDeriveFullRoute(benchmark::State& state) {
  const RouteFile file;
  auto route = std::make_unique<RouteData>();
  AcceptAllPictures pictures;
  for (auto _ : state) {
    velimoro::PictureLists lists;
    velimoro::readRouteFile(file.root, "line.dat", *route, pictures, lists);
    velimoro::deriveRouteDistances(*route);
    benchmark::DoNotOptimize(route->eventCount);
  }
  state.counters["events"] = route->eventCount;
  state.counters["segments"] = route->frameSpeedCount;
}
BENCHMARK(BM_ReadAndDeriveFullRoute)->Unit(benchmark::kMillisecond)->Repetitions(10);

}  // namespace

BENCHMARK_MAIN();
