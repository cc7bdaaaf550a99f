// Command ids of the menus, the toolbar and the popup menus. They are plain
// numbers so that a command reads the same wherever it comes from.
#pragma once

namespace velkor {

enum CommandId : int {
  ID_SETTINGS = 32776,        // "设置": accepted, no action
  ID_STOP = 32784,            // "停止"
  ID_EXIT = 32785,            // "退出"
  ID_NEW_TASK = 32786,        // "新建任务"
  ID_CLOSE_TASK = 32787,      // "关闭任务"
  ID_SCAN_PICTURE = 32789,    // "图片扫描"
  ID_SCAN_VIDEO = 32790,      // "影片扫描"
  ID_HISTORY = 32791,         // "操作记录": accepted, no action
  ID_SEARCH = 32792,          // "搜索"
  ID_SAVE = 32793,            // "保存"
  ID_TASK_SCAN = 32795,       // "任务扫描": accepted, no action
  ID_LOG_CLEAR = 32798,       // log popup "清除日志"
  ID_LOG_SAVE = 32799,        // log popup "保存日志"
  ID_LIST_SAVE = 32801,       // result-list popup "保存"
  ID_LIST_TICK_ALL = 32804,   // result-list popup "全选"
  ID_LIST_CLEAR_ALL = 32805,  // result-list popup "反选"
  ID_EXPORT = 32806,          // "导出": the current list as CSV with report.json
  ID_APP_ABOUT = 57664,       // "关于"
};

}  // namespace velkor
