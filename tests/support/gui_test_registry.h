#pragma once

#include <QTest>

#include <functional>

namespace lexaloom::testing {

// The GUI tests are one program. Each test class registers itself; the program
// runs the class its first argument names (QtTest's options follow it), so ctest
// still starts one process a class.
using GuiTestRun = std::function<int(int argc, char **argv)>;
bool RegisterGuiTest(const char *name, GuiTestRun run);

} // namespace lexaloom::testing

// In place of QTEST_MAIN: the application object is the program's.
#define LEXALOOM_GUI_TEST(TestClass)                                                                \
    static const bool lexaloomRegistered##TestClass = ::lexaloom::testing::RegisterGuiTest(         \
        #TestClass, [](int argc, char **argv) {                                                     \
            TestClass test;                                                                         \
            return QTest::qExec(&test, argc, argv);                                                 \
        });
