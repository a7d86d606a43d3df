// The Windows services the program calls, under their Windows names, served
// by an emulated machine on POSIX (see emulated_machine.h for how it is set).
// Only what the program relies on is declared; the layouts match Windows.
#ifndef ZNUPDATE_PLATFORM_SYSTEM_SERVICES_H
#define ZNUPDATE_PLATFORM_SYSTEM_SERVICES_H

#include <stddef.h>
#include <stdint.h>

#define WINAPI

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef void *HANDLE;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef char CHAR;
typedef CHAR *LPSTR;
typedef const CHAR *LPCSTR;
typedef DWORD *LPDWORD;
typedef UINT *PUINT;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
#define DRIVE_REMOTE 4
#define DRIVE_CDROM 5
#define DRIVE_RAMDISK 6

#define SEM_FAILCRITICALERRORS 0x0001

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400

#define FILE_READ_ATTRIBUTES 0x0080
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define OPEN_EXISTING 3
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000

#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_NO_MORE_FILES 18
#define ERROR_WRITE_FAULT 29
#define ERROR_FILE_EXISTS 80
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_INVALID_NAME 123
#define ERROR_ALREADY_EXISTS 183
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;

typedef struct _WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;

typedef struct _OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
} OSVERSIONINFOA, *LPOSVERSIONINFOA;

typedef struct _OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
} OSVERSIONINFOEXA;

typedef struct _BY_HANDLE_FILE_INFORMATION {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
} BY_HANDLE_FILE_INFORMATION, *LPBY_HANDLE_FILE_INFORMATION;

typedef struct tagVS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
} VS_FIXEDFILEINFO;

#define HIWORD(l) ((WORD)(((DWORD)(l) >> 16) & 0xffff))
#define LOWORD(l) ((WORD)((DWORD)(l) & 0xffff))

#ifdef __cplusplus
extern "C" {
#endif

// Kernel services.
DWORD GetLastError(void);
void SetLastError(DWORD error);
BOOL GetVersionExA(LPOSVERSIONINFOA info);
UINT SetErrorMode(UINT mode);
UINT GetDriveTypeA(LPCSTR rootPath);
// Listings take "dir\*.*" or "dir\*" and fill the two fields the program
// reads, dwFileAttributes and cFileName; the rest of the record is left.
HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
BOOL FindNextFileA(HANDLE listing, LPWIN32_FIND_DATAA data);
BOOL FindClose(HANDLE listing);
int lstrcmpiA(LPCSTR first, LPCSTR second);
int lstrlenA(LPCSTR text);
LPSTR lstrcpyA(LPSTR target, LPCSTR source);
LPSTR lstrcatA(LPSTR target, LPCSTR source);
BOOL MoveFileA(LPCSTR existing, LPCSTR target);
BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags);
BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists);
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, void *security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL GetFileInformationByHandle(HANDLE file,
                                LPBY_HANDLE_FILE_INFORMATION info);
BOOL CloseHandle(HANDLE object);
DWORD GetTickCount(void);
// The machine has no console window: its title is only kept, for tests.
DWORD GetConsoleTitleA(LPSTR title, DWORD size);
BOOL SetConsoleTitleA(LPCSTR title);

// Version library.
DWORD GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle);
BOOL GetFileVersionInfoA(LPCSTR path, DWORD handle, DWORD length, LPVOID data);
BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID *value,
                    PUINT length);

#ifdef __cplusplus
}
#endif

// Makes the version library's calls usable. The reader is part of the
// program here, so only an injected fault makes this fail.
BOOL LoadVersionLibrary(void);

#endif
