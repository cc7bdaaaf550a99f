// Writing a whole output file or nothing: the saves never leave a partial
// file that could be taken for a complete one.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>

namespace velkor {

// Creates (or truncates) path and lets write fill it. True when the file was
// created, write returned true and the close flushed every byte (a full disk
// may show only then). Otherwise the file is removed and false returned.
bool WriteWholeFile(const std::filesystem::path& path,
                    const std::function<bool(std::FILE*)>& write);

}  // namespace velkor
