"""A misbehaving SMTP server on loopback for tests. Prints "PORT n" once it
listens, then serves connections one after another.

  faulty_smtp.py reply WHEN LINE   answer LINE instead of the usual reply;
                                   WHEN is GREETING, HELO, RSET, MAIL, RCPT,
                                   DATA, END (the end of data) or QUIT
  faulty_smtp.py twoline           every reply in two lines
  faulty_smtp.py drop-data         close the connection in the middle of DATA
  faulty_smtp.py hang-data         read the data but never answer its end
  faulty_smtp.py hang-greeting     accept, then say nothing

Each command line received is appended to the file in $FAULTY_LOG."""

import os
import socket
import sys
import threading

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
