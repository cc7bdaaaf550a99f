// The texts of the log entries.
#include "engine/log_entries.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace velkor {

using test::Recorder;
namespace {

TEST(LogEntries, Texts) {
  Recorder r;
  LogOpenFailed(&r, u"error", u"D:\\img.dd", 3);
  LogReadFailed(&r, u"error", u"/x", 3, 2097152);
  LogReadFailed(&r, u"error", u"/x", 3, -1);
  LogSaveFailed(&r, u"Save", u"/out/0.jpg", 3);
  EXPECT_EQ(r.logs, (std::vector<std::string>{
                        "3 error 打開/創建設備D:\\img.dd失敗", "3 error 讀取設備/x,位置2097152失敗",
                        "3 error 讀取設備/x,位置-1失敗", "3 Save 保存/out/0.jpg失败"}));
}

TEST(LogEntries, TaskEvents) {
  Recorder r;
  for (int event = 0; event <= 7; ++event) LogTaskEvent(&r, u"New Task", 0, event, u"P");
  EXPECT_EQ(r.logs,
            (std::vector<std::string>{"0 New Task 新建任务:P,请稍等...", "0 New Task 新建任务结束",
                                      "0 New Task 扫描P,请稍等...", "0 New Task 扫描结束",
                                      "0 New Task 保存路径P,请稍等...", "0 New Task 保存结束",
                                      "0 New Task ", "0 New Task "}));
  LogTaskEvent(nullptr, u"x", 0, 0, u"no sink: dropped");
}

}  // namespace
}  // namespace velkor
