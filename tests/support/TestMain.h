// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTest>

// What a test program needs around it before its application object exists.
struct TestSetup
{
    bool programSetup = true;   // the set-up the program applies to itself
    bool noPrinter = false;     // no print server reachable: printing shows the game's message
    bool noSoundServer = false; // no sound server reachable, and none started on demand
};

namespace TestMain {
// Prepares the environment, builds the application (on the offscreen platform unless another
// is asked for), then the test object, and runs it.
int run(int argc, char **argv, const TestSetup &setup, QObject *(*makeTest)());
} // namespace TestMain

// The main() of a widget test: VORTANI_GUI_TEST_MAIN(TestObject) or, with options,
// VORTANI_GUI_TEST_MAIN(TestObject, .noPrinter = true).
#define VORTANI_GUI_TEST_MAIN(TestObject, ...)                                                     \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return TestMain::run(argc, argv, TestSetup{__VA_ARGS__},                                   \
                             []() -> QObject * { return new TestObject; });                        \
    }
