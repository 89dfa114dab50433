#pragma once

#include <condition_variable>
#include <mutex>

// How many rows of an image, counted from the top, hold their final pixels. One thread
// publishes as rows arrive from the server; encoder threads wait for the rows they need.
class RowAvailability {
 public:
  void publish(int rows) {
    {
      std::lock_guard lock(mutex_);
      rows_ = rows;
    }
    changed_.notify_all();
  }

  // No more rows will come: waiters give up.
  void abandon() {
    {
      std::lock_guard lock(mutex_);
      abandoned_ = true;
    }
    changed_.notify_all();
  }

  // False when the rows will never come.
  bool waitFor(int rows) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return rows_ >= rows || abandoned_; });
    return rows_ >= rows;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int rows_ = 0;
  bool abandoned_ = false;
};
