#!/usr/bin/python3
"""Counts the round trips in a chunk log of latency_relay.py.

    round_trips.py LOG_FILE DELAY_MS

A client that waits for an answer sends its next chunk at least two delays after the
last one. So the chunks from the client fall into flights: a flight begins where the
client was silent for one and a half delays or more. Prints one line per flight (its
start, the connection, the bytes the client sent in it and the bytes the server sent
back before the next flight), then the count. A flight of one small chunk is one
request answered; a bulk transfer is one long flight.
"""
import sys


def main():
    path, delay = sys.argv[1], int(sys.argv[2]) / 1000.0
    chunks = []
    with open(path) as log:
        for line in log:
            seconds, connection, direction, length = line.split()
            chunks.append((float(seconds), connection, direction, int(length)))
    flights = []
    last_client = None
    for seconds, connection, direction, length in chunks:
        if direction == ">":
            if last_client is None or seconds - last_client >= 1.5 * delay:
                flights.append([seconds, connection, 0, 0, seconds])
            last_client = seconds
            flights[-1][2] += length
        elif flights:
            flights[-1][3] += length
            flights[-1][4] = seconds
        else:
            flights.append([seconds, connection, 0, length, seconds])
    for number, (start, connection, sent, received, end) in enumerate(flights, 1):
        print(f"{number:3d} {start:8.3f} s  conn {connection}  sent {sent:9d}  received {received:9d}"
              f"  until {end:8.3f} s")
    print(f"{len(flights)} flights in {chunks[-1][0] - chunks[0][0]:.3f} s" if chunks else "no chunks")


if __name__ == "__main__":
    main()
