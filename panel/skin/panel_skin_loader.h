#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/panel_skin.h"
#include "panel/skin/skin_bitmap.h"

class MaskcutRegions;

// Reading the panel's skin from the configuration into the panel's skin, in the panel's
// creation order: face, LED display, "SelectTrack Settings", buttons.

// Whether the name is a button name (whole, without regard to case); its command when it is.
bool PanelSkin_FindCommand(std::string_view name, CommandId& command);

// Section "Panel": the faces and the region, made by maskcut. False when "Normal Bitmap" gives no
// picture. afterFaces (the window's placement) is called once the faces are read and before the
// region is made; not when the face is missing.
bool PanelSkin_LoadFace(PanelSkin& skin, const SkinPaths& files, MaskcutRegions& maskcut,
                        const std::function<void()>& afterFaces = {});

// One element, or one part of one, of section "Panel\LED\<element>"; an empty suffix means
// the keys carry none. Null outputs are not read.
void PanelSkin_ReadLedElement(const SkinPaths& files, std::string_view element, std::string_view suffix,
                              std::optional<QImage>* picture, Point* position, Size* size);
void PanelSkin_LoadLed(PanelSkin& skin, const SkinPaths& files);

// The button list of the section ("Panel\Buttons" for the panel); empty means failure.
std::vector<PanelButton> PanelSkin_LoadButtons(const SkinPaths& files, std::string_view section);
