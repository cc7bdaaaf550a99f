// The activity log pane: one coloured row per event, newest at the bottom,
// emptied when it reaches its limit, savable as a UTF-16 text file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include "engine/reporting.h"

class QMenu;

namespace velkor {

class TFColorListCtrl;
class CLeftDlg;

// Hands entries from any thread to the log pane. A worker waits until its row
// is in the list; the pane's own thread adds the row directly.
class LogWindowSink final : public LogSink {
 public:
  explicit LogWindowSink(CLeftDlg* pane) : pane_(pane) {}
  void Append(const LogEntry& entry) override;

 private:
  CLeftDlg* pane_;
};

class CLeftDlg final : public QWidget {
  Q_OBJECT

 public:
  // The entry that would make this many rows empties the log instead.
  static constexpr int kRowLimit = 1500;

  explicit CLeftDlg(QWidget* parent = nullptr);

  // Adds one row; pane thread only (other threads go through Sink()).
  void OnLogAppend(const LogEntry& entry);
  LogSink& Sink() { return sink_; }

  void OnClearLog();
  // Asks for a file name, then saves.
  void OnSaveLog();
  // Saves to path and tells the user when that fails.
  void SaveLogFile(const QString& path);
  // Saves to path; on failure the previous file stays as it was and why
  // tells what went wrong.
  bool WriteLogFile(const QString& path, QString* why) const;
  // The saved form: FF FE, then "title\ttime\ttext\r\n" per row in UTF-16LE.
  QByteArray LogFileBytes() const;

  int RowCounter() const { return rowCounter_; }
  TFColorListCtrl& List() { return *list_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnListContextMenu(const QPoint& pos);
  void FitColumns(int width);

  TFColorListCtrl* list_ = nullptr;
  QMenu* popup_ = nullptr;
  int rowCounter_ = 0;
  LogWindowSink sink_{this};
};

// Text colour of a log level, or nothing for a level without one.
bool LogLevelColour(uint8_t level, QRgb* colour);

}  // namespace velkor
