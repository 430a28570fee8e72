// sim_capture_test.cpp - sequence capture of the simulated board on its own thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "imaging/board_library.h"
#include "imaging/sim_board_control.h"

namespace {

using namespace std::chrono_literals;

// What the callbacks saw. Callbacks are plain functions, so it is global.
struct Seen {
  std::mutex m;  // guards everything below
  std::condition_variable cv;
  int begins = 0, frames = 0, ends = 0;
  std::thread::id beginThread, frameThread, endThread;
  bool frameThreadsAgree = true;
  std::vector<uint16_t> indices;
  // Behaviour asked of the frame callback.
  bool stopFromFrame = false;
  bool holdFrame = false;
  bool inside = false;
  bool endRemovesAndStops = false;
  bool converted = true;
  void* board = nullptr;

  void reset() {
    std::lock_guard<std::mutex> lk(m);
    begins = frames = ends = 0;
    beginThread = frameThread = endThread = {};
    frameThreadsAgree = true;
    indices.clear();
    stopFromFrame = holdFrame = inside = endRemovesAndStops = false;
    converted = true;
    board = nullptr;
  }
  // Bounded wait for a condition on the callbacks' counts.
  template <typename Pred>
  bool waitFor(Pred pred, std::chrono::milliseconds limit = 5000ms) {
    std::unique_lock<std::mutex> lk(m);
    return cv.wait_for(lk, limit, [&] { return pred(*this); });
  }
} g_seen;

int32_t onBegin(void*) {
  std::lock_guard<std::mutex> lk(g_seen.m);
  ++g_seen.begins;
  g_seen.beginThread = std::this_thread::get_id();
  g_seen.cv.notify_all();
  return 1;
}

int32_t onFrame(void* board, uint16_t index) {
  // Convert as the program does, so the conversion runs on this thread too.
  std::vector<uint8_t> area(64 * 48 * 3);
  TyxConvertDesc d{};
  d.width = 64;
  d.height = -48;
  d.bitsPerPixel = 24;
  d.address = reinterpret_cast<uintptr_t>(area.data());
  const bool ok = BoardLibrary::instance().convertRect(board, &d, index) == 1;

  std::unique_lock<std::mutex> lk(g_seen.m);
  if (g_seen.frames > 0 && g_seen.frameThread != std::this_thread::get_id()) g_seen.frameThreadsAgree = false;
  g_seen.frameThread = std::this_thread::get_id();
  ++g_seen.frames;
  g_seen.indices.push_back(index);
  g_seen.converted = g_seen.converted && ok;
  g_seen.inside = true;
  g_seen.cv.notify_all();
  if (g_seen.holdFrame) g_seen.cv.wait_for(lk, 5000ms, [] { return !g_seen.holdFrame; });
  g_seen.inside = false;
  const bool stop = g_seen.stopFromFrame;
  lk.unlock();
  if (stop) BoardLibrary::instance().stopCapture(board);
  return 1;
}

int32_t onEnd(void* board) {
  bool removeAndStop;
  {
    std::lock_guard<std::mutex> lk(g_seen.m);
    ++g_seen.ends;
    g_seen.endThread = std::this_thread::get_id();
    removeAndStop = g_seen.endRemovesAndStops;
    g_seen.cv.notify_all();
  }
  if (removeAndStop) {
    // What the video window's end callback does, from the capture thread.
    BoardLibrary::instance().setSeqCallback(board, nullptr, nullptr, nullptr);
    BoardLibrary::instance().stopCapture(board);
  }
  return 1;
}

class SimCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen.reset();
    ASSERT_TRUE(sim_.bind());
    ASSERT_EQ(sim_.control("reset"), 1);
  }
  void TearDown() override {
    if (board_) {
      EXPECT_TRUE(lib().closeBoard(board_));
    }
    sim_.control("reset");
  }
  BoardLibrary& lib() { return BoardLibrary::instance(); }
  void openAndStart(const char* config) {
    ASSERT_EQ(sim_.control(config), 1);
    int32_t index = 0;
    board_ = lib().openBoard(&index);
    ASSERT_NE(board_, nullptr);
    ASSERT_EQ(lib().setSeqCallback(board_, onBegin, onFrame, onEnd), 1);
    ASSERT_EQ(lib().captureByBuffer(board_), 1);
  }

  SimBoardControl sim_;
  void* board_ = nullptr;
};

}  // namespace

