// CSVOUT and CSVIN: what one writes the other reads back exactly; the reader's text
// forms and end-of-file rules; every file fault as a counted message.
#include "harness.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using vireo_test::readFile;
using vireo_test::writeFile;

TEST(Csv, WrittenRowsReadBackBitForBit) {
    const std::string file = vireo_test::scratchDirectory("csv") + "/out.csv";
    const std::vector<std::vector<float>> rows = {{0.1f, 1.0f / 3, -2.5e-7f},
                                                  {16777216.0f, 3.4028235e38f, 1e-40f},
                                                  {-0.0f, INFINITY, 123456.79f},
                                                  {1, 2, 3}};
    size_t k = 0;
    Block src(1, 3, [&](Block& b) { b.OUT = rows[k++ % rows.size()]; });
    Block out(ubcsvout, 2, outputs(src, 1, 3), {}, {file, "a, b"});
    initAll({&src, &out});
    bool stop = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        src.call(stop), out.call(stop);
        if (i == 0) {
            EXPECT_EQ(readFile(file), "a,b,in3\n0.1,0.33333334,-2.5e-07\n");  // flushed at once
        }
    }
    stop = true;
    out.call(stop);
    const std::string text = readFile(file);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);

    const MessageCapture trace;
    Block in(ubcsvin, 3, {}, {}, {file});
    in.init();
    EXPECT_EQ(in.IP[0], 0);
    stop = false;
    for (const auto& row : rows) {
        in.call(stop);
        EXPECT_EQ(std::memcmp(in.OUT.data(), row.data(), 3 * sizeof(float)), 0) << row[0];
    }
    EXPECT_FALSE(stop);
    in.call(stop);  // past the last row the reader asks the run to end
    EXPECT_TRUE(stop);
    EXPECT_EQ(trace.codes(), std::vector<int>{105927});
    EXPECT_EQ(trace.records().front()["i8"], "4");
    in.call(stop);

    // "-" writes to standard output.
    const MessageCapture console(MessageCapture::StandardOutput::captured);
    Block writer(ubcsvout, 4, {{&src, 1}}, {}, {"-"});
    writer.init();
    stop = false;
    writer.call(stop);
    stop = true;
    writer.call(stop);
    EXPECT_EQ(console.out(), "in1\n1\n");
}

TEST(Csv, ReaderTakesBlankSeparatedTextAndItsEndOfFileRule) {
    const std::string file = vireo_test::scratchDirectory("csv") + "/in.txt";
    writeFile(file, "# hourly values\nT  G\r\n1 2\r\n\n\t3\t+4e0 \n");
    const std::vector<std::vector<float>> hold{{1, 2}, {3, 4}, {3, 4}, {3, 4}}, again{{1, 2}, {3, 4}, {1, 2}, {3, 4}};
    for (const int rule : {1, 2}) {
        const MessageCapture trace;
        Block in(ubcsvin, 1, {}, {float(rule)}, {file});
        in.init();
        bool stop = false;
        std::vector<std::vector<float>> seen;
        for (int i = 0; i < 4; ++i) in.call(stop), seen.push_back({in.OUT[0], in.OUT[1]});
        EXPECT_FALSE(stop);
        EXPECT_EQ(seen, rule == 1 ? hold : again);
        EXPECT_EQ(trace.codes(), std::vector<int>{rule == 1 ? 105928 : 105929});
        stop = true;
        in.call(stop);
    }
}

TEST(Csv, FileFaultsAreCountedMessagesNamingFileAndLine) {
    const std::string dir = vireo_test::scratchDirectory("csv");
    writeFile(dir + "/bad.csv", "a,b\n1,2\n1,x\n");
    writeFile(dir + "/short.csv", "1;2\n3\n");
    writeFile(dir + "/head.csv", "a,b\n\n");
    Block one(1, 1, [](Block& b) { b.OUT[0] = 1; });
    struct Case {
        BlockFunction fn;
        std::vector<std::string> strings;
        float parameter;
        int code;
        std::string values;  // part of the message's trace record
    };
    const std::string s0 = "\ts0=" + dir;
    const std::vector<Case> cases = {
        {ubcsvin, {dir + "/missing.csv"}, 0, 305920, s0 + "/missing.csv"},
        {ubcsvin, {dir + "/head.csv"}, 0, 305921, s0 + "/head.csv"},
        {ubcsvin, {""}, 0, 305910, "\ti3=5"},
        {ubcsvin, {dir + "/short.csv"}, 3, 305925, "\tr0=3"},
        {ubcsvin, {dir + "/bad.csv"}, 0, 305922, "\ti8=3" + s0 + "/bad.csv"},
        {ubcsvin, {dir + "/short.csv"}, 0, 305923, "\ti8=2" + s0 + "/short.csv"},
        {ubcsvout, {dir + "/no/such/dir/x.csv"}, 0, 305911, s0 + "/no/such/dir/x.csv"},
        {ubcsvout, {dir + "/x.csv", "x y z"}, 0, 205913, "\ti8=3"},
    };
    for (const Case& c : cases) {
        const MessageCapture trace;
        vireo_tools_reset_error_count();
        const bool writer = c.fn == ubcsvout;  // the writer takes no real parameter
        Block b(c.fn, 5, writer ? std::vector<Source>{{&one, 1}} : std::vector<Source>{},
                writer ? std::vector<float>{} : std::vector<float>{c.parameter}, c.strings);
        b.init();
        const bool initFails = b.IP[0] != 0;
        bool stop = false;
        for (int i = 0; i < 2 && !stop; ++i) b.call(stop);
        EXPECT_EQ(stop, !initFails && c.fn == ubcsvin) << c.strings[0];  // a bad row ends the run
        stop = true;
        b.call(stop);
        ASSERT_EQ(trace.codes(), std::vector<int>{c.code}) << c.strings[0];
        EXPECT_NE(trace.records().back().line.find(c.values), std::string::npos) << trace.records().back().line;
        EXPECT_EQ(vireo_tools_error_count(), c.code / 100000 == 3 ? 1 : 0);
    }
}
