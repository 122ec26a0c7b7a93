"""A misbehaving SMTP server on loopback for tests. Prints "PORT n" once it
listens, then serves connections one after another.

  faulty_smtp.py reply WHEN LINE   answer LINE instead of the usual reply;
                                   WHEN is GREETING, HELO, RSET, MAIL, RCPT,
                                   DATA, END (the end of data) or QUIT
  faulty_smtp.py twoline           every reply in two lines
  faulty_smtp.py drop-data         close the connection in the middle of DATA
  faulty_smtp.py hang-data         read the data but never answer its end
  faulty_smtp.py hang-greeting     accept, then say nothing
  faulty_smtp.py endless-line      a greeting that never ends: bytes without a
                                   line feed, as fast as they go
  faulty_smtp.py endless-continuation
                                   a greeting of "220-" lines without end,
                                   one a millisecond

Each command line received is appended to the file in $FAULTY_LOG."""

import os
import socket
import sys
import threading
import time

NORMAL = {"GREETING": "220 faulty ESMTP", "HELO": "250 faulty", "EHLO": "250 faulty",
          "RSET": "250 OK", "MAIL": "250 OK", "RCPT": "250 OK", "DATA": "354 End data with <CR><LF>.<CR><LF>",
          "END": "250 OK: queued", "QUIT": "221 Bye", "NOOP": "250 OK"}


def log(line):
    path = os.environ.get("FAULTY_LOG")
    if path:
        with open(path, "a") as f:
            f.write(line + "\n")


def serve(conn, mode, args):
    reader = conn.makefile("rb")

    def reply(when):
        line = NORMAL.get(when, "500 unknown")
        if mode == "reply" and args[0] == when:
            line = args[1]
        if mode == "twoline":
            code = line[:3]
            conn.sendall(("%s-first line\r\n%s %s\r\n" % (code, code, line[4:])).encode())
        else:
            conn.sendall((line + "\r\n").encode())
        return line

    if mode == "hang-greeting":
        reader.read()
        return
    if mode == "endless-line":
        log("(streaming)")
        chunk = b"x" * 65536
        while True:
            conn.sendall(chunk)
    if mode == "endless-continuation":
        log("(streaming)")
        # One whole line a write, so a reader never finds half a line.
        conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        while True:
            conn.sendall(b"220-still greeting\r\n")
            time.sleep(0.001)
    reply("GREETING")
    while True:
        raw = reader.readline()
        if not raw:
            return
        command = raw.decode(errors="replace").rstrip("\r\n")
        log(command)
        verb = command.split(" ")[0].split(":")[0].upper()
        if verb == "DATA":
            if not reply("DATA").startswith("3"):
                continue
            if mode == "drop-data":
                reader.read(100)
                conn.shutdown(socket.SHUT_RDWR)
                return
            while True:
                line = reader.readline()
                if not line or line == b".\r\n":
                    break
            if mode == "hang-data":
                reader.read()
                return
            reply("END")
        else:
            reply(verb)
            if verb == "QUIT":
                return


def main():
    mode, args = sys.argv[1], sys.argv[2:]
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(5)
    print("PORT %d" % listener.getsockname()[1], flush=True)
    while True:
        conn, _ = listener.accept()

        def run(conn=conn):
            try:
                serve(conn, mode, args)
            except OSError:
                pass
            finally:
                conn.close()

        threading.Thread(target=run, daemon=True).start()


if __name__ == "__main__":
    main()
