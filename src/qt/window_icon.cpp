#include "qt/window_icon.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtEndian>
#include <cstring>

namespace qlok::qt {

namespace {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "BGRA bytes are ARGB32 pixels only here");

struct IconFile {
    const QByteArray& bytes;

    bool Has(qsizetype at, qsizetype size) const {
        return at >= 0 && size >= 0 && at <= bytes.size() && size <= bytes.size() - at;
    }
    quint32 U16(qsizetype at) const { return qFromLittleEndian<quint16>(bytes.constData() + at); }
    qint32 I32(qsizetype at) const { return qFromLittleEndian<qint32>(bytes.constData() + at); }
};

}  // namespace

QIcon BuiltInWindowIcon() {
    QFile file(QStringLiteral(":/qlok.ico"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const IconFile ico{bytes};
    QIcon icon;
    const quint32 count = ico.Has(0, 6) ? ico.U16(4) : 0;
    for (quint32 i = 0; i < count && ico.Has(6 + 16 * i, 16); ++i) {
        const qsizetype entry = 6 + 16 * qsizetype{i};
        const qsizetype header = ico.I32(entry + 12);
        if (ico.U16(entry + 6) != 32 || !ico.Has(header, 40)) {
            continue;  // the palette images stand in for these colours on old screens only
        }
        // A bitmap header (its height counts the mask too), then the rows bottom up in BGRA.
        const int size = ico.I32(header + 4);
        const qsizetype rows = header + ico.I32(header);
        if (size <= 0 || size > 256 || ico.I32(header + 8) != 2 * size ||
            !ico.Has(rows, qsizetype{size} * size * 4)) {
            continue;
        }
        QImage image(size, size, QImage::Format_ARGB32);
        for (int y = 0; y < size; ++y) {
            std::memcpy(image.scanLine(y),
                        bytes.constData() + rows + qsizetype{size - 1 - y} * size * 4,
                        static_cast<std::size_t>(size) * 4);
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace qlok::qt
