package com.vexal.maven;

/** A configuration of the plugin that cannot be built; the message names the parameter. */
public final class ParameterException extends Exception {
    private static final long serialVersionUID = 1L;

    public ParameterException(String message) {
        super(message);
    }
}
