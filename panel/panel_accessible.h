#pragma once

class PanelWindow;

// What assistive technologies (a screen reader, through AT-SPI) see of the panel: the window,
// named by its title, with a child for each button in the skin's order and then one for the
// LED display. A button is a push button, or a check box where the skin makes it checkable; its
// name is its tooltip, and its description tells what it does where the tooltip says
// otherwise; its states are checked and pressed as drawn; its press action clicks it as the
// mouse does, in its turn. The display is a text element reading Led_Text of the state.

// Installs the panel's interface factory, once for the process.
void PanelAccessible_Install();

// Tells the listening assistive technologies what changed on the panel since the last call:
// a button's checked or pressed state, the display's text. Nothing when none listens.
void PanelAccessible_NoteChanges(PanelWindow& panel);
