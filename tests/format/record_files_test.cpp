// Direct-access and sequential record files, checked byte for byte on disk.
#include "vireo/format/RecordFiles.h"

#include "run_vireo.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vireo::format;
using vireo_test::readFile;
using vireo_test::scratchDirectory;
using vireo_test::writeFile;

namespace {

int lineEnd() {
    int n = 0;
    getlenoflf(&n);
    return n;
}

}  // namespace

TEST(DirectFile, ReadsAndWritesRecordsInPlace) {
    const std::string path = scratchDirectory("format-direct") + "/index.ind";
    writeFile(path, "00001\r\n00002\r\n00003\r\n");
    DirectFile file;
    ASSERT_EQ(lineEnd(), 2);
    ASSERT_TRUE(file.open(path, 5, lineEnd()).ok());
    EXPECT_EQ(file.recordLength(), 7);
    EXPECT_EQ(file.recordCount(), 3);

    std::string chars;
    ASSERT_TRUE(file.read(2, chars).ok());
    EXPECT_EQ(chars, "00002");
    int n = 0;
    ASSERT_TRUE(file.read(3, Format("(I5)"), {Item(n)}).ok());
    EXPECT_EQ(n, 3);

    ASSERT_TRUE(file.write(2, Format("(I5.5)"), {42}).ok());
    ASSERT_TRUE(file.write(4, "ab").ok());  // the record after the last: the file grows
    EXPECT_EQ(file.recordCount(), 4);
    EXPECT_EQ(readFile(path), "00001\r\n00042\r\n00003\r\nab   \r\n");

    // Past the end, and numbers that no record has.
    EXPECT_EQ(file.read(5, chars).code, Code::endOfFile);
    EXPECT_EQ(file.read(0, chars).code, Code::badRecordNumber);
    EXPECT_EQ(file.write(6, "x").code, Code::badRecordNumber);  // would leave a gap
    EXPECT_EQ(file.write(0, "x").code, Code::badRecordNumber);
    EXPECT_EQ(file.read(1, Format("(I5/I5)"), {Item(n), Item(n)}).code, Code::endOfFile);
    EXPECT_EQ(readFile(path), "00001\r\n00042\r\n00003\r\nab   \r\n");
}

TEST(DirectFile, RefusedWritesLeaveTheFileUntouched) {
    const std::string path = scratchDirectory("format-refused") + "/sites.loc";
    const std::string before = "HEADER   00001\r\n";
    writeFile(path, before);
    DirectFile file;
    ASSERT_TRUE(file.open(path, 14, 2).ok());
    // A value that would be written as asterisks could never be read back.
    const Status overflow = file.write(2, Format("(A9,I5.5)"), {"SITE", 123456});
    EXPECT_EQ(overflow.code, Code::fieldOverflow);
    EXPECT_EQ(overflow.where, 2);
    EXPECT_EQ(file.write(2, Format("(A9,I5.5)"), {"SITE", -1}).code, Code::fieldOverflow);
    EXPECT_EQ(file.write(1, std::string(15, 'x')).code, Code::recordTooLong);
    EXPECT_EQ(file.write(1, Format("(A9/I5)"), {"a", 1}).code, Code::recordTooLong);
    EXPECT_EQ(file.write(1, Format("(A9,F5.1)"), {"a", 1}).code, Code::typeMismatch);
    EXPECT_EQ(readFile(path), before);
    ASSERT_TRUE(file.write(2, Format("(A9,I5.5)"), {"SITE", 99999}).ok());
    EXPECT_EQ(readFile(path), before + "     SITE99999\r\n");
}

TEST(DirectFile, ForeignLineEndsAndTruncatedRecordsAreNotRead) {
    const std::string dir = scratchDirectory("format-foreign");
    writeFile(dir + "/lf.dat", "00001\n00002\n00003\n");
    DirectFile lf;
    ASSERT_TRUE(lf.open(dir + "/lf.dat", 5, 2).ok());
    std::string chars;
    const Status shifted = lf.read(1, chars);
    EXPECT_EQ(shifted.code, Code::badLineEnd);
    EXPECT_EQ(shifted.where, 1);

    writeFile(dir + "/cut.dat", "00001\r\n000");
    DirectFile cut;
    ASSERT_TRUE(cut.open(dir + "/cut.dat", 5, 2).ok());
    EXPECT_EQ(cut.recordCount(), 1);
    EXPECT_EQ(cut.read(2, chars).code, Code::endOfFile);
    // The partial record is the record after the last: it can be written whole.
    ASSERT_TRUE(cut.write(2, "00002").ok());
    EXPECT_EQ(readFile(dir + "/cut.dat"), "00001\r\n00002\r\n");

    // Other line-end counts.
    writeFile(dir + "/plain.dat", "ab\ncd\n");
    DirectFile plain;
    ASSERT_TRUE(plain.open(dir + "/plain.dat", 2, 1).ok());
    ASSERT_TRUE(plain.read(2, chars).ok());
    EXPECT_EQ(chars, "cd");
}

