// What the carving tools of the desktop (previews, thumbnail grid, hex view)
// are told by the task controller: how to open the task's image and where
// each found file lies in it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/image_source.h"

namespace velkor {

// Opens the task's image anew for one reader; may be called on any thread.
// Empty when there is no image.
using ImageAccess = std::function<std::unique_ptr<ImageSource>()>;

// One row of the found-files list as the tools need it.
struct FoundFileInfo {
  uint64_t offset = 0;
  uint64_t length = 0;
  bool verified = false;  // the structure walk reached the file's end
  bool picture = false;   // found by a picture scan, so worth decoding
};

class CarvingView {
 public:
  virtual ~CarvingView() = default;
  // The image of the task just opened; an empty access when it closed.
  virtual void SetTaskImage(ImageAccess image) = 0;
  // The files behind the found-files list, by row, and the image they lie in.
  virtual void SetFoundFiles(std::vector<FoundFileInfo> files, ImageAccess image) = 0;
};

}  // namespace velkor
