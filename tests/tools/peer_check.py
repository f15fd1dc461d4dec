#!/usr/bin/env python3
"""An independent distribution-server peer for checking the controller side.

It shares no code with the C++ tree: the key file, the login block, the
envelope and every word are built and read here with the Python standard
library and the 'cryptography' package. It runs vanticctl against itself,
one scripted connection at a time, and checks both what the program sends
and what it prints.

    peer_check.py PATH/TO/vanticctl

Exit 0 when every check passes, 1 on a failure, 77 when 'cryptography' is
missing (the test is then skipped).
"""

import hashlib
import os
import queue
import re
import socket
import struct
import subprocess
import sys
import tempfile
import threading

try:
    from cryptography.hazmat.primitives.asymmetric import padding, rsa
    from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes
except ImportError:
    print("peer_check: python3 'cryptography' is not installed; skipping")
    sys.exit(77)

CHECK_BLOCK = bytes.fromhex("3c9a51e70d62b8f427c15e93a04bd618")
LOGIN = "operator"
PASSWORD = "pa55\xe9word"  # an 8-bit character, sent as one byte

# ---------------------------------------------------------------- wire pieces


def seal(payload, key):
    pad = 16 - len(payload) % 16
    plain = CHECK_BLOCK + payload + bytes([pad]) * pad + CHECK_BLOCK
    encryptor = Cipher(algorithms.AES(key), modes.CBC(bytes(16))).encryptor()
    return encryptor.update(plain) + encryptor.finalize()


def open_envelope(envelope, key):
    assert len(envelope) % 16 == 0 and len(envelope) >= 48, "envelope length %d" % len(envelope)
    decryptor = Cipher(algorithms.AES(key), modes.CBC(bytes(16))).decryptor()
    plain = decryptor.update(envelope) + decryptor.finalize()
    assert plain[:16] == CHECK_BLOCK and plain[-16:] == CHECK_BLOCK, "check blocks"
    pad = plain[-17]
    assert 1 <= pad <= 16 and plain[-16 - pad:-16] == bytes([pad]) * pad, "padding"
    return plain[16:-16 - pad]


def recv_exact(conn, count):
    data = b""
    while len(data) < count:
        piece = conn.recv(count - len(data))
        if not piece:
            raise AssertionError("connection closed after %d of %d bytes" % (len(data), count))
        data += piece
    return data


def recv_word(conn):
    return struct.unpack(">I", recv_exact(conn, 4))[0]


def send_word(conn, value):
    conn.sendall(struct.pack(">I", value & 0xFFFFFFFF))


def read_to_end(conn):
    data = b""
    while True:
        piece = conn.recv(65536)
        if not piece:
            return data
        data += piece


class Login:
    """The decrypted login record of one connection."""

    def __init__(self, conn, private_key, login_name):
        self.nonce = os.urandom(16)
        conn.sendall(self.nonce)
        block = recv_exact(conn, 129)
        length = block[0]
        assert length == 128, "ciphertext length %d" % length
        record = private_key.decrypt(block[1:1 + length], padding.PKCS1v15())
        assert len(record) == 108, "record length %d" % len(record)
        self.command, self.unit, reserved = struct.unpack(">iii", record[:12])
        assert reserved == 0, "reserved word %d" % reserved
        self.digest = record[12:28]
        self.name = field_text(record[28:52])
        self.password = field_text(record[52:76])
        assert record[76:92] == self.nonce, "nonce not echoed"
        self.key = record[92:108]
        assert self.name == login_name.encode("latin-1"), "login name %r" % self.name
        assert self.password == PASSWORD.encode("latin-1"), "password %r" % self.password


def field_text(field):
    assert b"\0" in field, "field without NUL"
    return field[:field.index(b"\0")]


# ------------------------------------------------------------------ the peer


