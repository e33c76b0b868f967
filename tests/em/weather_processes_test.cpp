// The weather database shared by processes: two updates at once beside a reader, an
// update killed at each of its writes, and a hold that gives up.
#include "codes.h"
#include "database.h"
#include "files.h"
#include "weather_reader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

using namespace weather_test;
namespace db = vireo::em::weather;
namespace code = vireo::em::weather::code;

namespace {

class WeatherProcesses : public ::testing::Test {
protected:
    void SetUp() override { db::mtmclo(""); }
    void TearDown() override {
        db::setWriteHook({});
        db::setHoldWait(60000);
        db::mtmclo("");
    }
};

// Runs `body` in a child process; its exit status, or -1 when it did not exit.
int inChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::string siteName(char series, int i) {
    char name[8];
    std::snprintf(name, sizeof name, "%c%03d", series, i);
    return name;
}

// Twelve radiation values that only this site holds.
std::array<float, 12> radiationOf(char series, int i) {
    std::array<float, 12> v{};
    for (int m = 0; m < 12; ++m) v[static_cast<std::size_t>(m)] = static_cast<float>((i * 7 + m * 13 + (series - 'A') * 500) % 1000);
    return v;
}

int modify(const std::string& dir, const std::string& name, int code, const std::array<float, 12>& months) {
    db::Search q;
    q.name = name;
    q.latitude = 10.0f;
    q.longitude = 20.0f;
    return db::mtmmod(q, 100, db::command::modify, code, months, dir);
}

int fetch(const std::string& dir, const std::string& name, std::array<float, db::kMonthArray>& months) {
    db::Search q;
    q.name = name;
    return db::mtmget(q, months, dir);
}

bool holdsRadiation(const std::array<float, db::kMonthArray>& months, const std::array<float, 12>& expected) {
    return std::equal(expected.begin(), expected.end(), months.begin());
}

}  // namespace

// Two processes add 120 sites each to one database at the same time while a third reads
// them: every site of both is there afterwards with its own values, the files hang
// together, and the reader never got another site's values or a fault.
TEST_F(WeatherProcesses, TwoUpdatesAtOnceKeepEverySiteOfBoth) {
    constexpr int kSites = 120;
    const std::string dir = copyDatabase(emptyDatabase(), "weather-two-updates");
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    const auto start = [&] {
        char c;
        close(gate[1]);
        return read(gate[0], &c, 1) == 0;  // all wait for the gate to close
    };
    const auto writer = [&](char series) {
        return [&, series] {
            if (!start()) return 3;
            for (int i = 0; i < kSites; ++i)
                if (modify(dir, siteName(series, i), db::parameter::radiation, radiationOf(series, i)) != 0) return 1;
            return 0;
        };
    };
    const auto reader = [&] {
        if (!start()) return 3;
        for (int n = 0; n < 400; ++n) {
            const char series = n % 2 == 0 ? 'A' : 'B';
            const int i = (n * 37) % kSites;
            std::array<float, db::kMonthArray> months{};
            const int s = fetch(dir, siteName(series, i), months);
            if (s != 0 && s != db::kNotFound) return 1;
            if (s == 0 && !holdsRadiation(months, radiationOf(series, i))) return 2;
        }
        return 0;
    };
    std::vector<pid_t> children;
    for (const std::function<int()>& body : {std::function<int()>(writer('A')), std::function<int()>(writer('B')),
                                             std::function<int()>(reader)}) {
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) _exit(body());
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "process " << pid << " status " << status;
    }
    EXPECT_EQ(faultsOf(dir), std::vector<std::string>{});
    EXPECT_EQ(field(records(snapshot(dir).loc, 43)[1], 39, 5), 2 * kSites + 1);
    for (const char series : {'A', 'B'}) {
        for (int i = 0; i < kSites; ++i) {
            std::array<float, db::kMonthArray> months{};
            ASSERT_EQ(fetch(dir, siteName(series, i), months), 0) << siteName(series, i);
            EXPECT_TRUE(holdsRadiation(months, radiationOf(series, i))) << siteName(series, i);
        }
    }
}

