#pragma once

#include <QImage>
#include <QString>

#include <utility>
#include <vector>

// The default skin's panel, drawn: every picture it needs (by file name below the skin folder)
// and the configuration sections that place them. At scale 2 the pictures are the twins, drawn
// at twice the size and named name@2x.bmp; the region has none (the outline stays 1x).
struct PanelArt {
    std::vector<std::pair<QString, QImage>> pictures;
    QString configSections;
};
PanelArt DrawPanelArt(int scale);

// The panel's two cursors (hot spots 11,0 and 14,0) and the two application icons, with alpha.
QImage DrawPointingHandCursor();
QImage DrawOpenHandCursor();
QImage DrawPlayerIcon(int side);
QImage DrawVideoIcon(int side);
