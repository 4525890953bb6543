#pragma once

#include <climits>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <type_traits>

namespace base
{

namespace detail
{

// The tokenizer may be named by its string type or by its character type.
template <typename T>
struct TokenizerString
{
    using type = std::basic_string<T>;
};
template <typename C, typename Traits, typename Alloc>
struct TokenizerString<std::basic_string<C, Traits, Alloc>>
{
    using type = std::basic_string<C, Traits, Alloc>;
};

} // namespace detail

// Splits one text at one delimiter character; the text and every token are trimmed of spaces and tabs.
// Narrow (std::string) for sheets and attribute lists, wide (std::wstring) for screen code.
template <typename T = std::string>
class StringTokenizer
{
public:
    using StringT = typename detail::TokenizerString<T>::type;
    using CharT = typename StringT::value_type;

    StringTokenizer(const StringT& text, CharT delimiter, bool skipEmpty)
        : mText(text), mDelimiter(delimiter), mSkipEmpty(skipEmpty)
    {
        Trim(mText);
    }

    // Yields the next token into token (when given); false when no token is left. With skipEmpty, tokens
    // that are empty after trimming are passed over.
    bool Next(StringT* token = nullptr)
    {
        while (true)
        {
            if (mPosition < 0)
                return false;
            const std::size_t start = static_cast<std::size_t>(mPosition);
            const std::size_t found = mText.find(mDelimiter, start);
            const bool last = (found == StringT::npos);
            const std::size_t end = last ? mText.size() : found;

            bool blank = false;
            if (token)
            {
                token->assign(mText, start, end - start);
                Trim(*token);
                blank = mSkipEmpty && token->empty();
            }
            else if (mSkipEmpty)
            {
                blank = true;
                for (std::size_t i = start; i < end; ++i)
                {
                    if (!IsBlank(mText[i]))
                    {
                        blank = false;
                        break;
                    }
                }
            }

            mPosition = last ? -1 : static_cast<int>(found + 1);
            if (!blank)
                return true;
            if (last)
                return false;
        }
    }

    bool Next(StringT& token) { return Next(&token); }

    // Number of tokens of the whole text, whatever has been taken already (cached).
    int CountTokens()
    {
        if (mTokenCount != -1)
            return mTokenCount;
        if (mSkipEmpty)
        {
            const int saved = mPosition;
            mPosition = 0;
            int count = 0;
            while (Next(nullptr))
                ++count;
            mPosition = saved;
            mTokenCount = count;
        }
        else
        {
            int count = 1;
            for (CharT c : mText)
            {
                if (c == mDelimiter)
                    ++count;
            }
            mTokenCount = count;
        }
        return mTokenCount;
    }

    // Removes spaces and tabs (only these two) from both ends in place.
    static void Trim(StringT& text)
    {
        std::size_t end = text.size();
        while (end > 0 && IsBlank(text[end - 1]))
            --end;
        std::size_t begin = 0;
        while (begin < end && IsBlank(text[begin]))
            ++begin;
        text.erase(end);
        text.erase(0, begin);
    }

private:
    static bool IsBlank(CharT c) { return c == CharT(' ') || c == CharT('\t'); }

    StringT mText;
    CharT mDelimiter;
    int mPosition = 0;
    bool mSkipEmpty;
    int mTokenCount = -1;
};

StringTokenizer(const char*, char, bool)->StringTokenizer<std::string>;
StringTokenizer(const wchar_t*, wchar_t, bool)->StringTokenizer<std::wstring>;
StringTokenizer(const std::string&, char, bool)->StringTokenizer<std::string>;
StringTokenizer(const std::wstring&, wchar_t, bool)->StringTokenizer<std::wstring>;

using WideStringTokenizer = StringTokenizer<std::wstring>;

namespace detail
{

// atoi's reading (leading blanks, sign, digits up to the first other character), saturated to the int range
// so that an overlong number in a data file stays defined.
template <typename CharT>
int ParseIntToken(const CharT* text)
{
    long long value;
    if constexpr (std::is_same_v<CharT, char>)
        value = std::strtoll(text, nullptr, 10);
    else
        value = std::wcstoll(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace detail

// Reads the next token as atoi does; the target is left unchanged when no token is left.
template <typename T>
StringTokenizer<T>& operator>>(StringTokenizer<T>& tokenizer, int& value)
{
    typename StringTokenizer<T>::StringT token;
    if (tokenizer.Next(&token))
        value = detail::ParseIntToken(token.c_str());
    return tokenizer;
}

// Reads the next token with atof, narrowed to float; the target is left unchanged when no token is left.
template <typename T>
StringTokenizer<T>& operator>>(StringTokenizer<T>& tokenizer, float& value)
{
    typename StringTokenizer<T>::StringT token;
    if (tokenizer.Next(&token))
    {
        if constexpr (std::is_same_v<typename StringTokenizer<T>::CharT, char>)
            value = static_cast<float>(std::atof(token.c_str()));
        else
            value = static_cast<float>(std::wcstod(token.c_str(), nullptr));
    }
    return tokenizer;
}

} // namespace base
