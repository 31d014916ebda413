/*
 * orxutil: the media library's public C interface.
 *
 * Every function here has C linkage and plain C types. Failures are results
 * (null handles, 0 or negative codes); nothing throws across this interface.
 * Strings are NUL-terminated byte strings owned by the caller.
 *
 * The header grows family by family; each section names the family it holds.
 */
#ifndef ORXUTIL_ORXUTIL_H
#define ORXUTIL_ORXUTIL_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define ORX_API __declspec(dllexport)
#else
#define ORX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Text and command-line helpers.
 *
 * All work in place on caller-owned strings and never allocate. A byte is
 * blank when, read as a signed 8-bit number, it is at most 32 (0x01-0x20 and
 * 0x80-0xFF). Switches are '/' and a letter; callers pass upper-case letters.
 * ---------------------------------------------------------------------- */

/* Size of the buffers that the full-path helpers read and write. */
#define ORX_PATH_MAX 256

ORX_API void Trim(char *text);
ORX_API void TrimAscii(char *text);
ORX_API void TrimL(char *text);
ORX_API void GetAndRemoveFirst(char *destination, char *text);
ORX_API void GetAndRemoveFirstQuoted(char *destination, char *text);
ORX_API void RemoveQuotes(char *text);
ORX_API void AddBackslash(char *path);

ORX_API int GetSwitch(char *command_line, int letter);
ORX_API int GetSwitchStr(char *command_line, int letter, char *destination,
                         const char *default_text);
ORX_API int32_t GetSwitchNum(char *command_line, int letter, int32_t default_value);
ORX_API void GetSwitchFractional(char *command_line, int letter, int32_t *numerator,
                                 int32_t *denominator, int32_t default_numerator,
                                 int32_t default_denominator);
ORX_API void RemoveMinusSwitches(char *command_line);

/* Parses "a", "a.b", "a;b" (a divided by b) into a reduced fraction; returns
 * a pointer to the first byte not read. */
ORX_API char *atofr(const char *text, int32_t *numerator, int32_t *denominator);
ORX_API void GCDNums(int32_t *a, int32_t *b);
ORX_API char *U32toa(char *destination, uint32_t value);
ORX_API uint32_t atoU32(const char *text);
ORX_API char *findchar(const char *text, int character);
ORX_API char *HasExtension(const char *file_name);

/* The path arguments of these four must be buffers of at least ORX_PATH_MAX
 * bytes. A full form that does not fit is refused: the path is left as it
 * was (and GetDrive returns 0). */
ORX_API void ExpandFileName(char *path);
ORX_API int GetDrive(char *path);
ORX_API int IsDirectory(char *path, int stay);
ORX_API void GetFilePieces(char *path, int want_drive, int want_directory, int want_name,
                           int want_extension);

ORX_API int32_t MakeFrameRate(int32_t rate);
/* destination needs 27 bytes */
ORX_API char *CommaNum(char *destination, uint64_t value);

/* ------------------------------------------------------------------------
 * Buffered file and bit I/O.
 * ---------------------------------------------------------------------- */

typedef struct ORXFile ORXFile;

#define ORXFILE_READ 250       /* access: read only */
#define ORXFILE_READWRITE 251  /* access: read and write */
#define ORXFILE_NAME_MAX 128   /* names of this many bytes or more are refused */

ORX_API ORXFile *ORXFileOpen(int32_t buffer_size, const char *name, int32_t access);
ORX_API ORXFile *ORXFileCreate(int32_t buffer_size, const char *name);
ORX_API ORXFile *ORXFileCreateWithRead(int32_t buffer_size, const char *name);
ORX_API void ORXFileClose(ORXFile *file);

ORX_API uint32_t ORXFileGetNB(ORXFile *file, void *destination, uint32_t count);
ORX_API uint32_t ORXFileGet(ORXFile *file, void *destination, uint32_t count);
ORX_API uint32_t ORXFileGet8(ORXFile *file);
ORX_API uint32_t ORXFileGet16(ORXFile *file);
ORX_API uint32_t ORXFileGet32(ORXFile *file);
ORX_API uint32_t ORXFileGetBits(ORXFile *file, uint32_t n);

