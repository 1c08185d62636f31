#include "studio/core/route_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace velimoro::studio {
namespace {

std::vector<std::string> station(const std::string& name, int frame, int departs) {
  return {name,
          "0",
          std::to_string(frame),
          "200",
          "0",
          "0",
          "0",
          std::to_string(departs),
          "0",
          "0",
          "0",
          "0",
          "0",
          "0"};
}

// Fields are checked as typed; records go in frame order; undo walks back to the file as it
// was opened, redo forward to the same bytes as the same edits made afresh.
TEST(RouteEditor, PlacesChecksUndoesAndRedoes) {
  const std::string opened = testing::toCp932(
      "; hand made\r\n[Station]\r\n港,0,300,200,0,0,0,1080000,0,0,0,0,0,0\r\n#\r\n");
  RouteEditor editor(RouteDocument::parse(opened));
  std::string error;
  for (const auto& [values, fault] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {station("a,b", 10, 0), "名前"},
           {station("#駅", 10, 0), "名前"},
           {station("電車🚃", 10, 0), "名前"},
           {station("駅", -1, 0), "停止フレーム (フレーム)"},
           {station("駅", 10, 24 * 60 * 60 * 30), "発車時刻 (1/30 秒)"},
           {{"駅", "0"}, "駅: 欄は 14 個"}}) {
    EXPECT_FALSE(editor.place(RecordKind::kStation, values, error));
    EXPECT_TRUE(error.starts_with(fault)) << error;
  }
  EXPECT_FALSE(editor.place(RecordKind::kSlope, {"12.5x", "0", "10"}, error));
  EXPECT_FALSE(editor.canUndo());
  EXPECT_FALSE(editor.modified());

  int index = -1;
  ASSERT_TRUE(editor.place(RecordKind::kStation, station("岬", 900, 1090000), error, &index));
  EXPECT_EQ(index, 1);
  ASSERT_TRUE(editor.place(RecordKind::kStation, station("浜", 100, 1070000), error, &index));
  EXPECT_EQ(index, 0);
  ASSERT_TRUE(editor.place(RecordKind::kSlope, {"-12.5", "100", "400"}, error)) << error;
  ASSERT_TRUE(editor.edit(RecordKind::kStation, 2, station("灯台", 950, 1090000), error));
  ASSERT_TRUE(editor.remove(RecordKind::kStation, 0));
  EXPECT_FALSE(editor.remove(RecordKind::kStation, 7));
  EXPECT_TRUE(editor.modified());
  const std::string edited = editor.document().bytes();

  std::vector<std::string> labels;
  for (const RecordMark& m : editor.marks())
    labels.push_back(std::string(captionOf(m.kind)) + " " + m.label + " " +
                     std::to_string(m.frame));
  EXPECT_EQ(labels, (std::vector<std::string>{"勾配 勾配 100", "駅 港 300", "駅 灯台 950"}));
  EXPECT_EQ(editor.fields(RecordKind::kStation, 1), station("灯台", 950, 1090000));

  while (editor.undo()) {
  }
  EXPECT_EQ(editor.document().bytes(), opened);
  while (editor.redo()) {
  }
  EXPECT_EQ(editor.document().bytes(), edited);

  RouteEditor fresh(RouteDocument::parse(opened));
  ASSERT_TRUE(fresh.place(RecordKind::kStation, station("灯台", 950, 1090000), error));
  ASSERT_TRUE(fresh.place(RecordKind::kSlope, {"-12.5", "100", "400"}, error));
  EXPECT_EQ(fresh.document().bytes(), edited);
  fresh.markSaved();
  EXPECT_FALSE(fresh.modified());
  EXPECT_TRUE(fresh.undo());
  EXPECT_TRUE(fresh.modified());
}

}  // namespace
}  // namespace velimoro::studio
