# The Video CD reader: libcdio and libiso9660 for the sectors, a libmpv stream for the engine.
