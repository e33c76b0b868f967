#include "token_dump.h"

#include "String.h"
#include "vireoScanner.h"

#include <memory>

namespace vireo_test {

std::vector<ScannedToken> scanFile(const std::string& path, std::size_t limit) {
    std::vector<ScannedToken> tokens;
    if (vireoScanner::newfile(path.c_str()) == 0) return tokens;
    while (tokens.size() < limit) {
        String* value = nullptr;
        ScannedToken t;
        t.code = vireoScanner::yylex(&value);
        const std::unique_ptr<String> owned(value);
        if (value != nullptr) t.text = value->str();
        t.file = vireoScanner::getCurfilename();
        t.line = vireoScanner::yyget_lineno();
        tokens.push_back(t);
        if (t.code == vireoScanner::END) break;
    }
    vireoScanner::closeFiles();
    return tokens;
}

std::string tokenText(const ScannedToken& t) {
    switch (t.code) {
        case vireoScanner::END: return "END";
        case vireoScanner::CONSTANT: return "CONSTANT";
        case vireoScanner::BLOCK: return "BLOCK";
        case vireoScanner::PARAMETER: return "PARAMETER";
        case vireoScanner::SEPARATOR: return "SEPARATOR";
        case vireoScanner::REAL: return "REAL " + t.text;
        case vireoScanner::DECIMAL: return "DECIMAL " + t.text;
        case vireoScanner::NAME: return "NAME " + t.text;
        case vireoScanner::STRING: return "STRING " + t.text;
        case vireoScanner::INTEGER: return "INTEGER " + t.text;
        default: return std::to_string(t.code);
    }
}

std::string dumpLine(const ScannedToken& t) {
    return t.file + ":" + std::to_string(t.line) + " " + tokenText(t);
}

}  // namespace vireo_test
