// The settings of one call of the engine, from its command line. Every other part of
// the engine reads them through the owner `conf`.
#ifndef VIREO_CONFIG_H
#define VIREO_CONFIG_H

#include "RootClass.h"

#include <string>

class Config : public RootClass {
public:
    Config(long host, int* runBit, int argc, char** argv);
    ~Config();
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;

    std::string exePath() const { return exePath_; }
    std::string modelFile() const { return modelFile_; }
    std::string modelFileType() const { return modelFileType_; }
    std::string modelFileShort() const { return modelFileShort_; }
    // The model file made absolute against the directory the process started in: the
    // working directory moves to the model's directory, so the file is opened by this.
    std::string modelPath() const { return modelPath_; }
    std::string vireoVersion() const { return "8.3.0-beta"; }
    void* hVireoBridge() const { return bridge_; }
    // The host may change the flag at any moment of the run: read anew at every call (the
    // run loop reads it before every block call, so it stays inline).
    int runBit() const { return *runFlag(); }
    // Where the flag is read: the run loop keeps this at hand and reads through it before
    // every step. Without a flag of the host's the run flag is 1.
    const volatile int* runFlag() const { return runBit_ != nullptr ? runBit_ : &kRunning; }
    bool printModel() const { return printModel_; }
    bool showCalculationList() const { return showCalculationList_; }
    bool syntaxCheck() const { return syntaxCheck_; }
    bool debugMode() const { return debugMode_; }
    bool javaMode() const { return javaMode_; }
    bool showBlockList() const { return showBlockList_; }
    bool showComponents() const { return showComponents_; }
    bool suppressCompilingM() const { return suppressCompilingM_; }
    bool ok() const { return ok_; }
    // An option the engine does not know: reported while the command line is read, and the
    // call then does nothing else (a mistyped option must not run a model as if it were
    // absent).
    bool unknownOption() const { return unknownOption_; }

    // The bridge library's file name; looked for in the directory the process started in.
    static constexpr const char* kBridgeLibrary = "libVireoBridge.so";

private:
    static constexpr int kRunning = 1;

    void setModelFile(const std::string& arg);
    void openBridge();
    void makeDirectory(const char* path, int kind);

    std::string exePath_;
    std::string modelFile_;
    std::string modelFileType_;
    std::string modelFileShort_;
    std::string modelPath_;
    std::string startDirectory_;
    void* bridge_ = nullptr;
    int* runBit_ = nullptr;
    long host_ = 0;
    bool printModel_ = false;
    bool showCalculationList_ = false;
    bool syntaxCheck_ = false;
    bool debugMode_ = false;
    bool javaMode_ = false;
    bool showBlockList_ = false;
    bool showComponents_ = false;
    bool suppressCompilingM_ = false;
    bool unknownOption_ = false;
    bool ok_ = false;
};

#endif
