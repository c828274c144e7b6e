package com.vexal.runtime;

/**
 * Receives the command-line arguments of a later start of a single-instance
 * application. Register one with {@link SingleInstance#addListener}.
 */
public interface StartupListener {
    /**
     * Called once for every later start of the same executable, on the
     * runtime's watcher thread (hand GUI work over to the event thread), with
     * that start's arguments split the way the launcher splits a command line.
     */
    void startupRequested(String[] arguments);
}
