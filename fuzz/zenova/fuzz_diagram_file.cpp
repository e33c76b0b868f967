// Diagram files over arbitrary bytes: a refusal names a line of the file's 106, and a file
// taken reads back unchanged once written.
#include "DiagramFile.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace zenova;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const DiagramFileRead read = readDiagramFile(in);
    if (!read.file) {
        if (read.fault.line < 1 || read.fault.line > kDiagramFileLines) {
            std::abort();
        }
        (void)describeDiagramFault(read.fault, "x.ssd");
        return 0;
    }
    std::ostringstream out;
    writeDiagramFile(out, *read.file);
    std::istringstream again(out.str());
    if (readDiagramFile(again).file != read.file) {
        std::abort();
    }
    return 0;
}
