// Reading a block source line by line the way the header markup is defined: the first
// two characters of every line hold the language's comment marker and are skipped.
#ifndef BLOCKDOC_SOURCE_H
#define BLOCKDOC_SOURCE_H

#include "text_routines.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

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

    // From the block line on, every line read belongs to the header: one longer than
    // kTextLength characters after the comment marker is refused, not cut, and reads as
    // the end of the file.
    void startHeader() { inHeader_ = true; }
    bool lastLineTooLong() const { return lastLineTooLong_; }

    // A header line that cannot become part of a page: the first one is kept, with its
    // number and text, for the run's failure message.
    struct Refusal {
        std::string message;
        int lineNumber = 0;
        std::string line;
    };
    void refuse(std::string message, std::string_view line, int lineNumber = 0);  // 0: the line read last
    const Refusal& refusal() const { return refusal_; }

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
    bool inHeader_ = false;
    bool lastLineTooLong_ = false;
    Refusal refusal_;
};

}  // namespace blockdoc

#endif
