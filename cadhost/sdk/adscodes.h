#pragma once
// Results of the host's prompt and selection functions.

#pragma GCC visibility push(default)

constexpr int RTNONE = 5000;   // the user pressed ENTER alone
constexpr int RTNORM = 5100;   // a normal answer
constexpr int RTERROR = -5001; // the call failed
constexpr int RTCAN = -5002;   // the user cancelled
constexpr int RTREJ = -5003;   // the host rejected the request
constexpr int RTKWORD = -5005; // a keyword was entered

#pragma GCC visibility pop
