// A queue that hands batches from one thread (the producer) to another (the
// consumer), holding at most about a budget of bytes: the producer waits
// while the queue is over its budget, so that a slow consumer bounds the
// memory a fast producer takes. A batch is always taken into an empty
// queue, whatever its size, so that no batch waits for ever.
//
// Either side can stop the other: the producer's Fail hands its exception
// to the consumer, whose next Pop raises it; the consumer's Cancel makes
// every later Push return false at once (a waiting one too), so the
// producer can stop.
#ifndef MX_REPOSITORY_BATCH_QUEUE_H_
#define MX_REPOSITORY_BATCH_QUEUE_H_

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>

namespace mx::repository {

template <typename Batch>
class BatchQueue {
 public:
  explicit BatchQueue(size_t budget_bytes) : budget_(budget_bytes) {}
  BatchQueue(const BatchQueue&) = delete;
  BatchQueue& operator=(const BatchQueue&) = delete;

  // Adds `batch`, which takes `bytes`, once the queue is under its budget.
  // False, and the batch dropped, once the consumer has cancelled.
  bool Push(Batch batch, size_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] {
      return cancelled_ || batches_.empty() || bytes_ + bytes <= budget_;
    });
    if (cancelled_) return false;
    batches_.emplace_back(std::move(batch), bytes);
    bytes_ += bytes;
    changed_.notify_all();
    return true;
  }

  // The oldest batch, once there is one. Raises the producer's failure as
  // soon as there is one, before any batch still queued.
  Batch Pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || !batches_.empty(); });
    if (failure_) std::rethrow_exception(failure_);
    auto [batch, bytes] = std::move(batches_.front());
    batches_.pop_front();
    bytes_ -= bytes;
    changed_.notify_all();
    return std::move(batch);
  }

  // The producer's side: it stopped with `error`.
  void Fail(std::exception_ptr error) {
    const std::lock_guard<std::mutex> lock(mutex_);
    failure_ = std::move(error);
    changed_.notify_all();
  }

  // The consumer's side: it takes no more batches.
  void Cancel() {
    const std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    batches_.clear();
    bytes_ = 0;
    changed_.notify_all();
  }

 private:
  const size_t budget_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::pair<Batch, size_t>> batches_;
  size_t bytes_ = 0;
  std::exception_ptr failure_;
  bool cancelled_ = false;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_BATCH_QUEUE_H_
