#include "FileAccess.h"

#include "Locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <system_error>

#include <fcntl.h>
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

std::optional<QByteArray> readWholeFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

namespace {

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

}  // namespace

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
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
    return {};
}

QString writeFailureMessage(const QString& path, const QString& error) {
    return QString("\"%1\" could not be written (%2). The file was left as it was.")
        .arg(QDir::toNativeSeparators(path), error);
}

}  // namespace zenova
