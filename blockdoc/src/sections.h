// The pages of the block reference and the writers of the header sections. Each writer
// reads the source lines of its section itself, writes them to the pages whose served
// flag is 1 and hands back the line that ended the section as the current line.
#ifndef BLOCKDOC_SECTIONS_H
#define BLOCKDOC_SECTIONS_H

#include "source.h"
#include "text_routines.h"

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace blockdoc {

// One output page, open from its head to the end of the run.
struct Page {
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::string path;
    std::unique_ptr<std::FILE, Closer> file;
    int error = 0;  // the first write error, kept so that a lost line is never reported as success
};

int openPage(Page& page);                         // creates or replaces the file; 0 or the error number
void writeLine(Page& page, std::string_view text);  // one line, trailing blanks dropped
void writeBlankLine(Page& page);                  // a line holding exactly one blank
int closePage(Page& page);                        // 0, or the first error met while writing or closing

// A block name or other plain text as LaTeX text: the characters LaTeX reads as markup
// are quoted.
std::string latexText(std::string_view text);

void writePageHead(Page& page, std::string_view headingWord, std::string_view name);
void writeClosingBlock(Page& page);
void writeDescriptionInclude(Page& page, std::string_view lowerName);

// The section writers. `flags` and `pages` are parallel: all pages for an unnamed section,
// the one named page otherwise. At the end of the file the section ends as at a header
// line and `line` comes back blank: a line a section has consumed is never taken up again.
void addtext(std::span<const int> flags, std::span<Page> pages, Text& line, Source& source);
void addlayout(std::span<const int> flags, std::span<Page> pages, std::span<const std::string> names, Text& line,
               Source& source, std::string_view routineName);
void adddetail(std::span<const int> flags, std::span<Page> pages, Text& line, std::string_view itemKey,
               Language language, Source& source);

// A detail label read as a whole number the way a formatted integer field reads it:
// blanks are ignored, an all-blank label reads 0, an optional sign precedes the digits.
bool readLabelNumber(std::string_view label, long& value);

}  // namespace blockdoc

#endif
