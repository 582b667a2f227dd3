#pragma once

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

// Picture files of one colour each, for a window test that needs files its job can load.
inline void SaveSolidPictureFiles(std::initializer_list<std::pair<QString, Qt::GlobalColor>> files, QSize size)
{
    for (const auto& [path, colour] : files) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path));
    }
}