ORX_API uint32_t ORXFilePutNB(ORXFile *file, const void *source, uint32_t count);
ORX_API uint32_t ORXFilePut(ORXFile *file, const void *source, uint32_t count);
ORX_API void ORXFilePut8(ORXFile *file, uint32_t value);
ORX_API void ORXFilePut16(ORXFile *file, uint32_t value);
ORX_API void ORXFilePut32(ORXFile *file, uint32_t value);
ORX_API void ORXFilePutBits(ORXFile *file, uint32_t value, uint32_t n);

ORX_API uint32_t ORXFileBitPos(ORXFile *file);
ORX_API void ORXFileByteAlign(ORXFile *file);
ORX_API void ORXFileAlign(ORXFile *file, uint32_t n);
ORX_API void ORXFileFlush(ORXFile *file, int commit);
ORX_API uint64_t ORXFileGetPos(ORXFile *file);
ORX_API uint64_t ORXFileSetPos(ORXFile *file, uint64_t position);
ORX_API uint64_t ORXFileSize(ORXFile *file);
ORX_API int ORXFileAtEnd(ORXFile *file);
ORX_API int ORXFileIsInBuffer(ORXFile *file, uint64_t position);
ORX_API const char *ORXFileGetName(ORXFile *file, char *destination);
ORX_API char *ORXFileGetLine(ORXFile *file, char *destination, uint32_t capacity);
ORX_API uint32_t ORXFileGetTime(ORXFile *file);
ORX_API void ORXFileSetTime(ORXFile *file, uint32_t stamp);
/* 0 deleted, 1 the file does not exist, 2 any other failure */
ORX_API int ORXFileErase(const char *name);
/* 0 moved, 1 the existing file does not exist, 2 any other failure (a new
 * name that already exists is never replaced) */
ORX_API int ORXFileRename(const char *new_name, const char *existing_name);

/* ------------------------------------------------------------------------
 * Memory, log, timer and miscellany.
 * ---------------------------------------------------------------------- */

/* A block aligned to 32 bytes, or null (after the "Memory Error" box). */
ORX_API void *utilmalloc(uint32_t size);
ORX_API void utilfree(void *block);
ORX_API void LogString(const char *file_name, const char *text);
ORX_API uint32_t ORXTimerRead(void);
ORX_API char *GetElapsedTime(char *destination, uint32_t milliseconds);
ORX_API char *GetTempName(char *destination, const char *directory_prefix,
                          const char *name_prefix, uint32_t number);
/* 1 when the names differ, 0 when they name the same file */
ORX_API int CheckForDup(const char *input_name, const char *output_name);
/* 1 to go ahead, 0 to stop; style 0 asks through the status window */
ORX_API int overwrite(const char *file_name, int style);
ORX_API uint64_t orxfilesize(const char *file_name);
ORX_API intptr_t CopyData(void *target_window, uintptr_t sender, uint32_t data_tag,
                          uint32_t data_size, const void *data);

/* ------------------------------------------------------------------------
 * Status window messages and dialog questions (the parts available without
 * a status window or dialog: they go straight to the message box).
 * ---------------------------------------------------------------------- */

ORX_API int StatusMessage(const char *text, uint8_t error);
ORX_API int StatusMessageTitle(const char *text, const char *caption, uint8_t error);
ORX_API int StatusAsk(const char *question, uint8_t default_no);
/* 1 Yes, 0 No, 2 Cancel */
ORX_API int ORXDialogAsk(const char *question, int style);
/* 0 when OK was pressed, 2 otherwise */
ORX_API int ORXDialogMessage(const char *text, int style);

#ifdef __cplusplus
}
#endif

#endif /* ORXUTIL_ORXUTIL_H */
