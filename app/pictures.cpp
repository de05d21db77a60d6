#include "pictures.h"

#include "bitmaps.h"
#include "logging.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPixmapCache>
#include <QResource>

#include <utility>

namespace zirk {

QPixmap loadPicture(const char* path) {
    const QString name = QString::fromUtf8(path);
    QPixmap picture;
    if (QPixmapCache::find(name, &picture)) return picture;
    // The pictures compiled into the program are read by the window's own reader (see bitmaps.h).
    QImage image;
    const QResource resource(name);
    if (resource.isValid()) image = readWindowsBitmap(resource.uncompressedData());
    if (image.isNull()) {
        // Named, the format is read by Qt's own reader at once; left to be guessed, every image plugin
        // installed on the system is loaded and asked first.
        QImageReader reader(name, QFileInfo(name).suffix().toLatin1());
        reader.setAutoDetectImageFormat(false);
        image = reader.read();
        if (image.isNull())
            qCWarning(lcPictures) << "cannot read the picture" << name << ":" << reader.errorString();
    }
    picture = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(name, picture);
    return picture;
}

} // namespace zirk
