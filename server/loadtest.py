#!/usr/bin/env python3
"""Load test for vantic-server, with a client written from the wire formats.

Seeds a fresh demo venue, starts `vantic-server serve` on a free loopback
port, then runs CLIENTS concurrent clients that each make REQUESTS requests
(one connection each), cycling through: unit list, instruction file
download, media query, media upload of new bytes, instruction file upload.
Afterwards every uploaded media file is checked on the server. Prints one
summary line and exits non-zero on any error or lost upload.

    server/loadtest.py --binary build/dev/server/vantic-server [--clients 200]
                       [--requests 50] [--no-sync] [--simulate SECONDS] [--timeout 60]

Needs the Python "cryptography" package (RSA PKCS #1 v1.5 and AES).
"""

import argparse
import asyncio
import hashlib
import os
import re
import struct
import subprocess
import sys
import tempfile
import time

from cryptography.hazmat.primitives.asymmetric import padding, rsa
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

CHECK_BLOCK = bytes.fromhex("3c9a51e70d62b8f427c15e93a04bd618")
ABSENT = 0xFFFFFFFF


def load_public_key(path):
    data = open(path, "rb").read()
    numbers = []
    at = 0
    for _ in range(2):
        (count,) = struct.unpack(">I", data[at:at + 4])
        numbers.append(int.from_bytes(data[at + 4:at + 4 + count], "big"))
        at += 4 + count
    return rsa.RSAPublicNumbers(numbers[1], numbers[0]).public_key()


def aes(key, data, encrypt):
    cipher = Cipher(algorithms.AES(key), modes.CBC(bytes(16)))
    worker = cipher.encryptor() if encrypt else cipher.decryptor()
    return worker.update(data) + worker.finalize()


def seal(key, payload):
    pad = 16 - len(payload) % 16
    return aes(key, CHECK_BLOCK + payload + bytes([pad]) * pad + CHECK_BLOCK, True)


def open_envelope(key, envelope):
    if len(envelope) % 16 or len(envelope) < 48:
        return None
    plain = aes(key, envelope, False)
    if plain[:16] != CHECK_BLOCK or plain[-16:] != CHECK_BLOCK or plain[-17] > 16:
        return None
    return plain[16:len(plain) - 16 - plain[-17]]


class Client:
    def __init__(self, host, port, key, login, password, timeout):
        self.host, self.port, self.key = host, port, key
        self.login, self.password = login.encode(), password.encode()
        self.timeout = timeout

    async def connect(self, command, unit, digest=b""):
        reader, writer = await asyncio.open_connection(self.host, self.port)
        nonce = await reader.readexactly(16)
        header = (struct.pack(">iiI", command, unit, 0) + digest.ljust(16, b"\0") +
                  self.login.ljust(24, b"\0") + self.password.ljust(24, b"\0") + nonce)
        session = self.key.encrypt(header, padding.PKCS1v15())[:16]
        sealed = self.key.encrypt(header + session, padding.PKCS1v15())
        writer.write(bytes([len(sealed)]) + sealed.ljust(128, b"\0"))
        return reader, writer, session

    async def run(self, coroutine):
        return await asyncio.wait_for(coroutine, self.timeout)

    async def fetch(self, command, unit):
        reader, writer, session = await self.connect(command, unit)
        try:
            length, status = struct.unpack(">Ii", await reader.readexactly(8))
            if status not in (0, -1):
                raise RuntimeError(f"command {command} unit {unit}: status {status}")
            if length == ABSENT:
                writer.write(struct.pack(">I", ABSENT))
                await writer.drain()
                return None
            payload = open_envelope(session, await reader.readexactly(length))
            if payload is None:
                raise RuntimeError(f"command {command}: envelope does not open")
            writer.write(struct.pack(">I", length))
            await writer.drain()
            return payload
        finally:
            writer.close()

    async def store(self, command, unit, payload):
        reader, writer, session = await self.connect(command, unit)
        try:
            envelope = seal(session, payload)
            writer.write(struct.pack(">II", len(envelope), 0) + envelope)
            return struct.unpack(">I", await reader.readexactly(4))[0]
        finally:
            writer.close()

    async def query(self, digest):
        reader, writer, _ = await self.connect(0, -1, digest)
        try:
            answer = await reader.readexactly(4)
            writer.write(answer)
            await writer.drain()
            return struct.unpack(">I", answer)[0]
        finally:
            writer.close()

    async def put_media(self, digest, body):
        reader, writer, _ = await self.connect(7, -1, digest)
        try:
            writer.write(struct.pack(">II", len(body), 0) + body)
            return struct.unpack(">I", await reader.readexactly(4))[0]
        finally:
            writer.close()


