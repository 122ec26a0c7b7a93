"""A throw-away CUPS for end-to-end tests and benchmarks: its own cupsd on a
private socket with one cups-pdf queue "PDF", so print jobs land as PDF
files. Never touches the system's CUPS; stops its cupsd on close().

As root (cups-pdf needs it) jobs land in the job user's ~/PDF as
"..._job_N.pdf"; job numbers start high and unique, so a test finds its own
files and removes them again. Without root the queue is a small "pdfdir"
backend that copies each job to the folder as job_N.pdf."""

import glob
import os
import pwd
import random
import shutil
import subprocess
import tempfile

from desktop import wait_until

QUEUE = "PDF"


class CupsServer:
    def __init__(self, printers=(QUEUE,)):
        self.folder = tempfile.mkdtemp(prefix="vistrel-cups-")
        os.chmod(self.folder, 0o755)
        self.socket = os.path.join(self.folder, "cups.sock")
        self.root = os.getuid() == 0
        self.first_job = random.randrange(100000, 900000)
        self.env = dict(os.environ, CUPS_SERVER=self.socket)
        self.env.pop("PRINTER", None)
        self.proc = None
        conf = self._dir("conf")
        self._dir("conf/ppd")
        spool = self._dir("spool", 0o710)
        self._dir("spool/tmp", 0o1770)
        cache = self._dir("cache", 0o770)
        self._dir("state")
        log = self._dir("log")
        server_bin = "/usr/lib/cups"
        if self.root:
            import grp
            lp = grp.getgrnam("lp").gr_gid
            for path in (spool, os.path.join(spool, "tmp"), cache):
                os.chown(path, 0, lp)
            self.out = os.path.join(pwd.getpwuid(0).pw_dir, "PDF")
        else:
            server_bin = self._private_server_bin()
            self.out = self._dir("out")
        with open(os.path.join(cache, "job.cache"), "w") as f:
            f.write("NextJobId %d\n" % self.first_job)
        files = ["ServerRoot " + conf, "RequestRoot " + spool,
                 "TempDir " + os.path.join(spool, "tmp"), "CacheDir " + cache,
                 "StateDir " + self._dir("state"), "AccessLog " + os.path.join(log, "access_log"),
                 "ErrorLog " + os.path.join(log, "error_log"),
                 "PageLog " + os.path.join(log, "page_log"), "ServerBin " + server_bin,
                 "DataDir /usr/share/cups"]
        if self.root:
            files += ["User lp", "Group lp"]
        self._write("conf/cups-files.conf", files)
        self._write("conf/cupsd.conf", [
            "Listen " + self.socket, "Browsing Off", "DefaultAuthType None", "WebInterface No",
            "LogLevel warn", "<Location />", "  Allow all", "</Location>",
            "<Policy default>", "  <Limit All>", "    Order deny,allow", "  </Limit>", "</Policy>"])
        self.start()
        for name in printers:
            self.add_printer(name)
        self.lp(["lpadmin", "-d", printers[0]])

    def _dir(self, name, mode=0o755):
        path = os.path.join(self.folder, name)
        os.makedirs(path, exist_ok=True)
        os.chmod(path, mode)
        return path

    def _write(self, name, lines):
        with open(os.path.join(self.folder, name), "w") as f:
            f.write("\n".join(lines) + "\n")

    def _private_server_bin(self):
        server_bin = self._dir("bin")
        for entry in os.listdir("/usr/lib/cups"):
            if entry != "backend":
                os.symlink(os.path.join("/usr/lib/cups", entry), os.path.join(server_bin, entry))
        backend = self._dir("bin/backend")
        for entry in os.listdir("/usr/lib/cups/backend"):
            os.symlink(os.path.join("/usr/lib/cups/backend", entry), os.path.join(backend, entry))
        script = os.path.join(backend, "pdfdir")
        with open(script, "w") as f:
            f.write('#!/bin/sh\n[ $# -eq 0 ] && { echo "direct pdfdir \\"Unknown\\" \\"PDF folder\\""; exit 0; }\n'
                    'dir=${DEVICE_URI#pdfdir:}\n'
                    'if [ -n "$6" ]; then cp "$6" "$dir/job_$1.pdf"; else cat > "$dir/job_$1.pdf"; fi\n')
        os.chmod(script, 0o755)
        return server_bin

    def start(self):
        self.proc = subprocess.Popen(
            ["cupsd", "-f", "-c", os.path.join(self.folder, "conf/cupsd.conf"),
             "-s", os.path.join(self.folder, "conf/cups-files.conf")],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: self.proc.poll() is not None or self.lp(["lpstat", "-r"], check=False)
                   .startswith("scheduler is running"), what="cupsd")
        assert self.proc.poll() is None, "cupsd ended: " + self.error_log()

    def stop(self):
        """Stops cupsd (the folder stays, so start() brings it back)."""
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None

    def close(self):
        self.stop()
        for path in self.pdfs():
            os.remove(path)
        shutil.rmtree(self.folder, ignore_errors=True)

    def lp(self, argv, check=True):
        done = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=60)
        if check and done.returncode != 0:
            raise AssertionError("%s failed: %s" % (argv, done.stderr))
        return done.stdout

    def add_printer(self, name):
        if self.root:
            device = ["-v", "cups-pdf:/", "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd",
                      "-o", "pdftops-renderer-default=pdftocairo"]
        else:
            device = ["-v", "pdfdir:" + self.out, "-m",
                      "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd", "-o", "PageSize=A4"]
        self.lp(["lpadmin", "-p", name, "-E"] + device)

    def remove_printer(self, name):
        self.lp(["lpadmin", "-x", name])

    def error_log(self):
        try:
            with open(os.path.join(self.folder, "log/error_log")) as f:
                return f.read()
        except OSError:
            return ""

    def completed_jobs(self):
        """Numbers of the finished jobs of this server."""
        jobs = []
        for line in self.lp(["lpstat", "-W", "completed", "-o"], check=False).splitlines():
            words = line.split()
            if words and "-" in words[0]:
                try:
                    jobs.append(int(words[0].rsplit("-", 1)[1]))
                except ValueError:
                    pass
        return jobs

    def pdfs(self):
        """This server's PDF files, oldest job first."""
        found = []
        for path in glob.glob(os.path.join(self.out, "*job_*.pdf")):
            try:
                number = int(path.rsplit("job_", 1)[1][:-4])
            except ValueError:
                continue
            if number >= self.first_job and number < self.first_job + 100000:
                found.append((number, path))
        return [path for _, path in sorted(found)]

    def wait_pdfs(self, count, timeout=60):
        """Until `count` PDF files of finished jobs are there, complete."""
        def done():
            finished = set(self.completed_jobs())
            files = []
            for path in self.pdfs():
                number = int(path.rsplit("job_", 1)[1][:-4])
                if number not in finished:
                    return None
                with open(path, "rb") as f:
                    f.seek(max(0, os.path.getsize(path) - 1024))
                    if b"%%EOF" not in f.read():
                        return None
                files.append(path)
            return files if len(files) >= count else None
        return wait_until(done, timeout, what="%d finished print jobs" % count)


class SilentCups:
    """A CUPS_SERVER socket that accepts connections, reads every request
    and never answers. Stops its thread and connections on close()."""

    def __init__(self, folder):
        import socket
        import threading
        self.path = os.path.join(folder, "silent-cups.sock")
        self.server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.server.bind(self.path)
        self.server.listen(16)
        self.server.settimeout(0.1)
        self.connections = []
        self.requested = threading.Event()
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        import select
        import socket
        while not self.stopping.is_set():
            try:
                connection, _ = self.server.accept()
                connection.setblocking(False)
                self.connections.append(connection)
            except socket.timeout:
                pass
            readable = select.select(self.connections, [], [], 0)[0] if self.connections else []
            for connection in readable:
                try:
                    data = connection.recv(65536)
                except OSError:
                    data = b""
                if data:
                    self.requested.set()
                else:  # the client gave up
                    self.connections.remove(connection)
                    connection.close()

    def close(self):
        self.stopping.set()
        self.thread.join(10)
        for connection in self.connections:
            connection.close()
        self.server.close()
        os.remove(self.path)
