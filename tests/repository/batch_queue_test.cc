// The hand-over between the thread that reads a server's tables and the
// thread that writes them into the run's copy: batches arrive whole and in
// order, the reader is held back by the budget, and a failure on either
// side stops the other instead of leaving it waiting.
#include "repository/batch_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace mx::repository {
namespace {

using namespace std::chrono_literals;

TEST(BatchQueueTest, BatchesArriveInOrderAndTheProducerWaitsForTheBudget) {
  BatchQueue<std::string> queue(10);
  std::atomic<int> pushed{0};
  std::thread producer([&] {
    for (int i = 0; i < 20; ++i) {
      // Each batch takes 4 bytes: two fit the budget, a third waits.
      ASSERT_TRUE(queue.Push("b" + std::to_string(i), 4));
      ++pushed;
    }
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(pushed.load(), 2);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(queue.Pop(), "b" + std::to_string(i));
  producer.join();
}

TEST(BatchQueueTest, ABatchLargerThanTheBudgetGoesIntoAnEmptyQueue) {
  BatchQueue<std::vector<int>> queue(1);
  EXPECT_TRUE(queue.Push(std::vector<int>(100, 7), 400));
  EXPECT_EQ(queue.Pop().size(), 100u);
}

TEST(BatchQueueTest, TheProducersFailureReachesTheWaitingConsumer) {
  BatchQueue<int> queue(100);
  ASSERT_TRUE(queue.Push(1, 1));
  std::thread producer([&] {
    std::this_thread::sleep_for(20ms);
    try {
      throw std::runtime_error("the server went away");
    } catch (...) {
      queue.Fail(std::current_exception());
    }
  });
  EXPECT_EQ(queue.Pop(), 1);
  try {
    queue.Pop();
    ADD_FAILURE() << "no failure raised";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "the server went away");
  }
  producer.join();
}

TEST(BatchQueueTest, CancellingReleasesAWaitingProducer) {
  BatchQueue<int> queue(1);
  ASSERT_TRUE(queue.Push(1, 1));
  std::atomic<bool> refused{false};
  std::thread producer([&] { refused = !queue.Push(2, 1); });
  std::this_thread::sleep_for(20ms);
  queue.Cancel();
  producer.join();
  EXPECT_TRUE(refused.load());
  EXPECT_FALSE(queue.Push(3, 1));
}

}  // namespace
}  // namespace mx::repository
