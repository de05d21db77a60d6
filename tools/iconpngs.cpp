// iconpngs ICON OUTDIR SIZE...
//
// Writes OUTDIR/<N>x<N>/apps/zirk.png for every SIZE, all from the window's own
// icon, so the desktop menu shows the picture the title bar shows. The icon is
// pixel art: nearest-neighbour scaling keeps its edges hard where smoothing
// would blur two-pixel walls into mush. Every PNG keeps an alpha channel
// because the icon's corners are transparent and themes draw it on any colour.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "iconpngs: %s\n", qPrintable(message));
    return EXIT_FAILURE;
}

} // namespace

int main(int argc, char* argv[]) {
    // A core application is enough to find the image plugins (ico, png) and, unlike a GUI one,
    // needs no platform plugin: the build machine may have no display.
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) return fail(QStringLiteral("usage: iconpngs ICON OUTDIR SIZE..."));

    QImageReader reader(args.at(1));
    QImage icon = reader.read();
    if (icon.isNull())
        return fail(QStringLiteral("cannot read %1: %2").arg(args.at(1), reader.errorString()));
    // An eight-bit icon comes back indexed or with a one-bit mask; scaling must see real alpha.
    icon = icon.convertToFormat(QImage::Format_ARGB32);

    const QDir out(args.at(2));
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size < 1 || size > 1024) return fail(QStringLiteral("not a size: %1").arg(args.at(i)));

        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!out.mkpath(folder)) return fail(QStringLiteral("cannot create %1").arg(out.filePath(folder)));

        const QImage scaled = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QString file = out.filePath(folder + QStringLiteral("/zirk.png"));
        if (!scaled.save(file, "PNG")) return fail(QStringLiteral("cannot write %1").arg(file));
    }
    return EXIT_SUCCESS;
}
