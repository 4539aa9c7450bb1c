package com.tavisto.launcher.utility.net;

import com.tavisto.launcher.utility.settings.SettingsStore;
import java.io.ByteArrayOutputStream;
import java.io.Closeable;
import java.io.File;
import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.FilePermission;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.io.PrintStream;
import java.net.SocketPermission;
import java.nio.charset.StandardCharsets;
import java.security.AccessControlException;
import java.security.Permission;
import java.security.PermissionCollection;
import java.security.Permissions;
import java.security.Policy;
import java.security.ProtectionDomain;
import java.util.ArrayList;
import java.util.List;
import java.util.PropertyPermission;
import java.util.Timer;
import java.util.TimerTask;

/**
 * Evaluates a proxy script in a Java process of its own, which runs the
 * script under a security manager whose policy grants the classes of this
 * program only name look-ups (what dnsResolve and myIpAddress need) and
 * ending their own process: no files, no programs, no connections, no system
 * properties, no reflection. The child runs on the Java that runs the window,
 * and is ended at the test's limit, when the test is cancelled and when this
 * program ends. It also ends itself at the limit, so that it outlives neither
 * the limit nor, by much, a window that was ended without its exit hooks: on
 * Windows a child may inherit the window's own handles, its pipes to the
 * launcher among them, and holds them open while it runs.
 * <p>
 * The child is this class's main: it makes the engine named on its command
 * line before the security manager is in place, reads the URL, the host and
 * the script from its standard input, and writes its outcome at the end of
 * its standard output after {@link #OUTCOME}. Its second argument is its time
 * limit in milliseconds.
 */
final class ConfinedScript implements ProxyScript.Engine {
    static final String OUTCOME = "\n-- proxy script outcome --\n";
    static final String ANSWER = "answer";
    static final String REFUSED = "refused";
    static final String FAILED = "failed";
    /** What is kept of the child's output: its end, which holds the outcome. */
    private static final int MAX_OUTPUT = 64 * 1024;
    private static final String HEAP = "-Xmx64m";
    /** The child's exit status when it ends itself at its limit. */
    static final int HALTED = 3;

    private final String engineClass;

    /** engineClass: a ProxyScript.Engine with a constructor without parameters, made in the child. */
    ConfinedScript(String engineClass) {
        this.engineClass = engineClass;
    }

    /** The command line of a child that ends itself after limitMs. */
    List<String> command(int limitMs) {
        File bin = new File(System.getProperty("java.home"), "bin");
        File java = new File(bin, "java.exe");
        List<String> command = new ArrayList<String>();
        command.add((java.isFile() ? java : new File(bin, "java")).getPath());
        command.add(HEAP);
        command.add("-Djava.awt.headless=true");
        if (javaVersion() >= 12) {
            // From Java 12 on, a program may set a security manager only when allowed to at start.
            command.add("-Djava.security.manager=allow");
        }
        command.add("-cp");
        command.add(System.getProperty("java.class.path"));
        command.add(ConfinedScript.class.getName());
        command.add(engineClass);
        command.add(String.valueOf(limitMs));
        return command;
    }

    /** The feature version of this Java: 7 for "1.7.0_40", 17 for "17.0.15", 21 for "21-ea". */
    static int javaVersion() {
        String[] parts = System.getProperty("java.version", "0").split("[._+-]");
        try {
            return Integer.parseInt(parts[0].equals("1") && parts.length > 1 ? parts[1] : parts[0]);
        } catch (NumberFormatException e) {
            return 0;
        }
    }

    @Override
    public String findProxyForUrl(String script, String url, String host, Deadline deadline) throws Exception {
        final Process child;
        try {
            child = new ProcessBuilder(command(deadline.remaining())).redirectErrorStream(true).start();
        } catch (IOException e) {
            throw new IOException("Java could not be started to run it (" + SettingsStore.describe(e) + ")", e);
        }
        Closeable end = new Closeable() {
            @Override
            public void close() {
                child.destroy();
            }
        };
        Thread onExit = new Thread(new Runnable() {
            @Override
            public void run() {
                child.destroy();
            }
        }, "Proxy script end");
        deadline.watch(end);
        try {
            Runtime.getRuntime().addShutdownHook(onExit);
            try (OutputStream in = child.getOutputStream()) {
                in.write((url + "\n" + host + "\n" + script).getBytes(StandardCharsets.UTF_8));
            } catch (IOException e) {
                // The child ended before it read everything; its output tells why.
            }
            String output = tail(child.getInputStream());
            deadline.remaining();
            return outcome(output);
        } finally {
            deadline.release(end);
            for (Closeable stream : new Closeable[] {child.getOutputStream(), child.getInputStream(),
                    child.getErrorStream()}) {
                try {
                    stream.close();
                } catch (IOException e) {
                    // Its pipe is gone with the child.
                }
            }
            child.destroy();
            try {
                Runtime.getRuntime().removeShutdownHook(onExit);
            } catch (IllegalStateException e) {
                // This program is ending, and the hook ends the child.
            }
        }
    }

