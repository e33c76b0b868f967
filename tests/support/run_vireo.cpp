#include "run_vireo.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vireo_test {

std::string buildDir() { return VIREO_BUILD_DIR; }
std::string sourceDir() { return VIREO_SOURCE_DIR; }

std::string scratchDirectory(const std::string& name) {
    static std::atomic<int> counter{0};
    const fs::path dir = fs::path(buildDir()) / "test-scratch" /
                         (name + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void writeFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

// The position just past the n-th line end of the text; npos when it has fewer lines.
std::size_t pastLines(const std::string& text, int n) {
    std::size_t at = 0;
    for (int line = 0; line < n; ++line) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) return std::string::npos;
        at = end + 1;
    }
    return at;
}

}  // namespace

RunResult runVireo(const std::vector<std::string>& args, const RunOptions& options) {
    const std::string program = options.program.empty() ? buildDir() + "/bin/vireo" : options.program;
    const std::string cwd = options.workingDirectory.empty() ? scratchDirectory("run") : options.workingDirectory;
    const std::string tracePath = scratchDirectory("trace") + "/trace.txt";

    int outPipe[2], errPipe[2], inPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0 || pipe(inPipe) != 0) throw std::runtime_error("pipe failed");

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        if (!options.standardOutput.empty()) {
            const int fd = open(options.standardOutput.c_str(), O_WRONLY);
            if (fd < 0 || dup2(fd, 1) < 0) _exit(125);
            close(fd);
        }
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
        for (int fd : options.closedStreams) close(fd);
        if (chdir(cwd.c_str()) != 0) _exit(125);
        if (options.fileSizeLimit > 0) {
            const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(125);
        }
        setenv("VIREO_MSG_TRACE", tracePath.c_str(), 1);
        for (const auto& [k, v] : options.env) {
            if (v.empty()) unsetenv(k.c_str());
            else setenv(k.c_str(), v.c_str(), 1);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    if (options.started) options.started(pid);
    if (!options.input.empty()) {
        ssize_t ignored = write(inPipe[1], options.input.data(), options.input.size());
        (void)ignored;
    }
    close(inPipe[1]);

    RunResult result;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    int open = 2;
    bool timedOut = false;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) < 0) continue;
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP))) continue;
            char buf[4096];
            const ssize_t n = read(fds[k].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[k]->append(buf, static_cast<size_t>(n));
                // The reader of standard output has what it wanted, and goes.
                const std::size_t cut = k == 0 && options.outputLines >= 0 ? pastLines(result.out, options.outputLines)
                                                                           : std::string::npos;
                if (cut != std::string::npos) {
                    result.out.resize(cut);
                    close(fds[k].fd);
                    fds[k].fd = -1;
                    --open;
                }
            } else {
                close(fds[k].fd);
                fds[k].fd = -1;
                --open;
            }
        }
    }
    if (timedOut) kill(pid, SIGKILL);
    for (auto& f : fds)
        if (f.fd >= 0) close(f.fd);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (timedOut) result.err += "\n[test harness: killed after timeout]\n";
    result.trace = readTrace(tracePath);
    return result;
}

}  // namespace vireo_test
