// Keeps a module library buildable while it has no sources of its own.
