// The model language as the real host reads it: statements, their warnings and where
// they point, and what a syntax error leaves behind.
#include "model_run.h"

#include <gtest/gtest.h>

#include <filesystem>

using vireo_test::runModel;
using Codes = std::vector<int>;

namespace {

// The codes between the compiling notice and the closing messages.
Codes compileCodes(const vireo_test::ModelRun& run) {
    Codes out;
    for (int c : run.codes())
        if (c != 4001 && c != 4004 && c != 4007 && c != 4999 && c != 4030 && c != 4051) out.push_back(c);
    return out;
}

}  // namespace

TEST(Grammar, EmptyModelsAreAcceptedAndHoldNoBlock) {
    for (const char* text : {"", "% only a comment\n\n   % and another\n"}) {
        const auto run = runModel(text);
        EXPECT_EQ(run.codes(), (Codes{4001, 304009, 4004})) << text;
        EXPECT_EQ(run.result.exitStatus, 1);
    }
}

TEST(Grammar, IncompleteStatementsWarnWithTheLineOfTheTokenAfterThem) {
    const auto run = runModel(
        "c PI\n"
        "c\n"
        "b 3\n"
        "b\n"
        "p 2\n"
        "p\n"
        "b 1 const\n");
    const Codes warnings{205313, 205314, 205315, 205316, 205317, 205318};
    EXPECT_EQ(compileCodes(run), warnings);
    int line = 2;
    for (const auto& m : run.messages()) {
        if (m.code() < 205313 || m.code() > 205318) continue;
        EXPECT_EQ(m["s0"], run.modelName) << m.line;
        EXPECT_EQ(m["i1"], std::to_string(line++)) << m.line;
    }
    EXPECT_EQ(line, 8);
}

TEST(Grammar, SeparatorsAreOptionalBetweenTheParts) {
    const auto run = runModel(
        "c, PI: 3\n"
        "b; 1, add,\n"  // a separator may follow a name without inputs
        "b 2 add 1.1, 1.2 -1.2 ; 1.1\n"
        "p:2 PI,'t'  PI\n",
        {"-m"});
    EXPECT_EQ(run.codes(), (Codes{4001, 4030, 4030, 4030, 4030, 4030, 4030, 4999}));
    EXPECT_EQ(run.result.out,
              "Compiling m.vireo\n"
              "b 1 ADD\n"
              "b 2 ADD  1.1 1.2 (-)1.2 1.1\n"
              "p 2\n"
              "                    3\n"
              "    't'\n"
              "                    3\n"
              "Bye\n");
}

TEST(Grammar, AnIncompleteStatementBeforeAStrayTokenIsCompletedAndParametersHandedOut) {
    // "b 3 4": the block statement is completed with its warning, the parameter lists go
    // to their blocks (here: to none), and the parse stops at the 4.
    const auto run = runModel("p 9 1\nb 3 4\nb 1 add\n");
    EXPECT_EQ(compileCodes(run), (Codes{205315, 204015, 5312, 304028, 5312}));
    EXPECT_EQ(run.first(304028)["s0"], "4");
    EXPECT_EQ(run.whereOf(304028)["s0"], run.modelName);
    EXPECT_EQ(run.whereOf(304028)["i1"], "2");
    // Counted: the model, cut short, is not run.
    EXPECT_EQ(run.codes(), (Codes{4001, 205315, 204015, 5312, 304028, 5312, 4007, 4004}));
    EXPECT_EQ(run.first(4007)["i1"], "1");
    EXPECT_EQ(run.first(4007)["i2"], "2");
    EXPECT_EQ(run.result.exitStatus, 1);
}

TEST(Grammar, ASeparatorWithoutItsNextPartStopsTheStatementUnfinished) {
    // The parameter list of block 1 never reaches its block: the printout has no "p 1".
    const auto params = runModel("b 1 add\np 1 5,\nb 2 add\n", {"-m"});
    EXPECT_EQ(params.codes(), (Codes{4001, 304028, 5312, 4030, 4999}));
    EXPECT_EQ(params.first(304028)["s0"], "b");
    EXPECT_EQ(params.whereOf(304028)["i1"], "3");
    EXPECT_EQ(params.result.out, "Compiling m.vireo\nError 304028: syntax error at b\n   in file " + params.modelName +
                                     ", line 3\nb 1 ADD\nBye\n");

    const auto inputs = runModel("b 1 add\nb 2 add 1.1,\nb 3 add\n");
    EXPECT_EQ(compileCodes(inputs), (Codes{304028, 5312}));
    EXPECT_EQ(inputs.first(304028)["s0"], "b");

    const auto constant = runModel("b 1 add\nc PI,");
    EXPECT_EQ(compileCodes(constant), (Codes{304028, 5312}));
    EXPECT_EQ(constant.first(304028)["s0"], "the end of the model text");
    EXPECT_EQ(constant.whereOf(304028)["i1"], "2");
}