class Peer:
    """Accepts connections and runs the next scripted handler on each."""

    def __init__(self, private_key):
        self.private_key = private_key
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(8)
        self.port = self.listener.getsockname()[1]
        self.handlers = queue.Queue()
        self.results = queue.Queue()
        self.keys = []
        self.login_name = LOGIN  # whom the next connections must log in as
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        while True:
            conn, _ = self.listener.accept()
            handler = self.handlers.get()
            try:
                with conn:
                    conn.settimeout(10)
                    login = Login(conn, self.private_key, self.login_name)
                    self.keys.append(login.key)
                    handler(conn, login)
                self.results.put(None)
            except Exception as error:  # reported by the checking thread
                self.results.put("%s: %s" % (handler.__name__, error))


def download(command, unit, payload, status=0):
    def handler(conn, login):
        assert login.command == command, "command %d" % login.command
        assert login.unit == unit, "unit %d" % login.unit
        body = seal(payload, login.key)
        send_word(conn, len(body))
        send_word(conn, status)
        conn.sendall(body)
        assert recv_word(conn) == len(body), "acknowledgement"
    handler.__name__ = "download %d" % command
    return handler


def absent(command):
    def handler(conn, login):
        assert login.command == command
        send_word(conn, 0xFFFFFFFF)
        send_word(conn, 0)
        assert recv_word(conn) == 0xFFFFFFFF, "absent answer"
    return handler


def undecryptable(conn, login):
    body = seal(b"some payload", bytes(16))  # not the session key
    send_word(conn, len(body))
    send_word(conn, 0)
    conn.sendall(body)
    assert read_to_end(conn) == b"", "an undecryptable body was answered"


def upload(command, unit, expected):
    def handler(conn, login):
        assert login.command == command and login.unit == unit
        length = recv_word(conn)
        assert recv_word(conn) == 0, "second upload word"
        assert open_envelope(recv_exact(conn, length), login.key) == expected, "upload payload"
        send_word(conn, 1)
    handler.__name__ = "upload %d" % command
    return handler


def upload_kept(command, unit, kept):
    """An upload whose payload is kept in the dict `kept` under `unit`."""
    def handler(conn, login):
        assert login.command == command and login.unit == unit
        length = recv_word(conn)
        assert recv_word(conn) == 0, "second upload word"
        kept[unit] = open_envelope(recv_exact(conn, length), login.key)
        send_word(conn, 1)
    handler.__name__ = "upload %d" % command
    return handler


def media_query(held, digest):
    def handler(conn, login):
        assert login.command == 0 and login.unit == -1
        assert login.digest == digest, "query digest"
        send_word(conn, 1 if held else 0)
        assert recv_word(conn) == (1 if held else 0), "echo"
    return handler


def media_put(content):
    def handler(conn, login):
        assert login.command == 7 and login.unit == -1
        assert login.digest == hashlib.md5(content).digest(), "put digest"
        size = recv_word(conn)
        assert size == len(content) and recv_word(conn) == 0
        assert recv_exact(conn, size) == content, "media bytes"
        send_word(conn, 0)
    return handler


# ------------------------------------------------------------------- checks


