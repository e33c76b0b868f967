#include "FileAccess.h"

#include "Locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zenova {

QString fromLatin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toLatin1(const QString& text) { return text.toLatin1().toStdString(); }

std::optional<char32_t> beyondLatin1(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        if (c > 0xff) {
            return c;
        }
    }
    return std::nullopt;
}

QString beyondLatin1Message(const QString& text, char32_t character) {
    return QString("\"%1\" cannot be stored: the character \"%2\" (U+%3) is not one of the Western European "
                   "(Latin-1) characters the files hold. Please write it without that character.")
        .arg(text, QString::fromUcs4(&character, 1),
             QString::number(static_cast<uint>(character), 16).toUpper().rightJustified(4, '0'));
}

QString findLocationFile(const QString& folder) {
    const QDir dir(folder);
    const QString exact = fromLatin1(kLocationFileName);
    if (QFileInfo(dir.filePath(exact)).isFile()) {
        return dir.filePath(exact);
    }
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (name.compare(exact, Qt::CaseInsensitive) == 0) {
            return dir.filePath(name);
        }
    }
    return {};
}

namespace {

// How long a replacement waits for another to let go of the folder: 5 s in steps of 10 ms.
constexpr int kLockWaits = 500;
constexpr std::chrono::milliseconds kLockWait{10};

QString systemError(int error) { return QString::fromStdString(std::generic_category().message(error)); }

// The file a path finally names: a link is followed, so that the file it points to is
// replaced and the link stays a link.
QString finalTarget(const QString& path) {
    QString target = QFileInfo(path).absoluteFilePath();
    for (int links = 0; links < 40 && QFileInfo(target).isSymLink(); ++links) {
        target = QFileInfo(target).symLinkTarget();
    }
    return target;
}

// A new file gets what the user's umask allows.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void takeStatus(FileStamp& stamp, const struct stat& status) {
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(status.st_dev);
    stamp.inode = static_cast<std::uint64_t>(status.st_ino);
    stamp.size = static_cast<std::int64_t>(status.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

// Closes a descriptor when it goes, which also lets go of a lock taken on it.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Writes into a new file beside the file a path finally names and puts it in that file's
// place; written, when given, gets the new file's stamp.
QString writeReplacing(const QString& path, const QByteArray& bytes, FileStamp* written) {
    if (path.isEmpty()) {
        return systemError(ENOENT);
    }
    const QString target = finalTarget(path);
    const QFileInfo info(target);
    const QByteArray finalName = QFile::encodeName(target);
    // A file the user made read-only stays as it is, though its folder would let it be
    // replaced.
    if (::faccessat(AT_FDCWD, finalName.constData(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        return systemError(errno);
    }
    QByteArray temporary = QFile::encodeName(info.absolutePath() + "/." + info.fileName() + ".XXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return systemError(errno);
    }
    const auto fail = [&](int error, bool open) {
        if (open) {
            ::close(fd);
        }
        ::unlink(temporary.constData());
        return systemError(error);
    };
    // The old file's owner and mode go over to the new one where the file system keeps
    // them; one that has neither still keeps the contents.
    struct stat old {};
    if (::stat(finalName.constData(), &old) == 0) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        ::fchmod(fd, newFileMode());
    }

    // Every step is checked: a short write, a full disk or a file-size limit may show at the
    // write, at the sync or at the close, and then the old file must stay in place.
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<std::size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno, true);
        }
        if (written == 0) {
            return fail(ENOSPC, true);
        }
        next += written;
        left -= written;
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        return fail(errno, true);  // EINVAL, EROFS: a file that cannot be synchronised at all
    }
    // Taken from the new file itself: the rename keeps its identity, size and time.
    FileStamp stamp;
    if (struct stat status {}; written != nullptr && ::fstat(fd, &status) == 0) {
        takeStatus(stamp, status);
        stamp.bytes = bytes;
    }
    if (::close(fd) != 0) {
        return fail(errno, false);
    }
    if (::rename(temporary.constData(), finalName.constData()) != 0) {
        return fail(errno, false);
    }
    // The new name lasts through a power cut once the folder is synchronised too; the file
    // is in place either way.
    const QByteArray folderName = QFile::encodeName(info.absolutePath());
    if (const int folder = ::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    if (written != nullptr) {
        *written = std::move(stamp);
    }
    return {};
}

}  // namespace

FileStamp stampFile(const QString& path) {
    FileStamp stamp;
    const QByteArray name = QFile::encodeName(finalTarget(path));
    // Not blocking: a pipe under the name must not hold the program up.
    const Descriptor file(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (file.get() < 0) {
        const int error = errno;
        if (::stat(name.constData(), &status) == 0) {
            takeStatus(stamp, status);
            stamp.readError = systemError(error);
        }
        return stamp;  // none there, or one that cannot be opened
    }
    if (::fstat(file.get(), &status) != 0) {
        stamp.exists = true;
        stamp.readError = systemError(errno);
        return stamp;
    }
    takeStatus(stamp, status);
    if (!S_ISREG(status.st_mode)) {
        stamp.readError = S_ISDIR(status.st_mode) ? systemError(EISDIR) : QString("not a regular file");
        return stamp;
    }
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got > 0) {
            stamp.bytes.append(buffer, static_cast<qsizetype>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            stamp.readError = systemError(errno);
            stamp.bytes.clear();
            break;
        }
    }
    return stamp;
}

QString writeWholeFile(const QString& path, const QByteArray& bytes) { return writeReplacing(path, bytes, nullptr); }

Replacement replaceFile(const QString& path,
                        const std::function<std::optional<QByteArray>(const FileStamp& now)>& compose) {
    Replacement result;
    if (path.isEmpty()) {
        result.error = systemError(ENOENT);
        return result;
    }
    const QString target = finalTarget(path);
    // Held until the new file is in place. Another window holds it for a look and a write; one
    // that does not let go (a program stuck on a lost disk) is waited for a few seconds, and
    // on a file system without locks the look before the write has to do.
    const Descriptor folder(
        ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (int wait = 0; folder.get() >= 0 && wait < kLockWaits && ::flock(folder.get(), LOCK_EX | LOCK_NB) != 0 &&
                       (errno == EWOULDBLOCK || errno == EINTR);
         ++wait) {
        std::this_thread::sleep_for(kLockWait);
    }
    if (const std::optional<QByteArray> bytes = compose(stampFile(target))) {
        result.error = writeReplacing(target, *bytes, &result.stamp);
        result.written = result.error.isEmpty();
    }
    return result;
}

QString writeFailureMessage(const QString& path, const QString& error) {
    return QString("\"%1\" could not be written (%2). The file was left as it was.")
        .arg(QDir::toNativeSeparators(path), error);
}

}  // namespace zenova
