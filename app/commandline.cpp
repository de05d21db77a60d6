// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "keyhelp.h"

#include <QCommandLineParser>
#include <QDir>

namespace zirk {

namespace {

const char* const kHelp =
    "Utilisation : zirk [FICHIER]\n"
    "Un labyrinthe à parcourir case par case, dont on ne voit que les 5 × 5 cases autour de soi.\n"
    "\n"
    "Arguments :\n"
    "  FICHIER        le labyrinthe à ouvrir dès que la fenêtre s’affiche, comme avec « Ouvrir »\n"
    "\n"
    "Options :\n"
    "  -h, --help     affiche cette aide et quitte\n"
    "  -v, --version  affiche la version et quitte\n"
    "\n"
    "Touches :\n";

CommandLine stop(int status, const QString& error) {
    CommandLine line;
    line.play = false;
    line.exitStatus = status;
    line.error = QStringLiteral("zirk : ") + error + QStringLiteral(" (zirk --help pour l’aide)\n");
    return line;
}

QString usage(const QString& sampleFolder) {
    QString text = QString::fromUtf8(kHelp);
    for (const QString& line : keyList())
        text += QStringLiteral("  ") + line + QLatin1Char('\n');
    return text + QStringLiteral("\nLabyrinthes d’exemple : ") +
           (sampleFolder.isEmpty() ? QStringLiteral("introuvables")
                                   : QDir::toNativeSeparators(sampleFolder)) +
           QLatin1Char('\n');
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments, const QString& sampleFolder) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return stop(2, unknown.isEmpty()
                           ? parser.errorText()
                           : QStringLiteral("option inconnue « %1 »").arg(unknown.constFirst()));
    }
    CommandLine line;
    if (parser.isSet(help) || parser.isSet(version)) {
        line.play = false;
        line.output = parser.isSet(help) ? usage(sampleFolder)
                                         : QStringLiteral("zirk %1\n").arg(QStringLiteral(ZIRK_VERSION));
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return stop(2, QStringLiteral("un seul fichier à la fois"));
    if (!files.isEmpty()) line.file = files.constFirst();
    return line;
}

CommandLine parseCommandLine(int argc, const char* const* argv, const QString& sampleFolder) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine line = parseCommandLine(arguments, sampleFolder);
    // A name that is not in the locale's encoding does not survive the trip through QString: the file is the
    // one argument that is not an option, so its bytes are taken from where it came.
    if (line.file) {
        for (int i = argc - 1; i > 0 && !line.path; --i)
            if (arguments[i] == *line.file) line.path = argv[i];
    }
    return line;
}

} // namespace zirk
