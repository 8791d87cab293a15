#pragma once

#include <QIcon>

// The executable's two icons, from its resources: the player's, on the panel and its dialogs,
// and the video window's.
QIcon PlayerIcon();
QIcon VideoIcon();
