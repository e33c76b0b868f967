// Block directories may hold any file, and the loader reads the symbol table of every
// file that opens as a library: no content may crash the readers, make them read outside
// the file or keep them walking for ever.
#include "Loader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)Loader::libraryNames(data, size);
    // Each reader also on content of the other format and without the magic number.
    (void)Loader::elfNames(data, size);
    (void)Loader::machNames(data, size);
    return 0;
}
