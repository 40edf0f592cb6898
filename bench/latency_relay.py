#!/usr/bin/python3
"""Forwards connections on a port of its own to a server on loopback and delays every
chunk by a set time in each direction, so that a store far away can be measured on this
machine. For benchmarks only.

    latency_relay.py [--ftp] TARGET_PORT DELAY_MS [LOG_FILE]

Prints the port it listens on (127.0.0.1) as its first line, then relays until killed.
At most QUEUED chunks wait in each direction, so the relay holds a window as a line does.
With --ftp the server is an FTP server: its passive replies (227 and 229) are rewritten
to a port of the relay's own that carries the data connection the same way. With a log
file, every chunk is written to it as it reaches the relay: the seconds since
the first connection, the connection's number, ">" from the client or "<" from the
server, and the byte count. `round_trips.py` reads such a log.
"""
import asyncio
import re
import sys
import time

CHUNK = 65536
QUEUED = 64


class ChunkLog:
    def __init__(self, path):
        self.file = open(path, "w", buffering=1) if path else None
        self.start = None

    def write(self, connection, direction, length):
        if self.file is None:
            return
        now = time.monotonic()
        if self.start is None:
            self.start = now
        self.file.write(f"{now - self.start:.6f} {connection} {direction} {length}\n")


async def carry(reader, writer, delay, note, rewrite=None):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue(QUEUED)

    async def deliver():
        while True:
            due, data = await queue.get()
            wait = due - loop.time()
            if wait > 0:
                await asyncio.sleep(wait)
            if not data:
                if writer.can_write_eof():
                    writer.write_eof()
                return
            writer.write(data)
            await writer.drain()

    delivering = asyncio.create_task(deliver())
    try:
        while True:
            data = await (reader.readline() if rewrite else reader.read(CHUNK))
            note(len(data))
            if rewrite:
                data = await rewrite(data)
            await queue.put((loop.time() + delay, data))
            if not data:
                break
    finally:
        await delivering


PASSIVE = re.compile(rb"^227 .*\((\d+),(\d+),(\d+),(\d+),(\d+),(\d+)\)")
EXTENDED_PASSIVE = re.compile(rb"^229 .*\(\|\|\|(\d+)\|\)")


class Relay:
    def __init__(self, delay, log, ftp):
        self.delay = delay
        self.log = log
        self.ftp = ftp
        self.connections = 0

    async def listen(self, target_port, control):
        server = await asyncio.start_server(
            lambda r, w: self.carry_connection(target_port, control, r, w), "127.0.0.1", 0)
        return server.sockets[0].getsockname()[1]

    # A passive reply names a port of the relay's own, which leads to the server's.
    async def rewrite(self, line):
        match = PASSIVE.match(line)
        if match:
            fields = [int(field) for field in match.groups()]
            port = await self.listen(fields[4] * 256 + fields[5], False)
            return b"227 Entering Passive Mode (127,0,0,1,%d,%d).\r\n" % (port // 256, port % 256)
        match = EXTENDED_PASSIVE.match(line)
        if match:
            port = await self.listen(int(match.group(1)), False)
            return b"229 Entering Extended Passive Mode (|||%d|).\r\n" % port
        return line

    async def carry_connection(self, target_port, control, client_reader, client_writer):
        self.connections += 1
        number = self.connections
        try:
            server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target_port)
        except OSError:
            client_writer.close()
            return
        rewrite = self.rewrite if self.ftp and control else None
        await asyncio.gather(
            carry(client_reader, server_writer, self.delay, lambda n: self.log.write(number, ">", n)),
            carry(server_reader, client_writer, self.delay, lambda n: self.log.write(number, "<", n),
                  rewrite),
            return_exceptions=True)
        client_writer.close()
        server_writer.close()


async def main():
    args = sys.argv[1:]
    ftp = bool(args) and args[0] == "--ftp"
    if ftp:
        args.pop(0)
    target_port = int(args[0])
    relay = Relay(int(args[1]) / 1000.0, ChunkLog(args[2] if len(args) > 2 else None), ftp)
    print(await relay.listen(target_port, True), flush=True)
    await asyncio.Event().wait()


if __name__ == "__main__":
    asyncio.run(main())
