// Report export engine.
