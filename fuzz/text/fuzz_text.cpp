// Formats, sheet lines and 8-bit text come from data files: none of them may crash the engine.
#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Base/TextFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Every conversion answers; bytes and UTF-8 keep their invariants.
    for (int encoding = -1; encoding <= 4; ++encoding)
    {
        const std::wstring wide = base::ToWide(bytes, encoding);
        const std::string narrow = base::ToNarrow(wide, encoding);
        if (encoding == base::kEncodingBytes && narrow != bytes)
            std::abort();
        if (encoding == base::kEncodingUtf8 && base::ToWide(narrow, encoding) != wide)
            std::abort();
    }
    const std::wstring utf8Wide = base::ToWide(bytes, base::kEncodingUtf8);
    if (base::FromUtf16(base::ToUtf16(utf8Wide)) != utf8Wide)
        std::abort();

    // The input as a format, fed every argument kind, narrow and wide.
    float value = 0.0f;
    if (size >= 4)
        std::memcpy(&value, data, 4);
    const std::wstring wideResult = (base::Format(utf8Wide) % static_cast<int>(size) % 4000000000u % value %
                                     L"text" % std::wstring(L"more") % -value)
                                        .GetResult();
    base::TextFormatA narrowFormat = base::Format(bytes);
    narrowFormat % -1 % value % "s";
    narrowFormat.Finish();
    (void)wideResult;

    // Sheet-line splitting: the count matches what Next yields.
    if (size > 0)
    {
        for (bool skipEmpty : {false, true})
        {
            base::StringTokenizer tokenizer(bytes.substr(1), bytes[0], skipEmpty);
            const int count = tokenizer.CountTokens();
            int yielded = 0;
            std::string token;
            while (tokenizer.Next(&token))
                ++yielded;
            if (yielded != count)
                std::abort();
        }
    }
    return 0;
}
