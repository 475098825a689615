#include "platform/files.h"

#include "platform/failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cstdio>

namespace platform {

namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
}

void setProgramFolder(const QString& folder) { folderOverride() = folder; }

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

QString besideProgram(const QString& name) { return joinPath(programFolder(), name); }

bool fileExists(const QString& path) { return QFileInfo(path).isFile(); }

void createFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw Failure(QStringLiteral("cannot create the folder %1").arg(path));
}

void deleteFile(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    if (!QFile::remove(path))
        throw Failure(QStringLiteral("cannot delete %1").arg(path));
}

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("cannot open %1").arg(path));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("cannot read %1").arg(path));
    return bytes;
}

void writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(QStringLiteral("cannot write %1").arg(path));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Failure(QStringLiteral("cannot write %1").arg(path));
}

void writeCacheFile(const QString& path, std::initializer_list<QByteArrayView> parts)
{
    // Beside the target, so that the rename stays within one file system.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open())
        throw Failure(QStringLiteral("cannot write %1").arg(path));
    for (QByteArrayView part : parts)
        if (file.write(part.data(), part.size()) != part.size())
            throw Failure(QStringLiteral("cannot write %1").arg(path));
    // A temporary file is private to its owner; the file it becomes is not.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    if (!file.flush())
        throw Failure(QStringLiteral("cannot write %1").arg(path));
    // rename(2) replaces the old file in one step (QFile::rename would refuse to).
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData())
        != 0)
        throw Failure(QStringLiteral("cannot write %1").arg(path));
    file.setAutoRemove(false);
}

} // namespace platform