    private static String tail(InputStream in) throws IOException {
        ByteArrayOutputStream kept = new ByteArrayOutputStream();
        byte[] buffer = new byte[8192];
        for (int n; (n = in.read(buffer)) >= 0;) {
            kept.write(buffer, 0, n);
            if (kept.size() > 2 * MAX_OUTPUT) {
                byte[] all = kept.toByteArray();
                kept.reset();
                kept.write(all, all.length - MAX_OUTPUT, MAX_OUTPUT);
            }
        }
        return new String(kept.toByteArray(), StandardCharsets.UTF_8);
    }

    /** The answer in the child's output, or what kept it from answering. */
    static String outcome(String output) throws Exception {
        int at = output.lastIndexOf(OUTCOME);
        if (at < 0) {
            String said = output.trim();
            int lineEnd = said.indexOf('\n');
            throw new IOException("it ended without an answer" + (said.isEmpty() ? ""
                    : " (" + (lineEnd < 0 ? said : said.substring(0, lineEnd)).trim() + ")"));
        }
        String[] parts = output.substring(at + OUTCOME.length()).split("\n", -1);
        if (parts[0].equals(ANSWER) && parts.length > 1) {
            return output.substring(at + OUTCOME.length() + ANSWER.length() + 1);
        }
        if (parts[0].equals(REFUSED) && parts.length > 3) {
            throw new ProxyScript.Refused(attempt(parts[1], parts[2], parts[3]));
        }
        throw new IOException(parts.length > 1 ? parts[1] : "it gave no answer");
    }

    /** A refused permission in plain words, as in "it tried to read the file C:\secret.txt". */
    static String attempt(String type, String name, String actions) {
        if (type.equals(FilePermission.class.getName())) {
            boolean every = name.equals("<<ALL FILES>>");
            if (actions.contains("execute")) {
                return every ? "start a program" : "start the program " + name;
            }
            String what = actions.equals("read") || actions.equals("readlink") ? "read" : "change";
            return every ? what + " files" : what + " the file " + name;
        }
        if (type.equals(SocketPermission.class.getName())) {
            return "open a network connection to " + name;
        }
        if (type.equals(PropertyPermission.class.getName())) {
            return "read or change the Java setting " + name;
        }
        return "use Java's " + name + " (" + type.substring(type.lastIndexOf('.') + 1) + ")";
    }

    /** The child. Its standard output carries the outcome; anything it prints before is ignored. */
    public static void main(String[] args) throws IOException {
        PrintStream out = new PrintStream(new FileOutputStream(FileDescriptor.out), true, "UTF-8");
        new Timer("Proxy script limit", true).schedule(new TimerTask() {
            @Override
            public void run() {
                Runtime.getRuntime().halt(HALTED);
            }
        }, Integer.parseInt(args[1]));
        String[] input = new String(readAll(System.in), StandardCharsets.UTF_8).split("\n", 3);
        String outcome;
        try {
            ProxyScript.Engine engine = (ProxyScript.Engine) Class.forName(args[0]).newInstance();
            Policy.setPolicy(new Confinement());
            System.setSecurityManager(new SecurityManager());
            outcome = ANSWER + "\n" + engine.findProxyForUrl(input.length > 2 ? input[2] : "", input[0],
                    input.length > 1 ? input[1] : "", new Deadline(Integer.MAX_VALUE));
        } catch (Throwable t) {
            AccessControlException refusal = refusal(t);
            if (refusal != null && refusal.getPermission() != null) {
                Permission p = refusal.getPermission();
                outcome = REFUSED + "\n" + p.getClass().getName() + "\n" + p.getName() + "\n" + p.getActions();
            } else {
                String message = t.getMessage();
                outcome = FAILED + "\n" + (message == null || message.isEmpty() ? t.getClass().getSimpleName()
                        : message.replace('\n', ' '));
            }
        }
        out.print(OUTCOME + outcome);
        out.flush();
        System.exit(0);
    }

    private static AccessControlException refusal(Throwable t) {
        for (Throwable cause = t; cause != null; cause = cause.getCause()) {
            if (cause instanceof AccessControlException) {
                return (AccessControlException) cause;
            }
        }
        return null;
    }

    private static byte[] readAll(InputStream in) throws IOException {
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        byte[] buffer = new byte[8192];
        for (int n; (n = in.read(buffer)) >= 0;) {
            bytes.write(buffer, 0, n);
        }
        return bytes.toByteArray();
    }

    /**
     * The child's policy: the Java runtime's own classes (the boot and the
     * extension class loader's) may do anything; every other class, this
     * program's and whatever the script engine makes of the script, may look
     * up names and end the process.
     */
    private static final class Confinement extends Policy {
        private final ClassLoader runtime = ClassLoader.getSystemClassLoader().getParent();
        private final PermissionCollection allowed = new Permissions();

        Confinement() {
            allowed.add(new SocketPermission("*", "resolve"));
            allowed.add(new RuntimePermission("exitVM.*"));
            allowed.setReadOnly();
        }

        @Override
        public boolean implies(ProtectionDomain domain, Permission permission) {
            ClassLoader loader = domain.getClassLoader();
            return loader == null || loader == runtime || allowed.implies(permission);
        }

        @Override
        public PermissionCollection getPermissions(ProtectionDomain domain) {
            return new Permissions();
        }
    }
}
