// SPDX-License-Identifier: MIT
// The yardstick for the start-up cost of velquor-convert: a C++ program that does nothing but
// set up the standard streams, built and linked the same way.
#include <iostream>

int main() {
    std::cout << std::flush;
    return 0;
}
