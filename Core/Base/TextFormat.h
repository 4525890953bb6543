#pragma once

#include "Core/Base/TextStream.h"

#include <string>

namespace base
{

// printf-like formatting: Format(L"level_%02d_%02d") % episode % level. Each argument is written with the
// pending conversion directive by the TextStream writers; the argument's type picks the writer, the
// conversion letter only picks float style, radix and case. Invalid directive characters are printed as
// literal text.
template <typename CharT>
class TextFormatT : public TextStreamT<CharT>
{
public:
    using String = std::basic_string<CharT>;

    explicit TextFormatT(const CharT* format);
    explicit TextFormatT(const String& format);
    TextFormatT(const TextFormatT& other);
    TextFormatT& operator=(const TextFormatT& other);

    // Each writes the argument with the pending directive (nothing once the format is complete) and reads on.
    TextFormatT& operator%(int value);
    TextFormatT& operator%(unsigned value);
    TextFormatT& operator%(float value);
    // Written as float, like every floating argument.
    TextFormatT& operator%(double value) { return *this % static_cast<float>(value); }
    // A null pointer counts as an empty string.
    TextFormatT& operator%(const CharT* text);
    TextFormatT& operator%(const String& text);

    // Copies literal text up to the next directive and reads it; true when the format string is exhausted.
    bool ParseNext();
    // Appends the unread rest of the format string unchanged; later arguments are ignored.
    void Finish();

    bool IsComplete() const { return mComplete; }
    const String& GetResult() const { return mResult; }
    // A formatter's text is its result (the format string itself is not exposed).
    const String& GetText() const { return mResult; }
    operator const String&() const { return mResult; }

private:
    // The format string lives in the stream's own text; the result is where the writers append.
    std::size_t mPosition = 0;
    bool mComplete = false;
    String mResult;
};

extern template class TextFormatT<char>;
extern template class TextFormatT<wchar_t>;

using TextFormat = TextFormatT<wchar_t>;
using TextFormatA = TextFormatT<char>;

inline TextFormat Format(const wchar_t* format)
{
    return TextFormat(format);
}
inline TextFormat Format(const std::wstring& format)
{
    return TextFormat(format);
}
inline TextFormatA Format(const char* format)
{
    return TextFormatA(format);
}
inline TextFormatA Format(const std::string& format)
{
    return TextFormatA(format);
}

} // namespace base
