// The program's own files on disk: the location list found in its folder, whole files read,
// and files written so that a failure never leaves half a file. Their contents are Latin-1
// bytes, one per character.
#ifndef ZENOVA_FILE_ACCESS_H
#define ZENOVA_FILE_ACCESS_H

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zenova {

QString fromLatin1(std::string_view bytes);
// Characters beyond Latin-1 become "?": a text bound for a file is checked first.
std::string toLatin1(const QString& text);

// The files hold Latin-1 and nothing else. The first character of a text beyond it, if any,
// as a code point.
std::optional<char32_t> beyondLatin1(const QString& text);

// The message refusing a text that holds such a character, naming it.
QString beyondLatin1Message(const QString& text, char32_t character);

// The location list in a folder: the file of its exact name, or else one whose name differs
// only in letter case; empty when there is none.
QString findLocationFile(const QString& folder);

// A file as this program last read or wrote it, to tell whether another program (another
// window) has changed it since: its identity, size and time of change, and its bytes, for a
// change within the clock's granularity keeps size and time.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    QByteArray bytes;
    QString readError;  // why the file could not be read, its bytes then empty
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The file a path names as it stands now; a link is followed.
FileStamp stampFile(const QString& path);

// Replaces a file whole, as writeWholeFile does, while holding a lock on its folder that
// every replacement by this program takes. compose is shown the file as it stands under the
// lock and gives the bytes to write, or nothing to leave the file alone: a change another
// window writes between a look at the file and its replacement cannot be lost. compose must
// not wait for the user, who may be at the other window.
struct Replacement {
    bool written = false;
    QString error;    // what went wrong writing; empty when written or left alone
    FileStamp stamp;  // the file as written
};
Replacement replaceFile(const QString& path,
                        const std::function<std::optional<QByteArray>(const FileStamp& now)>& compose);

// Writes into a new file in the same folder and puts it in the file's place only when all
// of it is written and synchronised, so a failed write (at any step: open, write, sync,
// close, rename) leaves the old file whole. A link is followed. Empty, or what went wrong.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// The message for a file that could not be written.
QString writeFailureMessage(const QString& path, const QString& error);

}  // namespace zenova

#endif
