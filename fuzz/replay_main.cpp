// Runs a fuzz target on every stored input named on the command line (files, or
// folders of them), as the ordinary build's regression test: a crash, a sanitizer
// report or an escaped exception fails it.
#include "fuzz_target.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            // Dot files only keep empty folders in the tree.
            for (const QString& name : QDir(arg).entryList(QDir::Files, QDir::Name))
                inputs << QDir(arg).filePath(name);
        } else if (QFileInfo::exists(arg)) {
            inputs << arg;
        } else {
            std::fprintf(stderr, "replay: no such input: %s\n", argv[i]);
            return 2;
        }
    }
    for (const QString& path : inputs) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "replay: cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QByteArray data = f.readAll();
        std::fprintf(stderr, "replay: %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(data.size()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.constData()), data.size());
    }
    std::printf("replay: %lld inputs ran\n", static_cast<long long>(inputs.size()));
    return 0;
}
