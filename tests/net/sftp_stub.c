/* A stand-in for the SFTP component: records every call in a log the tests read back,
 * answers each with a fixed result, and fails on demand. Built twice: complete, and
 * with STUB_WITHOUT_RENAME lacking one entry point. */
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "psftp_dll.h"

#define STUB_EXPORT __attribute__((visibility("default")))

static char call_log[65536];
static int failing;

__attribute__((format(printf, 1, 2)))
static void record(const char* format, ...)
{
    size_t used = strlen(call_log);
    va_list args;
    va_start(args, format);
    vsnprintf(call_log + used, sizeof call_log - used, format, args);
    va_end(args);
    used = strlen(call_log);
    if (used + 1 < sizeof call_log) {
        call_log[used] = '\n';
        call_log[used + 1] = '\0';
    }
}

STUB_EXPORT const char* stub_call_log(void)
{
    return call_log;
}

STUB_EXPORT void stub_clear_log(void)
{
    call_log[0] = '\0';
}

STUB_EXPORT void stub_set_failing(int on)
{
    failing = on;
}

static int result(void)
{
    return failing ? 0 : 1;
}

psftp_dll_handle psftp_dll_connect(const char* host, const char* user, const char* password)
{
    record("connect %s %s %s", host, user, password);
    return failing ? 0 : 7;
}

psftp_dll_handle psftp_dll_connect_port(const char* host, int port, const char* user,
                                        const char* password)
{
    record("connect_port %s %d %s %s", host, port, user, password);
    return failing ? 0 : 7;
}

void psftp_dll_disconnect(psftp_dll_handle handle)
{
    record("disconnect %ld", (long)handle);
}

void psftp_dll_get_last_error(psftp_dll_handle handle, char* buffer, int size)
{
    record("get_last_error %ld %d", (long)handle, size);
    snprintf(buffer, (size_t)size, "stub error of handle %ld", (long)handle);
}

int psftp_dll_pwd(psftp_dll_handle handle, char* buffer, int size)
{
    record("pwd %ld %d", (long)handle, size);
    snprintf(buffer, (size_t)size, "/home/stub");
    return failing ? 1 : 0;
}

int psftp_dll_put(psftp_dll_handle handle, const char* local_path, const char* remote_name)
{
    record("put %ld %s %s", (long)handle, local_path, remote_name);
    return result();
}

int psftp_dll_get(psftp_dll_handle handle, const char* local_path, const char* remote_name)
{
    record("get %ld %s %s", (long)handle, local_path, remote_name);
    return result();
}

int psftp_dll_ls(psftp_dll_handle handle, psftp_dll_line_function line_function, void* context)
{
    record("ls %ld", (long)handle);
    if (failing) {
        return 0;
    }
    line_function("-rw-r--r--    1 stub     stub         5 Jan  2  2024 one.pdf", context);
    line_function("drwxr-xr-x    2 stub     stub      4096 Mar  4 12:30 two", context);
    return 1;
}

int psftp_dll_chdir(psftp_dll_handle handle, const char* path)
{
    record("chdir %ld %s", (long)handle, path);
    return result();
}

int psftp_dll_mkdir(psftp_dll_handle handle, const char* name)
{
    record("mkdir %ld %s", (long)handle, name);
    return result();
}

int psftp_dll_rmdir(psftp_dll_handle handle, const char* name)
{
    record("rmdir %ld %s", (long)handle, name);
    return result();
}

int psftp_dll_delete(psftp_dll_handle handle, const char* name)
{
    record("delete %ld %s", (long)handle, name);
    return result();
}

#ifndef STUB_WITHOUT_RENAME
int psftp_dll_rename(psftp_dll_handle handle, const char* old_name, const char* new_name)
{
    record("rename %ld %s %s", (long)handle, old_name, new_name);
    return result();
}
#endif
