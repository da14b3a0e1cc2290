// Linux stand-ins for the few Win32 types and services the show's logic is written against.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using HRESULT = std::int32_t;
using HWND = void*;
using HANDLE = void*;
using ULONG = std::uint32_t;

constexpr UINT MB_OK = 0x0;

// Writes one line "caption: text" on stderr; there is no dialog to answer, so it returns IDOK.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// Ends the process at once with the given status, without the run-time's clean-up, but
// after flushing stdio so that a message printed just before is not lost.
[[noreturn]] void ExitProcess(UINT status);

// There are no window classes here; returns a non-null token for the window with this title
// once one has been created (the sound device only needs something to bind to).
HWND FindWindowA(const char* className, const char* title);
