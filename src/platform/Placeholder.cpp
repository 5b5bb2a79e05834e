// Removed once the platform layer lands.
