#pragma once

// Each tick of the main window's position poll: the time display follows the engine, and a
// track that has played to its end is replayed or followed by the next as the repeat mode
// says. Answers false when the tick must end without default processing (the list ran empty).
bool PollPosition();
