#include "Loader.h"

#include "FatalSignals.h"
#include "vireo_tools.h"

#include <dlfcn.h>
#include <link.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;
namespace answer = vireo::protocol::answer;
namespace callMode = vireo::protocol::callMode;
namespace ipSlot = vireo::protocol::ipSlot;

namespace {

constexpr int kDirectoryUnreadable = 204921;
constexpr int kIdentityRefused = 204922;

// Limits of a usable identity. The shipped blocks stay far below them; anything above is
// a block that would make every instance allocate without end.
constexpr int kMaxCount = 1000000;
constexpr int kMaxStrings = 1000;  // each string parameter takes a 1024-character row
constexpr int kMaxNames = 512;     // a name row of 1024 characters holds no more

// Bounds-checked reads of little- or big-endian words from a file's bytes.
class Bytes {
public:
    Bytes(const unsigned char* data, std::size_t size, bool bigEndian)
        : data_(data), size_(size), big_(bigEndian) {}

    bool has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    template <typename T>
    bool read(std::uint64_t offset, T& value) const {
        if (!has(offset, sizeof(T))) return false;
        std::uint64_t v = 0;
        for (std::size_t k = 0; k < sizeof(T); ++k) {
            const std::size_t byte = big_ ? k : sizeof(T) - 1 - k;
            v = (v << 8) | data_[offset + byte];
        }
        value = static_cast<T>(v);
        return true;
    }
    // A word of 4 or 8 bytes, as the file's class says.
    bool word(std::uint64_t offset, bool wide, std::uint64_t& value) const {
        if (wide) return read(offset, value);
        std::uint32_t v = 0;
        if (!read(offset, v)) return false;
        value = v;
        return true;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
    bool big_;
};

struct ElfSection {
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t link = 0;
    std::uint64_t entrySize = 0;
};

std::vector<std::string> namesOfFile(const std::string& path,
                                     std::vector<std::string> (*reader)(const unsigned char*, std::size_t)) {
    std::size_t size = 0;
    char* bytes = Loader::load_bytes(path.c_str(), &size);
    if (bytes == nullptr) return {};
    std::vector<std::string> names = reader(reinterpret_cast<const unsigned char*>(bytes), size);
    delete[] bytes;
    return names;
}

// A library file mapped for reading its names: the readers touch a few pages of it (the
// headers and the dynamic symbol table), where reading the whole file, debugging
// information and all, took most of the start of a short run. A file that cannot be
// mapped is read.
class LibraryBytes {
public:
    explicit LibraryBytes(const std::string& path) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && fstat(fd, &st) == 0 && st.st_size > 0) {
            void* p = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (p != MAP_FAILED) mapped_ = static_cast<const unsigned char*>(p), size_ = static_cast<std::size_t>(st.st_size);
        }
        if (fd >= 0) close(fd);
        if (mapped_ == nullptr) read_ = Loader::load_bytes(path.c_str(), &size_);
    }
    ~LibraryBytes() {
        if (mapped_ != nullptr) munmap(const_cast<unsigned char*>(mapped_), size_);
        delete[] read_;
    }
    LibraryBytes(const LibraryBytes&) = delete;
    LibraryBytes& operator=(const LibraryBytes&) = delete;
    const unsigned char* data() const {
        return mapped_ != nullptr ? mapped_ : reinterpret_cast<const unsigned char*>(read_);
    }
    std::size_t size() const { return size_; }

private:
    const unsigned char* mapped_ = nullptr;
    char* read_ = nullptr;
    std::size_t size_ = 0;
};

// Why an identification answer cannot be used, or empty when it can. The float answers
// are examined before they are truncated: a value outside int has no integer to become.
std::string unusableIdentity(float maxInputs, float outputCount, const int* ip) {
    auto count = [](const char* what, long long value, long long low, long long high) -> std::string {
        if (value >= low && value <= high) return {};
        return std::string(what) + " " + std::to_string(value) + " (allowed " + std::to_string(low) + " to " +
               std::to_string(high) + ")";
    };
    auto real = [](const char* what, float value) -> std::string {
        if (std::isfinite(value) && value > -1.0f && value < static_cast<float>(kMaxCount) + 1.0f) return {};
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        return std::string(what) + " " + std::string(text, end) + " (allowed 0 to " + std::to_string(kMaxCount) + ")";
    };
    std::string why;
    if (why.empty()) why = count("nameCount", ip[answer::kNameCount], 0, kMaxNames);
    if (why.empty()) why = count("minInputs", ip[answer::kMinInputs], 0, kMaxCount);
    if (why.empty()) why = real("maxInputs", maxInputs);
    // No number of inputs could satisfy both bounds.
    if (why.empty() && ip[answer::kMinInputs] > static_cast<int>(maxInputs))
        why = "minInputs " + std::to_string(ip[answer::kMinInputs]) + " (above maxInputs " +
              std::to_string(static_cast<int>(maxInputs)) + ")";
    if (why.empty()) why = real("outputCount", outputCount);
    if (why.empty()) why = count("ipSize", ip[answer::kIpSize], ipSlot::kProtocolSlots, kMaxCount);
    if (why.empty()) why = count("rpSize", ip[answer::kRpSize], 0, kMaxCount);
    if (why.empty()) why = count("dpSize", ip[answer::kDpSize], 0, kMaxCount);
    if (why.empty()) why = count("minParameters", ip[answer::kMinParameters], 0, kMaxCount);
    if (why.empty()) why = count("maxParameters", ip[answer::kMaxParameters], 0, kMaxCount);
    if (why.empty()) why = count("minStrings", ip[answer::kMinStrings], 0, kMaxStrings);
    if (why.empty()) why = count("maxStrings", ip[answer::kMaxStrings], 0, kMaxStrings);
    return why;
}

