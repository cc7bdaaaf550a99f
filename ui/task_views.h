// The views the task controller drives, as it sees them. The widgets
// implement them; every call is made on the user-interface thread (a worker
// hands its finished data over in one step).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include <QString>

#include "engine/image_search.h"
#include "engine/record_rows.h"
#include "engine/reporting.h"
#include "ui/row_provenance.h"

namespace velkor {

// The category tree: the task's image and one item per result tab.
class CategoryView {
 public:
  virtual ~CategoryView() = default;
  // Replaces the tree in one step. recordCounts holds the row count of each
  // result tab, by tab; the tabs filled by the record scan show theirs.
  virtual void ShowCategories(const QString& imagePath,
                              const std::vector<size_t>& recordCounts) = 0;
  virtual void ClearCategories() = 0;
  // True while a task is shown.
  virtual bool HasCategories() const = 0;
};

// The eleven result lists behind their tabs.
class ResultView {
 public:
  virtual ~ResultView() = default;
  // Replaces every row of the tab's list; all ticks start clear.
  virtual void SetRows(int tab, std::vector<RowTexts> rows) = 0;
  // The full Unicode texts of the rows just set, where they differ from the
  // list texts (the code page 936 view), one entry per row.
  virtual void SetFullTexts(int /*tab*/, std::vector<FullTexts> /*full*/) {}
  // Where each of the rows just set was found, one entry per row.
  virtual void SetProvenance(int /*tab*/, std::vector<RowProvenance> /*provenance*/) {}
  // Whether the lists show the full Unicode texts instead of the code page.
  virtual bool ShowsFullTexts() const { return false; }
  virtual size_t RowCount(int tab) const = 0;
  virtual std::vector<size_t> TickedRows(int tab) const = 0;
  // The ticked rows, each with exactly the list's number of columns.
  virtual std::vector<RowTexts> TickedRowTexts(int tab) const = 0;
  virtual void Untick(int tab, const std::vector<size_t>& rows) = 0;
  virtual int ActiveTab() const = 0;
  virtual void SetActiveTab(int tab) = 0;
  // Selects the rows of the tab holding text in any cell, ignoring case, and
  // brings the first into view; returns how many rows matched.
  virtual size_t SelectRowsHolding(int tab, const QString& text) = 0;
};

// The hits of the last image search, to step through beside the log rows.
class SearchHitView {
 public:
  virtual ~SearchHitView() = default;
  // Replaces the hits listed for the search of text.
  virtual void ShowSearchHits(const QString& text, std::vector<SearchHit> hits) = 0;
};

// What one unit of a job's progress stands for: a 1 MiB window of the image
// (scans and searches) or one file (saving).
enum class ProgressUnit { kWindows, kFiles };

// The modeless progress window of the long operations.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void ShowProgress(const QString& title, ProgressUnit unit) = 0;
  virtual void CloseProgress() = 0;
  // Any thread may report through it; a worker waits until each event is
  // shown.
  virtual ProgressSink& Sink() = 0;
};

}  // namespace velkor
