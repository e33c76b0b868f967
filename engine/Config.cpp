#include "Config.h"

#include "vireo_tools.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int kDirectoryNotCreated = 204901;
constexpr int kBridgeNotOpened = 204902;
constexpr int kUserBlockDirectoryMade = 104901;
constexpr int kUnknownOption = 304034;
constexpr int kUserBlockKind = 10;

std::string currentDirectory() {
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? std::string() : p.string();
}

}  // namespace

Config::Config(long host, int* runBit, int argc, char** argv)
    : startDirectory_(currentDirectory()), runBit_(runBit), host_(host) {
    if (argc > 0 && argv != nullptr && argv[0] != nullptr) exePath_ = argv[0];
    ok_ = true;

    for (int k = 1; k < argc && argv != nullptr; ++k) {
        const char* arg = argv[k];
        if (arg == nullptr) continue;
        if (arg[0] != '-') {
            setModelFile(arg);
            continue;
        }
        switch (arg[1] | 0x20) {  // upper and lower case alike; the rest is ignored
            case 'b': showBlockList_ = true; break;
            case 'c': suppressCompilingM_ = true; break;
            case 'd': debugMode_ = true; break;
            case 'j': openBridge(); javaMode_ = true; break;
            case 'l': showCalculationList_ = true; break;
            case 'm': printModel_ = true; break;
            case 's': syntaxCheck_ = true; break;
            case 'v': showComponents_ = true; break;
            case 'h': break;  // a help request is answered before a configuration is made
            default:
                if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "--version") == 0) break;
                vireoMessage(kUnknownOption, std::string(arg));
                unknownOption_ = true;
                break;
        }
    }

    int javaFlag = javaMode_ ? 1 : 0;
    getjavaflag(&javaFlag);
    char text[1024] = {};
    os0ltxt(&host_, text, sizeof text);

    char path[1024] = {};
    for (int kind : {9, 10, 11}) {
        int length = 0;
        get_paths(&kind, path, &length, sizeof path);
        path[sizeof path - 1] = '\0';
        makeDirectory(path, kind);
    }
    int code = 1;
    int value = 0;
    int length = 0;
    getpref(&code, path, &length, &value, sizeof path);
}

Config::~Config() {
    if (bridge_ != nullptr) dlclose(bridge_);
}

void Config::setModelFile(const std::string& arg) {
    modelFile_ = arg;
    const fs::path given(arg);
    modelFileShort_ = given.filename().string();
    modelFileType_ = given.extension().string();
    for (char& c : modelFileType_)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');

    // Relative to where the process started, not to the model directory an earlier
    // model-file argument moved into.
    fs::path absolute = given.is_absolute() ? given : fs::path(startDirectory_) / given;
    modelPath_ = absolute.lexically_normal().string();
    const std::string parent = fs::path(modelPath_).parent_path().string();
    set_working_directory(parent.c_str());
}

void Config::openBridge() {
    if (bridge_ != nullptr) return;  // a second -j keeps the library already open
    const std::string path = (fs::path(startDirectory_) / kBridgeLibrary).string();
    bridge_ = dlopen(path.c_str(), RTLD_LAZY | RTLD_GLOBAL);
    if (bridge_ == nullptr) {
        // The loader's reason starts with the path, which the message names already.
        const char* error = dlerror();
        std::string why = error != nullptr ? error : "";
        if (why.rfind(path + ": ", 0) == 0) why.erase(0, path.size() + 2);
        vireoMessage(kBridgeNotOpened, {path, why}, 0);
        return;
    }
    // Each of the bridge's functions may be left out; a library with none of them is
    // another library under the bridge's name, and the editor follows nothing.
    for (const char* name : {"getBpFromPlumo", "markPlumoBlock", "blockToPlumo", "updateInOut"})
        if (dlsym(bridge_, name) != nullptr) return;
    vireoMessage(kBridgeNotOpened,
                 {path, std::string("it has none of the functions getBpFromPlumo, markPlumoBlock, blockToPlumo and "
                                    "updateInOut")},
                 0);
}

void Config::makeDirectory(const char* path, int kind) {
    if (path == nullptr || *path == '\0') return;
    std::error_code ec;
    const bool made = fs::create_directories(path, ec);
    if (ec && !fs::is_directory(path)) vireoMessage(kDirectoryNotCreated, std::string(path));
    // A user who named a folder for their own blocks (VIREO_USER_BLOCKS) and finds none of
    // them loaded learns here that it did not exist: most often a mistyped path. The
    // default folder is made on a first run as any program makes its data folder.
    const char* named = std::getenv("VIREO_USER_BLOCKS");
    if (made && kind == kUserBlockKind && named != nullptr && *named != '\0')
        vireoMessage(kUserBlockDirectoryMade, std::string(path));
}