TEST(DirectFile, OpenFailuresAndClosedFiles) {
    const std::string dir = scratchDirectory("format-open");
    DirectFile file;
    const Status missing = file.open(dir + "/vireoWeather.dat", 47, 2);
    EXPECT_EQ(missing.code, Code::ioError);
    EXPECT_EQ(missing.where, ENOENT);
    EXPECT_FALSE(fileExists(dir + "/vireoWeather.dat"));  // never created
    EXPECT_EQ(file.open(dir, 47, 2).code, Code::ioError);
    writeFile(dir + "/x", "");
    EXPECT_EQ(file.open(dir + "/x", 0, 2).code, Code::recordTooLong);
    EXPECT_EQ(file.open(dir + "/x", 5, 3).code, Code::badLineEnd);
    std::string chars;
    EXPECT_EQ(file.read(1, chars).code, Code::notOpen);
    EXPECT_EQ(file.write(1, "a").code, Code::notOpen);
    EXPECT_EQ(file.recordCount(), 0);
}

// A file that may not be written is opened for reading: it reads, and a write fails and
// changes nothing. Permissions do not bind the superuser, so as root the check runs in a
// child that has given its privileges up, else on a file made immutable, else through the
// open for reading alone.
TEST(DirectFile, ReadOnlyFilesReadButDoNotWrite) {
    const std::string dir = scratchDirectory("format-readonly");
    const std::string path = dir + "/ro.dat";
    writeFile(path, "abc\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // 0 when all holds, else the step that failed.
    const auto check = [](const std::string& file, DirectFile::Access access) {
        DirectFile f;
        std::string chars;
        if (!f.open(file, 3, 2, access).ok()) return 1;
        if (f.writable()) return 2;
        if (!f.read(1, chars).ok() || chars != "abc") return 3;
        return f.write(1, "xyz").code == Code::ioError ? 0 : 4;
    };
    constexpr int kUnavailable = 100;
    int result = kUnavailable;
    const char* how = "as the user";
    if (::geteuid() != 0) {
        result = check(path, DirectFile::Access::readWrite);
    } else {
        how = "as nobody";
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // In the directory first: the path above it need not be open to others.
            if (::chdir(dir.c_str()) != 0 || ::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0 ||
                ::geteuid() == 0)
                ::_exit(kUnavailable);
            ::_exit(check("ro.dat", DirectFile::Access::readWrite));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (result == kUnavailable) {
        how = "immutable";
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            const int immutable = flags | FS_IMMUTABLE_FL;
            if (::ioctl(fd, FS_IOC_SETFLAGS, &immutable) == 0) {
                result = check(path, DirectFile::Access::readWrite);
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
        }
        if (fd >= 0) ::close(fd);
    }
    if (result == kUnavailable) {
        how = "opened for reading";
        result = check(path, DirectFile::Access::readOnly);
    }
    EXPECT_EQ(result, 0) << how;
    EXPECT_EQ(readFile(path), "abc\r\n");
}

TEST(SequentialFile, RecordsRewindAndLineNumbers) {
    const std::string dir = scratchDirectory("format-sequential");
    const std::string path = dir + "/soil.txt";
    writeFile(path, "header\r\n 1 2.5\n\n3,4\r");
    SequentialFile file;
    std::string record;
    EXPECT_EQ(file.next(record).code, Code::notOpen);
    EXPECT_EQ(file.rewind().code, Code::notOpen);
    ASSERT_TRUE(file.open(path).ok());
    ASSERT_TRUE(read(file, Format("(1X)"), {}).ok());
    float key = 0, value = 0;
    ASSERT_TRUE(read(file, Format("*"), {Item(key), Item(value)}).ok());
    EXPECT_FLOAT_EQ(value, 2.5f);
    EXPECT_EQ(file.recordNumber(), 2);
    // A blank record between values is skipped by a list-directed read.
    ASSERT_TRUE(read(file, Format("*"), {Item(key), Item(value)}).ok());
    EXPECT_FLOAT_EQ(key, 3.0f);
    EXPECT_FLOAT_EQ(value, 4.0f);  // the last line's CR is no part of the value
    EXPECT_EQ(file.recordNumber(), 4);
    EXPECT_EQ(file.next(record).code, Code::endOfFile);

    ASSERT_TRUE(file.rewind().ok());
    ASSERT_TRUE(file.next(record).ok());
    EXPECT_EQ(record, "header");
    EXPECT_EQ(file.recordNumber(), 1);

    EXPECT_EQ(file.open(dir + "/none.txt").code, Code::ioError);
    EXPECT_FALSE(file.isOpen());

    writeFile(dir + "/long.txt", std::string(kMaxRecordLength + 5, '1') + "\n7\n");
    ASSERT_TRUE(file.open(dir + "/long.txt").ok());
    EXPECT_EQ(file.next(record).code, Code::recordTooLong);
    ASSERT_TRUE(file.next(record).ok());
    EXPECT_EQ(record, "7");  // the long line does not run into the next
}

TEST(FileInquiry, ExistenceAndSize) {
    const std::string dir = scratchDirectory("format-inquire");
    writeFile(dir + "/a.loc", std::string(45, 'x'));
    EXPECT_TRUE(fileExists(dir + "/a.loc"));
    EXPECT_EQ(fileSize(dir + "/a.loc"), 45u);
    EXPECT_FALSE(fileExists(dir));
    EXPECT_FALSE(fileExists(dir + "/b.loc"));
    EXPECT_FALSE(fileSize(dir + "/b.loc").has_value());
}
