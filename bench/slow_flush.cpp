// LD_PRELOAD shim: every fsync and fdatasync takes QUIPPET_FLUSH_MS milliseconds (500 when
// unset) before it flushes, as on a slow or busy disk.
//
//   LD_PRELOAD=build/bench/bench/libslow_flush.so build/bench/src/app/quippet

#include <cstdlib>
#include <dlfcn.h>
#include <time.h>

namespace {

void wait()
{
    const char* text = std::getenv("QUIPPET_FLUSH_MS");
    const long ms = text ? std::atol(text) : 500;
    timespec pause{ms / 1000, (ms % 1000) * 1000000};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

template <typename Function> Function real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd)
{
    wait();
    return real<int (*)(int)>("fsync")(fd);
}

extern "C" int fdatasync(int fd)
{
    wait();
    return real<int (*)(int)>("fdatasync")(fd);
}
