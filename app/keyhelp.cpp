// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyhelp.h"

#include <QDir>

namespace zirk {

QStringList keyList() {
    return {
        QStringLiteral(
            "8, 6, 4, 2 ou les flèches : un pas vers le haut, la droite, la gauche, le bas, tant que le "
            "rectangle en bas à droite est vert (cliquez dessus)"),
        QStringLiteral("q ou Q : quitter, tant que le rectangle est vert"),
        QStringLiteral("Ctrl+O : ouvrir un labyrinthe"),
        QStringLiteral("Ctrl+R : recommencer le labyrinthe depuis le départ"),
        QStringLiteral("Ctrl+Q : quitter"),
        QStringLiteral("F1 : la liste de ces touches"),
        QStringLiteral("Tab : passer d’un bouton à l’autre ; Espace ou Entrée : cliquer le bouton choisi"),
    };
}

QString helpText(const QString& sampleFolder) {
    QString text = QStringLiteral("Les touches :\n\n") + keyList().join(QLatin1Char('\n'));
    text += sampleFolder.isEmpty()
                ? QStringLiteral("\n\nAucun dossier de labyrinthes d’exemple n’a été trouvé.")
                : QStringLiteral("\n\nLes labyrinthes d’exemple, du plus facile au plus difficile :\n%1")
                      .arg(QDir::toNativeSeparators(sampleFolder));
    return text;
}

} // namespace zirk