// An update killed before each of its writes in turn leaves records at worst unused; the
// next update gives them back, so every record is in use or free, the sites the update did
// not touch keep their values, and no file is left beside the database's three.
TEST_F(WeatherProcesses, AnUpdateKilledAtAnyWriteLosesNoRecord) {
    struct Update {
        const char* what;
        std::function<int(const std::string&)> run;
    };
    const Update updates[] = {
        // A new site (an index record from the free list), its radiation (a data record from
        // the free list) and its wind (a data record appended).
        {"add", [](const std::string& dir) {
             const db::Hold hold(dir, db::Hold::updating);
             return modify(dir, "Aachen", db::parameter::radiation, radiationOf('A', 1)) +
                    modify(dir, "Aachen", db::parameter::wind, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
         }},
        // Every parameter of a site: three index rewrites, the site, its index record and four
        // data records released.
        {"delete", [](const std::string& dir) {
             const db::Hold hold(dir, db::Hold::updating);
             int status = 0;
             for (const int c : {1, 2, 3, 4}) {
                 db::Search q;
                 q.name = "Guarda";
                 status += db::mtmmod(q, 0, db::command::remove, c, std::array<float, 12>{}, dir);
             }
             return status;
         }},
    };
    const auto others = [](const std::string& dir) {
        std::vector<std::vector<float>> all;
        for (const char* name : {"BERGEN", "BERLIN", "Golden", "Tromso"}) {
            std::array<float, db::kMonthArray> months{};
            EXPECT_EQ(fetch(dir, name, months), 0) << name;
            all.emplace_back(months.begin(), months.end());
        }
        db::mtmclo("");
        return all;
    };
    const auto before = others(fixture());
    for (const Update& u : updates) {
        int killedAt = 1;
        for (;; ++killedAt) {
            const std::string dir = copyDatabase(fixture(), std::string("weather-killed-") + u.what);
            const int exit = inChild([&] {
                int writes = 0;
                db::setWriteHook([&writes, killedAt] {
                    if (++writes == killedAt) _exit(99);
                });
                return u.run(dir) == 0 ? 0 : 1;
            });
            if (exit == 0) break;  // the update ran to its end before this write
            ASSERT_EQ(exit, 99) << u.what << " killed at write " << killedAt;
            { const db::Hold next(dir, db::Hold::updating); }
            EXPECT_EQ(faultsOf(dir), std::vector<std::string>{}) << u.what << " killed at write " << killedAt;
            EXPECT_EQ(others(dir), before) << u.what << " killed at write " << killedAt;
            // nor a site file written anew that never took the old one's place
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3) << u.what << " killed at write " << killedAt;
        }
        EXPECT_GE(killedAt, 6) << u.what;  // so many writes were cut
    }
}

// A hold waits its bounded time for another process's lock and then gives up, naming the
// site file; nothing is read or written meanwhile.
TEST_F(WeatherProcesses, AHeldDatabaseIsWaitedForAndThenGivenUp) {
    const std::string dir = copyDatabase(fixture(), "weather-held");
    const Files before = snapshot(dir);
    const int other = open((dir + "vireoWeather.loc").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_SH), 0);  // another reader
    db::setHoldWait(300);
    std::array<float, db::kMonthArray> months{};
    EXPECT_EQ(fetch(dir, "BERN", months), 0);  // readers share
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(modify(dir, "Aachen", 1, {}), code::databaseBusy.number);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(waited, 0.3);
    EXPECT_LT(waited, 5.0);
    EXPECT_EQ(db::lastFault().file, dir + "vireoWeather.loc");
    ASSERT_EQ(flock(other, LOCK_EX), 0);  // another update
    EXPECT_EQ(fetch(dir, "BERN", months), code::databaseBusy.number);
    EXPECT_EQ(snapshot(dir), before);
    close(other);
    EXPECT_EQ(modify(dir, "Aachen", 1, {}), 0);
}
