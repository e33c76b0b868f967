// The model-language scanner: turns the text of a model file, and of every file it
// includes, into the tokens that the parser asks for one at a time.
//
// How the parser and the compiler use it
// --------------------------------------
// A compile:
//     if (vireoScanner::newfile(path)) {   // the model file; 0: not opened (305310 reported)
//         yy::VireoParser parser(*this);
//         parser.parse();
//     }
//     vireoScanner::closeFiles();          // the parse may stop early: close what is open
//
// newfile called from outside the scanner always starts a new compile: whatever an
// earlier compile left (open files, an open comment, the XML-skipping state, the line
// count) is dropped first, so every compile starts with an empty include stack, the
// initial state and line 1. `path` is copied; the caller may free it at once.
//
// Tokens: `yylex(&text)` returns the code of the next token (the enum Token below; 0 at
// the end of the model text, also on every later call). For NAME, INTEGER, DECIMAL, REAL
// and STRING it stores a new String holding the token's text in `*text` (for STRING the
// text without its quotes, each doubled quote made one); the caller owns it and deletes
// it. For the other codes `*text` is left as it was. Numbers stay text: the grammar
// actions convert them with String::toInt and String::toReal.
//
// A bison lalr1.cc parser (%union with a `String*` member, say `text`) calls it through an
// adapter in its %code block, since the generated parser calls yylex(&yyla.value):
//     static int yylex(yy::VireoParser::value_type* v) { return vireoScanner::yylex(&v->text); }
// and declares its tokens with the codes below (%token CONSTANT 258 ... INTEGER 267; 261
// is declared and never produced). Any other code the scanner returns is no token: the
// parser's yytranslate_ maps it to the invalid token, which stops the parse. Those codes
// are kStrayCharacter, kIncludeNotFound, kIncludeNameMissing, kIncludeTooDeep,
// kIncludeRecursive, kSecondModelText and kScannerFailure; their messages have been
// issued (and counted) when they are returned.
//
// A character that starts no token (one that is neither white space, a separator, nor
// the start of a keyword, name, number, string or comment) is the counted error 305312,
// which names the file, the line and the character; yylex returns kStrayCharacter for it.
// A carriage return is white space, and so is a byte-order mark.
//
// Location for messages: getCurfilename() and yyget_lineno() give the file being read and
// its line count at the moment of the call; the parser's warning/error operations and its
// grammar actions read them when they report, e.g.
//     RootClass().vireoMessage(5312, String(vireoScanner::getCurfilename()), vireoScanner::yyget_lineno());
// (message 5312: {s0} file name, {i1} line). After the model file has ended they still
// give its name and its final line count, until the next compile starts. Each file counts
// its lines from 1; an included file's lines are its own, and after it ends the including
// file's lines go on by their physical position. In an editor file (.plumo) line 1 is the
// line holding "<vireo-file><![CDATA[".
//
// Include statements ("i" or "I" followed by a quoted file name, which may stand on a
// later line) are handled inside the scanner and yield no token: the included text
// continues the current statement. A name that cannot be opened as given is looked for in
// the include directory (get_paths kind 5). Includes nest at most kMaxIncludeDepth files
// deep, and a file that is already being read cannot be included again. A file found in
// neither place is one counted error 305310 naming the file as written and the places
// looked in (made canonical), followed by 5312 with the file and line of the include
// statement; the model file itself gets the 305310 alone.
//
// Failures of the scanner itself (a read error, no memory) never end the process: they
// are reported as the counted error 304942 (followed by 5312 when a file is known) and
// yylex returns kScannerFailure; the files of that compile are closed.
//
// The scanner is process-wide (one compile at a time, no threads), like the engine.
#ifndef VIREO_VIREOSCANNER_H
#define VIREO_VIREOSCANNER_H

#include <cstdio>

class String;

namespace vireoScanner {

enum Token : int {
    END = 0,  // the end of the model text
    CONSTANT = 258,
    BLOCK = 259,
    PARAMETER = 260,
    // 261 is declared in the parser's token set and never produced.
    SEPARATOR = 262,
    REAL = 263,
    DECIMAL = 264,
    NAME = 265,
    STRING = 266,
    INTEGER = 267,
};

// Codes that stand in for a token after a failed include statement or a failure of the
// scanner (the message of the same number has been issued).
constexpr int kIncludeNotFound = 305310;     // the file cannot be opened
constexpr int kIncludeNameMissing = 305311;  // "i" not followed by a string
constexpr int kIncludeTooDeep = 304940;      // more than kMaxIncludeDepth files open
constexpr int kIncludeRecursive = 304941;    // the file is already being read
constexpr int kScannerFailure = 304942;      // read error or no memory
constexpr int kStrayCharacter = 305312;      // a character that starts no token
constexpr int kNoModelText = 304943;         // an XML header with no model section after it
constexpr int kSecondModelText = 304944;     // an editor file with a second model section
constexpr int kDecimalComma = 204095;        // "0,2": two values, likely meant as one decimal

constexpr int kMaxIncludeDepth = 32;  // files open at once, the model file included

// Opens a file and makes it the scanner's input: from outside the scanner, the model
// file of a new compile; from the include statement, an included file. Returns 1 on
// success, 0 when the file cannot be opened (as given, or in the include directory; an
// absolute name is looked for as given only; for the model file 305310 has been reported
// then). Only regular files are opened. Messages name the file `path`; `openAs`, when
// given, is what is opened (the model file made absolute, say, while messages name it as
// the user wrote it).
int newfile(const char* path, const char* openAs = nullptr);

// The code of the next token; see above for `*text`.
int yylex(String** text);

// The line count of the file being read (or of the model file after its end).
int yyget_lineno();

// The name of the file being read, as it was given; never null ("" before any compile).
const char* getCurfilename();

// The text of the token read last (a string's value without its quotes; empty after the
// end of the model text), for the parser's report of a token it cannot use.
const char* lastTokenText();

// After a syntax error at the comma of "0,5" (a constant takes one value): the decimal
// comma's warning, which the number after the comma would have drawn.
void warnDecimalComma();

// Ends the current file: 1 when reading goes on in the including file, 0 when the model
// text has ended.
int popfile();

// Reports a failed include statement and returns `code`: 305310 with the text of the last
// token and the places looked in, then 5312 with the include statement's file and `line`;
// 305311 with the text of the last token, then 5312 with the current file name and
// `line`; any other code 5309.
int error(int code, int line);

// Closes every open file of the current compile and frees the scanner's buffers; the file
// name and line count stay readable. Safe to call at any time, also twice.
void closeFiles();

// For tests and fuzzing only.
namespace testHooks {
// Replaces the function that opens model and include files (null: the default, which
// opens regular files only). A null result means "cannot be opened".
using FileOpener = std::FILE* (*)(const char* path);
void setFileOpener(FileOpener opener);
// The scanner's n-th buffer allocation from now (0: the next) fails as if memory were
// exhausted; a negative n: none fails.
void failAllocationAfter(long n);
}  // namespace testHooks

}  // namespace vireoScanner

#endif
