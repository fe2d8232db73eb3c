#include "IoFaultVfs.h"

#include <array>
#include <sqlite3.h>

namespace {

std::array<int, 3> counts{};
IoFaultVfs::Operation armedOperation = IoFaultVfs::Write;
int armedCall = 0; // 0: nothing armed
bool hasFired = false;

sqlite3_vfs *inner = nullptr;
sqlite3_vfs shim{};

// The shim's file: our methods first, the inner VFS's file right behind it in the same allocation.
struct ShimFile
{
    sqlite3_file base;
    sqlite3_file *real;
};

bool failsNow(IoFaultVfs::Operation operation)
{
    const int call = ++counts[operation];
    if (armedCall == 0 || operation != armedOperation || call != armedCall)
        return false;
    hasFired = true;
    return true;
}

sqlite3_file *real(sqlite3_file *file)
{
    return reinterpret_cast<ShimFile *>(file)->real;
}

int shimClose(sqlite3_file *file)
{
    return real(file)->pMethods->xClose(real(file));
}
int shimRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}
int shimWrite(sqlite3_file *file, const void *buffer, int amount, sqlite3_int64 offset)
{
    if (failsNow(IoFaultVfs::Write))
        return SQLITE_IOERR_WRITE;
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}
int shimTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    return real(file)->pMethods->xTruncate(real(file), size);
}
int shimSync(sqlite3_file *file, int flags)
{
    if (failsNow(IoFaultVfs::Sync))
        return SQLITE_IOERR_FSYNC;
    return real(file)->pMethods->xSync(real(file), flags);
}
int shimFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    return real(file)->pMethods->xFileSize(real(file), size);
}
int shimLock(sqlite3_file *file, int level)
{
    if (failsNow(IoFaultVfs::Lock))
        return SQLITE_IOERR_LOCK;
    return real(file)->pMethods->xLock(real(file), level);
}
int shimUnlock(sqlite3_file *file, int level)
{
    return real(file)->pMethods->xUnlock(real(file), level);
}
int shimCheckReservedLock(sqlite3_file *file, int *result)
{
    return real(file)->pMethods->xCheckReservedLock(real(file), result);
}
int shimFileControl(sqlite3_file *file, int op, void *argument)
{
    return real(file)->pMethods->xFileControl(real(file), op, argument);
}
int shimSectorSize(sqlite3_file *file)
{
    return real(file)->pMethods->xSectorSize(real(file));
}
int shimDeviceCharacteristics(sqlite3_file *file)
{
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}
int shimShmMap(sqlite3_file *file, int region, int size, int extend, void volatile **memory)
{
    return real(file)->pMethods->xShmMap(real(file), region, size, extend, memory);
}
int shimShmLock(sqlite3_file *file, int offset, int n, int flags)
{
    return real(file)->pMethods->xShmLock(real(file), offset, n, flags);
}
void shimShmBarrier(sqlite3_file *file)
{
    real(file)->pMethods->xShmBarrier(real(file));
}
int shimShmUnmap(sqlite3_file *file, int deleteFlag)
{
    return real(file)->pMethods->xShmUnmap(real(file), deleteFlag);
}
int shimFetch(sqlite3_file *file, sqlite3_int64 offset, int amount, void **pointer)
{
    return real(file)->pMethods->xFetch(real(file), offset, amount, pointer);
}
int shimUnfetch(sqlite3_file *file, sqlite3_int64 offset, void *pointer)
{
    return real(file)->pMethods->xUnfetch(real(file), offset, pointer);
}

// Version 3 like the unix VFS's own files; methods of a lower version are never called through a higher one.
const sqlite3_io_methods methods{3,
                                 shimClose,
                                 shimRead,
                                 shimWrite,
                                 shimTruncate,
                                 shimSync,
                                 shimFileSize,
                                 shimLock,
                                 shimUnlock,
                                 shimCheckReservedLock,
                                 shimFileControl,
                                 shimSectorSize,
                                 shimDeviceCharacteristics,
                                 shimShmMap,
                                 shimShmLock,
                                 shimShmBarrier,
                                 shimShmUnmap,
                                 shimFetch,
                                 shimUnfetch};

int shimOpen(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    auto *shimFile = reinterpret_cast<ShimFile *>(file);
    shimFile->real = reinterpret_cast<sqlite3_file *>(shimFile + 1);
    const int rc = inner->xOpen(inner, name, shimFile->real, flags, outFlags);
    // SQLite calls xClose only on a file whose methods are set.
    shimFile->base.pMethods = shimFile->real->pMethods ? &methods : nullptr;
    return rc;
}

} // namespace

void IoFaultVfs::install()
{
    if (inner)
        return;
    inner = sqlite3_vfs_find(nullptr);
    shim = *inner;
    shim.zName = "dalvora-io-faults";
    shim.szOsFile = int(sizeof(ShimFile)) + inner->szOsFile;
    shim.pNext = nullptr;
    shim.xOpen = shimOpen;
    sqlite3_vfs_register(&shim, 1);
}

void IoFaultVfs::failNth(Operation operation, int n)
{
    counts.fill(0);
    armedOperation = operation;
    armedCall = n;
    hasFired = false;
}

void IoFaultVfs::disarm()
{
    armedCall = 0;
}

bool IoFaultVfs::fired()
{
    return hasFired;
}

int IoFaultVfs::calls(Operation operation)
{
    return counts[operation];
}
