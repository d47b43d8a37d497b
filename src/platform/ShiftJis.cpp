#include "ShiftJis.h"

#include <iconv.h>

#include <cerrno>

namespace fareboard {
namespace {

// glibc names the Windows code page "CP932": unlike "SHIFT_JIS" it holds ～ (U+FF5E), ①, －
// and the other characters that files made on Windows contain.
constexpr const char* kCodePage = "CP932";

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; at an unconvertible or invalid sequence it writes "?" and
    // skips `skip(in, left)` input bytes, so one bad character costs one "?".
    template <typename Skip>
    QByteArray run(const QByteArray& input, Skip skip) const
    {
        QByteArray out;
        if (input.isEmpty() || !valid())
            return out;
        out.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = static_cast<size_t>(input.size());
        char* dst = out.data();
        size_t dstLeft = static_cast<size_t>(out.size());
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            size_t r = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
            if (r != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG || dstLeft < 4) {
                const auto used = dst - out.data();
                out.resize(out.size() * 2 + 16);
                dst = out.data() + used;
                dstLeft = static_cast<size_t>(out.size() - used);
                continue;
            }
            // EILSEQ or EINVAL (a sequence cut off at the end): replace and move on.
            *dst++ = '?';
            --dstLeft;
            size_t n = skip(reinterpret_cast<const unsigned char*>(in), inLeft);
            in += n;
            inLeft -= n;
        }
        out.resize(dst - out.data());
        return out;
    }

private:
    iconv_t cd_;
};

size_t utf8SequenceLength(const unsigned char* p, size_t left)
{
    size_t n = 1;
    if (p[0] >= 0xF0)
        n = 4;
    else if (p[0] >= 0xE0)
        n = 3;
    else if (p[0] >= 0xC0)
        n = 2;
    return n < left ? n : left;
}

size_t oneByte(const unsigned char*, size_t) { return 1; }

}  // namespace

QByteArray toShiftJis(const QString& text)
{
    Converter c(kCodePage, "UTF-8");
    return c.run(text.toUtf8(), utf8SequenceLength);
}

QString fromShiftJis(const QByteArray& bytes)
{
    Converter c("UTF-8", kCodePage);
    return QString::fromUtf8(c.run(bytes, oneByte));
}

int shiftJisLength(const QString& text) { return static_cast<int>(toShiftJis(text).size()); }

}  // namespace fareboard
