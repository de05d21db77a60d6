// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyhelp.h"

#include <QDir>

namespace zirk {

QString keyList() {
    // No columns: the box sets this in a proportional font.
    return QStringLiteral(
        "  8, 6, 4, 2 ou les flèches : un pas vers le haut, la droite, la gauche, le bas, tant que le "
        "rectangle en "
        "bas à droite est vert (cliquez dessus)\n"
        "  q ou Q : quitter, tant que le rectangle est vert\n"
        "  Ctrl+O : ouvrir un labyrinthe\n"
        "  Ctrl+R : recommencer le labyrinthe depuis le départ\n"
        "  Ctrl+Q : quitter\n"
        "  F1 : la liste de ces touches\n"
        "  Tab : passer d’un bouton à l’autre ; Espace ou Entrée : cliquer le bouton choisi\n");
}

QString helpText(const QString& sampleFolder) {
    QString text = QStringLiteral("Les touches :\n\n") + keyList();
    text += sampleFolder.isEmpty()
                ? QStringLiteral("\nAucun dossier de labyrinthes d’exemple n’a été trouvé.")
                : QStringLiteral("\nLes labyrinthes d’exemple, du plus facile au plus difficile :\n%1")
                      .arg(QDir::toNativeSeparators(sampleFolder));
    return text;
}

} // namespace zirk
