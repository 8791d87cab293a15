# The media engine on libmpv.
