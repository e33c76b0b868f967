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
        {ubcsvin, {dir + "/bad.csv"}, 0, 305922, "\ti8=3\ti10=2" + s0 + "/bad.csv\ts1=CSVIN\ts2=x"},
        {ubcsvin, {dir + "/short.csv"}, 0, 305923, "\ti8=2\ti10=1\ti11=2" + s0 + "/short.csv"},
        {ubcsvin, {dir + "/short.csv", "1 0"}, 0, 305934, s0.substr(0, 4) + "1 0"},
        {ubcsvin, {dir + "/short.csv", "1 3"}, 0, 305935, "\ti8=2\ti10=1\ti11=3"},
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

// Runs CSVIN over a file with the column list given (none when empty) and returns the
// first `count` outputs of each row it gives, until the run is asked to end.
std::vector<std::vector<float>> readAll(const std::string& file, const std::string& columns, int count,
                                        std::vector<vireo_test::TraceRecord>* messages = nullptr) {
    const MessageCapture trace;
    std::vector<std::string> strings{file};
    if (!columns.empty()) strings.push_back(columns);
    Block in(ubcsvin, 2, {}, {}, strings);
    in.init();
    std::vector<std::vector<float>> rows;
    bool stop = in.IP[0] != 0;
    while (!stop) {
        in.call(stop);
        if (!stop) rows.emplace_back(in.OUT.begin(), in.OUT.begin() + count);
    }
    if (messages != nullptr) *messages = trace.records();
    return rows;
}

TEST(Csv, OneSeparatorPerFileAndEveryFieldReadIsANumberFromEndToEnd) {
    const std::string dir = vireo_test::scratchDirectory("csv");
    std::vector<vireo_test::TraceRecord> said;
    // Semicolons between fields and a decimal comma: refused at the field, not read as
    // 0 and 5 with the 1 dropped, with the message that says how to convert the file.
    writeFile(dir + "/comma.csv", "a;b\n0;5,1\n");
    EXPECT_TRUE(readAll(dir + "/comma.csv", "", 2, &said).empty());
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].code(), 305936);
    EXPECT_EQ(said[0]["s0"], dir + "/comma.csv");
    EXPECT_EQ(said[0]["i8"], "2");
    EXPECT_EQ(said[0]["i10"], "2");
    EXPECT_EQ(said[0]["s2"], "5,1");
    // The same in the middle of a file: the run stops at that row.
    writeFile(dir + "/later.csv", "a;b\n0;5\n1 ; 6\n2;7,5\n");
    EXPECT_EQ(readAll(dir + "/later.csv", "", 2, &said), (std::vector<std::vector<float>>{{0, 5}, {1, 6}}));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0]["i8"], "4");
    EXPECT_EQ(said[0]["s2"], "7,5");
    // Semicolons with decimal points, tabs with blanks around fields, commas, and blanks
    // alone: each read as its first line says.
    const std::vector<std::vector<float>> both{{1.5f, -2}, {3, 4.25f}};
    for (const std::string text : {"x;y\n1.5;-2\n3;4.25\n", "x\ty\n 1.5 \t -2\n3\t4.25\n", "1.5, -2\n3 ,4.25\n",
                                   "x y\n1.5  -2\n\t3 4.25\n"}) {
        writeFile(dir + "/ok.csv", text);
        EXPECT_EQ(readAll(dir + "/ok.csv", "", 2, &said), both) << text;
        EXPECT_EQ(said.size(), 1u) << text;  // the end of the file
    }
    // A comma-separated file holding a semicolon: the field is refused.
    writeFile(dir + "/mixed.csv", "1,2\n3;4,5\n");
    EXPECT_EQ(readAll(dir + "/mixed.csv", "", 2, &said), (std::vector<std::vector<float>>{{1, 2}}));
    EXPECT_EQ(said[0]["i10"], "1");
    EXPECT_EQ(said[0]["s2"], "3;4");
}

TEST(Csv, ColumnListReadsOnlyTheColumnsItNamesInItsOrder) {
    const std::string dir = vireo_test::scratchDirectory("csv");
    writeFile(dir + "/weather.csv",
              "time,flag,ghi,note,temperature\n"
              "2023-01-01T00:30,ok,0,night,-3.5\n"
              "2023-01-01T01:30,missing,12.5,,-3.25\n");
    std::vector<vireo_test::TraceRecord> said;
    EXPECT_EQ(readAll(dir + "/weather.csv", "5 3", 3, &said),
              (std::vector<std::vector<float>>{{-3.5f, 0, 0}, {-3.25f, 12.5f, 0}}));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].code(), 105927);
    EXPECT_EQ(readAll(dir + "/weather.csv", " 3,5 ", 2), (std::vector<std::vector<float>>{{0, -3.5f}, {12.5f, -3.25f}}));
    // Without the list the time stamp is a field like any other: the first row after the
    // header is refused, naming it.
    EXPECT_TRUE(readAll(dir + "/weather.csv", "", 2, &said).empty());
    EXPECT_EQ(said[0].code(), 305922);
    EXPECT_EQ(said[0]["i10"], "1");
    EXPECT_EQ(said[0]["s2"], "2023-01-01T00:30");
    // A listed column that holds text is refused like any field.
    EXPECT_TRUE(readAll(dir + "/weather.csv", "3 2", 2, &said).empty());
    EXPECT_EQ(said[0]["i10"], "2");
    EXPECT_EQ(said[0]["s2"], "ok");
    // Lists that name no column, or more columns than there are outputs, are refused at
    // initialisation.
    for (const std::string list : {"x", "3 -1", "0", "2.5", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21"}) {
        EXPECT_TRUE(readAll(dir + "/weather.csv", list, 1, &said).empty()) << list;
        ASSERT_EQ(said.size(), 1u) << list;
        EXPECT_EQ(said[0].code(), 305934) << list;
    }
}
