#pragma once

namespace zx {

// Every wait and time-out of the bus link and the bus device operations. The product keeps
// the device's values; tests shrink them.
struct BusTimings {
    int localTimeoutMs = 2000;       // t_rcvtimer: the local BCU confirms or answers
    int remoteTimeoutMs = 2000;      // the bus device answers on the connection
    int pollsPerTurn = 5000;         // send polls between two turns of the user interface
    int installSendTimeoutMs = 2000; // handed to the library's install
    int installRepeatMs = 500;       // wait for an acknowledgement before a frame is repeated
    int verifyPauseMs = 50;          // between writing memory and reading it back
    int saveBlockPauseMs = 20;       // after each block read while saving the application
    int installBlockPauseMs = 300;   // after each 8-byte block of the application
    int mailboxPauseMs = 100;        // after a mailbox request, before its answer is polled
    int mailboxPollPauseMs = 300;    // after an answer that is not complete yet
    int reconnectWaitMs = 500;       // between a failed mailbox read and the new connection
    int retryWaitMs = 1000;          // after a busy or silent time switch
    // Both waits drop whatever arrives meanwhile, so a late answer is never taken for the next.
    int afterDeleteWaitMs = 1000;  // the time switch erases its program
    int afterInstallWaitMs = 5000; // the new application starts

    // For tests against a fast simulator: the same sequence in a fraction of the time.
    static BusTimings fast()
    {
        BusTimings t;
        t.localTimeoutMs = 300;
        t.remoteTimeoutMs = 300;
        t.pollsPerTurn = 20;
        t.installSendTimeoutMs = 300;
        t.installRepeatMs = 60;
        t.verifyPauseMs = 0;
        t.saveBlockPauseMs = 0;
        t.installBlockPauseMs = 0;
        t.mailboxPauseMs = 0;
        t.mailboxPollPauseMs = 5;
        // Long enough for a late answer (a simulated coupling unit repeats a frame three times
        // in 450 ms) to be drained before a request is repeated.
        t.reconnectWaitMs = 200;
        t.retryWaitMs = 200;
        t.afterDeleteWaitMs = 0;
        t.afterInstallWaitMs = 0;
        return t;
    }
};

} // namespace zx
