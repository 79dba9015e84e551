// Text between the 8-bit system code page and wide text, as
// MultiByteToWideChar and WideCharToMultiByte do. This platform's system
// code page is UTF-8; wide text is wchar_t, one code point per character.
#pragma once

#include <string>

#include "platform/win/wintypes.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

// srcBytes -1: up to and including the terminator. dstChars 0: returns the
// size needed. Returns the characters written, or 0 with GetLastError set:
// ERROR_INSUFFICIENT_BUFFER, or ERROR_NO_UNICODE_TRANSLATION for bytes that
// are not UTF-8 when MB_ERR_INVALID_CHARS is given (otherwise they become
// U+FFFD).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcBytes, LPWSTR dst,
                        int dstChars);
// The reverse; characters that are no code point become U+FFFD.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcChars, LPSTR dst,
                        int dstBytes, LPCSTR defaultChar, BOOL* usedDefaultChar);

// A result as the programs quote it in messages: "0X" and eight hex digits.
std::string HexText(HRESULT hr);

// Whole strings, with the replacements above; NULL gives "".
std::string WideToUtf8(LPCWSTR text);
std::wstring Utf8ToWide(const char* text);
