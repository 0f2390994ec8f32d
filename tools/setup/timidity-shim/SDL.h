/* The few SDL types and calls that the MIDI synthesizer of SDL_mixer (src/codecs/timidity) uses,
 * on the C library, so that it builds without SDL. Our own; tools/setup/deps.sh compiles the
 * synthesizer's unchanged files against it. Little-endian targets only (x86-64). */
#ifndef SB_TIMIDITY_SDL_SHIM_H
#define SB_TIMIDITY_SDL_SHIM_H

#include <math.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int8_t Sint8;
typedef uint8_t Uint8;
typedef int16_t Sint16;
typedef uint16_t Uint16;
typedef int32_t Sint32;
typedef uint32_t Uint32;
typedef int64_t Sint64;
typedef uint64_t Uint64;
typedef enum { SDL_FALSE = 0, SDL_TRUE = 1 } SDL_bool;

#define SDL_INLINE inline
#define SDL_LIL_ENDIAN 1234
#define SDL_BIG_ENDIAN 4321
#define SDL_BYTEORDER SDL_LIL_ENDIAN
#define SDL_VERSION_ATLEAST(x, y, z) 1

#define SDL_malloc malloc
#define SDL_calloc calloc
#define SDL_free free
#define SDL_memcmp memcmp
#define SDL_memcpy memcpy
#define SDL_memset memset
#define SDL_strlen strlen
#define SDL_strchr strchr
#define SDL_strrchr strrchr
#define SDL_strcmp strcmp
#define SDL_atoi atoi
#define SDL_sin sin
#define SDL_snprintf snprintf

static inline Uint16 SDL_Swap16(Uint16 x) { return (Uint16)((x << 8) | (x >> 8)); }
static inline Uint32 SDL_Swap32(Uint32 x) {
    return (x << 24) | ((x << 8) & 0x00FF0000u) | ((x >> 8) & 0x0000FF00u) | (x >> 24);
}
#define SDL_SwapLE16(x) (x)
#define SDL_SwapLE32(x) (x)
#define SDL_SwapBE16(x) SDL_Swap16(x)
#define SDL_SwapBE32(x) SDL_Swap32(x)

size_t SDL_strlcpy(char* dst, const char* src, size_t size);
char* SDL_strtokr(char* s, const char* delimiters, char** saveptr);
int SDL_SetError(const char* format, ...);
void SDL_Log(const char* format, ...);

/* A readable stream: a file the synthesizer opens itself, or one its caller lays over its data. */
#define RW_SEEK_SET 0
#define RW_SEEK_CUR 1
#define RW_SEEK_END 2
typedef struct SDL_RWops SDL_RWops;
struct SDL_RWops {
    /* Reads up to count objects of size bytes; returns the number of whole objects read. */
    size_t (*read)(SDL_RWops* context, void* buffer, size_t size, size_t count);
    /* Returns the new position, or -1. */
    Sint64 (*seek)(SDL_RWops* context, Sint64 offset, int whence);
    int (*close)(SDL_RWops* context);
    void* data;
};
static inline size_t SDL_RWread(SDL_RWops* rw, void* buffer, size_t size, size_t count) {
    return rw->read(rw, buffer, size, count);
}
static inline Sint64 SDL_RWseek(SDL_RWops* rw, Sint64 offset, int whence) { return rw->seek(rw, offset, whence); }
static inline Sint64 SDL_RWtell(SDL_RWops* rw) { return rw->seek(rw, 0, RW_SEEK_CUR); }
static inline int SDL_RWclose(SDL_RWops* rw) { return rw->close ? rw->close(rw) : 0; }
/* Opens only absolute paths, UTF-8 (on Windows too), for reading: the synthesizer first tries a
 * patch's relative name as it is, and the patch set is to come from its own folder, never from the
 * current directory. */
SDL_RWops* SDL_RWFromFile(const char* file, const char* mode);

/* The output format the synthesizer is asked for (SDL's values). */
#define AUDIO_U8 0x0008
#define AUDIO_S8 0x8008
#define AUDIO_U16LSB 0x0010
#define AUDIO_S16LSB 0x8010
#define AUDIO_U16MSB 0x1010
#define AUDIO_S16MSB 0x9010
#define AUDIO_S32LSB 0x8020
#define AUDIO_S32MSB 0x9020
#define AUDIO_F32LSB 0x8120
#define AUDIO_S16SYS AUDIO_S16LSB
#define AUDIO_S32SYS AUDIO_S32LSB
#define AUDIO_F32SYS AUDIO_F32LSB
typedef struct SDL_AudioSpec {
    int freq;
    Uint16 format;
    Uint8 channels;
    Uint8 silence;
    Uint16 samples; /* frames the synthesizer renders per call */
    Uint16 padding;
    Uint32 size;
} SDL_AudioSpec;

#ifdef __cplusplus
}
#endif
#endif
