#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <limits>
#include <set>
#include <vector>

#include "shell/heap.h"

namespace krovelin::test {

// A heap over the C runtime's that remembers the size of every block it hands out and which
// blocks are still out. It can refuse blocks from a given size on, to make `allocate` fail.
class CountingHeap final : public Heap {
 public:
  void* try_allocate(std::size_t size) noexcept override {
    if (size >= refused_from_) return nullptr;
    void* block = std::malloc(size ? size : 1);
    if (block == nullptr) return nullptr;
    sizes_.push_back(size);
    live_.insert(block);
    return block;
  }

  // A block this heap does not have out (foreign, or already released) is only counted: freeing
  // it could crash the test run.
  void release(void* block) noexcept override {
    if (live_.erase(block) == 1) {
      ++releases_;
      std::free(block);
    } else {
      ++stray_releases_;
    }
  }

  void refuse_from(std::size_t size) noexcept { refused_from_ = size; }

  const std::vector<std::size_t>& sizes() const noexcept { return sizes_; }
  std::size_t live_blocks() const noexcept { return live_.size(); }
  std::size_t releases() const noexcept { return releases_; }
  std::size_t stray_releases() const noexcept { return stray_releases_; }

 private:
  std::size_t refused_from_ = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> sizes_;
  std::set<void*> live_;
  std::size_t releases_ = 0;
  std::size_t stray_releases_ = 0;
};

// Runs each test on a counting heap and puts the build's own heap back afterwards. Whatever the
// test allocated must be released by its end, and nothing released twice or from elsewhere.
class CountingHeapTest : public ::testing::Test {
 protected:
  void SetUp() override { set_program_heap(heap_); }
  void TearDown() override {
    set_program_heap(default_heap());
    EXPECT_EQ(heap_.live_blocks(), 0u) << "blocks left unreleased";
    EXPECT_EQ(heap_.stray_releases(), 0u) << "blocks released twice or not from this heap";
  }

  CountingHeap heap_;
};

}  // namespace krovelin::test
