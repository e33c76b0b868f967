#include "RootClass.h"
#include "String.h"
#include "cpu_time.h"
#include "run_vireo.h"
#include "token_dump.h"
#include "trace.h"
#include "vireoScanner.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using vireo_test::ScannedToken;
using Texts = std::vector<std::string>;

namespace {

int openDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

// Every test works in a directory of its own (include names are relative to it) with an
// include directory beside it and a fresh message trace.
class Scanner : public ::testing::Test {
protected:
    void SetUp() override {
        start_ = fs::current_path();
        dir_ = vireo_test::scratchDirectory("scanner");
        includeDir_ = dir_ + "/include";
        fs::create_directories(includeDir_);
        fs::create_directories(dir_ + "/work");
        fs::current_path(dir_ + "/work");
        trace_ = dir_ + "/trace.txt";
        setenv("VIREO_MSG_TRACE", trace_.c_str(), 1);
        setenv("VIREO_INCLUDE_DIR", includeDir_.c_str(), 1);
        RootClass::_errors = RootClass::_warnings = 0;
    }
    void TearDown() override {
        vireoScanner::closeFiles();
        vireoScanner::testHooks::setFileOpener(nullptr);
        vireoScanner::testHooks::failAllocationAfter(-1);
        unsetenv("VIREO_MSG_TRACE");
        unsetenv("VIREO_INCLUDE_DIR");
        fs::current_path(start_);
    }

    static void write(const std::string& name, const std::string& text) {
        vireo_test::writeFile(fs::absolute(name).string(), text);
    }
    std::vector<ScannedToken> scanTokens(const std::string& text, const std::string& name = "m.vireo") {
        write(name, text);
        return vireo_test::scanFile(name);
    }
    // The tokens in short form, without the final END.
    Texts scan(const std::string& text, const std::string& name = "m.vireo") { return texts(scanTokens(text, name)); }
    static Texts texts(const std::vector<ScannedToken>& tokens) {
        Texts out;
        for (const auto& t : tokens)
            if (t.code != vireoScanner::END) out.push_back(vireo_test::tokenText(t));
        return out;
    }
    static Texts where(const std::vector<ScannedToken>& tokens) {
        Texts out;
        for (const auto& t : tokens) out.push_back(vireo_test::dumpLine(t));
        return out;
    }
    std::vector<vireo_test::TraceRecord> trace() const {
        std::vector<vireo_test::TraceRecord> messages;
        for (auto& r : vireo_test::readTrace(trace_))
            if (!r.isCall()) messages.push_back(r);
        return messages;
    }
    std::vector<int> codes() const { return vireo_test::codesOf(trace()); }

