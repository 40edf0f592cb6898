#!/usr/bin/python3
"""Forwards connections on a port of its own to a server on loopback and delays every
chunk by a set time in each direction, so that a store far away can be measured on this
machine. For benchmarks only.

    latency_relay.py TARGET_PORT DELAY_MS

Prints the port it listens on (127.0.0.1) as its first line, then relays until killed.
At most QUEUED chunks wait in each direction, so the relay holds a window as a line does.
"""
import asyncio
import sys

CHUNK = 65536
QUEUED = 64


async def carry(reader, writer, delay):
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
            data = await reader.read(CHUNK)
            await queue.put((loop.time() + delay, data))
            if not data:
                break
    finally:
        await delivering


async def relay(target_port, delay, client_reader, client_writer):
    try:
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target_port)
    except OSError:
        client_writer.close()
        return
    await asyncio.gather(carry(client_reader, server_writer, delay),
                         carry(server_reader, client_writer, delay),
                         return_exceptions=True)
    client_writer.close()
    server_writer.close()


async def main():
    target_port = int(sys.argv[1])
    delay = int(sys.argv[2]) / 1000.0
    server = await asyncio.start_server(
        lambda r, w: relay(target_port, delay, r, w), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
