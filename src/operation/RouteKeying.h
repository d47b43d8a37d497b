#pragma once

#include <vector>

namespace fareboard {

class frmCtl;

// The keypad keys a driver presses to set route `number` from section 1: 系統, its digits,
// 区間, 1 (key indices: 0-9 the digits, 10 系統, 11 区間).
std::vector<int> keypadKeysFor(int number);

// Sets the route on the console as a driver would: the display-clear switch off if it is on,
// the keypad brought in front of the digit lists if they are, the keys of keypadKeysFor
// pressed, then the keypad's リセット.
void keyRouteOnConsole(frmCtl& console, int number);

}  // namespace fareboard
