// The fixed texts of the task commands and their dialogs.
#pragma once

namespace velkor {

inline constexpr const char16_t* kCloseTaskQuestion = u"新建任务前是否关闭当前任务?";
inline constexpr const char16_t* kNoTaskText = u"Ostrel软件-请先新建任务";
inline constexpr const char16_t* kPathMissingText = u"参数设置错误!";
inline constexpr const char16_t* kTitleNewTaskProgress = u"Ostrel软件-解析任务";
inline constexpr const char16_t* kTitleScanPictures = u"Ostrel软件-扫描图片";
inline constexpr const char16_t* kTitleScanVideos = u"Ostrel软件-扫描影片";
inline constexpr const char16_t* kTitleSaveProgress = u"Ostrel软件-保存";
inline constexpr const char16_t* kTitleSearchProgress = u"Ostrel软件-搜索";
inline constexpr const char16_t* kFolderTitle = u"please select path";
inline constexpr const char16_t* kNoSearchText = u"请输入搜索文本";
inline constexpr const char16_t* kNotAsciiText =
    u"ASCII 编码只能搜索 ASCII 字符,请改用 UTF-8 或 UNICODE";
inline constexpr const char16_t* kWorkerFailedText = u"无法启动工作线程";
inline constexpr const char16_t* kNoRecordTypeText = u"请至少选择一种记录类型";

}  // namespace velkor
