// The activity log pane: one coloured row per event, newest at the bottom,
// emptied when it reaches its limit, savable as a UTF-16 text file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include "engine/reporting.h"

class QMenu;

namespace velkor {

class LogView;
class LogPane;

// Hands entries from any thread to the log pane. A worker waits until its row
// is in the list; the pane's own thread adds the row directly.
class LogPaneSink final : public LogSink {
 public:
  explicit LogPaneSink(LogPane* pane) : pane_(pane) {}
  void Append(const LogEntry& entry) override;

 private:
  LogPane* pane_;
};

class LogPane final : public QWidget {
  Q_OBJECT

 public:
  // The entry that would make this many rows empties the log instead.
  static constexpr int kRowLimit = 1500;

  explicit LogPane(QWidget* parent = nullptr);

  // Adds one row; pane thread only (other threads go through Sink()).
  void Append(const LogEntry& entry);
  LogSink& Sink() { return sink_; }

  void Clear();
  // Asks for a file name, then saves.
  void AskAndSave();
  // Saves to path and tells the user when that fails.
  void SaveTo(const QString& path);
  // Saves to path; on failure the previous file stays as it was and why
  // tells what went wrong.
  bool WriteFile(const QString& path, QString* why) const;
  // The saved form: FF FE, then "title\ttime\ttext\r\n" per row in UTF-16LE.
  QByteArray FileBytes() const;

  int RowCounter() const { return rowCounter_; }
  LogView& View() { return *list_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowPopup(const QPoint& pos);
  void FitColumns(int width);

  LogView* list_ = nullptr;
  QMenu* popup_ = nullptr;
  int rowCounter_ = 0;
  LogPaneSink sink_{this};
};

// Text colour of a log level, or nothing for a level without one.
bool LogLevelColour(uint8_t level, QRgb* colour);

}  // namespace velkor
