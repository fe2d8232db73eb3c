#pragma once

// SQLite's own way of testing I/O faults: a VFS that wraps the default one and makes the N-th write, sync or lock
// fail with the I/O error the real call would give. Installed as the default VFS, so every connection opened after
// it (Qt's QSQLITE ones included, which use the same SQLite library) goes through it.
class IoFaultVfs
{
public:
    enum Operation { Write, Sync, Lock };

    // Registers the shim as the default VFS; further calls do nothing.
    static void install();
    // From now on, the n-th call of the operation fails (n = 1: the next one); only that call, the ones after it
    // pass again. Counts of every operation restart at zero.
    static void failNth(Operation operation, int n);
    // No call fails; counting goes on.
    static void disarm();
    // Whether the armed call has come and failed.
    static bool fired();
    // Calls of the operation since the last failNth().
    static int calls(Operation operation);
};
