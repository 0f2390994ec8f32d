/* The calls SDL.h beside this file declares. */
#include "SDL.h"

#include <stdarg.h>
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

size_t SDL_strlcpy(char* dst, const char* src, size_t size) {
    size_t length = strlen(src);
    if (size > 0) {
        size_t copied = length < size - 1 ? length : size - 1;
        memcpy(dst, src, copied);
        dst[copied] = '\0';
    }
    return length;
}

char* SDL_strtokr(char* s, const char* delimiters, char** saveptr) {
    if (!s) s = *saveptr;
    if (!s) return NULL;
    s += strspn(s, delimiters);
    if (*s == '\0') {
        *saveptr = s;
        return NULL;
    }
    char* end = s + strcspn(s, delimiters);
    if (*end != '\0') *end++ = '\0';
    *saveptr = end;
    return s;
}

int SDL_SetError(const char* format, ...) {
    (void)format;
    return -1;
}

void SDL_Log(const char* format, ...) { (void)format; }

static size_t file_read(SDL_RWops* rw, void* buffer, size_t size, size_t count) {
    if (size == 0 || count == 0) return 0;
    return fread(buffer, size, count, (FILE*)rw->data);
}

static Sint64 file_seek(SDL_RWops* rw, Sint64 offset, int whence) {
    FILE* file = (FILE*)rw->data;
    int origin = whence == RW_SEEK_CUR ? SEEK_CUR : whence == RW_SEEK_END ? SEEK_END : SEEK_SET;
#ifdef _WIN32
    if (_fseeki64(file, offset, origin) != 0) return -1;
    return _ftelli64(file);
#else
    if (fseeko(file, (off_t)offset, origin) != 0) return -1;
    return (Sint64)ftello(file);
#endif
}

static int file_close(SDL_RWops* rw) {
    int result = fclose((FILE*)rw->data);
    free(rw);
    return result == 0 ? 0 : -1;
}

static int is_absolute(const char* path) {
#ifdef _WIN32
    if ((path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) return 1; /* UNC */
    return ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
#else
    return path[0] == '/';
#endif
}

SDL_RWops* SDL_RWFromFile(const char* path, const char* mode) {
    if (!path || !is_absolute(path) || strcmp(mode, "rb") != 0) return NULL;
    FILE* file = NULL;
#ifdef _WIN32
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, NULL, 0);
    if (length <= 0) return NULL;
    wchar_t* wide = (wchar_t*)malloc(sizeof(wchar_t) * (size_t)length);
    if (!wide) return NULL;
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, length) == length)
        file = _wfopen(wide, L"rb");
    free(wide);
#else
    file = fopen(path, "rb");
#endif
    if (!file) return NULL;
    SDL_RWops* rw = (SDL_RWops*)calloc(1, sizeof *rw);
    if (!rw) {
        fclose(file);
        return NULL;
    }
    rw->read = file_read;
    rw->seek = file_seek;
    rw->close = file_close;
    rw->data = file;
    return rw;
}
