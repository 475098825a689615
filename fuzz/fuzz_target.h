#pragma once
// The entry points every fuzz target defines. libFuzzer calls them when a target is
// built with -fsanitize=fuzzer; the replay main calls them on stored inputs in the
// ordinary builds, so each stored input is a regression case of `make test`.
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {
// The Qt application (offscreen) and the silent sound device, made once per process.
void initialize(int* argc, char*** argv);
inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
} // namespace fuzz

// Every target has the same start-up.
#define QUENLO_FUZZ_INITIALIZE                                                                     \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)                                   \
    {                                                                                              \
        fuzz::initialize(argc, argv);                                                              \
        return 0;                                                                                  \
    }
