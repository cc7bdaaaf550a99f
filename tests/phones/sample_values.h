// Sample values the fixture databases share: texts and names that code page
// 936 keeps or loses, phone numbers, times and their list texts, guids.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/record_time.h"
#include "engine/text_codec.h"

namespace velkor::phones {

inline constexpr int64_t kIosEpoch = 978307200;

// Texts and names that code page 936 keeps (Chinese, ASCII) and loses
// (Hangul, accented Latin, emoji, the pound sign).
inline const char* const kTexts[] = {
    "Meeting moved to 5 pm", "你好，明天见", "안녕하세요 민수씨", "Café crème à 3£",
    "Running late 🏃",        "收到请回复",   "Ñandú über Straße", "OK"};
inline const char* const kFirst[] = {"伟", "민수", "José", "Na", "Zoë", "芳", "Émile", "지성"};
inline const char* const kLast[] = {"张", "김", "Álvarez", "Li", "Smith 🌟", "王", "Zola", "박"};

inline std::string Text(int i) {
  return kTexts[i % 8];
}
inline std::string Number(int i) {
  return "+86138" + std::to_string(10000000 + i * 7919);
}
inline int64_t UnixTime(int i) {
  return 1500000000 + int64_t{i} * 86413;
}
inline std::string TimeText(int64_t unixSeconds) {
  return ToUtf8(FormatRecordTime(static_cast<uint32_t>(unixSeconds)));
}
inline std::string Guid(int i) {
  const std::string hex = std::to_string(10000000 + i);
  return hex + "-CEEA-467F-A0E6-3F0A1F5B" + hex.substr(0, 4);
}

// "a INTEGER, b TEXT" as {"a INTEGER", "b TEXT"}; no column definition of
// the fixtures holds a comma.
inline std::vector<std::string> Columns(std::string_view list) {
  std::vector<std::string> columns;
  for (size_t start = 0; start < list.size();) {
    size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view column = list.substr(start, end - start);
    while (!column.empty() && column.front() == ' ') column.remove_prefix(1);
    columns.emplace_back(column);
    start = end + 1;
  }
  return columns;
}

inline std::vector<std::string> Concat(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every fourth row is deleted.
inline bool Deleted(int i) {
  return i % 4 == 3;
}

}  // namespace velkor::phones