// A block library that ends the process while its blocks are identified takes every
// command with it, the ones that never use it too: the process must at least say which
// library it was. The line is made before each identification call, since a signal
// handler may do no more than write what is ready.
namespace identification {

char line[8192];
std::size_t lineLength = 0;

extern "C" void onFatalSignal(int signal) {
    ssize_t written = write(STDERR_FILENO, line, lineLength);
    (void)written;
    // The signal then goes where it would have gone, and ends the process as it would
    // have ended it.
    fatal::restorePrevious();
    raise(signal);
}

// Names the function about to be identified.
void describe(const std::string& library, const std::string& function) {
    const int n = std::snprintf(line, sizeof line,
                                "vireo: the block library %s ended the process while its block function %s "
                                "was identified\n",
                                library.c_str(), function.c_str());
    lineLength = n < 0 ? 0 : (static_cast<std::size_t>(n) < sizeof line ? static_cast<std::size_t>(n) : sizeof line - 1);
    if (lineLength > 0) line[lineLength - 1] = '\n';
}

}  // namespace identification

}  // namespace

Loader::Loader(bool componentMode) : mode_(componentMode) {
    std::memset(firstDirectory_, 0, sizeof firstDirectory_);
    std::memset(secondDirectory_, 0, sizeof secondDirectory_);
    int kind = 6;
    int length = 0;
    get_paths(&kind, firstDirectory_, &length, sizeof firstDirectory_);
    kind = 10;
    get_paths(&kind, secondDirectory_, &length, sizeof secondDirectory_);
    firstDirectory_[kRowLength - 1] = '\0';
    secondDirectory_[kRowLength - 1] = '\0';
    load_all();
}

Loader::~Loader() {
    // Component texts were handed on and the libraries that made them stay loaded; block
    // functions are reachable only while their libraries are open.
    if (mode_) return;
    blocks_.clear();
    for (void* handle : libraries_) dlclose(handle);
}

void Loader::load_all() {
    std::error_code ec;
    // Without the installation's own directory there is nothing sound to offer: the run
    // goes on with no blocks, and the user learns why.
    if (!fs::is_directory(firstDirectory_, ec)) {
        vireoMessage(kDirectoryUnreadable, std::string(firstDirectory_));
        return;
    }
    load_blocks_in_path(firstDirectory_);
    if (fs::exists(secondDirectory_, ec)) load_blocks_in_path(secondDirectory_);
}

void Loader::load_blocks_in_path(char* directory) {
    const std::string given(directory, strnlen(directory, kRowLength));
    std::error_code ec;
    // Opened by absolute names (a folder named relatively, VIREO_HOME=lib): the run claims
    // the libraries the process has loaded by the names the dynamic loader keeps, and a
    // relative one leads nowhere sound once the run works in the model's directory.
    fs::path dir = fs::absolute(given, ec);
    if (ec) dir = given;
    ec.clear();
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
    if (ec) {
        vireoMessage(kDirectoryUnreadable, given);
        return;
    }
    // Name order: which of two equal block names wins, and the order of the block list,
    // must not depend on the file system.
    std::sort(entries.begin(), entries.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().native() < b.filename().native(); });
    for (const fs::path& entry : entries) {
        // Only regular files (links followed): opening a pipe or a device would wait for
        // ever or read what was never a library.
        if (!fs::is_regular_file(entry, ec)) continue;
        const std::string path = entry.string();
        void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_GLOBAL);
        if (handle == nullptr) continue;
        loadLibrary(handle, path);
    }
}

