// Running a model text through the real host against the test block library, for the
// compiler and model-order tests.
#ifndef VIREO_TEST_MODEL_RUN_H
#define VIREO_TEST_MODEL_RUN_H

#include "run_vireo.h"
#include "trace.h"

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vireo_test {

struct ModelRun {
    RunResult result;
    std::string dir;        // the model's directory
    std::string modelPath;  // the model file
    std::string modelName;  // the model file as the engine names it in messages: as given
    std::string probeLog;   // what the test blocks logged, "callMode blockNumber" per call

    std::vector<int> codes() const { return result.codes(); }
    // The message records (call records left out), in order.
    std::vector<TraceRecord> messages() const {
        std::vector<TraceRecord> m;
        for (const auto& r : result.trace)
            if (!r.isCall()) m.push_back(r);
        return m;
    }
    // The first message record with the code; an empty record when there is none.
    TraceRecord first(int code) const { return result.first(code); }
    // The 5312 record right after the first message with the code.
    TraceRecord whereOf(int code) const {
        const auto m = messages();
        for (std::size_t k = 0; k + 1 < m.size(); ++k)
            if (m[k].code() == code && m[k + 1].code() == 5312) return m[k + 1];
        return {};
    }
};

// What a run may add to the plain one.
struct ModelRunOptions {
    std::vector<std::pair<std::string, std::string>> env;  // set for the run as well
    std::string program;  // empty: the built vireo
    std::string bridge;   // copied into the model's directory as libVireoBridge.so (for -j)
    int timeoutSeconds = 60;
    int outputLines = -1;                   // as RunOptions
    std::function<void(int pid)> started;   // as RunOptions
};

// Writes the model as m.vireo (or under `name`) in a fresh directory, together with the
// extra files given, and runs `vireo <model> args...` there.
inline ModelRun runModel(const std::string& text, const std::vector<std::string>& args = {},
                         const std::vector<std::pair<std::string, std::string>>& files = {},
                         const std::string& name = "m.vireo", const ModelRunOptions& extra = {}) {
    ModelRun run;
    run.dir = scratchDirectory("model");
    run.modelPath = run.dir + "/" + name;
    run.modelName = name;
    writeFile(run.modelPath, text);
    for (const auto& [file, content] : files) writeFile(run.dir + "/" + file, content);
    if (!extra.bridge.empty()) std::filesystem::copy_file(extra.bridge, run.dir + "/libVireoBridge.so");
    const std::string userBlocks = run.dir + "/no-user-blocks";
    std::filesystem::create_directories(userBlocks);
    const std::string log = run.dir + "/probe.log";

    RunOptions o;
    o.workingDirectory = run.dir;
    o.env = {{"VIREO_HOME", MODEL_BLOCKS_DIR}, {"VIREO_USER_BLOCKS", userBlocks}, {"VIREO_PROBE_LOG", log}};
    o.env.insert(o.env.end(), extra.env.begin(), extra.env.end());
    o.program = extra.program;
    o.timeoutSeconds = extra.timeoutSeconds;
    o.outputLines = extra.outputLines;
    o.started = extra.started;
    std::vector<std::string> all{name};
    all.insert(all.end(), args.begin(), args.end());
    run.result = runVireo(all, o);
    run.probeLog = readFile(log);
    return run;
}

}  // namespace vireo_test

#endif
