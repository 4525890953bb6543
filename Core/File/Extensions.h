#pragma once

namespace file
{
// Extension lists; the first name that exists wins, the empty entry tries the name unchanged.
inline constexpr const wchar_t* kImageExtensions[] = {L"", L".dds", L".jpg", L".gif", L".png", L".tga"};
inline constexpr unsigned kImageExtensionCount = 6;
inline constexpr const wchar_t* kImageContainerExtensions[] = {L".psd", L""};
inline constexpr unsigned kImageContainerExtensionCount = 2;
inline constexpr const wchar_t* kSoundExtensions[] = {L"", L".ogg", L".wav"};
inline constexpr unsigned kSoundExtensionCount = 3;
} // namespace file
