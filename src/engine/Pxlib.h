#pragma once

// pxlib's C interface: its header declares the functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}
