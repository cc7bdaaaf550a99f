#include "ui/thumbnail_loader.h"

#include <algorithm>

#include <QBuffer>
#include <QFutureWatcher>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>

namespace velkor {
namespace {

// A picture may claim any size in its header; anything beyond this many
// pixels is refused before a byte of it is decoded.
constexpr qint64 kMaxDecodedPixels = 40'000'000;
constexpr int kAllocationLimitMb = 256;

// Only the formats a picture scan finds are decoded: whatever other readers
// an installation carries (vector or text formats among them) never see
// recovered bytes.
bool CarvedPictureFormat(const QByteArray& format) {
  static const QByteArray kFormats[] = {"jpeg", "jpg", "png", "gif", "bmp", "tiff"};
  for (const QByteArray& known : kFormats) {
    if (format == known) return true;
  }
  return false;
}

QByteArray ReadFileBytes(const ImageAccess& access, const FoundFileInfo& file) {
  std::unique_ptr<ImageSource> image = access ? access() : nullptr;
  if (!image) return {};
  const uint64_t length = std::min(file.length, kThumbnailReadCap);
  QByteArray bytes(static_cast<qsizetype>(length), '\0');
  const size_t read =
      ReadFully(*image, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), file.offset);
  bytes.truncate(static_cast<qsizetype>(read));
  return bytes;
}

}  // namespace

Thumbnail DecodeThumbnail(const QByteArray& bytes) {
  Thumbnail result;
  QByteArray data = bytes;
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  const QByteArray format = QImageReader::imageFormat(&buffer);
  if (!CarvedPictureFormat(format)) return result;
  QImageReader reader(&buffer, format);
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty() ||
      qint64{size.width()} * size.height() > kMaxDecodedPixels) {
    return result;
  }
  // Formats that can decode at a smaller scale (JPEG) then never hold the
  // full picture.
  reader.setScaledSize(
      size.scaled(kThumbnailEdge, kThumbnailEdge, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  QImage image = reader.read();
  if (image.isNull()) return result;
  result.decoded = true;
  result.pixelSize = size;
  result.image = image.width() > kThumbnailEdge || image.height() > kThumbnailEdge
                     ? image.scaled(kThumbnailEdge, kThumbnailEdge, Qt::KeepAspectRatio)
                     : image;
  return result;
}

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent) {
  // A process-wide ceiling on what any one decode may allocate.
  QImageReader::setAllocationLimit(kAllocationLimitMb);
}

void ThumbnailLoader::SetFiles(std::vector<FoundFileInfo> files, ImageAccess image) {
  files_ = std::move(files);
  image_ = std::move(image);
  ++generation_;
  cache_.clear();
  pending_.clear();
  started_ = 0;
}

const FoundFileInfo* ThumbnailLoader::File(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= files_.size()) return nullptr;
  return &files_[static_cast<size_t>(row)];
}

const Thumbnail* ThumbnailLoader::Cached(int row) const {
  const auto it = cache_.constFind(row);
  return it == cache_.constEnd() ? nullptr : &*it;
}

const Thumbnail* ThumbnailLoader::Request(int row) {
  if (const Thumbnail* cached = Cached(row)) return cached;
  const FoundFileInfo* file = File(row);
  if (file == nullptr || !file->picture || pending_.contains(row)) return nullptr;
  pending_.insert(row, true);
  ++started_;
  auto* watcher = new QFutureWatcher<Thumbnail>(this);
  const uint64_t generation = generation_;
  connect(watcher, &QFutureWatcher<Thumbnail>::finished, this, [this, watcher, row, generation] {
    watcher->deleteLater();
    if (generation != generation_) return;
    pending_.remove(row);
    cache_.insert(row, watcher->result());
    emit thumbnailReady(row);
  });
  watcher->setFuture(QtConcurrent::run(
      [access = image_, info = *file] { return DecodeThumbnail(ReadFileBytes(access, info)); }));
  return nullptr;
}

}  // namespace velkor
