// Waiting for a socket to become readable or writable, with a time-out.
#pragma once

#include "net/socket_layer.h"

#include <chrono>

enum class SocketEvent { Readable, Writable };

// True when the event came within the time; a signal does not shorten the wait. The
// desktop is kept alive while the wait lasts.
bool WaitForSocket(SocketHandle socket, SocketEvent event, int seconds, int microseconds);

using SocketDeadline = std::chrono::steady_clock::time_point;
SocketDeadline DeadlineAfterMs(int milliseconds);
// The time left before the deadline, split for RawWaitReadable; false when none is left.
bool TimeLeft(SocketDeadline deadline, int& seconds, int& microseconds);
