// What the engine and the block libraries share about one run: the files it reads and
// writes, whether it steps yet, the results still held in memory, and the last words
// before a library ends the process.
#include "vireo_tools.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A file as the file system knows it, not as it was spelt: device and inode of a file
// that exists; of one still to be made, the device and inode of its directory and its
// name there. Devices and pipes are no files a run could destroy.
struct FileIdentity {
    bool known = false;
    bool regular = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string name;  // empty for a file that exists
    bool operator==(const FileIdentity& o) const { return device == o.device && inode == o.inode && name == o.name; }
};

FileIdentity ofStat(const struct stat& st, std::string name) {
    FileIdentity id;
    id.known = true;
    id.regular = name.empty() ? S_ISREG(st.st_mode) : true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.name = std::move(name);
    return id;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

FileIdentity identify(const char* path, int fd) {
    struct stat st {};
    if (fd >= 0) return fstat(fd, &st) == 0 ? ofStat(st, {}) : FileIdentity{};
    if (path == nullptr || *path == '\0') return {};
    std::string p = path;
    // A link whose target does not exist yet leads on to that target: writing through
    // it makes the target.
    for (int hops = 0; hops < 40; ++hops) {
        if (stat(p.c_str(), &st) == 0) return ofStat(st, {});
        if (errno != ENOENT) return {};
        struct stat link {};
        if (lstat(p.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            char target[PATH_MAX];
            const ssize_t n = readlink(p.c_str(), target, sizeof target - 1);
            if (n <= 0) return {};
            const std::string to(target, static_cast<std::size_t>(n));
            p = to.front() == '/' ? to : directoryOf(p) + "/" + to;
            continue;
        }
        const std::size_t slash = p.rfind('/');
        const std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
        if (name.empty() || stat(directoryOf(p).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
        return ofStat(st, name);
    }
    return {};
}

struct Claim {
    FileIdentity file;
    std::string owner;
    int number;
    bool writes;
    int afresh;  // the writer's descriptor of a file that the run writes afresh, else -1
};

// One run at a time: the engine has no threads.
std::vector<Claim> claims;
bool stepping = false;
const volatile int* runFlag = nullptr;
vireo_process_end_hook processEndHook = nullptr;
struct Pending {
    vireo_pending_writer writer;
    void* held;
};
std::vector<Pending> pending;

void copyOut(const std::string& text, char* out, size_t capacity) {
    if (out == nullptr || capacity == 0) return;
    const size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

}  // namespace

extern "C" {

void vireo_tools_run_begins(void) {
    claims.clear();
    stepping = false;
    // Where the run's messages go is written by the run as well: a block writing the same
    // file (`vireo m.vireo > out.csv`, with a CSVOUT naming out.csv) would mix its rows
    // with the messages and empty what was said before the run stepped.
    vireo_tools_claim_file(nullptr, STDOUT_FILENO, "standard output", -2, 0, nullptr, 0, nullptr, nullptr);
    vireo_tools_claim_file(nullptr, STDERR_FILENO, "standard error", -2, 0, nullptr, 0, nullptr, nullptr);
    if (const char* trace = std::getenv("VIREO_MSG_TRACE"); trace != nullptr && *trace != '\0')
        vireo_tools_claim_file(trace, -1, "the message trace (VIREO_MSG_TRACE)", -2, 0, nullptr, 0, nullptr, nullptr);
}

void vireo_tools_run_steps(void) {
    stepping = true;
    // Emptied now, when the run begins to write them, and not before: a run that ends
    // the process before its writer's first step leaves no earlier run's rows behind.
    // Through the writer's own descriptor, and only once it holds the file's lock: a file
    // another run writes is never touched (its writer finds it held when it starts). A
    // file that did not exist when it was claimed holds no earlier rows; its writer makes
    // it.
    for (const Claim& c : claims) {
        if (c.afresh < 0) continue;
        const FileIdentity open = identify(nullptr, c.afresh);
        if (!open.known || !open.regular || !(open == c.file)) continue;
        int locked = -1;
        do locked = flock(c.afresh, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR);
        // Held by another run: left alone. (A file system without locks is emptied still.)
        if (locked != 0 && errno == EWOULDBLOCK) continue;
        const int failed = ftruncate(c.afresh, 0);
        (void)failed;  // a failure is the writer's to report when it writes
    }
}

void vireo_tools_set_run_flag(const volatile int* flag) { runFlag = flag; }

int vireo_tools_run_stopped(void) { return runFlag != nullptr && *runFlag == 0 ? 1 : 0; }

int vireo_tools_run_is_stepping(void) { return stepping ? 1 : 0; }

int vireo_tools_claim_file(const char* path, int fd, const char* owner, int number, int writes, char* otherOwner,
                           size_t otherLength, int* otherNumber, int* otherWrites) {
    const FileIdentity file = identify(path, fd);
    if (!file.known || !file.regular) return 0;
    const std::string who = owner != nullptr ? owner : "";
    for (const Claim& c : claims) {
        if (!(c.file == file) || (c.owner == who && c.number == number)) continue;
        if (!c.writes && writes == 0) continue;
        copyOut(c.owner, otherOwner, otherLength);
        if (otherNumber != nullptr) *otherNumber = c.number;
        if (otherWrites != nullptr) *otherWrites = c.writes ? 1 : 0;
        return 1;
    }
    // A block that claims a file again (initialised again, or naming the descriptor it
    // has opened since) claims it anew; the other files it claimed stay its own.
    std::erase_if(claims, [&](const Claim& c) { return c.owner == who && c.number == number && c.file == file; });
    claims.push_back({file, who, number, writes != 0, writes == 2 ? fd : -1});
    return 0;
}

void vireo_tools_release_files(const char* owner, int number) {
    const std::string who = owner != nullptr ? owner : "";
    std::erase_if(claims, [&](const Claim& c) { return c.owner == who && c.number == number; });
}

void vireo_tools_on_process_end(vireo_process_end_hook hook) { processEndHook = hook; }

void vireo_tools_process_ends(void) {
    // Once: a hook that itself ends up here must not go round.
    const vireo_process_end_hook hook = processEndHook;
    processEndHook = nullptr;
    if (hook != nullptr) hook();
    vireo_tools_write_pending();
    std::fflush(nullptr);
}

void vireo_tools_hold_pending(vireo_pending_writer writer, void* held) {
    if (writer != nullptr) pending.push_back({writer, held});
}

void vireo_tools_release_pending(vireo_pending_writer writer, void* held) {
    std::erase_if(pending, [&](const Pending& p) { return p.writer == writer && p.held == held; });
}

void vireo_tools_write_pending(void) {
    // By index: a writer that withdraws while it writes leaves no dangling iterator.
    for (std::size_t k = 0; k < pending.size(); ++k) pending[k].writer(pending[k].held);
}

}  // extern "C"
