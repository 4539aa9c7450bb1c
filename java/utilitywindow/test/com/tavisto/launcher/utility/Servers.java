package com.tavisto.launcher.utility;

import java.io.*;
import java.net.*;
import java.nio.charset.StandardCharsets;
import java.util.*;
import java.util.concurrent.CopyOnWriteArrayList;
import javax.net.ssl.SSLSocketFactory;
import org.junit.rules.ExternalResource;

/** Servers on 127.0.0.1 for the connection tests, closed after each test. */
public final class Servers extends ExternalResource {
    private interface Answer {
        void answer(Socket s) throws Exception;
    }

    private final List<ServerSocket> servers = new ArrayList<ServerSocket>();
    /** The request heads that the proxies received. */
    public final List<String> requests = new CopyOnWriteArrayList<String>();
    /** silent takes connections into its backlog and never answers; trickling sends a head that never ends. */
    public ServerSocket silent;
    public int proxy200, proxy407, closedPort, trickling;
    public String pac, noPac;

    private ServerSocket serve(Answer answer) throws IOException {
        ServerSocket server = new ServerSocket(0, 5, InetAddress.getByName("127.0.0.1"));
        servers.add(server);
        new Thread(() -> {
            while (answer != null && !server.isClosed()) {
                try (Socket s = server.accept()) {
                    answer.answer(s);
                } catch (Exception e) {
                    // Closed by the test, or the client went away.
                }
            }
        }).start();
        return server;
    }

    /** An HTTP proxy that records each request head and answers it with reply. */
    public int proxy(String reply) throws IOException {
        return serve(s -> {
            s.setSoTimeout(3000);
            BufferedReader in = new BufferedReader(new InputStreamReader(s.getInputStream(), "ISO-8859-1"));
            StringBuilder head = new StringBuilder();
            for (String line; (line = in.readLine()) != null && !line.isEmpty();) {
                head.append(line).append("\r\n");
            }
            requests.add(head + "\r\n");
            s.getOutputStream().write(reply.getBytes(StandardCharsets.US_ASCII));
        }).getLocalPort();
    }

    public String pac(String script) throws IOException {
        return "http://127.0.0.1:" + proxy("HTTP/1.1 200 OK\r\n\r\n" + script) + "/proxy.pac";
    }

    @Override
    protected void before() throws IOException {
        SSLSocketFactory.getDefault(); // loading TLS can take longer than a whole test's limit
        silent = serve(null);
        ServerSocket closed = serve(null);
        closedPort = closed.getLocalPort();
        closed.close();
        proxy200 = proxy("HTTP/1.1 200 Connection established\r\n\r\n");
        proxy407 = proxy("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic\r\n\r\n");
        pac = pac("function FindProxyForURL(url, host) { return \"PROXY 127.0.0.1:" + proxy200 + "; DIRECT\"; }");
        noPac = "http://127.0.0.1:" + proxy("HTTP/1.1 404 Not Found\r\n\r\n") + "/none.pac";
        trickling = serve(s -> {
            s.getOutputStream().write("HTTP/1.1 200 OK\r\nX: ".getBytes(StandardCharsets.US_ASCII));
            while (true) {
                Thread.sleep(200);
                s.getOutputStream().write('x');
            }
        }).getLocalPort();
    }

    @Override
    protected void after() {
        servers.forEach(s -> {
            try {
                s.close();
            } catch (IOException e) {
                // Already closed.
            }
        });
    }
}
