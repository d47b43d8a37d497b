#pragma once

#include <string>
#include <string_view>

namespace sample {

// Interleaved 2 of 5, the symbology of the ticket's barcode: numeric, compact, and read by
// every fare-box scanner.

// The mod-10 check digit of GTIN and ITF-14: weights 3 and 1 alternating from the right.
char itfCheckDigit(std::string_view digits);

// The digits the ticket encodes: route number (four digits), ticket number (three digits) and
// the check digit. Values out of range are taken modulo the field's size.
std::string ticketBarcodeDigits(int routeNo, int ticketNo);

// The elements of the symbol, 'n' narrow and 'w' wide, bar first, start and stop patterns
// included; bars and spaces alternate. `digits` must be an even number of '0'..'9'; otherwise
// the result is empty.
std::string itfElements(std::string_view digits);

}  // namespace sample
