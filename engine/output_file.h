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