    fs::path start_;
    std::string dir_, includeDir_, trace_;
};

// ---- tokens ------------------------------------------------------------------------------

TEST_F(Scanner, KeywordLettersStandAloneAndAreNamesOtherwise) {
    EXPECT_EQ(scan("b1 b 1 B S s c C p P Cx pp _x #y a_1 x#"),
              (Texts{"NAME b1", "BLOCK", "INTEGER 1", "BLOCK", "BLOCK", "BLOCK", "CONSTANT", "CONSTANT",
                     "PARAMETER", "PARAMETER", "NAME Cx", "NAME pp", "NAME _x", "NAME #y", "NAME a_1", "NAME x",
                     "NAME #"}));
    EXPECT_EQ(scan(",:;b,1"), (Texts{"SEPARATOR", "SEPARATOR", "SEPARATOR", "BLOCK", "SEPARATOR", "INTEGER 1"}));
    EXPECT_TRUE(codes().empty());
}

TEST_F(Scanner, NumbersByLongestMatchAndRuleOrder) {
    EXPECT_EQ(scan("5 -5 5. .5 . 1.5.3 1e5 2E 2e+ 5e -.5 +3 -3.2 1e5.3 2.5E-3 1-2"),
              (Texts{"INTEGER 5", "DECIMAL -5", "DECIMAL 5.", "REAL .5", "REAL .", "DECIMAL 1.5", "REAL .3",
                     "REAL 1e5", "REAL 2E", "REAL 2e+", "REAL 5e", "REAL -.5", "DECIMAL +3", "DECIMAL -3.2",
                     "REAL 1e5", "REAL .3", "REAL 2.5E-3", "INTEGER 1", "DECIMAL -2"}));
    // A number runs into a following name only as far as the exponent letter.
    EXPECT_EQ(scan("5else 3x"), (Texts{"REAL 5e", "NAME lse", "INTEGER 3", "NAME x"}));
}

TEST_F(Scanner, EveryCharacterThatStartsNoTokenIsACountedErrorNamingIt) {
    // Each such character is a code of its own, so the parser stops there; scanning on
    // shows that every one is found and that the tokens around them are untouched.
    const Texts tokens = scan("+ x - !$()*/=>?@[\\^`{|}~ < ] b&1&&\f\x01\xe9\n2 \xc3\xa9 \xc2\xa0\xe2\x80\x99");
    const Texts stray(21, "305312");
    Texts expected{"305312", "NAME x"};
    expected.insert(expected.end(), stray.begin(), stray.end());
    expected.insert(expected.end(), {"BLOCK", "INTEGER 1", "305312", "305312", "305312", "INTEGER 2", "305312",
                                     "305312", "305312"});
    EXPECT_EQ(tokens, expected);
    const auto tr = trace();
    ASSERT_EQ(tr.size(), 28u);
    Texts named;
    for (const auto& m : tr) {
        EXPECT_EQ(m.code(), 305312);
        EXPECT_EQ(m["s0"], "m.vireo");
        named.push_back(m["s1"]);
    }
    EXPECT_EQ(Texts(named.begin(), named.begin() + 4), (Texts{"+", "-", "!", "$"}));
    EXPECT_EQ(named[20], "<");
    // Control characters and what is not UTF-8 by their codes; a character beyond ASCII,
    // which may look like a blank or a quote, as it is and by its code point.
    EXPECT_EQ(Texts(named.begin() + 22, named.end()),
              (Texts{"U+000C", "U+0001", "0xE9 (not UTF-8)", "\xc3\xa9 (U+00E9)", "\xc2\xa0 (U+00A0)",
                     "\xe2\x80\x99 (U+2019)"}));
    EXPECT_EQ(tr[24]["i1"], "1");
    EXPECT_EQ(tr[25]["i1"], "2");
    EXPECT_EQ(RootClass::_errors, 28);

    // White space stays white space: blanks, tabs, "&", a carriage return and the
    // byte-order mark that some editors write first.
    EXPECT_EQ(scan("\xef\xbb\xbf" "b\t1&\r\n"), (Texts{"BLOCK", "INTEGER 1"}));
    EXPECT_EQ(RootClass::_errors, 28);
}

TEST_F(Scanner, OnlyTheExactDeprecatedNamesWarn) {
    EXPECT_EQ(scan("GENG GENGD GENGH GENGT GH2GT GOH MTMLALO SUNAE SUNAEA GENG2 geng GENGDX SUNAE_ c GOH"),
              (Texts{"NAME GENG", "NAME GENGD", "NAME GENGH", "NAME GENGT", "NAME GH2GT", "NAME GOH",
                     "NAME MTMLALO", "NAME SUNAE", "NAME SUNAEA", "NAME GENG2", "NAME geng", "NAME GENGDX",
                     "NAME SUNAE_", "CONSTANT", "NAME GOH"}));
    const auto tr = trace();
    ASSERT_EQ(tr.size(), 10u);
    const Texts warned{"GENG", "GENGD", "GENGH", "GENGT", "GH2GT", "GOH", "MTMLALO", "SUNAE", "SUNAEA", "GOH"};
    for (std::size_t k = 0; k < tr.size(); ++k) {
        EXPECT_EQ(tr[k].code(), 204094);
        EXPECT_EQ(tr[k]["s0"], warned[k]);
        EXPECT_EQ(tr[k]["s2"], warned[k] + "2");  // the block that replaces it
    }
    EXPECT_EQ(RootClass::_warnings, 10);
    EXPECT_EQ(RootClass::_errors, 0);

    // The warning says where the name stands, in an included file too.
    write("../include/sun.inc", "\nb 2 SUNAE 1.4 1.5\n");
    scan("b 1 CALENDAR\ni 'sun.inc'\n");
    const auto inc = trace().back();
    EXPECT_EQ(inc.code(), 204094);
    EXPECT_EQ(inc["s1"], "sun.inc");
    EXPECT_EQ(inc["i1"], "2");
}

TEST_F(Scanner, ACommaBetweenTwoWholeNumbersIsWarnedAboutAndStillSeparates) {
    struct Case {
        const char* text;
        std::vector<std::pair<std::string, std::string>> warned;  // the two numbers of each warning
        int line;
    };
    const Case cases[] = {
        {"p 3 LATITUDE 180 0,2", {{"0", "2"}}, 1},
        {"\n\np 3 1,5 2,5\n", {{"1", "5"}, {"2", "5"}}, 3},
        {"p 3 -0,5", {{"-0", "5"}}, 1},
        {"p 3 1, 2 1 ,2 1;2 1:2", {}, 1},   // a blank beside the comma, or another separator
        {"p 3 1,2,3 4,5,6,7", {}, 1},       // a list of three or more is no decimal
        {"p 3 2,5e3 1,5E-3", {{"2", "5e3"}, {"1", "5E-3"}}, 1},  // a decimal with its exponent
        {"p 3 1.5,2 2,0.5 1,5e 1,5e+ A1,2", {}, 1},  // a decimal point already, no exponent digits, a name
        {"p 3 '0,2' % 0,2", {}, 1},           // inside a string or a comment
    };
    for (const auto& c : cases) {
        std::filesystem::remove(trace_);
        RootClass::_warnings = 0;
        scan(c.text);
        const auto tr = trace();
        ASSERT_EQ(tr.size(), c.warned.size()) << c.text;
        for (std::size_t k = 0; k < tr.size(); ++k) {
            EXPECT_EQ(tr[k].code(), 204095) << c.text;
            EXPECT_EQ(tr[k]["s0"], c.warned[k].first) << c.text;
            EXPECT_EQ(tr[k]["s1"], c.warned[k].second) << c.text;
            EXPECT_EQ(tr[k]["s2"], "m.vireo") << c.text;
            EXPECT_EQ(tr[k]["i1"], std::to_string(c.line)) << c.text;
        }
        EXPECT_EQ(RootClass::_warnings, static_cast<int>(c.warned.size())) << c.text;
    }
    // The comma keeps its meaning: two values.
    EXPECT_EQ(scan("0,2"), (Texts{"INTEGER 0", "SEPARATOR", "INTEGER 2"}));
    EXPECT_EQ(scan("-0,2"), (Texts{"DECIMAL -0", "SEPARATOR", "INTEGER 2"}));
}

TEST_F(Scanner, StringsTakeDoubledQuotesAsOne) {
    EXPECT_EQ(scan("'don''t' \"a\"\"b\" 'a\"\"b' \"x''y\" '' \"\" 'two words'"),
              (Texts{"STRING don't", "STRING a\"b", "STRING a\"b", "STRING x'y", "STRING ", "STRING ",
                     "STRING two words"}));
}

TEST_F(Scanner, UnterminatedStringsAreNoStrings) {
    const auto tokens = scanTokens("'abc'' x\n\"it's\"\n'open\nnext' 5\n");
    EXPECT_EQ(texts(tokens), (Texts{"STRING abc", "305312", "NAME x", "305312", "NAME it", "305312", "BLOCK",
                                    "305312", "305312", "NAME open", "NAME next", "305312", "INTEGER 5"}));
    // A string does not run over a line end: the text after the lone quote is read on.
    EXPECT_EQ(tokens[9].line, 3);
    EXPECT_EQ(tokens[10].line, 4);
    const auto tr = trace();
    ASSERT_EQ(tr.size(), 6u);
    EXPECT_EQ(tr[0]["s1"], "' (a quote that opens no string on its line)");
    EXPECT_EQ(tr[1]["s1"], "\" (a quote that opens no string on its line)");
    EXPECT_EQ(tr[4]["i1"], "3");
}

// ---- comments, white space and lines ----------------------------------------------------------

TEST_F(Scanner, CommentsRunToTheLineEndAndKeepTheLineCount) {
    const auto with = scanTokens("b 1 % a comment b 2\nc %\n%\n\np%\n% last line without newline");
    const auto without = scanTokens("b 1\nc\n\n\np\n");
    EXPECT_EQ(where(with), (Texts{"m.vireo:1 BLOCK", "m.vireo:1 INTEGER 1", "m.vireo:2 CONSTANT",
                                  "m.vireo:5 PARAMETER", "m.vireo:6 END"}));
    EXPECT_EQ(texts(with), texts(without));
    for (std::size_t k = 0; k + 1 < without.size(); ++k) EXPECT_EQ(with[k].line, without[k].line);
    // "%unicode" starts no comment: the rest of its line is model text.
    EXPECT_EQ(scan("%unicode b 1\n%unicodex\n"), (Texts{"BLOCK", "INTEGER 1", "NAME x"}));
}

TEST_F(Scanner, CarriageReturnIsWhiteSpace) {
    ::testing::internal::CaptureStdout();
    const auto crlf = scanTokens("b 1 X\r\nc K 'v'\r\n% note\r\np 1 2.5\r\n\r\n");
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    const auto lf = scanTokens("b 1 X\nc K 'v'\n% note\np 1 2.5\n\n");
    EXPECT_EQ(where(crlf), where(lf));
    EXPECT_EQ(crlf.back().line, 6);
}

TEST_F(Scanner, EditorFileSkipsTheXmlHeaderWithoutCountingItsLines) {
    ::testing::internal::CaptureStdout();
    const auto tokens = scanTokens(
        "<?xml version=\"1.0\"?>\n<plumo-network>\n  <blocks count=\"2\"/>\n"
        "<vireo-file><![CDATA[b 1 X\n"
        "c A 'it''s'\n"
        "]]></vireo-file>\n</plumo-network>\n",
        "m.plumo");
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(where(tokens), (Texts{"m.plumo:1 BLOCK", "m.plumo:1 INTEGER 1", "m.plumo:1 NAME X", "m.plumo:2 CONSTANT",
                                   "m.plumo:2 NAME A", "m.plumo:2 STRING it's", "m.plumo:5 END"}));
    // A header may start anywhere, also in a file named .vireo; the skip wants both tags
    // written together.
    EXPECT_EQ(scan("b 1\n<?xml\n<vireo-file> <![CDATA[ c\n<vireo-file><![CDATA[p 2"),
              (Texts{"BLOCK", "INTEGER 1", "PARAMETER", "INTEGER 2"}));
    EXPECT_EQ(scan("<?xml x y z"), Texts{});
}

// ---- include statements ---------------------------------------------------------------------

TEST_F(Scanner, IncludedTextContinuesTheStatement) {
    write("more", "5, 6\n");
    const auto tokens = scanTokens("p 1 i 'more' 7\nb 1 X\n");
    EXPECT_EQ(where(tokens), (Texts{"m.vireo:1 PARAMETER", "m.vireo:1 INTEGER 1", "more:1 INTEGER 5",
                                   "more:1 SEPARATOR", "more:1 INTEGER 6", "m.vireo:1 INTEGER 7",
                                   "m.vireo:2 BLOCK", "m.vireo:2 INTEGER 1", "m.vireo:2 NAME X", "m.vireo:3 END"}));
    EXPECT_TRUE(codes().empty());
}

TEST_F(Scanner, FileAndLineGoOnInTheIncludingFileAfterAnIncludeEnds) {
    write("sub/inc.vireo", "c A\n\nc Bee");
    const auto tokens = scanTokens("b 1 X\nI % the name follows\n\n  \"sub/inc.vireo\" b\nb 2 Y\n");
    EXPECT_EQ(where(tokens),
              (Texts{"m.vireo:1 BLOCK", "m.vireo:1 INTEGER 1", "m.vireo:1 NAME X", "sub/inc.vireo:1 CONSTANT",
                     "sub/inc.vireo:1 NAME A", "sub/inc.vireo:3 CONSTANT", "sub/inc.vireo:3 NAME Bee", "m.vireo:4 BLOCK",
                     "m.vireo:5 BLOCK", "m.vireo:5 INTEGER 2", "m.vireo:5 NAME Y", "m.vireo:6 END"}));
    // After the end the model file's name and last line stay readable for the parser.
    EXPECT_STREQ(vireoScanner::getCurfilename(), "m.vireo");
    EXPECT_EQ(vireoScanner::yyget_lineno(), 6);
}

TEST_F(Scanner, IncludeFallsBackToTheIncludeDirectoryAndKeepsTheNameAsGiven) {
    write(includeDir_ + "/lib.vireo", "b 9 Z\n");
    write(includeDir_ + "/sub", "c Q\n");
    fs::create_directories("sub");  // a directory cannot be read: the include directory's file is taken
    EXPECT_EQ(where(scanTokens("i 'lib.vireo' i 'sub'")),
              (Texts{"lib.vireo:1 BLOCK", "lib.vireo:1 INTEGER 9", "lib.vireo:1 NAME Z", "sub:1 CONSTANT",
                     "sub:1 NAME Q", "m.vireo:1 END"}));
    EXPECT_TRUE(codes().empty());
    EXPECT_EQ(vireo_test::callsOf(vireo_test::readTrace(trace_), "get_paths").at(0)["1"], "5");
}

TEST_F(Scanner, MissingIncludeFileIsOneErrorNamingThePlacesLookedIn) {
    // The include directory as a path with "..": the message shows where it really is.
    setenv("VIREO_INCLUDE_DIR", (dir_ + "/work/../include/").c_str(), 1);
    const auto tokens = scanTokens("b 1\ni\n 'nope.vireo' c\n");
    EXPECT_EQ(texts(tokens), (Texts{"BLOCK", "INTEGER 1", "305310", "CONSTANT"}));
    auto tr = trace();
    ASSERT_EQ(codes(), (std::vector<int>{305310, 5312}));
    const std::string base = fs::weakly_canonical(dir_).string();
    EXPECT_EQ(tr[0]["s0"], "nope.vireo");
    EXPECT_EQ(tr[0]["s1"], base + "/work/nope.vireo and " + base + "/include/nope.vireo");
    // The include statement's own line, not the line of its file name.
    EXPECT_EQ(tr[1]["s0"], "m.vireo");
    EXPECT_EQ(tr[1]["i1"], "2");
    EXPECT_EQ(RootClass::_errors, 1);

    // An absolute name is looked for there only.
    EXPECT_EQ(scan("i '/nowhere/x.vireo'", "n.vireo"), (Texts{"305310"}));
    tr = trace();
    ASSERT_EQ(tr.size(), 4u);
    EXPECT_EQ(tr[2]["s1"], "/nowhere/x.vireo");

    // The model file itself: one error, no place of a statement, no compile.
    EXPECT_TRUE(vireo_test::scanFile("absent.vireo").empty());
    EXPECT_EQ(codes(), (std::vector<int>{305310, 5312, 305310, 5312, 305310}));
    EXPECT_EQ(trace()[4]["s1"], base + "/work/absent.vireo and " + base + "/include/absent.vireo");
    EXPECT_EQ(RootClass::_errors, 3);
    EXPECT_EQ(vireoScanner::yylex(nullptr), vireoScanner::END);
}

TEST_F(Scanner, AnAbsoluteIncludeNameIsNeverPutBehindTheIncludeDirectory) {
    // Were it appended, the include directory would offer a file of that name.
    const std::string absolute = dir_ + "/gone/x.vireo";
    vireo_test::writeFile(includeDir_ + "/" + absolute, "b 9\n");
    EXPECT_EQ(scan("b 1\ni '" + absolute + "' c\n"), (Texts{"BLOCK", "INTEGER 1", "305310", "CONSTANT"}));
    EXPECT_EQ(codes(), (std::vector<int>{305310, 5312}));
    for (const auto& r : trace()) {
        if (r.code() == 305310) {
            EXPECT_EQ(r["s0"], absolute);
        }
    }
    // A directory is no file to read, wherever it stands.
    fs::create_directories("folder.vireo");
    EXPECT_EQ(scan("i 'folder.vireo' c\n"), (Texts{"305310", "CONSTANT"}));
    EXPECT_EQ(RootClass::_errors, 2);
}

TEST_F(Scanner, OneLongTokenTakesTimeInProportionToItsLength) {
    // Blanks, digits and a name each as one token on one line, at two lengths ten times
    // apart: the time may grow about tenfold, far from the hundredfold of a scan that
    // starts over at every refill of its buffer.
    auto seconds = [&](std::size_t length) {
        write("long.vireo", "b" + std::string(length, ' ') + "1\np 1 " + std::string(length, '7') + "\nc X" +
                                std::string(length, 'y') + " 2\n");
        // The best of three, or of fewer once a scan is plainly too slow.
        double best = 1e9, spent = 0.0;
        for (int k = 0; k < 3 && spent < 2.0; ++k) {
            const double start = vireo_test::threadSeconds();
            const auto tokens = vireo_test::scanFile("long.vireo");
            const double t = vireo_test::threadSeconds() - start;
            best = std::min(best, t);
            spent += t;
            EXPECT_EQ(tokens.size(), 9u);
        }
        return best;
    };
    constexpr std::size_t n = 500000 / vireo_test::kSanitizedShrink;
    const double shorter = seconds(n);
    const double longer = seconds(10 * n);
    EXPECT_LT(longer / shorter, 40.0) << shorter << " s, " << longer << " s";
}

TEST_F(Scanner, IncludeWithoutAStringNamesTheTokenAndTheLine) {
    EXPECT_EQ(scan("b 1\n\ni 5 c"), (Texts{"BLOCK", "INTEGER 1", "305311", "CONSTANT"}));
    auto tr = trace();
    ASSERT_EQ(codes(), (std::vector<int>{305311, 5312}));
    EXPECT_EQ(tr[0]["s0"], "5");
    EXPECT_EQ(tr[1]["s0"], "m.vireo");
    EXPECT_EQ(tr[1]["i1"], "3");
    // At the very end of the model text there is no token to name.
    EXPECT_EQ(scan("b\ni\n\n", "end.vireo"), (Texts{"BLOCK", "305311"}));
    tr = trace();
    ASSERT_EQ(tr.size(), 4u);
    EXPECT_EQ(tr[2]["s0"], "");
    EXPECT_EQ(tr[3]["s0"], "end.vireo");
    EXPECT_EQ(tr[3]["i1"], "4");
}

TEST_F(Scanner, IncludeLetterWhereTheNameShouldStand) {
    // The inner statement is resolved first; the outer one reads its name from the file
    // the inner one opened.
    write("x", "'y' 1");
    write("y", "b\n");
    EXPECT_EQ(scan("i i 'x' 2"), (Texts{"BLOCK", "INTEGER 1", "INTEGER 2"}));
    EXPECT_TRUE(codes().empty());
    // Both statements fail when the innermost one does.
    EXPECT_EQ(scan("i I 5 c", "n.vireo"), (Texts{"305311", "CONSTANT"}));
    EXPECT_EQ(codes(), (std::vector<int>{305311, 5312, 305311, 5312}));
}

TEST_F(Scanner, UnknownCodeForTheIncludeErrorGives5309) {
    EXPECT_EQ(vireoScanner::error(4711, 3), 4711);
    ASSERT_EQ(codes(), (std::vector<int>{5309}));
    EXPECT_EQ(trace()[0]["i1"], "4711");
    EXPECT_EQ(RootClass::_errors, 0);
}

// ---- mended faults ----------------------------------------------------------------------------

TEST_F(Scanner, FileIncludingItselfIsAnErrorNamingFileAndLine) {
    const int before = openDescriptors();
    EXPECT_EQ(scan("b 1\ni 'm.vireo' c\n"), (Texts{"BLOCK", "INTEGER 1", "304941", "CONSTANT"}));
    auto tr = trace();
    ASSERT_EQ(codes(), (std::vector<int>{304941, 5312}));
    EXPECT_EQ(tr[0]["s0"], "m.vireo");
    EXPECT_EQ(tr[0]["s1"], "m.vireo -> m.vireo");
    EXPECT_EQ(tr[1]["s0"], "m.vireo");
    EXPECT_EQ(tr[1]["i1"], "2");

    // Through other files, and under another name of the same file.
    write("a.vireo", "c A\ni 'b.vireo'\n");
    write("b.vireo", "c Bee\n\ni './a.vireo'\nc Cee\n");
    EXPECT_EQ(scan("i 'a.vireo'", "top.vireo"), (Texts{"CONSTANT", "NAME A", "CONSTANT", "NAME Bee", "304941", "CONSTANT",
                                                     "NAME Cee"}));
    tr = trace();
    ASSERT_EQ(tr.size(), 4u);
    EXPECT_EQ(tr[2]["s0"], "./a.vireo");
    EXPECT_EQ(tr[2]["s1"], "a.vireo -> b.vireo -> ./a.vireo");  // the chain, not a file alone
    EXPECT_EQ(tr[3]["s0"], "b.vireo");
    EXPECT_EQ(tr[3]["i1"], "3");
    EXPECT_EQ(RootClass::_errors, 2);
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(Scanner, EditorFilesAreReadAsTheEditorWritesThem) {
    // One model section; XML comments are skipped wherever the XML is, also when they
    // hold a model section of their own; what follows the section is XML.
    const std::string head = "<?xml version=\"1.0\"?>\n<plumo-network>\n";
    EXPECT_EQ(scan(head + "<!-- <vireo-file><![CDATA[b 9 OLD]]> -->\n<vireo-file><![CDATA[b 1 X\n]]></vireo-file>\n"
                          "<!-- ]]> <![CDATA[ -->\n<layout x=\"1\"/>\n</plumo-network>\n",
                   "m.plumo"),
              (Texts{"BLOCK", "INTEGER 1", "NAME X"}));
    EXPECT_TRUE(codes().empty());

    // A second model section is refused where it stands, not added to the first.
    const auto tokens = scanTokens(head + "<vireo-file><![CDATA[b 1 X\n]]></vireo-file>\n"
                                          "<vireo-file><![CDATA[b 2 Y\n]]></vireo-file>\n</plumo-network>\n",
                                   "m.plumo");
    EXPECT_EQ(where(tokens), (Texts{"m.plumo:1 BLOCK", "m.plumo:1 INTEGER 1", "m.plumo:1 NAME X", "m.plumo:3 304944",
                                   "m.plumo:6 END"}));
    auto tr = trace();
    ASSERT_EQ(codes(), (std::vector<int>{304944}));
    EXPECT_EQ(tr[0]["s0"], "m.plumo");
    EXPECT_EQ(tr[0]["i1"], "3");

    // An editor file without a model section says so instead of reading as an empty model,
    // as does one whose only section is inside a comment.
    for (const std::string& text : {head + "<blocks/>\n</plumo-network>\n",
                                    head + "<!-- <vireo-file><![CDATA[b 1 X]]></vireo-file> -->\n</plumo-network>\n"}) {
        fs::remove(trace_);
        EXPECT_EQ(scan(text, "e.plumo"), Texts{});
        tr = trace();
        ASSERT_EQ(codes(), (std::vector<int>{304943})) << text;
        EXPECT_EQ(tr[0]["s0"], "e.plumo");
    }
}

TEST_F(Scanner, ANulByteInsideAStringIsRefusedAsEverywhere) {
    // The string's value would be cut at the NUL on its way to the block.
    const std::string text = std::string("b 1\np 1 'ab") + '\0' + "cd'\n";
    EXPECT_EQ(scan(text), (Texts{"BLOCK", "INTEGER 1", "PARAMETER", "INTEGER 1", "305312"}));
    const auto tr = trace();
    ASSERT_EQ(codes(), (std::vector<int>{305312}));
    EXPECT_EQ(tr[0]["s1"], "U+0000");
    EXPECT_EQ(tr[0]["i1"], "2");
}

TEST_F(Scanner, IncludeDepthIsLimited) {
    const int files = vireoScanner::kMaxIncludeDepth + 8;
    for (int k = 1; k < files; ++k)
        write("f" + std::to_string(k), "i 'f" + std::to_string(k + 1) + "' x\n");
    write("f" + std::to_string(files), "b\n");
    const int before = openDescriptors();
    const auto tokens = scanTokens("i 'f1' x\n", "f0");
    const int depth = vireoScanner::kMaxIncludeDepth;
    // The file that would be opened as the 33rd is refused where f31 includes it; every
    // file open so far is then read to its end.
    ASSERT_EQ(tokens.size(), static_cast<std::size_t>(depth + 2));
    EXPECT_EQ(vireo_test::dumpLine(tokens[0]), "f31:1 304940");
    for (int k = 1; k <= depth; ++k) EXPECT_EQ(vireo_test::tokenText(tokens[k]), "NAME x");
    EXPECT_EQ(vireo_test::dumpLine(tokens[depth]), "f0:1 NAME x");
    const auto tr = trace();
    ASSERT_EQ(codes(), (std::vector<int>{304940, 5312}));
    EXPECT_EQ(tr[0]["s0"], "f32");
    EXPECT_EQ(tr[0]["i1"], std::to_string(depth));
    EXPECT_EQ(tr[1]["s0"], "f31");
    EXPECT_EQ(tr[1]["i1"], "1");
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(Scanner, IncludeNamesOfAnyLength) {
    std::string name;
    for (int k = 0; k < 6; ++k) name += std::string(200, static_cast<char>('a' + k)) + "/";
    name += "model.vireo";
    ASSERT_GT(name.size(), 1100u);
    write(name, "c LONG");
    EXPECT_EQ(where(scanTokens("i '" + name + "' b")),
              (Texts{name + ":1 CONSTANT", name + ":1 NAME LONG", "m.vireo:1 BLOCK", "m.vireo:1 END"}));
    // A long name that cannot be found is still reported, cut to the message row.
    const std::string missing(3000, 'q');
    EXPECT_EQ(scan("i '" + missing + "'", "n.vireo"), (Texts{"305310"}));
    const auto tr = trace();
    ASSERT_EQ(tr.size(), 2u);
    EXPECT_EQ(tr[0]["s0"], missing.substr(0, RootClass::kRowLength));
}

TEST_F(Scanner, EachFileKeepsItsOwnName) {
    write("inc", "c\n");
    write("m.vireo", "b i 'inc' p");
    {
        std::string path = "m.vireo";  // the caller's text is gone before the first token
        ASSERT_EQ(vireoScanner::newfile(path.c_str()), 1);
        path.assign(100, 'z');
    }
    Texts seen;
    for (int code = -1; code != vireoScanner::END;) {
        String* value = nullptr;
        code = vireoScanner::yylex(&value);
        delete value;
        seen.push_back(vireoScanner::getCurfilename());
    }
    EXPECT_EQ(seen, (Texts{"m.vireo", "inc", "m.vireo", "m.vireo"}));
}

TEST_F(Scanner, FileEndResetsAnOpenCommentOrXmlHeader) {
    write("comment.inc", "5 % no newline at the end");
    write("xml.inc", "6 <?xml version='1.0'?> never closed\n");
    EXPECT_EQ(where(scanTokens("p 1 i 'comment.inc' 7\nb i 'xml.inc' 8\nc\n")),
              (Texts{"m.vireo:1 PARAMETER", "m.vireo:1 INTEGER 1", "comment.inc:1 INTEGER 5", "m.vireo:1 INTEGER 7",
                     "m.vireo:2 BLOCK", "xml.inc:1 INTEGER 6", "m.vireo:2 INTEGER 8", "m.vireo:3 CONSTANT",
                     "m.vireo:4 END"}));
}

TEST_F(Scanner, EveryCompileStartsAfresh) {
    // A compile that ends in a comment or an XML header, or that is abandoned inside an
    // include file (the parse stopped), leaves nothing to the next one.
    write("inc", "1 2 3 % open\n");
    write("first.vireo", "p 9 i 'inc' 4");
    write("second.vireo", "c");
    const int before = openDescriptors();
    ASSERT_EQ(vireoScanner::newfile("first.vireo"), 1);
    String* value = nullptr;
    ASSERT_EQ(vireoScanner::yylex(&value), vireoScanner::PARAMETER);
    ASSERT_EQ(vireoScanner::yylex(&value), vireoScanner::INTEGER);
    delete value;
    ASSERT_EQ(vireoScanner::yylex(&value), vireoScanner::INTEGER);
    delete value;
    EXPECT_STREQ(vireoScanner::getCurfilename(), "inc");
    EXPECT_EQ(where(vireo_test::scanFile("second.vireo")), (Texts{"second.vireo:1 CONSTANT", "second.vireo:1 END"}));
    EXPECT_EQ(openDescriptors(), before);

    EXPECT_EQ(scan("b % open comment"), (Texts{"BLOCK"}));
    EXPECT_EQ(where(vireo_test::scanFile("second.vireo")), (Texts{"second.vireo:1 CONSTANT", "second.vireo:1 END"}));
    EXPECT_EQ(scan("<?xml", "x.plumo"), Texts{});
    EXPECT_EQ(where(vireo_test::scanFile("second.vireo")), (Texts{"second.vireo:1 CONSTANT", "second.vireo:1 END"}));
    EXPECT_EQ(codes(), (std::vector<int>{304943}));  // the header that never reached a model
}

// A stream whose reads fail; or, with `interrupts`, one that hands out its text three
// bytes at a time with an interrupted read before each piece.
struct FailingStream {
    int interrupts = 0;
    bool failing = true;
    std::string text;
    std::size_t pos = 0;
    bool interrupted = false;
};
FailingStream stream;

ssize_t readFailing(void* cookie, char* buf, std::size_t size) {
    auto* s = static_cast<FailingStream*>(cookie);
    if (s->interrupts > 0 && !s->interrupted) {
        --s->interrupts;
        s->interrupted = true;
        errno = EINTR;
        return -1;
    }
    s->interrupted = false;
    if (s->failing) {
        errno = EIO;
        return -1;
    }
    const std::size_t n = std::min({size, s->text.size() - s->pos, std::size_t{3}});
    std::memcpy(buf, s->text.data() + s->pos, n);
    s->pos += n;
    return static_cast<ssize_t>(n);
}

std::FILE* openFailing(const char* path) {
    if (std::strcmp(path, "disk.vireo") != 0) return std::fopen(path, "rb");
    stream.pos = 0;
    return fopencookie(&stream, "r", cookie_io_functions_t{readFailing, nullptr, nullptr, nullptr});
}

TEST_F(Scanner, ReadFailureIsACountedErrorNotAnExit) {
    vireoScanner::testHooks::setFileOpener(openFailing);
    stream = FailingStream{0, true, "", 0, false};
    EXPECT_EQ(scan("b 1\ni 'disk.vireo' c"), (Texts{"BLOCK", "INTEGER 1", "304942"}));
    const auto tr = trace();
    ASSERT_EQ(codes(), (std::vector<int>{304942, 5312}));
    EXPECT_NE(tr[0]["s0"].find("disk.vireo"), std::string::npos);
    EXPECT_EQ(tr[1]["s0"], "disk.vireo");
    EXPECT_EQ(RootClass::_errors, 1);
    EXPECT_EQ(vireoScanner::yylex(nullptr), vireoScanner::END);

    // Interrupted reads are retried, also after part of a buffer was read.
    stream = FailingStream{100, false, "c K 'v'\n", 0, false};
    EXPECT_EQ(scan("i 'disk.vireo' b"), (Texts{"CONSTANT", "NAME K", "STRING v", "BLOCK"}));
    EXPECT_EQ(RootClass::_errors, 1);
}

TEST_F(Scanner, OutOfMemoryIsACountedErrorNotAnExit) {
    write("inc", "p 1 '" + std::string(40000, 'x') + "' 2\n");  // grows the input buffer
    write("m.vireo", "b 1 i 'inc' c");
    const Texts whole{"BLOCK", "INTEGER 1", "PARAMETER", "INTEGER 1", "STRING " + std::string(40000, 'x'),
                      "INTEGER 2", "CONSTANT"};
    int failures = 0;
    bool completed = false;
    for (long n = 0; n < 200 && !completed; ++n) {
        RootClass::_errors = 0;
        std::remove(trace_.c_str());
        vireoScanner::testHooks::failAllocationAfter(n);
        const auto tokens = vireo_test::scanFile("m.vireo");
        vireoScanner::testHooks::failAllocationAfter(-1);
        if (RootClass::_errors == 0) {
            EXPECT_EQ(texts(tokens), whole) << "after " << n << " allocations";
            completed = true;
            continue;
        }
        ++failures;
        ASSERT_EQ(RootClass::_errors, 1) << n;
        ASSERT_FALSE(codes().empty());
        EXPECT_EQ(codes()[0], vireoScanner::kScannerFailure);
        EXPECT_EQ(trace()[0]["s0"], "out of memory");
        // Nothing is left half done: the same model reads completely right after.
        EXPECT_EQ(texts(vireo_test::scanFile("m.vireo")), whole) << n;
    }
    EXPECT_TRUE(completed);
    EXPECT_GE(failures, 5);
}

// ---- the token-dump program ------------------------------------------------------------------

TEST_F(Scanner, DumpProgramShowsTokensAndLeavesStandardOutputToTheScanner) {
    write("inc.vireo", "c K 1.5e3\r\n");
    write("m.plumo", "<?xml version=\"1.0\"?>\r\n<plumo-network>\r\n<vireo-file><![CDATA[b 1 X !\r\ni 'inc.vireo'\r\n"
                     "p 1 K]]></vireo-file>\r\n</plumo-network>\r\n");
    vireo_test::RunOptions options;
    options.program = vireo_test::buildDir() + "/bin/scanner_token_dump";
    options.workingDirectory = fs::current_path().string();
    const auto r = vireo_test::runVireo({"m.plumo"}, options);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "Error 305312: the character ! in file m.plumo, line 1 is not part of the model language\n");
    EXPECT_EQ(r.err,
              "m.plumo:1 BLOCK\nm.plumo:1 INTEGER 1\nm.plumo:1 NAME X\nm.plumo:1 305312\ninc.vireo:1 CONSTANT\n"
              "inc.vireo:1 NAME K\ninc.vireo:1 REAL 1.5e3\nm.plumo:3 PARAMETER\nm.plumo:3 INTEGER 1\nm.plumo:3 NAME K\n"
              "m.plumo:5 END\n");
    EXPECT_EQ(r.codes(), (std::vector<int>{305312}));

    const auto bad = vireo_test::runVireo({"absent.vireo"}, options);
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_EQ(bad.codes(), (std::vector<int>{305310}));
}

}  // namespace
