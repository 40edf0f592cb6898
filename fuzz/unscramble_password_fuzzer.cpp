// The stored password text, as a hand-edited or damaged settings file may hold it.
//
// Input: the text of the key. It is unscrambled with the station's layout (lead 3,
// trailer 4, spacing 5) and with a layout made of its first three bytes, and it is
// scrambled as a password and read back.
//
// Promises checked: any text unscrambles without fault to at most as many bytes as the
// layout leaves room for, with no NUL in them; a scrambled password is upper-case
// hexadecimal and, where the text is short enough to be read back, unscrambles to the
// password up to its first NUL; a stage undone gives its input back.

#include "config/password_scrambling.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr int kLead = 3;
constexpr int kTrailer = 4;
constexpr int kSpacing = 5;

// The longest password a text of that length can give with that layout.
std::size_t RoomFor(std::size_t textLength, int lead, int trailer, int spacing)
{
    std::size_t l = lead < 1 ? 1 : lead;
    std::size_t t = trailer < 0 ? 0 : trailer;
    std::size_t s = spacing < 0 ? 0 : spacing;
    std::size_t half = textLength / 2;
    return half > l + t ? (half - l - t) / (s + 1) : 0;
}

void CheckUnscramble(const std::string& text, int lead, int trailer, int spacing)
{
    std::string password = UnscramblePassword(text, lead, trailer, spacing);
    FUZZ_CHECK(password.size() <= RoomFor(text.size(), lead, trailer, spacing));
    FUZZ_CHECK(password.find('\0') == std::string::npos);
}

void CheckRoundTrip(const std::string& password, int lead, int trailer, int spacing)
{
    std::string text = ScramblePassword(password, lead, trailer, spacing);
    // The unscrambling refuses a text of 32000 characters or more, which a password of
    // more than 2665 characters gives with the station's layout: such a password does
    // not survive a save and a load.
    if (text.empty() || text.size() >= 32000)
        return;
    FUZZ_CHECK(text.find_first_not_of("0123456789ABCDEF") == std::string::npos);
    FUZZ_CHECK(UnscramblePassword(text, lead, trailer, spacing) == password.substr(0, password.find('\0')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckUnscramble(text, kLead, kTrailer, kSpacing);
    CheckRoundTrip(text, kLead, kTrailer, kSpacing);

    if (size >= 3) {
        // Any layout, from -64 to 191 in each place.
        int lead = data[0] - 64, trailer = data[1] - 64, spacing = data[2] - 64;
        CheckUnscramble(text, lead, trailer, spacing);
        // With no random bytes between the password's bytes the layout cannot tell the
        // password's end from the trailer; the station never stores it that way.
        if (spacing >= 1)
            CheckRoundTrip(text.substr(3), lead, trailer, spacing);
    }

    constexpr std::string_view kKey = "Schl\374ssel";
    for (bool hexForm : {false, true}) {
        std::string scrambled = ScrambleStage(text, kKey, hexForm);
        // Undoing refuses by the length of its own input: the hexadecimal form of 16000
        // bytes or more is too long to be undone.
        if (!scrambled.empty() && scrambled.size() < 32000)
            FUZZ_CHECK(UnscrambleStage(scrambled, kKey, hexForm) == text);
    }
    return 0;
}
