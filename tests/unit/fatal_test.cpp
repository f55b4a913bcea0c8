#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "counting_heap.h"
#include "fake_controls.h"
#include "fatal_native.h"
#include "link/concat.h"
#include "link/handlers.h"
#include "link/link_command.h"
#include "shell/fatal.h"
#include "shell/heap.h"
#include "shell/shell.h"
#include "shell/text.h"
#include "ui/form.h"

namespace krovelin {
namespace {

using ::testing::Eq;
using ::testing::ExitedWithCode;

TEST(FatalBoxText, HeadingAloneOrWithTheMessageLine) {
  struct Case {
    std::string_view message;
    std::string_view text;
  };
  const Case cases[] = {
      {"", "运行时出错!\r\n\r\n"},
      {kWindowNotLoaded, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {kFormUnreadable, "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n"},
      {"分配 10 字节内存失败!", "运行时出错!\r\n\r\n错误信息：分配 10 字节内存失败!\r\n"},
  };
  for (const Case& c : cases) {
    const FatalBoxText text = fatal_box_text(c.message);
    EXPECT_EQ(std::string_view(text.bytes), c.text) << c.message;
    EXPECT_EQ(text.size, c.text.size()) << c.message;
  }
}

TEST(FatalBoxText, OverlongMessageIsCutInsideTheBufferAndStaysNulEnded) {
  const std::string message(2000, 'x');
  const FatalBoxText text = fatal_box_text(message);
  EXPECT_EQ(text.size, sizeof text.bytes - 1);
  EXPECT_EQ(text.bytes[sizeof text.bytes - 1], '\0');
  EXPECT_TRUE(std::string_view(text.bytes).starts_with("运行时出错!\r\n\r\n错误信息：xxx"));
}

TEST(AllocationFailureMessage, NamesTheSizeInDecimal) {
  struct Case {
    std::size_t size;
    std::string text;
  };
  const Case cases[] = {
      {0, "分配 0 字节内存失败!"},
      {1, "分配 1 字节内存失败!"},
      {10, "分配 10 字节内存失败!"},
      {4096, "分配 4096 字节内存失败!"},
      {SIZE_MAX, "分配 " + std::to_string(SIZE_MAX) + " 字节内存失败!"},
  };
  for (const Case& c : cases) {
    const AllocationMessage message = allocation_failure_message(c.size);
    EXPECT_EQ(std::string_view(message.bytes), c.text);
    EXPECT_EQ(message.size, c.text.size());
  }
}

// Each runs in a child process: whatever it does to the heap or the shell stays there.
class FatalErrorDeathTest : public ::testing::Test {
 protected:
  void TearDown() override {
    test::set_fatal_box_hook(nullptr);
    set_program_heap(default_heap());
  }

  // Makes every allocation from `size` bytes on fail.
  static void refuse_blocks_from(std::size_t size) {
    static test::CountingHeap heap;
    heap.refuse_from(size);
    set_program_heap(heap);
  }
};

TEST_F(FatalErrorDeathTest, FailedAllocationEndsWithMinusOneNamingTheRequestedSize) {
  struct Case {
    const char* name;
    void (*run)();
    const char* box;
  };
  const Case cases[] = {
      {"allocate",
       [] {
         refuse_blocks_from(0);
         allocate(12345);
       },
       "运行时出错!\r\n\r\n错误信息：分配 12345 字节内存失败!\r\n"},
      {"copy of nine characters",
       [] {
         refuse_blocks_from(0);
         copy_text("abcdefghi");
       },
       "运行时出错!\r\n\r\n错误信息：分配 10 字节内存失败!\r\n"},
      {"join of 2 + 0 + 6 + 0 bytes",
       [] {
         refuse_blocks_from(0);
         concat_texts("ab", nullptr, "中文", "");
       },
       "运行时出错!\r\n\r\n错误信息：分配 9 字节内存失败!\r\n"},
      {"link command",
       [] {
         refuse_blocks_from(0);
         link_command("D:\\My Links\\Games", "E:\\Games\\");
       },
       "运行时出错!\r\n\r\n错误信息：分配 50 字节内存失败!\r\n"},
      {"OK button, command block refused",
       [] {
         static test::FakeControls controls;
         controls.values = {{"编辑框1", "D:\\Links\\Games"}, {"编辑框2", "E:\\Games"}};
         refuse_blocks_from(20);  // the paths fit, their command does not
         on_ok_clicked(controls);
       },
       "运行时出错!\r\n\r\n错误信息：分配 44 字节内存失败!\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(c.run(), ExitedWithCode(255), Eq(std::string(c.box)));
  }
}

TEST_F(FatalErrorDeathTest, EndRoutineDoesNotRun) {
  EXPECT_EXIT(
      {
        shell().set_end_routine([] { std::fputs("[end routine]", stderr); });
        refuse_blocks_from(0);
        allocate(3);
      },
      ExitedWithCode(255), Eq(std::string("运行时出错!\r\n\r\n错误信息：分配 3 字节内存失败!\r\n")));
}

void print_handler_ran(Services&) { std::fputs("[handler]", stderr); }

constexpr Binding kPrintingBinding[] = {{"按钮1", Event::click, print_handler_ran}};

TEST_F(FatalErrorDeathTest, EventsRaisedWhileTheBoxIsUpReachNoHandler) {
  EXPECT_EXIT(
      {
        static test::FakeControls controls;
        shell().set_form(kPrintingBinding, &controls);
        shell().raise_event("按钮1", Event::click);  // still delivered before the error
        test::set_fatal_box_hook([] {
          const bool ran = shell().raise_event("按钮1", Event::click);
          std::fputs(ran ? "[delivered]" : "[refused]", stderr);
        });
        refuse_blocks_from(0);
        allocate(3);
      },
      ExitedWithCode(255),
      Eq(std::string("[handler]运行时出错!\r\n\r\n错误信息：分配 3 字节内存失败!\r\n[refused]")));
}

TEST_F(FatalErrorDeathTest, SecondFailureWhileTheBoxIsUpShowsNoSecondBox) {
  EXPECT_EXIT(
      {
        test::set_fatal_box_hook([] { allocate(77); });
        refuse_blocks_from(0);
        allocate(5);
      },
      ExitedWithCode(255), Eq(std::string("运行时出错!\r\n\r\n错误信息：分配 5 字节内存失败!\r\n")));
}

TEST_F(FatalErrorDeathTest, ReportedMessageWithoutTextShowsTheHeadingOnly) {
  EXPECT_EXIT(report_fatal_error(""), ExitedWithCode(255), Eq(std::string("运行时出错!\r\n\r\n")));
}

}  // namespace
}  // namespace krovelin