async def one_client(index, client, units, requests, uploads, latencies, errors):
    media = None
    for step in range(requests):
        began = time.perf_counter()
        try:
            kind = step % 5
            if kind == 0:
                listing = await client.run(client.fetch(17, -1))
                if not listing or b"\t" not in listing:
                    raise RuntimeError("empty unit list")
            elif kind == 1:
                await client.run(client.fetch(2, units[step % len(units)]))
            elif kind == 2:
                media = os.urandom(2048 + (index * 131 + step) % 30000)
                if await client.run(client.query(hashlib.md5(media).digest())) != 0:
                    raise RuntimeError("fresh media already held")
            elif kind == 3:
                digest = hashlib.md5(media).digest()
                if await client.run(client.put_media(digest, media)) != 0:
                    raise RuntimeError("media upload refused")
                uploads.append(digest)
            else:
                text = f"4\tnotes\tload client {index} step {step}".encode()
                if await client.run(client.store(8, units[index % len(units)], text)) != 0:
                    raise RuntimeError("instruction upload refused")
        except Exception as error:  # every failure counts, whatever its kind
            errors.append(f"client {index} step {step}: {error!r}")
        latencies.append(time.perf_counter() - began)


def seed_and_start(binary, root, sync, simulate):
    data = os.path.join(root, "data")
    seeded = subprocess.run([binary, "seed-demo", data], capture_output=True, text=True,
                            check=True, timeout=60)
    accounts = dict(re.findall(r"^account (\S+) (\S+)$", seeded.stdout, re.M))
    args = [binary, "serve", "--data", data, "--listen", "127.0.0.1:0", "--log",
            os.path.join(root, "server.log")]
    if not sync:
        args.append("--no-sync")
    if simulate:
        args += ["--simulate", str(simulate)]
    server = subprocess.Popen(args, stdout=subprocess.PIPE, text=True)
    line = server.stdout.readline()
    match = re.match(r"listening (\S+):(\d+)", line)
    if not match:
        server.kill()
        raise SystemExit(f"server did not start: {line!r}")
    return server, data, accounts, match.group(1), int(match.group(2))


def cpu_seconds(pid):
    """User plus system CPU time the process has used so far."""
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))] if ordered else 0.0


async def main_async(args, root):
    server, data, accounts, host, port = seed_and_start(args.binary, root, not args.no_sync,
                                                             args.simulate)
    try:
        key = load_public_key(os.path.join(data, "p.key"))
        admin = Client(host, port, key, "sovra", accounts["sovra"], args.timeout)
        units = [int(line.split("\t")[0])
                 for line in (await admin.fetch(17, -1)).decode("latin-1").splitlines()]
        units = [u for u in units if u != 1082][:11]
        uploads, latencies, errors = [], [], []
        began = time.perf_counter()
        await asyncio.gather(*(
            one_client(i, Client(host, port, key, "sovra", accounts["sovra"], args.timeout),
                       units, args.requests, uploads, latencies, errors)
            for i in range(args.clients)))
        elapsed = time.perf_counter() - began
        lost = 0
        for digest in uploads:
            held = await admin.run(admin.query(digest))
            on_disk = os.path.exists(os.path.join(data, "media", digest.hex()))
            lost += 0 if held == 1 and on_disk else 1
        server_cpu = cpu_seconds(server.pid)
    finally:
        server.terminate()
        server.wait(timeout=30)
    stored_lines = sum(1 for line in open(os.path.join(root, "server.log"))
                       if " command=7 " in line and "outcome=stored" in line)
    total = args.clients * args.requests
    print(f"clients={args.clients} requests_each={args.requests} requests={total} "
          f"errors={len(errors)} uploads={len(uploads)} logged_stored={stored_lines} "
          f"lost_uploads={lost} seconds={elapsed:.2f} rate={total / elapsed:.0f}/s "
          f"p50={percentile(latencies, 0.5) * 1000:.1f}ms "
          f"p99={percentile(latencies, 0.99) * 1000:.1f}ms "
          f"max={max(latencies) * 1000:.1f}ms server_cpu={server_cpu:.2f}s "
          f"sync={'off' if args.no_sync else 'on'}")
    for error in errors[:10]:
        print("  " + error, file=sys.stderr)
    return 1 if errors or lost else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    default_binary = os.path.join(os.environ.get("VANTIC_BIN_DIR", "build/dev"), "server",
                                  "vantic-server")
    parser.add_argument("--binary", default=default_binary)
    parser.add_argument("--clients", type=int, default=200)
    parser.add_argument("--requests", type=int, default=50)
    parser.add_argument("--timeout", type=float, default=60.0,
                        help="seconds one request may take before it counts as an error")
    parser.add_argument("--no-sync", action="store_true", help="serve with --no-sync")
    parser.add_argument("--simulate", type=int, default=0,
                        help="serve with --simulate SECONDS (units call in during the load)")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vantic-load-") as root:
        sys.exit(asyncio.run(main_async(args, root)))


if __name__ == "__main__":
    main()