TEST(Grammar, StrayTokensAreNamedAsWritten) {
    // A number with a leading point is a real: no input reference.
    const auto real = runModel("b 1 add .5\n");
    EXPECT_EQ(real.first(304028)["s0"], ".5");
    const auto text = runModel("b 1 add\np 1 1,, 2\n");
    EXPECT_EQ(text.first(304028)["s0"], ",");
    const auto quoted = runModel("b 1 add 'x'\n");
    EXPECT_EQ(quoted.first(304028)["s0"], "'x'");
    EXPECT_EQ(quoted.whereOf(304028)["i1"], "1");
}

// A constant takes one value: the comma of a decimal written with one is a syntax error,
// and the warning that the digits after it would have drawn says why. A list is no
// decimal; a comma with a blank beside it draws no warning.
TEST(Grammar, ASyntaxErrorAtADecimalCommaSaysWhatTheCommaDoes) {
    struct Case {
        const char* model;
        std::string after;  // the digits after the comma in the warning; empty: none
    };
    for (const Case& c : {Case{"b 1 add\n\nc ALBEDO 0,25\n", "25"}, Case{"b 1 add\n\nc K -1,5e-3\n", "5e-3"},
                          Case{"b 1 add\n\nc K 1,2,3\n", ""}, Case{"b 1 add\n\nc K 0, 5\n", ""}}) {
        SCOPED_TRACE(c.model);
        const auto run = runModel(c.model);
        EXPECT_EQ(run.first(304028)["s0"], ",");
        if (c.after.empty()) {
            EXPECT_EQ(compileCodes(run), (Codes{304028, 5312}));
            continue;
        }
        EXPECT_EQ(compileCodes(run), (Codes{304028, 5312, 204095}));
        EXPECT_EQ(run.first(204095)["s1"], c.after);
        EXPECT_EQ(run.first(204095)["s2"], run.modelName);
        EXPECT_EQ(run.first(204095)["i1"], "3");
    }
}

TEST(Grammar, AFailedIncludeStopsTheParseWithoutASecondReport) {
    // One counted error with the places looked in: beside the model (the working
    // directory) and in the include directory, both as they really are.
    const auto run = runModel("b 1 add\np 1 i 'missing.inc'\n");
    EXPECT_EQ(compileCodes(run), (Codes{305310, 5312}));
    EXPECT_EQ(run.first(4007)["i1"], "1");
    EXPECT_EQ(run.first(305310)["s0"], "missing.inc");
    const std::string home = std::filesystem::weakly_canonical(MODEL_BLOCKS_DIR).string();
    EXPECT_EQ(run.first(305310)["s1"], std::filesystem::weakly_canonical(run.dir).string() + "/missing.inc and " +
                                           home + "/include/missing.inc");
    EXPECT_EQ(run.whereOf(305310)["s0"], run.modelName);
    EXPECT_EQ(run.whereOf(305310)["i1"], "2");

    // An include continues the statement it stands in.
    const auto ok = runModel("b 1 add\np 1 i 'more.inc'\n", {"-m"}, {{"more.inc", "2 'two'\n"}});
    EXPECT_EQ(ok.result.out, "Compiling m.vireo\nb 1 ADD\np 1\n                    2\n    'two'\nBye\n");
}

TEST(Grammar, AStrayCharacterIsAnErrorAndTheModelDoesNotRun) {
    // A typing slip must not run as another model: "1/6" is no number, and characters
    // that the language does not know are not passed over.
    for (const char* text : {"b 1 add\np 1 1/6\n", "b 1 add\np 1 1 * @\n"}) {
        const auto run = runModel(text, {}, {}, "m.vireo");
        EXPECT_EQ(compileCodes(run), (Codes{305312})) << text;
        EXPECT_EQ(run.first(305312)["s0"], run.modelName);
        EXPECT_EQ(run.first(305312)["i1"], "2");
        EXPECT_EQ(run.first(4007)["i1"], "1");
        EXPECT_EQ(run.result.exitStatus, 1);
        EXPECT_TRUE(run.probeLog.empty());  // no block was initialised
    }
    const auto run = runModel("b 1 add\np 1 1/6\n");
    EXPECT_EQ(run.first(305312)["s1"], "/");
    // Standard output holds the messages and nothing copied from the model.
    EXPECT_EQ(run.result.out.find("/6"), std::string::npos) << run.result.out;
}

