#include "Core/Base/TextFormat.h"

#include <array>

namespace base
{

namespace
{

// Directive characters come in classes that may not decrease within one directive.
enum DirectiveClass : unsigned char
{
    kInvalid = 0,
    kFlag = 1,
    kNumber = 2,
    kLength = 4,
    kConversion = 5,
};

enum DirectiveEffect : unsigned char
{
    kFxNone,
    kFxZero,
    kFxLeft,
    kFxCentre,
    kFxPlus,
    kFxSpace,
    kFxAlternate,
    kFxDigit,
    kFxDot,
    kFxScientific,
    kFxScientificUpper,
    kFxFixed,
    kFxGeneral,
    kFxGeneralUpper,
    kFxHex,
    kFxHexUpper,
    kFxOctal,
    kFxBinary,
};

struct Handler
{
    DirectiveClass directiveClass = kInvalid;
    DirectiveEffect effect = kFxNone;
};

// One handler per character code below 128, built at compile time (no lazy fill, nothing to race).
constexpr std::array<Handler, 128> MakeHandlers()
{
    std::array<Handler, 128> table{};
    table['0'] = {kFlag, kFxZero};
    table['-'] = {kFlag, kFxLeft};
    table['='] = {kFlag, kFxCentre};
    table['+'] = {kFlag, kFxPlus};
    table[' '] = {kFlag, kFxSpace};
    table['#'] = {kFlag, kFxAlternate};
    for (char c = '1'; c <= '9'; ++c)
        table[static_cast<unsigned char>(c)] = {kNumber, kFxDigit};
    table['.'] = {kNumber, kFxDot};
    table['h'] = {kLength, kFxNone};
    table['l'] = {kLength, kFxNone};
    table['L'] = {kLength, kFxNone};
    for (char c : {'d', 'i', 'u', 'c', 's', 'p', 'n'})
        table[static_cast<unsigned char>(c)] = {kConversion, kFxNone};
    table['e'] = {kConversion, kFxScientific};
    table['E'] = {kConversion, kFxScientificUpper};
    table['f'] = {kConversion, kFxFixed};
    table['g'] = {kConversion, kFxGeneral};
    table['G'] = {kConversion, kFxGeneralUpper};
    table['x'] = {kConversion, kFxHex};
    table['X'] = {kConversion, kFxHexUpper};
    table['o'] = {kConversion, kFxOctal};
    table['b'] = {kConversion, kFxBinary};
    return table;
}

constexpr std::array<Handler, 128> kHandlers = MakeHandlers();

// The narrow instance reads characters as signed bytes, so bytes of 128 or more are invalid there.
template <typename CharT>
long long CharCode(CharT c)
{
    if constexpr (sizeof(CharT) == 1)
        return static_cast<signed char>(c);
    else
        return static_cast<long long>(c);
}

// Digits accumulate with saturation: a run of digits in a data file must not overflow.
int AccumulateDigit(int value, int digit)
{
    if (value > kMaxFieldWidth)
        return value;
    return value * 10 + digit;
}

} // namespace

template <typename CharT>
TextFormatT<CharT>::TextFormatT(const CharT* format) : TextFormatT(format ? String(format) : String())
{
}

template <typename CharT>
TextFormatT<CharT>::TextFormatT(const String& format)
{
    this->mText = format;
    this->mOutput = &mResult;
    mComplete = ParseNext();
}

template <typename CharT>
TextFormatT<CharT>::TextFormatT(const TextFormatT& other)
    : TextStreamT<CharT>(other), mPosition(other.mPosition), mComplete(other.mComplete),
      mResult(other.mResult)
{
    this->mOutput = &mResult;
}

template <typename CharT>
TextFormatT<CharT>& TextFormatT<CharT>::operator=(const TextFormatT& other)
{
    if (this == &other)
        return *this;
    TextStreamT<CharT>::operator=(other);
    mPosition = other.mPosition;
    mComplete = other.mComplete;
    mResult = other.mResult;
    this->mOutput = &mResult;
    return *this;
}

template <typename CharT>
TextFormatT<CharT>& TextFormatT<CharT>::operator%(int value)
{
    if (!mComplete)
    {
        this->WriteInt(value);
        mComplete = ParseNext();
    }
    return *this;
}

template <typename CharT>
TextFormatT<CharT>& TextFormatT<CharT>::operator%(unsigned value)
{
    if (!mComplete)
    {
        this->WriteUnsigned(value);
        mComplete = ParseNext();
    }
    return *this;
}

template <typename CharT>
TextFormatT<CharT>& TextFormatT<CharT>::operator%(float value)
{
    if (!mComplete)
    {
        this->WriteFloat(value);
        mComplete = ParseNext();
    }
    return *this;
}

template <typename CharT>
TextFormatT<CharT>& TextFormatT<CharT>::operator%(const CharT* text)
{
    if (!mComplete)
    {
        const std::size_t length = text ? std::char_traits<CharT>::length(text) : 0;
        this->WritePadded(text ? text : nullptr, static_cast<unsigned>(length));
        mComplete = ParseNext();
    }
    return *this;
}

template <typename CharT>
TextFormatT<CharT>& TextFormatT<CharT>::operator%(const String& text)
{
    if (!mComplete)
    {
        this->WritePadded(text.data(), static_cast<unsigned>(text.size()));
        mComplete = ParseNext();
    }
    return *this;
}

template <typename CharT>
bool TextFormatT<CharT>::ParseNext()
{
    this->ClearOptions();
    const String& format = this->mText;
    const std::size_t length = format.size();
    while (mPosition < length)
    {
        CharT c = format[mPosition];
        if (c != CharT('%'))
        {
            mResult.push_back(c);
            ++mPosition;
            continue;
        }
        ++mPosition;
        if (mPosition == length)
        {
            mResult.push_back(CharT('%'));
            return true;
        }

        // Width, precision and '#' belong to this directive; the other flags act on the stream directly and
        // so outlive a directive that turns out invalid.
        int width = 0;
        int precision = 0;
        bool dot = false;
        bool number = false;
        bool alternate = false;
        int current = kInvalid;
        while (true)
        {
            c = format[mPosition];
            const long long code = CharCode(c);
            Handler handler;
            if (code >= 1 && code <= 127)
                handler = kHandlers[static_cast<std::size_t>(code)];
            if (handler.effect == kFxZero && number)
                handler = {kNumber, kFxDigit};
            if (handler.effect == kFxDot && dot)
                handler = {};

            if (handler.directiveClass == kConversion)
            {
                switch (handler.effect)
                {
                case kFxScientific:
                    this->mFloatStyle = this->kScientific;
                    break;
                case kFxScientificUpper:
                    this->mFloatStyle = this->kScientific;
                    this->mUpperCase = true;
                    break;
                case kFxFixed:
                    this->mFloatStyle = this->kFixed;
                    break;
                case kFxGeneral:
                    this->mFloatStyle = this->kGeneral;
                    break;
                case kFxGeneralUpper:
                    this->mFloatStyle = this->kGeneral;
                    this->mUpperCase = true;
                    break;
                case kFxHex:
                    this->mRadix = this->kHexadecimal;
                    break;
                case kFxHexUpper:
                    this->mRadix = this->kHexadecimal;
                    this->mUpperCase = true;
                    break;
                case kFxOctal:
                    this->mRadix = this->kOctal;
                    break;
                case kFxBinary:
                    this->mRadix = this->kBinary;
                    break;
                default:
                    break;
                }
                ++mPosition;
                this->mWidth = width;
                this->mPrecision = precision;
                this->mAlternate = alternate;
                return false;
            }

            if (handler.directiveClass != kInvalid && handler.directiveClass >= current)
            {
                switch (handler.effect)
                {
                case kFxZero:
                    this->mZeroFill = true;
                    break;
                case kFxLeft:
                    this->mAlignment = this->kLeft;
                    break;
                case kFxCentre:
                    this->mAlignment = this->kCentre;
                    break;
                case kFxPlus:
                    this->mPlusSign = true;
                    break;
                case kFxSpace:
                    this->mSpaceSign = true;
                    break;
                case kFxAlternate:
                    alternate = true;
                    break;
                case kFxDigit:
                    number = true;
                    if (dot)
                        precision = AccumulateDigit(precision, static_cast<int>(code - '0'));
                    else
                        width = AccumulateDigit(width, static_cast<int>(code - '0'));
                    break;
                case kFxDot:
                    number = true;
                    dot = true;
                    break;
                default:
                    break;
                }
                current = handler.directiveClass;
                ++mPosition;
                if (mPosition == length)
                {
                    mResult.push_back(c);
                    return true;
                }
                continue;
            }

            // Invalid: the character is printed and the directive read so far is dropped.
            mResult.push_back(c);
            ++mPosition;
            break;
        }
    }
    return true;
}

template <typename CharT>
void TextFormatT<CharT>::Finish()
{
    if (mPosition < this->mText.size())
        mResult.append(this->mText, mPosition, String::npos);
    mPosition = this->mText.size();
    mComplete = true;
}

template class TextFormatT<char>;
template class TextFormatT<wchar_t>;

} // namespace base
