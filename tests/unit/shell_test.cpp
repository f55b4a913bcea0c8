#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "fake_controls.h"
#include "shell/shell.h"

namespace krovelin {
namespace {

using Log = std::vector<std::string>;

// Each handler leaves its name as a message box on the services it was given.
template <char Name>
void named_handler(Services& services) {
  const char text[] = {Name, '\0'};
  services.show_message_box(text, "", 0);
}

constexpr Binding kBindings[] = {
    {"按钮1", Event::click, named_handler<'a'>},
    {"按钮1", Event::click, named_handler<'b'>},  // shadowed by the one before
    {"驱动器框1", Event::drive_changed, named_handler<'c'>},
    {"目录框1", Event::directory_changed, named_handler<'d'>},
    {kMainWindow, Event::created, named_handler<'e'>},
};

class Routing : public ::testing::Test {
 protected:
  void SetUp() override { shell_.set_form(kBindings, &controls_); }

  Shell shell_;
  test::FakeControls controls_;
};

TEST_F(Routing, RunsTheFirstMatchingBindingOnly) {
  struct Case {
    std::string_view source;
    Event event;
    bool ran;
    Log log;
  };
  const Case cases[] = {
      {"按钮1", Event::click, true, {"box a"}},
      {"驱动器框1", Event::drive_changed, true, {"box c"}},
      {"目录框1", Event::directory_changed, true, {"box d"}},
      {kMainWindow, Event::created, true, {"box e"}},
      {"按钮1", Event::drive_changed, false, {}},
      {"驱动器框1", Event::click, false, {}},
      {kMainWindow, Event::click, false, {}},
      {"按钮2", Event::click, false, {}},
      {"按钮", Event::click, false, {}},
      {"按钮12", Event::click, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " event " + std::to_string(static_cast<int>(c.event)));
    controls_.log.clear();
    EXPECT_EQ(shell_.raise_event(c.source, c.event), c.ran);
    EXPECT_EQ(controls_.log, c.log);
  }
}

TEST(RoutingWithoutForm, RaisesNothing) {
  Shell shell;
  EXPECT_FALSE(shell.raise_event(kMainWindow, Event::created));
  EXPECT_FALSE(shell.events_suspended());
}

TEST_F(Routing, NothingRunsWhileSuspendedAndSuspensionsNest) {
  shell_.suspend_events();
  shell_.suspend_events();
  EXPECT_TRUE(shell_.events_suspended());
  EXPECT_FALSE(shell_.raise_event("按钮1", Event::click));
  shell_.resume_events();
  EXPECT_TRUE(shell_.events_suspended());
  EXPECT_FALSE(shell_.raise_event("按钮1", Event::click));
  EXPECT_TRUE(controls_.log.empty());
  shell_.resume_events();
  EXPECT_FALSE(shell_.events_suspended());
  EXPECT_TRUE(shell_.raise_event("按钮1", Event::click));
  EXPECT_EQ(controls_.log, Log{"box a"});
}

TEST_F(Routing, ResumingNeverGoesBelowZero) {
  shell_.resume_events();
  shell_.resume_events();
  EXPECT_FALSE(shell_.events_suspended());
  shell_.suspend_events();
  EXPECT_TRUE(shell_.events_suspended());
  EXPECT_FALSE(shell_.raise_event("按钮1", Event::click));
}

TEST_F(Routing, SuspensionForGoodOutlastsAnyResume) {
  shell_.suspend_events();
  shell_.suspend_events_for_good();
  for (int i = 0; i < 3; ++i) shell_.resume_events();
  EXPECT_TRUE(shell_.events_suspended());
  EXPECT_FALSE(shell_.raise_event("按钮1", Event::click));
  EXPECT_TRUE(controls_.log.empty());
}

int end_routine_runs = 0;
Shell* ending_shell = nullptr;

class Ending : public Routing {
 protected:
  void SetUp() override {
    Routing::SetUp();
    end_routine_runs = 0;
    ending_shell = &shell_;
  }
  void TearDown() override { ending_shell = nullptr; }

  static void count_run() { ++end_routine_runs; }
  static void count_run_and_end_again() {
    ++end_routine_runs;
    ending_shell->end_processing();
  }
};

TEST_F(Ending, RunsTheEndRoutineAtMostOnce) {
  shell_.set_end_routine(count_run);
  shell_.end_processing();
  EXPECT_EQ(end_routine_runs, 1);
  shell_.end_processing();
  EXPECT_EQ(end_routine_runs, 1);
}

TEST_F(Ending, EndRoutineThatEndsAgainRunsOnce) {
  shell_.set_end_routine(count_run_and_end_again);
  shell_.end_processing();
  EXPECT_EQ(end_routine_runs, 1);
}

TEST_F(Ending, DroppedEndRoutineDoesNotRun) {
  shell_.set_end_routine(count_run);
  shell_.drop_end_routine();
  shell_.end_processing();
  EXPECT_EQ(end_routine_runs, 0);
}

TEST_F(Ending, StopsAllRouting) {
  shell_.end_processing();
  EXPECT_TRUE(shell_.events_suspended());
  EXPECT_FALSE(shell_.raise_event("按钮1", Event::click));
  EXPECT_FALSE(shell_.raise_event(kMainWindow, Event::created));
  EXPECT_TRUE(controls_.log.empty());
}

}  // namespace
}  // namespace krovelin
