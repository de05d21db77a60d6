// SPDX-License-Identifier: GPL-3.0-or-later
#include "spoken.h"

#include <QStringList>

#include <cstdlib>

namespace zirk {

namespace {

QString cellInWords(Cell cell) {
    switch (cell) {
    case Cell::Wall:
        return QStringLiteral("mur");
    case Cell::Floor:
        return QStringLiteral("libre");
    case Cell::Exit:
        return QStringLiteral("sortie");
    }
    return {};
}

// "1 à droite, 2 en bas": across first, then up or down, leaving out a distance of 0.
QString whereInWords(ExitInSight exit) {
    QStringList parts;
    if (exit.dx != 0)
        parts << QStringLiteral("%1 %2")
                     .arg(std::abs(exit.dx))
                     .arg(exit.dx > 0 ? QStringLiteral("à droite") : QStringLiteral("à gauche"));
    if (exit.dy != 0)
        parts << QStringLiteral("%1 %2")
                     .arg(std::abs(exit.dy))
                     .arg(exit.dy > 0 ? QStringLiteral("en bas") : QStringLiteral("en haut"));
    return parts.join(QStringLiteral(", "));
}

// French puts 0 and 1 in the singular.
QString counted(long long count, const char* noun) {
    return QStringLiteral("%1 %2%3")
        .arg(count)
        .arg(QLatin1String(noun))
        .arg(count > 1 ? QStringLiteral("s") : QString());
}

} // namespace

QString surroundingsInWords(const Surroundings& around, bool refused) {
    QString words = refused ? QStringLiteral("Mur. ") : QString();
    words += QStringLiteral("En haut : %1, à droite : %2, en bas : %3, à gauche : %4.")
                 .arg(cellInWords(around.up), cellInWords(around.right), cellInWords(around.down),
                      cellInWords(around.left));
    if (!around.exits.empty()) {
        QStringList places;
        for (ExitInSight exit : around.exits)
            places << whereInWords(exit);
        words += (around.exits.size() == 1 ? QStringLiteral(" Sortie en vue : ")
                                           : QStringLiteral(" Sorties en vue : ")) +
                 places.join(QStringLiteral(" ; ")) + QLatin1Char('.');
    }
    return words;
}

QString openedInWords(const QString& fileName, const LoadResult& result, const Surroundings& around) {
    // A file that did not open, or a read given up, leaves the maze as it was: only the player has moved.
    if (result.openFailure != OpenFailure::None || result.cancelled)
        return surroundingsInWords(around, false);
    return QStringLiteral("Labyrinthe « %1 » ouvert, %2 sur %3. ")
               .arg(fileName, counted(result.columns, "colonne"), counted(result.rowsKept, "ligne")) +
           surroundingsInWords(around, false);
}

} // namespace zirk
