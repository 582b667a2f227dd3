#include "app/WrappedLines.h"

#include <QApplication>
#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace {

// The preview's one-line messages, wrapped to its width.
TEST(WrappedLines, BreakBetweenWordsAndInsideOnlyAWordWiderThanTheLine)
{
    const QFont font = QApplication::font();
    const QFontMetricsF metrics(font);
    const QString message = QStringLiteral("Image #2: Cannot read the picture, it is no JPEG, PNG, BMP or GIF file");
    const qreal width = metrics.horizontalAdvance(QStringLiteral("Image #2: Cannot read the"));

    const QStringList lines = WrappedLines(message, font, width);
    ASSERT_GT(lines.size(), 1);
    EXPECT_EQ(lines.join(QString()), message);
    const QStringList words = message.split(QLatin1Char(' '));
    QStringList wordsOfLines;
    for (const QString& line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), width) << line.toStdString();
        wordsOfLines << line.trimmed().split(QLatin1Char(' '));
    }
    // No word was cut in two.
    EXPECT_EQ(wordsOfLines, words);

    // A path has nowhere to break but anywhere.
    const QString path = QStringLiteral("/home/ann/Pictures/holidays/2026/coast-at-dusk-from-the-lighthouse.jpg");
    const QStringList pathLines = WrappedLines(path, font, width);
    ASSERT_GT(pathLines.size(), 1);
    EXPECT_EQ(pathLines.join(QString()), path);
    for (const QString& line : pathLines)
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();

    EXPECT_EQ(WrappedLines(QStringLiteral("Loading a.jpg"), font, width), QStringList{QStringLiteral("Loading a.jpg")});
}

} // namespace
