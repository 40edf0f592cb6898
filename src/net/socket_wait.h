// Waiting for a socket to become readable or writable, with a time-out.
#pragma once

#include "net/socket_layer.h"

enum class SocketEvent { Readable, Writable };

// True when the event came within the time; a signal does not shorten the wait.
bool WaitForSocket(SocketHandle socket, SocketEvent event, int seconds, int microseconds);
