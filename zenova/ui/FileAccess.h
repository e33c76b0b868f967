// The program's own files on disk: the location list found in its folder, whole files read,
// and files written so that a failure never leaves half a file. Their contents are Latin-1
// bytes, one per character.
#ifndef ZENOVA_FILE_ACCESS_H
#define ZENOVA_FILE_ACCESS_H

#include <QByteArray>
#include <QString>

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

// The whole file; empty with the reason in error when it cannot be read.
std::optional<QByteArray> readWholeFile(const QString& path, QString& error);

// Writes into a new file in the same folder and puts it in the file's place only when all
// of it is written and synchronised, so a failed write (at any step: open, write, sync,
// close, rename) leaves the old file whole. A link is followed. Empty, or what went wrong.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// The message for a file that could not be written.
QString writeFailureMessage(const QString& path, const QString& error);

}  // namespace zenova

#endif
