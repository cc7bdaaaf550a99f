// The menus, the toolbar and the fixed strings of the desktop program, kept
// as data so that the frame and its tests read the same table.
#pragma once

#include <span>
#include <string_view>

#include <QString>

namespace velkor {

// A separator has id 0 and no text.
struct MenuItemDef {
  const char16_t* text;
  int id;
};

struct MenuDef {
  const char16_t* title;
  std::span<const MenuItemDef> items;
};

std::span<const MenuDef> MainMenuDefs();
// The eleven toolbar buttons, left to right.
std::span<const int> ToolbarCommandIds();
// Popup of each result list.
std::span<const MenuItemDef> ResultListPopupDefs();
// Popup of the activity log.
std::span<const MenuItemDef> LogPopupDefs();

inline QString Text(const char16_t* text) {
  return QString::fromUtf16(text);
}
inline QString Text(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline constexpr const char16_t* kAppName = u"VelkorForPhone";
inline constexpr const char16_t* kFrameCaption = u"Ostrel软件科技";
inline constexpr const char16_t* kStatusProduct = u"Ostrel软件科技-手机版本";
inline constexpr const char16_t* kStatusContact =
    u"联系我们: www.ostrel.example  support@ostrel.example";
inline constexpr const char16_t* kOutputTitle = u"Output";
inline constexpr const char16_t* kBusyText = u"其他作業正在進行，請稍等...";
inline constexpr const char16_t* kCaptionQuestion = u"提示";
inline constexpr const char16_t* kCaptionWarning = u"警告";

}  // namespace velkor
