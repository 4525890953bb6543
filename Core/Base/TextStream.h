#pragma once

#include <string>

namespace base
{

// Field widths are clamped to this: formats come from data files, and a huge width must not exhaust memory.
inline constexpr int kMaxFieldWidth = 4096;

// Writes single numbers and strings as text with printf-like options (width, fill, sign, radix, case,
// float style). The type of the value picks the writer; the options only shape the text.
template <typename CharT>
class TextStreamT
{
public:
    using String = std::basic_string<CharT>;

    enum FloatStyle : int
    {
        kGeneral = 0,
        kScientific = 1,
        kFixed = 2
    };
    enum Alignment : int
    {
        kRight = 0,
        kLeft = 1,
        kCentre = 2
    };
    enum Radix : int
    {
        kDecimal = 0,
        kHexadecimal = 1,
        kOctal = 2,
        kBinary = 3
    };

    // Output goes to the stream's own text.
    TextStreamT();
    // Copies keep writing into their own text when the source wrote into its own.
    TextStreamT(const TextStreamT& other);
    TextStreamT& operator=(const TextStreamT& other);
    virtual ~TextStreamT() = default;

    // Integer in the radix of the options, then filled to the width.
    void WriteInt(const int& value);
    // As WriteInt, never signed.
    void WriteUnsigned(const unsigned& value);
    // Float in the float style with the effective precision (0 means 6, at most 7), then padded.
    void WriteFloat(const float& value);
    // Text padded with spaces to the width by the alignment.
    void WritePadded(const CharT* text, unsigned length);
    void WriteString(const String& text) { WritePadded(text.data(), static_cast<unsigned>(text.size())); }
    // Appends one character as is.
    void WriteChar(CharT c);

    void SetWidth(int width) { mWidth = width; }
    void SetPrecision(int precision) { mPrecision = precision; }
    void SetZeroFill(bool on) { mZeroFill = on; }
    void SetPlusSign(bool on) { mPlusSign = on; }
    void SetSpaceSign(bool on) { mSpaceSign = on; }
    void SetUpperCase(bool on) { mUpperCase = on; }
    void SetAlternate(bool on) { mAlternate = on; }
    void SetFloatStyle(int style) { mFloatStyle = style; }
    void SetAlignment(int alignment) { mAlignment = alignment; }
    void SetRadix(int radix) { mRadix = radix; }
    // Redirects the output (null: back to the stream's own text).
    void SetOutput(String* output) { mOutput = output ? output : &mText; }

    int GetWidth() const { return mWidth; }
    int GetPrecision() const { return mPrecision; }

    // The stream's own text (what a stream made by MakeTextStream has written).
    const String& GetText() const { return mText; }
    void ClearText() { mText.clear(); }

protected:
    // Clears every option (width, precision, flags, style, alignment, radix); the output stays.
    void ClearOptions();
    void Append(const CharT* text, std::size_t length) { mOutput->append(text, length); }
    void AppendChar(CharT c) { mOutput->push_back(c); }

    int mWidth = 0;
    int mPrecision = 0;
    bool mZeroFill = false;
    bool mPlusSign = false;
    bool mSpaceSign = false;
    bool mUpperCase = false;
    bool mAlternate = false;
    int mFloatStyle = kGeneral;
    int mAlignment = kRight;
    int mRadix = kDecimal;
    String* mOutput;
    String mText;

private:
    void WriteDigits(unsigned long long magnitude, bool negative, bool isSigned);
    void WriteFilled(const CharT* chars, int count);
};

extern template class TextStreamT<char>;
extern template class TextStreamT<wchar_t>;

// The wide stream serves nearly everything; the narrow one writes numbers into UTF-8 values.
using TextStream = TextStreamT<wchar_t>;
using TextStreamA = TextStreamT<char>;

// A stream with the given width and precision, every other option off, writing into its own text.
template <typename CharT = wchar_t>
TextStreamT<CharT> MakeTextStream(int width, int precision)
{
    TextStreamT<CharT> stream;
    stream.SetWidth(width);
    stream.SetPrecision(precision);
    return stream;
}

} // namespace base
