// Writes the pictures of extreme proportions and the other hostile classes at full size into a
// folder, for bench/extreme_proportions.sh to time, and lists them with what loading them must
// give: "loads WIDTHxHEIGHT" or "refused".
#include "codecs/PictureCorpus.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_extreme_pictures FOLDER\n");
        return 2;
    }
    const std::vector<CorpusPicture> pictures = ExtremeProportionPictures();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")) || !WriteCorpus(pictures, folder)) {
        std::fprintf(stderr, "write_extreme_pictures: cannot write into %s\n", argv[1]);
        return 1;
    }
    for (const CorpusPicture& picture : pictures) {
        if (picture.mustLoad())
            std::printf("%s loads %dx%d\n", qPrintable(picture.name), picture.size.width(), picture.size.height());
        else
            std::printf("%s refused\n", qPrintable(picture.name));
    }
    return 0;
}