void Loader::loadLibrary(void* handle, const std::string& path) {
    if (mode_) {
        void* sym = ownSymbol(handle, "info");
        char* text = nullptr;
        if (sym != nullptr) text = reinterpret_cast<char* (*)()>(sym)();
        if (text == nullptr) {
            dlclose(handle);
            return;
        }
        components_.insert(text);
        libraries_.push_back(handle);
        return;
    }
    std::vector<std::string> names;
    if (const LibraryBytes bytes(path); bytes.data() != nullptr) names = libraryNames(bytes.data(), bytes.size());

    bool holdsBlocks = false;
    // What was written so far must not be lost if a block ends the process.
    std::fflush(stdout);
    const fatal::Watch watch(identification::onFatalSignal);
    for (const std::string& name : names) {
        if (!isBlockName(name)) continue;
        holdsBlocks = true;
        void* sym = ownSymbol(handle, name.c_str());
        if (sym == nullptr) continue;
        identification::describe(path, name);
        if (auto record = identify(reinterpret_cast<BlockFunction>(sym), name, path)) blocks_.push_back(record);
    }
    if (holdsBlocks) libraries_.push_back(handle);
    else dlclose(handle);
}

std::shared_ptr<IDRecord> Loader::identify(BlockFunction fn, const std::string& name, const std::string& path) const {
    float in[1] = {0.0f};
    float out[1] = {0.0f};
    int ip[ipSlot::kProtocolSlots] = {};
    ip[ipSlot::kCallMode] = callMode::kIdentify;
    char sp[1][kRowLength] = {};
    fn(in, out, ip, nullptr, nullptr, nullptr, sp);
    strip(sp[0], kRowLength);
    if (ip[ipSlot::kCallMode] == callMode::kIdentify) return nullptr;  // a function of block form that is no block
    const std::string why = unusableIdentity(in[0], out[0], ip);
    if (!why.empty()) {
        vireoMessage(kIdentityRefused, String(name), String(why + ", in " + path), 0, 0);
        return nullptr;
    }
    return std::make_shared<IDRecord>(static_cast<int>(in[0]), static_cast<int>(out[0]), ip, sp[0], fn);
}

bool Loader::isBlockName(const std::string& name) {
    static const std::regex pattern("[a-zA-Z]{2}[0-9]{4}", std::regex::ECMAScript);
    return std::regex_match(name, pattern) || name.compare(0, 2, "ub") == 0;
}

void* Loader::ownSymbol(void* handle, const char* name) {
    void* sym = dlsym(handle, name);
    if (sym == nullptr) return nullptr;
    // A lookup through a handle also searches the libraries it links: a name found there
    // belongs to another library, which registers it itself.
    Dl_info where{};
    link_map* owner = nullptr;
    if (dladdr1(sym, &where, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 || owner == nullptr) return nullptr;
    link_map* self = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &self) != 0 || self == nullptr) return nullptr;
    return owner == self ? sym : nullptr;
}

char* Loader::load_bytes(const char* path, std::size_t* size) {
    if (size != nullptr) *size = 0;
    if (path == nullptr) return nullptr;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return nullptr;
    const std::streamoff end = in.tellg();
    if (end < 0) return nullptr;
    const auto n = static_cast<std::size_t>(end);
    in.seekg(0);
    char* bytes = new char[n + 1];
    if (n > 0 && !in.read(bytes, static_cast<std::streamsize>(n))) {
        delete[] bytes;
        return nullptr;
    }
    bytes[n] = '\0';
    if (size != nullptr) *size = n;
    return bytes;
}

std::vector<std::string> Loader::load_mac(std::string path) { return namesOfFile(path, &machNames); }

std::vector<std::string> Loader::load_linux(std::string path) { return namesOfFile(path, &elfNames); }

std::vector<std::string> Loader::load_windows(std::string /*path*/) { return {}; }

std::vector<std::string> Loader::libraryNames(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < 4) return {};
    if (std::memcmp(data, "\x7f" "ELF", 4) == 0) {
        // The dynamic symbol table is in hash order; the linker of the other format lists
        // exported names sorted, so listings come out the same on both.
        std::vector<std::string> names = elfNames(data, size);
        std::sort(names.begin(), names.end());
        return names;
    }
    if (std::memcmp(data, "\xcf\xfa\xed\xfe", 4) == 0) return machNames(data, size);  // 64-bit, little-endian
    return {};
}

