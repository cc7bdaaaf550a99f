// velkor-make-phones android|ios FOLDER: writes each current-layout database
// of the platform (and the unrelated tables) into FOLDER as a backup folder,
// under names with Chinese characters and spaces, and all of them end to
// end, each at an odd offset, as the raw image FOLDER.img. The Windows build's results
// are compared with Linux's on these.
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "tests/phones/phone_layouts.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const std::string platform = argc == 3 ? argv[1] : "";
  if (platform != "android" && platform != "ios") {
    std::fprintf(stderr, "usage: velkor-make-phones android|ios FOLDER\n");
    return 2;
  }
  const bool ios = platform == "ios";
  std::vector<velkor::phones::PhoneFamily> families =
      ios ? velkor::phones::IosFamilies() : velkor::phones::AndroidFamilies();
  families.push_back(velkor::phones::UnrelatedTables(ios));
  const fs::path folder(argv[2]);
  try {
    fs::remove_all(folder);
    std::ofstream image(folder.string() + ".img", std::ios::binary | std::ios::trunc);
    for (size_t i = 0; i < families.size(); ++i) {
      const std::string number = std::to_string(i);
      const fs::path file =
          folder / (u8"数据库 " + std::u8string(number.begin(), number.end()) + u8" 甲乙.db");
      fs::create_directories(folder);
      velkor::phones::WriteDatabase(file, families[i]);
      std::ifstream in(file, std::ios::binary);
      image << std::string(1 + 1021 * i % 4096, '\0') << in.rdbuf();
    }
    if (!image.flush()) throw std::runtime_error("cannot write the image");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velkor-make-phones: %s\n", e.what());
    return 1;
  }
  return 0;
}
