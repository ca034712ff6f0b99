// The small seam between the document reader and the platform: bytes in a code page to UTF-16,
// the system's error codes and texts, and opening a file by a UTF-16 path.
//
// Windows: conversion is MultiByteToWideChar with flags 0 (invalid bytes become what the system
// makes of them), code page 0 is the ANSI code page, and errors are GetLastError/FormatMessageW.
//
// Elsewhere (the native test and tool builds) the conversion is our own and covers UTF-8
// (65001), US-ASCII (20127), ISO-8859-1 (28591) and Windows-1252 (1252); code page 0 stands for
// Windows-1252. Invalid UTF-8 becomes U+FFFD per maximal invalid sequence, bytes from 0x80 in
// US-ASCII become U+FFFD, and the five undefined Windows-1252 bytes map to the C1 controls as on
// Windows. Any other code page converts its ASCII bytes and turns every byte from 0x80 into
// U+FFFD. Code pages that MultiByteToWideChar rejects (1200, 1201, 12000, 12001, 65005) convert
// to nothing on both sides. Errors are errno and strerror.
//
// UTF-16 text is held in std::wstring, one code unit per element (wchar_t is wider than 16 bits
// outside Windows; surrogate pairs stay two elements there too).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace xml {

// Converts length bytes to UTF-16. With target null it only counts; otherwise it writes at most
// targetSize units. Answers the number of units (0 on failure).
std::int32_t ConvertCodePageToUtf16(std::uint32_t codePage, const char* bytes, std::int32_t length,
                                    wchar_t* target, std::int32_t targetSize);

// The calling thread's last system error code (after a failed file operation).
std::uint32_t LastSystemError();

// The error code the system uses for a file too large to read.
std::uint32_t FileTooLargeError();

// The system's message for an error code: at most 100 characters, cut before the first line
// break; empty when the system has none.
std::wstring SystemErrorText(std::uint32_t code);

// Opens a file for binary reading; null on failure (see LastSystemError).
std::FILE* OpenFileForReading(std::wstring_view path);

// File size and positioning beyond 2 GB.
std::int64_t FileSize(std::FILE* file);
bool SeekFile(std::FILE* file, std::int64_t offset);

}  // namespace xml