std::vector<std::string> Loader::machNames(const unsigned char* data, std::size_t size) {
    // The header is not validated: the command count at 16, the first command at 32,
    // each command's code and size in its first two words.
    const Bytes b(data, size, false);
    std::vector<std::string> names;
    std::uint32_t commands = 0;
    if (!b.read(16, commands)) return {};
    std::uint64_t at = 32;
    std::uint64_t scanned = 0;
    for (std::uint32_t k = 0; k < commands; ++k) {
        std::uint32_t code = 0;
        std::uint32_t commandSize = 0;
        if (!b.read(at, code) || !b.read(at + 4, commandSize)) return {};
        if (commandSize < 8) return {};  // a command that does not move on would be walked for ever
        if (code == 2) {                 // the symbol table
            std::uint32_t tableOffset = 0;
            std::uint32_t tableSize = 0;
            if (!b.read(at + 16, tableOffset) || !b.read(at + 20, tableSize)) return {};
            if (!b.has(tableOffset, tableSize)) return {};
            // A well-formed file has one table; many commands naming one large table would
            // make the work grow with the square of the file's size.
            scanned += tableSize;
            if (scanned > size) return {};
            // Every string but the first byte's; the byte after each NUL is the underscore
            // the format puts before C names, and is dropped.
            const unsigned char* table = data + tableOffset;
            std::uint64_t start = 1;
            std::uint64_t p = 1;
            while (p < tableSize) {
                if (table[p] != 0) {
                    ++p;
                    continue;
                }
                if (p != start) names.emplace_back(reinterpret_cast<const char*>(table + start), p - start);
                start = p + 2;
                p = start;
            }
        }
        at += commandSize;
    }
    return names;
}

std::vector<std::string> Loader::elfNames(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < 16 || std::memcmp(data, "\x7f" "ELF", 4) != 0) return {};
    const unsigned char elfClass = data[4];
    const unsigned char encoding = data[5];
    if ((elfClass != 1 && elfClass != 2) || (encoding != 1 && encoding != 2)) return {};
    const bool wide = elfClass == 2;
    const Bytes b(data, size, encoding == 2);

    std::uint64_t sectionTable = 0;
    std::uint16_t sectionEntry = 0;
    std::uint16_t sectionCount = 0;
    if (!b.word(wide ? 40 : 32, wide, sectionTable) || !b.read(wide ? 58 : 46, sectionEntry) ||
        !b.read(wide ? 60 : 48, sectionCount))
        return {};
    if (sectionEntry < (wide ? 64u : 40u) || !b.has(sectionTable, std::uint64_t(sectionCount) * sectionEntry)) return {};

    auto section = [&](std::uint32_t index, ElfSection& s) {
        const std::uint64_t at = sectionTable + std::uint64_t(index) * sectionEntry;
        return b.read(at + 4, s.type) && b.word(at + (wide ? 24 : 16), wide, s.offset) &&
               b.word(at + (wide ? 32 : 20), wide, s.size) && b.read(at + (wide ? 40 : 24), s.link) &&
               b.word(at + (wide ? 56 : 36), wide, s.entrySize);
    };
    ElfSection symbols;
    std::uint32_t index = 0;
    for (; index < sectionCount; ++index) {
        if (!section(index, symbols)) return {};
        if (symbols.type == 11) break;  // the dynamic symbol table: what the loader can resolve
    }
    if (index == sectionCount) return {};
    ElfSection strings;
    const std::uint64_t symbolSize = wide ? 24 : 16;
    if (symbols.entrySize < symbolSize || !b.has(symbols.offset, symbols.size)) return {};
    if (symbols.link >= sectionCount || !section(symbols.link, strings) || strings.type != 3 ||
        !b.has(strings.offset, strings.size))
        return {};

    std::vector<std::string> names;
    const std::uint64_t count = symbols.size / symbols.entrySize;
    for (std::uint64_t k = 0; k < count; ++k) {
        const std::uint64_t at = symbols.offset + k * symbols.entrySize;
        std::uint32_t name = 0;
        std::uint8_t info = 0;
        std::uint8_t other = 0;
        std::uint16_t sectionIndex = 0;
        if (!b.read(at, name) || !b.read(at + (wide ? 4 : 12), info) || !b.read(at + (wide ? 5 : 13), other) ||
            !b.read(at + (wide ? 6 : 14), sectionIndex))
            return {};
        const unsigned type = info & 0xfu;
        const unsigned binding = info >> 4;
        const unsigned visibility = other & 0x3u;
        const bool function = type == 2 || type == 10;          // function, or one resolved at load time
        const bool exported = binding == 1 || binding == 2;      // global or weak
        const bool visible = visibility == 0 || visibility == 3; // default or protected
        if (sectionIndex == 0 || !function || !exported || !visible) continue;  // undefined: imported
        if (name >= strings.size) return {};
        const unsigned char* text = data + strings.offset + name;
        const void* nul = std::memchr(text, 0, strings.size - name);
        if (nul == nullptr) return {};
        const std::size_t length = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - text);
        if (length > 0) names.emplace_back(reinterpret_cast<const char*>(text), length);
    }
    return names;
}
