// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Why a maze or a picture could not be read. Nothing is written to disk: the messages go where Qt's go.
Q_DECLARE_LOGGING_CATEGORY(lcMaze)
Q_DECLARE_LOGGING_CATEGORY(lcPictures)
