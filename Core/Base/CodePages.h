#pragma once

namespace base
{

// Code points of the bytes 0x80-0xFF of the two fixed 8-bit code pages (the lower half is ASCII).
// Windows-1252 serves as the "ANSI" page; its five unassigned bytes map to the C1 controls of the same value.
extern const char16_t kWindows1252UpperHalf[128];
// Code page 437 serves as the "OEM" page.
extern const char16_t kCodePage437UpperHalf[128];

} // namespace base
