// The Windows tests' own start: COM is started on the thread that runs them, as WinMain starts it
// for the program's windows, whose accessible objects go through it.
#include <gtest/gtest.h>

#include "shared/handles_win32.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const tastolink::ComApartment com;
    return RUN_ALL_TESTS();
}
