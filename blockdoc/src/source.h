// Reading a block source line by line the way the header markup is defined: the first
// two characters of every line hold the language's comment marker and are skipped.
#ifndef BLOCKDOC_SOURCE_H
#define BLOCKDOC_SOURCE_H

#include "text_routines.h"

#include <cstdio>
#include <memory>
#include <string>

namespace blockdoc {

enum class Language { fortran = 1, cpp = 2 };

class Source {
public:
    Source(std::string path, Language language);

    // 0 when the file is open for reading, else the error number.
    int open();

    // The next line as characters 3 onward, at most kTextLength of them, blank-padded; a
    // carriage return ending the line is dropped first. False at the end of the file and
    // when reading fails (readError() tells which).
    bool read(Text& line);

    int lineNumber() const { return lineNumber_; }
    int readError() const { return readError_; }
    const std::string& path() const { return path_; }

    // Whether the last line read is program code rather than part of the comment header:
    // neither blank nor a comment of the source's language.
    bool lastLineIsCode() const { return lastLineIsCode_; }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::string path_;
    Language language_;
    std::unique_ptr<std::FILE, Closer> file_;
    int lineNumber_ = 0;
    int readError_ = 0;
    bool atEnd_ = false;
    bool lastLineIsCode_ = false;
    bool inBlockComment_ = false;  // a C++ comment opened by "/*" is still open
};

}  // namespace blockdoc

#endif
