#include "tests/reliability/reliability_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace velkor::reliability {
namespace {

void AppendVarint(std::vector<uint8_t>& out, uint64_t value) {
  uint8_t groups[9];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(groups[--n] | 0x80);
  out.push_back(groups[0]);
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

std::vector<uint8_t> Cell(uint64_t rowid, const std::vector<Column>& columns) {
  std::vector<uint8_t> types;
  std::vector<uint8_t> body;
  for (const Column& column : columns) {
    if (const auto* text = std::get_if<std::string>(&column)) {
      AppendVarint(types, 13 + 2 * text->size());
      body.insert(body.end(), text->begin(), text->end());
    } else {
      const auto value = static_cast<uint32_t>(std::get<int64_t>(column));
      AppendVarint(types, 4);
      for (int shift = 24; shift >= 0; shift -= 8) body.push_back(uint8_t(value >> shift));
    }
  }
  std::vector<uint8_t> record;
  AppendVarint(record, types.size() + 1);
  record.insert(record.end(), types.begin(), types.end());
  record.insert(record.end(), body.begin(), body.end());
  std::vector<uint8_t> cell;
  AppendVarint(cell, record.size());
  AppendVarint(cell, rowid);
  cell.insert(cell.end(), record.begin(), record.end());
  return cell;
}

// Column kinds follow the message layout: number, text, number, text, ...
std::vector<uint8_t> MessageCell(uint64_t rowid, const std::string& text) {
  return Cell(rowid, {int64_t{5}, "10086", int64_t{1600000000}, text, int64_t{2}, int64_t{3}, "sms",
                      int64_t{4}, int64_t{5}, int64_t{6}, int64_t{7}});
}

std::vector<uint8_t> PersonCell(uint64_t rowid, const std::string& last, const std::string& first) {
  std::vector<Column> columns = {int64_t{3}, last, first};
  for (int i = 3; i < 10; ++i) columns.push_back(std::string("x"));
  columns.push_back(int64_t{4});
  for (int i = 11; i < 18; ++i) columns.push_back(std::string("y"));
  columns.push_back(int64_t{8});
  columns.push_back(int64_t{9});
  return Cell(rowid, columns);
}

ByteRange Place(std::vector<uint8_t>& image, uint64_t offset, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
  return {offset, bytes.size()};
}

size_t FailingSource::Read(uint64_t offset, void* buffer, size_t count) {
  if (offset >= bytes_->size()) return 0;
  count = static_cast<size_t>(std::min<uint64_t>(count, bytes_->size() - offset));
  if (faults_.chunk != 0) count = std::min(count, faults_.chunk);
  for (const ByteRange& bad : faults_.bad) {
    if (bad.offset >= offset + count || bad.End() <= offset) continue;
    if (faults_.wholeRead || bad.offset <= offset) return 0;
    count = static_cast<size_t>(bad.offset - offset);
  }
  std::memcpy(buffer, bytes_->data() + offset, count);
  return count;
}

ImageOpener MemoryImages::Opener() const {
  return [this](const std::filesystem::path& path) -> std::unique_ptr<ImageSource> {
    const auto found = bytes.find(path);
    if (found == bytes.end()) return nullptr;
    const auto faulted = faults.find(path);
    return std::make_unique<FailingSource>(&found->second,
                                           faulted == faults.end() ? Faults{} : faulted->second);
  };
}

TempFolder::TempFolder(const std::string& name)
    : path(std::filesystem::temp_directory_path() /
           ("velkor-reliability-" + name + "-" + std::to_string(::getpid()))) {
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  const std::string text = Slurp(path);
  return {text.begin(), text.end()};
}

RunResult RunVelkor(const std::vector<std::string>& args, int signalAfterMs) {
  const TempFolder streams("streams");
  const std::filesystem::path outPath = streams.path / "out";
  const std::filesystem::path errPath = streams.path / "err";
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
    ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    std::vector<char*> argv = {const_cast<char*>(VELKOR_CLI_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (signalAfterMs > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(signalAfterMs));
    ::kill(child, SIGTERM);
  }
  int wstatus = 0;
  ::waitpid(child, &wstatus, 0);
  RunResult result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  result.out = Slurp(outPath);
  result.err = Slurp(errPath);
  return result;
}

}  // namespace velkor::reliability
