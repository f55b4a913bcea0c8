// The main window as a person meets it: its place, frame, controls, focus and keys.
#include <gtest/gtest.h>

#include "driver.h"

using namespace e2e;

TEST(Window, OpensCentredAndClosesWithEsc) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  const RECT rect = window_rect(window);
  EXPECT_EQ(rect.right - rect.left, 520);
  EXPECT_EQ(rect.bottom - rect.top, 479);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 520) / 2);
  EXPECT_EQ(window_text(window), L"Krovelin");
  EXPECT_EQ(focused_control(window), program.control(kLinkEdit));
  press(VK_ESCAPE);
  EXPECT_EQ(program.wait_exit(std::chrono::seconds(10)), 0u);
}
