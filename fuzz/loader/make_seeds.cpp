// Writes the hand-made library files of the loader's tests as the fuzz target's seeds.
#include "library_images.h"

#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    auto write = [&](const std::string& name, const vireo_test::Buffer& b) {
        std::ofstream out(dir + "/" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return static_cast<bool>(out);
    };
    bool ok = write("mach-o", vireo_test::machFile());
    for (bool wide : {false, true})
        for (bool big : {false, true})
            ok = write(std::string("elf") + (wide ? "64" : "32") + (big ? "be" : "le"), vireo_test::elfFile(wide, big)) && ok;
    return ok ? 0 : 1;
}
