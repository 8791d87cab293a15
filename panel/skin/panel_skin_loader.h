#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/panel_skin.h"

// Reading the panel's skin from the configuration into app().panelSkin, in the panel's
// creation order: face, LED display, "SelectTrack Settings", buttons.

// Whether the name is a button name (whole, without regard to case); its command when it is.
bool PanelSkin_FindCommand(std::string_view name, CommandId& command);

// Section "Panel": the faces and the region. False when "Normal Bitmap" gives no picture.
bool PanelSkin_LoadFace();
// The same, calling afterFaces (the window's placement) once the faces are read and before the
// region is made; not called when the face is missing.
bool PanelSkin_LoadFace(const std::function<void()>& afterFaces);

// One element, or one part of one, of section "Panel\LED\<element>"; an empty suffix means
// the keys carry none. Null outputs are not read.
void PanelSkin_ReadLedElement(std::string_view element, std::string_view suffix, std::optional<QImage>* picture,
                              Point* position, Size* size);
void PanelSkin_LoadLed();

// The button list of the section ("Panel\Buttons" for the panel); empty means failure.
std::vector<PanelButton> PanelSkin_LoadButtons(std::string_view section);

// Releases every picture and the button list.
void PanelSkin_Free();
