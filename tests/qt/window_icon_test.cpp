// The window icon read straight from the built-in file: the same pixels as the image plugin's.
#include <gtest/gtest.h>

#include <QImageReader>

#include "qt/window_icon.h"

TEST(WindowIcon, HoldsEachSizeOfTheFileAsTheImagePluginDecodesIt) {
    const QIcon icon = qlok::qt::BuiltInWindowIcon();
    QImageReader reader(QStringLiteral(":/qlok.ico"));
    int sizes = 0;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.depth() != 32 || image.text(QStringLiteral("_q_icoOrigDepth")) != "32") {
            continue;
        }
        ++sizes;
        EXPECT_EQ(icon.pixmap(image.size()).toImage().convertToFormat(QImage::Format_ARGB32),
                  image.convertToFormat(QImage::Format_ARGB32))
            << image.width();
    }
    EXPECT_EQ(sizes, 5);
}
