// file_replace.cpp: replacing a file's content through a fresh file beside it, flushed before it
// takes the old one's place.
#include "files/file_replace.h"
#include "common/platform.h"
#include "common/text.h"
#ifndef _WIN32
#include <stdio.h>
#include <sys/stat.h>
#endif

int (*g_beforeFileReplace)(const char *temporary);

enum { REPLACE_PATH_SIZE = 4096 };

// Length of path's folder part with its last separator (0: the current folder).
static int FolderLength(const char *path)
{
    int folder = 0;
    for (int i = 0; path[i]; i++) {
#ifdef _WIN32
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':') folder = i + 1;
#else
        if (path[i] == '/') folder = i + 1;
#endif
    }
    return folder;
}

#ifdef _WIN32

enum { NAME_TRIES = 100 };

// A UTF-8 path in UTF-16 for the file system (out: MAX_PATH units); 0 when it is not UTF-8 or too long.
static int WidePath(const char *path, WCHAR *out)
{
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, out, MAX_PATH) > 0;
}

// "~sr" and six hex digits in path's folder; 0 when it does not fit in size bytes.
static int TemporaryName(const char *path, unsigned number, char *out, int size)
{
    static const char kHex[] = "0123456789abcdef";
    int folder = FolderLength(path);
    if (folder + 10 > size) return 0;
    CopyBytes(out, path, folder);
    char *name = out + folder;
    name[0] = '~';
    name[1] = 's';
    name[2] = 'r';
    for (int i = 0; i < 6; i++) name[3 + i] = kHex[(number >> (20 - 4 * i)) & 0xF];
    name[9] = 0;
    return 1;
}

// Creates the new file under a name nobody uses; INVALID_HANDLE_VALUE when none could be made.
static HANDLE CreateTemporary(const char *path, char *temporary, int size)
{
    static unsigned s_calls;
    unsigned number = GetTickCount() ^ (GetCurrentProcessId() << 8) ^ (++s_calls * 0x9E3779B1u);
    for (int i = 0; i < NAME_TRIES; i++, number += 0x9E3779B1u) {
        WCHAR wide[MAX_PATH];
        if (!TemporaryName(path, number, temporary, size) || !WidePath(temporary, wide)) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileW(wide, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

int ReplaceFileContent(const char *path, const char *bytes, int length)
{
    // UTF-8 names: a UTF-16 unit takes at most 3 bytes.
    char temporary[MAX_PATH * 3];
    WCHAR widePath[MAX_PATH], wideTemporary[MAX_PATH];
    if (!path || !path[0] || length < 0 || !WidePath(path, widePath)) return 0;
    HANDLE file = CreateTemporary(path, temporary, (int)sizeof temporary);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    int ok = WriteFile(file, bytes, (DWORD)length, &written, 0) && (int)written == length;
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    WidePath(temporary, wideTemporary);   // made from it by CreateTemporary
    if (ok && g_beforeFileReplace) ok = g_beforeFileReplace(temporary);
    if (ok) {
        // An existing file is replaced keeping its attributes and security; a new one is moved in,
        // and a file that appeared meanwhile is not overwritten.
        if (GetFileAttributesW(widePath) != INVALID_FILE_ATTRIBUTES)
            ok = ReplaceFileW(widePath, wideTemporary, 0, REPLACEFILE_IGNORE_MERGE_ERRORS, 0, 0) != 0;
        else
            ok = MoveFileExW(wideTemporary, widePath, MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) DeleteFileW(wideTemporary);
    return ok;
}

#else

// Writes all the bytes; 0 on any error.
static int WriteAll(int fd, const char *bytes, int length)
{
    while (length > 0) {
        ssize_t n = write(fd, bytes, (size_t)length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        bytes += n;
        length -= (int)n;
    }
    return 1;
}

// The folder's entries reach the disk too, so the rename survives a power cut.
static void FlushFolder(const char *path)
{
    char folder[REPLACE_PATH_SIZE];
    int n = FolderLength(path);
    if (n >= (int)sizeof folder) return;
    if (n == 0) {
        folder[0] = '.';
        n = 1;
    } else {
        CopyBytes(folder, path, n);
    }
    folder[n] = 0;
    int fd = open(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

int ReplaceFileContent(const char *path, const char *bytes, int length)
{
    static const char kName[] = ".setradio-XXXXXX";
    char temporary[REPLACE_PATH_SIZE];
    if (!path || !path[0] || length < 0) return 0;
    int folder = FolderLength(path);
    if (folder + (int)sizeof kName > (int)sizeof temporary) return 0;
    CopyBytes(temporary, path, folder);
    CopyBytes(temporary + folder, kName, (int)sizeof kName);
    // The replaced file's mode; a new file keeps mkstemp's 0600.
    struct stat old;
    int hadFile = stat(path, &old) == 0;
    int fd = mkstemp(temporary);
    if (fd < 0) return 0;
    int ok = WriteAll(fd, bytes, length);
    // The owner too where the writer may give it (root); otherwise the file stays the writer's.
    if (ok && hadFile && fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
    if (ok && hadFile) ok = fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && g_beforeFileReplace) ok = g_beforeFileReplace(temporary);
    ok = ok && rename(temporary, path) == 0;
    if (!ok) {
        unlink(temporary);
        return 0;
    }
    FlushFolder(path);
    return 1;
}

#endif
