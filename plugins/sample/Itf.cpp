#include "Itf.h"

#include <cstdlib>

namespace sample {

namespace {

// Each digit is five elements, two of them wide.
constexpr const char* kPatterns[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                       "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

}  // namespace

char itfCheckDigit(std::string_view digits)
{
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return char('0' + (10 - sum % 10) % 10);
}

std::string ticketBarcodeDigits(int routeNo, int ticketNo)
{
    char text[8];
    const int route = std::abs(routeNo % 10000);
    const int ticket = std::abs(ticketNo % 1000);
    text[0] = char('0' + route / 1000);
    text[1] = char('0' + route / 100 % 10);
    text[2] = char('0' + route / 10 % 10);
    text[3] = char('0' + route % 10);
    text[4] = char('0' + ticket / 100);
    text[5] = char('0' + ticket / 10 % 10);
    text[6] = char('0' + ticket % 10);
    text[7] = itfCheckDigit(std::string_view(text, 7));
    return std::string(text, 8);
}

std::string itfElements(std::string_view digits)
{
    if (digits.size() % 2 != 0)
        return {};
    for (char c : digits) {
        if (c < '0' || c > '9')
            return {};
    }
    std::string elements = "nnnn";  // start: bar, space, bar, space
    for (size_t i = 0; i < digits.size(); i += 2) {
        // The first digit of a pair is written in the bars, the second in the spaces between them.
        const char* bars = kPatterns[digits[i] - '0'];
        const char* spaces = kPatterns[digits[i + 1] - '0'];
        for (int k = 0; k < 5; ++k) {
            elements += bars[k];
            elements += spaces[k];
        }
    }
    elements += "wnn";  // stop: wide bar, space, bar
    return elements;
}

}  // namespace sample
