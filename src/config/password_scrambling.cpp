#include "config/password_scrambling.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>

namespace {

constexpr std::size_t kStageLimit = 32000;

constexpr char kMaskKey[] =
    "PpeA-nS XRnj)E0mk<xwAsER*x0[c1`v"
    "i{\304yw;8eF=}q\326 ,V:f\2519GNyPx(t#Jvu5"
    "yXOgw 1W]h;vD8\3446rg^lhsdQT\344LaPjG;";
constexpr char kFirstStageKey[] =
    "%e$rz1t+SfwVvb@\334zKwGZnWx'ViCgscv"
    "BtBN*nWl8W\256SFl|ITw[mExqEd|\326gYo6`"
    "K\366G7 ilv]WS);XpoXscdCt.kGR!vkUp\351";
constexpr char kSecondStageKey[] =
    "u=-b nk597 \337xfpjbB<d%xdjO4P= VxO"
    "m_pUhO/*\334(%A~ZePkLVhgvxtQRV cHG>"
    "ze@\260dLbE\374u4Tu:s2RwCLnr6U\247zQoNDTQ";
constexpr char kThirdStageKey[] =
    "4GoH\265MYWqEUprO&\247PlN\374\256IZ.GX3R;_-I"
    "rbO2Zmc)!D6*wxl%hPd}CoAlx>hjkZu "
    "]nY EalbuqI0nx'gzs.<~ YO\247hF=_P%g";
static_assert(sizeof kMaskKey == 97 && sizeof kFirstStageKey == 97
              && sizeof kSecondStageKey == 97 && sizeof kThirdStageKey == 97);

constexpr std::string_view kMask(kMaskKey, 96);
constexpr char kDigits[] = "0123456789ABCDEF";

// Seeded with the time at the first draw of the process.
std::uint32_t Draw()
{
    static std::mt19937 generator([] {
        auto now = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
        return static_cast<std::uint32_t>(now ^ (now >> 32));
    }());
    return generator();
}

unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
}

// The value of one digit as the unscrambler has always read it: anything above "9"
// counts from "A", so lower-case digits give other bytes.
int DigitValue(char c)
{
    int ch = Byte(c);
    return ch <= '9' ? ch - 48 : ch - 55;
}

}  // namespace

std::string ScrambleStage(std::string_view input, std::string_view key, bool hexForm)
{
    if (input.empty() || input.size() >= kStageLimit || key.empty())
        return "";
    std::string output;
    output.reserve(hexForm ? 2 * input.size() : input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        unsigned char v = static_cast<unsigned char>((Byte(key[i % key.size()]) + Byte(input[i])) & 0xFF)
            ^ Byte(kMask[i % kMask.size()]);
        if (hexForm) {
            output += kDigits[v >> 4];
            output += kDigits[v & 0xF];
        } else {
            output += static_cast<char>(v);
        }
    }
    return output;
}

std::string UnscrambleStage(std::string_view input, std::string_view key, bool hexForm)
{
    if (input.empty() || input.size() >= kStageLimit || key.empty())
        return "";
    std::size_t count = hexForm ? input.size() / 2 : input.size();
    std::string output;
    output.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        unsigned char in = hexForm
            ? static_cast<unsigned char>(DigitValue(input[2 * i]) * 16 + DigitValue(input[2 * i + 1]))
            : Byte(input[i]);
        output += static_cast<char>(((in ^ Byte(kMask[i % kMask.size()])) - Byte(key[i % key.size()])) & 0xFF);
    }
    return output;
}

std::string ScramblePassword(const std::string& password, int lead, int trailer, int spacing)
{
    const std::size_t l = static_cast<std::size_t>(std::max(lead, 1));
    const std::size_t t = static_cast<std::size_t>(std::max(trailer, 0));
    const std::size_t s = static_cast<std::size_t>(std::max(spacing, 0));
    // Every stage refuses 32000 bytes or more; checked before the sizes can overflow.
    if (password.size() >= kStageLimit || l >= kStageLimit || t >= kStageLimit || s >= kStageLimit
        || password.size() * (s + 1) + t + l + 1 >= kStageLimit)
        return "";

    const std::size_t k = Draw() % l;
    const unsigned char marker = static_cast<unsigned char>(140 + Draw() % 55);
    std::string buffer;
    for (std::size_t i = 0; i < k; ++i) {
        unsigned char noise;
        do {
            noise = static_cast<unsigned char>(Draw() & 0xFF);
        } while (noise >= 140 && noise < 195);
        buffer += static_cast<char>(noise);
    }
    buffer += static_cast<char>(marker);
    for (char c : password) {
        buffer += c;
        for (std::size_t i = 0; i < s; ++i)
            buffer += static_cast<char>(Draw() & 0xFF);
    }
    for (std::size_t i = 0; i < t + l - k; ++i)
        buffer += static_cast<char>(Draw() & 0xFF);

    std::string first = ScrambleStage(buffer, std::string_view(kFirstStageKey, 96), false);
    std::string second = ScrambleStage(first, std::string_view(kSecondStageKey, 96), false);
    return ScrambleStage(second, std::string_view(kThirdStageKey, 96), true);
}

std::string UnscramblePassword(const std::string& text, int lead, int trailer, int spacing)
{
    if (text.empty() || text.size() >= kStageLimit)
        return "";
    const std::size_t l = static_cast<std::size_t>(std::max(lead, 1));
    const std::size_t t = static_cast<std::size_t>(std::max(trailer, 0));
    const std::size_t s = static_cast<std::size_t>(std::max(spacing, 0));

    std::string bytes = UnscrambleStage(std::string_view(text).substr(0, text.size() & ~std::size_t(1)),
                                        std::string_view(kThirdStageKey, 96), true);
    bytes = UnscrambleStage(bytes, std::string_view(kSecondStageKey, 96), false);
    bytes = UnscrambleStage(bytes, std::string_view(kFirstStageKey, 96), false);

    std::size_t half = text.size() / 2;
    std::size_t count = half > l + t ? (half - l - t) / (s + 1) : 0;
    if (count == 0)
        return "";
    std::size_t start = l;
    for (std::size_t i = 0; i < l && i < bytes.size(); ++i) {
        unsigned char b = Byte(bytes[i]);
        if (b >= 140 && b <= 194) {
            start = i + 1;
            break;
        }
    }
    std::string password;
    for (std::size_t i = 0; i < count && i < kStageLimit; ++i) {
        std::size_t position = start + i * (s + 1);
        if (position >= bytes.size())
            break;
        password += bytes[position];
    }
    return password.substr(0, password.find('\0'));
}
