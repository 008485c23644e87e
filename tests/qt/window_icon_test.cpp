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
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (image.text(QStringLiteral("_q_icoOrigDepth")) == "32") {  // not a palette image
            ++sizes;
            EXPECT_EQ(icon.pixmap(image.size()).toImage().convertToFormat(image.format()), image)
                << image.width();
        }
    }
    EXPECT_EQ(sizes, 5);
}
