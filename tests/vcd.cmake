# The Video CD reader against disc images made by vcdimager.
