// Random patterns over the whole pattern syntax against random texts: the
// engine either rejects a pattern with its own error or answers, never
// crashes, leaks nodes or hangs. Sizes stay small so that a slow case means
// a loop that does not end, not nested backtracking (which may be slow by
// design).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "NodeCount.h"
#include "core/KnRegExU.h"
#include "rtl/StringList.h"

namespace core {
namespace {

using Clock = std::chrono::steady_clock;

// Aborts the process, naming the case, when one case runs longer than the
// limit: a hang must fail the run instead of stalling it.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::milliseconds limit) : limit_(limit), thread_([this] { Run(); }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void Begin(const std::string& pattern, const std::string& text) {
    std::lock_guard lock(mutex_);
    pattern_ = pattern;
    text_ = text;
    started_ = Clock::now();
    busy_ = true;
  }
  void End() {
    std::lock_guard lock(mutex_);
    busy_ = false;
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
      wake_.wait_for(lock, std::chrono::milliseconds(100));
      if (busy_ && Clock::now() - started_ > limit_) {
        std::fprintf(stderr, "case exceeded %lld ms: pattern «%s» text «%s»\n",
                     static_cast<long long>(limit_.count()), pattern_.c_str(), text_.c_str());
        std::abort();
      }
    }
  }

  const std::chrono::milliseconds limit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  bool busy_ = false;
  Clock::time_point started_;
  std::string pattern_;
  std::string text_;
  std::thread thread_;
};

std::string RandomString(std::mt19937& rng, const char* alphabet, size_t alphabetSize, int maxLength) {
  std::string s;
  const int n = static_cast<int>(rng() % static_cast<uint32_t>(maxLength + 1));
  for (int i = 0; i < n; ++i) s += alphabet[rng() % alphabetSize];
  return s;
}

TEST(KnRegExRobustness, RandomPatternsAndTexts) {
  // Every character with a meaning in the dialect, escape letters included,
  // and a few plain ones.
  static const char kPatternChars[] = "ab.()[]^$*+?|\\{}-hlnrstwb ";
  static const char kTextChars[] = "abAB-(){}\r\n .\\";
  std::mt19937 rng(4711);
  Watchdog watchdog(std::chrono::milliseconds(5000));
  TKnRegEx re;
  int rejected = 0;
  int found = 0;
  for (int i = 0; i < 100000; ++i) {
    const std::string pattern = RandomString(rng, kPatternChars, sizeof kPatternChars - 1, 10);
    const std::string text = RandomString(rng, kTextChars, sizeof kTextChars - 1, 16);
    re.SetIgnoreCase(i % 2 == 1);
    re.MatchPattern()->Clear();
    re.MatchPattern()->Add(pattern);
    TKnMatchPos pos;
    watchdog.Begin(pattern, text);
    try {
      if (re.FindMatch(text, pos)) {
        ++found;
        // A match lies within the text and its appended CR LF.
        ASSERT_GE(pos.FirstIndex, 1u);
        ASSERT_LE(pos.FirstIndex + pos.MatchLength, text.size() + 3) << pattern << " / " << text;
        ASSERT_EQ(pos.LastIndex + 1, pos.FirstIndex + pos.MatchLength);
      }
    } catch (const EKnRegExError& e) {
      ++rejected;
      ASSERT_FALSE(KnErrorMessage(e.ErrorCode()).empty());
    }
    watchdog.End();
    // Whatever happened, every node is either in the compiled pattern or
    // back on the free list.
    TKnNodeHeap& heap = re.Engine().NodeHeap();
    ASSERT_EQ(heap.AllocatedCount(), heap.FreeCount() + CountNodes(re.Engine().Pattern())) << pattern;
  }
  // Both outcomes occur often, or the generator tests little.
  EXPECT_GT(rejected, 1000);
  EXPECT_GT(found, 1000);
}

}  // namespace
}  // namespace core
