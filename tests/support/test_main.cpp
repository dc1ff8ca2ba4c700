// The test program's entry: the thread is initialised for OLE, as the program's start-up does.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
