#include "res/menu_resources.h"

#include <array>

#include "res/command_ids.h"

namespace velkor {
namespace {

constexpr MenuItemDef kSeparator{u"", 0};

constexpr std::array kFileItems{
    MenuItemDef{u"新建任务", ID_NEW_TASK},
    MenuItemDef{u"关闭任务", ID_CLOSE_TASK},
    kSeparator,
    MenuItemDef{u"退出", ID_EXIT},
};

constexpr std::array kOperationItems{
    MenuItemDef{u"任务扫描", ID_TASK_SCAN},  kSeparator, MenuItemDef{u"图片扫描", ID_SCAN_PICTURE},
    MenuItemDef{u"影片扫描", ID_SCAN_VIDEO}, kSeparator, MenuItemDef{u"操作记录", ID_HISTORY},
    MenuItemDef{u"搜索", ID_SEARCH},         kSeparator, MenuItemDef{u"保存", ID_SAVE},
};

constexpr std::array kSettingsItems{
    MenuItemDef{u"设置", ID_SETTINGS},
    MenuItemDef{u"停止", ID_STOP},
};

constexpr std::array kHelpItems{
    MenuItemDef{u"关于", ID_APP_ABOUT},
};

constexpr std::array kMainMenu{
    MenuDef{u"文件", kFileItems},
    MenuDef{u"操作", kOperationItems},
    MenuDef{u"设置", kSettingsItems},
    MenuDef{u"帮助", kHelpItems},
};

constexpr std::array kToolbar{
    int{ID_NEW_TASK},   int{ID_CLOSE_TASK}, int{ID_TASK_SCAN}, int{ID_SCAN_PICTURE},
    int{ID_SCAN_VIDEO}, int{ID_HISTORY},    int{ID_SEARCH},    int{ID_SETTINGS},
    int{ID_SAVE},       int{ID_STOP},       int{ID_EXIT},
};

constexpr std::array kResultListPopup{
    MenuItemDef{u"保存", ID_LIST_SAVE},
    MenuItemDef{u"全选", ID_LIST_TICK_ALL},
    MenuItemDef{u"反选", ID_LIST_CLEAR_ALL},
};

constexpr std::array kLogPopup{
    MenuItemDef{u"清除日志", ID_LOG_CLEAR},
    MenuItemDef{u"保存日志", ID_LOG_SAVE},
};

}  // namespace

std::span<const MenuDef> MainMenuDefs() {
  return kMainMenu;
}
std::span<const int> ToolbarCommandIds() {
  return kToolbar;
}
std::span<const MenuItemDef> ResultListPopupDefs() {
  return kResultListPopup;
}
std::span<const MenuItemDef> LogPopupDefs() {
  return kLogPopup;
}

}  // namespace velkor
