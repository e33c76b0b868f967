// Reading a model file through the scanner into a list of tokens, for the tests and for
// the token-dump program.
#ifndef VIREO_TEST_TOKEN_DUMP_H
#define VIREO_TEST_TOKEN_DUMP_H

#include <cstddef>
#include <string>
#include <vector>

namespace vireo_test {

struct ScannedToken {
    int code = 0;
    std::string text;  // the token's value; empty for tokens without one
    std::string file;  // getCurfilename() right after the token
    int line = 0;      // yyget_lineno() right after the token
};

// Compiles `path` with the scanner alone: every code up to and including the end of the
// model text (at most `limit` codes); empty when the file cannot be opened.
std::vector<ScannedToken> scanFile(const std::string& path, std::size_t limit = 1000000);

// "BLOCK", "INTEGER 5", or the number for a code that is no token ("305311").
std::string tokenText(const ScannedToken& t);
// "file:line " followed by tokenText.
std::string dumpLine(const ScannedToken& t);

}  // namespace vireo_test

#endif
