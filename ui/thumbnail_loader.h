// Thumbnails of found pictures, decoded from the image's bytes on the thread
// pool and cached by list row. The user-interface thread only asks and is
// told; it never reads or decodes.
#pragma once

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>

#include "ui/carving_view.h"

namespace velkor {

// At most this many bytes of a file are read for its thumbnail: a picture
// larger than that is rarely whole in a carve, and the cap bounds the memory
// a hostile length can ask for.
inline constexpr uint64_t kThumbnailReadCap = 8u << 20;
inline constexpr int kThumbnailEdge = 160;

struct Thumbnail {
  bool decoded = false;
  QSize pixelSize;  // of the full picture, when decoded
  QImage image;     // at most kThumbnailEdge on its longer side
};

// Decodes bytes as any picture format Qt knows, refusing pictures whose
// pixels would take more than a bounded amount of memory. Never throws or
// crashes on any bytes; safe on any thread.
Thumbnail DecodeThumbnail(const QByteArray& bytes);

class ThumbnailLoader final : public QObject {
  Q_OBJECT

 public:
  explicit ThumbnailLoader(QObject* parent = nullptr);

  // Forgets the cache; decodes still running for the old files are dropped
  // when they end.
  void SetFiles(std::vector<FoundFileInfo> files, ImageAccess image);
  size_t FileCount() const { return files_.size(); }
  const FoundFileInfo* File(int row) const;

  // The cached thumbnail of row, or null (then a decode is started unless
  // one runs already or the row is no picture).
  const Thumbnail* Request(int row);
  const Thumbnail* Cached(int row) const;
  // How many decodes were started since the files were set.
  int StartedCount() const { return started_; }

 signals:
  void thumbnailReady(int row);

 private:
  std::vector<FoundFileInfo> files_;
  ImageAccess image_;
  // Bumped by SetFiles; a result of an older generation is dropped.
  uint64_t generation_ = 0;
  QHash<int, Thumbnail> cache_;
  QHash<int, bool> pending_;
  int started_ = 0;
};

}  // namespace velkor