TEST(Grammar, ParameterStatementsMayComeFirstButOnlyOnce) {
    const auto run = runModel("p 1 1\np 1 2\nb 1 add\n", {"-m"});
    EXPECT_EQ(compileCodes(run), (Codes{304020, 5312}));
    EXPECT_EQ(run.first(304020)["i1"], "1");
    // The file name comes with the line, as for every message about the model text.
    EXPECT_EQ(run.whereOf(304020)["s0"], run.modelName);
    EXPECT_EQ(run.whereOf(304020)["i1"], "3");
    EXPECT_NE(run.result.out.find("p 1\n                    1\nBye"), std::string::npos) << run.result.out;
}

TEST(Grammar, ParametersForAMissingBlockPointToTheirStatement) {
    // The statement is only found orphaned once the whole model is read; the message still
    // names its own line, not the end of the file.
    const auto run = runModel("b 1 add\np 9 1\n\n");
    EXPECT_EQ(compileCodes(run), (Codes{204015, 5312}));
    EXPECT_EQ(run.first(204015)["i1"], "9");
    EXPECT_EQ(run.whereOf(204015)["s0"], run.modelName);
    EXPECT_EQ(run.whereOf(204015)["i1"], "2");
}

TEST(Grammar, BlockStatementsThatMakeNoBlock) {
    const auto run = runModel("b 1 add\nb 1 plus\nb 2 Nothing\nb 3 add\n");
    EXPECT_EQ(compileCodes(run), (Codes{304011, 5312, 304012, 5312}));
    EXPECT_EQ(run.first(304011)["i1"], "1");
    EXPECT_EQ(run.whereOf(304011)["i1"], "3");
    EXPECT_EQ(run.first(304012)["s0"], "Nothing");  // as written
    EXPECT_EQ(run.whereOf(304012)["s0"], run.modelName);
    EXPECT_EQ(run.whereOf(304012)["i1"], "3");  // the line of the name, not of the token after it
    EXPECT_EQ(run.first(4007)["i1"], "2");
}

TEST(Grammar, KeywordLettersAreNeverConstantNames) {
    // "c B 3" is the constant keyword alone and then the block statement "B 3".
    const auto run = runModel("b 1 add\nc B 3\n");
    EXPECT_EQ(compileCodes(run), (Codes{205314, 205315}));
    EXPECT_EQ(run.first(205314)["i1"], "2");
    EXPECT_EQ(run.first(205315)["i1"], "3");
}

TEST(Grammar, NumbersBeyondTheIntRangeAndBlockZeroAreErrors) {
    const auto run = runModel(
        "b 0 add\n"
        "b 99999999999 add\n"
        "b 1 add 2.99999999999\n"
        "p 4294967297 1\n"
        "b 2 add\n");
    EXPECT_EQ(compileCodes(run), (Codes{304030, 5312, 304029, 5312, 304029, 5312, 304029, 5312}));
    const auto m = run.messages();
    EXPECT_EQ(run.first(304030)["s0"], "add");
    EXPECT_EQ(run.whereOf(304030)["i1"], "2");
    std::vector<std::string> numbers;
    for (const auto& r : m)
        if (r.code() == 304029) numbers.push_back(r["s0"]);
    EXPECT_EQ(numbers, (std::vector<std::string>{"99999999999", "2.99999999999", "4294967297"}));
    EXPECT_EQ(run.first(4007)["i1"], "4");
}

TEST(Grammar, RealsBeyondTheFloatRangeAreErrors) {
    // An integer, a decimal and a real too large for a float (or too negative), as a
    // constant and as parameters; the largest float and a value that merely underflows
    // pass.
    const auto run = runModel(
        "c BIG 1e39\n"
        "b 1 add\n"
        "p 1 -1e400 340282346638528859811704183484516925440 3.4e38\n"
        "b 2 add\n"
        "p 2 " + std::string(60, '9') + ".5 1e-60\n");
    EXPECT_EQ(compileCodes(run), (Codes{304033, 5312, 304033, 5312, 304033, 5312}));
    std::vector<std::string> numbers, lines;
    const auto m = run.messages();
    for (std::size_t k = 0; k + 1 < m.size(); ++k) {
        if (m[k].code() != 304033) continue;
        numbers.push_back(m[k]["s0"]);
        lines.push_back(m[k + 1]["i1"]);
        EXPECT_EQ(m[k + 1]["s0"], run.modelName);
    }
    EXPECT_EQ(numbers, (std::vector<std::string>{"1e39", "-1e400", std::string(60, '9') + ".5"}));
    EXPECT_EQ(lines, (std::vector<std::string>{"1", "3", "5"}));
    EXPECT_EQ(run.first(4007)["i1"], "3");
    EXPECT_EQ(run.result.exitStatus, 1);
}
