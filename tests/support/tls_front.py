#!/usr/bin/env python3
"""A TLS front on localhost for the tests' loopback HTTP server.

Run by the test process (a Linux program started from Wine). Makes a fresh self-signed
certificate for DNS:localhost, listens on loopback, and passes every request on to the
plain server at 127.0.0.1:BACKEND_PORT. Writes "<port>\\n<control port>\\n<certificate PEM>"
to OUT_FILE, then lives until the test closes its control connection (or 10 minutes pass).

usage: tls_front.py OUT_FILE BACKEND_PORT
"""
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

LIFETIME = 600


def make_certificate(folder):
    key = os.path.join(folder, "key.pem")
    cert = os.path.join(folder, "cert.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
         "-out", cert, "-days", "2", "-subj", "/CN=localhost",
         "-addext", "subjectAltName=DNS:localhost"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


def relay(client, context, backend_port):
    """One request per connection: the request head goes to the server, its whole answer back."""
    try:
        with context.wrap_socket(client, server_side=True) as tls:
            head = b""
            while b"\r\n\r\n" not in head:
                data = tls.recv(65536)
                if not data:
                    return
                head += data
            with socket.create_connection(("127.0.0.1", backend_port)) as backend:
                backend.sendall(head)
                while True:
                    data = backend.recv(262144)
                    if not data:
                        break
                    tls.sendall(data)
    except (OSError, ssl.SSLError):
        pass  # an untrusting client hangs up during the handshake


def serve(listener, context, backend_port):
    while True:
        try:
            client, _ = listener.accept()
        except OSError:
            return
        threading.Thread(target=relay, args=(client, context, backend_port), daemon=True).start()


def main():
    out_file, backend_port = sys.argv[1], int(sys.argv[2])
    folder = tempfile.mkdtemp(prefix="glimro-tls-")

    def finish():
        shutil.rmtree(folder, ignore_errors=True)
        os._exit(0)

    threading.Timer(LIFETIME, finish).start()
    cert, key = make_certificate(folder)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)

    listener = socket.create_server(("127.0.0.1", 0))
    port = listener.getsockname()[1]
    listeners = [listener]
    try:  # localhost may be tried as ::1 first
        listeners.append(socket.create_server(("::1", port), family=socket.AF_INET6))
    except OSError:
        pass
    control = socket.create_server(("127.0.0.1", 0))

    with open(cert) as pem:
        text = "%d\n%d\n%s" % (port, control.getsockname()[1], pem.read())
    with open(out_file + ".part", "w") as out:
        out.write(text)
    os.replace(out_file + ".part", out_file)

    for each in listeners:
        threading.Thread(target=serve, args=(each, context, backend_port), daemon=True).start()
    control.settimeout(60)
    try:
        link, _ = control.accept()
        link.settimeout(None)
        while link.recv(1):
            pass
    except OSError:
        pass
    finish()


if __name__ == "__main__":
    main()
