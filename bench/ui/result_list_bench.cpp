// How long a result list takes to take in 100,000 rows and to tick them all,
// shown in a window so that the view's own work is counted too.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/result_list_view.h"

namespace {

constexpr int kRows = 100'000;

std::vector<velkor::RowTexts> SmsRows(int count) {
  std::vector<velkor::RowTexts> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::u16string n = QString::number(i + 1).toStdU16String();
    rows.push_back({n, u"1380013" + n, u"接受", u"2009-2-13 23:31:30", u"短信内容 " + n});
  }
  return rows;
}

velkor::ResultListView& ShownList() {
  static velkor::ResultListView* list = [] {
    auto* made = new velkor::ResultListView({"索引", "电话号码", "状态", "时间", "内容"});
    made->resize(800, 600);
    made->show();
    return made;
  }();
  return *list;
}

// Rows are built outside the timing: the fill hands a ready batch to the list.
void BM_Fill(benchmark::State& state) {
  velkor::ResultListView& list = ShownList();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<velkor::RowTexts> rows = SmsRows(kRows);
    state.ResumeTiming();
    list.Model().SetRows(std::move(rows));
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TickAll(benchmark::State& state) {
  velkor::ResultListView& list = ShownList();
  list.Model().SetRows(SmsRows(kRows));
  bool tick = true;
  for (auto _ : state) {
    list.RunPopupCommand(tick ? 32804 : 32805);
    QApplication::processEvents();
    tick = !tick;
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_TickAll)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
