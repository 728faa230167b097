// The Win32 services the library calls, by their Win32 names.
//
// On Windows they come from the system headers and libraries.  Elsewhere the
// declarations below are implemented by the files of this folder with exactly
// the behaviour the library relies on.  Library code includes this header and
// nothing platform-specific.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

using WideUnit = WCHAR;

#else  // not Windows: the subset the library uses

#include "Tb58Wk31Platform.h"

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using BOOL = int32_t;
using LONG = int32_t;
using LANGID = uint16_t;
using LCID = uint32_t;
using LCTYPE = uint32_t;
using SIZE_T = size_t;
using ULONG_PTR = uintptr_t;
using CHAR = char;
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBOOL = BOOL*;
using HGLOBAL = void*;
using HMODULE = void*;
using HINSTANCE = void*;
struct HRSRC__;
using HRSRC = HRSRC__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
using HGDIOBJ = void*;

using WideUnit = WCHAR;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define ERROR_SUCCESS 0u
#define ERROR_FILE_NOT_FOUND 2u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_INVALID_DATA 13u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_INSUFFICIENT_BUFFER 122u
#define ERROR_INVALID_FLAGS 1004u
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812u
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813u
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814u
#define ERROR_RESOURCE_LANG_NOT_FOUND 1815u

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_VERSION MAKEINTRESOURCEA(16)

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define MAKELANGID(p, s) (static_cast<WORD>((static_cast<WORD>(s) << 10) | static_cast<WORD>(p)))
#define PRIMARYLANGID(l) (static_cast<WORD>(l) & 0x3ff)
#define SUBLANGID(l) (static_cast<WORD>(l) >> 10)
#define LOCALE_USER_DEFAULT 0x0400u
#define LOCALE_SYSTEM_DEFAULT 0x0800u
#define LOCALE_IDEFAULTANSICODEPAGE 0x1004u

#define CP_UTF8 65001u

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1

struct VS_FIXEDFILEINFO {
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
};

// Global memory (global_memory.cpp).  GetLastError, SetLastError, GlobalAlloc,
// GlobalFree and GlobalSize are declared by the public platform header.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);

// ANSI texts (ansi_text.cpp).
LPSTR lstrcpyA(LPSTR dst, LPCSTR src);
LPSTR lstrcpynA(LPSTR dst, LPCSTR src, int max_count);
LPSTR lstrcatA(LPSTR dst, LPCSTR src);
int lstrlenA(LPCSTR text);
int lstrcmpA(LPCSTR a, LPCSTR b);
LPSTR CharUpperA(LPSTR text);

// Locale and code pages (locale_info.cpp, code_page.cpp).
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int capacity);
int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int wide_count, LPSTR out,
                        int out_capacity, LPCSTR default_char, LPBOOL used_default);
BOOL IsDBCSLeadByteEx(UINT code_page, BYTE test_char);

// Resources (resources.cpp).
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HRSRC FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Module file and version resource (module_file.cpp, version_info.cpp).
DWORD GetModuleFileNameA(HMODULE module, LPSTR out, DWORD capacity);
DWORD GetFileVersionInfoSizeA(LPCSTR file, DWORD* handle);
BOOL GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD capacity, LPVOID out);
BOOL VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID* value, UINT* length);

// Bitmaps (bitmap_objects.cpp): a named RT_BITMAP resource decoded into a
// 32-bit bitmap object.  GetObjectA and DeleteObject are declared by the
// public platform header.
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);

#endif  // _WIN32

#include "platform/allocation_faults.h"
