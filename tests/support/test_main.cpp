// The test program's entry: the thread is initialised for OLE, as the program's start-up does.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstdio>

int main(int argc, char** argv) {
    // Unbuffered, so that a test that crashes the process still shows what it had printed.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
