# Commands, transport and tracks.
