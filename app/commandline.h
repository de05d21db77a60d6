// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace zirk {

// What the command line asks for: to play, perhaps starting with a maze, or to print something and end.
struct CommandLine {
    bool play = true;
    int exitStatus = 0; // when not playing
    QString output;     // for standard output
    QString error;      // one line for standard error
    std::optional<QString> file;
    // The same file as the system spells it, whatever the encoding of its name: given by the overload that
    // reads the program's own arguments.
    std::optional<std::string> path;
};

// `zirk [FICHIER]`, `--help`, `--version`. Needs no application object, so that it works without a display.
// The help names `sampleFolder`, where the sample mazes were found, if anywhere.
CommandLine parseCommandLine(const QStringList& arguments, const QString& sampleFolder = {});
CommandLine parseCommandLine(int argc, const char* const* argv, const QString& sampleFolder = {});

} // namespace zirk
