// Writing a whole output file or nothing: the saves never leave a partial
// file that could be taken for a complete one.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>

namespace velkor {

// ".<name>.partial-<pid>" in the folder of path.
std::filesystem::path PartialFilePath(const std::filesystem::path& path);

// A new file that is put at path (replacing what was there) only when
// Finish is told every byte was written and the close flushed them all (a
// full disk may show only then). Until then the bytes go to
// PartialFilePath(path); an unfinished file is removed.
class PartialFile {
 public:
  explicit PartialFile(std::filesystem::path path);
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;
  ~PartialFile();

  // nullptr when the file could not be created.
  std::FILE* Get() const { return file_; }
  // Closes the file and puts it in place when written is true; otherwise
  // (or when that fails) removes it. True when the file is in place.
  bool Finish(bool written);

 private:
  std::filesystem::path path_;
  std::filesystem::path partial_;
  std::FILE* file_;
};

// Lets write fill a new file and puts it at path (replacing what was there)
// only when write returned true and the close flushed every byte (a full disk
// may show only then). Until then the bytes go to PartialFilePath(path);
// on failure that file is removed, whatever was at path stays, and false is
// returned.
bool WriteWholeFile(const std::filesystem::path& path,
                    const std::function<bool(std::FILE*)>& write);
// WriteWholeFile with bytes as the whole content.
bool WriteWholeBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace velkor
