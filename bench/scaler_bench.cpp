// scaler_bench.cpp - our frame painter against Qt's stock drawImage and a memcpy of the target.
//
// Each case paints one 24-bit bottom-up frame into a preallocated 32-bit
// image the size of the picture frame, as the video windows do per frame.
// After the run the ratios against memcpy of the displayed pixels, measured
// in the same run, are printed, with the allocations made per frame.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "imaging/capture_rules.h"
#include "imaging/frame_scaler.h"

// Every allocation of the process is counted, so a case can report how many
// its frame loop made.
#include "alloc_counter.h"

namespace {

struct Source {
  std::vector<uint8_t> block;  // display header + pixel area, as the grab window holds it
  BitmapView view;
  QImage stock;  // the same pixels wrapped for Qt (no copy)
};

Source makeSource(int w, int h) {
  Source s;
  const size_t stride = (size_t(w) * 24 + 31) / 32 * 4;
  s.block.assign(capture::kPixelAreaOffset + stride * h, 0);
  capture::buildDisplayHeader(s.block.data(), capture::kPixelAreaOffset, w, h, 24, 0);
  uint8_t* px = s.block.data() + capture::kPixelAreaOffset;
  for (size_t i = 0; i < stride * h; ++i) px[i] = static_cast<uint8_t>(i * 13 + (i >> 9));
  viewSplitBitmap(s.block.data(), capture::kPixelAreaOffset, px, stride * h, &s.view);
  s.stock = QImage(px, w, h, static_cast<qsizetype>(stride), QImage::Format_BGR888);
  return s;
}

void report(benchmark::State& state, long long allocationsBefore) {
  const long long made = alloc::total.load() - allocationsBefore;
  state.counters["allocs/frame"] =
      benchmark::Counter(static_cast<double>(made) / static_cast<double>(state.iterations()));
}

void BM_Ours(benchmark::State& state) {
  const Source src = makeSource(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  QImage target(static_cast<int>(state.range(2)), static_cast<int>(state.range(3)), QImage::Format_RGB32);
  FrameScaler scaler;
  scaler.paint(src.view, target);  // tables built once, outside the frame loop
  const long long before = alloc::total.load();
  for (auto _ : state) {
    scaler.paint(src.view, target);
    benchmark::DoNotOptimize(target.constBits());
    benchmark::ClobberMemory();
  }
  report(state, before);
}

void BM_Stock(benchmark::State& state) {
  const Source src = makeSource(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  QImage target(static_cast<int>(state.range(2)), static_cast<int>(state.range(3)), QImage::Format_RGB32);
  const long long before = alloc::total.load();
  for (auto _ : state) {
    QPainter painter(&target);
    painter.drawImage(target.rect(), src.stock);
    painter.end();
    benchmark::DoNotOptimize(target.constBits());
    benchmark::ClobberMemory();
  }
  report(state, before);
}

void BM_Memcpy(benchmark::State& state) {
  const size_t bytes = size_t(state.range(2)) * size_t(state.range(3)) * 4;
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  const long long before = alloc::total.load();
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  report(state, before);
}

#define SIZES Args({768, 576, 640, 480})->Args({2048, 1536, 800, 600})
BENCHMARK(BM_Ours)->SIZES->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stock)->SIZES->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy)->SIZES->Unit(benchmark::kMicrosecond);

// Keeps each run's time per frame so the ratios can be printed afterwards.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
      const std::string name = r.benchmark_name();
      times_[name] = r.GetAdjustedRealTime();
      const auto a = r.counters.find("allocs/frame");
      if (a != r.counters.end()) allocs_[name] = a->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void printRatios() const {
    std::printf("\nRatios against memcpy of the displayed pixels (same run):\n");
    for (const char* size : {"768/576/640/480", "2048/1536/800/600"}) {
      const std::string suffix = std::string("/") + size;
      const auto ours = times_.find("BM_Ours" + suffix);
      const auto stock = times_.find("BM_Stock" + suffix);
      const auto copy = times_.find("BM_Memcpy" + suffix);
      if (ours == times_.end() || stock == times_.end() || copy == times_.end()) continue;
      std::printf(
          "  %-18s ours/memcpy %5.2f  stock/memcpy %6.2f  ours/stock %5.3f  allocations per frame: ours "
          "%.2f, stock %.2f\n",
          size, ours->second / copy->second, stock->second / copy->second, ours->second / stock->second,
          allocs_.at("BM_Ours" + suffix), allocs_.at("BM_Stock" + suffix));
    }
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, double> allocs_;
};

}  // namespace

int main(int argc, char** argv) {
  // QPainter on a QImage needs the Gui module initialised; no window is shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