def write_key_file(path, public_numbers):
    def integer(value):
        data = value.to_bytes((value.bit_length() + 7) // 8, "big")
        return struct.pack(">I", len(data)) + data
    with open(path, "wb") as out:
        out.write(integer(public_numbers.n) + integer(public_numbers.e))


def clip_line(channel, path, content, size, first, last):
    return b"\t".join([str(channel).encode(), path, b"Auto", content, size, b"All", b"loop",
                       first, last, b"A", b""]) + b"\n"


def check_status_report(run, work, failures):
    """Two units: the first with no information, a short timing record, a
    playlist and an undecryptable runtime report; the second with no
    playlist and runtime lines in and out of the range. Its run of one
    content name has a file name per entry: the line names the first
    entry that counts, not the run's first or last."""
    out = os.path.join(work, "status.rtf")
    name = b"a" * 32
    playlist = clip_line(0, b"C:\\Media\\hall.mpg", name, b"1 KB", b"None", b"None")
    runtime = (clip_line(0, b"C:\\M\\hall-old.mpg", name, b"40", b"10/31/2026", b"10/31/2026")
               + clip_line(0, b"C:\\M\\hall.mpg", name, b"5", b"11/01/2026 00:00",
                           b"11/01/2026 23:59")
               + clip_line(0, b"", name.upper(), b"6", b"11/30/2026", b"11/30/2026 23:59")
               + clip_line(0, b"C:\\M\\hall-dec.mpg", name, b"9", b"12/01/2026", b"12/01/2026")
               + clip_line(3, b"/m/{song}.mp3", b"b" * 32, b"2", b"11/02/2026", b"11/02/2026"))
    info = b"notes=Caf\xe9 \\ {bar}\nversion=Version: 9\nlocation2=Back\tdoor\nAudioBRandom=1\n"
    timing = struct.pack(">IIIII", 1, 1795000000, 0, 0, 0)
    units = b"4\tHall\tOK\t\t\n9\tBar\tOK\t\t\n"
    os.environ["TZ"] = "UTC"
    run([download(17, -1, units), absent(6), download(5, 4, timing[:19]),
         download(3, 4, playlist), undecryptable,
         download(6, 9, info), download(5, 9, timing), absent(3), download(4, 9, runtime)],
        ["report", "status", "--from", "2026-11-30", "--to", "2026-11-01", "--units", "4,9",
         "--out", out])
    try:
        with open(out, "rb") as report:
            text = report.read()
    except OSError as error:
        failures.append("report status: %s" % error)
        return
    generated = b"\\par Report Generated: GENERATED \\par\r\n"
    text = re.sub(rb"\\par Report Generated: [A-Z][a-z]{2} [A-Z][a-z]{2} \d\d "
                  rb"\d\d:\d\d:\d\d \d{4}\n \\par\r\n", lambda _: generated, text)
    channels = [b"--Video Channel: \\par\r\n", b"--Video Alt Channel: \\par\r\n",
                b"--Audio A Channel: \\par\r\n", b"--Audio B Channel: \\par\r\n"]
    title = b"\\fs48 Media Player Report \\par\\fs24 "
    playlist_heading = b"\\par\\b Current System Playlist: \\b0\\par\r\n"
    runtime_heading = (b"\\par\\b Proof of Runtime: From 11/01/2026 To 11/30/2026 "
                       b"\\b0\\par\r\n")
    config_heading = b"\\par\\b Current Configuration Information: \\b0\\par\r\n"
    unit4 = (title + generated + b"Vantic serial number 4 \\par\r\n"
             b"Last Player Call-In: Unknown \\par\r\nNext Scheduled Call-In: Unknown \\par\r\n"
             + playlist_heading + channels[0] + b"      hall.mpg \\par\r\n" + b"".join(channels[1:])
             + runtime_heading + b"Unable to decrypt runtime report information \\par Contact "
             b"your system administrator if this persists \\par\r\n" + config_heading)
    video9 = b" 11 - hall.mpg \\par\r\n"
    audio9 = b" 2 - \\{song\\}.mp3 \\par\r\n"
    unit9 = (title + b"\\fs48 Caf\\'e9 \\\\ \\{bar\\} \\par\\fs24 " + generated
             + b"Vantic serial number 9 \\par\r\n"
             b"Last Player Call-In: Wed Nov 18 11:06:40 2026\n \\par\r\n"
             b"Next Scheduled Call-In: Unknown \\par\r\n" + playlist_heading
             + b"Playlist information has not been reported to server \\par\r\n"
             + runtime_heading + channels[0] + video9 + channels[1] + channels[2] + channels[3]
             + audio9 + config_heading + b"Version: 9 \\par\r\nLocation: \\par\r\n"
             b"  Back\\tab door \\par\r\nVideo Mode: Loop \\par\r\nVideo Alt Mode: Loop "
             b"\\par\r\nAudio A Mode: Loop \\par\r\nAudio B Mode: Random \\par\r\n"
             b"Video Alt Enabled: No \\par\r\nPlay Hours: Not Restricted \\par\r\n"
             b"Update Hours: Not Restricted \\par\r\nUpdate Schedule: Floating \\par\r\n"
             b"Update Frequency: 24 time(s) per day\\par\r\n")
    summary = (b"\\fs48 Summary Proof of Run Report \\par\\fs24 \\par\r\n" + channels[0]
               + video9 + channels[1] + channels[2] + channels[3] + audio9)
    page = b"\\par \\page\r\n"
    expected = (b"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil"
                b"\\fcharset0MS Sans Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 "
                + unit4 + page + unit9 + page + summary + b" }\r\n\0")
    if text != expected:
        failures.append("report status: wrote %r, wanted %r" % (text, expected))


def check_administration(run, failures):
    """A time zone goes into the selected unit's instruction file beside what
    it held; a new owner is written into the owner table for every selected
    unit but unit 1, the table downloaded first and uploaded whole."""
    units = b"1\tOffice\tOK\t\t\n12\tLobby\tOK\t\t\n"
    held = clip_line(0, b"/m/a.mpg", b"d" * 32, b"1 KB", b"None", b"None") + b"4\tcrawl\t1\n"
    kept = {}
    run([download(17, -1, units), download(2, 12, held), upload_kept(8, 12, kept)],
        ["timezone", "eastern", "--units", "12", "--yes"])
    lines = kept.get(12, b"").replace(b"\r\n", b"\n").split(b"\n")
    for wanted in (b"4\tTimezonePending\t/usr/share/zoneinfo/EST5EDT", b"4\tcrawl\t1"):
        if wanted not in lines:
            failures.append("timezone: uploaded %r, lacking %r" % (kept.get(12), wanted))
    if not any(line.startswith(b"0\t/m/a.mpg\t") for line in lines):
        failures.append("timezone: the clip was lost: %r" % kept.get(12))

    table = b"1=Head Office\n12=Old\n3=Acme\n"
    run([download(17, -1, units), download(18, -1, table),
         upload(19, -1, b"12=NewOwner\n1=Head Office\n3=Acme\n")],
        ["owner", "New Owner", "--units", "1,12", "--yes"], user="sovra")


def check_plays_export(run, failures):
    """The plays of one unit as CSV on standard output, byte for byte as
    RFC 4180 writes them; read back by Python's csv module (strict), a file
    name with a comma and a quote and 8-bit notes with a comma and quotes
    come back unchanged. No line break can reach a field over the wire (the
    information record and the runtime report are read line by line), so
    the quoting of one is left to the builder's own test."""
    import csv
    import io
    units = b"5\tHall\tOK\t\t\n"
    info = b"notes=Caf\xe9, \"corner\"\n"
    runtime = (clip_line(1, b"/m/a,\"b\".mpg", b"c" * 32, b"3", b"11/05/2026", b"11/05/2026")
               + clip_line(1, b"/m/a,\"b\".mpg", b"c" * 32, b"4", b"11/06/2026", b"11/06/2026"))
    captured = {}
    def keep(done):
        captured["out"] = done.stdout
    run([download(17, -1, units), download(6, 5, info), download(4, 5, runtime)],
        ["report", "plays", "--from", "2026-11-01", "--to", "2026-11-30", "--units", "5"],
        on_done=keep)
    out = captured.get("out", b"")
    row = b'5,"Caf\xc3\xa9, ""corner""",Video - Alt,"a,""b"".mpg",' + b"c" * 32
    wanted_bytes = (b"unit,notes,channel,clip file,content name,day,plays\r\n"
                    + row + b",2026-11-05,3\r\n" + row + b",2026-11-06,4\r\n")
    if out != wanted_bytes:
        failures.append("report plays: wrote %r, wanted %r" % (out, wanted_bytes))
    try:
        rows = list(csv.reader(io.StringIO(out.decode("utf-8"), newline=""), strict=True))
    except (csv.Error, UnicodeDecodeError) as error:
        failures.append("report plays: unreadable CSV: %s" % error)
        return
    wanted = [["unit", "notes", "channel", "clip file", "content name", "day", "plays"],
              ["5", "Caf\u00e9, \"corner\"", "Video - Alt", "a,\"b\".mpg", "c" * 32,
               "2026-11-05", "3"],
              ["5", "Caf\u00e9, \"corner\"", "Video - Alt", "a,\"b\".mpg", "c" * 32,
               "2026-11-06", "4"]]
    if rows != wanted:
        failures.append("report plays: read back %r, wanted %r" % (rows, wanted))


def main():
    vanticctl = sys.argv[1]
    private_key = rsa.generate_private_key(public_exponent=65537, key_size=1024)
    peer = Peer(private_key)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        key_file = os.path.join(work, "p.key")
        write_key_file(key_file, private_key.public_key().public_numbers())
        password_file = os.path.join(work, "password")
        with open(password_file, "wb") as out:
            out.write(PASSWORD.encode("latin-1") + b"\n")
        config = os.path.join(work, "config.ini")
        with open(config, "wb") as out:
            out.write(b"Distribution_Username=" + LOGIN.encode() + b"\r\n")

        def run(handlers, args, code=0, stdout=None, on_done=None, user=LOGIN):
            peer.login_name = user
            for handler in handlers:
                peer.handlers.put(handler)
            done = subprocess.run(
                [vanticctl, "--server", "127.0.0.1:%d" % peer.port, "--key", key_file,
                 "--password-file", password_file, "--config", config, "--user", user] + args,
                capture_output=True, timeout=60)
            for _ in handlers:
                problem = peer.results.get(timeout=30)
                if problem:
                    failures.append("%s: peer: %s" % (" ".join(args), problem))
            if done.returncode != code:
                failures.append("%s: exit %d, wanted %d (%s)" % (
                    " ".join(args), done.returncode, code, done.stderr.decode("latin-1").strip()))
            if on_done:
                on_done(done)
            if stdout is not None and done.stdout != stdout:
                failures.append("%s: printed %r, wanted %r" % (" ".join(args), done.stdout, stdout))
            if code != 0 and done.stderr.count(b"\n") != 1:
                failures.append("%s: error output %r" % (" ".join(args), done.stderr))

        units = b"12\tLobby\tOK\tA\tB\r\n7\tBar\tLate Calling In\tC\tD\r\n"
        run([download(17, -1, units)], ["units"],
            stdout=b"12\tLobby\tOK\tA\tB\n7\tBar\tLate Calling In\tC\tD\n")
        instructions = b"1\tVideo\tclip.mpg\t0\t0\t\t\t\t\t\t\xe9\n4\tcrawl\thello\n"
        run([download(2, 12, instructions, status=0xFFFFFFFF)], ["instructions", "get", "12"],
            stdout=instructions)
        run([absent(2)], ["instructions", "get", "13"], code=2, stdout=b"")
        run([undecryptable], ["info", "12"], code=3, stdout=b"")

        source = os.path.join(work, "instructions.txt")
        with open(source, "wb") as out:
            out.write(instructions)
        run([upload(8, 12, instructions)], ["instructions", "put", "12", source])
        owners = os.path.join(work, "owners.txt")
        with open(owners, "wb") as out:
            out.write(b"2=Acme\n3=Acme\n")
        run([upload(19, -1, b"2=Acme\n3=Acme\n")], ["owners", "put", owners])

        timing = struct.pack(">IIIII", 9, 0, 0, 0, 0)
        run([download(5, 12, timing)], ["timing", "12"],
            stdout=b"0\t9\n1\t0\tlast call-in\tUnknown\n2\t0\n3\t0\n4\t0\tnext call-in\tUnknown\n")

        content = os.urandom(4097)
        media = os.path.join(work, "clip.mpg")
        with open(media, "wb") as out:
            out.write(content)
        digest = hashlib.md5(content).digest()
        name = hashlib.md5(content).hexdigest().encode()
        run([media_query(True, digest)], ["media", "query", media], stdout=name + b"\theld\n")
        run([media_query(False, digest)], ["media", "query", media], code=2,
            stdout=name + b"\tnot held\n")
        run([media_query(False, digest), media_put(content)], ["media", "put", media],
            stdout=name + b"\tuploaded\n")

        check_status_report(run, work, failures)
        check_plays_export(run, failures)
        check_administration(run, failures)

    if len(set(peer.keys)) != len(peer.keys):
        failures.append("two logins shared a session key")
    for failure in failures:
        print("peer_check: " + failure)
    print("peer_check: %d connections, %d failures" % (len(peer.keys), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
