/* The C interface of the SFTP component psftp_dll.so: the 13 entry points the station
 * binds at run time by these names, and the function pointer types it binds them to.
 *
 * A connection handle is nonzero while the connection is open. Texts are UTF-8 and
 * zero-terminated; a buffer size counts the terminating zero. Remote names that do not
 * begin with "/" are taken relative to the connection's current directory. */
#ifndef PSFTP_DLL_H
#define PSFTP_DLL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PSFTP_DLL_EXPORT __attribute__((visibility("default")))

typedef intptr_t psftp_dll_handle;

/* Receives one listing line; returns 0 to go on, anything else stops the listing. */
typedef int (*psftp_dll_line_function)(const char* line, void* context);

/* Connects to port 22; the station always names the port and calls the next one. */
PSFTP_DLL_EXPORT psftp_dll_handle psftp_dll_connect(const char* host, const char* user,
                                                    const char* password);
/* Connects and logs in with the password: the handle, or 0 on failure. */
PSFTP_DLL_EXPORT psftp_dll_handle psftp_dll_connect_port(const char* host, int port,
                                                         const char* user,
                                                         const char* password);
PSFTP_DLL_EXPORT void psftp_dll_disconnect(psftp_dll_handle handle);
/* The error text of the connection's last failed call; with handle 0 the text of the
 * last failed connect of the process. */
PSFTP_DLL_EXPORT void psftp_dll_get_last_error(psftp_dll_handle handle, char* buffer, int size);
/* The current directory: 0 on success. */
PSFTP_DLL_EXPORT int psftp_dll_pwd(psftp_dll_handle handle, char* buffer, int size);
/* The remaining calls return 1 on success and 0 on failure. */
PSFTP_DLL_EXPORT int psftp_dll_put(psftp_dll_handle handle, const char* local_path,
                                   const char* remote_name);
PSFTP_DLL_EXPORT int psftp_dll_get(psftp_dll_handle handle, const char* local_path,
                                   const char* remote_name);
/* Delivers the current directory in the long form of "ls -l", one call per entry. */
PSFTP_DLL_EXPORT int psftp_dll_ls(psftp_dll_handle handle, psftp_dll_line_function line_function,
                                  void* context);
PSFTP_DLL_EXPORT int psftp_dll_chdir(psftp_dll_handle handle, const char* path);
PSFTP_DLL_EXPORT int psftp_dll_mkdir(psftp_dll_handle handle, const char* name);
PSFTP_DLL_EXPORT int psftp_dll_rmdir(psftp_dll_handle handle, const char* name);
PSFTP_DLL_EXPORT int psftp_dll_delete(psftp_dll_handle handle, const char* name);
PSFTP_DLL_EXPORT int psftp_dll_rename(psftp_dll_handle handle, const char* old_name,
                                      const char* new_name);
/* The size of a regular file now, in *size. Bound when present: an older component
 * without it still serves, and the listed size stands in. */
PSFTP_DLL_EXPORT int psftp_dll_size(psftp_dll_handle handle, const char* name, int64_t* size);

/* Bound when present: several files at once, for a store far away. The requests of one
 * call go in one flight; each returns 1 when every request was answered and 0 when the
 * connection failed.
 * psftp_dll_sizes: the size of each regular file now in sizes[i], -1 where the server
 * told none. psftp_dll_delete_all: results[i] is 1 when the file was removed, 0 when the
 * server refused, -1 when no answer came; when texts is not NULL it holds count buffers
 * of text_size bytes one after the other, and the i-th gets the error text of the i-th
 * failure (empty for a removal). */
PSFTP_DLL_EXPORT int psftp_dll_sizes(psftp_dll_handle handle, int count, const char* const* names,
                                     int64_t* sizes);
PSFTP_DLL_EXPORT int psftp_dll_delete_all(psftp_dll_handle handle, int count, const char* const* names,
                                          int* results, char* texts, int text_size);
/* Bound when present: what later calls will ask for, sent with the requests of the calls
 * in between. Files for later gets, in their order, up to 8 at a time: each is opened and
 * its size and first reads asked; a get of an announced file takes what came for it and
 * drops the files announced before it, and a listing drops them all. A folder for a
 * later chdir, up to 8 at a time: resolved, checked and opened; a chdir into it takes what
 * came and drops the folders announced before it. A call answers as it would without. */
PSFTP_DLL_EXPORT int psftp_dll_get_ahead(psftp_dll_handle handle, int count, const char* const* names);
PSFTP_DLL_EXPORT int psftp_dll_chdir_ahead(psftp_dll_handle handle, const char* path);

/* Bound when present: the fingerprint of the server's host key as OpenSSH prints it
 * ("SHA256:" and the unpadded base64 of the key's SHA-256 hash). 1 when the key was
 * unknown and recorded by this connection, 0 when it was known already, -1 on failure. */
PSFTP_DLL_EXPORT int psftp_dll_host_key(psftp_dll_handle handle, char* buffer, int size);

/* Not bound by the station: sets the time-outs of connections opened from now on, in
 * seconds, for connecting and logging in (15 by default) and for each request or block
 * of a transfer (30 by default); values below 1 keep the current one. */
PSFTP_DLL_EXPORT void psftp_dll_set_timeouts(int connect_seconds, int io_seconds);

typedef psftp_dll_handle (*psftp_dll_connect_fn)(const char*, const char*, const char*);
typedef psftp_dll_handle (*psftp_dll_connect_port_fn)(const char*, int, const char*, const char*);
typedef void (*psftp_dll_disconnect_fn)(psftp_dll_handle);
typedef void (*psftp_dll_get_last_error_fn)(psftp_dll_handle, char*, int);
typedef int (*psftp_dll_pwd_fn)(psftp_dll_handle, char*, int);
typedef int (*psftp_dll_transfer_fn)(psftp_dll_handle, const char*, const char*);
typedef int (*psftp_dll_ls_fn)(psftp_dll_handle, psftp_dll_line_function, void*);
typedef int (*psftp_dll_name_fn)(psftp_dll_handle, const char*);
typedef int (*psftp_dll_rename_fn)(psftp_dll_handle, const char*, const char*);
typedef int (*psftp_dll_size_fn)(psftp_dll_handle, const char*, int64_t*);
typedef int (*psftp_dll_host_key_fn)(psftp_dll_handle, char*, int);
typedef int (*psftp_dll_sizes_fn)(psftp_dll_handle, int, const char* const*, int64_t*);
typedef int (*psftp_dll_delete_all_fn)(psftp_dll_handle, int, const char* const*, int*, char*, int);
typedef int (*psftp_dll_get_ahead_fn)(psftp_dll_handle, int, const char* const*);

#ifdef __cplusplus
}
#endif

#endif
