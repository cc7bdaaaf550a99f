// The structure walks of every format over any bytes and any limit: a walk
// never reads outside its region (the sanitizers watch the cache), never
// gives a length past the region, and the MPEG extent never runs past it.
#include <vector>

#include "carving/media_signatures.h"
#include "carving/structure_walks.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velkor;
  InputReader input{data, data + size};
  const uint32_t limit = input.Byte() * 256u + input.Byte();
  MemoryImageSource image(input.Rest());
  for (const auto* formats : {&kPictureFormats, &kVideoFormats}) {
    for (const MediaFormat& format : *formats) {
      FileBytes bytes(image, 0, limit);
      const auto length = StructureLength(format.extension, bytes);
      FUZZ_CHECK(!length || (*length > 0 && *length <= bytes.Limit()));
    }
  }
  FileBytes stream(image, 0, limit);
  FUZZ_CHECK(WalkMpegStream(stream).extent <= stream.Limit());
  return 0;
}
