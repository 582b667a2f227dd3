// Writes the bad and unusual pictures of the tests into a folder, as seeds for the fuzzer.
#include "codecs/PictureCorpus.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seed_corpus FOLDER\n");
        return 2;
    }
    std::vector<CorpusPicture> seeds;
    for (CorpusPicture& picture : BadAndUnusualPictures())
        if (!picture.isFolder())
            seeds.push_back(std::move(picture));
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")) || !WriteCorpus(seeds, folder)) {
        std::fprintf(stderr, "write_seed_corpus: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
