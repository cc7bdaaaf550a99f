// Every picture of the program is painted here at start-up, so the program
// ships no image files.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace velkor {

inline constexpr int kToolbarImageSize = 48;
inline constexpr int kTreeImageSize = 16;
inline constexpr int kTreeImageCount = 16;

// Image of a toolbar command, kToolbarImageSize square; a null icon for an id
// that has no button.
QIcon ToolbarIcon(int commandId);
// Image index 0 to kTreeImageCount - 1 of the category tree.
QPixmap TreeImage(int index);
QIcon AppIcon();
QIcon OutputPaneIcon();

}  // namespace velkor