TEST_F(SimCaptureTest, FramesArriveOnTheLibrarysOwnThread) {
  openAndStart("pace=fast");
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.frames >= 20; }));
  lib().setSeqCallback(board_, nullptr, nullptr, nullptr);
  lib().stopCapture(board_);
  std::lock_guard<std::mutex> lk(g_seen.m);
  EXPECT_EQ(g_seen.begins, 1);
  EXPECT_EQ(g_seen.ends, 0);  // callbacks were removed before stopping
  EXPECT_NE(g_seen.frameThread, std::this_thread::get_id());
  EXPECT_EQ(g_seen.frameThread, g_seen.beginThread);
  EXPECT_TRUE(g_seen.frameThreadsAgree);
  EXPECT_TRUE(g_seen.converted);
  for (uint16_t i : g_seen.indices) EXPECT_LT(i, 4);  // a ring of capture buffers
  const int frames = g_seen.frames;
  EXPECT_EQ(lib().setSeqCallback(board_, onBegin, onFrame, onEnd), 1);
  EXPECT_EQ(g_seen.frames, frames);  // nothing runs after the stop returned
}

TEST_F(SimCaptureTest, RealPaceDeliversAtTheFieldRate) {
  // 1000 fields per second interlaced: 500 frames per second, so the wait stays short.
  openAndStart("rate=1000");
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.frames >= 10; }));
  lib().stopCapture(board_);
  std::lock_guard<std::mutex> lk(g_seen.m);
  EXPECT_EQ(g_seen.ends, 1);  // stopped with the callbacks installed
  EXPECT_EQ(g_seen.endThread, g_seen.frameThread);
}

TEST_F(SimCaptureTest, ManualPaceDeliversExactlyTheStepsAsked) {
  openAndStart("pace=manual");
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.begins == 1; }));
  sim_.step(board_, 3);
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.frames == 3; }));
  sim_.step(board_, 2);
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.frames == 5; }));
  EXPECT_EQ(sim_.frameCount(board_), 5);
  lib().stopCapture(board_);
  std::lock_guard<std::mutex> lk(g_seen.m);
  EXPECT_EQ(g_seen.frames, 5);
  EXPECT_EQ(g_seen.ends, 1);
}

TEST_F(SimCaptureTest, SequenceEndingByItselfMayStopFromTheEndCallback) {
  {
    std::lock_guard<std::mutex> lk(g_seen.m);
    g_seen.endRemovesAndStops = true;
  }
  openAndStart("pace=fast;frames=7");
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.ends == 1; }));
  {
    std::lock_guard<std::mutex> lk(g_seen.m);
    EXPECT_EQ(g_seen.frames, 7);
    EXPECT_EQ(g_seen.endThread, g_seen.frameThread);
  }
  // A new capture on the same board starts cleanly after a self-ended one.
  // The end callback may still be removing the callbacks: stopping from this
  // thread waits for the capture thread to be gone before they are set again.
  ASSERT_EQ(lib().stopCapture(board_), 1);
  ASSERT_EQ(lib().setSeqCallback(board_, onBegin, onFrame, onEnd), 1);
  ASSERT_EQ(lib().captureByBuffer(board_), 1);
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.ends == 2; }));
  std::lock_guard<std::mutex> lk(g_seen.m);
  EXPECT_EQ(g_seen.frames, 14);
}

TEST_F(SimCaptureTest, StopFromInsideTheFrameCallback) {
  {
    std::lock_guard<std::mutex> lk(g_seen.m);
    g_seen.stopFromFrame = true;
  }
  openAndStart("pace=fast");
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.ends == 1; }));
  std::lock_guard<std::mutex> lk(g_seen.m);
  EXPECT_EQ(g_seen.frames, 1);
}

TEST_F(SimCaptureTest, RemovingCallbacksWaitsForTheOneRunning) {
  {
    std::lock_guard<std::mutex> lk(g_seen.m);
    g_seen.holdFrame = true;
  }
  openAndStart("pace=fast");
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.inside; }));
  std::atomic<bool> removed{false};
  std::thread remover([&] {
    lib().setSeqCallback(board_, nullptr, nullptr, nullptr);
    removed = true;
  });
  // The frame callback is held: the removal must still be waiting.
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(removed.load());
  {
    std::lock_guard<std::mutex> lk(g_seen.m);
    g_seen.holdFrame = false;
    g_seen.cv.notify_all();
  }
  remover.join();
  EXPECT_TRUE(removed.load());
  std::lock_guard<std::mutex> lk(g_seen.m);
  EXPECT_FALSE(g_seen.inside);
}

TEST_F(SimCaptureTest, ClosingTheBoardEndsTheCapture) {
  openAndStart("pace=fast");
  ASSERT_TRUE(g_seen.waitFor([](Seen& s) { return s.frames >= 3; }));
  EXPECT_TRUE(lib().closeBoard(board_));
  const void* closed = board_;
  board_ = nullptr;
  std::lock_guard<std::mutex> lk(g_seen.m);
  const int frames = g_seen.frames;
  EXPECT_EQ(g_seen.ends, 0);  // closing removes the callbacks first
  EXPECT_EQ(lib().captureByBuffer(const_cast<void*>(closed)), 0);
  EXPECT_EQ(g_seen.frames, frames);
}
