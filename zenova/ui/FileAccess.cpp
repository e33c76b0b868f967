#include "FileAccess.h"

#include "Locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zenova {

QString fromLatin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toLatin1(const QString& text) { return text.toLatin1().toStdString(); }

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

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

QString writeFailureMessage(const QString& path, const QString& error) {
    return QString("\"%1\" could not be written (%2). The file was left as it was.")
        .arg(QDir::toNativeSeparators(path), error);
}

}  // namespace zenova
