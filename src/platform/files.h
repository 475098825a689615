#pragma once
#include <QByteArray>
#include <QString>
#include <initializer_list>

namespace platform {

// The program folder: the executable's folder, where the original kept every
// file "beside the program". Tests point it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);
// programFolder() + "/" + name
QString besideProgram(const QString& name);
QString joinPath(const QString& folder, const QString& name);

bool fileExists(const QString& path);
// Creates the folder (and its parents); an existing folder is no error.
void createFolder(const QString& path);
// A missing file is no error; a file that cannot be removed fails.
void deleteFile(const QString& path);

// Whole-file read and write. Failures throw platform::Failure.
QByteArray readWholeFile(const QString& path);
// Written completely or not at all (temporary file and rename), so a failure
// never leaves a half-written file in place of the old one.
// It reaches the disk before the call returns: for the learner's own files.
void writeWholeFile(const QString& path, const QByteArray& bytes);
// The parts one after another, also whole or not at all, but left to the system to
// put on the disk when it likes: for files the program builds again whenever they
// are missing (the sound files), where waiting for the disk buys nothing.
void writeCacheFile(const QString& path, std::initializer_list<QByteArrayView> parts);

} // namespace platform
