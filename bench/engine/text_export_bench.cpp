// Formatting of the text export: rows of the stores into the file's
// UTF-16LE bytes, the user-side work of the export phase (the writes are
// the kernel's).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/result_tabs.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

// Rows shaped like the dense bench image's: phone numbers, short names and
// a sentence or two of content, times in milliseconds of the 2010s.
const RecordStores& Stores() {
  static const RecordStores stores = [] {
    RecordStores s;
    for (uint64_t i = 0; i < 200000; ++i) {
      const std::u16string number = u"1380013" + DecimalText(i % 10000);
      const std::u16string content(40 + i % 60, static_cast<char16_t>(u'a' + i % 26));
      const int64_t time = 1300000000000 + static_cast<int64_t>(i) * 7919000;
      s.sms.push_back({number, content, static_cast<uint8_t>(1 + i % 2), time, {}, {}});
      s.calls.push_back({number,
                         u"张三" + DecimalText(i % 100),
                         u"北京",
                         time,
                         static_cast<uint8_t>(1 + i % 3),
                         static_cast<uint32_t>(i % 90),
                         {},
                         {}});
      s.weChat.push_back({u"wxid_" + DecimalText(i), content, time, {}, {}});
    }
    return s;
  }();
  return stores;
}

void BM_AppendRecordTextRows(benchmark::State& state) {
  const RecordStores& stores = Stores();
  const int tab = static_cast<int>(state.range(0));
  const size_t rows = RecordRowCount(stores, tab);
  std::string out;
  for (auto _ : state) {
    size_t bytes = 0;
    for (size_t first = 0; first < rows; first += 4096) {
      out.clear();
      AppendRecordTextRows(stores, tab, first, std::min(rows, first + 4096), RowTextForm::kCodePage,
                           out);
      bytes += out.size();
    }
    state.SetBytesProcessed(state.bytes_processed() + static_cast<int64_t>(bytes));
  }
}
BENCHMARK(BM_AppendRecordTextRows)->Arg(kTabSms)->Arg(kTabCalls)->Arg(kTabWeChat);

}  // namespace
}  // namespace velkor

BENCHMARK_MAIN();
