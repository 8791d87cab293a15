#pragma once

#include <QColor>

#include <string>

#include "core/player_settings.h"
#include "panel/skin/skin_bitmap.h"
#include "tests/support/temp_dir.h"

// A skin folder and configuration written by a test: Quintara.CFG beside a skin folder, both
// in one temporary folder.
class SkinFiles {
public:
    SkinFiles();
    // Points the settings at them, for the tests that make a panel.
    void pointAt(PlayerSettings& settings) const;

    // Replaces the whole configuration.
    void config(const std::string& text) const;
    // A w x h picture of one colour in the skin folder.
    void picture(const std::string& name, int width, int height, QColor colour = Qt::gray) const;
    // Raw bytes in the skin folder (damaged pictures).
    void raw(const std::string& name, const std::string& bytes) const;

    const TempDir& dir() const { return dir_; }
    // Where the skin reader finds them.
    SkinPaths paths() const;

private:
    TempDir dir_;
};
