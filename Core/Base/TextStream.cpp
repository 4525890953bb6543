#include "Core/Base/TextStream.h"

#include "Core/Base/FloatText.h"

#include <cstring>

namespace base
{

namespace
{

// Room for any 32-bit integer in base 2 with a prefix and for any float in the three styles.
constexpr int kScratchSize = 256;

int EffectiveFieldWidth(int width)
{
    return width > kMaxFieldWidth ? kMaxFieldWidth : width;
}

template <typename CharT>
int BuildInteger(CharT* out, unsigned value, bool negative, bool isSigned, int radix, bool upperCase,
                 bool alternate, bool plusSign, bool spaceSign)
{
    const char* digitSet = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    char reversed[40];
    int count = 0;
    int n = 0;
    switch (radix)
    {
    case TextStreamT<CharT>::kHexadecimal:
        do
        {
            reversed[count++] = digitSet[value & 0xFu];
            value >>= 4;
        } while (value != 0);
        if (alternate)
        {
            out[n++] = CharT('0');
            out[n++] = CharT(upperCase ? 'X' : 'x');
        }
        break;
    case TextStreamT<CharT>::kOctal:
        do
        {
            reversed[count++] = digitSet[value & 7u];
            value >>= 3;
        } while (value != 0);
        if (alternate)
            out[n++] = CharT('0');
        break;
    case TextStreamT<CharT>::kBinary:
        do
        {
            reversed[count++] = char('0' + (value & 1u));
            value >>= 1;
        } while (value != 0);
        break;
    default:
        do
        {
            reversed[count++] = char('0' + value % 10u);
            value /= 10u;
        } while (value != 0);
        if (isSigned)
        {
            if (negative)
                out[n++] = CharT('-');
            else if (plusSign)
                out[n++] = CharT('+');
            else if (spaceSign)
                out[n++] = CharT(' ');
        }
        break;
    }
    while (count > 0)
        out[n++] = CharT(reversed[--count]);
    return n;
}

} // namespace

template <typename CharT>
TextStreamT<CharT>::TextStreamT() : mOutput(&mText)
{
}

template <typename CharT>
TextStreamT<CharT>::TextStreamT(const TextStreamT& other)
    : mWidth(other.mWidth), mPrecision(other.mPrecision), mZeroFill(other.mZeroFill),
      mPlusSign(other.mPlusSign), mSpaceSign(other.mSpaceSign), mUpperCase(other.mUpperCase),
      mAlternate(other.mAlternate), mFloatStyle(other.mFloatStyle), mAlignment(other.mAlignment),
      mRadix(other.mRadix), mOutput(other.mOutput), mText(other.mText)
{
    // A copy of a stream that wrote into its own text must not keep writing into the original's.
    if (other.mOutput == &other.mText)
        mOutput = &mText;
}

template <typename CharT>
TextStreamT<CharT>& TextStreamT<CharT>::operator=(const TextStreamT& other)
{
    if (this == &other)
        return *this;
    mWidth = other.mWidth;
    mPrecision = other.mPrecision;
    mZeroFill = other.mZeroFill;
    mPlusSign = other.mPlusSign;
    mSpaceSign = other.mSpaceSign;
    mUpperCase = other.mUpperCase;
    mAlternate = other.mAlternate;
    mFloatStyle = other.mFloatStyle;
    mAlignment = other.mAlignment;
    mRadix = other.mRadix;
    mText = other.mText;
    mOutput = (other.mOutput == &other.mText) ? &mText : other.mOutput;
    return *this;
}

template <typename CharT>
void TextStreamT<CharT>::ClearOptions()
{
    mWidth = 0;
    mPrecision = 0;
    mZeroFill = false;
    mPlusSign = false;
    mSpaceSign = false;
    mUpperCase = false;
    mAlternate = false;
    mFloatStyle = kGeneral;
    mAlignment = kRight;
    mRadix = kDecimal;
}

template <typename CharT>
void TextStreamT<CharT>::WriteChar(CharT c)
{
    AppendChar(c);
}

template <typename CharT>
void TextStreamT<CharT>::WritePadded(const CharT* text, unsigned length)
{
    const long long width = EffectiveFieldWidth(mWidth);
    if (static_cast<long long>(length) >= width)
    {
        Append(text, length);
        return;
    }
    const std::size_t pad = static_cast<std::size_t>(width - length);
    if (mAlignment == kLeft)
    {
        Append(text, length);
        mOutput->append(pad, CharT(' '));
    }
    else if (mAlignment == kCentre)
    {
        mOutput->append(pad / 2, CharT(' '));
        Append(text, length);
        mOutput->append(pad - pad / 2, CharT(' '));
    }
    else
    {
        mOutput->append(pad, CharT(' '));
        Append(text, length);
    }
}

template <typename CharT>
void TextStreamT<CharT>::WriteFilled(const CharT* chars, int count)
{
    int width = EffectiveFieldWidth(mWidth);
    if (width <= count)
    {
        Append(chars, static_cast<std::size_t>(count));
        return;
    }
    if (!mZeroFill)
    {
        WritePadded(chars, static_cast<unsigned>(count));
        return;
    }
    // Zeros go after a sign or a "0x" prefix; a space sign is not recognised, so zeros precede it.
    int start = 0;
    if (chars[0] == CharT('+') || chars[0] == CharT('-'))
        start = 1;
    else if (count > 2 && chars[0] == CharT('0') && (chars[1] == CharT('x') || chars[1] == CharT('X')))
        start = 2;
    Append(chars, static_cast<std::size_t>(start));
    width -= start;
    count -= start;
    mOutput->append(static_cast<std::size_t>(width - count), CharT('0'));
    Append(chars + start, static_cast<std::size_t>(count));
}

template <typename CharT>
void TextStreamT<CharT>::WriteInt(const int& value)
{
    CharT chars[kScratchSize];
    const bool negative = value < 0;
    // Decimal writes the magnitude (-2147483648 included); other radixes write the 32 bits as they are.
    const unsigned bits = static_cast<unsigned>(value);
    const unsigned magnitude = (mRadix == kDecimal && negative) ? 0u - bits : bits;
    const int n =
        BuildInteger(chars, magnitude, negative, true, mRadix, mUpperCase, mAlternate, mPlusSign, mSpaceSign);
    WriteFilled(chars, n);
}

template <typename CharT>
void TextStreamT<CharT>::WriteUnsigned(const unsigned& value)
{
    CharT chars[kScratchSize];
    const int n =
        BuildInteger(chars, value, false, false, mRadix, mUpperCase, mAlternate, mPlusSign, mSpaceSign);
    WriteFilled(chars, n);
}

template <typename CharT>
void TextStreamT<CharT>::WriteFloat(const float& value)
{
    FloatTextOptions options;
    options.precision = mPrecision;
    options.style = mFloatStyle;
    options.upperCase = mUpperCase;
    options.plusSign = mPlusSign;
    options.spaceSign = mSpaceSign;
    char text[kFloatTextCapacity];
    const int n = FormatFloatText(value, options, text);
    CharT chars[kFloatTextCapacity];
    for (int i = 0; i < n; ++i)
        chars[i] = CharT(text[i]);
    WritePadded(chars, static_cast<unsigned>(n));
}

template class TextStreamT<char>;
template class TextStreamT<wchar_t>;

} // namespace base
