// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include "logging.h"

#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>

#include <algorithm>
#include <iterator>
#include <utility>

namespace zirk {

namespace {

constexpr int kIconSizes[] = {ZIRK_ICON_SIZES};

// QIcon::addFile reads each file at once, on every platform, and loads every installed image plugin to learn
// what the file is. Here a size is read when it is asked for: X11 asks for every size as the window is
// created, the offscreen platform for none.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(QString pattern) : pattern_(std::move(pattern)) {}

    QIconEngine* clone() const override { return new DrawnIconEngine(pattern_); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int size : kIconSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }

    // A size between two drawn ones is the next larger drawing made smaller. The window's icon is never shown
    // disabled or selected, so every mode shows the same picture.
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int wanted = std::max(size.width(), size.height());
        const auto larger = std::find_if(std::begin(kIconSizes), std::end(kIconSizes),
                                         [wanted](int drawn) { return drawn >= wanted; });
        const int drawn = larger == std::end(kIconSizes) ? kIconSizes[std::size(kIconSizes) - 1] : *larger;
        const QPixmap picture = loadPicture(pattern_.arg(drawn).toUtf8().constData());
        if (picture.isNull() || picture.size() == size) return picture;
        return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    QString pattern_;
};

} // namespace

QPixmap loadPicture(const char* path) {
    const QString name = QString::fromUtf8(path);
    QPixmap picture;
    if (QPixmapCache::find(name, &picture)) return picture;
    // Named, the format is read by Qt's own reader at once; left to be guessed, every image plugin installed
    // on the system is loaded and asked first.
    QImageReader reader(name, QFileInfo(name).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        qCWarning(lcPictures) << "cannot read the picture" << name << ":" << reader.errorString();
    picture = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(name, picture);
    return picture;
}

QIcon loadIcon(const char* path) {
    const QString name = QFileInfo(QString::fromUtf8(path)).completeBaseName();
    return QIcon(new DrawnIconEngine(QStringLiteral(":/icons/%1_%2.png").arg(name, QStringLiteral("%1"))));
}

} // namespace zirk
