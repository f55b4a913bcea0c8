#include "shell/fatal.h"

#include <algorithm>
#include <cstring>

#include "shell/shell.h"

namespace krovelin {
namespace {

class FixedWriter {
 public:
  FixedWriter(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
  void put(std::string_view bytes) noexcept {
    const std::size_t room = capacity_ - 1 - size_;
    const std::size_t n = std::min(room, bytes.size());
    std::memcpy(out_ + size_, bytes.data(), n);
    size_ += n;
    out_[size_] = '\0';
  }
  std::size_t size() const noexcept { return size_; }

 private:
  char* out_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

bool reporting = false;

}  // namespace

FatalBoxText fatal_box_text(std::string_view message) noexcept {
  FatalBoxText text{};
  FixedWriter out(text.bytes, sizeof text.bytes);
  out.put("运行时出错!\r\n\r\n");
  if (!message.empty()) {
    out.put("错误信息：");
    out.put(message);
    out.put("\r\n");
  }
  text.size = out.size();
  return text;
}

AllocationMessage allocation_failure_message(std::size_t size) noexcept {
  char digits[24];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + size % 10);
    size /= 10;
  } while (size != 0);
  std::reverse(digits, digits + n);

  AllocationMessage message{};
  FixedWriter out(message.bytes, sizeof message.bytes);
  out.put("分配 ");
  out.put(std::string_view(digits, n));
  out.put(" 字节内存失败!");
  message.size = out.size();
  return message;
}

void report_fatal_error(std::string_view message) noexcept {
  Shell& state = shell();
  state.suspend_events_for_good();
  // A second failure while the box is up (painting behind a modal box may allocate) must not
  // stack boxes: the first report already owns the ending.
  if (!reporting) {
    reporting = true;
    const FatalBoxText text = fatal_box_text(message);
    show_fatal_box(text.bytes);
  }
  state.drop_end_routine();
  state.end_processing();
  end_process(-1);
}

void report_allocation_failure(std::size_t size) noexcept {
  const AllocationMessage message = allocation_failure_message(size);
  report_fatal_error(std::string_view(message.bytes, message.size));
}

}  // namespace krovelin
