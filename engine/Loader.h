// Finds the installed blocks: opens every file of the two block directories as a shared
// library, reads the names the library file exports and asks each function named like a
// block for its identity. In component mode it collects each library's info line instead.
#ifndef VIREO_LOADER_H
#define VIREO_LOADER_H

#include "Components.h"
#include "IDRecord.h"
#include "RootClass.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class Loader : public RootClass {
public:
    explicit Loader(bool componentMode);
    ~Loader();
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;

    void load_all();
    void load_blocks_in_path(char* directory);

    std::vector<std::shared_ptr<IDRecord>> blocks() const { return blocks_; }
    ComponentSet components() const { return components_; }
    // The installation's block directory and the user's, as the utility library named them.
    std::string firstDirectory() const { return firstDirectory_; }
    std::string secondDirectory() const { return secondDirectory_; }

    // The whole file in a buffer the caller releases with delete[]; null when it cannot
    // be read. size, when given, receives the number of bytes.
    static char* load_bytes(const char* path, std::size_t* size = nullptr);
    // Symbol names of a library file, one reader per executable format.
    static std::vector<std::string> load_mac(std::string path);
    static std::vector<std::string> load_linux(std::string path);
    static std::vector<std::string> load_windows(std::string path);

    // The readers themselves, over the bytes of a file of any content: nothing outside
    // [data, data + size) is read, and a file whose structure leaves it gives no names.
    // Mach-O: every string of the string tables, without the leading underscore.
    static std::vector<std::string> machNames(const unsigned char* data, std::size_t size);
    // ELF: the defined, exported functions of the dynamic symbol table.
    static std::vector<std::string> elfNames(const unsigned char* data, std::size_t size);
    // The reader chosen by the file's magic number; no names for an unknown format.
    static std::vector<std::string> libraryNames(const unsigned char* data, std::size_t size);

    // Two letters and four digits as the whole name, or the prefix "ub".
    static bool isBlockName(const std::string& name);
    // The address of a name that the library itself defines; null when the lookup finds
    // nothing or finds it in another library (one the library links, for instance).
    static void* ownSymbol(void* handle, const char* name);

private:
    void loadLibrary(void* handle, const std::string& path);
    std::shared_ptr<IDRecord> identify(BlockFunction fn, const std::string& name, const std::string& path) const;

    bool mode_;
    char firstDirectory_[kRowLength];
    char secondDirectory_[kRowLength];
    ComponentSet components_;
    std::vector<std::shared_ptr<IDRecord>> blocks_;
    std::vector<void*> libraries_;
};

#endif
