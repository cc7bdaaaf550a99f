#include "ui/carving_tools.h"

#include <QFontDatabase>
#include <QInputDialog>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>
#include <QUrl>

#include "engine/result_tabs.h"
#include "res/menu_resources.h"
#include "ui/detail_pane.h"
#include "ui/hex_dump.h"
#include "ui/log_pane.h"
#include "ui/log_view.h"
#include "ui/prompts.h"
#include "ui/result_pane.h"
#include "ui/thumbnail_loader.h"

namespace velkor {
namespace {

const QColor kLabelColour(20, 20, 200);
const QColor kValueColour(0, 128, 192);
const QColor kHexColour(0, 0, 0);

QString HexFace() {
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QString PixelSizeText(QSize size) {
  return QStringLiteral("%1×%2").arg(size.width()).arg(size.height());
}

}  // namespace

std::optional<uint64_t> SearchHitOffset(const QString& title, const QString& text) {
  if (title != QStringLiteral("Search")) return {};
  // The image's path comes first and is the task's own; the excerpt after
  // the offset is recovered bytes, so the first match is the offset.
  static const QRegularExpression kOffset(QStringLiteral(",位置([0-9]+): "));
  const QRegularExpressionMatch match = kOffset.match(text);
  if (!match.hasMatch()) return {};
  return ParseOffsetText(match.captured(1));
}

CarvingTools::CarvingTools(ResultPane& results, DetailPane& detail, LogPane& log, QObject* parent)
    : QObject(parent), results_(results), detail_(detail), thumbnails_(results.Thumbnails()) {
  connect(&results_, &ResultPane::detailShown, this, [this](int tab, int row) {
    ++shown_;
    if (tab == kTabFoundFiles) ShowFoundFile(row);
  });
  connect(&thumbnails_, &ThumbnailLoader::thumbnailReady, this, &CarvingTools::PlacePreview);
  LogView& view = log.View();
  connect(&view, &LogView::doubleClicked, this, [this, &view](const QModelIndex& index) {
    const std::optional<uint64_t> offset = SearchHitOffset(view.Model().CellText(index.row(), 0),
                                                           view.Model().CellText(index.row(), 2));
    if (offset) ShowHexAt(*offset);
  });
}

void CarvingTools::SetTaskImage(ImageAccess image) {
  taskImage_ = std::move(image);
}

void CarvingTools::SetFoundFiles(std::vector<FoundFileInfo> files, ImageAccess image) {
  foundImage_ = image;
  thumbnails_.SetFiles(std::move(files), std::move(image));
  previewRow_ = -1;
}

void CarvingTools::AppendLabel(const QString& label) {
  detail_.AppendRun(label, kLabelColour, QStringLiteral("黑体"), 10);
}

void CarvingTools::AppendValue(const QString& value) {
  detail_.AppendRun(value, kValueColour, QStringLiteral("隶书"), 10);
}

void CarvingTools::AppendHexLines(ImageSource& image, uint64_t offset) {
  const QString face = HexFace();
  const QStringList lines =
      HexDumpLines(image, HexWindowStart(offset, image.Size()), kHexWindowBytes);
  for (const QString& line : lines) detail_.AppendRun(u'\n' + line, kHexColour, face, 9);
}

void CarvingTools::ShowFoundFile(int row) {
  const FoundFileInfo* file = thumbnails_.File(row);
  if (file == nullptr) return;
  const bool first = detail_.Text().isEmpty();
  AppendLabel(first ? QStringLiteral("状态:") : QStringLiteral("\r\n状态:"));
  AppendValue(file->verified ? QStringLiteral("完整") : QStringLiteral("未验证"));
  if (file->picture) {
    AppendLabel(QStringLiteral("\r\n预览:"));
    previewFor_ = shown_;
    previewRow_ = row;
    previewPosition_ = detail_.Edit().document()->characterCount() - 1;
    if (thumbnails_.Request(row) != nullptr) PlacePreview(row);
  }
  std::unique_ptr<ImageSource> image = foundImage_ ? foundImage_() : nullptr;
  if (image) AppendHexLines(*image, file->offset);
}

void CarvingTools::PlacePreview(int row) {
  if (row != previewRow_ || previewFor_ != shown_) return;
  const Thumbnail* thumbnail = thumbnails_.Cached(row);
  if (thumbnail == nullptr) return;
  previewRow_ = -1;
  QTextDocument* document = detail_.Edit().document();
  QTextCursor cursor(document);
  cursor.setPosition(previewPosition_);
  QTextCharFormat format;
  format.setForeground(kValueColour);
  if (!thumbnail->decoded) {
    cursor.insertText(QStringLiteral("无法解码"), format);
    return;
  }
  cursor.insertText(PixelSizeText(thumbnail->pixelSize) + u'\n', format);
  const QUrl name(QStringLiteral("velkor-preview:%1").arg(shown_));
  document->addResource(QTextDocument::ImageResource, name, thumbnail->image);
  QTextImageFormat image;
  image.setName(name.toString());
  image.setWidth(thumbnail->image.width());
  image.setHeight(thumbnail->image.height());
  cursor.insertImage(image);
}

void CarvingTools::ShowHexAt(uint64_t offset) {
  ++shown_;
  detail_.Clear();
  AppendLabel(QStringLiteral("偏移:"));
  AppendValue(QStringLiteral("%1 (0x%2)").arg(offset).arg(QString::number(offset, 16).toUpper()));
  std::unique_ptr<ImageSource> image = taskImage_ ? taskImage_() : nullptr;
  if (!image) {
    AppendValue(QStringLiteral("  没有可读的镜像"));
    return;
  }
  if (offset >= image->Size()) {
    AppendValue(QStringLiteral("  超出镜像大小 %1").arg(image->Size()));
    return;
  }
  AppendHexLines(*image, offset);
}

void CarvingTools::AskOffset(QWidget* window, Prompts& prompts) {
  bool ok = false;
  const QString text = QInputDialog::getText(window, QStringLiteral("跳转到偏移"),
                                             QStringLiteral("偏移(十进制, 或 0x 开头的十六进制):"),
                                             QLineEdit::Normal, QString(), &ok);
  if (!ok) return;
  const std::optional<uint64_t> offset = ParseOffsetText(text);
  if (!offset) {
    prompts.MessageBox(window, QMessageBox::Warning, Text(kCaptionWarning),
                       QStringLiteral("偏移无效: %1").arg(text), QMessageBox::Ok);
    return;
  }
  ShowHexAt(*offset);
}

}  // namespace velkor
