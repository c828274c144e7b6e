package com.vexal.runtime;

/** Applications that WinLauncher starts in the tests. */
final class TestApps {
    private TestApps() {
    }

    static volatile String[] received;

    /** Records its arguments and writes one line to each standard stream. */
    public static final class Echo {
        public static void main(String[] args) {
            received = args;
            System.out.println("out: " + String.join("|", args));
            System.err.println("err: " + args.length);
        }
    }

    /** Writes nothing. */
    public static final class Silent {
        public static void main(String[] args) {
            received = args;
        }
    }

    static final IllegalStateException FAILURE = new IllegalStateException("application failed");

    public static final class Throws {
        public static void main(String[] args) {
            throw FAILURE;
        }
    }

    static final Exception CHECKED = new java.io.IOException("checked failure");

    public static final class ThrowsChecked {
        public static void main(String[] args) throws Exception {
            throw CHECKED;
        }
    }

    static volatile StackTraceElement[] callers;

    /** Records how its main was called. */
    public static final class Callers {
        public static void main(String[] args) {
            callers = new Throwable().getStackTrace();
        }
    }

    public static final class InstanceMain {
        public void main(String[] args) {
            received = args;
        }
    }

    /** A main that is not public, in a class that is not public. */
    static final class Hidden {
        static void main(String[] args) {
            received = args;
        }
    }
}
