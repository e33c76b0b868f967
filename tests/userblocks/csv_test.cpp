// CSVOUT and CSVIN: what one writes the other reads back exactly; the reader's text
// forms and end-of-file rules; every file fault as a counted message; no file that a
// run does not own is destroyed.
#include "harness.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>

using vireo_test::readFile;
using vireo_test::writeFile;

TEST(Csv, WrittenRowsReadBackBitForBit) {
    const std::string file = vireo_test::scratchDirectory("csv") + "/out.csv";
    const std::vector<std::vector<float>> rows = {{0.1f, 1.0f / 3, -2.5e-7f},
                                                  {16777216.0f, 3.4028235e38f, 1e-40f},
                                                  {-0.0f, -3.4028235e38f, 123456.79f},
                                                  {1, 2, 3}};
    size_t k = 0;
    Block src(1, 3, [&](Block& b) { b.OUT = rows[k++ % rows.size()]; });
    Block out(ubcsvout, 2, outputs(src, 1, 3), {}, {file, "a, b"});
    initAll({&src, &out});
    bool stop = false;
    for (size_t i = 0; i < rows.size(); ++i) src.call(stop), out.call(stop);
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
    EXPECT_EQ(said[0].code(), 305940);
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
    // Values a float holds but no measurement is, refused like one beyond the range.
    for (const std::string field : {"1e39", "nan", "-NaN", "inf", "-Infinity"}) {
        writeFile(dir + "/special.csv", "1,2\n3," + field + "\n");
        EXPECT_EQ(readAll(dir + "/special.csv", "", 2, &said), (std::vector<std::vector<float>>{{1, 2}})) << field;
        ASSERT_EQ(said.size(), 1u) << field;
        EXPECT_EQ(said[0].code(), 305922) << field;
        EXPECT_EQ(said[0]["s2"], field);
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

// A result file is created afresh only when the run steps: a check (-s, -l), or a run
// that another block's initialisation keeps from starting, leaves the old file alone.
TEST(Csv, ResultFileIsStartedOnlyWhenTheRunSteps) {
    const std::string file = vireo_test::scratchDirectory("csv") + "/out.csv";
    Block one(1, 1, [](Block& b) { b.OUT[0] = 7; });
    for (const int stepsBeforeEnd : {-1, 0, 1}) {  // -1: not even the run steps
        writeFile(file, "a run before\n");
        vireo_tools_run_begins();
        Block out(ubcsvout, 2, {{&one, 1}}, {}, {file});
        out.init();
        EXPECT_EQ(readFile(file), "a run before\n");
        if (stepsBeforeEnd >= 0) vireo_tools_run_steps();
        bool stop = false;
        for (int i = 0; i < stepsBeforeEnd; ++i) one.call(stop), out.call(stop);
        stop = true;
        out.call(stop);
        EXPECT_EQ(readFile(file), stepsBeforeEnd < 0 ? "a run before\n" : stepsBeforeEnd == 0 ? "in1\n" : "in1\n7\n");
    }
    vireo_tools_run_begins();
}

// A block never writes a file that another block of the run reads or writes: files are
// compared as the file system knows them, not by their names.
TEST(Csv, NoBlockWritesAFileAnotherBlockOfTheRunUses) {
    namespace fs = std::filesystem;
    const std::string dir = vireo_test::scratchDirectory("csv");
    const std::string input = "t,g\n1,2\n3,4\n";
    writeFile(dir + "/in.csv", input);
    fs::create_symlink(dir + "/in.csv", dir + "/link.csv");
    fs::create_hard_link(dir + "/in.csv", dir + "/hard.csv");
    fs::create_directories(dir + "/sub");
    fs::create_directory_symlink(dir + "/sub", dir + "/sublink");
    fs::create_symlink("later.csv", dir + "/dangling.csv");  // a link to a file still to be made
    Block one(1, 1, [](Block& b) { b.OUT[0] = 1; });
    struct Case {
        BlockFunction first, second;
        std::string firstName, secondName;
        int code;  // of the second block; 0: both may be
    };
    const std::vector<Case> cases = {
        {ubcsvin, ubcsvout, dir + "/in.csv", dir + "/./in.csv", 305937},
        {ubcsvin, ubcsvout, dir + "/in.csv", dir + "/sub/../link.csv", 305937},
        {ubcsvout, ubcsvin, dir + "/hard.csv", dir + "/in.csv", 305938},
        {ubcsvout, ubcsvout, dir + "/new.csv", dir + "/sub/../new.csv", 305936},
        {ubcsvout, ubcsvout, dir + "/sublink/new.csv", dir + "/sub/new.csv", 305936},
        {ubcsvout, ubcsvout, dir + "/dangling.csv", dir + "/later.csv", 305936},
        {ubcsvin, ubcsvin, dir + "/in.csv", dir + "/link.csv", 0},
        {ubcsvout, ubcsvout, dir + "/new.csv", dir + "/sub/new.csv", 0},
    };
    for (const Case& c : cases) {
        vireo_tools_run_begins();
        const MessageCapture trace;
        auto place = [&](BlockFunction fn, int number, const std::string& name) {
            const bool writer = fn == ubcsvout;
            return std::make_unique<Block>(fn, number, writer ? std::vector<Source>{{&one, 1}} : std::vector<Source>{},
                                           std::vector<float>{}, std::vector<std::string>{name});
        };
        auto first = place(c.first, 3, c.firstName);
        auto second = place(c.second, 4, c.secondName);
        first->init();
        EXPECT_EQ(first->IP[0], 0);
        second->init();
        const std::string what = c.firstName + " then " + c.secondName;
        EXPECT_EQ(second->IP[0], c.code) << what;  // an error: the run does not start
        bool stop = false;
        if (c.code == 0) {
            vireo_tools_run_steps();
            for (int i = 0; i < 2 && !stop; ++i) one.call(stop), first->call(stop), second->call(stop);
        }
        stop = true;
        first->call(stop), second->call(stop);
        EXPECT_EQ(readFile(dir + "/in.csv"), input) << what;
        if (c.code == 0) {
            EXPECT_TRUE(trace.codes().empty()) << what;
            continue;
        }
        ASSERT_EQ(trace.codes(), std::vector<int>{c.code}) << what;
        EXPECT_EQ(trace.records()[0]["i3"], "4");
        EXPECT_EQ(trace.records()[0]["i10"], "3");  // the other block, by number and name
        EXPECT_EQ(trace.records()[0]["s2"], c.first == ubcsvin ? "CSVIN" : "CSVOUT");
    }
    vireo_tools_run_begins();
}

// Two runs writing one file at once: the run that holds the file goes on, and the other
// is refused (a counted error naming the file) without touching it, whether the file
// stood before both runs or the first run made it after the second was checked. Each
// run has its own list of claimed files; the lock is what they share.
TEST(Csv, ASecondRunWritingTheSameFileIsRefusedAndTouchesNothing) {
    const std::string file = vireo_test::scratchDirectory("csv") + "/out.csv";
    float value = 0;
    Block counter(1, 1, [&](Block& b) { b.OUT[0] = ++value; });
    Block other(1, 1, [](Block& b) { b.OUT[0] = -123456; });
    for (const bool existed : {true, false}) {
        SCOPED_TRACE(existed ? "the file stood before" : "the first run made the file");
        value = 0;
        std::filesystem::remove(file);
        if (existed) writeFile(file, "a run before\n");
        Block first(ubcsvout, 2, {{&counter, 1}}, {}, {file});
        Block second(ubcsvout, 3, {{&other, 1}}, {}, {file});
        const MessageCapture trace;
        vireo_tools_reset_error_count();
        // The second run is initialised after the first has started the file, or before
        // the first made it; it steps (as the engine would) when its initialisation passed.
        auto checkSecond = [&] {
            vireo_tools_run_begins();
            second.init();
        };
        if (!existed) checkSecond();
        vireo_tools_run_begins();
        first.init();
        vireo_tools_run_steps();
        bool stop = false, secondStop = false;
        counter.call(stop), first.call(stop);
        if (existed) checkSecond();
        if (second.IP[0] == 0) {
            vireo_tools_run_steps();
            other.call(secondStop), second.call(secondStop);
        }
        EXPECT_TRUE(secondStop);  // refused when it would start the file
        counter.call(stop), first.call(stop);
        bool last = true;
        second.call(last), first.call(last);
        EXPECT_EQ(readFile(file), "in1\n1\n2\n");
        ASSERT_EQ(trace.codes(), std::vector<int>{305942});
        EXPECT_EQ(trace.records()[0]["i3"], "3");
        EXPECT_EQ(trace.records()[0]["s0"], file);
        EXPECT_EQ(vireo_tools_error_count(), 1);
    }
    vireo_tools_run_begins();
}

// Rows are held and written out in blocks, but never longer than a step after the last
// write-out is half a second old, and at once when a library ends the process or the run
// pauses.
TEST(Csv, HeldRowsReachTheFileWithinASecondAndBeforeTheProcessEnds) {
    const std::string file = vireo_test::scratchDirectory("csv") + "/out.csv";
    float value = 0;
    Block counter(1, 1, [&](Block& b) { b.OUT[0] = ++value; });
    Block out(ubcsvout, 2, {{&counter, 1}}, {}, {file});
    vireo_tools_run_begins();
    out.init();
    vireo_tools_run_steps();
    bool stop = false;
    // The first row goes out with the header, which is no row's write-out: a run of slow
    // steps does not hold it through the second.
    counter.call(stop), out.call(stop);
    EXPECT_EQ(readFile(file), "in1\n1\n");
    counter.call(stop), out.call(stop);
    EXPECT_EQ(readFile(file), "in1\n1\n");  // held: no write for every row
    vireo_tools_process_ends();              // as the water and steam routines' fatal report
    EXPECT_EQ(readFile(file), "in1\n1\n2\n");
    counter.call(stop), out.call(stop);
    EXPECT_EQ(readFile(file), "in1\n1\n2\n");
    usleep(1000000);
    counter.call(stop), out.call(stop);
    EXPECT_EQ(readFile(file), "in1\n1\n2\n3\n4\n");
    // Slow steps: a row made half a second or more after the last write-out goes out at
    // once, though nothing was held before it.
    usleep(600000);
    counter.call(stop), out.call(stop);
    EXPECT_EQ(readFile(file), "in1\n1\n2\n3\n4\n5\n");
    counter.call(stop), out.call(stop);
    vireo_tools_write_pending();  // as the engine when the run pauses
    EXPECT_EQ(readFile(file), "in1\n1\n2\n3\n4\n5\n6\n");
    counter.call(stop), out.call(stop);
    stop = true;
    out.call(stop);
    EXPECT_EQ(readFile(file), "in1\n1\n2\n3\n4\n5\n6\n7\n");
    vireo_tools_process_ends();  // the block let its rows go at its last call
    EXPECT_EQ(readFile(file), "in1\n1\n2\n3\n4\n5\n6\n7\n");
    vireo_tools_run_begins();
}

// Through the real host and libraries: a check leaves the result file as it was, a block
// may not write the model's own text, and a file grown to the file-size limit is a
// reported write error that leaves whole rows (the process is not killed mid-row), as
// does a library that ends the process.
TEST(Csv, ChecksRefusalsAndFullFilesLeaveEveryFileWhole) {
    const std::string dir = vireo_test::scratchDirectory("csv-run");
    std::filesystem::create_directories(dir + "/no-user-blocks");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"}, {"VIREO_USER_BLOCKS", dir + "/no-user-blocks"}};
    // Many more rows than fit: the limit is met while the run steps, in a block of rows.
    const std::string model = "b 1 CALENDAR\np 1 2023 1 1 0 30000 0.1\nb 2 CSVOUT 1.1 1.6\np 2 'out.csv'\n";
    writeFile(dir + "/m.vireo", model);
    for (const char* option : {"-s", "-l"}) {
        writeFile(dir + "/out.csv", "a run before\n");
        const auto r = vireo_test::runVireo({"m.vireo", option}, o);
        EXPECT_EQ(r.exitStatus, 0) << option << r.out;
        EXPECT_EQ(readFile(dir + "/out.csv"), "a run before\n") << option;
    }

    // The model file and a file it includes, each named as the user wrote it.
    const std::string selfWriting = "b 1 CALENDAR\np 1 2023 1 1 0 3 1\ni 'parts.inc'\n";
    writeFile(dir + "/m2.vireo", selfWriting);
    for (const std::string target : {"./m2.vireo", "parts.inc"}) {
        const std::string parts = "b 2 CSVOUT 1.1\np 2 '" + target + "'\n";
        writeFile(dir + "/parts.inc", parts);
        const auto refused = vireo_test::runVireo({"m2.vireo"}, o);
        EXPECT_EQ(refused.exitStatus, 1);
        EXPECT_EQ(refused.codes(), (std::vector<int>{4001, 305939, 4007, 4004, 4999})) << target;
        const auto said =
            std::find_if(refused.trace.begin(), refused.trace.end(), [](auto& r) { return r.code() == 305939; });
        ASSERT_NE(said, refused.trace.end());
        EXPECT_EQ((*said)["s2"], target == "parts.inc" ? "parts.inc" : "m2.vireo");
        EXPECT_EQ(readFile(dir + "/m2.vireo"), selfWriting);
        EXPECT_EQ(readFile(dir + "/parts.inc"), parts);
    }

    o.fileSizeLimit = 8192;
    const auto full = vireo_test::runVireo({"m.vireo"}, o);
    EXPECT_EQ(full.exitStatus, 1) << full.out;  // an error, not the end by SIGXFSZ
    const auto codes = full.codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), 305912), codes.end()) << full.out;
    const std::string written = readFile(dir + "/out.csv");
    ASSERT_FALSE(written.empty());
    EXPECT_LE(written.size(), 8192u);
    EXPECT_EQ(written.back(), '\n');
    std::istringstream rows(written);
    std::string header, row;
    std::getline(rows, header);
    int count = 0;
    while (std::getline(rows, row)) {
        ++count;
        EXPECT_EQ(row, "2023," + std::to_string(count));  // each row whole, none lost
    }
    EXPECT_GT(count, 400);
    EXPECT_GT(8192 - written.size(), 0u);
    EXPECT_LT(8192 - written.size(), 12u);  // no more taken back than the row cut off

    // The water and steam routines end the process when the temperature, rising by a
    // degree a step, leaves their range: every row made before is in the file, whole.
    o.fileSizeLimit = 0;
    writeFile(dir + "/hot.vireo", "b 1 CALENDAR\np 1 2023 1 1 0 5000 1\nb 2 CONST\np 2 101325\n"
                                  "b 3 STEAM 1.6 2.1\nb 4 CSVOUT 1.6 3.1\np 4 'hot.csv'\n");
    const auto ended = vireo_test::runVireo({"hot.vireo"}, o);
    EXPECT_EQ(ended.exitStatus, 1) << ended.out;
    EXPECT_EQ(ended.out.find("End of VIREO run"), std::string::npos);  // not a run that closed its files
    std::istringstream hot(readFile(dir + "/hot.csv"));
    std::getline(hot, header);
    count = 0;
    while (std::getline(hot, row)) {
        ++count;
        EXPECT_EQ(row.substr(0, row.find(',') + 1), std::to_string(count) + ",");
        EXPECT_GT(row.size(), row.find(',') + 1);
    }
    EXPECT_GT(count, 500);
}
