# Tests of commands, transport, tracks and the play list.
