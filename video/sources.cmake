# Filled in as the subsystem lands.
