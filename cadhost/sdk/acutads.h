#pragma once
// Utility functions of the host's command-line interface: printing and result buffers.

#include "cadhost/sdk/adsdef.h"

#pragma GCC visibility push(default)

// Prints on the host's command line, printf style (UTF-8). Messages begin with "\n" by
// custom: the command line does not start a new line by itself. Returns the number of bytes
// printed, or -1 when `format` is null.
int acutPrintf(const ACHAR* format, ...) __attribute__((format(printf, 1, 2)));

// A new zeroed result buffer of kind `type`; nullptr when out of memory. Free with acutRelRb.
resbuf* acutNewRb(int type);
// Frees a whole list of result buffers, with the strings of RTSTR buffers. Returns RTNORM.
int acutRelRb(resbuf* rb);

#pragma GCC visibility pop
