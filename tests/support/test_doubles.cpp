#include "tests/support/test_doubles.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace velkor::test {
namespace {

struct FaultySource final : ImageSource {
  FaultySource(std::unique_ptr<ImageSource> inner, ReadFaults faults)
      : inner_(std::move(inner)), faults_(std::move(faults)) {}
  uint64_t Size() const override { return inner_->Size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= inner_->Size()) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, inner_->Size() - offset));
    if (faults_.chunk != 0) count = std::min(count, faults_.chunk);
    for (const ByteRange& bad : faults_.bad) {
      if (bad.offset >= offset + count || bad.End() <= offset) continue;
      if (faults_.wholeRead || bad.offset <= offset) return 0;
      count = static_cast<size_t>(bad.offset - offset);
    }
    return inner_->Read(offset, buffer, count);
  }
  std::unique_ptr<ImageSource> inner_;
  ReadFaults faults_;
};

}  // namespace

ImageOpener FaultyOpener(ImageOpener inner, ReadFaults faults) {
  return [inner = std::move(inner), faults = std::move(faults)](
             const std::filesystem::path& path) -> std::unique_ptr<ImageSource> {
    auto source = inner(path);
    return source ? std::make_unique<FaultySource>(std::move(source), faults) : nullptr;
  };
}

ImageOpener MemoryOpener(Bytes image) {
  auto shared = std::make_shared<const Bytes>(std::move(image));
  return [shared](const std::filesystem::path&) -> std::unique_ptr<ImageSource> {
    return std::make_unique<MemoryImageSource>(*shared);
  };
}

ByteRange Place(Bytes& image, uint64_t offset, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
  return {offset, bytes.size()};
}

// One read of the whole size: the exports compared in tests run to
// megabytes, too many for a byte-by-byte read in the sanitizer build.
std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string text(static_cast<size_t>(std::max<std::streamoff>(0, in.tellg())), '\0');
  in.seekg(0);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
  return text;
}

Bytes ReadBytes(const std::filesystem::path& path) {
  const std::string text = ReadText(path);
  return {text.begin(), text.end()};
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace velkor::test
