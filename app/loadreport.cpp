// SPDX-License-Identifier: GPL-3.0-or-later
#include "loadreport.h"

#include <QFontMetrics>
#include <QStringList>

#include <array>

namespace zirk {

namespace {

enum class Notice {
    Missing,
    AccessRefused,
    Folder,
    Fifo,
    Device,
    Socket,
    LinkLoop,
    CannotOpen,
    ReadError,
    Empty,
    LongLine,
    PastLastRow,
    LineFeeds,
    Cancelled,
    NotNow,
    StartIsWall,
    NoWayOut,
    Count
};

// %1 is the file's name, %2 a line number.
constexpr std::array<const char*, static_cast<std::size_t>(Notice::Count)> kTexts{
    "Le fichier « %1 » n’existe pas.",
    "Le fichier « %1 » n’a pas pu être ouvert : l’accès est refusé.",
    "« %1 » est un dossier, pas un fichier de labyrinthe.",
    "« %1 » est un tube nommé (FIFO), pas un fichier ordinaire : il n’a pas été lu.",
    "« %1 » est un périphérique, pas un fichier ordinaire : il n’a pas été lu.",
    "« %1 » est une socket, pas un fichier ordinaire : il n’a pas été lu.",
    "« %1 » est une boucle de liens symboliques : aucun fichier au bout.",
    "Le fichier « %1 » n’a pas pu être ouvert.",
    "Le fichier « %1 » n’a pas pu être lu au-delà de la ligne %2 : les lignes lues avant restent.",
    "Le fichier « %1 » est vide.",
    "Le labyrinthe « %1 » a été coupé : la ligne %2 a plus de 100 cases, la lecture s’est arrêtée à la 101e. "
    "Les lignes lues avant restent.",
    "Le labyrinthe « %1 » a été coupé : il a plus de 100 lignes, la lecture s’est arrêtée à la ligne %2. "
    "Les 100 premières lignes restent.",
    "Le fichier « %1 » a des fins de ligne LF : à la ligne %2, un saut de ligne sans retour chariot avant "
    "lui a "
    "été lu comme un mur. Les labyrinthes du jeu terminent leurs lignes par CR LF ; convertissez le fichier "
    "avec "
    "« unix2dos %1 », ou choisissez les fins de ligne Windows (CR LF) dans les réglages de votre éditeur.",
    "La lecture de « %1 » a été annulée : le labyrinthe affiché reste.",
    "Le fichier « %1 » ne peut pas être lu pour l’instant : d’autres lectures attendent encore des fichiers "
    "qui ne répondent pas, ou le système refuse d’en commencer une. Le labyrinthe affiché reste.",
    "Dans le labyrinthe « %1 », la case de départ (2e caractère de la 2e ligne) est un mur : le joueur y est "
    "caché.",
    "Aucune sortie du labyrinthe « %1 » ne peut être atteinte depuis la case de départ : il ne peut pas être "
    "gagné.",
};

QString text(Notice notice, const QString& fileName, long long line = 0) {
    // The number goes in first, so that a file name holding "%2" is shown as it is.
    return QString::fromUtf8(kTexts[static_cast<std::size_t>(notice)])
        .replace(QLatin1String("%2"), QString::number(line))
        .arg(fileName);
}

Notice noticeFor(OpenFailure failure) {
    switch (failure) {
    case OpenFailure::Missing:
        return Notice::Missing;
    case OpenFailure::AccessRefused:
        return Notice::AccessRefused;
    case OpenFailure::Folder:
        return Notice::Folder;
    case OpenFailure::Fifo:
        return Notice::Fifo;
    case OpenFailure::Device:
        return Notice::Device;
    case OpenFailure::Socket:
        return Notice::Socket;
    case OpenFailure::LinkLoop:
        return Notice::LinkLoop;
    case OpenFailure::None:
    case OpenFailure::Other:
        break;
    }
    return Notice::CannotOpen;
}

} // namespace

QString describeLoad(const QString& fileName, const LoadResult& result) {
    if (result.cancelled) return text(Notice::Cancelled, fileName);
    if (result.openFailure != OpenFailure::None) return text(noticeFor(result.openFailure), fileName);
    QStringList notices;
    if (result.empty()) notices << text(Notice::Empty, fileName);
    if (result.readError) notices << text(Notice::ReadError, fileName, result.rowsKept);
    if (result.overflowed)
        notices << text(result.cutPastLastRow() ? Notice::PastLastRow : Notice::LongLine, fileName,
                        result.rows);
    if (result.firstLoneLineFeed > 0) notices << text(Notice::LineFeeds, fileName, result.firstLoneLineFeed);
    return notices.join(QStringLiteral("\n\n"));
}

QString describeWayOut(const QString& fileName, const WayOut& way) {
    QStringList notices;
    if (way.startIsWall) notices << text(Notice::StartIsWall, fileName);
    if (!way.steps) notices << text(Notice::NoWayOut, fileName);
    return notices.join(QStringLiteral("\n\n"));
}

QString cannotReadNow(const QString& fileName) {
    return text(Notice::NotNow, fileName);
}

QString shownFileName(const QString& name, const QFontMetrics& metrics) {
    QString shown = name;
    for (QChar& c : shown) {
        if (c == QLatin1Char('\n'))
            c = QChar(0x2424);
        else if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
    }
    // About half the width of the window: a box this wide still stands over it.
    return metrics.elidedText(shown, Qt::ElideMiddle, 40 * metrics.averageCharWidth());
}

} // namespace zirk
