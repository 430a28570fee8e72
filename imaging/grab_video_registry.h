// grab_video_registry.h - which grab video window a board's capture callbacks belong to.
#pragma once

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "imaging/dlg_grab_video.h"

// Which window a board's callbacks belong to. The callbacks get only the
// board handle; a window is found here and, while a callback uses it,
// counted in its inFlight_, which its stop path waits to fall to 0.
struct CDlgGrabVideo::Registry {
  std::mutex mutex;  // guards entries; taken before a window's frameMutex_
  std::vector<std::pair<void*, CDlgGrabVideo*>> entries;

  static Registry& get() {
    static Registry r;
    return r;
  }
  void add(void* b, CDlgGrabVideo* w) {
    std::lock_guard<std::mutex> lk(mutex);
    remove(w, false);
    entries.emplace_back(b, w);
  }
  void remove(CDlgGrabVideo* w, bool lock = true) {
    std::unique_lock<std::mutex> lk(mutex, std::defer_lock);
    if (lock) lk.lock();
    entries.erase(
        std::remove_if(entries.begin(), entries.end(), [w](const auto& e) { return e.second == w; }),
        entries.end());
  }
};
