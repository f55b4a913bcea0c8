#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting_heap.h"
#include "fake_controls.h"
#include "link/handlers.h"
#include "ui/form.h"

namespace krovelin {
namespace {

using Log = std::vector<std::string>;
using Values = std::map<std::string, std::string, std::less<>>;

// Every handler runs on the counting heap: the fixture checks that no text is left alive.
class Handlers : public test::CountingHeapTest {
 protected:
  test::FakeControls controls_;
};

TEST_F(Handlers, DriveAndFolderChangesSuggestPaths) {
  struct Case {
    const char* name;
    void (*handler)(Services&);
    Values values;
    Log log;
  };
  const Case cases[] = {
      {"link drive",
       on_link_drive_changed,
       {{"驱动器框1", "D"}},
       {"read 驱动器框1", "write 目录框1 = D:\\", "read 驱动器框1",
        "write 编辑框1 = D:\\欲创建链接的文件夹名"}},
      {"target drive",
       on_target_drive_changed,
       {{"驱动器框2", "E"}},
       {"read 驱动器框2", "write 目录框2 = E:\\", "read 驱动器框2", "write 编辑框2 = E:\\"}},
      {"link folder at a drive",
       on_link_folder_changed,
       {{"目录框1", "D:"}},
       {"read 目录框1", "write 编辑框1 = D:\\欲创建链接的文件夹名"}},
      {"link folder",
       on_link_folder_changed,
       {{"目录框1", "D:\\Data\\Old"}},
       {"read 目录框1", "write 编辑框1 = D:\\Data\\Old\\欲创建链接的文件夹名"}},
      {"link folder with a Chinese name",
       on_link_folder_changed,
       {{"目录框1", "D:\\数据\\乗"}},
       {"read 目录框1", "write 编辑框1 = D:\\数据\\乗\\欲创建链接的文件夹名"}},
      {"target folder at a drive",
       on_target_folder_changed,
       {{"目录框2", "E:"}},
       {"read 目录框2", "write 编辑框2 = E:\\"}},
      {"target folder",
       on_target_folder_changed,
       {{"目录框2", "E:\\Games"}},
       {"read 目录框2", "write 编辑框2 = E:\\Games\\"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeControls controls;
    // The other side's controls hold values too, so that touching them would show.
    controls.values = {{"驱动器框1", "X"}, {"目录框1", "X:\\x"}, {"驱动器框2", "Y"},
                       {"目录框2", "Y:\\y"}, {"编辑框1", "x"},   {"编辑框2", "y"}};
    for (const auto& [control, value] : c.values) controls.values.insert_or_assign(control, value);
    c.handler(controls);
    EXPECT_EQ(controls.log, c.log);
    EXPECT_EQ(heap_.live_blocks(), 0u);
  }
}

TEST_F(Handlers, DriveChangeSuggestsFromTheDriveReadAfterTheDirectoryBoxMoved) {
  const struct {
    void (*handler)(Services&);
    const char* drive_box;
    const char* directory_box;
    Log log;
  } cases[] = {
      {on_link_drive_changed, "驱动器框1", "目录框1",
       {"read 驱动器框1", "write 目录框1 = D:\\", "read 驱动器框1",
        "write 编辑框1 = F:\\欲创建链接的文件夹名"}},
      {on_target_drive_changed, "驱动器框2", "目录框2",
       {"read 驱动器框2", "write 目录框2 = D:\\", "read 驱动器框2", "write 编辑框2 = F:\\"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive_box);
    test::FakeControls controls;
    controls.values = {{c.drive_box, "D"}};
    // Moving the directory box lands the drive box on another drive.
    controls.after_write = [&c](test::FakeControls& self, std::string_view control) {
      if (control == c.directory_box) self.values.insert_or_assign(c.drive_box, "F");
    };
    c.handler(controls);
    EXPECT_EQ(controls.log, c.log);
  }
}

TEST_F(Handlers, OkStartsTheLinkCommandOnce) {
  struct Case {
    const char* link;
    const char* target;
    std::string command;
  };
  const Case cases[] = {
      {"D:\\Links\\Games", "E:\\Games", "CMD /k MKLINK /d /j D:\\Links\\Games E:\\Games"},
      {"", "", "CMD /k MKLINK /d /j  "},
      {"D:\\My Links\\Games", "E:\\Games\\",
       "CMD /k MKLINK /d /j \"D:\\My Links\\Games\" E:\\Games\\"},
      {"D:\\a&b", "\"E:\\x y\"", "CMD /k MKLINK /d /j \"D:\\a&b\" \"E:\\x y\""},
      {kInitialLinkText, "E:\\", "CMD /k MKLINK /d /j 文件夹必须不存在，稍后自动创建 E:\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    test::FakeControls controls;
    controls.values = {{"编辑框1", c.link}, {"编辑框2", c.target}};
    on_ok_clicked(controls);
    EXPECT_EQ(controls.log, (Log{"read 编辑框1", "read 编辑框2", "start " + c.command}));
    EXPECT_TRUE(controls.boxes.empty());
  }
}

TEST_F(Handlers, EachOkStartsAnotherProcess) {
  controls_.values = {{"编辑框1", "D:\\L"}, {"编辑框2", "E:\\T"}};
  on_ok_clicked(controls_);
  on_ok_clicked(controls_);
  EXPECT_EQ(controls_.started,
            (Log{"CMD /k MKLINK /d /j D:\\L E:\\T", "CMD /k MKLINK /d /j D:\\L E:\\T"}));
}

TEST_F(Handlers, FailedStartShowsNothing) {
  controls_.values = {{"编辑框1", "D:\\L"}, {"编辑框2", "E:\\T"}};
  controls_.start_succeeds = false;
  on_ok_clicked(controls_);
  EXPECT_EQ(controls_.log,
            (Log{"read 编辑框1", "read 编辑框2", "start CMD /k MKLINK /d /j D:\\L E:\\T"}));
  EXPECT_TRUE(controls_.boxes.empty());
}

TEST_F(Handlers, AboutShowsOneBoxAndNothingElse) {
  on_about_clicked(controls_);
  ASSERT_EQ(controls_.boxes.size(), 1u);
  EXPECT_EQ(controls_.boxes[0].text, "Tamsel制作");
  EXPECT_EQ(controls_.boxes[0].title, "信息：");
  EXPECT_EQ(controls_.boxes[0].style, 0x2000u);
  EXPECT_EQ(controls_.log, Log{"box Tamsel制作"});
}

TEST_F(Handlers, WindowCreatedTouchesNothing) {
  on_window_created(controls_);
  EXPECT_TRUE(controls_.log.empty());
  EXPECT_TRUE(heap_.sizes().empty());
}

}  // namespace
}  // namespace krovelin
