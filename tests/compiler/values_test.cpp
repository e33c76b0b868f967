// The model's value classes and block creation, in-process against the test blocks.
#include "Compiler.h"
#include "Parameter.h"
#include "ParseRoot.h"
#include "SimulatorBlock.h"
#include "run_vireo.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

TEST(Constants, AReferenceReadsItsConstantWhenAsked) {
    Constant k(String("K"));
    const Parameter ref(&k);
    EXPECT_EQ(ref.isConstant(), 1);
    EXPECT_EQ(ref.type(), Parameter::kUndefined);

    k = 2.5f;  // defined after the reference was made
    EXPECT_EQ(ref.type(), Parameter::kReal);
    EXPECT_FLOAT_EQ(*ref.realValue(), 2.5f);
    EXPECT_EQ(ref.constHandle(), &k);

    k = String("north");  // a string now; the real slot keeps what it had
    EXPECT_EQ(ref.type(), Parameter::kString);
    EXPECT_EQ(ref.stringValue(), String("north"));
    EXPECT_FLOAT_EQ(*k.realValue(), 2.5f);

    const Parameter plain(1.5f), text(String("t"));
    EXPECT_EQ(plain.type(), Parameter::kReal);
    EXPECT_EQ(plain.isConstant(), 0);
    EXPECT_EQ(text.type(), Parameter::kString);
    EXPECT_EQ(text.stringValue(), String("t"));
    EXPECT_EQ(Parameter().type(), Parameter::kUndefined);
}

TEST(InputReferences, BlockOutputAndSignFromTheText) {
    struct Case {
        const char* text;
        int block, output, negate;
    };
    const Case cases[] = {
        {"7", 7, 1, 0},   {"7.3", 7, 3, 0},  {"7.0", 7, 1, 0},  {"7.", 7, 1, 0},     {"-7.3", 7, 3, 1},
        {"+7.3", 7, 3, 0}, {"-0.3", 0, 3, 0}, {"3.05", 3, 5, 0}, {"3.2.1", 3, 2, 0}, {"-3", 3, 1, 1},
        {"2147483647.2147483647", 2147483647, 2147483647, 0},
    };
    for (const Case& c : cases) {
        const InsInOut r{String(c.text)};
        EXPECT_EQ(r.blkNum(), c.block) << c.text;
        EXPECT_EQ(r.ioNum(), c.output) << c.text;
        EXPECT_EQ(r.negate(), c.negate) << c.text;
        EXPECT_TRUE(r.inRange()) << c.text;
        EXPECT_EQ(r.source, nullptr);
    }
    // Numbers beyond int are flagged, never wrapped or left to undefined behaviour.
    for (const char* text : {"2147483648", "1.2147483648", "-2147483648.1", "99999999999999999999.1"}) {
        const InsInOut r{String(text)};
        EXPECT_FALSE(r.inRange()) << text;
        EXPECT_GT(r.blkNum(), 0) << text;
        EXPECT_GT(r.ioNum(), 0) << text;
    }
}

TEST(CompilerTables, ConstantsKeepTheirFirstDefinitionAndClearResetsAll) {
    Compiler c;
    Constant* early = c.getConstHandle(String("K"));  // referenced before it is defined
    EXPECT_EQ(early->type(), Parameter::kUndefined);
    c.addConstant(String("K"), String("x"));
    EXPECT_EQ(c.getConstHandle(String("K")), early);
    EXPECT_EQ(early->stringValue(), String("x"));
    c.addConstant(String("K"), 3.0f);  // warning 204024: K stays the string
    EXPECT_EQ(early->type(), Parameter::kString);
    EXPECT_EQ(RootClass::_warnings, 1);
    c.addConstant(String("k"), 1.0f);  // names are compared with their case
    EXPECT_EQ(c.constants().length(), 2u);

    c.clear();
    EXPECT_EQ(RootClass::_warnings, 0);
    EXPECT_EQ(RootClass::_errors, 0);
    EXPECT_TRUE(c.constants().isEmpty());
    EXPECT_TRUE(c.blocks().isEmpty());
}

// Block creation asks the registry, which reads the test block directory.
class BlockCreation : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string none = vireo_test::scratchDirectory("no-user-blocks");
        setenv("VIREO_HOME", MODEL_BLOCKS_DIR, 1);
        setenv("VIREO_USER_BLOCKS", none.c_str(), 1);
        vireoBlocks = std::make_unique<VireoBlocks>();
    }
    static void TearDownTestSuite() { vireoBlocks.reset(); }
};

TEST_F(BlockCreation, TheDeclaredGroupChoosesTheClass) {
    struct Case {
        const char* name;
        int group;
        const char* kind;
    };
    const Case cases[] = {
        {"LTOP", -4, "SubModel"},  {"TIMERNP", -2, "SubModel"}, {"TIMER", 2, "SubModel"},
        {"ITER", 6, "SubModel"},   {"LOOP", 4, "LoopBlock"},    {"DELAY", 5, "DelayBlock"},
        {"_NODE", 0, "plain"},     {"CONST", 1, "plain"},       {"ADD", 3, "plain"},
        {"ODD", 7, "plain"},
    };
    int number = 0;
    for (const Case& c : cases) {
        std::unique_ptr<SimulatorBlock> b(ParseRoot::createBlock(++number, String(c.name)));
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->group(), c.group) << c.name;
        EXPECT_EQ(b->number(), number);
        const std::string kind = dynamic_cast<LoopBlock*>(b.get()) != nullptr    ? "LoopBlock"
                                 : dynamic_cast<SubModel*>(b.get()) != nullptr   ? "SubModel"
                                 : dynamic_cast<DelayBlock*>(b.get()) != nullptr ? "DelayBlock"
                                                                                 : "plain";
        EXPECT_EQ(kind, c.kind) << c.name;
        EXPECT_EQ(b->next, nullptr);
        EXPECT_EQ(b->alternative, nullptr);
        EXPECT_EQ(b->successors, nullptr);
        EXPECT_EQ(b->IP(), nullptr);  // no arrays before initialisation
    }
}

TEST_F(BlockCreation, NamesInAnyCaseFindTheirBlockAndKeepTheirPosition) {
    std::unique_ptr<SimulatorBlock> sum(ParseRoot::createBlock(1, String("sUm")));
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->name(), String("SUM"));
    EXPECT_EQ(sum->opMode(), 3);  // third name of ADD PLUS SUM
    EXPECT_EQ(ParseRoot::createBlock(2, String("NOSUCHBLOCK")), nullptr);

    // A successor is recorded once however often it reads.
    std::unique_ptr<SimulatorBlock> reader(ParseRoot::createBlock(4, String("add")));
    sum->addSuccessor(reader.get());
    sum->addSuccessor(reader.get());
    sum->addSuccessor(nullptr);
    ASSERT_NE(sum->successors, nullptr);
    EXPECT_EQ(sum->successors->length(), 1u);
}
