#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "counting_heap.h"
#include "fake_controls.h"
#include "link/handlers.h"
#include "shell/shell.h"
#include "ui/form.h"

namespace krovelin {
namespace {

using Log = std::vector<std::string>;

constexpr Event kEvents[] = {Event::created, Event::click, Event::drive_changed,
                             Event::directory_changed};

TEST(Form, ControlNamesAreFoundAtTheirIndex) {
  for (std::size_t i = 0; i < kControls.size(); ++i)
    EXPECT_EQ(control_index(kControls[i].name), static_cast<int>(i)) << kControls[i].name;
  const std::string_view unknown[] = {kMainWindow, "按钮3", "按钮", "编辑框", "Button1"};
  for (std::string_view name : unknown) EXPECT_EQ(control_index(name), -1) << name;
}

TEST(Form, EveryNamedControlIsInTheForm) {
  const std::string_view names[] = {kLinkLabel,      kLinkEdit,   kLinkDriveBox, kLinkDirectoryBox,
                                    kTargetDriveBox, kTargetDirectoryBox, kTargetLabel, kTargetEdit,
                                    kOkButton,       kAboutButton,        kNoteLabel};
  for (std::string_view name : names) EXPECT_GE(control_index(name), 0) << name;
}

TEST(Form, LinkEditStartsWithTheHandlersInitialText) {
  EXPECT_EQ(kControls[control_index(kLinkEdit)].text, kInitialLinkText);
}

TEST(FormIsValid, AcceptsTheRealForm) { EXPECT_TRUE(form_is_valid(kControls, form_bindings())); }

TEST(FormIsValid, RejectsDuplicateNames) {
  for (std::size_t i = 1; i < kControls.size(); ++i) {
    auto controls = kControls;
    controls[i].name = controls[i - 1].name;
    EXPECT_FALSE(form_is_valid(controls, {})) << "control " << i;
  }
}

TEST(FormIsValid, RejectsBindingsToMissingControlsOrWithoutHandler) {
  const Binding unknown_source[] = {{"按钮3", Event::click, on_about_clicked}};
  const Binding no_handler[] = {{kAboutButton, Event::click, nullptr}};
  EXPECT_FALSE(form_is_valid(kControls, unknown_source));
  EXPECT_FALSE(form_is_valid(kControls, no_handler));

  // The real bindings lose their target once the About button is gone.
  auto controls = kControls;
  controls[control_index(kAboutButton)].name = "按钮9";
  EXPECT_FALSE(form_is_valid(controls, form_bindings()));
}

TEST(FormIsValid, MainWindowBindingNeedsNoControl) {
  const Binding created[] = {{kMainWindow, Event::created, on_window_created}};
  EXPECT_TRUE(form_is_valid(kControls, created));
  EXPECT_TRUE(form_is_valid({}, created));
}

TEST(Form, EachBindingFitsTheKindOfItsControl) {
  for (const Binding& binding : form_bindings()) {
    SCOPED_TRACE(binding.source);
    if (binding.source == kMainWindow) {
      EXPECT_EQ(binding.event, Event::created);
      continue;
    }
    const int index = control_index(binding.source);
    ASSERT_GE(index, 0);
    switch (kControls[index].kind) {
      case Kind::drive_box: EXPECT_EQ(binding.event, Event::drive_changed); break;
      case Kind::directory_box: EXPECT_EQ(binding.event, Event::directory_changed); break;
      case Kind::button: EXPECT_EQ(binding.event, Event::click); break;
      default: ADD_FAILURE() << "labels and edit boxes raise no bound events";
    }
  }
}

TEST(Centred, HalvesTheRoomTowardZero) {
  struct Case {
    int screen, size, place;
  };
  const Case cases[] = {
      {800, 520, 140}, {600, 479, 60}, {510, 520, -5}, {470, 479, -4}, {520, 520, 0}, {521, 520, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(centred(c.screen, c.size), c.place) << c.screen << " with " << c.size;
}

// The real bindings routed through a shell to in-memory controls.
class FormRouting : public test::CountingHeapTest {
 protected:
  void SetUp() override {
    CountingHeapTest::SetUp();
    reset_controls();
    shell_.set_form(form_bindings(), &controls_);
  }

  void reset_controls() {
    controls_.values = {{"编辑框1", "D:\\Links\\Games"}, {"编辑框2", "E:\\Games"},
                        {"驱动器框1", "D"},              {"驱动器框2", "E"},
                        {"目录框1", "D:\\Data"},         {"目录框2", "E:\\Games"}};
    controls_.log.clear();
  }

  Shell shell_;
  test::FakeControls controls_;
};

TEST_F(FormRouting, EventsReachTheirHandlers) {
  struct Case {
    std::string_view source;
    Event event;
    Log log;
  };
  const Case cases[] = {
      {"按钮2", Event::click, {"box Tamsel制作"}},
      {"按钮1",
       Event::click,
       {"read 编辑框1", "read 编辑框2", "start CMD /k MKLINK /d /j D:\\Links\\Games E:\\Games"}},
      {"驱动器框1",
       Event::drive_changed,
       {"read 驱动器框1", "write 目录框1 = D:\\", "read 驱动器框1",
        "write 编辑框1 = D:\\欲创建链接的文件夹名"}},
      {"驱动器框2",
       Event::drive_changed,
       {"read 驱动器框2", "write 目录框2 = E:\\", "read 驱动器框2", "write 编辑框2 = E:\\"}},
      {"目录框1", Event::directory_changed, {"read 目录框1", "write 编辑框1 = D:\\Data\\欲创建链接的文件夹名"}},
      {"目录框2", Event::directory_changed, {"read 目录框2", "write 编辑框2 = E:\\Games\\"}},
      {kMainWindow, Event::created, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    reset_controls();
    EXPECT_TRUE(shell_.raise_event(c.source, c.event));
    EXPECT_EQ(controls_.log, c.log);
  }
  ASSERT_EQ(controls_.boxes.size(), 1u);
  EXPECT_EQ(controls_.boxes[0].title, "信息：");
}

TEST_F(FormRouting, LabelsAndEditBoxesHaveNoBindings) {
  for (const auto& control : kControls) {
    if (control.kind != Kind::label && control.kind != Kind::edit_box) continue;
    for (Event event : kEvents) {
      SCOPED_TRACE(control.name);
      EXPECT_FALSE(shell_.raise_event(control.name, event));
    }
  }
  EXPECT_TRUE(controls_.log.empty());
}

TEST_F(FormRouting, EventsOfTheWrongKindReachNothing) {
  const struct {
    std::string_view source;
    Event event;
  } cases[] = {
      {"按钮1", Event::drive_changed}, {"按钮2", Event::created},         {"驱动器框1", Event::click},
      {"驱动器框2", Event::directory_changed}, {"目录框1", Event::drive_changed}, {kMainWindow, Event::click},
  };
  for (const auto& c : cases) EXPECT_FALSE(shell_.raise_event(c.source, c.event)) << c.source;
  EXPECT_TRUE(controls_.log.empty());
}

}  // namespace
}  // namespace krovelin
