// The carving tools of the desktop around the found-files list and the task's
// image: the status and preview of a found file and the hex view of any
// offset, all shown in the detail pane as plain text (and one picture).
#pragma once

#include <cstdint>
#include <optional>

#include <QObject>
#include <QString>

#include "ui/carving_view.h"

class QWidget;

namespace velkor {

class DetailPane;
class LogPane;
class Prompts;
class ResultPane;
class ThumbnailLoader;

// The offset of the hit a log row of the image search names, if it is one.
std::optional<uint64_t> SearchHitOffset(const QString& title, const QString& text);

class CarvingTools final : public QObject, public CarvingView {
  Q_OBJECT

 public:
  CarvingTools(ResultPane& results, DetailPane& detail, LogPane& log, QObject* parent = nullptr);

  void SetTaskImage(ImageAccess image) override;
  void SetFoundFiles(std::vector<FoundFileInfo> files, ImageAccess image) override;

  // The 512 bytes around offset of the task's image, as hex and text.
  void ShowHexAt(uint64_t offset);
  // Asks for an offset ("跳转到偏移") over window and shows the bytes there.
  void AskOffset(QWidget* window, Prompts& prompts);

 private:
  // Adds the status, preview and hex lines of a found file below the lines
  // the result pane wrote for row.
  void ShowFoundFile(int row);
  void AppendLabel(const QString& label);
  void AppendValue(const QString& value);
  void AppendHexLines(ImageSource& image, uint64_t offset);
  // Puts the decoded preview (or why there is none) where the found file's
  // preview line waits.
  void PlacePreview(int row);

  ResultPane& results_;
  DetailPane& detail_;
  ThumbnailLoader& thumbnails_;
  ImageAccess taskImage_;
  ImageAccess foundImage_;
  // Every change of the detail pane takes a new number; a preview that
  // arrives for an older one is dropped, as the pane shows something else.
  uint64_t shown_ = 0;
  uint64_t previewFor_ = 0;
  int previewRow_ = -1;
  int previewPosition_ = 0;
};

}  // namespace velkor
