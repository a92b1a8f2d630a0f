// The export sequence; see export.h.
