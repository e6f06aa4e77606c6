#include "contents/text_encoding.h"

namespace {

const uint32_t Replacement = 0xFFFD;

void Append(std::string& out, uint32_t code)
{
    if (code >= 0xD800 && code <= 0xDFFF)
        code = Replacement;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHigh(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Turns a sequence of UTF-16 units, given one at a time, into UTF-8.
class Utf16Joiner {
public:
    explicit Utf16Joiner(std::string& out) : out_(out) {}
    void Take(uint32_t unit)
    {
        if (high_ && IsLow(unit)) {
            Append(out_, 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
            high_ = 0;
            return;
        }
        End();
        if (IsHigh(unit))
            high_ = unit;
        else
            Append(out_, unit);
    }
    void End()
    {
        if (high_)
            Append(out_, Replacement);
        high_ = 0;
    }

private:
    std::string& out_;
    uint32_t high_ = 0;
};

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that starts none.
int SequenceLength(uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The code point of the sequence at `at`, or -1 when it is malformed
// (surrogates, which modified UTF-8 encodes alone, are let through).
int32_t Decode(const std::string& text, size_t at, int length)
{
    static const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || at + length > text.size())
        return -1;
    uint32_t code = static_cast<uint8_t>(text[at]) & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        uint8_t next = static_cast<uint8_t>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return -1;
        code = (code << 6) | (next & 0x3F);
    }
    if (length == 1)
        return static_cast<int32_t>(static_cast<uint8_t>(text[at]));
    return code < minimum[length] || code > 0x10FFFF ? -1 : static_cast<int32_t>(code);
}

}  // namespace

std::string Utf8FromUtf16(const ByteSpan& bytes, uint64_t at, uint64_t count)
{
    std::string out;
    Utf16Joiner joiner(out);
    for (uint64_t i = 0; i < count && bytes.Has(at + i * 2, 2); ++i)
        joiner.Take(bytes.U16(at + i * 2));
    joiner.End();
    return out;
}

std::string Utf8FromUtf16UpToNul(const ByteSpan& bytes, uint64_t at)
{
    std::string out;
    Utf16Joiner joiner(out);
    for (uint64_t i = at; bytes.Has(i, 2) && bytes.U16(i) != 0; i += 2)
        joiner.Take(bytes.U16(i));
    joiner.End();
    return out;
}

std::string Utf8Cleaned(const std::string& text)
{
    std::string out;
    Utf16Joiner joiner(out);
    for (size_t at = 0; at < text.size();) {
        int length = SequenceLength(static_cast<uint8_t>(text[at]));
        int32_t code = Decode(text, at, length);
        if (code < 0) {
            joiner.Take(Replacement);
            ++at;
            continue;
        }
        joiner.Take(static_cast<uint32_t>(code));
        at += length;
    }
    joiner.End();
    return out;
}
